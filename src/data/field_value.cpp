#include "data/field_value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "base/money.h"
#include "data/field_text.h"

namespace qv {
namespace {

std::string_view Trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

struct IntegerRange {
    long long low;
    long long high;
};

IntegerRange RangeOf(FieldType type) {
    switch (type) {
        case FieldType::SmallInt:
            return {-32768, 32767};
        case FieldType::Word:
            return {0, 65535};
        default:
            return {std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max()};
    }
}

std::optional<FieldValue> Integral(std::int64_t i) {
    FieldValue v;
    v.i = i;
    v.has = true;
    return v;
}

std::optional<FieldValue> InRangeInteger(FieldType type, long long value) {
    const IntegerRange range = RangeOf(type);
    if (value < range.low || value > range.high) return std::nullopt;
    return Integral(value);
}

std::optional<FieldValue> Floating(double f) {
    if (!std::isfinite(f)) return std::nullopt;
    FieldValue v;
    v.f = f;
    v.has = true;
    return v;
}

std::optional<FieldValue> Textual(const FieldDef& field, std::string_view text) {
    // Strings and byte arrays hold at most their size; memos and blobs any length.
    if (IsSized(field.type) && text.size() > static_cast<std::size_t>(field.size))
        return std::nullopt;
    FieldValue v;
    v.s = std::string(text);
    v.has = true;
    return v;
}

std::optional<bool> ParseBooleanText(std::string_view text) {
    const std::string_view t = Trim(text);
    if (SameTextIgnoringCase(t, "true")) return true;
    if (SameTextIgnoringCase(t, "false")) return false;
    return std::nullopt;
}

std::int32_t ClampedToInt32(double r) {
    if (!(r < 2147483647.0)) return std::numeric_limits<std::int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[k]) != lower(b[k])) return false;
    }
    return true;
}

FieldKind KindOf(FieldType type) {
    switch (type) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::AutoInc:
            return FieldKind::Integer;
        case FieldType::Boolean:
            return FieldKind::Boolean;
        case FieldType::Float:
            return FieldKind::Float;
        case FieldType::Money:
        case FieldType::Bcd:
            return FieldKind::Money;
        case FieldType::Date:
            return FieldKind::Date;
        case FieldType::Time:
            return FieldKind::Time;
        case FieldType::DateTime:
            return FieldKind::DateTime;
        case FieldType::String:
        case FieldType::Memo:
        case FieldType::FormattedMemo:
            return FieldKind::Text;
        default:
            return FieldKind::Binary;
    }
}

bool IsSized(FieldType type) {
    return type == FieldType::String || type == FieldType::Bytes;
}

bool IsNumeric(FieldType type) {
    const FieldKind kind = KindOf(type);
    return kind == FieldKind::Integer || kind == FieldKind::Float || kind == FieldKind::Money;
}

std::optional<long long> ParseWholeInteger(std::string_view text) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') return std::nullopt;  // "+-1"
    }
    if (t.empty()) return std::nullopt;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || ptr != t.data() + t.size()) return std::nullopt;
    return v;
}

std::optional<double> ParseDecimal(std::string_view text) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') return std::nullopt;  // "+-1"
    }
    const std::size_t digitAt = (!t.empty() && t.front() == '-') ? 1 : 0;
    if (digitAt >= t.size()) return std::nullopt;
    const char c = t[digitAt];
    if (!((c >= '0' && c <= '9') || c == '.')) return std::nullopt;  // no inf/nan
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string GeneralFloatText(double value) {
    if (value == 0.0) return "0";
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc()) return {};
    return std::string(buf, ptr);
}

std::string ValueText(const FieldDef& field, const FieldValue& value) {
    if (!value.has) return {};
    switch (KindOf(field.type)) {
        case FieldKind::Integer:
            return std::to_string(value.i);
        case FieldKind::Boolean:
            return value.i != 0 ? "True" : "False";
        case FieldKind::Float:
            return GeneralFloatText(value.f);
        case FieldKind::Money:
            return CurrencyValueText(value.i);
        case FieldKind::Date:
            return DateText(static_cast<std::int32_t>(value.i));
        case FieldKind::Time:
            return TimeText(value.i);
        case FieldKind::DateTime:
            return DateTimeText(value.i);
        case FieldKind::Text:
        case FieldKind::Binary:
            return value.s;
    }
    return {};
}

