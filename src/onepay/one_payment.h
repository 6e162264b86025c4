#pragma once
// The one-payment ("payday") loan: one advance, one repayment within a year.
// Its APR is the simple interest of the term scaled to a 365-day year, with
// no compounding, reported in four lines.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"

namespace qv {

// --- messages of the one-payment page -----------------------------------

inline constexpr std::string_view kOneZeroAmountText =
    "You cannot have zero $ Amount Financed !\n\rTo Reset All, first enter at least $.01.";
inline constexpr std::string_view kOneNoIntervalText = "Oops, you must set a non-zero interval";
inline constexpr std::string_view kOneTermUnderOneDayText = "Cannot have term under 1 day.";
inline constexpr std::string_view kOneRepaymentBelowText =
    "Repayment cannot be below Amount Financed";
inline constexpr std::string_view kOneUnderTwoDaysText = "Cannot have less than 2 days involved.";
inline constexpr std::string_view kOneOverAYearText =
    "This loan exceeds a year, so use an Annual Regular Schedule";
inline constexpr std::string_view kOneWholeMonthsText =
    "If the term of a one repayment loan is a\r\nwhole number of months, the lender may\r\n"
    "compute an APR on a per month basis, click\r\nthe Help on PerDiem APRs button for more.";
// The two refusals of "Compute One Pay APR": a rate per day needs a term of
// at least one day, and a rate of return needs an amount that was lent.
inline constexpr std::string_view kOneNoTermText =
    "No APR computed: the term is under 1 day.\n\rEnter the Number of Days in the loan's term.";
inline constexpr std::string_view kOneNoAmountText =
    "No APR computed: the Amount Financed is zero.\n\rEnter at least $.01.";

// The longest term the per-diem computation takes; longer loans belong on
// the regular page with an annual interval.
inline constexpr std::int32_t kOnePaymentMaxDays = 365;

// True for the terms lenders count as whole months (one, two or three):
// 29, 30, 31, 60, 61, 62, 90, 91, 92 and 93 days.
bool IsWholeMonthsTerm(std::int32_t days);

enum class OnePaymentOutcome {
    Computed,          // lines hold the report
    OverAYear,         // the term is more than 365 days
    NoTerm,            // the term is under one day: nothing to divide by
    NoAmountFinanced,  // nothing was lent: nothing to divide by
};

struct OnePaymentReport {
    OnePaymentOutcome outcome = OnePaymentOutcome::Computed;
    // When computed: the amount financed, the repayment, the day count and
    // the APR, one line each.
    std::vector<std::string> lines;
    // When computed: the APR in percent per 365-day year, unrounded.
    double apr = 0.0;
    // When computed and the term is a whole number of months.
    bool wholeMonths = false;
};

// "Compute One Pay APR": 100 x (365 / DayOne) x (PayOne - AmtFinOne) / AmtFinOne.
// A term over a year is sent elsewhere first; then a term under one day and
// an amount financed of zero (or less) are refused without dividing.
OnePaymentReport ComputeOnePayment(double AmtFinOne, double PayOne, std::int32_t DayOne,
                                   const FormatSettings& fs = FormatSettings{});

}  // namespace qv
