#pragma once
// Reading a loan's dates, amounts and unit period from text, as a terminal
// user types them: the companion's batch lines and options call these, so
// every message speaks of what was typed.
//
//   unit period   "month", "two weeks", "Quarterly", "halfmonth", ...
//   advances      "2024-01-15:5000" items separated by ';'
//   payments      "2024-02-15:230" (one payment) or "24:230:2024-02-15" (24
//                 payments of 230, the first on that date, one unit period
//                 apart), items separated by ';'
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regz/calendar.h"
#include "regz/loan_timing.h"
#include "regz/unit_period.h"

namespace qv::regz {

struct UnitPeriodParse {
    std::optional<UnitPeriod> unit;
    std::string error;
};
UnitPeriodParse ParseUnitPeriod(std::string_view text);

struct AmountParse {
    std::optional<double> amount;
    std::string error;
};
// A plain decimal amount above zero, such as 230 or 1135.19 (no sign, no
// exponent, no thousands separators).
AmountParse ParseAmount(std::string_view text);

struct DatedItemsParse {
    std::vector<DatedAmount> items;
    std::string error;  // the first item that could not be read, and why
};
DatedItemsParse ParseAdvances(std::string_view text);
// Groups need `step`, the unit period their payments are apart; an item with
// three fields when there is none is refused with a message saying so.
DatedItemsParse ParsePayments(std::string_view text, std::optional<UnitPeriod> step);

// The dates of `count` payments one unit period apart, the first on `first`.
// Months and their multiples keep the first date's day of the month (the last
// day of a shorter month standing in for it), so 31 January steps to
// 28 February and 31 March. Semimonths alternate between a day and the day 15
// later, the 15th pairing with the month's last day.
std::vector<Date> StepDates(const Date& first, std::int64_t count, UnitPeriod unit);

}  // namespace qv::regz
