#include "cli/batch_input.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "core/loan_state.h"
#include "regz/regz_input.h"
#include "schedule/schedule_file.h"

namespace qv::cli {
namespace {

using nlohmann::json;

constexpr std::string_view kIdColumn = "id";
constexpr std::string_view kAmountColumn = "amount_financed";
constexpr std::string_view kIntervalColumn = "interval";
constexpr std::string_view kGroupsColumn = "groups";
constexpr std::string_view kDisclosedAprColumn = "disclosed_apr";
constexpr std::string_view kDisclosedFcColumn = "disclosed_finance_charge";
constexpr std::string_view kUnitPeriodColumn = "unit_period";
constexpr std::string_view kAdvanceDateColumn = "advance_date";
constexpr std::string_view kAdvancesColumn = "advances";
constexpr std::string_view kPaymentsColumn = "payments";

// Every name a batch line may use; anything else is most likely a typing
// mistake that would silently leave a value out.
constexpr std::array<std::string_view, 10> kLoanNames = {
    kIdColumn,          kAmountColumn,     kIntervalColumn,    kGroupsColumn,   kDisclosedAprColumn,
    kDisclosedFcColumn, kUnitPeriodColumn, kAdvanceDateColumn, kAdvancesColumn, kPaymentsColumn};
constexpr std::array<std::string_view, 4> kGroupNames = {"count", "payment", "periods", "days"};

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[k]) != lower(b[k])) return false;
    }
    return true;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A number that took the whole text, or why not.
template <class Number>
struct NumberText {
    std::optional<Number> value;
    bool outOfRange = false;  // a number, but none the type can hold
};

template <class Number>
NumberText<Number> WholeText(std::string_view text) {
    text = Trimmed(text);
    Number value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ptr != end) return {};
    if (ec == std::errc::result_out_of_range) return {std::nullopt, true};
    if (ec != std::errc()) return {};
    return {value, false};
}

// A rate or amount so close to zero that a double holds it only with lost
// digits (1e-320) is written by mistake, not meant.
bool TooSmallToHold(double x) {
    return x != 0.0 && std::fabs(x) < std::numeric_limits<double>::min();
}

// A finite number written plainly ("5000", "88.85", "-1e3"); `error` says
// why not.
std::optional<double> ReadAmount(std::string_view name, std::string_view text, std::string& error) {
    const NumberText<double> read = WholeText<double>(text);
    const std::optional<double> value = read.value;
    if (read.outOfRange || (value && TooSmallToHold(*value))) {
        error = Quoted(name) + ": " + Quoted(Trimmed(text)) + " is out of range";
        return std::nullopt;
    }
    if (!value) {
        error = Quoted(name) + ": " + Quoted(Trimmed(text)) + " is not a number";
        return std::nullopt;
    }
    if (!std::isfinite(*value)) {
        error = Quoted(name) + ": " + Quoted(Trimmed(text)) + " is not a finite number";
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ReadWhole(std::string_view name, std::string_view text,
                                      std::string& error) {
    const NumberText<std::int32_t> read = WholeText<std::int32_t>(text);
    if (read.outOfRange)
        error = Quoted(name) + ": " + Quoted(Trimmed(text)) + " is out of range";
    else if (!read.value)
        error = Quoted(name) + ": " + Quoted(Trimmed(text)) + " is not a whole number";
    return read.value;
}

std::optional<Interval> ReadInterval(std::string_view text, std::string& error) {
    const std::optional<Interval> item = IntervalNamed(text);
    if (!item)
        error = Quoted(kIntervalColumn) + ": " + Quoted(Trimmed(text)) +
                " is none of annually, monthly, halfmonth, twoweeks, weekly or 0 to 4";
    return item;
}

// An amount of whole cents within the currency range holds no digit below
// the cent; one with a fraction of a cent was not copied from a disclosure
// and is refused rather than rounded one way or the other.
bool HasFractionOfACent(double dollars) {
    const std::optional<Currency> amount = TryDollarsToCurrency(dollars);
    return amount && *amount % (kCurrencyPerDollar / 100) != 0;
}

std::string FractionOfACentText(std::string_view what, double dollars) {
    return std::string(what) + " " + FloatToStr(dollars) +
           " has a fraction of a cent (amounts are whole cents)";
}

// The disclosed finance charge as currency: finite, within the range and in
// whole cents.
std::optional<Currency> ReadFinanceCharge(double dollars, std::string& error,
                                          std::string_view name = kDisclosedFcColumn) {
    const std::optional<Currency> charge = TryDollarsToCurrency(dollars);
    if (!charge) {
        error = Quoted(name) + ": " + FloatToStr(dollars) + " is out of range";
        return std::nullopt;
    }
    if (HasFractionOfACent(dollars)) {
        error = FractionOfACentText(name, dollars);
        return std::nullopt;
    }
    return charge;
}

std::optional<double> ReadApr(std::string_view text, std::string& error,
                              std::string_view name = kDisclosedAprColumn) {
    text = Trimmed(text);
    // A rate may be written with its percent sign.
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);
    return ReadAmount(name, text, error);
}

// A loan with its header, groups and disclosure checked as far as the line
// goes; the amounts' ranges are the schedule loader's to judge.
LoanParse Failed(std::string id, std::string error) {
    LoanParse p;
    p.id = std::move(id);
    p.error = std::move(error);
    return p;
}

LoanParse Parsed(BatchLoan loan) {
    LoanParse p;
    p.id = loan.id;
    p.loan = std::move(loan);
    return p;
}

// --- CSV ---------------------------------------------------------------------------

std::string_view Field(const std::vector<std::string>& fields, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= fields.size()) return {};
    return fields[static_cast<std::size_t>(column)];
}

