// The chart page's payment grid and the amortization chart text.
#include "chart/amortization.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>

#include "core/interest.h"
#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {
namespace {

// n(n+1)/2, the Rule of 78s weight of n remaining payments. Worked in 64
// bits: the same as 32-bit arithmetic for every count a schedule can hold,
// without overflow for the counts a user may type.
std::int64_t SumOfDigits(std::int64_t n) {
    return n * (n + 1) / 2;
}

// Share of the finance charge still to be rebated with `remaining` payments
// left. Past the stated count (more payments in the groups than PayCount)
// nothing remains to be rebated, and with no payments stated (SD = 0) there is
// no share to take.
double RebateShare(double amount, std::int64_t remaining, std::int64_t sd) {
    if (sd <= 0 || remaining <= 0) return 0.0;
    return amount * static_cast<double>(SumOfDigits(remaining)) / static_cast<double>(sd);
}

// The addend of the chart's cent roundings. RoundAdd is 0.5 (to the nearest
// cent) or 0 (down) in the program; the chart is reusable, so any other
// value is held within 0..1, NaN counting as to the nearest cent.
double CentAddend(double RoundAdd) {
    return std::isnan(RoundAdd) ? 0.5 : std::clamp(RoundAdd, 0.0, 1.0);
}

// a / b rounded toward minus infinity, for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// A dollar amount as currency, held inside the currency range (NaN counts as 0).
Currency ClampedCurrency(double dollars) {
    if (std::isnan(dollars)) return 0;
    return DollarsToCurrency(std::clamp(dollars, -kMaxCurrencyDollars, kMaxCurrencyDollars));
}

// The chart's sums saturate at the ends of the currency range instead of
// overflowing; only absurd amounts ever reach them.
Currency Add(Currency a, Currency b) {
    return SaturatedSum(a, b);
}
Currency Sub(Currency a, Currency b) {
    return SaturatedDifference(a, b);
}
Currency Abs(Currency a) {
    return a == std::numeric_limits<Currency>::min() ? std::numeric_limits<Currency>::max()
                                                     : std::abs(a);
}

Currency WholeCents(Currency c) {
    return CentsToCurrency(CurrencyToCentsTruncated(c));
}

// A payment rounded to 4 decimals, as the grid shows it; an amount beyond the
// currency range is kept as it is.
double RoundedTo4(double dollars) {
    auto c = TryDollarsToCurrency(dollars);
    return c ? CurrencyToDollars(*c) : dollars;
}

// Notes successive values and remembers whether any differed from the one
// before it. The first nonzero value starts the comparison.
class SameAsBefore {
  public:
    void Next(double value) {
        if (previous_ == 0) previous_ = value;
        if (value != previous_) differs_ = true;
        previous_ = value;
    }
    bool Differs() const { return differs_; }

  private:
    double previous_ = 0;
    bool differs_ = false;
};

// The grid's money is held as currency, so that the finance charge still to
// be earned is cut to the cent from its exact amount: in binary floating
// point 100.00 less the interest earned can fall a hair short of a whole cent
// and lose it to the truncation.
class DetailFiller {
  public:
    DetailFiller(const LoanTerms& loan, TMemDataSet& detail)
        : loan_(loan),
          detail_(detail),
          fc_(ClampedCurrency(CurrencyToDollars(loan.TotPay) - loan.AmtFin)),
          balance_(ClampedCurrency(loan.AmtFin)),
          roundAdd_(CentAddend(loan.RoundAdd)),
          remaining_(loan.PayCount),
          sd_(SumOfDigits(loan.PayCount)),
          sequence_(detail.Field("Sequence")),
          paySize_(detail.Field("PaySize")),
          priorPds_(detail.Field("PriorPds")),
          addDays_(detail.Field("AddDays")),
          unearned_(detail.Field("UnEarnIn")),
          rebate_(detail.Field("Rebate")) {}

