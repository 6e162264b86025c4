#include "core/disclosure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {
namespace {

struct ShapeCase {
    const char* name;
    std::vector<PayGroup> groups;
    TransactionKind kind;
};

// SetSize, Sequence, PaySize, PriorPds, AddDays
const ShapeCase kShapes[] = {
    {"one group of equal monthly payments", {{24, 1, 230.0, 1, 0}}, TransactionKind::Regular},
    {"odd first period and payment, odd final payment",
     {{1, 1, 95.0, 1, 15}, {10, 2, 88.85, 1, 0}, {1, 3, 88.91, 1, 0}},
     TransactionKind::Regular},
    {"final balloon", {{35, 1, 100.0, 1, 0}, {1, 2, 2500.0, 1, 0}}, TransactionKind::Regular},
    {"every payment two periods apart", {{12, 1, 50.0, 2, 0}}, TransactionKind::Regular},
    {"a varying payment in the middle",
     {{5, 1, 100.0, 1, 0}, {1, 2, 150.0, 1, 0}, {5, 3, 100.0, 1, 0}},
     TransactionKind::Irregular},
    {"middle groups a cent apart",
     {{1, 1, 95.0, 1, 0}, {5, 2, 88.85, 1, 0}, {5, 3, 88.86, 1, 0}, {1, 4, 88.91, 1, 0}},
     TransactionKind::Irregular},
    {"a skipped period in the middle",
     {{5, 1, 100.0, 1, 0}, {1, 2, 100.0, 2, 0}, {5, 3, 100.0, 1, 0}},
     TransactionKind::Irregular},
    {"odd final period", {{11, 1, 100.0, 1, 0}, {1, 2, 100.0, 1, 10}}, TransactionKind::Irregular},
    {"groups of no payments are not payments",
     {{0, 1, 999.0, 7, 3}, {24, 2, 230.0, 1, 0}, {0, 3, 1.0, 0, 0}},
     TransactionKind::Regular},
    {"two payments", {{1, 1, 10.0, 3, 0}, {1, 2, 500.0, 0, 12}}, TransactionKind::Regular},
    {"an odd interval at the second payment",
     {{1, 1, 100.0, 1, 0}, {1, 2, 100.0, 2, 0}, {5, 3, 100.0, 1, 0}},
     TransactionKind::Irregular},
    {"an odd interval at the third payment only",
     {{2, 1, 100.0, 1, 0}, {1, 2, 100.0, 1, 9}, {5, 3, 100.0, 1, 0}},
     TransactionKind::Irregular},
};

TEST(Disclosure, ClassifiesRegularAndIrregularTransactions) {
    for (const ShapeCase& c : kShapes) {
        const TransactionShape shape = ClassifyTransaction(c.groups);
        EXPECT_EQ(shape.kind, c.kind) << c.name << ": " << shape.reason;
        EXPECT_FALSE(shape.reason.empty()) << c.name;
    }
}

TEST(Disclosure, AprToleranceIsAnEighthOrAQuarterOfAPoint) {
    struct Case {
        double computed, disclosed;
        TransactionKind kind;
        bool accurate;
    };
    const Case cases[] = {
        {9.69, 9.69, TransactionKind::Regular, true},
        {9.69, 9.815, TransactionKind::Regular, true},  // exactly an eighth above
        {9.69, 9.565, TransactionKind::Regular, true},  // exactly an eighth below
        {9.69, 9.816, TransactionKind::Regular, false},
        {9.69, 9.50, TransactionKind::Regular, false},
        {9.69, 9.50, TransactionKind::Irregular, true},
        {9.69, 9.94, TransactionKind::Irregular, true},  // exactly a quarter above
        {9.69, 9.941, TransactionKind::Irregular, false},
        {9.69, std::nan(""), TransactionKind::Irregular, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckDisclosedApr(c.computed, c.disclosed, c.kind).accurate, c.accurate)
            << c.computed << " vs " << c.disclosed;
    }
}

TEST(Disclosure, TimedPaymentsAreRegularOnlyWithOneAdvanceAndEqualIntervals) {
    struct Case {
        const char* name;
        std::vector<TimedDue> dues;  // periods, fraction, currency
        std::size_t advances;
        TransactionKind kind;
    };
    const Currency c = kCurrencyPerDollar;
    const double f = 19.0 / 30;
    const Case cases[] = {
        {"monthly after an odd first period",
         {{1, f, 200 * c}, {2, f, 200 * c}, {3, f, 200 * c}, {4, f, 210 * c}},
         1,
         TransactionKind::Regular},
        {"the same with a second advance",
         {{1, f, 200 * c}, {2, f, 200 * c}, {3, f, 200 * c}},
         2,
         TransactionKind::Irregular},
        {"an odd interval at the third payment",
         {{1, 0, 200 * c}, {2, 0, 200 * c}, {3, 0.5, 200 * c}, {4, 0.5, 200 * c}},
         1,
         TransactionKind::Irregular},
        {"an odd second payment",
         {{1, 0, 200 * c}, {2, 0, 150 * c}, {3, 0, 200 * c}, {4, 0, 200 * c}},
         1,
         TransactionKind::Irregular},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ClassifyTimedTransaction(k.dues, k.advances).kind, k.kind) << k.name;
    }
}