// The texts of a line that place the loan in time; empty when not given.
struct TimingText {
    std::string_view unitPeriod;
    std::string_view advanceDate;
    std::string_view advances;
    std::string_view payments;
    bool groupsGiven = false;
    bool groupsNamed = false;  // the line has a groups column or key, empty or not
};

// The desktop's interval of a unit period, when it has one.
std::optional<Interval> DesktopInterval(regz::UnitPeriod unit) {
    for (const IntervalInfo& info : kIntervals)
        if (regz::UnitPeriodOfInterval(info.interval) == unit) return info.interval;
    return std::nullopt;
}

// The loan's unit period and, for a loan by dates, its advances and
// payments; the reason the line cannot be a loan otherwise. `amount` and
// `interval` are the line's, where it gives them.
std::optional<std::string> ReadTiming(BatchLoan& loan, std::optional<double> amount,
                                      std::optional<Interval> interval, const TimingText& t) {
    std::optional<regz::UnitPeriod> named;
    if (!Trimmed(t.unitPeriod).empty()) {
        const regz::UnitPeriodParse unit = regz::ParseUnitPeriod(t.unitPeriod);
        if (!unit.unit) return Quoted(kUnitPeriodColumn) + ": " + unit.error;
        named = unit.unit;
    }
    std::optional<regz::UnitPeriod> ofInterval;
    if (interval) ofInterval = regz::UnitPeriodOfInterval(*interval);
    if (named && ofInterval && *named != *ofInterval)
        return Quoted(kUnitPeriodColumn) + " and " + Quoted(kIntervalColumn) +
               " name different unit periods; give one of them";
    if (Trimmed(t.payments).empty()) {
        if (!t.groupsGiven)
            return t.groupsNamed
                       ? Quoted(kGroupsColumn) + " is empty"
                       : "no " + Quoted(kGroupsColumn) + " nor " + Quoted(kPaymentsColumn);
        if (!Trimmed(t.advanceDate).empty() || !Trimmed(t.advances).empty())
            return Quoted(kAdvanceDateColumn) + " and " + Quoted(kAdvancesColumn) + " go with " +
                   Quoted(kPaymentsColumn) + " by dates, not with " + Quoted(kGroupsColumn);
        if (!amount) return "no " + Quoted(kAmountColumn);
        if (!named && !ofInterval)
            return "no " + Quoted(kIntervalColumn) + " nor " + Quoted(kUnitPeriodColumn);
        loan.unit = named ? *named : *ofInterval;
        const std::optional<Interval> desktop = DesktopInterval(loan.unit);
        loan.desktopFits = desktop.has_value();
        loan.header = {desktop.value_or(kStartInterval), *amount};
        return std::nullopt;
    }
    if (t.groupsGiven)
        return "give " + Quoted(kGroupsColumn) + " or " + Quoted(kPaymentsColumn) + ", not both";
    regz::DatedLoan dated;
    dated.unit = named ? named : ofInterval;
    if (!Trimmed(t.advances).empty()) {
        if (!Trimmed(t.advanceDate).empty() || amount)
            return Quoted(kAdvancesColumn) + " stand for " + Quoted(kAdvanceDateColumn) + " and " +
                   Quoted(kAmountColumn) + "; give one or the other";
        regz::DatedItemsParse advances = regz::ParseAdvances(t.advances);
        if (!advances.error.empty()) return Quoted(kAdvancesColumn) + ": " + advances.error;
        dated.advances = std::move(advances.items);
    } else {
        if (Trimmed(t.advanceDate).empty() || !amount)
            return "a loan by dates needs " + Quoted(kAdvanceDateColumn) + " and " +
                   Quoted(kAmountColumn) + ", or " + Quoted(kAdvancesColumn);
        const regz::DateParse date = regz::ParseIsoDate(Trimmed(t.advanceDate));
        if (!date.date) return Quoted(kAdvanceDateColumn) + ": " + date.error;
        dated.advances.push_back({*date.date, *amount});
    }
    regz::DatedItemsParse payments = regz::ParsePayments(t.payments, dated.unit);
    if (!payments.error.empty()) return Quoted(kPaymentsColumn) + ": " + payments.error;
    dated.payments = std::move(payments.items);
    // Whole cents, as for groups: a disclosure states cents.
    for (const auto& [items, what] : {std::pair{&dated.advances, "the advance on "},
                                      std::pair{&dated.payments, "the payment on "}}) {
        for (const regz::DatedAmount& item : *items)
            if (HasFractionOfACent(item.amount))
                return FractionOfACentText(what + regz::FormatIsoDate(item.date), item.amount);
    }
    loan.dated = std::move(dated);
    loan.desktopFits = false;
    return std::nullopt;
}