std::optional<FieldValue> ValueFromText(const FieldDef& field, std::string_view text) {
    switch (KindOf(field.type)) {
        case FieldKind::Integer: {
            const auto v = ParseWholeInteger(text);
            return v ? InRangeInteger(field.type, *v) : std::nullopt;
        }
        case FieldKind::Boolean: {
            const auto b = ParseBooleanText(text);
            return b ? Integral(*b ? 1 : 0) : std::nullopt;
        }
        case FieldKind::Float: {
            const auto v = ParseDecimal(text);
            return v ? Floating(*v) : std::nullopt;
        }
        case FieldKind::Money: {
            const auto c = ParseCurrencyValue(text);
            return c ? Integral(*c) : std::nullopt;
        }
        case FieldKind::Date: {
            const auto d = ParseDate(text);
            return d ? Integral(*d) : std::nullopt;
        }
        case FieldKind::Time: {
            const auto t = ParseTime(text);
            return t ? Integral(*t) : std::nullopt;
        }
        case FieldKind::DateTime: {
            const auto t = ParseDateTime(text);
            return t ? Integral(*t) : std::nullopt;
        }
        case FieldKind::Text:
        case FieldKind::Binary:
            return Textual(field, text);
    }
    return std::nullopt;
}

std::optional<FieldValue> ValueFromInteger(const FieldDef& field, std::int32_t value) {
    switch (KindOf(field.type)) {
        case FieldKind::Integer:
            return InRangeInteger(field.type, value);
        case FieldKind::Boolean:
            return Integral(value != 0 ? 1 : 0);
        case FieldKind::Float:
            return Floating(value);
        case FieldKind::Money:
            return Integral(value * kCurrencyPerDollar);
        default:
            return ValueFromText(field, std::to_string(value));
    }
}

std::optional<FieldValue> ValueFromFloat(const FieldDef& field, double value) {
    if (!std::isfinite(value)) return std::nullopt;
    switch (KindOf(field.type)) {
        case FieldKind::Integer: {
            const double r = std::nearbyint(value);
            if (r > 2147483647.0 || r < -2147483648.0) return std::nullopt;
            return InRangeInteger(field.type, static_cast<long long>(r));
        }
        case FieldKind::Boolean:
            return Integral(value != 0.0 ? 1 : 0);
        case FieldKind::Float:
            return Floating(value);
        case FieldKind::Money: {
            const auto c = TryDollarsToCurrency(value);
            return c ? Integral(*c) : std::nullopt;
        }
        default:
            return ValueFromText(field, GeneralFloatText(value));
    }
}

std::optional<FieldValue> ValueFromBoolean(const FieldDef& field, bool value) {
    switch (KindOf(field.type)) {
        case FieldKind::Integer:
        case FieldKind::Float:
        case FieldKind::Money:
            return ValueFromInteger(field, value ? 1 : 0);
        case FieldKind::Boolean:
            return Integral(value ? 1 : 0);
        default:
            return ValueFromText(field, value ? "True" : "False");
    }
}

std::optional<FieldValue> ValueFromCurrency(const FieldDef& field, std::int64_t tenThousandths) {
    switch (KindOf(field.type)) {
        case FieldKind::Money:
            if (!InCurrencyRange(tenThousandths)) return std::nullopt;
            return Integral(tenThousandths);
        case FieldKind::Float:
            return Floating(static_cast<double>(tenThousandths) / kCurrencyPerDollar);
        default:
            return ValueFromText(field, CurrencyValueText(tenThousandths));
    }
}

std::optional<FieldValue> ValueFromDateTime(const FieldDef& field, std::int64_t instant) {
    // Floor division, so that a count before midnight keeps its time of day.
    std::int64_t day = instant / kMsPerDay;
    std::int64_t ms = instant % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --day;
    }
    switch (KindOf(field.type)) {
        case FieldKind::Date:
            if (!IsDayNumber(day)) return std::nullopt;
            return Integral(day);
        case FieldKind::Time:
            return Integral(ms);
        case FieldKind::DateTime:
            if (!IsDateTime(instant)) return std::nullopt;
            return Integral(instant);
        default:
            if (!IsDateTime(instant)) return std::nullopt;
            return ValueFromText(field, DateTimeText(instant));
    }
}

