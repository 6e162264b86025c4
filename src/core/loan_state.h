#pragma once
// The loan state: every variable the pages and the engine share, with its
// start value. The main window owns one LoanState for the whole run.
#include <array>
#include <cstdint>

#include "base/money.h"

namespace qv {

// One payment of the expanded schedule. Entry 0 of the matrix is the day the
// amount financed is advanced and stays all zero.
struct PayEntry {
    std::int32_t PayCents = 0;  // the payment in whole cents
    std::int32_t PriorPds = 0;  // whole unit periods in the interval ending here
    std::int32_t AddDays = 0;   // odd days added to that interval
    std::int32_t CumPds = 0;    // whole unit periods from the start (t)
    std::int32_t CumDays = 0;   // odd days beyond CumPds (f = CumDays / DaysPerPd)
    bool operator==(const PayEntry&) const = default;
};

inline constexpr int kMaxPayments = 485;
using PayMatrixArray = std::array<PayEntry, kMaxPayments + 1>;

// Page whose schedule is current; the chart page recomputes it on entry.
enum ScheduleSourceCode : std::int32_t {
    kSourceNone = 0,
    kSourceTolerance = 1,
    kSourceRegular = 2,
    kSourceIrregular = 3,
    kSourceChart = 4,
    kSourceSplit = 5,
};

struct SplitStep {
    double Rate = 0.0;  // percent per common interval
    double Cap = 0.0;   // balance in dollars up to which the rate applies
};

struct LoanState {
    double AmtFin = 0.0;
    Currency TotPay = 0;
    std::int32_t PayCount = 0;
    std::int32_t DaysPerPd = 30;
    double PdsPerYear = 12.0;
    double APR = 20.0;
    double RoundAdd = 0.5;
    bool PerDiem = false;
    std::int32_t ScheduleSource = kSourceNone;
    double RegPay = 0.0;

    // Regular-schedule page working values; Reset leaves them alone.
    double FirstPay = 0.0;
    double LastPay = 0.0;
    std::int32_t FirstPds = 0;
    std::int32_t LastPds = 0;
    std::int32_t FirstExtra = 0;
    std::int32_t LastExtra = 0;

    bool IrregularLoaded = false;
    double MaxRate = 0.0;

    // One-payment loan.
    double AmtFinOne = 0.01;
    double PayOne = 0.0;
    std::int32_t DayOne = 2;

    // Group being entered on the irregular page (shared with the variable-rate page).
    std::int32_t GroupNumber = 1;
    std::int32_t GroupSize = 1;
    double GroupPay = 0.0;
    std::int32_t GroupPds = 1;
    std::int32_t GroupExtra = 0;
    std::int32_t GroupPayCount = 0;
    double GroupPayTotal = 0.0;

    // Split-rate page.
    double SplitDaysPerPd = 30.0;
    std::array<SplitStep, 6> SplitSteps{};
    double SplitPrincipal = 0.0;
    double SplitRegPay = 0.0;
    double SplitFirstPay = 0.0;
    double SplitLastPay = 0.0;
    std::int32_t SplitPayCount = 0;
    std::int32_t SplitFirstPds = 1;
    std::int32_t SplitLastPds = 1;
    std::int32_t SplitFirstExtra = 0;
    std::int32_t SplitLastExtra = 0;

    // Variable-rate page. Reset leaves them alone: the page's list and boxes
    // survive it, and the next group must not reuse a number in the list.
    double ContractPrincipal = 0.0;    // contract balance owed at the start
    std::int32_t VaryGroupSize = 1;    // payments in the group being entered
    double VaryRate = 12.0;            // its annual contract rate, percent
    std::int32_t VaryGroupNumber = 1;  // GrpID given to the next group

    PayMatrixArray PayMatrix{};
};

// Sets all 486 entries of the matrix to zero.
void ClearMatrix(LoanState& state);

// The loan-state part of Reset: every variable back to its start value
// (the regular page's first/last values and the variable-rate page's values
// excepted), the matrix cleared.
// The window then resets its pages' controls and empties the tables.
void ResetLoanState(LoanState& state);

}  // namespace qv
