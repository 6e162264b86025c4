#pragma once
// The regular page's rules, decided without a window: what leaving each of
// its boxes does (the entry check, the zero checks, the amount-over-total
// test, the fill-in of the first and last payments, the carry of extra days)
// and where "Compute APR" sends a schedule before the APR engine runs.
#include <cstdint>
#include <optional>

#include "base/box_exit.h"
#include "base/user_port.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "schedule/regular_schedule.h"

namespace qv {

class TMemDataSet;

enum class RegularBox {
    edSimpAmtFin,
    edSimpInnerNoPay,
    edSimpRegPay,
    edSimp1stPay,
    edSimp1stNoPd,
    edSimp1stExtra,
    edSimpLastPay,
    edSimpLastNoPd,
    edSimpLastExtra,
};

using RegularExit = BoxExit<RegularBox>;

// Leaving `box`: its entry check (the value stored in the loan state), then
// its rule on the other boxes as `texts` holds them. Extra days carry into
// whole periods by the interval the page shows, or by the unit period in
// force when none is chosen.
RegularExit LeaveRegularBox(LoanTerms& loan, RegularInputs& regular, RegularBox box,
                            const RegularTexts& texts, std::optional<Interval> interval);

// A single payment due within a year, for the one-payment page.
struct OnePaymentHandOver {
    std::int32_t days = 0;
    double amtFin = 0.0;
    double repayment = 0.0;
};

struct RegularAprPlan {
    // The one-payment page takes the schedule and is shown before the APR
    // engine runs on the unit-period basis all the same.
    std::optional<OnePaymentHandOver> onePayment;
    // False when a check refused the schedule: the page warns
    // kNoDurationText and shows "InputError" instead of running the engine.
    bool runEngine = false;
};

// "Compute APR" up to the engine: the unit period of the page's interval,
// the working values from the boxes, the pre-checks, the payment groups in
// mdsPaySet and their integrity test, and the routing of a single payment,
// with every message those steps show.
RegularAprPlan PrepareRegularAPR(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                 const RegularTexts& texts, std::optional<Interval> interval,
                                 UserPort& port);

}  // namespace qv