// --- JSON --------------------------------------------------------------------------

// The text of a JSON error without the library's error code.
std::string ErrorText(const json::exception& e) {
    std::string text = e.what();
    if (const auto end = text.find("] ");
        text.starts_with("[json.exception") && end != std::string::npos)
        text.erase(0, end + 2);
    return text;
}

std::optional<double> JsonAmount(const json& value, std::string_view name, std::string& error) {
    if (!value.is_number()) {
        error = Quoted(name) + " must be a number";
        return std::nullopt;
    }
    const double x = value.get<double>();
    if (!std::isfinite(x)) {
        error = Quoted(name) + " must be a finite number";
        return std::nullopt;
    }
    if (TooSmallToHold(x)) {
        error = Quoted(name) + ": " + value.dump() + " is out of range";
        return std::nullopt;
    }
    return x;
}

std::optional<std::int32_t> JsonWhole(const json& value, std::string_view name,
                                      std::string& error) {
    // Unsigned first: a number above the signed range must not wrap round.
    if (value.is_number_unsigned()) {
        const auto n = value.get<std::uint64_t>();
        if (n <= static_cast<std::uint64_t>(INT32_MAX)) return static_cast<std::int32_t>(n);
    } else if (value.is_number_integer()) {
        const auto n = value.get<std::int64_t>();
        if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<std::int32_t>(n);
    }
    if (value.is_number_integer())
        error = Quoted(name) + ": " + value.dump() + " is out of range";
    else if (value.is_number())
        error = Quoted(name) + ": " + value.dump() + " is not a whole number";
    else
        error = Quoted(name) + " must be a whole number, not " + value.dump();
    return std::nullopt;
}