    // Adds the rows of one group; false once the schedule's limit is reached
    // with payments left over.
    bool AddGroup(const PayGroup& g) {
        for (std::int32_t s = 0; s < g.SetSize; ++s) {
            if (rows_ == kMaxPayments) return false;
            AddPayment(g);
        }
        return true;
    }

    int Rows() const { return rows_; }
    bool Irregular() const { return payments_.Differs() || intervals_.Differs(); }

  private:
    void AddPayment(const PayGroup& g) {
        ++rows_;
        --remaining_;
        const std::int64_t rebateCents = Rule78RebateCents(fc_, remaining_, sd_);
        const Currency interest =
            ComputeInt(g.PriorPds, g.AddDays, loan_.DaysPerPd, loan_.PerDiem, loan_.APR,
                       loan_.PdsPerYear, CurrencyToDollars(balance_), 2, roundAdd_, silent_);
        const double interestCents = static_cast<double>(CurrencyToCentsTruncated(interest));
        earned_ =
            Add(earned_,
                CentsToCurrency(static_cast<std::int64_t>(std::trunc(interestCents + roundAdd_))));
        balance_ = Sub(Add(balance_, interest), ClampedCurrency(g.PaySize));

        payments_.Next(std::trunc(g.PaySize * 100.0 + 0.5));
        const double oddPart =
            loan_.DaysPerPd > 0 ? static_cast<double>(g.AddDays) / loan_.DaysPerPd : 0.0;
        const double interval = RoundedTo4(oddPart + g.PriorPds);
        intervals_.Next(std::trunc(1000.0 * interval + 0.5));

        detail_.AppendNew();
        detail_.SetFieldInteger(sequence_, rows_);
        detail_.SetFieldFloat(paySize_, RoundedTo4(g.PaySize));
        detail_.SetFieldInteger(priorPds_, g.PriorPds);
        detail_.SetFieldInteger(addDays_, g.AddDays);
        // The unearned charge is cut to the cent; the rebate is always
        // rounded to the nearest cent, whatever the amortization's rounding.
        detail_.SetFieldFloat(unearned_,
                              CentsToDollars(CurrencyToCentsTruncated(Sub(fc_, earned_))));
        detail_.SetFieldFloat(rebate_, CentsToDollars(rebateCents));
        detail_.Post();
    }

    // ComputeInt speaks only for a number of places other than 0..4.
    RecordingUserPort silent_;
    const LoanTerms& loan_;
    TMemDataSet& detail_;
    Currency fc_;
    Currency balance_;
    Currency earned_ = 0;
    double roundAdd_;
    std::int64_t remaining_;
    std::int64_t sd_;
    int rows_ = 0;
    SameAsBefore payments_;
    SameAsBefore intervals_;
    // Looked up once for the whole schedule: a lookup by name costs more
    // than the value it writes.
    TMemDataSet::FieldHandle sequence_, paySize_, priorPds_, addDays_, unearned_, rebate_;
};

// Fills `detail` (already inside an update) and reports into `out`.
void FillRows(const ComputedSchedule& computed, TMemDataSet& detail, bool showRebates,
              DetailFill& out) {
    EmptyTable(detail);
    DetailFiller filler(computed.loan, detail);
    for (const PayGroup& group : computed.groups) {
        if (!filler.AddGroup(group)) {
            out.cut = true;
            break;
        }
    }
    out.filled = true;
    out.rows = filler.Rows();
    out.irregular = filler.Irregular();
    if (out.cut)
        out.messages.push_back({MessageKind::Information, std::string(kDetailRowsCutText)});
    if (out.irregular && showRebates)
        out.messages.push_back({MessageKind::Information, std::string(kRuleOf78sUndefinedText)});
}

std::string Field(int width, double x, const FormatSettings& fs) {
    std::string s;
    MyFormatFloat(width, s, x, fs);
    return s;
}

std::string CurrencyField(Currency c, const FormatSettings& fs) {
    return Field(-11, CurrencyToDollars(c), fs);
}

std::string CurrencyTotal(Currency c, const FormatSettings& fs) {
    return FloatToStrF(CurrencyToDollars(c), FloatStyle::Money, 10, 2, fs);
}

}  // namespace

