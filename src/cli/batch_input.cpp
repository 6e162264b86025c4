#include "cli/batch_input.h"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <system_error>

#include "data/schedule_file.h"

namespace qv::cli {
namespace {

using nlohmann::json;

constexpr std::string_view kIdColumn = "id";
constexpr std::string_view kAmountColumn = "amount_financed";
constexpr std::string_view kIntervalColumn = "interval";
constexpr std::string_view kGroupsColumn = "groups";
constexpr std::string_view kDisclosedAprColumn = "disclosed_apr";
constexpr std::string_view kDisclosedFcColumn = "disclosed_finance_charge";

// The names of the interval items, in item order.
constexpr std::array<std::string_view, kIntervalItems> kIntervalNames = {
    "annually", "monthly", "halfmonth", "twoweeks", "weekly"};

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

template <class Number>
std::optional<Number> WholeText(std::string_view text) {
    text = Trimmed(text);
    Number value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// A finite number written plainly ("5000", "88.85", "-1e3"); `error` says
// why not.
std::optional<double> ReadAmount(std::string_view name, std::string_view text, std::string& error) {
    const std::optional<double> value = WholeText<double>(text);
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
    const std::optional<std::int32_t> value = WholeText<std::int32_t>(text);
    if (!value) error = Quoted(name) + ": " + Quoted(Trimmed(text)) + " is not a whole number";
    return value;
}

std::optional<int> ReadInterval(std::string_view text, std::string& error) {
    const std::optional<int> item = IntervalItem(text);
    if (!item)
        error = Quoted(kIntervalColumn) + ": " + Quoted(Trimmed(text)) +
                " is none of annually, monthly, halfmonth, twoweeks, weekly or 0 to 4";
    return item;
}

// The disclosed finance charge as currency: finite and within the range.
std::optional<Currency> ReadFinanceCharge(double dollars, std::string& error) {
    const std::optional<Currency> charge = TryDollarsToCurrency(dollars);
    if (!charge) error = Quoted(kDisclosedFcColumn) + ": " + FloatToStr(dollars) + " is too large";
    return charge;
}

std::optional<double> ReadApr(std::string_view text, std::string& error) {
    text = Trimmed(text);
    // A rate may be written with its percent sign.
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);
    return ReadAmount(kDisclosedAprColumn, text, error);
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
    return x;
}

std::optional<std::int32_t> JsonWhole(const json& value, std::string_view name,
                                      std::string& error) {
    if (value.is_number_integer()) {
        const auto n = value.get<std::int64_t>();
        if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<std::int32_t>(n);
    }
    error = Quoted(name) + " must be a whole number of at most 10 digits";
    return std::nullopt;
}

std::optional<int> JsonInterval(const json& value, std::string& error) {
    if (value.is_string()) return ReadInterval(value.get<std::string>(), error);
    if (value.is_number_integer()) {
        const auto n = value.get<std::int64_t>();
        if (n >= 0 && n < kIntervalItems) return static_cast<int>(n);
    }
    error = Quoted(kIntervalColumn) +
            " must be one of annually, monthly, halfmonth, twoweeks, weekly or 0 to 4";
    return std::nullopt;
}

std::optional<PayGroup> JsonGroup(const json& value, int sequence, std::string& error) {
    const std::string where = "groups[" + std::to_string(sequence - 1) + "]";
    if (!value.is_object()) {
        error = Quoted(where) + " must be an object with count and payment";
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

std::string JsonId(const json& object) {
    if (!object.is_object() || !object.contains(kIdColumn)) return {};
    const json& id = object.at(kIdColumn);
    if (id.is_string()) return id.get<std::string>();
    if (id.is_number()) return id.dump();
    return {};
}

// Reads the loan's fields from a parsed line.
LoanParse JsonLoan(const json& object) {
    std::string id = JsonId(object);
    if (!object.is_object()) return Failed(id, "the line is not a JSON object");
    std::string error;
    for (const std::string_view key : {kAmountColumn, kIntervalColumn, kGroupsColumn}) {
        if (!object.contains(key)) return Failed(id, "no " + Quoted(key));
    }
    BatchLoan loan;
    loan.id = id;
    const auto amount = JsonAmount(object.at(kAmountColumn), kAmountColumn, error);
    if (!amount) return Failed(id, error);
    const auto interval = JsonInterval(object.at(kIntervalColumn), error);
    if (!interval) return Failed(id, error);
    loan.header = {*interval, *amount};
    const json& groups = object.at(kGroupsColumn);
    if (!groups.is_array()) return Failed(id, Quoted(kGroupsColumn) + " must be an array");
    for (const json& g : groups) {
        const auto group = JsonGroup(g, static_cast<int>(loan.groups.size()) + 1, error);
        if (!group) return Failed(id, error);
        loan.groups.push_back(*group);
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

}  // namespace

std::optional<int> IntervalItem(std::string_view text) {
    text = Trimmed(text);
    for (int item = 0; item < kIntervalItems; ++item) {
        if (SameLetters(text, kIntervalNames[static_cast<std::size_t>(item)])) return item;
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] < char('0' + kIntervalItems))
        return text[0] - '0';
    return std::nullopt;
}

std::optional<std::vector<PayGroup>> ParseGroups(std::string_view text, std::string& error) {
    std::vector<PayGroup> groups;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view item = Trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        // A ";" at the end, or doubled, separates nothing.
        if (item.empty()) continue;
        const std::string where = "group " + std::to_string(groups.size() + 1);
        std::vector<std::string_view> parts;
        for (std::size_t at = 0; at <= item.size();) {
            std::size_t colon = item.find(':', at);
            if (colon == std::string_view::npos) colon = item.size();
            parts.push_back(item.substr(at, colon - at));
            at = colon + 1;
        }
        if (parts.size() < 2 || parts.size() > 4) {
            error = where + ": " + Quoted(item) + " is not count:payment[:periods[:days]]";
            return std::nullopt;
        }
        PayGroup g;
        g.Sequence = static_cast<std::int32_t>(groups.size()) + 1;
        const auto count = ReadWhole(where + " count", parts[0], error);
        const auto payment = count ? ReadAmount(where + " payment", parts[1], error) : std::nullopt;
        if (!payment) return std::nullopt;
        g.SetSize = *count;
        g.PaySize = *payment;
        g.PriorPds = 1;
        if (parts.size() > 2) {
            const auto periods = ReadWhole(where + " periods", parts[2], error);
            if (!periods) return std::nullopt;
            g.PriorPds = *periods;
        }
        if (parts.size() > 3) {
            const auto days = ReadWhole(where + " days", parts[3], error);
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
            pos = comma;
        }
        fields.push_back(std::move(field));
        if (pos >= line.size()) return fields;
        ++pos;  // the comma
    }
}

std::optional<CsvColumns> ReadCsvHeader(std::string_view line, std::string& error) {
    const auto fields = SplitCsvLine(line);
    if (!fields) {
        error = "the header line has a quote left open";
        return std::nullopt;
    }
    CsvColumns c;
    const std::pair<std::string_view, int*> known[] = {
        {kIdColumn, &c.id},
        {kAmountColumn, &c.amountFinanced},
        {kIntervalColumn, &c.interval},
        {kGroupsColumn, &c.groups},
        {kDisclosedAprColumn, &c.disclosedApr},
        {kDisclosedFcColumn, &c.disclosedFinanceCharge}};
    for (std::size_t k = 0; k < fields->size(); ++k) {
        for (const auto& [name, column] : known) {
            if (!SameLetters((*fields)[k], name)) continue;
            if (*column >= 0) {
                error = "the header line names " + Quoted(name) + " twice";
                return std::nullopt;
            }
            *column = static_cast<int>(k);
        }
    }
    for (const auto& [name, column] : known) {
        const bool required =
            name == kAmountColumn || name == kIntervalColumn || name == kGroupsColumn;
        if (required && *column < 0) {
            error = "the header line has no " + Quoted(name) +
                    " column (the first line names the columns: "
                    "id,amount_financed,interval,groups[,disclosed_apr,disclosed_finance_charge])";
            return std::nullopt;
        }
    }
    return c;
}

LoanParse ParseCsvLoan(std::string_view line, const CsvColumns& columns) {
    const auto fields = SplitCsvLine(line);
    if (!fields) return Failed({}, "a quote is left open or text follows a closing quote");
    std::string id(Field(*fields, columns.id));
    std::string error;
    BatchLoan loan;
    loan.id = id;
    const auto amount = ReadAmount(kAmountColumn, Field(*fields, columns.amountFinanced), error);
    if (!amount) return Failed(id, error);
    const auto interval = ReadInterval(Field(*fields, columns.interval), error);
    if (!interval) return Failed(id, error);
    loan.header = {*interval, *amount};
    auto groups = ParseGroups(Field(*fields, columns.groups), error);
    if (!groups) return Failed(id, error);
    loan.groups = std::move(*groups);
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

LoanParse ParseJsonLoan(std::string_view line) {
    json object;
    try {
        object = json::parse(line);
    } catch (const json::exception& e) {
        // A syntax error, or a number beyond any double.
        return Failed({}, "not JSON: " + ErrorText(e));
    }
    return JsonLoan(object);
}

}  // namespace qv::cli
