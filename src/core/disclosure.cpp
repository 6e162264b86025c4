#include "core/disclosure.h"

#include <cmath>

namespace qv {

namespace {

// One payment of the expanded schedule, as far as its regularity goes.
struct Due {
    std::int32_t periods;
    std::int32_t days;
    Currency amount;
};

// The payments of the groups in order, without expanding a group of many equal
// payments more than the comparison needs: a group contributes its first
// payment, and (when it has more) one more standing for the rest, which are
// identical to it and due the same interval after each other.
std::vector<Due> RepresentativeDues(const std::vector<PayGroup>& groups) {
    std::vector<Due> dues;
    for (const PayGroup& g : groups) {
        if (g.SetSize <= 0) continue;
        const Due due{g.PriorPds, g.AddDays, DollarsToCurrency(g.PaySize)};
        dues.push_back(due);
        if (g.SetSize > 1) dues.push_back(due);
        if (g.SetSize > 2) dues.push_back(due);
    }
    return dues;
}

}  // namespace

TransactionShape ClassifyTransaction(const std::vector<PayGroup>& groups) {
    const std::vector<Due> dues = RepresentativeDues(groups);
    if (dues.size() <= 2) {
        return {TransactionKind::Regular, "at most two payments: only a first and a final payment"};
    }
    const Due& second = dues[1];
    for (std::size_t i = 2; i < dues.size(); ++i) {
        if (dues[i].periods != second.periods || dues[i].days != second.days) {
            return {TransactionKind::Irregular, "irregular payment periods"};
        }
    }
    for (std::size_t i = 2; i + 1 < dues.size(); ++i) {
        if (dues[i].amount != second.amount) {
            return {TransactionKind::Irregular, "irregular payment amounts"};
        }
    }
    return {TransactionKind::Regular,
            "equal payments at equal intervals, apart from the first period and the first and "
            "final payments"};
}

TransactionShape ClassifyTimedTransaction(std::span<const TimedDue> payments,
                                          std::size_t advances) {
    if (advances > 1) return {TransactionKind::Irregular, "multiple advances"};
    if (payments.size() <= 2) {
        return {TransactionKind::Regular, "at most two payments: only a first and a final payment"};
    }
    auto interval = [&](std::size_t k) {
        return static_cast<double>(payments[k].periods - payments[k - 1].periods) +
               (payments[k].fraction - payments[k - 1].fraction);
    };
    // The first period, from the advance to the first payment, may be odd;
    // every later interval must equal the one before the second payment.
    constexpr double kSameInterval = 1e-9;
    const double regular = interval(1);
    for (std::size_t k = 2; k < payments.size(); ++k) {
        if (std::fabs(interval(k) - regular) > kSameInterval) {
            return {TransactionKind::Irregular, "irregular payment periods"};
        }
    }
    for (std::size_t k = 2; k + 1 < payments.size(); ++k) {
        if (payments[k].amount != payments[1].amount) {
            return {TransactionKind::Irregular, "irregular payment amounts"};
        }
    }
    return {TransactionKind::Regular,
            "equal payments at equal intervals, apart from the first period and the first and "
            "final payments"};
}

double AprTolerance(TransactionKind kind) {
    return kind == TransactionKind::Regular ? 0.125 : 0.25;
}

Currency FinanceChargeTolerance(Currency amountFinanced) {
    constexpr Currency kThousandDollars = 1000 * kCurrencyPerDollar;
    return (amountFinanced <= kThousandDollars ? 5 : 10) * kCurrencyPerDollar;
}

AprVerdict CheckDisclosedApr(double computedApr, double disclosedApr, TransactionKind kind) {
    AprVerdict v;
    v.computed = computedApr;
    v.disclosed = disclosedApr;
    v.tolerance = AprTolerance(kind);
    // Both rates carry at most a few decimals; a margin far below a
    // thousandth of a point keeps 9.69 against 9.565 from failing on the
    // last bit of a double.
    constexpr double kRepresentationMargin = 1e-9;
    v.accurate = std::isfinite(computedApr) && std::isfinite(disclosedApr) &&
                 std::fabs(disclosedApr - computedApr) <= v.tolerance + kRepresentationMargin;
    return v;
}

AprVerdict CheckDisclosedAprExactly(double exactApr, double disclosedApr, TransactionKind kind) {
    AprVerdict v;
    v.computed = exactApr;
    v.disclosed = disclosedApr;
    v.tolerance = AprTolerance(kind);
    if (!std::isfinite(exactApr) || !std::isfinite(disclosedApr)) return v;
    // The exact rate is good to about 1e-13 points; a tenth of a billionth
    // keeps a disclosure exactly on the boundary from failing on the last
    // bits, and is no leniency any disclosure can use.
    constexpr double kRepresentationMargin = 1e-10;
    const double gap = std::fabs(disclosedApr - exactApr);
    v.accurate = gap <= v.tolerance + kRepresentationMargin;
    v.nearBoundary = std::fabs(gap - v.tolerance) <= kNearBoundary + kRepresentationMargin;
    return v;
}

FinanceChargeVerdict CheckDisclosedFinanceCharge(Currency amountFinanced, Currency totalOfPayments,
                                                 Currency disclosedFinanceCharge) {
    FinanceChargeVerdict v;
    v.disclosed = disclosedFinanceCharge;
    v.tolerance = FinanceChargeTolerance(amountFinanced);
    // Amounts at the ends of the currency range cannot be compared; such a
    // charge is not accurate to any tolerance.
    const std::optional<Currency> computed = CheckedDifference(totalOfPayments, amountFinanced);
    const std::optional<Currency> gap =
        computed ? CheckedDifference(disclosedFinanceCharge, *computed) : std::nullopt;
    v.computed = computed.value_or(0);
    v.accurate = gap && *gap >= -v.tolerance && *gap <= v.tolerance;
    return v;
}

}  // namespace qv