std::int32_t ValueAsInteger(const FieldDef& field, const FieldValue& value) {
    switch (KindOf(field.type)) {
        case FieldKind::Integer:
        case FieldKind::Boolean:
        case FieldKind::Date:
        case FieldKind::Time:
            return static_cast<std::int32_t>(value.i);
        case FieldKind::DateTime:
            return static_cast<std::int32_t>(value.i / kMsPerDay);
        case FieldKind::Float:
            return ClampedToInt32(std::nearbyint(value.f));
        case FieldKind::Money:
            return ClampedToInt32(
                std::nearbyint(static_cast<double>(value.i) / kCurrencyPerDollar));
        case FieldKind::Text:
        case FieldKind::Binary: {
            const auto v = ParseWholeInteger(value.s);
            return v && *v >= std::numeric_limits<std::int32_t>::min() &&
                           *v <= std::numeric_limits<std::int32_t>::max()
                       ? static_cast<std::int32_t>(*v)
                       : 0;
        }
    }
    return 0;
}

double ValueAsFloat(const FieldDef& field, const FieldValue& value) {
    switch (KindOf(field.type)) {
        case FieldKind::Integer:
        case FieldKind::Boolean:
        case FieldKind::Date:
            return static_cast<double>(value.i);
        case FieldKind::Time:
        case FieldKind::DateTime:
            return static_cast<double>(value.i) / static_cast<double>(kMsPerDay);
        case FieldKind::Float:
            return value.f;
        case FieldKind::Money:
            return static_cast<double>(value.i) / kCurrencyPerDollar;
        case FieldKind::Text:
        case FieldKind::Binary:
            return ParseDecimal(value.s).value_or(0.0);
    }
    return 0.0;
}

bool ValueAsBoolean(const FieldDef& field, const FieldValue& value) {
    switch (KindOf(field.type)) {
        case FieldKind::Float:
            return value.f != 0.0;
        case FieldKind::Text:
        case FieldKind::Binary:
            return ParseBooleanText(value.s).value_or(false);
        default:
            return value.i != 0;
    }
}

std::int64_t ValueAsCurrency(const FieldDef& field, const FieldValue& value) {
    switch (KindOf(field.type)) {
        case FieldKind::Money:
            return value.i;
        case FieldKind::Integer:
        case FieldKind::Boolean:
            return value.i * kCurrencyPerDollar;
        case FieldKind::Float:
            return DollarsToCurrency(value.f);
        case FieldKind::Text:
        case FieldKind::Binary:
            return ParseCurrencyValue(value.s).value_or(0);
        default:
            return 0;
    }
}

std::int64_t ValueAsDateTime(const FieldDef& field, const FieldValue& value) {
    switch (KindOf(field.type)) {
        case FieldKind::Date:
            return value.i * kMsPerDay;
        case FieldKind::Time:
        case FieldKind::DateTime:
            return value.i;
        case FieldKind::Text:
        case FieldKind::Binary:
            return ParseDateTime(value.s).value_or(0);
        default:
            return 0;
    }
}

int CompareValues(FieldKind kind, const FieldValue& a, const FieldValue& b) {
    switch (kind) {
        case FieldKind::Float: {
            const double x = a.has ? a.f : 0.0;
            const double y = b.has ? b.f : 0.0;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        case FieldKind::Text:
        case FieldKind::Binary: {
            // Byte order; an empty value holds empty text.
            const int c = a.s.compare(b.s);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        default: {
            const std::int64_t x = a.has ? a.i : 0;
            const std::int64_t y = b.has ? b.i : 0;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
    }
}

std::string InvalidValueMessage(const FieldDef& field, const std::string& text) {
    const char* what = nullptr;
    switch (KindOf(field.type)) {
        case FieldKind::Integer:
            what = "integer";
            break;
        case FieldKind::Boolean:
            what = "boolean";
            break;
        case FieldKind::Float:
            what = "floating point";
            break;
        case FieldKind::Money:
            what = "currency";
            break;
        case FieldKind::Date:
            what = "date";
            break;
        case FieldKind::Time:
            what = "time";
            break;
        case FieldKind::DateTime:
            what = "date and time";
            break;
        case FieldKind::Text:
        case FieldKind::Binary:
            return "'" + text + "' is too long for field '" + field.name + "'";
    }
    return "'" + text + "' is not a valid " + what + " value for field '" + field.name + "'";
}

}  // namespace qv
