#pragma once
// Whether a loan's disclosed APR and finance charge are accurate, judged
// against the regulation's exact rate: the record an analyst files, as one
// value and as the lines printed and saved with the chart.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/money.h"
#include "core/disclosure.h"
#include "core/pay_group.h"
#include "regz/appendix_j.h"
#include "regz/loan_timing.h"

namespace qv::regz {

// A computed schedule as the check needs it: placed in time, its amounts as
// a disclosure states them, and the program's own APR when it has one.
struct CheckedSchedule {
    TimedLoan loan;
    Currency amountFinanced = 0;
    Currency totalOfPayments = 0;
    std::optional<double> programApr;  // three decimals, percent
};

struct CheckedScheduleResult {
    std::optional<CheckedSchedule> schedule;
    std::string error;
};

// A loan by dates: the amount financed is the sum of its advances. Amounts
// that add up beyond what a disclosure can state are refused.
CheckedScheduleResult ScheduleOfTimedLoan(const TimedLoan& loan,
                                          std::optional<double> programApr = std::nullopt);
// A schedule the program computed from payment groups at one of its
// intervals (`daysPerPeriod` 365, 30, 15, 14 or 7).
CheckedScheduleResult ScheduleOfGroups(double amountFinanced, std::span<const PayGroup> groups,
                                       int daysPerPeriod, double programApr);

struct DisclosedTerms {
    double apr = 0.0;  // percent
    std::optional<Currency> financeCharge;
};

struct DisclosureCheck {
    AppendixJRate rate;  // the exact rate; `found` false says why there is none
    std::string basis;   // the unit period in words
    std::optional<double> programApr;
    TransactionShape shape;
    Currency amountFinanced = 0;
    Currency totalOfPayments = 0;
    std::optional<AprVerdict> apr;  // empty when the loan has no exact rate
    std::optional<FinanceChargeVerdict> financeCharge;
};

DisclosureCheck CheckDisclosure(const CheckedSchedule& schedule, const DisclosedTerms& disclosed);

enum class VerdictTone { Accurate, NearBoundary, NotAccurate, NoVerdict };
// The tone of the whole verdict: not accurate when the finance charge is off;
// otherwise near the boundary when the APR is within 0.01 of its tolerance on
// either side, else accurate or not by the APR.
VerdictTone ToneOf(const DisclosureCheck& check);

// "Accurate", "Not accurate", either followed by the note that the APR is
// within 0.01 of the tolerance's boundary; or why no verdict can be given.
std::string VerdictWords(const DisclosureCheck& check);

// The exact rate to four decimals ("11.8165").
std::string FourDecimalRate(double apr);

// The check as report lines: rates, transaction kind and why, tolerance,
// difference, the verdicts.
std::vector<std::string> DisclosureReportLines(const DisclosureCheck& check);

}  // namespace qv::regz
