#pragma once
// The APR engine's evaluation and search as they were before the discount
// factors were carried by multiplication: one `pow` per payment, every rate
// evaluated afresh. Kept here, apart from the product, as the yardstick the
// faster engine must match digit for digit.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/apr_engine.h"
#include "core/loan_state.h"

namespace qv::reference {

double ImpliedAmtFin(const LoanState& state, std::int32_t DaysPerPd, std::int32_t Count,
                     double PdsPerYear, double APR);

// One search for the rate of the expanded schedule in `state`.
struct SearchRun {
    std::optional<double> apr;  // rounded to 3 decimals, or no rate
    ChartText steps;            // the step lines "Log Estimate Steps" shows
    std::vector<double> rates;  // every rate the search evaluated, in order
};

SearchRun FindAPR(const LoanState& state, double tolerance);

}  // namespace qv::reference
