#include "core/loan_state.h"

namespace qv {

void ClearMatrix(LoanState& state) {
    state.PayMatrix.fill(PayEntry{});
}

void ResetLoanState(LoanState& state) {
    // The regular page's first and last payment values survive a reset: the
    // page overwrites them as its boxes are left.
    LoanState fresh;
    fresh.FirstPay = state.FirstPay;
    fresh.LastPay = state.LastPay;
    fresh.FirstPds = state.FirstPds;
    fresh.LastPds = state.LastPds;
    fresh.FirstExtra = state.FirstExtra;
    fresh.LastExtra = state.LastExtra;
    // The variable-rate list survives a reset, and with it its principal and
    // the number of its next group.
    fresh.ContractPrincipal = state.ContractPrincipal;
    fresh.VaryGroupSize = state.VaryGroupSize;
    fresh.VaryRate = state.VaryRate;
    fresh.VaryGroupNumber = state.VaryGroupNumber;
    state = fresh;
}

}  // namespace qv