// The first key of `object` that is not among `known`, unless unknown keys
// are ignored; `error` names it.
bool HasUnknownKey(const json& object, std::span<const std::string_view> known,
                   std::string_view where, const BatchReading& reading, std::string& error) {
    if (reading.ignoreUnknown) return false;
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) != known.end()) continue;
        error = UnknownNameText("key", where.empty() ? key : std::string(where) + "." + key, known);
        return true;
    }
    return false;
}

std::optional<Interval> JsonInterval(const json& value, std::string& error) {
    if (value.is_string()) return ReadInterval(value.get<std::string>(), error);
    if (value.is_number_integer()) {
        if (const std::optional<Interval> interval = IntervalOfItem(value.get<std::int64_t>()))
            return interval;
    }
    error = Quoted(kIntervalColumn) +
            " must be one of annually, monthly, halfmonth, twoweeks, weekly or 0 to 4";
    return std::nullopt;
}

std::optional<PayGroup> JsonGroup(const json& value, int sequence, const BatchReading& reading,
                                  std::string& error, bool& unknownName) {
    const std::string where = "groups[" + std::to_string(sequence - 1) + "]";
    if (!value.is_object()) {
        error = Quoted(where) + " must be an object with count and payment";
        return std::nullopt;
    }
    if (HasUnknownKey(value, kGroupNames, where, reading, error)) {
        unknownName = true;
        return std::nullopt;
    }
    PayGroup g;
    g.Sequence = sequence;
    g.PriorPds = 1;
    for (const std::string_view key : {"count", "payment"}) {
        if (!value.contains(key)) {
            error = Quoted(where) + " has no " + std::string(key);
            return std::nullopt;
        }
    }
    const auto count = JsonWhole(value.at("count"), where + ".count", error);
    const auto payment = JsonAmount(value.at("payment"), where + ".payment", error);
    if (!count || !payment) return std::nullopt;
    g.SetSize = *count;
    g.PaySize = *payment;
    for (auto [key, field] : {std::pair{"periods", &g.PriorPds}, {"days", &g.AddDays}}) {
        if (!value.contains(key)) continue;
        const auto n = JsonWhole(value.at(key), where + "." + key, error);
        if (!n) return std::nullopt;
        *field = *n;
    }
    return g;
}

bool Given(const json& object, std::string_view key) {
    return object.contains(key) && !object.at(key).is_null();
}

// A text key, or an array of item texts taken as the items of one text;
// empty when the key is not given. False, with `error` set, for any other
// value.
bool JsonItemsText(const json& object, std::string_view key, std::string& text,
                   std::string& error) {
    if (!Given(object, key)) return true;
    const json& value = object.at(key);
    if (value.is_string()) {
        text = value.get<std::string>();
        return true;
    }
    if (value.is_array() && key != kUnitPeriodColumn && key != kAdvanceDateColumn) {
        if (value.empty()) return true;
        for (const json& item : value) {
            if (!item.is_string()) break;
            if (!text.empty()) text += "; ";
            text += item.get<std::string>();
            if (&item == &value.back()) return true;
        }
    }
    error = Quoted(key) + " must be a text" +
            (key == kUnitPeriodColumn || key == kAdvanceDateColumn ? "" : " or an array of texts");
    return false;
}

std::string JsonId(const json& object) {
    if (!object.is_object() || !object.contains(kIdColumn)) return {};
    const json& id = object.at(kIdColumn);
    if (id.is_string()) return id.get<std::string>();
    if (id.is_number()) return id.dump();
    return {};
}

