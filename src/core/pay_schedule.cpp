#include "core/pay_schedule.h"

#include <cstdint>
#include <optional>
#include <string>

#include "core/pay_group.h"
#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {
namespace {

std::string DollarsWithSeparators(std::int64_t cents, const FormatSettings& fs) {
    return FloatToStrF(CentsToDollars(cents), FloatStyle::Number, 18, 2, fs);
}

std::string TooLargePaymentText(double paySize, const FormatSettings& fs) {
    return "Error: a payment of $" + FloatToStrF(paySize, FloatStyle::Number, 18, 2, fs) +
           " is more than the largest payment of $21,474,836.47.";
}

// Expands groups into the matrix one payment at a time. AddGroup returns false
// (after a warning) when a payment cannot be held by the matrix at all.
class MatrixFiller {
  public:
    MatrixFiller(LoanTerms& loan, UserPort& port, const FormatSettings& fs)
        : loan_(loan), port_(port), fs_(fs) {}

    bool AddGroup(const PayGroup& g) {
        auto currency = TryDollarsToCurrency(g.PaySize);
        std::int64_t cents = currency ? CurrencyToCentsTruncated(*currency) : 0;
        if (!currency || !FitsCents(cents)) {
            port_.Warn(TooLargePaymentText(g.PaySize, fs_));
            return false;
        }
        for (std::int32_t k = 0; k < g.SetSize; ++k) {
            if (count_ == kMaxPayments) return RefuseTooMany(g.SetSize - k);
            if (!AddPayment(static_cast<Cents>(cents), g)) return false;
        }
        return true;
    }

    std::int64_t Count() const { return count_; }
    std::int64_t TotalCents() const { return totalCents_; }
    bool Overflowed() const { return overflowed_; }
    // Payments the groups hold, including those past the matrix's limit.
    std::int64_t ScheduledCount() const { return count_ + extraCount_; }

  private:
    bool AddPayment(Cents cents, const PayGroup& g) {
        const PayEntry& prev = loan_.PayMatrix[static_cast<size_t>(count_)];
        std::int64_t cumPds = std::int64_t{prev.CumPds} + g.PriorPds;
        std::int64_t cumDays = std::int64_t{prev.CumDays} + g.AddDays;
        const std::int64_t daysPerPd = loan_.DaysPerPd;
        // Odd days beyond a whole period are carried into the period count; a
        // full period of odd days is left as it is.
        if (cumDays > daysPerPd) {
            std::int64_t carried = (cumDays - 1) / daysPerPd;
            cumDays -= carried * daysPerPd;
            cumPds += carried;
        }
        ++count_;
        if (!FitsCents(cumPds) || !FitsCents(cumDays)) {
            port_.Warn("Error: payment " + std::to_string(count_) +
                       " falls too many periods from the start of the loan to be computed.");
            return false;
        }
        totalCents_ += cents;
        PayEntry& e = loan_.PayMatrix[static_cast<size_t>(count_)];
        e.PayCents = cents;
        e.PriorPds = g.PriorPds;
        e.AddDays = g.AddDays;
        e.CumPds = static_cast<std::int32_t>(cumPds);
        e.CumDays = static_cast<std::int32_t>(cumDays);
        return true;
    }

    // Nothing is written past the last entry; the rest of the schedule is
    // still counted so that the message can say how long it is.
    bool RefuseTooMany(std::int64_t remainingInGroup) {
        overflowed_ = true;
        extraCount_ += remainingInGroup;
        return true;
    }

    LoanTerms& loan_;
    UserPort& port_;
    const FormatSettings& fs_;
    std::int64_t count_ = 0;
    std::int64_t totalCents_ = 0;
    std::int64_t extraCount_ = 0;
    bool overflowed_ = false;
};

}  // namespace