std::string_view RoundingCaption(double RoundAdd) {
    return RoundAdd < 0.5 ? kRoundsDownCaption : kRoundsNearestCaption;
}

ComputedSchedule CaptureComputedSchedule(const LoanTerms& loan, TMemDataSet& paySet) {
    ComputedSchedule computed{loan, {}};
    computed.groups.reserve(static_cast<std::size_t>(paySet.Count()));
    TableWalk walk(paySet);
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext())
        computed.groups.push_back(ReadPayGroup(paySet));
    return computed;
}

std::int64_t Rule78RebateCents(Currency FC, std::int64_t remaining, std::int64_t SD) {
    if (SD <= 0 || remaining <= 0) return 0;
    const std::int64_t weight = SumOfDigits(remaining);
    // FC is in ten-thousandths: cents = floor(FC x weight / SD / 100 + 1/2)
    // = floor((2 FC weight + 100 SD) / (200 SD)), worked exactly in 64 bits
    // while it fits, which is every schedule a user can enter.
    std::int64_t twice = 0;
    std::int64_t half = 0;
    std::int64_t numerator = 0;
    std::int64_t denominator = 0;
    if (!__builtin_mul_overflow(FC, 2 * weight, &twice) &&
        !__builtin_mul_overflow(SD, std::int64_t{100}, &half) &&
        !__builtin_add_overflow(twice, half, &numerator) &&
        !__builtin_mul_overflow(SD, std::int64_t{200}, &denominator))
        return FloorDiv(numerator, denominator);
    const long double share = static_cast<long double>(FC) * static_cast<long double>(weight) /
                              static_cast<long double>(SD) / 100.0L;
    return static_cast<std::int64_t>(std::floor(share + 0.5L));
}

ChartEntryStep FirstChartEntryStep(const LoanTerms& loan, const TMemDataSet& paySet) {
    if (paySet.Count() == 0 && loan.ScheduleSource != kSourceSplit) return ChartEntryStep::Beep;
    if (loan.ScheduleSource == kSourceRegular) return ChartEntryStep::RecomputeRegular;
    if (loan.ScheduleSource == kSourceIrregular) return ChartEntryStep::RecomputeIrregular;
    return ChartEntryStep::FillGrid;
}

InputErrorRoute RouteAfterInputError(std::int32_t ScheduleSource) {
    switch (ScheduleSource) {
        case kSourceNone:
            return InputErrorRoute::tabAbout;
        case kSourceTolerance:
            return InputErrorRoute::tabIntro;
        case kSourceRegular:
            return InputErrorRoute::TabSimple;
        case kSourceIrregular:
            return InputErrorRoute::tabEstimate;
        case kSourceSplit:
            return InputErrorRoute::tabEdit;
        default:
            return InputErrorRoute::CorrectErrorsMessage;
    }
}

void DefineDetailTable(TMemDataSet& table) {
    DefineTable(table,
                {"Sequence;3;0;1", "PaySize;6;0;0", "PriorPds;3;0;0", "AddDays;3;0;0",
                 "UnEarnIn;6;0;0", "Rebate;6;0;0"},
                "Sequence");
}

DetailFill FillDetailRows(const ComputedSchedule& computed, TMemDataSet& detail,
                          bool showRebates) noexcept {
    DetailFill out;
    detail.BeginUpdate();
    try {
        FillRows(computed, detail, showRebates, out);
    } catch (const std::exception& e) {
        out = DetailFill{};
        out.messages.push_back({MessageKind::Warning, e.what()});
    } catch (...) {
        out = DetailFill{};
    }
    if (!out.filled) {
        // No row of a schedule that could not be read completely stays behind.
        try {
            EmptyTable(detail);
        } catch (...) {
        }
    }
    try {
        detail.EndUpdate();
    } catch (...) {
        // An observer that fails to refresh must not take the page entry down.
    }
    return out;
}

