// Figure a regular schedule. See figure_schedule.h.
#include "figure/figure_schedule.h"

#include <utility>

namespace qv {
namespace {

std::string Num(double x, int precision, const FormatSettings& fs) {
    return FloatToStrF(x, FloatStyle::Number, precision, 2, fs);
}

std::string Money(double x, int precision, const FormatSettings& fs) {
    return FloatToStrF(x, FloatStyle::Money, precision, 2, fs);
}

std::string Pad12Of(Currency amount, const FormatSettings& fs) {
    std::string column;
    Pad12(column, CurrencyToDollars(amount), fs);
    return column;
}

// The first check of "Adjust Payments" that fails on the loan state as the
// regular page's exits left it.
std::optional<std::string_view> StartRefusal(const LoanTerms& loan, const RegularInputs& regular,
                                             const FigureRate& rate) {
    if (regular.RegPay == 0) return kRegPayZeroText;
    if (loan.AmtFin == 0) return kAmtFinZeroText;
    if (loan.PayCount == 0) return kNoPaymentsText;
    if (rate.MaxRate == 0) return kRateMeaninglessText;
    return std::nullopt;
}

// The same checks on the refreshed summary, which has just re-read the
// boxes, and the limit of the payment matrix, beyond which no schedule of
// the system goes (and the listing would run to millions of lines).
std::optional<std::string_view> ScheduleRefusal(const LoanTerms& loan) {
    if (loan.AmtFin == 0) return kAmtFinZeroText;
    if (loan.PayCount == 0) return kNoPaymentsText;
    if (loan.PayCount > kMaxPayments) return kTooManyRegularPaymentsText;
    return std::nullopt;
}

// A payment box's value as the entry check reads it; a box that does not
// read as a number is reported and gives nothing, so the payment keeps the
// value the regular page last accepted.
std::optional<double> ReadPaymentBox(std::string_view text, std::string_view message,
                                     UserPort& port) {
    const Float2Check check = ValidateFloat2("", text);
    if (check.valid) return check.value;
    port.Inform(message);
    return std::nullopt;
}

// Reads the regular page: the first and last payments (the common payment
// only checked), then the summary, re-read from the boxes, and the
// intervals as the boxes show them (a carry of extra days into whole
// periods updates only the periods box). Returns the summary label's text.
std::string ReadRegularPage(LoanTerms& loan, RegularInputs& regular, const RegularTexts& texts,
                            UserPort& port, const FormatSettings& fs) {
    if (const auto first = ReadPaymentBox(texts.FirstPay, kReenterFirstPayText, port)) {
        regular.FirstPay = *first;
    }
    ReadPaymentBox(texts.RegPay, kReenterCommonPayText, port);
    if (const auto last = ReadPaymentBox(texts.LastPay, kReenterLastPayText, port)) {
        regular.LastPay = *last;
    }
    const RegularBoxes boxes = ReadRegularBoxes(texts);
    std::string summaryText = UpdateSimpleSummary(loan, boxes, fs).text;
    regular.FirstPds = boxes.FirstPds;
    regular.FirstExtra = boxes.FirstExtra;
    regular.LastPds = boxes.LastPds;
    regular.LastExtra = boxes.LastExtra;
    return summaryText;
}

// The schedule the search starts from: every payment at the estimate Q,
// the first and last keeping their difference from the common payment.
std::optional<TrialSchedule> StartSchedule(const LoanTerms& loan, const RegularInputs& regular,
                                           Currency Q) {
    const std::optional<Currency> amount = TryDollarsToCurrency(loan.AmtFin);
    const std::optional<Currency> common = TryDollarsToCurrency(regular.RegPay);
    const std::optional<Currency> first = TryDollarsToCurrency(regular.FirstPay);
    const std::optional<Currency> last = TryDollarsToCurrency(regular.LastPay);
    if (!amount || !common || !first || !last) return std::nullopt;
    const std::optional<Currency> shift = CheckedDifference(Q, *common);
    if (!shift) return std::nullopt;
    const std::optional<Currency> firstPay = CheckedSum(*first, *shift);
    const std::optional<Currency> lastPay = CheckedSum(*last, *shift);
    if (!firstPay || !lastPay) return std::nullopt;

    TrialSchedule s;
    s.PayCount = loan.PayCount;
    s.Balance = *amount;
    s.FirstPay = *firstPay;
    s.RegularPay = Q;
    s.LastPay = *lastPay;
    s.FirstPds = regular.FirstPds;
    s.FirstExtra = regular.FirstExtra;
    s.LastPds = regular.LastPds;
    s.LastExtra = regular.LastExtra;
    return s;
}

// A single payment due after more than a year is the regular page's
// per-diem loan; every other schedule accrues by unit periods.
bool IsPerDiemSchedule(const LoanTerms& loan, const RegularTexts& texts) {
    return RouteSinglePayment(loan.PayCount, texts, loan.DaysPerPd).route ==
           SinglePaymentRoute::PerDiemOverAYear;
}

void AppendReport(const LoanTerms& loan, const FigureRate& rate, const IntervalInfo& period,
                  const TrialSchedule& s, Currency Z, ChartText& lines, const FormatSettings& fs) {
    const double lastPay = CurrencyToDollars(s.LastPay);
    lines.push_back("Using Regular Payments & Rate in this schedule:");
    lines.push_back("Amount Financed of " + Money(loan.AmtFin, 10, fs) + " at " +
                    Num(rate.MaxRate, 10, fs) + "% yearly:");
    lines.push_back("Regular Period is " + std::string(period.name));
    lines.push_back("First Payment of $" + Num(CurrencyToDollars(s.FirstPay), 14, fs) + " after " +
                    std::to_string(s.FirstPds) + " pds & " + std::to_string(s.FirstExtra) +
                    " days,");
    lines.push_back(std::to_string(std::int64_t{s.PayCount} - 2) + " regular payments of $" +
                    Num(CurrencyToDollars(s.RegularPay), 14, fs) + " each one period apart, and");
    lines.push_back("Last Payment of $" + Num(lastPay, 14, fs) + " after " +
                    std::to_string(s.LastPds) + " pds & " + std::to_string(s.LastExtra) + " days.");
    lines.push_back("");
    const double z = CurrencyToDollars(Z);
    lines.push_back("Final Balance by Amortization is " + Money(z, 14, fs));
    if (Z > 0) {
        lines.push_back("  To amortize to zero, irregular Last Payment = " +
                        Money(lastPay + z, 14, fs));
    }
}

// The amortization listing, at the rate a period the search used, so that
// its last line ends at the final balance the report gives.
void AppendListing(const TrialSchedule& s, const InterestBasis& basis, ChartText& lines,
                   const FormatSettings& fs) {
    lines.push_back("\r\nAmortizing this payment schedule:");
    lines.push_back("  OldBalance +     Interest -      Payment =   NewBalance");
    Currency balance = s.Balance;
    double totalCents = 0.0;  // only shown, so a double sum cannot overflow
    for (std::int32_t j = 1; j <= s.PayCount; ++j) {
        const TrialPayment payment = PaymentOf(s, j);
        const std::optional<AmortizationStep> step = Amortize(balance, payment, basis);
        if (!step) {
            lines.push_back(std::string(kOutOfRangeLine));
            break;
        }
        lines.push_back(Pad12Of(balance, fs) + " + " +
                        Pad12Of(CentsToCurrency(step->interestCents), fs) + " - " +
                        Pad12Of(payment.pay, fs) + " = " + Pad12Of(step->newBalance, fs));
        totalCents += static_cast<double>(step->interestCents);
        balance = step->newBalance;
    }
    lines.push_back("And Total Interest Paid = " + Money(totalCents / 100.0, 10, fs));
}

// A search that ended without a payment: the message, and the report's
// line saying why, so that no earlier report is left standing.
void ReportNoPayment(const SearchResult& search, ChartText& lines, UserPort& port,
                     const FormatSettings& fs) {
    if (search.end == SearchEnd::TrialBound) {
        port.Inform(TrialBoundText(search.trials));
        lines.push_back(TrialBoundLine(search.trials, search.schedule.RegularPay, fs));
    } else {
        port.Inform(kOutOfRangeText);
        lines.push_back(std::string(kOutOfRangeLine));
    }
}

}  // namespace

std::string TrialBoundText(std::int64_t trials) {
    return "Oops: no payment found in " + std::to_string(trials) + " trials !\n\r" +
           "Please check the schedule on Tab 2 and the rate.";
}

std::string TrialBoundLine(std::int64_t trials, Currency estimate, const FormatSettings& fs) {
    return "No payment found in " + std::to_string(trials) + " trials; the last estimate was " +
           Money(CurrencyToDollars(estimate), 14, fs) + ".";
}

Float2Check CheckMaxRate(std::string_view text) {
    return ValidateFloat2(kMaxRateName, text);
}

FigureOutcome AdjustPayments(LoanTerms& loan, RegularInputs& regular, const FigureRate& rate,
                             const FigureInputs& in, UserPort& port, const SearchLimits& limits,
                             const FormatSettings& fs) {
    FigureOutcome out;
    out.regularBoxes = in.regular;
    if (const auto refusal = StartRefusal(loan, regular, rate)) {
        port.Inform(*refusal);
        out.rateToEnter = *refusal == kRateMeaninglessText;
        return out;
    }

    out.summaryText = ReadRegularPage(loan, regular, in.regular, port, fs);
    if (const auto refusal = ScheduleRefusal(loan)) {
        port.Inform(*refusal);
        return out;
    }

    const IntervalInfo& period = Describe(in.interval.value_or(Interval::Weekly));
    if (period.interval == Interval::TwoWeekly) loan.DaysPerPd = period.DaysPerPd;
    const std::optional<Currency> Q =
        StartingEstimate(rate.MaxRate, period.nominalPerYear, loan.PayCount, loan.AmtFin);
    const std::optional<TrialSchedule> start = Q ? StartSchedule(loan, regular, *Q) : std::nullopt;
    if (!start) {
        port.Inform(kOutOfRangeText);
        return out;
    }

    ChartText lines;
    if (in.showFlip) {
        lines.push_back("[Initial Pay Estimate $" +
                        FloatToStrF(CurrencyToDollars(*Q), FloatStyle::Number, 8, 2, fs) + " " +
                        std::string(period.name) + "]");
    }
    InterestBasis basis{rate.MaxRate, loan.PdsPerYear, loan.DaysPerPd,
                        IsPerDiemSchedule(loan, in.regular), loan.RoundAdd};
    SearchResult search = DecimalSearch(*start, basis, in.showFlip, limits, fs);
    lines.insert(lines.end(), search.flipLines.begin(), search.flipLines.end());
    out.schedule = search.schedule;

    const bool found = search.end == SearchEnd::SignChange || search.end == SearchEnd::ZeroBalance;
    if (!found) {
        ReportNoPayment(search, lines, port, fs);
        out.end = FigureEnd::NoPayment;
        out.found = std::move(lines);
        return out;
    }

    const TrialSchedule& s = search.schedule;
    regular.FirstPay = CurrencyToDollars(s.FirstPay);
    regular.LastPay = CurrencyToDollars(s.LastPay);
    out.end = FigureEnd::Found;
    out.notesVisible = search.finalBalance != 0;
    out.finalBalance = MaxTrial(s, basis).balance;
    AppendReport(loan, rate, period, s, out.finalBalance, lines, fs);
    if (in.showAmort) AppendListing(s, basis, lines, fs);
    out.found = std::move(lines);
    return out;
}

}  // namespace qv
