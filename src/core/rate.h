#pragma once
#include <cmath>
#include <cstdint>

namespace qv {

// The rate per unit period for an annual percentage rate: APR / (100 * PdsPerYear).
inline double fni(double PdsPerYear, double APR) {
    return APR / (100.0 * PdsPerYear);
}

// Days in the year of the per-diem basis.
inline constexpr double kPerDiemDaysPerYear = 365.0;

// What one unit grows to over a per-diem interval of `days` days at the
// annual rate `apr` (percent): simple interest over a 365-day year. An
// interval longer than a year compounds once a year, as such a loan's annual
// compounding promises: its whole years at the annual rate, the days left
// over as simple interest. Zero or less where the rate is below what the
// interval allows.
inline double PerDiemGrowth(double apr, double days) {
    if (days <= kPerDiemDaysPerYear) return 1.0 + apr * 0.01 * days / kPerDiemDaysPerYear;
    const double yearly = 1.0 + apr * 0.01;
    if (!(yearly > 0.0)) return 0.0;
    const double years = std::floor(days / kPerDiemDaysPerYear);
    const double rest = days - years * kPerDiemDaysPerYear;
    return std::pow(yearly, years) * (1.0 + apr * 0.01 * rest / kPerDiemDaysPerYear);
}

// -1 when X < 0, +1 when X > 0, Default when X is zero.
inline std::int32_t Sign(std::int32_t Default, double X) {
    if (X < 0) return -1;
    if (X > 0) return 1;
    return Default;
}

}  // namespace qv