// Exact rates worked with mpmath, outside this code: 5,000 repaid by 24
// monthly payments of 228.48 (9.024534543 %), Appendix J (c)(1)(v), weekly
// (14.962222693 %), and (c)(6)(ii), irregular (10.215443946 %).
TEST(Disclosure, ExactVerdictsOnBothSidesOfBothBoundaries) {
    struct Case {
        double exact, disclosed;
        TransactionKind kind;
        bool accurate, near;
    };
    constexpr TransactionKind R = TransactionKind::Regular;
    constexpr TransactionKind I = TransactionKind::Irregular;
    const Case cases[] = {
        {9.02453454336061, 9.15, R, false, true},  // 0.125465 above
        {9.02453454336061, 9.14, R, true, true},   // 0.115465 above
        {9.02453454336061, 8.90, R, true, true},   // 0.124535 below
        {9.02453454336061, 8.89, R, false, true},  // 0.134535 below
        {9.02453454336061, 9.02, R, true, false},
        {9.02453454336061, 9.40, R, false, false},
        {14.9622226928461, 15.12, R, false, false},  // 0.158 above: 365/7 a year passed it
        {14.9622226928461, 14.86, R, true, false},   // 0.102 below: 365/7 a year failed it
        {10.2154439459016, 10.46, I, true, true},    // 0.244556 above
        {10.2154439459016, 10.47, I, false, true},   // 0.254556 above
        {10.2154439459016, 9.97, I, true, true},     // 0.245444 below
        {10.2154439459016, 9.96, I, false, true},    // 0.255444 below
        {10.2154439459016, 10.0, I, true, false},
        {12.0, 12.125, R, true, true},  // exactly on the boundary counts
        {12.0, 11.75, I, true, true},
    };
    for (const Case& k : cases) {
        const AprVerdict v = CheckDisclosedAprExactly(k.exact, k.disclosed, k.kind);
        EXPECT_EQ(v.accurate, k.accurate) << k.exact << " vs " << k.disclosed;
        EXPECT_EQ(v.nearBoundary, k.near) << k.exact << " vs " << k.disclosed;
        EXPECT_EQ(v.tolerance, AprTolerance(k.kind));
    }
    EXPECT_FALSE(CheckDisclosedAprExactly(9.0, std::nan(""), R).accurate);
    EXPECT_FALSE(CheckDisclosedAprExactly(std::nan(""), 9.0, R).accurate);
}

TEST(Disclosure, FinanceChargeToleranceDependsOnTheAmountFinanced) {
    struct Case {
        double amtFin, totPay, disclosed;
        bool accurate;
    };
    const Case cases[] = {
        {1000.00, 1100.00, 105.00, true},  // $5 at $1,000 financed
        {1000.00, 1100.00, 94.99, false}, {1000.01, 1100.01, 110.00, true},  // $10 above $1,000
        {1000.01, 1100.01, 89.99, false}, {5000.00, 5520.00, 520.00, true},
    };
    for (const Case& c : cases) {
        const FinanceChargeVerdict v =
            CheckDisclosedFinanceCharge(DollarsToCurrency(c.amtFin), DollarsToCurrency(c.totPay),
                                        DollarsToCurrency(c.disclosed));
        EXPECT_EQ(v.accurate, c.accurate) << c.amtFin << " / " << c.disclosed;
        EXPECT_EQ(v.computed, DollarsToCurrency(c.totPay - c.amtFin));
    }
    const Currency top = std::numeric_limits<Currency>::max();
    EXPECT_FALSE(CheckDisclosedFinanceCharge(-top, top, 0).accurate);
}

}  // namespace
}  // namespace qv
