#include "core/loan_state.h"

namespace qv {

void ClearMatrix(LoanTerms& loan) {
    loan.PayMatrix.fill(PayEntry{});
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