ChartEntryOutcome FinishChartEntry(ChartEntryStep step, LoanTerms& loan,
                                   const ChartEntrySchedule& schedule, TMemDataSet& detail,
                                   bool showRebates, ChartEntryWindow& window, UserPort& port) {
    if (step == ChartEntryStep::Beep) {
        window.Beep();
        return ChartEntryOutcome::Beeped;
    }
    if (schedule.aprInputError) {
        port.Inform(kInputErrorInScheduleText);
        const InputErrorRoute route = RouteAfterInputError(loan.ScheduleSource);
        if (route == InputErrorRoute::CorrectErrorsMessage)
            port.Inform(kCorrectErrorsText);
        else
            window.ShowPage(route);
        return ChartEntryOutcome::InputError;
    }
    const ComputedSchedule* computed = schedule.computed;
    if (computed == nullptr) {
        // The split-rate page's chart is text only: its user came to read it,
        // not to be sent off to compute an APR.
        if (loan.ScheduleSource != kSourceSplit) port.Inform(kNothingComputedText);
        return ChartEntryOutcome::NothingComputed;
    }

    loan.ScheduleSource = kSourceNone;
    // The unearned charge is amortized with the rounding in force now.
    ComputedSchedule current = *computed;
    current.loan.RoundAdd = loan.RoundAdd;
    window.SetWindowEnabled(false);
    const DetailFill fill = FillDetailRows(current, detail, showRebates);
    window.SetWindowEnabled(true);
    ShowMessages(port, fill.messages);
    return fill.filled ? ChartEntryOutcome::Filled : ChartEntryOutcome::FillFailed;
}

std::int32_t ChartedPaymentCount(const LoanTerms& loan) {
    const std::int32_t stated = std::clamp(loan.PayCount, 0, kMaxPayments);
    // Every payment the expansion writes lies some time after the start, so
    // an all-zero entry is one it did not reach.
    for (std::int32_t k = 1; k <= stated; ++k) {
        if (loan.PayMatrix[static_cast<size_t>(k)] == PayEntry{}) return k - 1;
    }
    return stated;
}

