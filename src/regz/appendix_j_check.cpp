#include "regz/appendix_j_check.h"

#include <algorithm>
#include <vector>

namespace qv::regz {

TransactionShape ClassifyTimedLoan(const TimedLoan& loan) {
    std::vector<TimedDue> dues;
    std::size_t advances = 0;
    for (const Flow& flow : loan.flows) {
        if (flow.kind == FlowKind::Advance) {
            ++advances;
        } else {
            dues.push_back({flow.periods, flow.fraction, DollarsToCurrency(flow.amount)});
        }
    }
    std::stable_sort(dues.begin(), dues.end(), [](const TimedDue& a, const TimedDue& b) {
        return a.periods != b.periods ? a.periods < b.periods : a.fraction < b.fraction;
    });
    return ClassifyTimedTransaction(dues, advances);
}

AppendixJRate SolveTimedLoan(const TimedLoan& loan) {
    return SolveAppendixJ(loan.flows, loan.perYear);
}

ExactAprCheck CheckTimedLoan(const TimedLoan& loan, double disclosedApr) {
    ExactAprCheck check;
    check.rate = SolveTimedLoan(loan);
    check.shape = ClassifyTimedLoan(loan);
    if (check.rate.found) {
        check.verdict = CheckDisclosedAprExactly(check.rate.apr, disclosedApr, check.shape.kind);
    }
    return check;
}

}  // namespace qv::regz
