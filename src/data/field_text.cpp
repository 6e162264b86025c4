#include "data/field_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace qv {
namespace {

// Day number of 1 January 1970, where the standard calendar counts from.
constexpr std::int32_t kDayNumberOf1970 = 719'163;

std::string_view TrimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads 1 to maxDigits digits at the front of s into value.
bool TakeNumber(std::string_view& s, int minDigits, int maxDigits, int& value) {
    int n = 0;
    value = 0;
    while (n < maxDigits && n < static_cast<int>(s.size()) &&
           IsDigit(s[static_cast<std::size_t>(n)]))
        value = value * 10 + (s[static_cast<std::size_t>(n++)] - '0');
    if (n < minDigits) return false;
    s.remove_prefix(static_cast<std::size_t>(n));
    return true;
}

bool TakeChar(std::string_view& s, char c) {
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

// A date at the front of s, which is left holding what follows it.
std::optional<std::int32_t> TakeDate(std::string_view& s) {
    int a = 0, b = 0, c = 0;
    std::string_view rest = s;
    if (TakeNumber(rest, 4, 4, a) && TakeChar(rest, '-')) {  // YYYY-MM-DD
        if (!TakeNumber(rest, 2, 2, b) || !TakeChar(rest, '-') || !TakeNumber(rest, 2, 2, c))
            return std::nullopt;
        s = rest;
        return DayNumber(a, b, c);
    }
    rest = s;  // M/D/YYYY
    if (!TakeNumber(rest, 1, 2, a) || !TakeChar(rest, '/') || !TakeNumber(rest, 1, 2, b) ||
        !TakeChar(rest, '/') || !TakeNumber(rest, 4, 4, c))
        return std::nullopt;
    s = rest;
    return DayNumber(c, a, b);
}

std::optional<std::int64_t> TakeTime(std::string_view& s) {
    int h = 0, m = 0, sec = 0, ms = 0;
    if (!TakeNumber(s, 1, 2, h) || !TakeChar(s, ':') || !TakeNumber(s, 2, 2, m))
        return std::nullopt;
    if (TakeChar(s, ':')) {
        if (!TakeNumber(s, 2, 2, sec)) return std::nullopt;
        if (TakeChar(s, '.')) {
            const std::size_t before = s.size();
            if (!TakeNumber(s, 1, 3, ms)) return std::nullopt;
            for (std::size_t d = before - s.size(); d < 3; ++d) ms *= 10;
        }
    }
    if (h > 23 || m > 59 || sec > 59) return std::nullopt;
    return ((h * 60LL + m) * 60 + sec) * 1000 + ms;
}

}  // namespace

std::optional<std::int32_t> DayNumber(int year, int month, int day) {
    using namespace std::chrono;
    if (year < 1 || year > 9999) return std::nullopt;
    const year_month_day date{std::chrono::year{year},
                              std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    if (month < 1 || day < 1 || !date.ok()) return std::nullopt;
    return sys_days{date}.time_since_epoch().count() + kDayNumberOf1970;
}

CivilDate DateOfDayNumber(std::int32_t dayNumber) {
    using namespace std::chrono;
    const year_month_day date{sys_days{days{dayNumber - kDayNumberOf1970}}};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

bool IsDayNumber(std::int64_t dayNumber) {
    return dayNumber >= kFirstDayNumber && dayNumber <= kLastDayNumber;
}

bool IsTimeOfDay(std::int64_t ms) {
    return ms >= 0 && ms < kMsPerDay;
}

bool IsDateTime(std::int64_t instant) {
    return instant >= kFirstDayNumber * kMsPerDay && instant < (kLastDayNumber + 1LL) * kMsPerDay;
}

std::string DateText(std::int32_t dayNumber) {
    const CivilDate d = DateOfDayNumber(dayNumber);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.month, d.day, d.year);
    return buf;
}

std::string TimeText(std::int64_t msOfDay) {
    const int ms = static_cast<int>(msOfDay % 1000);
    const int seconds = static_cast<int>(msOfDay / 1000);
    char buf[24];
    if (ms == 0)
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", seconds / 3600, seconds / 60 % 60,
                      seconds % 60, ms);
    return buf;
}

std::string DateTimeText(std::int64_t instant) {
    return DateText(static_cast<std::int32_t>(instant / kMsPerDay)) + " " +
           TimeText(instant % kMsPerDay);
}

std::optional<std::int32_t> ParseDate(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    const auto day = TakeDate(s);
    if (!day || !s.empty()) return std::nullopt;
    return day;
}

std::optional<std::int64_t> ParseTime(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    const auto ms = TakeTime(s);
    if (!ms || !s.empty()) return std::nullopt;
    return ms;
}

std::optional<std::int64_t> ParseDateTime(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    const auto day = TakeDate(s);
    if (!day) return std::nullopt;
    std::int64_t ms = 0;
    if (!s.empty()) {
        if (s.front() != ' ' && s.front() != '\t' && s.front() != 'T') return std::nullopt;
        const auto time = ParseTime(s.substr(1));
        if (!time) return std::nullopt;
        ms = *time;
    }
    return *day * kMsPerDay + ms;
}

std::string CurrencyValueText(Currency amount) {
    // Work on the magnitude as unsigned so that the lowest int64_t has one.
    const bool negative = amount < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    std::string text = std::to_string(magnitude / kCurrencyPerDollar);
    std::uint64_t fraction = magnitude % kCurrencyPerDollar;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction + kCurrencyPerDollar).substr(1);
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return negative ? "-" + text : text;
}

std::optional<Currency> ParseCurrencyValue(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Ten-thousandths so far, unsigned: whole dollars are bounded by the
    // currency range, so the scaled amount stays far below the end of uint64_t.
    std::uint64_t value = 0;
    int digits = 0;
    int decimals = -1;  // -1: no decimal point yet
    int roundDigit = -1;
    bool beyondRoundDigit = false;
    for (char c : s) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (!IsDigit(c)) return std::nullopt;
        ++digits;
        if (decimals < 0) {
            value = value * 10 + (c - '0');
            if (value > static_cast<std::uint64_t>(kMaxCurrency / kCurrencyPerDollar))
                return std::nullopt;
        } else if (decimals < 4) {
            ++decimals;
            value = value * 10 + (c - '0');
        } else if (roundDigit < 0) {
            roundDigit = c - '0';
        } else if (c != '0') {
            beyondRoundDigit = true;
        }
    }
    if (digits == 0) return std::nullopt;
    for (int d = std::max(decimals, 0); d < 4; ++d) value *= 10;
    const bool roundUp =
        roundDigit > 5 || (roundDigit == 5 && (beyondRoundDigit || value % 2 != 0));
    if (roundUp) ++value;
    if (value > static_cast<std::uint64_t>(kMaxCurrency)) return std::nullopt;
    const auto amount = static_cast<Currency>(value);
    return negative ? -amount : amount;
}

}  // namespace qv