// Reads the loan's fields from a parsed line.
LoanParse JsonLoan(const json& object, const BatchReading& reading) {
    std::string id = JsonId(object);
    if (!object.is_object())
        return Failed(id, "the line is not a JSON object (a batch holds one object per line)");
    std::string error;
    if (HasUnknownKey(object, kLoanNames, {}, reading, error)) {
        LoanParse p = Failed(id, error);
        p.unknownName = true;
        return p;
    }
    if (object.contains(kIdColumn) && !object.at(kIdColumn).is_string() &&
        !object.at(kIdColumn).is_number() && !object.at(kIdColumn).is_null())
        return Failed(id, Quoted(kIdColumn) + " must be a text or a number, not " +
                              object.at(kIdColumn).dump());
    BatchLoan loan;
    loan.id = id;
    std::optional<double> amount;
    if (Given(object, kAmountColumn)) {
        amount = JsonAmount(object.at(kAmountColumn), kAmountColumn, error);
        if (!amount) return Failed(id, error);
    }
    std::optional<Interval> interval;
    if (Given(object, kIntervalColumn)) {
        interval = JsonInterval(object.at(kIntervalColumn), error);
        if (!interval) return Failed(id, error);
    }
    std::string texts[4];
    const std::string_view keys[4] = {kUnitPeriodColumn, kAdvanceDateColumn, kAdvancesColumn,
                                      kPaymentsColumn};
    for (std::size_t k = 0; k < 4; ++k)
        if (!JsonItemsText(object, keys[k], texts[k], error)) return Failed(id, error);
    const TimingText timing{texts[0],
                            texts[1],
                            texts[2],
                            texts[3],
                            Given(object, kGroupsColumn),
                            Given(object, kGroupsColumn)};
    if (const auto problem = ReadTiming(loan, amount, interval, timing))
        return Failed(id, *problem);
    if (timing.groupsGiven) {
        const json& groups = object.at(kGroupsColumn);
        if (!groups.is_array()) return Failed(id, Quoted(kGroupsColumn) + " must be an array");
        for (const json& g : groups) {
            bool unknownName = false;
            const auto group =
                JsonGroup(g, static_cast<int>(loan.groups.size()) + 1, reading, error, unknownName);
            if (!group) {
                LoanParse p = Failed(id, error);
                p.unknownName = unknownName;
                return p;
            }
            loan.groups.push_back(*group);
        }
    }
    if (object.contains(kDisclosedAprColumn) && !object.at(kDisclosedAprColumn).is_null()) {
        loan.disclosed.apr = JsonAmount(object.at(kDisclosedAprColumn), kDisclosedAprColumn, error);
        if (!loan.disclosed.apr) return Failed(id, error);
    }
    if (object.contains(kDisclosedFcColumn) && !object.at(kDisclosedFcColumn).is_null()) {
        const auto dollars = JsonAmount(object.at(kDisclosedFcColumn), kDisclosedFcColumn, error);
        if (dollars) loan.disclosed.financeCharge = ReadFinanceCharge(*dollars, error);
        if (!loan.disclosed.financeCharge) return Failed(id, error);
    }
    return Parsed(std::move(loan));
}

// How many single-character edits turn `a` into `b`.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t same = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + same});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// `a` in `b` with letters left out: "disclosed_fc" in "disclosed_finance_charge".
bool IsAbbreviationOf(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty() || a.front() != b.front()) return false;
    std::size_t at = 0;
    for (const char c : b)
        if (at < a.size() && c == a[at]) ++at;
    return at == a.size();
}

