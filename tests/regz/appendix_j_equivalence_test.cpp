// The Appendix J solver against its former self (regz/appendix_j_reference.*):
// on a large fixed set of generated loans, every rate, APR and reason must
// come out identical, bit for bit, with one solver reused from loan to loan
// as the companion's batch reuses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/pay_group.h"
#include "regz/appendix_j.h"
#include "regz/appendix_j_reference.h"
#include "regz/loan_timing.h"
#include "regz/unit_period.h"
#include "seeded_loans.h"

namespace qv::regz {
namespace {

using qv::seeded::EquivalenceLoanCount;
using qv::seeded::Random;
using qv::seeded::Same;

// Whole cents from a cent to a hundred million dollars, evenly spread in
// their number of digits.
double Amount(Random& random) {
    return std::round(std::exp(random.Uniform(0.0, std::log(1e10)))) / 100.0;
}

struct GeneratedLoan {
    std::vector<Flow> flows;
    double perYear = 12.0;
    std::string text;  // how to find it again when it fails
};

// Groups in a unit period, placed by TimeGroups: an odd first period, a run
// of equal payments and a balloon, each now and then, and an amount
// financed giving the usual rates, rates in the thousands, a zero rate or no
// rate at all. Also checks that placing them into a reused loan gives the
// very same flows.
GeneratedLoan FromGroups(Random& random, const UnitPeriodInfo& unit, TimedLoan& reused) {
    std::vector<PayGroup> groups;
    std::int32_t count = random.OneIn(4) ? random.Between(1, 12) : random.Between(1, 485);
    const double payment = Amount(random);
    if (count > 1 && random.OneIn(3)) {
        groups.push_back({1, 1, Amount(random), random.Between(0, 2), random.Between(1, 60)});
        --count;
    }
    const bool balloon = count > 1 && random.OneIn(4);
    groups.push_back({count - balloon, 2, payment, random.OneIn(8) ? 2 : 1,
                      random.OneIn(8) ? random.Between(1, 20) : 0});
    if (balloon) groups.push_back({1, 3, payment * random.Between(2, 20), 1, 0});
    double total = 0.0;
    for (const PayGroup& g : groups) total += g.SetSize * g.PaySize;
    const std::int32_t kind = random.Between(1, 20);
    const double share = kind <= 16   ? random.Uniform(0.3, 0.99)
                         : kind <= 18 ? random.Uniform(0.01, 0.3)
                         : kind == 19 ? 1.0
                                      : random.Uniform(1.0, 1.2);
    const double financed = std::max(0.01, std::round(total * share * 100.0) / 100.0);

    GeneratedLoan loan;
    std::ostringstream text;
    text << unit.name << ", financed " << financed << ", groups";
    for (const PayGroup& g : groups)
        text << " " << g.SetSize << "x" << g.PaySize << "/" << g.PriorPds << "p+" << g.AddDays
             << "d";
    loan.text = text.str();
    const TimedLoanResult timed = TimeGroups(financed, groups, unit.unit);
    const std::string error = TimeGroupsInto(financed, groups, unit.unit, reused);
    EXPECT_EQ(error, timed.error) << loan.text;
    if (!timed.loan) return loan;
    EXPECT_EQ(reused.flows, timed.loan->flows) << loan.text;
    EXPECT_TRUE(reused.unit == timed.loan->unit && Same(reused.perYear, timed.loan->perYear) &&
                reused.termIsUnitPeriod == timed.loan->termIsUnitPeriod &&
                reused.basis == timed.loan->basis)
        << loan.text;
    loan.flows = timed.loan->flows;
    loan.perYear = timed.loan->perYear;
    return loan;
}

// Advances and payments anywhere in time, with odd fractions, several at
// the same time now and then, and in no order at all now and then.
GeneratedLoan LooseFlows(Random& random, const UnitPeriodInfo& unit) {
    GeneratedLoan loan;
    loan.perYear = unit.perYear;
    const std::int32_t advances = random.OneIn(3) ? random.Between(2, 4) : 1;
    const std::int32_t payments = random.Between(1, 485);
    const std::int32_t span = random.Between(1, 2000);
    const auto fraction = [&] {
        return random.OneIn(2) ? 0.0 : static_cast<double>(random.Between(0, 29)) / 30.0;
    };
    for (std::int32_t k = 0; k < advances; ++k)
        loan.flows.push_back({FlowKind::Advance, Amount(random),
                              k == 0 ? 0 : random.Between(0, span / 4), k == 0 ? 0.0 : fraction()});
    const double payment = Amount(random);
    for (std::int32_t k = 0; k < payments; ++k) {
        const bool together = k > 0 && random.OneIn(20);
        const Flow before = loan.flows.back();
        loan.flows.push_back({FlowKind::Payment, random.OneIn(10) ? Amount(random) : payment,
                              together ? before.periods : random.Between(1, span),
                              together ? before.fraction : fraction()});
    }
    if (!random.OneIn(3)) {
        std::stable_sort(loan.flows.begin(), loan.flows.end(), [](const Flow& a, const Flow& b) {
            return a.periods != b.periods ? a.periods < b.periods : a.fraction < b.fraction;
        });
    }
    loan.text = std::string(unit.name) + ", " + std::to_string(advances) + " advances, " +
                std::to_string(payments) + " payments over " + std::to_string(span) + " periods";
    return loan;
}

std::string Difference(const AppendixJRate& got, const AppendixJRate& expected) {
    if (got.found != expected.found) return "found differs";
    if (got.reason != expected.reason) return "reason differs";
    if (got.message != expected.message) return "message differs";
    if (!Same(got.unitPeriodRate, expected.unitPeriodRate)) return "rate differs";
    if (!Same(got.apr, expected.apr)) return "APR differs";
    return {};
}

TEST(AppendixJEquivalence, GeneratedLoansGiveTheSameRates) {
    Random random(20261209);
    AppendixJSolver solver;
    TimedLoan reused;
    const int loans = EquivalenceLoanCount();
    int found = 0;
    for (int k = 0; k < loans; ++k) {
        const UnitPeriodInfo& unit = kUnitPeriods[static_cast<std::size_t>(
            random.Between(0, static_cast<std::int32_t>(kUnitPeriods.size()) - 1))];
        const GeneratedLoan loan =
            random.OneIn(2) ? FromGroups(random, unit, reused) : LooseFlows(random, unit);
        const AppendixJRate expected = reference::SolveAppendixJ(loan.flows, loan.perYear);
        std::string difference = Difference(solver.Solve(loan.flows, loan.perYear), expected);
        if (difference.empty())
            difference = Difference(SolveAppendixJ(loan.flows, loan.perYear), expected);
        if (!difference.empty()) {
            ADD_FAILURE() << "loan " << k << " (" << loan.text << "): " << difference;
            return;
        }
        found += expected.found && expected.unitPeriodRate != 0.0;
    }
    // Most of them have a rate above zero: the set is not trivially empty.
    EXPECT_GT(found, loans / 2);
}

}  // namespace
}  // namespace qv::regz
