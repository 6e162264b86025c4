#include "regz/regz_input.h"

#include <charconv>
#include <cmath>

namespace qv::regz {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(Trim(text.substr(from, at == std::string_view::npos ? at : at - from)));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::optional<std::int64_t> ParseCount(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// One "DATE:AMOUNT" item.
std::optional<DatedAmount> ParseDatedAmount(std::string_view date, std::string_view amount,
                                            std::string& error) {
    const DateParse d = ParseIsoDate(date);
    if (!d.date) {
        error = d.error;
        return std::nullopt;
    }
    const AmountParse a = ParseAmount(amount);
    if (!a.amount) {
        error = a.error;
        return std::nullopt;
    }
    return DatedAmount{*d.date, *a.amount};
}

// Whether `count` payments one unit period apart from `first` all fall by the
// end of kLastYear: checked on their nominal length before any is stepped, so
// no count can carry a date past what the calendar holds.
bool WithinCalendar(const Date& first, std::int64_t count, UnitPeriod unit) {
    const Date end{std::chrono::year(kLastYear), std::chrono::December, std::chrono::day(31)};
    const double span = static_cast<double>(count - 1) * Describe(unit).nominalDays;
    return span <= static_cast<double>(DaysBetween(first, end)) + 1.0;
}

DatedItemsParse ParseItems(std::string_view text, std::optional<UnitPeriod> step,
                           bool groupsAllowed, const char* what) {
    DatedItemsParse result;
    if (Trim(text).empty()) {
        result.error = std::string("no ") + what + " given";
        return result;
    }
    const std::vector<std::string_view> items = Split(text, ';');
    for (std::size_t k = 0; k < items.size(); ++k) {
        const std::string_view item = items[k];
        if (item.empty() && k + 1 == items.size() && k > 0) break;  // a trailing ';'
        const std::vector<std::string_view> fields = Split(item, ':');
        std::string error;
        const std::string where =
            std::string(what) + " item " + std::to_string(k + 1) + " " + Quoted(item) + ": ";
        if (fields.size() == 2) {
            const std::optional<DatedAmount> one = ParseDatedAmount(fields[0], fields[1], error);
            if (!one) {
                result.error = where + error;
                return result;
            }
            result.items.push_back(*one);
        } else if (fields.size() == 3 && groupsAllowed) {
            const std::optional<std::int64_t> count = ParseCount(fields[0]);
            if (!count || *count < 1) {
                result.error = where + Quoted(fields[0]) + " is not a count of payments above zero";
                return result;
            }
            const std::optional<DatedAmount> first = ParseDatedAmount(fields[2], fields[1], error);
            if (!first) {
                result.error = where + error;
                return result;
            }
            if (!step) {
                result.error =
                    where + "a group count:amount:first_date needs a unit period to step by";
                return result;
            }
            if (static_cast<std::int64_t>(result.items.size()) + *count > kMaxLoanFlows) {
                result.error = where + "more than " + std::to_string(kMaxLoanFlows) + " " + what;
                return result;
            }
            if (!WithinCalendar(first->date, *count, *step)) {
                result.error =
                    where + "the payments run past the year " + std::to_string(kLastYear);
                return result;
            }
            for (const Date& date : StepDates(first->date, *count, *step)) {
                result.items.push_back({date, first->amount});
            }
        } else {
            result.error = where + (groupsAllowed ? "write date:amount or count:amount:first_date"
                                                  : "write date:amount");
            return result;
        }
        if (static_cast<std::int64_t>(result.items.size()) > kMaxLoanFlows) {
            result.error = where + "more than " + std::to_string(kMaxLoanFlows) + " " + what;
            return result;
        }
    }
    return result;
}

Date SemimonthDate(const Date& first, std::int64_t step) {
    const unsigned day = static_cast<unsigned>(first.day());
    const bool secondHalf = day > 15;
    const unsigned firstHalfDay = secondHalf ? (IsMonthEnd(first) ? 15 : day - 15) : day;
    const bool pairedWithMonthEnd = firstHalfDay == 15 || (secondHalf && IsMonthEnd(first));
    const std::int64_t half = step + (secondHalf ? 1 : 0);
    const Date monthStart = AddMonths(Date(first.year(), first.month(), std::chrono::day(1)),
                                      static_cast<int>(half / 2));
    const Date firstOfMonth(monthStart.year(), monthStart.month(), std::chrono::day(firstHalfDay));
    if (half % 2 == 0) return firstOfMonth;
    const Date monthEnd{std::chrono::year_month_day_last(
        monthStart.year(), std::chrono::month_day_last(monthStart.month()))};
    if (pairedWithMonthEnd) return monthEnd;
    const unsigned wanted = firstHalfDay + 15;
    const unsigned last = static_cast<unsigned>(monthEnd.day());
    return Date(monthStart.year(), monthStart.month(),
                std::chrono::day(wanted < last ? wanted : last));
}

}  // namespace

UnitPeriodParse ParseUnitPeriod(std::string_view text) {
    if (const std::optional<UnitPeriod> unit = UnitPeriodFromName(text)) return {unit, {}};
    return {std::nullopt, Quoted(Trim(text)) + " is not a unit period; use one of " +
                              std::string(UnitPeriodNames())};
}

AmountParse ParseAmount(std::string_view text) {
    text = Trim(text);
    const std::string refused = Quoted(text) + " is not an amount above zero";
    bool digits = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return {std::nullopt, refused};
        }
    }
    if (!digits || text.size() > 20) return {std::nullopt, refused};
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0.0)) {
        return {std::nullopt, refused};
    }
    if (value > kMaxFlowAmount) {
        return {std::nullopt, Quoted(text) + " is more than the largest amount, 100,000,000,000"};
    }
    return {value, {}};
}

DatedItemsParse ParseAdvances(std::string_view text) {
    return ParseItems(text, std::nullopt, false, "advances");
}

DatedItemsParse ParsePayments(std::string_view text, std::optional<UnitPeriod> step) {
    return ParseItems(text, step, true, "payments");
}

std::vector<Date> StepDates(const Date& first, std::int64_t count, UnitPeriod unit) {
    std::vector<Date> dates;
    if (count <= 0) return dates;
    dates.reserve(static_cast<std::size_t>(count));
    const UnitPeriodInfo& info = Describe(unit);
    for (std::int64_t k = 0; k < count; ++k) {
        if (unit == UnitPeriod::Semimonth) {
            dates.push_back(SemimonthDate(first, k));
        } else if (info.months > 0) {
            dates.push_back(AddMonths(first, static_cast<int>(k * info.months)));
        } else {
            dates.emplace_back(std::chrono::sys_days(first) +
                               std::chrono::days(k * info.daysPerUnit));
        }
    }
    return dates;
}

}  // namespace qv::regz
