#pragma once
#include <cstdint>

namespace qv {

// The rate per unit period for an annual percentage rate: APR / (100 * PdsPerYear).
inline double fni(double PdsPerYear, double APR) {
    return APR / (100.0 * PdsPerYear);
}

// -1 when X < 0, +1 when X > 0, Default when X is zero.
inline std::int32_t Sign(std::int32_t Default, double X) {
    if (X < 0) return -1;
    if (X > 0) return 1;
    return Default;
}

}  // namespace qv
