#include "regz/loan_timing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace qv::regz {

namespace {

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

bool IsLoanDate(const Date& date) {
    return date.ok() && static_cast<int>(date.year()) >= kFirstYear &&
           static_cast<int>(date.year()) <= kLastYear;
}

bool IsAmount(double amount) {
    return std::isfinite(amount) && amount > 0.0 && amount <= kMaxFlowAmount;
}

// The half of the month a date falls in, counted from year 0: the 1st to the
// 15th is the first half, the 16th to the last day the second.
std::int64_t HalfMonthIndex(const Date& d) {
    const std::int64_t monthIndex = static_cast<std::int64_t>(static_cast<int>(d.year())) * 12 +
                                    static_cast<unsigned>(d.month());
    return 2 * monthIndex + (static_cast<unsigned>(d.day()) > 15 ? 1 : 0);
}

// Whether `to` is exactly one unit period after `from`, as the calendar and
// Appendix J (b)(3)(iv) measure it.
bool IsOneUnit(const Date& from, const Date& to, UnitPeriod unit, int seriesDay) {
    const UnitPeriodInfo& info = Describe(unit);
    const std::int64_t days = DaysBetween(from, to);
    if (unit == UnitPeriod::Semimonth) {
        // Semimonths run 13 to 16 days (the 16th to the 1st, the 15th to the
        // last day), from one half of a month into the next; a day's slack
        // either side keeps a payment moved off a weekend in the series.
        return days >= 12 && days <= 17 && HalfMonthIndex(to) == HalfMonthIndex(from) + 1;
    }
    if (info.months == 0) return days == info.daysPerUnit;
    return days > 0 && AddMonths(to, -info.months, seriesDay) == from;
}

// Single advance, single payment (Appendix J (b)(4)(ii), (b)(5)(v)-(vii)):
// within a year the term is the unit period, 12 / months a year for a term of
// whole months and 365 / days otherwise; a longer term counts in years.
struct Term {
    std::int64_t months = 0;  // whole months, when the term is a whole number of them
    std::int64_t days = 0;    // its days otherwise
    bool wholeMonths = false;
};

TimedLoanResult TimeSinglePayment(double advance, double payment, const Term& term,
                                  const std::optional<UnitSpan>& inYears) {
    TimedLoan loan;
    loan.flows.push_back({FlowKind::Advance, advance, 0, 0.0});
    if (term.wholeMonths ? term.months == 0 : term.days <= 0) {
        return {std::nullopt,
                "the payment is due when the amount is advanced: there is no term to state a "
                "rate over"};
    }
    const bool withinYear = term.wholeMonths ? term.months < 12 : term.days < 365;
    if (withinYear) {
        loan.termIsUnitPeriod = true;
        loan.flows.push_back({FlowKind::Payment, payment, 1, 0.0});
        if (term.wholeMonths) {
            loan.perYear = 12.0 / static_cast<double>(term.months);
            loan.basis = "term of " + std::to_string(term.months) + " months";
        } else {
            loan.perYear = 365.0 / static_cast<double>(term.days);
            loan.basis = "term of " + std::to_string(term.days) + " days";
        }
        const double termDays = 365.0 / loan.perYear;
        loan.unit = UnitPeriod::Year;
        for (const UnitPeriodInfo& info : kUnitPeriods) {
            if (info.nominalDays >= termDays - 0.5) {
                loan.unit = info.unit;
                break;
            }
        }
        return {loan, {}};
    }
    UnitSpan span;
    if (inYears) {
        span = *inYears;
    } else if (term.wholeMonths) {
        span = {term.months / 12, static_cast<double>(term.months % 12) / 12.0};
    } else {
        span = {term.days / 365, static_cast<double>(term.days % 365) / 365.0};
    }
    loan.flows.push_back({FlowKind::Payment, payment, span.periods, span.fraction});
    loan.unit = UnitPeriod::Year;
    loan.perYear = 1.0;
    loan.basis = "year";
    return {loan, {}};
}

std::string DatedItem(const char* what, std::size_t index, const DatedAmount& item) {
    return std::string(what) + " " + std::to_string(index + 1) + " (" + FormatIsoDate(item.date) +
           ", " + Number(item.amount) + ")";
}

}  // namespace

int SeriesDayOfMonth(std::span<const Date> payments) {
    constexpr unsigned kLateInMonth = 28;
    unsigned latest = 0;
    int late = 0;
    for (const Date& d : payments) {
        const unsigned day = static_cast<unsigned>(d.day());
        if (day < kLateInMonth) continue;
        latest = std::max(latest, day);
        ++late;
    }
    if (latest <= kLateInMonth || late < 2) return 0;
    for (const Date& d : payments) {
        const unsigned day = static_cast<unsigned>(d.day());
        if (day >= kLateInMonth && day != latest && !IsMonthEnd(d)) return 0;
    }
    return static_cast<int>(latest);
}

