#include "schedule/regular_schedule.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include "base/number_entry.h"
#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {
namespace {

std::string CurrencyStyle8(double dollars, const FormatSettings& fs) {
    return FloatToStrF(dollars, FloatStyle::Money, 8, 2, fs);
}

// Adds count x payment to a running currency total; false when the total
// leaves the currency range (it is then held beyond the range, so that the
// checks that take it refuse it).
bool AddPayments(Currency& total, std::int64_t count, Currency payment) {
    const std::optional<Currency> sum = CheckedSumOfPayments(total, count, payment);
    total = sum.value_or(kCurrencyTooLarge);
    return sum.has_value();
}

// A text that reads as a whole number: an optional sign and digits only.
std::optional<std::int64_t> ReadInteger(std::string_view text) {
    // from_chars reads a minus sign but not a plus sign.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool LastLineIsEmpty(const RegularTexts& t) {
    const bool noPayment = t.LastPay == "0.00" || t.LastPay == "0" || t.LastPay == "0.0";
    return noPayment && t.LastPds == "0" && t.LastExtra == "0";
}

}  // namespace

std::string ZeroPaymentsOfText(double RegPay, const FormatSettings& fs) {
    return "You cannot have zero payments of " + CurrencyStyle8(RegPay, fs) + "\n\r" +
           "To Reset, first enter 1 here.";
}

std::string PaymentsOfZeroText(std::string_view countText) {
    return "You cannot have " + std::string(countText) + " payments of $ zero !" + "\n\r" +
           "To Reset, first enter $.01 here.";
}

std::string FirstExtraDaysText(std::int32_t DaysPerPd) {
    return "Revise First Common Period count, as Extra Days cannot > = " +
           std::to_string(DaysPerPd);
}

std::string LastExtraDaysText(std::int32_t DaysPerPd) {
    return "Revised Common Period count, as Extra Days cannot > = " + std::to_string(DaysPerPd);
}

double BoxDollars(std::string_view text) {
    const Float2Check check = ValidateFloat2("", text);
    return check.valid ? check.value : 0.0;
}

std::int32_t BoxWhole(std::string_view text) {
    const Integer2Check check = ValidateInteger2("", text);
    return check.valid ? check.value : 0;
}

RegularBoxes ReadRegularBoxes(const RegularTexts& t) {
    RegularBoxes b;
    b.AmtFin = BoxDollars(t.AmtFin);
    b.PayCount = BoxWhole(t.PayCount);
    b.RegPay = BoxDollars(t.RegPay);
    b.FirstPay = BoxDollars(t.FirstPay);
    b.FirstPds = BoxWhole(t.FirstPds);
    b.FirstExtra = BoxWhole(t.FirstExtra);
    b.LastPay = BoxDollars(t.LastPay);
    b.LastPds = BoxWhole(t.LastPds);
    b.LastExtra = BoxWhole(t.LastExtra);
    return b;
}

void StoreRegularBoxes(RegularInputs& regular, const RegularBoxes& boxes) {
    regular.RegPay = boxes.RegPay;
    regular.FirstPay = boxes.FirstPay;
    regular.FirstPds = boxes.FirstPds;
    regular.FirstExtra = boxes.FirstExtra;
    regular.LastPay = boxes.LastPay;
    regular.LastPds = boxes.LastPds;
    regular.LastExtra = boxes.LastExtra;
}

SimpleSummary SummarizeRegular(const RegularBoxes& b, const FormatSettings& fs) {
    SimpleSummary s;
    s.PayCount = b.PayCount;
    s.AmtFin = b.AmtFin;
    const std::int64_t inner = b.PayCount > 2 ? std::int64_t{b.PayCount} - 2 : 0;
    Currency total = 0;
    bool inRange = AddPayments(total, inner, DollarsToCurrency(b.RegPay));
    inRange = inRange && AddPayments(total, 1, DollarsToCurrency(b.FirstPay));
    if (b.PayCount > 1) inRange = inRange && AddPayments(total, 1, DollarsToCurrency(b.LastPay));
    s.TotPay = total;
    s.totalInRange = inRange;

    const std::string count = std::to_string(s.PayCount);
    if (!inRange) {
        s.text =
            "Above schedule has " + count + " Payments, whose Total is more than can be computed";
        return s;
    }
    const double totalDollars = CurrencyToDollars(s.TotPay);
    s.text = "Above schedule has " + count + " Payments Totalling " +
             CurrencyStyle8(totalDollars, fs) + " w/ " +
             CurrencyStyle8(totalDollars - s.AmtFin, fs) + " Finance Charge";
    return s;
}

