#pragma once
// A loan placed in time, its Appendix J rate and the verdict on a disclosed
// APR: what the companion's `check` needs in one call.
#include <optional>

#include "core/disclosure.h"
#include "regz/appendix_j.h"
#include "regz/loan_timing.h"

namespace qv::regz {

// Regular or irregular under 1026.22(a)(3): multiple advances, or payment
// intervals or amounts that vary other than an odd first period and an odd
// first or final payment.
TransactionShape ClassifyTimedLoan(const TimedLoan& loan);

AppendixJRate SolveTimedLoan(const TimedLoan& loan);

struct ExactAprCheck {
    AppendixJRate rate;
    TransactionShape shape;
    std::optional<AprVerdict> verdict;  // empty when the loan has no rate
};

// The exact rate of the loan and, when it has one, whether the disclosed APR
// (percent) is within the tolerance of it.
ExactAprCheck CheckTimedLoan(const TimedLoan& loan, double disclosedApr);

}  // namespace qv::regz
