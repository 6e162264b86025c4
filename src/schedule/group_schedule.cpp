#include "schedule/group_schedule.h"

#include <charconv>
#include <limits>
#include <optional>
#include <system_error>

#include "base/number_entry.h"
#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {
namespace {

constexpr std::size_t kMaxConsidered = 255;

// The text without its thousands separators, when it is a plain unsigned
// number: digits and commas that separate thousands, with at most one
// decimal point when `decimal`, and at least one digit.
std::optional<std::string> PlainDigits(std::string_view text, bool decimal) {
    std::string digits;
    bool point = false;
    bool anyDigit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            digits.push_back(c);
        } else if (c == ',') {
            if (!CommaSeparatesThousands(text, i)) return std::nullopt;
        } else if (c == '.' && decimal && !point) {
            point = true;
            digits.push_back(c);
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) return std::nullopt;
    return digits;
}

std::string_view FirstChars(std::string_view text) {
    // Whole characters only: a cut inside a UTF-8 sequence is moved back.
    std::size_t bytes = 0;
    std::size_t chars = 0;
    while (bytes < text.size() && chars < kMaxConsidered) {
        ++bytes;
        while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
            ++bytes;
        ++chars;
    }
    return text.substr(0, bytes);
}

}  // namespace

std::optional<std::int32_t> GroupTextAsInteger(std::string_view text) {
    const std::optional<std::string> digits = PlainDigits(text, false);
    if (!digits) return std::nullopt;
    std::int32_t value = 0;
    const char* end = digits->data() + digits->size();
    const auto [ptr, ec] = std::from_chars(digits->data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<double> GroupTextAsDecimal(std::string_view text) {
    std::optional<std::string> digits = PlainDigits(text, true);
    if (!digits) return std::nullopt;
    // from_chars wants a digit before the point.
    if (digits->front() == '.') digits->insert(digits->begin(), '0');
    double value = 0.0;
    const char* end = digits->data() + digits->size();
    const auto [ptr, ec] = std::from_chars(digits->data(), end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !(value <= kMaxCurrencyDollars)) return std::nullopt;
    return value;
}

std::optional<std::string> TotalOfPaymentsWarning(Currency TotPay, double AmtFin) {
    if (TotPay < kCurrencyPerCent && AmtFin > 0)
        return std::string("Warning: If Amt.Fin > zero, then Total of Payments cannot be zero.");
    if (static_cast<double>(TotPay) < AmtFin * static_cast<double>(kCurrencyPerDollar))
        return std::string("Warning: Total of Payments < Amount Financed.");
    return std::nullopt;
}

std::optional<std::string> OneGroupSuggestion(std::string_view groupPdsText,
                                              std::string_view groupPayText, Currency TotPay,
                                              std::int32_t PayCount, const FormatSettings& fs) {
    if (groupPdsText != "0" || groupPayText != "0.00") return std::nullopt;
    // A count of zero has no share to suggest.
    if (PayCount <= 0 || TotPay < 0) return std::nullopt;
    // The total's share in whole cents, the fraction dropped; done in
    // integers so that no rounding of the division can lose a cent.
    const std::int64_t cents = TotPay / (kCurrencyPerCent * std::int64_t{PayCount});
    return FloatToStrF(CentsToDollars(cents), FloatStyle::Number, 17, 2, fs);
}

AddGroupDecision DecideAddGroup(std::string_view sizeText, std::string_view payText,
                                std::string_view pdsText, std::string_view extraText,
                                std::int32_t GroupPayCount) {
    AddGroupDecision d;
    const std::optional<std::int32_t> size = GroupTextAsInteger(sizeText);
    const std::optional<double> pay = GroupTextAsDecimal(payText);
    const std::optional<std::int32_t> pds = GroupTextAsInteger(pdsText);
    const std::optional<std::int32_t> extra = GroupTextAsInteger(extraText);
    if (!size || !pay || !pds || !extra) d.messages.emplace_back(kGroupSyntaxError);
    // A size that did not convert has no count to check.
    if (size && std::int64_t{GroupPayCount} + *size > kMaxPayments)
        d.messages.emplace_back(kTooManyPayments);
    if (!d.messages.empty()) return d;
    d.accepted = true;
    d.group = PayGroup{*size, 0, *pay, *pds, *extra};
    return d;
}

void TakeNewGroup(GroupEntry& entry, const PayGroup& group) {
    entry.GroupSize = group.SetSize;
    entry.GroupPay = group.PaySize;
    entry.GroupPds = group.PriorPds;
    entry.GroupExtra = group.AddDays;
    // DecideAddGroup keeps the running count within the schedule's limit.
    entry.GroupPayCount += group.SetSize;
    entry.GroupPayTotal += group.SetSize * group.PaySize;
    if (entry.GroupNumber < std::numeric_limits<std::int32_t>::max()) ++entry.GroupNumber;
}

std::string GroupCountText(std::int32_t GroupNumber) {
    return "Payment Group # " + std::to_string(GroupNumber) + " has";
}

GroupWalk WalkGroups(TMemDataSet& paySet) {
    GroupWalk w;
    TableWalk walk(paySet);
    std::optional<PayGroupFields> fields;
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext()) {
        if (!fields) fields.emplace(paySet);
        const auto [setSize, sequence, paySize, priorPds, addDays] = fields->Read(paySet);
        const std::string group = "Group # " + std::to_string(sequence);

        if (priorPds == 0 && addDays == 0)
            w.findings.push_back(group + " has an interval of zero !");
        if (setSize == 0) w.findings.push_back(group + " contains no payments!");
        w.count += setSize;
        const std::optional<Currency> payment = TryDollarsToCurrency(paySize);
        const bool zero = payment ? *payment < kCurrencyPerCent : !(paySize > 0);
        if (zero) w.findings.push_back(group + " has payment(s) of zero $ !");
        if (w.totalInRange) {
            const std::optional<Currency> total =
                payment ? CheckedSumOfPayments(w.total, setSize, *payment) : std::nullopt;
            w.totalInRange = total.has_value();
            w.total = total.value_or(0);
        }
        w.dollars += setSize * paySize;
    }
    return w;
}

std::string GroupSumText(std::int64_t count, double total, const FormatSettings& fs) {
    return std::to_string(count) +
           " Payments, Total= " + FloatToStrF(total, FloatStyle::Money, 14, 2, fs);
}

std::string PaymentsTotalText(std::int64_t count, Currency total, const FormatSettings& fs) {
    return std::to_string(count) + " payments total to " +
           FloatToStrF(CurrencyToDollars(total), FloatStyle::Money, 17, 2, fs);
}

std::string AmountFinancedDefault(double AmtFin, const FormatSettings& fs) {
    return FloatToStrF(AmtFin, FloatStyle::Money, 18, 2, fs);
}

AmountFinancedReply JudgeAmountFinancedReply(std::string_view answer, std::string_view defaultText,
                                             const FormatSettings& fs) {
    AmountFinancedReply r;
    const std::string_view given = FirstChars(answer);
    if (given == FirstChars(defaultText)) return r;
    std::string text(given);
    double value = 0.0;
    if (ValidateFloat3(text, kMaxConsidered)) {
        // from_chars wants a digit before the point.
        if (!text.empty() && text.front() == '.') text.insert(text.begin(), '0');
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
        if (ec == std::errc() && ptr == end) {
            r.kind = AmountFinancedReply::Kind::Accept;
            r.amtFin = value;
            r.boxText = FloatToStrF(value, FloatStyle::Number, 18, 2, fs);
            return r;
        }
    }
    r.kind = AmountFinancedReply::Kind::Refuse;
    r.message = std::string(given) + " is not a valid Amount Financed";
    return r;
}

void SetBasePeriod(LoanTerms& loan, std::optional<Interval> interval) {
    if (!interval) return;
    loan.DaysPerPd = Describe(*interval).DaysPerPd;
    loan.PdsPerYear = Describe(*interval).PdsPerYear;
}

bool PerDiemRuleApplies(const LoanTerms& loan) {
    return loan.PayCount < 3 && loan.PayMatrix[1].PriorPds == 0 && loan.PayMatrix[2].AddDays == 0;
}

}  // namespace qv
