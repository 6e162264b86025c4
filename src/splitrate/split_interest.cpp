#include "splitrate/split_interest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_set>

namespace qv {
namespace {

// Products of a slice, a rate and an interval's days exceed 64 bits long
// before the interest they stand for leaves the 32-bit cents.
__extension__ typedef __int128 Int128;

constexpr Currency kMaxAmount = kSplitMaxCents * kCurrencyPerCent;
constexpr std::string_view kMaxAmountText = "$21,474,836.47";
// The top step has no cap; one typed below 999,999.9 is shown as 999,999.99
// so that the box says so, but no cap of the top step cuts its slice.
constexpr Currency kTopCapAtLeast = 9'999'999'000;
constexpr double kTopCapDollars = 999999.99;
// A rate is a percentage of the slice, held in ten-thousandths: the
// interest in cents is days x slice x rate / (daysPerPd x 10^8).
constexpr std::int64_t kRateSliceScale = 100'000'000;

// A currency amount shown to the cent, a half cent rounding away from zero
// as the number styles round decimals.
double ShownDollars(Currency c) {
    const Currency half = kCurrencyPerCent / 2;
    return CentsToDollars((c >= 0 ? c + half : c - half) / kCurrencyPerCent);
}

std::string Column(int width, double dollars, const FormatSettings& fs) {
    std::string text;
    GetFloat(width, text, dollars, fs);
    return text;
}

std::string NumberText(Currency c, const FormatSettings& fs) {
    return FloatToStrF(ShownDollars(c), FloatStyle::Number, 17, 2, fs);
}

int TopStepOf(const std::array<SplitStep, 6>& steps) {
    for (int n = 6; n >= 1; --n) {
        if (steps[static_cast<std::size_t>(n - 1)].Rate > 0) return n;
    }
    return 0;
}

// A debt of one payment is paid as its last line describes it, amount and
// interval, once that line has a payment. Left at zero it is the first line
// that describes the payment: the fill-in from the common payment writes
// only the first payment of a one-payment debt, and a debt repaid by
// nothing is never what was meant.
bool SinglePaymentOnFirstLine(const SplitInputs& split) {
    return split.SplitPayCount == 1 && split.SplitLastPay == 0.0;
}

// The name a step's rate or cap goes by in messages.
std::string StepLabel(int step, bool cap) {
    if (step <= 4) return std::string(SplitBoxInfo(cap ? CapBox(step) : RateBox(step)).label);
    return "Step " + std::to_string(step) + (cap ? " $-Cap" : " Rate");
}

bool FitsAmount(double dollars) {
    const std::optional<Currency> c = TryDollarsToCurrency(dollars);
    return c && *c >= -kMaxAmount && *c <= kMaxAmount;
}

Currency RoundAddCurrency(double RoundAdd) {
    if (!std::isfinite(RoundAdd)) return kCurrencyPerCent / 2;
    return std::llround(std::clamp(RoundAdd, 0.0, 1.0) * kCurrencyPerCent);
}

// trunc(days x slice x rate / (daysPerPd x 10^8) + RoundAdd), in cents;
// nothing when it leaves the 32-bit cents.
std::optional<std::int64_t> StepInterest(const SplitTerms& t, Currency slice, std::int64_t rate,
                                         std::int64_t days) {
    // A rough size first, so that the exact product below cannot overflow.
    const double estimate =
        static_cast<double>(days) * static_cast<double>(slice) * static_cast<double>(rate) /
        (static_cast<double>(t.daysPerPd) * static_cast<double>(kRateSliceScale));
    if (!(std::fabs(estimate) < 2.0 * static_cast<double>(kSplitMaxCents))) return std::nullopt;
    const Int128 exact = Int128{days} * slice * rate;
    const Int128 scale = Int128{t.daysPerPd} * kRateSliceScale;
    const Int128 cents =
        (exact * kCurrencyPerCent + Int128{t.roundAdd} * scale) / (scale * kCurrencyPerCent);
    if (cents > kSplitMaxCents || cents < -kSplitMaxCents - 1) return std::nullopt;
    return static_cast<std::int64_t>(cents);
}

// One payment of an amortization, as the chart shows it.
struct PaymentStep {
    std::int32_t i = 0;
    Currency before = 0;  // balance at the start of the interval
    std::int64_t days = 0;
    IntervalInterest interest;
    Currency payment = 0;
    Currency owed = 0;   // before + interest - payment, not yet rounded
    Currency after = 0;  // owed rounded to whole cents
};

TrialResult Stop(TrialResult result, int sign, std::int32_t i) {
    result.inRange = false;
    result.overflowSign = sign;
    result.stoppedAt = i;
    return result;
}

// Amortizes `balance` payment by payment, handing each payment to
// `onPayment`; stops when an amount leaves the 32-bit cents.
template <class OnPayment>
TrialResult Amortize(const SplitTerms& t, Currency balance, const SplitPayments& payments,
                     OnPayment&& onPayment) {
    TrialResult result;
    result.balance = balance;
    for (std::int32_t i = 1; i <= t.count; ++i) {
        PaymentStep step;
        step.i = i;
        step.before = result.balance;
        step.days = IntervalDays(t, i);
        step.interest = InterestOfInterval(t, step.before, step.days);
        if (!step.interest.inRange) return Stop(result, step.interest.overflowSign, i);
        step.payment = PaymentOf(t, payments, i);
        step.owed = step.before + CentsToCurrency(step.interest.total) - step.payment;
        const std::int64_t cents = CurrencyToCentsTruncated(step.owed + t.roundAdd);
        if (!FitsCents(cents)) return Stop(result, cents < 0 ? -1 : 1, i);
        step.after = CentsToCurrency(cents);
        onPayment(step);
        result.balance = step.after;
    }
    return result;
}

// --- "Just Amortize" lines --------------------------------------------------------------

std::string PaymentLine(const SplitTerms& t, const SplitPayments& p, const PaymentStep& s,
                        const FormatSettings& fs) {
    std::string line;
    GetInteger(s.i, 4, line);
    line += " $ " + Column(9, ShownDollars(s.before), fs) + " + $ " +
            Column(7, CentsToDollars(s.interest.total), fs) + " - $ " +
            Column(7, ShownDollars(s.payment), fs) + " = $ " + Column(9, ShownDollars(s.owed), fs);
    const bool last = s.i == t.count;
    if (s.i == 1 && p.first != p.regular) line += " (Irregular Payment)";
    if (last && p.last != p.regular) line += " (Irregular Payment)";
    if (s.days != t.daysPerPd) line += " " + std::to_string(s.days) + " day interval";
    const std::int64_t afterCents = CurrencyToCentsTruncated(s.after);
    if (last && std::llabs(afterCents) > 1) line += afterCents < 1 ? ", OVERpaid." : ", UNDERpaid.";
    return line;
}

std::string StepLine(const SplitTerms& t, const IntervalInterest& interest,
                     const FormatSettings& fs) {
    std::string line = "   interest increment = ";
    for (int k = 1; k <= t.top; ++k) {
        if (k > 1) line += " + ";
        line += Column(6, CentsToDollars(interest.steps[static_cast<std::size_t>(k - 1)]), fs);
    }
    return line + " = $ " + Column(7, CentsToDollars(interest.total), fs);
}

ChartText ChartHeader(const SplitTerms& t) {
    const bool roundsDown = t.roundAdd < kCurrencyPerCent / 2;
    return {std::string(kSplitChartTitle),
            std::string(roundsDown ? kSplitRoundsDownLine : kSplitRoundsNearestLine),
            std::string(kSplitOddPaymentsLine), std::string(kSplitColumnsLine)};
}

// What every computing button does first: SplitIntegrity, the range of the
// amounts, Check, and (when asked) the warning about caps out of order.
std::optional<SplitTerms> PrepareComputation(SplitInputs& split, double RoundAdd, UserPort& port,
                                             std::vector<SplitBoxFill>& fills, bool warnCaps) {
    if (!SplitIntegrity(split, port)) return std::nullopt;
    if (std::optional<std::string> refusal =
            CheckSplitAmounts(split, TopStepOf(split.SplitSteps))) {
        port.Inform(*refusal);
        return std::nullopt;
    }
    const int top = Check(split.SplitSteps, port, fills);
    SplitTerms terms = MakeSplitTerms(split, RoundAdd, top);
    if (warnCaps && CapsFall(terms)) port.Warn(kSplitCapsNotRisingText);
    return terms;
}

void ReportFinalBalance(std::int32_t count, std::int64_t finalCents, ChartText& chart,
                        UserPort& port, const FormatSettings& fs) {
    if (finalCents == 0) return;
    if (count >= std::llabs(finalCents)) {
        chart.emplace_back(kSplitCloseEnoughLine);
        port.Inform(kSplitCloseEnoughText);
        return;
    }
    port.Inform(std::string(finalCents >= 0 ? "UnderPaid by " : "OverPaid by ") +
                CurrencyText(CentsToDollars(finalCents), fs) + "\n\r" +
                "You might adjust the Final Payment");
}

void ReportStop(std::int32_t i, SplitRun& run, UserPort& port) {
    const std::string where =
        "Payment # " + std::to_string(i) + " brings amounts beyond " + std::string(kMaxAmountText);
    run.chart.push_back("   " + where + ": the chart stops here.");
    port.Inform("Error: " + where + "\n\r" + "... so the amortization stops there");
    run.fills.push_back({SplitBox::edSplitInterest, "Pending"});
    run.fills.push_back({SplitBox::edFinal, "Pending"});
    run.outcome = SplitOutcome::Stopped;
}

SplitRun JustAmortizeRun(SplitInputs& split, double RoundAdd, UserPort& port,
                         const FormatSettings& fs, bool warnCaps) {
    SplitRun run;
    const std::optional<SplitTerms> terms =
        PrepareComputation(split, RoundAdd, port, run.fills, warnCaps);
    if (!terms) return run;
    const SplitTerms& t = *terms;
    const SplitPayments payments = SplitPaymentsOf(split);
    run.chartReplaced = true;
    run.chart = ChartHeader(t);
    std::int64_t totalCents = 0;
    const TrialResult result = Amortize(t, DollarsToCurrency(split.SplitPrincipal), payments,
                                        [&](const PaymentStep& step) {
                                            totalCents += step.interest.total;
                                            run.chart.push_back(PaymentLine(t, payments, step, fs));
                                            run.chart.push_back(StepLine(t, step.interest, fs));
                                        });
    if (!result.inRange) {
        ReportStop(result.stoppedAt, run, port);
        return run;
    }
    const std::int64_t finalCents = CurrencyToCentsTruncated(result.balance);
    ReportFinalBalance(t.count, finalCents, run.chart, port, fs);
    const double total = CentsToDollars(totalCents);
    run.chart.push_back("Total Interest = $ " + FloatToStr(total, fs));
    run.fills.push_back({SplitBox::edSplitInterest, CurrencyText(total, fs)});
    run.fills.push_back({SplitBox::edFinal, CurrencyText(CentsToDollars(finalCents), fs)});
    run.outcome = SplitOutcome::Amortized;
    return run;
}

// --- the searches -------------------------------------------------------------------------

// "46.10 Common Payment leaves ($0.43) Overpayment"
std::string TrialLine(Currency value, const TrialResult& r, std::string_view leaves,
                      const FormatSettings& fs) {
    std::string line = NumberText(value, fs) + std::string(leaves);
    const bool overpaid = r.inRange ? r.balance < 0 : r.overflowSign < 0;
    if (r.inRange) {
        line += CurrencyText(ShownDollars(r.balance), fs);
    } else {
        line += "an amount beyond " + std::string(kMaxAmountText);
    }
    return overpaid ? line + " Overpayment" : line;
}

// A balance is left over (positive), or the debt is repaid or overpaid.
bool LeavesBalance(const TrialResult& r) {
    return r.inRange ? r.balance > 0 : r.overflowSign > 0;
}

struct SearchResult {
    bool found = false;
    Currency value = 0;
};

// Of two neighbouring values, one leaving a balance and one not, the one
// whose final balance is nearer zero (on a tie, the one that repays); each
// must be at least a cent and its balance within range.
SearchResult Nearer(Currency lo, const TrialResult& rlo, Currency hi, const TrialResult& rhi) {
    const bool loUsable = lo >= kCurrencyPerCent && rlo.inRange;
    const bool hiUsable = hi >= kCurrencyPerCent && rhi.inRange;
    if (!loUsable && !hiUsable) return {};
    if (!loUsable) return {true, hi};
    if (!hiUsable) return {true, lo};
    const Currency offLo = std::llabs(rlo.balance);
    const Currency offHi = std::llabs(rhi.balance);
    if (offLo != offHi) return {true, offLo < offHi ? lo : hi};
    return {true, rlo.balance <= 0 ? lo : hi};
}

// Halves the whole-cent range from 0 to the largest amount, keeping a value
// that leaves a balance at one end and one that does not at the other, until
// the two are a cent apart. Nothing is found when both ends agree.
template <class TrialAt>
SearchResult Bracket(TrialAt trialAt, std::string_view leaves, ChartText& lines,
                     const FormatSettings& fs) {
    auto tryValue = [&](Currency value) {
        const TrialResult r = trialAt(value);
        lines.push_back(TrialLine(value, r, leaves, fs));
        return r;
    };
    Currency lo = 0;
    Currency hi = kMaxAmount;
    TrialResult rlo = tryValue(lo);
    TrialResult rhi = tryValue(hi);
    const bool loLeaves = LeavesBalance(rlo);
    if (LeavesBalance(rhi) == loLeaves) return {};
    while (hi - lo > kCurrencyPerCent) {
        const Currency mid = lo + (hi - lo) / (2 * kCurrencyPerCent) * kCurrencyPerCent;
        const TrialResult r = tryValue(mid);
        if (LeavesBalance(r) == loLeaves) {
            lo = mid;
            rlo = r;
        } else {
            hi = mid;
            rhi = r;
        }
    }
    return Nearer(lo, rlo, hi, rhi);
}

// The plain search: from `start`, each step moves the value by the residual
// (`plainStep`) until two values or the residual are within a cent. When it
// does not settle on a value of at least a cent (it returns to a value
// already tried, an amount leaves the range, or it runs out of steps), the
// value is found by halving on the same trials instead; so wherever the
// plain search settles, its value stands.
template <class TrialAt, class PlainStep>
SearchResult Search(std::int32_t count, Currency start, TrialAt trialAt, PlainStep plainStep,
                    std::string_view leaves, ChartText& lines, const FormatSettings& fs) {
    std::unordered_set<Currency> tried;
    Currency value = start;
    const std::int64_t maxSteps = PlainStepsFor(count);
    for (std::int64_t n = 0; n < maxSteps && tried.insert(value).second; ++n) {
        const TrialResult r = trialAt(value);
        lines.push_back(TrialLine(value, r, leaves, fs));
        if (!r.inRange) break;
        const std::optional<Currency> next = plainStep(value, r.balance);
        if (!next) break;
        const bool settled = std::llabs(value - *next) <= kCurrencyPerCent ||
                             std::llabs(r.balance) <= kCurrencyPerCent;
        if (settled) {
            if (*next >= kCurrencyPerCent) return {true, *next};
            break;
        }
        value = *next;
    }
    lines.emplace_back(kSplitBracketingLine);
    return Bracket(trialAt, leaves, lines, fs);
}

// Whole cents within range, as currency; nothing beyond it.
std::optional<Currency> CentsInRange(Int128 cents) {
    if (cents > kSplitMaxCents || cents < -kSplitMaxCents) return std::nullopt;
    return CentsToCurrency(static_cast<std::int64_t>(cents));
}

// The frame of both searching buttons: the checks, the search (its lines
// become the chart) and, when a value is found, `take` stores it and names
// the boxes to show it before "Just Amortize" runs with it and replaces the
// chart. One computation: the caps warning is given once, here.
template <class SearchFn, class Take>
SplitRun SearchThenAmortize(SplitInputs& split, double RoundAdd, UserPort& port,
                            const FormatSettings& fs, SearchFn search,
                            std::string_view notFoundText, Take take) {
    SplitRun run;
    const std::optional<SplitTerms> terms =
        PrepareComputation(split, RoundAdd, port, run.fills, true);
    if (!terms) return run;
    SplitSearch found = search(*terms);
    run.chartReplaced = true;
    run.chart = std::move(found.lines);
    if (!found.found) {
        port.Warn(notFoundText);
        run.outcome = SplitOutcome::NotFound;
        return run;
    }
    take(ShownDollars(found.value), run.fills);
    SplitRun amortized = JustAmortizeRun(split, RoundAdd, port, fs, false);
    run.outcome = amortized.outcome;
    if (amortized.chartReplaced) run.chart = std::move(amortized.chart);
    run.fills.insert(run.fills.end(), amortized.fills.begin(), amortized.fills.end());
    return run;
}

}  // namespace

SplitTerms MakeSplitTerms(const SplitInputs& split, double RoundAdd, int top) {
    SplitTerms t;
    t.count = split.SplitPayCount;
    t.top = top;
    t.firstPds = split.SplitFirstPds;
    t.firstExtra = split.SplitFirstExtra;
    const bool firstLine = SinglePaymentOnFirstLine(split);
    t.lastPds = firstLine ? split.SplitFirstPds : split.SplitLastPds;
    t.lastExtra = firstLine ? split.SplitFirstExtra : split.SplitLastExtra;
    t.daysPerPd = static_cast<std::int32_t>(std::lround(split.SplitDaysPerPd));
    for (int k = 0; k < top; ++k) {
        const SplitStep& step = split.SplitSteps[static_cast<std::size_t>(k)];
        t.steps[static_cast<std::size_t>(k)] = {DollarsToCurrency(step.Rate),
                                                DollarsToCurrency(step.Cap)};
    }
    t.roundAdd = RoundAddCurrency(RoundAdd);
    return t;
}

SplitPayments SplitPaymentsOf(const SplitInputs& split) {
    const double last = SinglePaymentOnFirstLine(split) ? split.SplitFirstPay : split.SplitLastPay;
    return {DollarsToCurrency(split.SplitRegPay), DollarsToCurrency(split.SplitFirstPay),
            DollarsToCurrency(last)};
}

std::optional<std::string> CheckSplitAmounts(const SplitInputs& split, int top) {
    std::string reason;
    const std::string beyond = " is beyond " + std::string(kMaxAmountText);
    if (split.SplitPayCount > kSplitMaxPayments) {
        reason = "More than " + FloatToStrF(kSplitMaxPayments, FloatStyle::Number, 15, 0) +
                 " Payments scheduled";
    } else if (!(split.SplitDaysPerPd >= 1 && split.SplitDaysPerPd <= 365)) {
        reason = "Common Interval has no length in days";
    } else if (!FitsAmount(split.SplitPrincipal)) {
        reason = "Principal" + beyond;
    } else if (!FitsAmount(split.SplitRegPay)) {
        reason = "Common Payment Amount" + beyond;
    } else if (!FitsAmount(split.SplitFirstPay)) {
        reason = "First Payment Amount" + beyond;
    } else if (!FitsAmount(split.SplitLastPay)) {
        reason = "Last Payment Amount" + beyond;
    }
    for (int k = 1; k <= top && reason.empty(); ++k) {
        const SplitStep& step = split.SplitSteps[static_cast<std::size_t>(k - 1)];
        if (!TryDollarsToCurrency(step.Rate)) {
            reason = StepLabel(k, false) + " is too large";
        } else if (k < top && !FitsAmount(step.Cap)) {  // the top step's cap is ignored
            reason = StepLabel(k, true) + beyond;
        }
    }
    if (reason.empty()) return std::nullopt;
    return "Error: " + reason + "\n\r" + "... so no computation done";
}

Currency PaymentOf(const SplitTerms& t, const SplitPayments& p, std::int32_t i) {
    if (i == t.count) return p.last;
    return i == 1 ? p.first : p.regular;
}

std::int64_t IntervalDays(const SplitTerms& t, std::int32_t i) {
    const std::int64_t perPd = t.daysPerPd;
    if (i == t.count) return t.lastPds * perPd + t.lastExtra;
    if (i == 1) return t.firstPds * perPd + t.firstExtra;
    return perPd;
}

IntervalInterest InterestOfInterval(const SplitTerms& t, Currency balance, std::int64_t days) {
    IntervalInterest interest;
    for (int k = t.top; k >= 1; --k) {
        const ExactStep& step = t.steps[static_cast<std::size_t>(k - 1)];
        const Currency floor = k == 1 ? 0 : t.steps[static_cast<std::size_t>(k - 2)].cap;
        if (balance <= floor) continue;
        // The top step takes every dollar above its floor, whatever its cap.
        const Currency slice = (k == t.top ? balance : std::min(balance, step.cap)) - floor;
        const std::optional<std::int64_t> cents = StepInterest(t, slice, step.rate, days);
        if (!cents) {
            interest.inRange = false;
            const bool negative = ((slice < 0) != (step.rate < 0)) != (days < 0);
            interest.overflowSign = negative ? -1 : 1;
            return interest;
        }
        interest.steps[static_cast<std::size_t>(k - 1)] = *cents;
        interest.total += *cents;
    }
    return interest;
}

TrialResult Trial(const SplitTerms& terms, Currency balance, const SplitPayments& payments) {
    return Amortize(terms, balance, payments, [](const PaymentStep&) {});
}

int Check(std::array<SplitStep, 6>& steps, UserPort& port, std::vector<SplitBoxFill>& fills) {
    const int top = TopStepOf(steps);
    if (top == 0) return 0;
    double& cap = steps[static_cast<std::size_t>(top - 1)].Cap;
    const std::optional<Currency> exact = TryDollarsToCurrency(cap);
    const bool low = exact ? *exact < kTopCapAtLeast : !(cap > 0);
    if (low) {
        port.Inform(kSplitTopCapText);
        cap = kTopCapDollars;
        if (top <= 4) fills.push_back({CapBox(top), std::string(kSplitTopCapBoxText)});
    }
    return top;
}

std::int64_t PlainStepsFor(std::int32_t count) {
    return std::clamp<std::int64_t>(kSplitSearchWork / std::max<std::int32_t>(1, count), 1,
                                    kSplitMaxPlainSteps);
}

bool CapsFall(const SplitTerms& t) {
    Currency floor = 0;
    // The top step's cap bounds nothing, so only the caps below it count.
    for (int k = 1; k < t.top; ++k) {
        const Currency cap = t.steps[static_cast<std::size_t>(k - 1)].cap;
        if (cap < floor) return true;
        floor = cap;
    }
    return false;
}

SplitRun JustAmortize(SplitInputs& split, double RoundAdd, UserPort& port,
                      const FormatSettings& fs) {
    return JustAmortizeRun(split, RoundAdd, port, fs, true);
}

SplitSearch SearchCommonPayment(const SplitTerms& terms, Currency principal, Currency start,
                                const FormatSettings& fs) {
    ChartText lines{std::string(kSplitPaymentSearchTitle)};
    auto trialAt = [&terms, principal](Currency pay) {
        return Trial(terms, principal, SplitPayments{pay, pay, pay});
    };
    // P x (R / principal + 1), cut to whole cents.
    auto plainStep = [principal](Currency pay, Currency residual) {
        return CentsInRange(Int128{pay} * (Int128{residual} + principal) /
                            (Int128{principal} * kCurrencyPerCent));
    };
    const SearchResult found =
        Search(terms.count, start, trialAt, plainStep, " Common Payment leaves ", lines, fs);
    return {found.found, found.value, std::move(lines)};
}

SplitSearch SearchPrincipal(const SplitTerms& terms, const SplitPayments& payments, Currency start,
                            const FormatSettings& fs) {
    ChartText lines{std::string(kSplitPrincipalSearchTitle)};
    auto trialAt = [&terms, &payments](Currency principal) {
        return Trial(terms, principal, payments);
    };
    // A - R, cut to whole cents.
    auto plainStep = [](Currency principal, Currency residual) {
        return CentsInRange(CurrencyToCentsTruncated(principal - residual));
    };
    const SearchResult found =
        Search(terms.count, start, trialAt, plainStep, " Principal leaves ", lines, fs);
    return {found.found, found.value, std::move(lines)};
}

SplitRun MatchCommonPayment(SplitInputs& split, double RoundAdd, UserPort& port,
                            const FormatSettings& fs) {
    return SearchThenAmortize(
        split, RoundAdd, port, fs,
        [&split, &fs](const SplitTerms& t) {
            return SearchCommonPayment(t, DollarsToCurrency(split.SplitPrincipal),
                                       DollarsToCurrency(split.SplitRegPay), fs);
        },
        kSplitNoPaymentFoundText,
        [&](double pay, std::vector<SplitBoxFill>& fills) {
            port.Inform("Regular Payment should be " + CurrencyText(pay, fs));
            split.SplitRegPay = split.SplitFirstPay = split.SplitLastPay = pay;
            const std::string text = FloatToStr(pay, fs);
            for (SplitBox box :
                 {SplitBox::edSplitRegPay, SplitBox::edSplit1stPay, SplitBox::edSplitlastPay})
                fills.push_back({box, text});
        });
}

SplitRun MatchPrincipal(SplitInputs& split, double RoundAdd, UserPort& port,
                        const FormatSettings& fs) {
    return SearchThenAmortize(
        split, RoundAdd, port, fs,
        [&split, &fs](const SplitTerms& t) {
            return SearchPrincipal(t, SplitPaymentsOf(split),
                                   DollarsToCurrency(split.SplitPrincipal), fs);
        },
        kSplitNoPrincipalFoundText,
        [&](double principal, std::vector<SplitBoxFill>& fills) {
            port.Inform("Principal should be " + CurrencyText(principal, fs));
            split.SplitPrincipal = principal;
            fills.push_back({SplitBox::edSplitAmtFin, FloatToStr(principal, fs)});
        });
}

}  // namespace qv
