#pragma once
// Reading a fuzzer's bytes as the values a target needs, and stopping a run
// whose property does not hold. Shared by the targets in this folder. It uses
// no libFuzzer header, so the same targets build as plain replay drivers with
// any compiler.
//
// Every value is read from the next bytes, little-endian; past the end of the
// input the bytes read as zero, so every input is a complete run.
//
// Read each value into a variable of its own before passing several to one
// call: the order in which a call's arguments (or the operands of +) are
// evaluated is unspecified, GCC and clang differ, and the same input would
// mean different things to the fuzzer and to the replay driver.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace qv::fuzz {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    bool Bool() { return (Byte() & 1) != 0; }

    template <class T>
    T Integral() {
        static_assert(std::is_integral_v<T>);
        using U = std::make_unsigned_t<T>;
        U bits = 0;
        for (std::size_t k = 0; k < sizeof(T); ++k)
            bits = static_cast<U>(bits | U{Byte()} << (8 * k));
        return static_cast<T>(bits);
    }

    // A value in [lo, hi] (lo <= hi).
    std::int64_t Between(std::int64_t lo, std::int64_t hi) {
        const auto span = static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo);
        const std::uint64_t raw = Integral<std::uint32_t>();
        if (span >= std::numeric_limits<std::uint32_t>::max()) {
            const std::uint64_t wide = raw << 32 | Integral<std::uint32_t>();
            return static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) +
                                             (span == UINT64_MAX ? wide : wide % (span + 1)));
        }
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) + raw % (span + 1));
    }

    std::int32_t Int32Between(std::int32_t lo, std::int32_t hi) {
        return static_cast<std::int32_t>(Between(lo, hi));
    }

    // Any bit pattern: NaN, infinities, -0, subnormals and huge values too.
    double AnyDouble() {
        const std::uint64_t bits = Integral<std::uint64_t>();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

    // One of the items.
    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(Between(0, N - 1))];
    }

    // Text of up to maxLen bytes: a length byte, then the bytes.
    std::string Text(std::size_t maxLen) {
        std::size_t n = Byte();
        if (n > maxLen) n = maxLen;
        std::string s;
        for (std::size_t k = 0; k < n && !Empty(); ++k) s.push_back(static_cast<char>(Byte()));
        return s;
    }

    // Whatever bytes are left.
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return s;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Ends the run when a property does not hold: libFuzzer keeps the input as a
// crash, and the replay driver's test fails.
[[noreturn]] inline void Broken(std::string_view property, std::string_view detail) {
    std::fprintf(stderr, "Property broken: %.*s\n%.*s\n", static_cast<int>(property.size()),
                 property.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void Check(bool holds, std::string_view property, std::string_view detail = {}) {
    if (!holds) Broken(property, detail);
}

// True when a text shows a number that is not finite.
inline bool ShowsNonFinite(std::string_view text) {
    return text.find("INF") != std::string_view::npos || text.find("NAN") != std::string_view::npos;
}

}  // namespace qv::fuzz
