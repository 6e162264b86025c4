// Fuzz target: arbitrary loans typed as the companion reads them (advances,
// payments, an optional unit period) placed in time and solved for the exact
// Appendix J rate.
//
// Input: one byte choosing the unit period (past the last one: none, chosen
// from the dates), then the advances text, a line feed, and the payments text.
//
// Properties: no sanitizer finding; every flow placed in time has a time of
// zero or more and a fraction in [0, 1); a rate found is finite and not below
// zero, and a true solution: the present values of the payments and the
// advances change order within 1e-13 of it, or within what double
// arithmetic can resolve (a few units of the last place of 1 + i).
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "regz/appendix_j.h"
#include "regz/loan_timing.h"
#include "regz/regz_input.h"

namespace {

using namespace qv::regz;
using qv::fuzz::Check;
using qv::fuzz::FuzzInput;

struct Sides {
    long double balance = 0;  // payments less advances
    long double payments = 0;
    long double slope = 0;  // of the balance, by the rate
};

Sides Evaluate(const std::vector<Flow>& flows, long double i) {
    Sides s;
    for (const Flow& f : flows) {
        const long double pv = f.amount / ((1 + f.fraction * i) * std::pow(1 + i, f.periods));
        const long double sign = f.kind == FlowKind::Payment ? 1 : -1;
        s.balance += sign * pv;
        if (sign > 0) s.payments += pv;
        s.slope -= sign * pv * (f.periods / (1 + i) + f.fraction / (1 + f.fraction * i));
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::size_t unitByte = in.Byte();
    const std::optional<UnitPeriod> unit =
        unitByte < kUnitPeriods.size() ? std::optional(kUnitPeriods[unitByte].unit) : std::nullopt;
    const std::string text = in.Rest();
    const std::size_t line = text.find('\n');
    const std::string advancesText = text.substr(0, line);
    const std::string paymentsText = line == std::string::npos ? "" : text.substr(line + 1);

    const DatedItemsParse advances = ParseAdvances(advancesText);
    const DatedItemsParse payments = ParsePayments(paymentsText, unit);
    if (!advances.error.empty() || !payments.error.empty()) return 0;
    const TimedLoanResult timed = TimeDatedLoan({advances.items, payments.items, unit});
    if (!timed.loan) {
        Check(!timed.error.empty(), "a refused loan says why");
        return 0;
    }
    for (const Flow& f : timed.loan->flows) {
        Check(f.periods >= 0 && f.fraction >= 0.0 && f.fraction < 1.0,
              "flows lie at times of zero or more with a fraction below one");
    }
    const AppendixJRate rate = SolveAppendixJ(timed.loan->flows, timed.loan->perYear);
    if (!rate.found) {
        Check(!rate.message.empty(), "no rate comes with its reason");
        return 0;
    }
    Check(std::isfinite(rate.apr) && rate.apr >= 0.0, "a rate is finite and not below zero");
    if (rate.unitPeriodRate > 0.0 && timed.loan->flows.size() <= 5000) {
        // Within 1e-13 of the rate, or what double arithmetic can tell apart:
        // a few units of the last place of 1 + i, and 32 roundings of the
        // payments' value through the slope where the equation is flat.
        constexpr long double kEps = std::numeric_limits<double>::epsilon();
        const long double i = rate.unitPeriodRate;
        const Sides at = Evaluate(timed.loan->flows, i);
        const long double d =
            i * 1e-13L + 8 * kEps * (1 + i) + 32 * kEps * at.payments / std::fabs(at.slope);
        Check(Evaluate(timed.loan->flows, i - d).balance >= 0 &&
                  Evaluate(timed.loan->flows, i + d).balance <= 0,
              "the rate solves the general equation");
    }
    return 0;
}
