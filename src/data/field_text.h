#pragma once
// Texts of the record table's values that are not plain numbers: calendar
// dates, times of day, date-times and currency amounts, each read and written
// exactly (integers underneath, never a float).
//
// A date is a day number: day 1 is 1 January of year 1 in the Gregorian
// calendar carried backwards, the last is 31 December 9999. A time of day is
// milliseconds since midnight. A date-time is both in one count:
// day number x 86,400,000 + milliseconds since midnight, so every real
// date-time is above zero and they sort as they happen.
//
// Dates are written the US short way with fixed widths ("03/07/2024"), times
// on the 24-hour clock ("14:05:00", with ".250" only when there are
// milliseconds). Dates are read as "M/D/YYYY" or "YYYY-MM-DD"; times as
// "H:MM", "H:MM:SS" or "H:MM:SS.fff" (up to three decimals).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/money.h"

namespace qv {

inline constexpr std::int64_t kMsPerDay = 86'400'000;
inline constexpr std::int32_t kFirstDayNumber = 1;         // 01/01/0001
inline constexpr std::int32_t kLastDayNumber = 3'652'059;  // 12/31/9999

struct CivilDate {
    int year = 1;
    int month = 1;
    int day = 1;
};

// The day number of a valid date of years 1 to 9999; nothing for any other.
std::optional<std::int32_t> DayNumber(int year, int month, int day);
// The date of a day number between kFirstDayNumber and kLastDayNumber.
CivilDate DateOfDayNumber(std::int32_t dayNumber);

bool IsDayNumber(std::int64_t dayNumber);
bool IsTimeOfDay(std::int64_t ms);
bool IsDateTime(std::int64_t instant);

std::string DateText(std::int32_t dayNumber);
std::string TimeText(std::int64_t msOfDay);
std::string DateTimeText(std::int64_t instant);

// Whole texts only; blanks around them are allowed.
std::optional<std::int32_t> ParseDate(std::string_view text);
std::optional<std::int64_t> ParseTime(std::string_view text);
// A date, optionally followed by blanks or a "T" and a time.
std::optional<std::int64_t> ParseDateTime(std::string_view text);

// A currency amount as a plain decimal with no more decimals than it needs:
// "1234.5", "-0.0001", "12".
std::string CurrencyValueText(Currency amount);
// "[+|-]digits[.digits]" (or ".5") within the currency range; decimals
// beyond the fourth round the amount half to even, as every conversion to
// currency does.
std::optional<Currency> ParseCurrencyValue(std::string_view text);

}  // namespace qv
