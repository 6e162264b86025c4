#include "regz/disclosure_check.h"

#include <cmath>
#include <cstdio>

#include "base/format.h"
#include "regz/appendix_j_check.h"
#include "regz/dated_loan.h"

namespace qv::regz {

namespace {

std::string Fixed(double value, int decimals) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string Dollars(Currency amount) {
    return CurrencyText(CurrencyToDollars(amount));
}

std::string Line(std::string_view label, const std::string& text) {
    constexpr std::size_t kLabelWidth = 22;
    std::string line(label);
    line.append(kLabelWidth > label.size() ? kLabelWidth - label.size() : 1, ' ');
    return line + text;
}

std::string Accurate(bool accurate) {
    return accurate ? "accurate" : "not accurate";
}

}  // namespace

CheckedScheduleResult ScheduleOfTimedLoan(const TimedLoan& loan, std::optional<double> programApr) {
    // Added up in currency, as a disclosure states them, so that no total can
    // leave the range unnoticed.
    std::optional<Currency> financed = Currency{0};
    std::optional<Currency> total = Currency{0};
    for (const Flow& flow : loan.flows) {
        std::optional<Currency>& sum = flow.kind == FlowKind::Advance ? financed : total;
        const std::optional<Currency> amount = TryDollarsToCurrency(flow.amount);
        sum = sum && amount ? CheckedSum(*sum, *amount) : std::nullopt;
    }
    if (!financed || !total) {
        return {std::nullopt, "the amounts add up to more than a disclosure can state"};
    }
    return {CheckedSchedule{loan, *financed, *total, programApr}, {}};
}

CheckedScheduleResult ScheduleOfGroups(double amountFinanced, std::span<const PayGroup> groups,
                                       int daysPerPeriod, double programApr) {
    const std::optional<UnitPeriod> unit = UnitPeriodOfDays(daysPerPeriod);
    if (!unit) {
        return {std::nullopt, "a unit period of " + std::to_string(daysPerPeriod) +
                                  " days is none of the program's intervals"};
    }
    const TimedLoanResult timed = TimeGroups(amountFinanced, groups, *unit);
    if (!timed.loan) return {std::nullopt, timed.error};
    CheckedScheduleResult result = ScheduleOfTimedLoan(*timed.loan, programApr);
    // The amount financed is the loan's, whatever a single payment's term did
    // to the flows.
    if (result.schedule) {
        const std::optional<Currency> financed = TryDollarsToCurrency(amountFinanced);
        if (!financed) return {std::nullopt, "the amount financed is beyond what can be stated"};
        result.schedule->amountFinanced = *financed;
    }
    return result;
}

DisclosureCheck CheckDisclosure(const CheckedSchedule& schedule, const DisclosedTerms& disclosed) {
    DisclosureCheck check;
    const ExactAprCheck exact = CheckTimedLoan(schedule.loan, disclosed.apr);
    check.rate = exact.rate;
    check.shape = exact.shape;
    check.apr = exact.verdict;
    check.basis = schedule.loan.basis;
    check.programApr = schedule.programApr;
    check.amountFinanced = schedule.amountFinanced;
    check.totalOfPayments = schedule.totalOfPayments;
    if (disclosed.financeCharge) {
        check.financeCharge = CheckDisclosedFinanceCharge(
            schedule.amountFinanced, schedule.totalOfPayments, *disclosed.financeCharge);
    }
    return check;
}

VerdictTone ToneOf(const DisclosureCheck& check) {
    if (!check.apr) return VerdictTone::NoVerdict;
    // A finance charge that is off decides, however close the APR is.
    if (check.financeCharge && !check.financeCharge->accurate) return VerdictTone::NotAccurate;
    if (check.apr->nearBoundary) return VerdictTone::NearBoundary;
    return check.apr->accurate ? VerdictTone::Accurate : VerdictTone::NotAccurate;
}

std::string VerdictWords(const DisclosureCheck& check) {
    if (!check.apr) return "No verdict: there is no Appendix J rate (" + check.rate.message + ")";
    const bool accurate =
        check.apr->accurate && (!check.financeCharge || check.financeCharge->accurate);
    std::string words = accurate ? "Accurate" : "Not accurate";
    if (check.apr->nearBoundary) words += ", within 0.01 of the boundary of the tolerance";
    return words;
}

std::string FourDecimalRate(double apr) {
    return Fixed(apr, 4);
}

std::vector<std::string> DisclosureReportLines(const DisclosureCheck& check) {
    std::vector<std::string> lines{"Disclosure check (actuarial method, Appendix J)"};
    lines.push_back(Line("Amount financed:", Dollars(check.amountFinanced)));
    lines.push_back(Line("Total of payments:", Dollars(check.totalOfPayments)));
    lines.push_back(Line("Unit period:", check.basis));
    lines.push_back(Line("Appendix J rate:", check.rate.found
                                                 ? FourDecimalRate(check.rate.apr) + " %"
                                                 : "none: " + check.rate.message));
    if (check.programApr) {
        lines.push_back(Line("Program's APR:", Fixed(*check.programApr, 3) + " %"));
    }
    const bool regular = check.shape.kind == TransactionKind::Regular;
    lines.push_back(Line("Transaction:", std::string(regular ? "regular" : "irregular") + " (" +
                                             check.shape.reason + ")"));
    if (check.apr) {
        const AprVerdict& v = *check.apr;
        lines.push_back(Line("Disclosed APR:", Fixed(v.disclosed, 4) + " %"));
        lines.push_back(Line("Tolerance:", std::string(regular ? "1/8" : "1/4") +
                                               " of one percentage point (" +
                                               Fixed(v.tolerance, 3) + ")"));
        lines.push_back(Line("Difference:", Fixed(v.disclosed - v.computed, 4) + " points"));
        std::string verdict = Accurate(v.accurate);
        if (v.nearBoundary) verdict += " (within 0.01 of the boundary: look twice)";
        lines.push_back(Line("APR:", verdict));
    }
    if (check.financeCharge) {
        const FinanceChargeVerdict& f = *check.financeCharge;
        lines.push_back(Line("Finance charge:", Dollars(f.computed) + ", disclosed " +
                                                    Dollars(f.disclosed) + ", tolerance " +
                                                    Dollars(f.tolerance) + ": " +
                                                    Accurate(f.accurate)));
    }
    lines.push_back(Line("Verdict:", VerdictWords(check)));
    return lines;
}

}  // namespace qv::regz
