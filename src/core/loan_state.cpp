#include "core/loan_state.h"

#include <algorithm>

namespace qv {

void ClearMatrix(LoanTerms& loan) {
    loan.PayMatrix.fill(PayEntry{});
}

namespace {
constexpr LoanTerms kStartTerms{};
}  // namespace

void ResetLoanTerms(LoanTerms& loan, std::size_t usedEntries) {
    // Bound by name so that a value added to the loan fails to compile here
    // until it is reset as well.
    auto& [AmtFin, TotPay, PayCount, DaysPerPd, PdsPerYear, APR, RoundAdd, PerDiem, ScheduleSource,
           IrregularLoaded, PayMatrix] = loan;
    AmtFin = kStartTerms.AmtFin;
    TotPay = kStartTerms.TotPay;
    PayCount = kStartTerms.PayCount;
    DaysPerPd = kStartTerms.DaysPerPd;
    PdsPerYear = kStartTerms.PdsPerYear;
    APR = kStartTerms.APR;
    RoundAdd = kStartTerms.RoundAdd;
    PerDiem = kStartTerms.PerDiem;
    ScheduleSource = kStartTerms.ScheduleSource;
    IrregularLoaded = kStartTerms.IrregularLoaded;
    std::fill_n(PayMatrix.begin(), std::min(usedEntries, PayMatrix.size()), PayEntry{});
}

void ResetLoanState(LoanState& state) {
    state.loan = LoanTerms{};
    state.regular.RegPay = RegularInputs{}.RegPay;
    state.group = GroupEntry{};
    state.split = SplitInputs{};
    state.onePay = OnePayInputs{};
    state.figure = FigureRate{};
}

}  // namespace qv