UnitPeriod ChooseUnitPeriod(const Date& start, std::span<const Date> advances,
                            std::span<const Date> payments, int seriesDay) {
    // The periods of (b)(3)(i): from the start to the first payment, between
    // payments, and between advances.
    std::vector<std::pair<Date, Date>> periods;
    if (!payments.empty()) periods.emplace_back(start, payments.front());
    for (std::size_t k = 1; k < payments.size(); ++k) {
        periods.emplace_back(payments[k - 1], payments[k]);
    }
    for (std::size_t k = 1; k < advances.size(); ++k) {
        periods.emplace_back(advances[k - 1], advances[k]);
    }
    std::array<int, kUnitPeriods.size()> counts{};
    for (const auto& [from, to] : periods) {
        for (const UnitPeriodInfo& info : kUnitPeriods) {
            if (IsOneUnit(from, to, info.unit, seriesDay))
                ++counts[static_cast<std::size_t>(info.unit)];
        }
    }
    // The units are in order of length, so the first of equal counts is the
    // smaller period.
    std::size_t best = 0;
    for (std::size_t k = 1; k < counts.size(); ++k) {
        if (counts[k] > counts[best]) best = k;
    }
    if (counts[best] >= 2) return kUnitPeriods[best].unit;

    // No common period: the average period, to the nearest named one (the
    // shorter when halfway).
    double total = 0.0;
    std::size_t counted = 0;
    for (const auto& [from, to] : periods) {
        const std::int64_t days = DaysBetween(from, to);
        if (days <= 0) continue;
        total += static_cast<double>(days);
        ++counted;
    }
    if (counted == 0) return UnitPeriod::Month;
    const double average = total / static_cast<double>(counted);
    const UnitPeriodInfo* nearest = &kUnitPeriods.front();
    for (const UnitPeriodInfo& info : kUnitPeriods) {
        if (std::fabs(info.nominalDays - average) < std::fabs(nearest->nominalDays - average)) {
            nearest = &info;
        }
    }
    return nearest->unit;
}

TimedLoanResult TimeDatedLoan(const DatedLoan& loan) {
    if (loan.advances.empty()) return {std::nullopt, "the loan has no advance"};
    if (loan.payments.empty()) return {std::nullopt, "the loan has no payment"};
    if (static_cast<std::int64_t>(loan.advances.size()) > kMaxLoanFlows ||
        static_cast<std::int64_t>(loan.payments.size()) > kMaxLoanFlows) {
        return {std::nullopt, "the loan has more than " + std::to_string(kMaxLoanFlows) +
                                  " advances or payments"};
    }
    for (const auto* list : {&loan.advances, &loan.payments}) {
        for (const DatedAmount& item : *list) {
            if (!IsLoanDate(item.date)) {
                return {std::nullopt, "a date is not a calendar date from " +
                                          std::to_string(kFirstYear) + " to " +
                                          std::to_string(kLastYear)};
            }
        }
    }
    for (std::size_t k = 0; k < loan.advances.size(); ++k) {
        if (!IsAmount(loan.advances[k].amount)) {
            return {std::nullopt,
                    DatedItem("advance", k, loan.advances[k]) + " is not an amount above zero"};
        }
    }
    for (std::size_t k = 0; k < loan.payments.size(); ++k) {
        if (!IsAmount(loan.payments[k].amount)) {
            return {std::nullopt,
                    DatedItem("payment", k, loan.payments[k]) + " is not an amount above zero"};
        }
    }
    auto byDate = [](const DatedAmount& a, const DatedAmount& b) {
        return std::chrono::sys_days(a.date) < std::chrono::sys_days(b.date);
    };
    std::vector<DatedAmount> advances = loan.advances;
    std::vector<DatedAmount> payments = loan.payments;
    std::stable_sort(advances.begin(), advances.end(), byDate);
    std::stable_sort(payments.begin(), payments.end(), byDate);
    const Date start = advances.front().date;
    if (byDate(payments.front(), advances.front())) {
        return {std::nullopt, "the payment on " + FormatIsoDate(payments.front().date) +
                                  " falls before the first advance, on " + FormatIsoDate(start)};
    }

    if (advances.size() == 1 && payments.size() == 1) {
        const Date& due = payments.front().date;
        const MonthsAndDays md = MonthsBack(start, due, 0);
        Term term;
        term.wholeMonths = md.days == 0;
        term.months = md.months;
        term.days = DaysBetween(start, due);
        return TimeSinglePayment(advances.front().amount, payments.front().amount, term,
                                 CountUnitPeriods(start, due, UnitPeriod::Year, 0));
    }

    std::vector<Date> advanceDates;
    std::vector<Date> paymentDates;
    for (const DatedAmount& a : advances) advanceDates.push_back(a.date);
    for (const DatedAmount& p : payments) paymentDates.push_back(p.date);
    const int seriesDay = SeriesDayOfMonth(paymentDates);

    TimedLoan timed;
    timed.unit =
        loan.unit ? *loan.unit : ChooseUnitPeriod(start, advanceDates, paymentDates, seriesDay);
    timed.perYear = Describe(timed.unit).perYear;
    timed.basis = std::string(Describe(timed.unit).name);
    auto place = [&](FlowKind kind, const DatedAmount& item) {
        const UnitSpan span = CountUnitPeriods(start, item.date, timed.unit, seriesDay);
        timed.flows.push_back({kind, item.amount, span.periods, span.fraction});
        return span.periods <= kMaxFlowPeriods;
    };
    auto tooLate = [&](const char* what, const DatedAmount& item) {
        return TimedLoanResult{std::nullopt, std::string(what) + " on " + FormatIsoDate(item.date) +
                                                 " is more than " +
                                                 std::to_string(kMaxFlowPeriods) + " " +
                                                 std::string(Describe(timed.unit).name) +
                                                 " periods after the first advance"};
    };
    for (const DatedAmount& a : advances) {
        if (!place(FlowKind::Advance, a)) return tooLate("the advance", a);
    }
    for (const DatedAmount& p : payments) {
        if (!place(FlowKind::Payment, p)) return tooLate("the payment", p);
    }
    return {timed, {}};
}

