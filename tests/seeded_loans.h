#pragma once
// What the equivalence tests share: a seeded generator of our own, so the
// generated loans are the same with every standard library, a comparison
// to the last bit, and how many loans to run.
#include <bit>
#include <cstdint>
#include <cstdlib>

namespace qv::seeded {

class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::int32_t Between(std::int32_t lo, std::int32_t hi) {
        return lo + static_cast<std::int32_t>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    double Uniform(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1p-53;
    }
    bool OneIn(std::int32_t n) { return Between(1, n) == 1; }

  private:
    std::uint64_t state_;
};

// Equal to the last bit: a rate one unit in the last place off is a change.
inline bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// 100,000 loans by default; fewer in a build with sanitizers and no
// optimization, where that many would take minutes. QV_EQUIVALENCE_LOANS
// sets the number either way.
inline int EquivalenceLoanCount() {
    if (const char* count = std::getenv("QV_EQUIVALENCE_LOANS")) return std::atoi(count);
#ifdef NDEBUG
    return 100'000;
#else
    return 2'000;
#endif
}

}  // namespace qv::seeded
