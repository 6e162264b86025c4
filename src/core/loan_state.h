#pragma once
// The loan state: every variable the pages and the engine share, with its
// start value, in named parts. The main window owns one LoanState for the
// whole run; an engine function takes the parts it reads or writes, so a
// function that writes another page's values says so in its signature.
#include <array>
#include <cstddef>
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
    bool operator==(const SplitStep&) const = default;
};

// The loan the APR pages compute: its amounts, its unit period, the last
// APR, how amortizations round, which page's schedule it is, and the
// expanded schedule of the last computation.
struct LoanTerms {
    double AmtFin = 0.0;
    Currency TotPay = 0;
    std::int32_t PayCount = 0;
    std::int32_t DaysPerPd = 30;
    double PdsPerYear = 12.0;
    double APR = 20.0;
    double RoundAdd = 0.5;
    bool PerDiem = false;
    std::int32_t ScheduleSource = kSourceNone;
    bool IrregularLoaded = false;
    PayMatrixArray PayMatrix{};
    bool operator==(const LoanTerms&) const = default;
};

// The regular page's common payment and its first and last payment, as its
// boxes were last left.
struct RegularInputs {
    double RegPay = 0.0;
    double FirstPay = 0.0;
    double LastPay = 0.0;
    std::int32_t FirstPds = 0;
    std::int32_t LastPds = 0;
    std::int32_t FirstExtra = 0;
    std::int32_t LastExtra = 0;
    bool operator==(const RegularInputs&) const = default;
};

// The group being entered on the irregular page and the running count and
// total of the groups entered; the variable-rate page enters its groups
// through the same values.
struct GroupEntry {
    std::int32_t GroupNumber = 1;
    std::int32_t GroupSize = 1;
    double GroupPay = 0.0;
    std::int32_t GroupPds = 1;
    std::int32_t GroupExtra = 0;
    std::int32_t GroupPayCount = 0;
    double GroupPayTotal = 0.0;
    bool operator==(const GroupEntry&) const = default;
};

// The split-rate page's debt, payments and rate steps.
struct SplitInputs {
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
    bool operator==(const SplitInputs&) const = default;
};

// A loan repaid in one payment.
struct OnePayInputs {
    double AmtFinOne = 0.01;
    double PayOne = 0.0;
    std::int32_t DayOne = 2;
    bool operator==(const OnePayInputs&) const = default;
};

// The variable-rate page's list.
struct VaryInputs {
    double ContractPrincipal = 0.0;    // contract balance owed at the start
    std::int32_t VaryGroupSize = 1;    // payments in the group being entered
    double VaryRate = 12.0;            // its annual contract rate, percent
    std::int32_t VaryGroupNumber = 1;  // GrpID given to the next group
    bool operator==(const VaryInputs&) const = default;
};

// The yearly rate at which the figure page finds a regular payment.
struct FigureRate {
    double MaxRate = 0.0;
    bool operator==(const FigureRate&) const = default;
};

struct LoanState {
    LoanTerms loan;
    RegularInputs regular;
    GroupEntry group;
    SplitInputs split;
    OnePayInputs onePay;
    VaryInputs vary;
    FigureRate figure;
};

// Sets all 486 entries of the matrix to zero.
void ClearMatrix(LoanTerms& loan);

// Every value of the loan back to its start value, clearing only the first
// `usedEntries` entries of the matrix: a caller that knows how far the matrix
// was written (the expansion writes nothing past its last payment) is spared
// clearing all of it. The entries past those must already be zero.
void ResetLoanTerms(LoanTerms& loan, std::size_t usedEntries);

// The loan-state part of Reset: every part back to its start values, the
// matrix cleared, except what outlives a reset: the regular page's first and
// last payment (the page overwrites them as its boxes are left; its common
// payment is reset) and the variable-rate list's values (the page's list
// and boxes survive it, and the next group must not reuse a number in the
// list). The window then resets its pages' controls and empties the tables.
void ResetLoanState(LoanState& state);

}  // namespace qv