bool SetPayArray(LoanTerms& loan, TMemDataSet& paySet, UserPort& port, const FormatSettings& fs) {
    ClearMatrix(loan);
    if (loan.DaysPerPd <= 0) {
        port.Warn("Error: a unit period of " + std::to_string(loan.DaysPerPd) +
                  " days cannot hold a payment schedule.");
        return false;
    }

    MatrixFiller filler(loan, port, fs);
    try {
        TableWalk walk(paySet);
        std::optional<PayGroupFields> fields;
        for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext()) {
            if (!fields) fields.emplace(paySet);
            if (!filler.AddGroup(fields->Read(paySet))) return false;
        }
    } catch (const EMemDatasetError& e) {
        port.Warn(e.what());
        return false;
    }

    if (filler.Overflowed()) {
        port.Warn("Error: " + std::to_string(filler.ScheduledCount()) +
                  " payments scheduled but a schedule holds at most " +
                  std::to_string(kMaxPayments));
        return false;
    }

    bool ok = true;
    if (filler.Count() != loan.PayCount) {
        port.Warn("Error: " + std::to_string(filler.Count()) + " payments scheduled but you said " +
                  std::to_string(loan.PayCount));
        ok = false;
    }
    const std::int64_t totPayCents = CurrencyToCentsTruncated(loan.TotPay);
    const std::int64_t gap = filler.TotalCents() - totPayCents;
    if (gap >= 1 || gap <= -1) {
        port.Warn("Error: $" + DollarsWithSeparators(filler.TotalCents(), fs) + " payment total " +
                  "However, you said $" + DollarsWithSeparators(totPayCents, fs));
        ok = false;
    }
    return ok;
}

namespace {

struct IntegrityCounts {
    int badPayment = 0;
    int negativeSize = 0;
    int badInterval = 0;
    std::int64_t scheduledCount = 0;
    Currency scheduledTotal = 0;
    bool totalOutOfRange = false;
};

void CountGroup(const PayGroup& g, IntegrityCounts& c) {
    c.scheduledCount += g.SetSize;
    if (!c.totalOutOfRange) {
        const std::optional<Currency> payment = TryDollarsToCurrency(g.PaySize);
        const std::optional<Currency> total =
            payment ? CheckedSumOfPayments(c.scheduledTotal, g.SetSize, *payment) : std::nullopt;
        c.totalOutOfRange = !total;
        c.scheduledTotal = total.value_or(0);
    }
    if (!(g.PaySize > 0)) ++c.badPayment;
    if (g.SetSize < 0) ++c.negativeSize;
    if ((g.PriorPds == 0 && g.AddDays <= 0) || g.PriorPds < 0) ++c.badInterval;
}

}  // namespace

bool IntegrityMdsPaySet(const LoanTerms& loan, TMemDataSet& paySet, UserPort& port,
                        const FormatSettings& fs) {
    IntegrityCounts c;
    try {
        TableWalk walk(paySet);
        std::optional<PayGroupFields> fields;
        for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext()) {
            if (!fields) fields.emplace(paySet);
            CountGroup(fields->Read(paySet), c);
        }
    } catch (const EMemDatasetError& e) {
        port.Warn(e.what());
        return false;
    }

    bool ok = c.badPayment == 0 && c.negativeSize == 0 && c.badInterval == 0;
    if (c.badPayment > 0)
        port.Warn("Error: " + std::to_string(c.badPayment) + " negative or $0.00 payment(s).");
    if (c.negativeSize > 0)
        port.Warn("Error :" + std::to_string(c.negativeSize) + " payment(s) of $0.00.");
    if (c.badInterval > 0)
        port.Warn("Error: " + std::to_string(c.badInterval) +
                  " scheduled interval(s) of zero or less days.");

    // A Total of Payments beyond the currency range is one a page could not
    // add up (it holds such a total beyond the range rather than wrapping).
    if (c.totalOutOfRange || !InCurrencyRange(loan.TotPay)) {
        port.Warn(std::string(kTotalOutOfRange));
        return false;
    }
    // The scheduled total is truncated to the cent, TotPay rounded half up:
    // a total typed with a fraction of a cent is met by the payments that
    // carry it.
    const std::int64_t scheduledCents = CurrencyToCentsTruncated(c.scheduledTotal);
    const std::int64_t totPayCents = CurrencyToCentsRoundedHalfUp(loan.TotPay);
    const std::int64_t gap = scheduledCents - totPayCents;
    if (gap > 0) {
        ok = false;
        port.Warn("Error: Total of scheduled payments > Total of Payments by $ " +
                  CurrencyText(CentsToDollars(gap), fs));
    } else if (gap < 0) {
        port.Warn("Warning: Total of scheduled payments < Total of Payments by $ " +
                  CurrencyText(CentsToDollars(gap), fs));
    }
    if (c.scheduledCount > loan.PayCount) {
        ok = false;
        port.Warn("Error: Scheduled " + std::to_string(c.scheduledCount - loan.PayCount) +
                  " more Payments than Number of Payments.");
    }
    return ok;
}

}  // namespace qv
