#pragma once
// A loan's advances and payments placed in time for Regulation Z, Appendix J:
// from dates (the unit period chosen by (b)(4) or named by the user) or from
// payment groups in a named unit period. Either gives the flows of the general
// equation and the unit periods a year to solve it with.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/pay_group.h"
#include "regz/appendix_j.h"
#include "regz/calendar.h"
#include "regz/unit_period.h"

namespace qv::regz {

// The most payments (or advances) one loan may have: a century of weekly
// payments, far past any consumer credit, and bounded so no input can make
// the program build without end.
inline constexpr std::int64_t kMaxLoanFlows = 100'000;

struct DatedAmount {
    Date date;
    double amount = 0.0;
};

struct DatedLoan {
    std::vector<DatedAmount> advances;
    std::vector<DatedAmount> payments;
    std::optional<UnitPeriod> unit;  // chosen from the payment dates when empty
};

struct TimedLoan {
    std::vector<Flow> flows;  // advances and payments in date (or schedule) order
    UnitPeriod unit = UnitPeriod::Month;
    double perYear = 12.0;
    // A single advance repaid by a single payment within a year has its term
    // as the unit period ((b)(4)(ii), (b)(5)(vi)-(vii)): perYear is then
    // 12 / months or 365 / days, and `unit` the shortest named period at
    // least as long as the term. A longer term counts in years.
    bool termIsUnitPeriod = false;
    std::string basis;  // the unit period in words: "month", "term of 255 days"
};

struct TimedLoanResult {
    std::optional<TimedLoan> loan;
    std::string error;  // why the loan cannot be placed in time
};

// The flows of a loan given by dates. The term begins at the first advance;
// every advance and payment is counted from there. A single advance repaid by
// a single payment takes the term as its unit period whatever unit is named,
// as the regulation requires of such a loan. A payment before the first
// advance, an amount that is not above zero, or a loan with no advance or no
// payment is refused with a message.
TimedLoanResult TimeDatedLoan(const DatedLoan& loan);

// The flows of a loan given as payment groups in a unit period, the way the
// program's schedules hold them: SetSize payments of PaySize, each PriorPds
// unit periods and AddDays days after the one before (the first after the
// advance). Odd days beyond a whole unit period carry into it.
TimedLoanResult TimeGroups(double amountFinanced, std::span<const PayGroup> groups,
                           UnitPeriod unit);
// The same into a loan kept from one call to the next, whose flows keep their
// room: why the groups cannot be placed, or empty when `timed` holds them.
std::string TimeGroupsInto(double amountFinanced, std::span<const PayGroup> groups, UnitPeriod unit,
                           TimedLoan& timed);

// The unit period of Appendix J (b)(4)(i) for a loan starting on `start` with
// payments (and further advances) on the dates given, each list in order: the
// period that occurs most often between them (the shorter of two as common),
// or, when none occurs twice, the named period nearest their average length.
UnitPeriod ChooseUnitPeriod(const Date& start, std::span<const Date> advances,
                            std::span<const Date> payments, int seriesDay);

// The day of the month a series of payments is scheduled for, when it is the
// 29th, the 30th or the 31st (the last day of each month): the latest day of
// the month any payment falls on, when at least two payments fall on the 28th
// or later and each of them is on that day or on the last day of a shorter
// month. 0 for any other schedule.
int SeriesDayOfMonth(std::span<const Date> payments);

}  // namespace qv::regz