// The known name a mistyped one most likely stands for: one it abbreviates,
// else the nearest by edits when that is near enough to be a slip.
std::optional<std::string_view> NearestName(std::string_view name,
                                            std::span<const std::string_view> known) {
    std::string lower(name);
    for (char& c : lower) c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    std::optional<std::string_view> best;
    std::size_t bestDistance = std::max<std::size_t>(2, lower.size() / 3) + 1;
    for (const std::string_view candidate : known) {
        if (IsAbbreviationOf(lower, candidate) || lower.starts_with(candidate)) return candidate;
        const std::size_t distance = EditDistance(lower, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

}  // namespace

std::optional<double> ReadDisclosedApr(std::string_view name, std::string_view text,
                                       std::string& error) {
    return ReadApr(text, error, name);
}

std::optional<Currency> ReadDisclosedFinanceCharge(std::string_view name, std::string_view text,
                                                   std::string& error) {
    const std::optional<double> dollars = ReadAmount(name, text, error);
    return dollars ? ReadFinanceCharge(*dollars, error, name) : std::nullopt;
}

std::string UnknownNameText(std::string_view what, std::string_view name,
                            std::span<const std::string_view> known) {
    const std::string_view leaf = name.substr(name.rfind('.') + 1);
    std::string text = "unknown " + std::string(what) + " " + std::string(name);
    if (const auto nearest = NearestName(leaf, known))
        text += " (did you mean " + std::string(*nearest) + "?)";
    return text;
}

std::optional<std::string> ScheduleProblem(double amountFinanced,
                                           std::span<const PayGroup> groups) {
    if (amountFinanced == 0.0) return "the amount financed is 0";
    if (HasFractionOfACent(amountFinanced))
        return FractionOfACentText("the amount financed", amountFinanced);
    std::int64_t payments = 0;
    for (std::size_t k = 0; k < groups.size(); ++k) {
        const PayGroup& g = groups[k];
        const std::string where = "group " + std::to_string(k + 1) + ": ";
        if (g.SetSize < 0) return where + "count " + std::to_string(g.SetSize) + " is below zero";
        if (!(g.PaySize > 0))
            return where + "payment " + FloatToStr(g.PaySize) + " is not above zero";
        if (HasFractionOfACent(g.PaySize)) return where + FractionOfACentText("payment", g.PaySize);
        if (g.PriorPds < 0)
            return where + "periods " + std::to_string(g.PriorPds) + " is below zero";
        if (g.PriorPds == 0 && g.AddDays <= 0)
            return where + "a payment due " + std::to_string(g.AddDays) +
                   " days after the one before (give periods or days above zero)";
        payments += g.SetSize;
    }
    if (payments == 0) return std::string("the schedule has no payments");
    if (payments > kMaxPayments)
        return std::to_string(payments) + " payments scheduled but a schedule holds at most " +
               std::to_string(kMaxPayments);
    return std::nullopt;
}

std::optional<std::string> PaymentBeyondSchedule(std::span<const PayGroup> groups) {
    for (std::size_t k = 0; k < groups.size(); ++k) {
        const std::optional<Currency> payment = TryDollarsToCurrency(groups[k].PaySize);
        if (payment && FitsCents(CurrencyToCentsTruncated(*payment))) continue;
        return "group " + std::to_string(k + 1) + ": payment " + FloatToStr(groups[k].PaySize) +
               " is more than the largest a schedule holds, 21474836.47";
    }
    return std::nullopt;
}

std::optional<Interval> IntervalNamed(std::string_view text) {
    text = Trimmed(text);
    for (const IntervalInfo& info : kIntervals) {
        if (SameLetters(text, info.batchName)) return info.interval;
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return IntervalOfItem(text[0] - '0');
    return std::nullopt;
}

std::optional<std::vector<PayGroup>> ParseGroups(std::string_view text, std::string& error) {
    std::vector<PayGroup> groups;
    // The names of a group's values are built only for a message: a batch
    // of long schedules reads many groups and misreads few.
    const auto name = [&groups](std::string_view value) {
        return "group " + std::to_string(groups.size() + 1) + " " + std::string(value);
    };
    const auto whole = [&](std::string_view part, std::string_view value) {
        const std::optional<std::int32_t> n = WholeText<std::int32_t>(part).value;
        return n ? n : ReadWhole(name(value), part, error);
    };
    const auto amount = [&](std::string_view part, std::string_view value) {
        const std::optional<double> x = WholeText<double>(part).value;
        if (x && std::isfinite(*x) && !TooSmallToHold(*x)) return x;
        return ReadAmount(name(value), part, error);
    };
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view item = Trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        // A ";" at the end, or doubled, separates nothing.
        if (item.empty()) continue;
        std::array<std::string_view, 4> parts;
        std::size_t count = 0;
        for (std::size_t at = 0; at <= item.size() && count <= parts.size(); ++count) {
            std::size_t colon = item.find(':', at);
            if (colon == std::string_view::npos) colon = item.size();
            if (count < parts.size()) parts[count] = item.substr(at, colon - at);
            at = colon + 1;
        }
        if (count < 2 || count > parts.size()) {
            error = "group " + std::to_string(groups.size() + 1) + ": " + Quoted(item) +
                    " is not count:payment[:periods[:days]]";
            return std::nullopt;
        }
        PayGroup g;
        g.Sequence = static_cast<std::int32_t>(groups.size()) + 1;
        const auto payments = whole(parts[0], "count");
        if (!payments) return std::nullopt;
        const std::optional<double> payment = amount(parts[1], "payment");
        if (!payment) return std::nullopt;
        g.SetSize = *payments;
        g.PaySize = *payment;
        g.PriorPds = 1;
        if (count > 2) {
            const auto periods = whole(parts[2], "periods");
            if (!periods) return std::nullopt;
            g.PriorPds = *periods;
        }
        if (count > 3) {
            const auto days = whole(parts[3], "days");
            if (!days) return std::nullopt;
            g.AddDays = *days;
        }
        groups.push_back(g);
    }
    if (groups.empty()) {
        error = Quoted(kGroupsColumn) + " is empty";
        return std::nullopt;
    }
    return groups;
}

std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    for (;;) {
        std::string field;
        // Spaces before an opening quote belong to no field.
        std::size_t start = pos;
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
        if (start < line.size() && line[start] == '"') {
            std::size_t at = start + 1;
            for (;;) {
                const std::size_t quote = line.find('"', at);
                if (quote == std::string_view::npos) return std::nullopt;
                field.append(line.substr(at, quote - at));
                if (quote + 1 < line.size() && line[quote + 1] == '"') {
                    field.push_back('"');
                    at = quote + 2;
                    continue;
                }
                at = quote + 1;
                break;
            }
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
            if (at < line.size() && line[at] != ',') return std::nullopt;
            pos = at;
        } else {
            std::size_t comma = line.find(',', pos);
            if (comma == std::string_view::npos) comma = line.size();
            field = std::string(Trimmed(line.substr(pos, comma - pos)));
            // A quote inside a field that did not open with one is most often
            // the end of a field quoted over two lines: the line is the rest
            // of a broken record, not a loan of its own.
            if (field.find('"') != std::string::npos) return std::nullopt;
            pos = comma;
        }
        fields.push_back(std::move(field));
        if (pos >= line.size()) return fields;
        ++pos;  // the comma
    }
}

std::optional<CsvColumns> ReadCsvHeader(std::string_view line, const BatchReading& reading,
                                        std::string& error) {
    const auto fields = SplitCsvLine(line);
    if (!fields) {
        error = "the header line has a quote left open";
        return std::nullopt;
    }
    CsvColumns c;
    c.fields = fields->size();
    const std::pair<std::string_view, int*> known[] = {
        {kIdColumn, &c.id},
        {kAmountColumn, &c.amountFinanced},
        {kIntervalColumn, &c.interval},
        {kGroupsColumn, &c.groups},
        {kDisclosedAprColumn, &c.disclosedApr},
        {kDisclosedFcColumn, &c.disclosedFinanceCharge},
        {kUnitPeriodColumn, &c.unitPeriod},
        {kAdvanceDateColumn, &c.advanceDate},
        {kAdvancesColumn, &c.advances},
        {kPaymentsColumn, &c.payments}};
    for (std::size_t k = 0; k < fields->size(); ++k) {
        bool isKnown = false;
        for (const auto& [name, column] : known) {
            if (!SameLetters((*fields)[k], name)) continue;
            if (*column >= 0) {
                error = "the header line names " + Quoted(name) + " twice";
                return std::nullopt;
            }
            *column = static_cast<int>(k);
            isKnown = true;
        }
        if (!isKnown && !reading.ignoreUnknown) {
            error = UnknownNameText("column", (*fields)[k], kLoanNames) +
                    "; --ignore-unknown reads the file without it";
            return std::nullopt;
        }
    }
    if (c.amountFinanced < 0 && c.advances < 0) {
        error = "the header line has no " + Quoted(kAmountColumn) +
                " column (the first line names the columns: "
                "id,amount_financed,interval,groups[,disclosed_apr,disclosed_finance_charge])";
        return std::nullopt;
    }
    if (c.groups < 0 && c.payments < 0) {
        error = "the header line has no " + Quoted(kGroupsColumn) + " nor " +
                Quoted(kPaymentsColumn) +
                " column (the first line names the columns: "
                "id,amount_financed,interval,groups[,disclosed_apr,disclosed_finance_charge])";
        return std::nullopt;
    }
    return c;
}

LoanParse ParseCsvLoan(std::string_view line, const CsvColumns& columns) {
    const auto fields = SplitCsvLine(line);
    if (!fields)
        return Failed({},
                      "a quote is left open, text follows a closing quote, or a field that is not "
                      "quoted holds one");
    std::string id(Field(*fields, columns.id));
    // A field too many is most often a comma typed for a ";" between groups;
    // one too few a value left out. Either way the columns no longer line up.
    if (fields->size() != columns.fields)
        return Failed(id, std::to_string(fields->size()) + " fields, the header has " +
                              std::to_string(columns.fields));
    std::string error;
    BatchLoan loan;
    loan.id = id;
    std::optional<double> amount;
    if (const std::string_view text = Field(*fields, columns.amountFinanced);
        !Trimmed(text).empty()) {
        amount = ReadAmount(kAmountColumn, text, error);
        if (!amount) return Failed(id, error);
    }
    std::optional<Interval> interval;
    if (const std::string_view text = Field(*fields, columns.interval); !Trimmed(text).empty()) {
        interval = ReadInterval(text, error);
        if (!interval) return Failed(id, error);
    }
    const std::string_view groups = Field(*fields, columns.groups);
    const TimingText timing{Field(*fields, columns.unitPeriod), Field(*fields, columns.advanceDate),
                            Field(*fields, columns.advances),   Field(*fields, columns.payments),
                            !Trimmed(groups).empty(),           columns.groups >= 0};
    if (const auto problem = ReadTiming(loan, amount, interval, timing))
        return Failed(id, *problem);
    if (timing.groupsGiven) {
        auto read = ParseGroups(groups, error);
        if (!read) return Failed(id, error);
        loan.groups = std::move(*read);
    }
    if (const std::string_view apr = Trimmed(Field(*fields, columns.disclosedApr)); !apr.empty()) {
        loan.disclosed.apr = ReadApr(apr, error);
        if (!loan.disclosed.apr) return Failed(id, error);
    }
    if (const std::string_view fc = Trimmed(Field(*fields, columns.disclosedFinanceCharge));
        !fc.empty()) {
        const auto dollars = ReadAmount(kDisclosedFcColumn, fc, error);
        if (dollars) loan.disclosed.financeCharge = ReadFinanceCharge(*dollars, error);
        if (!loan.disclosed.financeCharge) return Failed(id, error);
    }
    return Parsed(std::move(loan));
}

LoanParse ParseJsonLoan(std::string_view line, const BatchReading& reading) {
    // A key written twice in one object: JSON keeps the last value, which
    // would silently drop the other one (two amounts financed, say).
    std::vector<std::set<std::string>> keysOfObjects;
    std::optional<std::string> repeated;
    const auto watchKeys = [&](int, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::object_start) keysOfObjects.emplace_back();
        if (event == json::parse_event_t::object_end) keysOfObjects.pop_back();
        if (event == json::parse_event_t::key) {
            std::string key = parsed.get<std::string>();
            if (!keysOfObjects.back().insert(key).second && !repeated) repeated = std::move(key);
        }
        return true;
    };
    json object;
    try {
        object = json::parse(line, watchKeys);
    } catch (const json::exception& e) {
        // A syntax error, or a number beyond any double.
        return Failed({}, "not JSON (a batch holds one object per line): " + ErrorText(e));
    }
    if (repeated) return Failed(JsonId(object), "\"" + *repeated + "\" is given twice");
    return JsonLoan(object, reading);
}

}  // namespace qv::cli
