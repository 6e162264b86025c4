#pragma once
// The APR engine: the actuarial method of Regulation Z, Appendix J. Finds the
// annual rate at which the present value of the payments of the matrix equals
// the amount financed.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/user_port.h"
#include "core/loan_state.h"
#include "core/pay_schedule.h"
#include "core/rate.h"

namespace qv {

class TMemDataSet;

// The chart text box's lines, top to bottom.
using ChartText = std::vector<std::string>;

// The two settings-page switches the engine obeys.
struct AprSettings {
    bool TenPass = true;  // "Use Ten Pass APR Estimation": the finer stopping tolerance
    bool Log = false;     // "Log Estimate Steps": one chart line per secant step
    // The loan summary at the top of the chart. A caller that never shows
    // the chart (a batch of records) turns it off: formatting its amounts
    // costs more than a short schedule's whole iteration. With the steps off
    // as well, the chart is left empty, without the "Estimated APR" line.
    bool Summary = true;
};

// Stopping tolerance of the iteration, in percent per year.
double AprTolerance(const AprSettings& settings);

// The amount financed implied by payments 1..Count of the matrix at the
// annual rate APR (percent), each term rounded to currency as it is built.
// Unit-period basis unless loan.PerDiem. Returns +/-infinity when a term or
// the sum leaves the currency range, and NaN when the rate lies outside the
// range where the discount factors are defined (a factor of zero or less).
double ImpliedAmtFin(const LoanTerms& loan, std::int32_t DaysPerPd, std::int32_t Count,
                     double PdsPerYear, double APR);

// The amounts ImpliedAmtFin gives at APR1 and at APR2, found in one pass
// over the schedule (the secant step's two rates).
std::array<double, 2> ImpliedAmtFinPair(const LoanTerms& loan, std::int32_t DaysPerPd,
                                        std::int32_t Count, double PdsPerYear, double APR1,
                                        double APR2);

// How one run of GetAPR ended.
enum class AprOutcome {
    Computed,          // APR holds the result, rounded to 3 decimals
    AmountTooLow,      // amount financed at most 4 % of the total of payments
    ScheduleRejected,  // amounts beyond the currency range, or the expansion
                       // disagreed with the count or total
    NoRate,            // no rate in the searched range matches the schedule
};

// The message when the amount financed lies beyond the currency range (a
// total of payments beyond it gets kTotalOutOfRange).
inline constexpr std::string_view kAmtFinOutOfRange =
    "Error: the Amount Financed is outside the range that can be computed.";

// The rates between which a rate is searched when the secant step cannot
// settle, in percent per year. One-payment loans of a few days can carry
// rates in the thousands, so the top is generous. The secant step may settle
// outside them: such a rate is reported only when it is a true solution (the
// implied amounts just below and above it lie on either side of the amount
// financed), as for a loan whose finance charge is negative.
inline constexpr double kLowestSearchedAPR = -99.0;
inline constexpr double kHighestSearchedAPR = 100000.0;

// The whole computation: expands mdsPaySet into the matrix, writes the loan
// summary into `chart` (replacing it), iterates to the APR and appends the
// result line. On failure the caller shows "InputError" in its APR boxes;
// the reason has already been told through `port`, APR keeps its old value.
AprOutcome GetAPR(LoanTerms& loan, TMemDataSet& paySet, const AprSettings& settings,
                  ChartText& chart, UserPort& port, const FormatSettings& fs = FormatSettings{});

}  // namespace qv