namespace {

// The chart of `loan`'s matrix; `havePayments` false says kNoPaymentSetText.
ChartResult AppendChart(const LoanTerms& loan, bool havePayments, const ChartOptions& options,
                        ChartText& chart, UserPort& port, const FormatSettings& fs) {
    ChartResult result;
    result.caption = RoundingCaption(loan.RoundAdd);
    if (!havePayments) {
        port.Inform(kNoPaymentSetText);
        result.outcome = ChartOutcome::NoPaymentSet;
        return result;
    }
    if (loan.PayMatrix[1].PayCents < 1) {
        result.outcome = ChartOutcome::FirstPaymentUnderCent;
        return result;
    }

    ChartText lines;
    lines.push_back("--- Amortization at " + FloatToStr(loan.APR, fs) + "% APR ----");
    if (loan.PerDiem)
        lines.push_back("Note: this Chart assumes \"per-diem\" interest.");
    else
        lines.push_back("    using " + std::to_string(loan.DaysPerPd) + " days/period & " +
                        FloatToStr(loan.PdsPerYear, fs) + " periods/year");
    if (options.showRebates)
        lines.push_back("  Rebates ignore irregular payment intervals & final imbalance");
    lines.push_back(result.caption);
    lines.push_back(std::string("Pay#|OldBalance| +Interest| -Payment | = NewBal.") +
                    (options.showRebates ? "|Int.Earned|R.78 Rebate" : ""));

    const std::int32_t count = ChartedPaymentCount(loan);
    const std::int64_t sd = SumOfDigits(count);
    const int places = options.fractionalInterest ? 4 : 2;
    const double roundAdd = CentAddend(loan.RoundAdd);
    Currency balance = ClampedCurrency(loan.AmtFin);
    Currency total = 0;
    Currency adjustment = 0;
    Currency earned = 0;
    std::int64_t remaining = count;

    // The rebates share out what the payments of the matrix bring in beyond
    // the amount financed.
    double fcCents = 0.0;
    if (options.showRebates) {
        std::int64_t paid = 0;
        for (std::int32_t k = 1; k <= count; ++k)
            paid += loan.PayMatrix[static_cast<size_t>(k)].PayCents;
        fcCents = static_cast<double>(Sub(CentsToCurrency(paid), balance)) / 100.0;
    }

    for (std::int32_t i = 1; i <= count; ++i) {
        const PayEntry& entry = loan.PayMatrix[static_cast<size_t>(i)];
        const Currency interest =
            ComputeInt(entry.PriorPds, entry.AddDays, loan.DaysPerPd, loan.PerDiem, loan.APR,
                       loan.PdsPerYear, CurrencyToDollars(balance), places, roundAdd, port);
        Currency payment = CentsToCurrency(entry.PayCents);
        const Currency owed = Add(balance, interest);
        // The last payment takes up whatever the rounding of the interest
        // left over, so that the balance ends at zero; a balance under half
        // a cent is left alone.
        if (i == count && Abs(Sub(owed, payment)) > 49) {
            const Currency settled = places == 2 ? interest : WholeCents(interest);
            adjustment = Sub(Add(balance, settled), payment);
            payment = Add(payment, adjustment);
        }
        const Currency newBalance = Sub(owed, payment);

        std::string line;
        MyFormatInteger(i, 5, line, fs);
        line += CurrencyField(balance, fs);
        line +=
            places == 2 ? CurrencyField(interest, fs) : Field(11, CurrencyToDollars(interest), fs);
        line += CurrencyField(payment, fs);
        line += CurrencyField(newBalance, fs);
        balance = newBalance;

        if (options.showRebates) {
            --remaining;
            const double rebateCents = std::trunc(RebateShare(fcCents, remaining, sd) + roundAdd);
            earned = Add(earned, WholeCents(interest));
            line += CurrencyField(earned, fs);
            line += Field(-11, rebateCents / 100.0, fs);
        }
        total = Add(total, payment);
        lines.push_back(std::move(line));
    }

    lines.push_back(
        "Total of Payments = " + CurrencyTotal(total, fs) +
        (options.roundDown ? ", rounding down to whole cent." : ", rounding to closest cent."));
    if (Abs(adjustment) >= 100)
        lines.push_back("  Final payment adjusted by " + CurrencyTotal(adjustment, fs) +
                        " to match desired Total of Payments");

    result.payments = count;
    chart.insert(chart.end(), std::make_move_iterator(lines.begin()),
                 std::make_move_iterator(lines.end()));
    return result;
}

}  // namespace

ChartResult AppendAmortizationChart(const LoanTerms& loan, const TMemDataSet& paySet,
                                    const ChartOptions& options, ChartText& chart, UserPort& port,
                                    const FormatSettings& fs) {
    const bool havePayments = paySet.Count() != 0 || loan.ScheduleSource == kSourceSplit;
    return AppendChart(loan, havePayments, options, chart, port, fs);
}

ChartResult AppendAmortizationChart(const ComputedSchedule* computed, double RoundAdd,
                                    const ChartOptions& options, ChartText& chart, UserPort& port,
                                    const FormatSettings& fs) {
    LoanTerms loan = computed != nullptr ? computed->loan : LoanTerms{};
    loan.RoundAdd = RoundAdd;
    return AppendChart(loan, computed != nullptr, options, chart, port, fs);
}

}  // namespace qv
