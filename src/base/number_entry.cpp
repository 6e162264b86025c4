// The entry checks. See number_entry.h for the rules.
#include "base/number_entry.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace qv {
namespace {

constexpr std::size_t kMaxExamined = 255;

enum class WalkError { None, WrongChar, MultipleDecimals };

struct Walk {
    WalkError error = WalkError::None;
    std::string cleaned;
    std::string badChar;  // the wrong character as named in the message
};

// Length in bytes of the UTF-8 character starting at text[i] (1 for a byte
// that does not start a valid sequence).
std::size_t CharLength(std::string_view text, std::size_t i) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        n = 4;
    else if (lead >= 0xE0)
        n = 3;
    else if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    if (n == 1 || lead > 0xF4) return 1;
    if (i + n > text.size()) return 1;
    for (std::size_t k = 1; k < n; ++k) {
        auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 1;
    }
    return n;
}

// The characters the walk examines: the first kMaxExamined of the text.
std::string_view ExaminedPart(std::string_view text) {
    std::size_t i = 0;
    for (std::size_t examined = 0; i < text.size() && examined < kMaxExamined; ++examined)
        i += CharLength(text, i);
    return text.substr(0, i);
}

Walk WalkText(std::string_view typed, bool decimal) {
    Walk w;
    bool pointSeen = false;
    const std::string_view text = ExaminedPart(typed);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = i;
        std::size_t len = CharLength(text, i);
        std::string_view ch = text.substr(i, len);
        i += len;
        char c = len == 1 ? ch[0] : '\0';
        bool accepted = len == 1 && ((c >= '0' && c <= '9') || c == ',' || c == '\b' || c == '\r' ||
                                     (decimal && (c == '.' || c == '$')));
        // A comma anywhere else than between groups of three digits is most
        // likely a decimal comma ("9,5"); dropping it would multiply the
        // value, so it is refused like any other wrong character.
        if (c == ',' && !CommaSeparatesThousands(text, at)) accepted = false;
        if (!accepted) {
            w.error = WalkError::WrongChar;
            if (c == 'l')
                w.badChar = "Lowercase L";
            else if (c == 'O')
                w.badChar = "Capital o";
            else
                w.badChar = std::string(ch);
            return w;
        }
        if (c == '.') {
            w.cleaned.push_back(c);
            if (pointSeen) {
                w.error = WalkError::MultipleDecimals;
                return w;
            }
            pointSeen = true;
            continue;
        }
        if (c == ',' || c == '$' || c == '\b' || c == '\r') continue;  // dropped
        w.cleaned.push_back(c);
    }
    return w;
}

std::string WalkErrorText(const Walk& w, std::string_view name, bool decimal) {
    std::string n(name);
    if (w.error == WalkError::WrongChar)
        return n + " contains " + w.badChar +
               (decimal ? " , not part of a positive decimal number !"
                        : " , not part of a positive whole number !");
    return n + " has multiple decimals!";
}

// Digits with at most one point and at least one digit.
bool ReadsAsNumber(std::string_view s) {
    bool digit = false;
    bool point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

enum class ReadError { None, NotNumber, TooLarge };

ReadError ReadCurrency(std::string_view s, Currency& out) {
    out = 0;
    if (!ReadsAsNumber(s)) return ReadError::NotNumber;
    std::size_t point = s.find('.');
    std::string_view whole = s.substr(0, point);
    std::string_view frac =
        point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);

    constexpr std::string_view kMaxWhole = "922337203685477";  // kMaxCurrencyDollars
    bool fracNonZero = frac.find_first_not_of('0') != std::string_view::npos;
    if (whole.size() > kMaxWhole.size()) return ReadError::TooLarge;
    if (whole.size() == kMaxWhole.size() &&
        (whole > kMaxWhole || (whole == kMaxWhole && fracNonZero)))
        return ReadError::TooLarge;

    std::int64_t c = 0;
    for (char d : whole) c = c * 10 + (d - '0');
    for (std::size_t k = 0; k < 4; ++k) c = c * 10 + (k < frac.size() ? frac[k] - '0' : 0);
    if (frac.size() > 4) {
        char next = frac[4];
        bool restNonZero = frac.find_first_not_of('0', 5) != std::string_view::npos;
        if (next > '5' || (next == '5' && (restNonZero || c % 2 != 0))) ++c;
    }
    out = c;
    return ReadError::None;
}

ReadError ReadInt32(std::string_view s, std::int32_t& out) {
    out = 0;
    if (s.empty()) return ReadError::NotNumber;
    for (char c : s)
        if (c < '0' || c > '9') return ReadError::NotNumber;
    while (!s.empty() && s.front() == '0') s.remove_prefix(1);
    if (s.size() > 10) return ReadError::TooLarge;
    std::int64_t v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    if (v > INT32_MAX) return ReadError::TooLarge;
    out = static_cast<std::int32_t>(v);
    return ReadError::None;
}

// The error text for the value check of the decimal routines, or "".
std::string DecimalReadErrorText(ReadError e, std::string_view name) {
    if (e == ReadError::NotNumber) return std::string(name) + " is not numeric !";
    if (e == ReadError::TooLarge) return std::string(name) + " is too large !";
    return std::string();
}

void SetSuccess(EntryCheck& r, std::string_view text) {
    r.valid = true;
    r.boxText = r.cleaned;
    r.boxChanges = r.boxText != text;
    r.setTarget = true;
}

