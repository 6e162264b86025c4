#pragma once
// Whether a disclosed APR and finance charge are accurate under the Truth in
// Lending tolerances: an APR within 1/8 of one percentage point of the
// actuarial rate for a regular transaction and within 1/4 for an irregular
// one; a finance charge within $5 of the exact charge when the amount
// financed is $1,000 or less, and within $10 above that.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/money.h"
#include "core/pay_group.h"

namespace qv {

enum class TransactionKind { Regular, Irregular };

// Why a schedule counts as regular or irregular, in a few words for reports.
struct TransactionShape {
    TransactionKind kind = TransactionKind::Regular;
    std::string reason;
};

// A transaction is irregular when its payments are irregular in period or
// amount, other than an odd first period, an odd first payment or an odd
// final payment: every payment after the first must fall the same number of
// periods and days after the one before it, and every payment between the
// first and the last must be the same amount. Groups in Sequence order; groups
// of no payments are skipped.
TransactionShape ClassifyTransaction(const std::vector<PayGroup>& groups);

// A payment by its time from the beginning of the term (whole unit periods
// and a fraction of one) and its amount, for loans placed in time by dates or
// by the regulation's unit periods.
struct TimedDue {
    std::int64_t periods = 0;
    double fraction = 0.0;
    Currency amount = 0;
};

// The same rule for payments placed in time, in order, and the number of
// advances: more than one advance makes a transaction irregular as well
// (1026.22(a)(3)). Intervals are compared to a billionth of a unit period, so
// a fraction carried through the arithmetic still counts as equal.
TransactionShape ClassifyTimedTransaction(std::span<const TimedDue> payments, std::size_t advances);

// The APR tolerance in percentage points.
double AprTolerance(TransactionKind kind);
// The finance-charge tolerance for an amount financed.
Currency FinanceChargeTolerance(Currency amountFinanced);

struct AprVerdict {
    double computed = 0.0;
    double disclosed = 0.0;
    double tolerance = 0.0;
    bool accurate = false;
    // Within kNearBoundary of the tolerance on either side: a verdict an
    // analyst looks at twice.
    bool nearBoundary = false;
};

// How near the tolerance a disclosure counts as near the boundary, in points.
inline constexpr double kNearBoundary = 0.01;

struct FinanceChargeVerdict {
    Currency computed = 0;
    Currency disclosed = 0;
    Currency tolerance = 0;
    bool accurate = false;
};

// The computed APR is the engine's rounded result (three decimals); the
// comparison allows for the binary representation of both numbers.
AprVerdict CheckDisclosedApr(double computedApr, double disclosedApr, TransactionKind kind);
// Against the exact, unrounded Appendix J rate: accurate when the disclosed
// APR is no further from it than the tolerance (1026.22(a)(2)-(3)), the
// boundary included, with no allowance beyond a tenth of a billionth of a
// point for the last bits of the two doubles.
AprVerdict CheckDisclosedAprExactly(double exactApr, double disclosedApr, TransactionKind kind);
FinanceChargeVerdict CheckDisclosedFinanceCharge(Currency amountFinanced, Currency totalOfPayments,
                                                 Currency disclosedFinanceCharge);

}  // namespace qv