SimpleSummary UpdateSimpleSummary(LoanTerms& loan, const RegularBoxes& boxes,
                                  const FormatSettings& fs) {
    SimpleSummary summary = SummarizeRegular(boxes, fs);
    loan.PayCount = summary.PayCount;
    loan.TotPay = summary.TotPay;
    loan.AmtFin = summary.AmtFin;
    return summary;
}

ExtraDaysCarry CarryExtraDays(std::int64_t periods, std::int32_t days, std::int32_t DaysPerPd) {
    ExtraDaysCarry carry{false, periods, days};
    if (DaysPerPd <= 0 || days < DaysPerPd) return carry;
    carry.carried = true;
    carry.periods = periods + days / DaysPerPd;
    carry.days = days % DaysPerPd;
    return carry;
}

std::vector<PayGroup> RegularGroups(const RegularBoxes& b) {
    auto paySize = [](double dollars) { return CurrencyToDollars(DollarsToCurrency(dollars)); };
    std::vector<PayGroup> groups;
    std::int32_t sequence = 0;
    groups.push_back({1, ++sequence, paySize(b.FirstPay), b.FirstPds, b.FirstExtra});
    if (b.PayCount > 2) groups.push_back({b.PayCount - 2, ++sequence, paySize(b.RegPay), 1, 0});
    if (b.PayCount > 1) {
        groups.push_back({1, ++sequence, paySize(b.LastPay), b.LastPds, b.LastExtra});
    }
    return groups;
}

void SimplePaySet(LoanTerms& loan, TMemDataSet& paySet, const RegularBoxes& boxes, UserPort& port) {
    loan.AmtFin = boxes.AmtFin;
    EmptyTable(paySet);
    Currency sum = 0;
    bool inRange = true;
    {
        UpdateBatch batch(paySet);
        for (const PayGroup& g : RegularGroups(boxes)) {
            AppendPayGroup(paySet, g);
            paySet.Post();
            inRange = inRange && AddPayments(sum, g.SetSize, DollarsToCurrency(g.PaySize));
        }
    }
    loan.PayCount = boxes.PayCount;

    // Both totals are sums of non-negative box values, but TotPay may have
    // been written by another page: compare without overflowing.
    const std::optional<Currency> gap = CheckedDifference(sum, loan.TotPay);
    const bool differs = !inRange || !gap || *gap >= kCurrencyPerCent || *gap <= -kCurrencyPerCent;
    if (differs) {
        port.Warn(kSumDiffersText);
        loan.TotPay = sum;
    }
}

bool HasPaymentWithNoDuration(const RegularTexts& t) {
    const bool firstNoDuration =
        BoxDollars(t.FirstPay) == 0.0 && t.FirstPds != "0" && t.FirstExtra == "0";
    const bool commonZero = BoxDollars(t.RegPay) == 0.0 && t.PayCount != "0";
    const bool lastNoDuration =
        BoxDollars(t.LastPay) == 0.0 && t.LastPds != "0" && t.LastExtra == "0";
    return firstNoDuration || commonZero || lastNoDuration;
}

SinglePaymentDecision RouteSinglePayment(std::int32_t PayCount, const RegularTexts& t,
                                         std::int32_t DaysPerPd) {
    SinglePaymentDecision d;
    if (PayCount >= 2 || !LastLineIsEmpty(t)) return d;
    const std::optional<std::int64_t> periods = ReadInteger(t.FirstPds);
    if (!periods) {
        d.route = SinglePaymentRoute::PeriodsNotInteger;
        return d;
    }
    if (*periods < 0) {
        d.route = SinglePaymentRoute::PeriodsNegative;
        return d;
    }
    std::int64_t days = 0;
    const bool overflow = __builtin_mul_overflow(*periods, std::int64_t{DaysPerPd}, &days) ||
                          __builtin_add_overflow(days, std::int64_t{BoxWhole(t.FirstExtra)}, &days);
    if (overflow || days > 365) {
        d.route = SinglePaymentRoute::PerDiemOverAYear;
        return d;
    }
    d.route = SinglePaymentRoute::OnePaymentPage;
    d.days = static_cast<std::int32_t>(days);
    return d;
}

}  // namespace qv
