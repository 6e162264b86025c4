// Interest of one payment interval. See interest.h.
#include "core/interest.h"

#include <cmath>

#include "core/rate.h"

namespace qv {

Currency ComputeInt(std::int32_t Pds, std::int32_t Days, std::int32_t PerUnitDays, bool ByDays,
                    double APR, double PdsPerYear, double Balance, std::int32_t Places,
                    double RoundAdd, UserPort& port) {
    std::int64_t scale = 100;
    switch (Places) {
        case 0:
            scale = 1;
            break;
        case 1:
            scale = 10;
            break;
        case 2:
            scale = 100;
            break;
        case 3:
            scale = 1000;
            break;
        case 4:
            scale = 10000;
            break;
        default:
            port.Inform("2 places in ComputeInt return");
            break;
    }
    const double s = static_cast<double>(scale);
    const double a = RoundAdd * 100.0 / s;

    double value = 0.0;
    if (ByDays) {
        double days =
            static_cast<double>(Pds) * static_cast<double>(PerUnitDays) + static_cast<double>(Days);
        // Beyond a year the interest compounds yearly, as the APR of such a
        // loan is figured.
        if (days > kPerDiemDaysPerYear)
            value = s * Balance * (PerDiemGrowth(APR, days) - 1.0);
        else
            value = s * Balance * days * APR / 36500.0;
    } else {
        if (PdsPerYear == 0.0) return 0;
        double periods = static_cast<double>(Pds);
        if (PerUnitDays != 0)
            periods += static_cast<double>(Days) / static_cast<double>(PerUnitDays);
        value = s * Balance * fni(PdsPerYear, APR) * periods;
    }

    double units = std::trunc(value + a);  // whole units of 1/s dollar
    if (!std::isfinite(units)) return 0;
    // Clamp in whole units of 1/s dollar so that units * (10000 / s) fits.
    const double maxUnits = std::trunc(kMaxCurrencyDollars * s);
    if (units > maxUnits) units = maxUnits;
    if (units < -maxUnits) units = -maxUnits;
    return static_cast<Currency>(units) * (kCurrencyPerDollar / scale);
}

}  // namespace qv