TimedLoanResult TimeGroups(double amountFinanced, std::span<const PayGroup> groups,
                           UnitPeriod unit) {
    TimedLoan timed;
    std::string error = TimeGroupsInto(amountFinanced, groups, unit, timed);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(timed), {}};
}

std::string TimeGroupsInto(double amountFinanced, std::span<const PayGroup> groups, UnitPeriod unit,
                           TimedLoan& timed) {
    if (!IsAmount(amountFinanced)) return "the amount financed must be above zero";
    const UnitPeriodInfo& info = Describe(unit);
    timed.unit = unit;
    timed.perYear = info.perYear;
    timed.termIsUnitPeriod = false;
    timed.basis = info.name;
    timed.flows.clear();
    timed.flows.push_back({FlowKind::Advance, amountFinanced, 0, 0.0});
    std::int64_t periods = 0;
    std::int64_t days = 0;
    std::int64_t count = 0;
    std::int64_t paidPeriods = 0;  // the time of the last payment of an amount
    std::int64_t paidDays = 0;
    // The group's name is made only for a message: most schedules have none.
    const auto which = [](std::size_t g) { return "group " + std::to_string(g + 1); };
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const PayGroup& group = groups[g];
        if (group.SetSize <= 0) continue;
        if (group.PriorPds < 0 || group.AddDays < 0)
            return which(g) + " has a negative number of periods or days";
        if (!(group.PaySize >= 0.0) || group.PaySize > kMaxFlowAmount)
            return which(g) + " has a payment that is not an amount of zero or more";
        count += group.SetSize;
        if (count > kMaxLoanFlows)
            return "the groups hold more than " + std::to_string(kMaxLoanFlows) + " payments";
        // The odd days' whole periods and fraction change only where days
        // are added: a group without them divides once, not per payment.
        std::int64_t oddPeriods = days / info.daysPerUnit;
        double fraction = static_cast<double>(days % info.daysPerUnit) / info.daysPerUnit;
        for (std::int32_t k = 0; k < group.SetSize; ++k) {
            periods += group.PriorPds;
            if (group.AddDays != 0) {
                days += group.AddDays;
                oddPeriods = days / info.daysPerUnit;
                fraction = static_cast<double>(days % info.daysPerUnit) / info.daysPerUnit;
            }
            const std::int64_t t = periods + oddPeriods;
            if (t > kMaxFlowPeriods) {
                return which(g) + " has payments more than " + std::to_string(kMaxFlowPeriods) +
                       " " + std::string(info.name) + " periods after the advance";
            }
            // A payment of nothing is no flow; the schedule's times stay.
            if (group.PaySize == 0.0) continue;
            paidPeriods = periods;
            paidDays = days;
            timed.flows.push_back({FlowKind::Payment, group.PaySize, t, fraction});
        }
    }
    if (timed.flows.size() == 2) {
        Term term;
        // Two semimonths are a month; months and their multiples are whole
        // months while no odd days are added.
        const bool semimonths = unit == UnitPeriod::Semimonth;
        const int unitMonths = semimonths ? (paidPeriods % 2 == 0 ? 1 : 0) : info.months;
        term.wholeMonths = paidDays == 0 && unitMonths > 0;
        term.months = (semimonths ? paidPeriods / 2 : paidPeriods) * unitMonths;
        term.days = paidPeriods * info.daysPerUnit + paidDays;
        TimedLoanResult single =
            TimeSinglePayment(amountFinanced, timed.flows.back().amount, term, std::nullopt);
        if (!single.loan) return std::move(single.error);
        timed = std::move(*single.loan);
    }
    return {};
}

}  // namespace qv::regz
