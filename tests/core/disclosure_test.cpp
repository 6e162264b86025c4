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
