#pragma once
// Interest of one payment interval (ComputeInt).
#include <cstdint>

#include "base/money.h"
#include "base/user_port.h"

namespace qv {

// Interest on Balance (dollars) for one interval of Pds whole unit periods
// plus Days odd days, rounded to Places decimals with the rounding mode
// RoundAdd (0.5 nearest, 0 down), returned as currency.
//
//   s = 10^Places for Places 0..4; any other Places shows the information
//       message "2 places in ComputeInt return" and uses s = 100;
//   a = RoundAdd * 100 / s;
//   unit-period basis (ByDays false):
//       value = s * Balance * fni(PdsPerYear, APR) * (Pds + Days / PerUnitDays)
//   per-diem basis (ByDays true):
//       value = s * Balance * (Pds * PerUnitDays + Days) * APR / 36500
//       for an interval of up to 365 days; beyond, compounded yearly:
//       value = s * Balance * ((1 + APR/100)^years (1 + APR/100 * rest/365) - 1)
//   result = trunc(value + a) / s dollars, as currency (exact: the whole
//       number trunc(value + a) times 10000 / s).
//
// Guards against impossible periods:
//   - unit-period basis with PerUnitDays = 0: the odd days have no unit to be
//     a fraction of, so they add nothing; the whole periods still accrue;
//   - unit-period basis with PdsPerYear = 0: there is no rate per unit
//     period; the interest is 0;
//   - a value that is not finite (NaN or infinite inputs) gives 0;
//   - a result beyond the currency range is clamped to
//     +/- kMaxCurrencyDollars (never overflows).
// No message is shown for these.
Currency ComputeInt(std::int32_t Pds, std::int32_t Days, std::int32_t PerUnitDays, bool ByDays,
                    double APR, double PdsPerYear, double Balance, std::int32_t Places,
                    double RoundAdd, UserPort& port);

}  // namespace qv