void SetFailure(EntryCheck& r, std::string_view text, std::string boxText, bool messageFirst) {
    r.valid = false;
    r.boxText = std::move(boxText);
    r.boxChanges = r.boxText != text;
    r.setTarget = true;  // the target becomes 0
    r.focusBack = true;
    r.messageBeforeReset = messageFirst;
}

// The walk and the value check shared by ValidateFloat2 and ValidateFloat4;
// fills cleaned and error, and the currency value when there is no error.
Currency CheckDecimal(EntryCheck& r, std::string_view name, std::string_view text) {
    Walk w = WalkText(text, true);
    r.cleaned = w.cleaned;
    if (w.error != WalkError::None) {
        r.error = WalkErrorText(w, name, true);
        return 0;
    }
    Currency c = 0;
    r.error = DecimalReadErrorText(ReadCurrency(r.cleaned, c), name);
    return r.error.empty() ? c : 0;
}

}  // namespace

bool CommaSeparatesThousands(std::string_view text, std::size_t at) {
    if (at >= text.size() || text[at] != ',') return false;
    const std::string_view before = text.substr(0, at);
    if (before.find('.') != std::string_view::npos) return false;

    const std::size_t groupStart = before.find_last_not_of("0123456789") + 1;  // npos + 1 == 0
    const std::size_t groupDigits = at - groupStart;
    const bool afterComma = groupStart > 0 && text[groupStart - 1] == ',';
    if (afterComma) {
        if (groupDigits != 3) return false;
    } else {
        // The leading group: one to three digits, and no digit before it
        // that a dropped character ("1$2,000") would join to it.
        if (groupDigits < 1 || groupDigits > 3) return false;
        if (before.substr(0, groupStart).find_first_of("0123456789") != std::string_view::npos)
            return false;
    }

    const std::string_view after = text.substr(at + 1);
    const std::size_t nextGroup = std::min(after.find_first_not_of("0123456789"), after.size());
    if (nextGroup != 3) return false;
    // The group ends the whole part or meets the next separator; a dropped
    // character there could join more digits to it ("1,000$5").
    return nextGroup == after.size() ||
           std::string_view("$\b\r").find(after[nextGroup]) == std::string_view::npos;
}

std::optional<Currency> TryValidStrToCurrency(std::string_view cleaned) {
    Currency c = 0;
    if (ReadCurrency(cleaned, c) != ReadError::None) return std::nullopt;
    return c;
}

Currency ValidStrToCurrency(std::string_view cleaned) {
    return TryValidStrToCurrency(cleaned).value_or(0);
}

Float2Check ValidateFloat2(std::string_view name, std::string_view text) {
    Float2Check r;
    Currency c = CheckDecimal(r, name, text);
    if (r.error.empty()) {
        SetSuccess(r, text);
        r.value = CurrencyToDollars(c);
        return r;
    }
    r.message = r.error + "\n\r" + "Resetting input value of " + r.cleaned;
    SetFailure(r, text, "0.00", false);
    r.value = 0.0;
    return r;
}

Float4Check ValidateFloat4(std::string_view name, std::string_view text) {
    Float4Check r;
    Currency c = CheckDecimal(r, name, text);
    if (r.error.empty()) {
        SetSuccess(r, text);
        r.value = c;
        return r;
    }
    r.message = "Resetting input value\n\r" + r.error;
    SetFailure(r, text, "0.00", true);
    r.value = 0;
    return r;
}

Integer2Check ValidateInteger2(std::string_view name, std::string_view text) {
    Integer2Check r;
    if (text == "0") {
        r.cleaned.assign(text);
        SetSuccess(r, text);
        r.value = 0;
        return r;
    }
    Walk w = WalkText(text, false);
    r.cleaned = w.cleaned;
    std::int32_t v = 0;
    if (w.error != WalkError::None) {
        r.error = WalkErrorText(w, name, false);
    } else {
        ReadError e = ReadInt32(r.cleaned, v);
        if (e == ReadError::NotNumber) r.error = std::string(name) + " input is not a number !";
        if (e == ReadError::TooLarge) r.error = std::string(name) + " is too large !";
    }
    if (r.error.empty()) {
        SetSuccess(r, text);
        r.value = v;
        return r;
    }
    r.message = "Error: " + r.error + "\n\r" + "Resetting input value of " + r.cleaned;
    SetFailure(r, text, "0", false);
    r.value = 0;
    return r;
}

bool ValidateFloat3(std::string& text, std::size_t maxLen) {
    Walk w = WalkText(text, true);
    if (w.error != WalkError::None) return false;
    Currency c = 0;
    if (ReadCurrency(w.cleaned, c) != ReadError::None) return false;
    if (w.cleaned.size() > maxLen) w.cleaned.resize(maxLen);
    text = w.cleaned;
    return true;
}

void ApplyEntryCheck(const EntryCheck& check, UserPort& port,
                     const std::function<void(const std::string&)>& setBoxText) {
    if (check.valid) {
        if (check.boxChanges) setBoxText(check.boxText);
        return;
    }
    if (check.messageBeforeReset) {
        port.Inform(check.message);
        setBoxText(check.boxText);
    } else {
        setBoxText(check.boxText);
        port.Inform(check.message);
    }
}

}  // namespace qv
