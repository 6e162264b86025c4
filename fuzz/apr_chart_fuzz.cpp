// Fuzz target: arbitrary schedules through the whole APR computation, then
// the chart page's grid rows and the amortization chart text.
//
// Input (every field read from the next bytes; see Read* below): the
// settings (ten-pass, log, per diem, interval or an arbitrary unit period,
// the rounding addend), up to 20 payment groups with sizes, payments, periods
// and days from the ordinary to the extreme, the amount financed, the Total
// of Payments and the count (each either consistent with the groups or
// arbitrary), the chart's switches and, for a chart of a failed computation,
// an APR.
//
// Properties: no sanitizer finding; no text of the report, the chart or a
// message shows "INF" or "NAN"; a computed APR is finite, rounded to 3
// decimals, and a true solution: the amounts implied just below and just
// above it (by the stopping tolerance and half a thousandth) lie on either
// side of the amount financed; the grid holds one row per payment up to 485;
// every chart line of a payment is at least 49 characters wide (71 with
// rebates), wider only where an amount does not fit its column.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "chart/amortization.h"
#include "core/apr_engine.h"
#include "core/pay_group.h"
#include "core/pay_schedule.h"
#include "data/memdset.h"
#include "fuzz_input.h"
#include "schedule/group_schedule.h"
#include "schedule/regular_schedule.h"

namespace {

using namespace qv;
using fuzz::Check;
using fuzz::FuzzInput;

constexpr int kMaxGroups = 20;

double ExtremeDouble(FuzzInput& in) {
    static const double kEdges[] = {0.0,
                                    -0.0,
                                    1e-9,
                                    0.005,
                                    0.01,
                                    kMaxCurrencyDollars,
                                    -kMaxCurrencyDollars,
                                    922'337'203'685'478.0,
                                    1e300,
                                    1.7976931348623157e308,
                                    -1e300,
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN()};
    return in.Bool() ? in.Pick(kEdges) : in.AnyDouble();
}

std::int32_t ExtremeInt(FuzzInput& in) {
    static const std::int32_t kEdges[] = {0,
                                          -1,
                                          1,
                                          485,
                                          486,
                                          std::numeric_limits<std::int32_t>::max(),
                                          std::numeric_limits<std::int32_t>::min()};
    return in.Bool() ? in.Pick(kEdges) : in.Integral<std::int32_t>();
}

// Ordinary most of the time (one selector byte: 0..191), extreme otherwise.
bool Ordinary(FuzzInput& in) {
    return in.Byte() < 192;
}

double Dollars(FuzzInput& in) {
    if (Ordinary(in)) return static_cast<double>(in.Between(-100, 10'000'000)) / 100.0;
    return ExtremeDouble(in);
}

void ReadUnitPeriod(FuzzInput& in, LoanState& state) {
    const int item = in.Byte() % 8;
    if (const auto interval = IntervalOfItem(item)) {
        SetBasePeriod(state.loan, interval);
        return;
    }
    state.loan.DaysPerPd = Ordinary(in) ? in.Int32Between(-2, 400) : ExtremeInt(in);
    state.loan.PdsPerYear =
        Ordinary(in) ? static_cast<double>(in.Between(-1, 400)) : ExtremeDouble(in);
}

PayGroup ReadGroup(FuzzInput& in, std::int32_t sequence) {
    PayGroup g;
    g.Sequence = sequence;
    g.SetSize = Ordinary(in) ? in.Int32Between(-1, 40) : ExtremeInt(in);
    g.PaySize = Dollars(in);
    g.PriorPds = Ordinary(in) ? in.Int32Between(-1, 13) : ExtremeInt(in);
    g.AddDays = Ordinary(in) ? in.Int32Between(-5, 400) : ExtremeInt(in);
    return g;
}

struct Schedule {
    std::int64_t count = 0;
    Currency total = 0;
    bool totalHeld = true;
};

// Appends the groups the table takes (it refuses a payment that is not
// finite) and adds up what was taken, as the pages do.
Schedule FillPaySet(FuzzInput& in, TMemDataSet& paySet) {
    Schedule s;
    const int groups = in.Byte() % (kMaxGroups + 1);
    for (int k = 1; k <= groups; ++k) {
        const PayGroup g = ReadGroup(in, k);
        try {
            AppendPayGroup(paySet, g);
            paySet.Post();
        } catch (const EMemDatasetError&) {
            continue;
        }
        s.count += g.SetSize;
        const auto total = CheckedSumOfPayments(s.total, g.SetSize, DollarsToCurrency(g.PaySize));
        s.totalHeld = s.totalHeld && total.has_value();
        s.total = total.value_or(0);
    }
    return s;
}

void ReadLoan(FuzzInput& in, LoanState& state, const Schedule& s) {
    const double total = s.totalHeld ? CurrencyToDollars(s.total) : 0.0;
    switch (in.Byte() % 4) {
        case 0:  // a share of the total (1/256 to all of it), as most loans have
            state.loan.AmtFin = std::round(total * (in.Byte() + 1) / 2.56) / 100.0;
            break;
        case 1:
            state.loan.AmtFin = Dollars(in);
            break;
        case 2:
            state.loan.AmtFin = ExtremeDouble(in);
            break;
        default:
            state.loan.AmtFin = total + Dollars(in);
            break;
    }
    state.loan.TotPay = in.Bool() ? (s.totalHeld ? s.total : kCurrencyTooLarge)
                                  : (in.Bool() ? in.Integral<std::int64_t>()
                                               : DollarsToCurrency(ExtremeDouble(in)));
    state.loan.PayCount =
        in.Bool()
            ? static_cast<std::int32_t>(std::clamp<std::int64_t>(s.count, INT32_MIN, INT32_MAX))
            : ExtremeInt(in);
}

void CheckNoNonFinite(const ChartText& lines, const RecordingUserPort& port, const char* where) {
    for (const std::string& line : lines)
        Check(!fuzz::ShowsNonFinite(line), "no line shows INF or NAN",
              std::string(where) + ": " + line);
    for (const std::string& text : port.Texts())
        Check(!fuzz::ShowsNonFinite(text), "no message shows INF or NAN",
              std::string(where) + ": " + text);
}

double Gap(const LoanState& state, double apr) {
    return ImpliedAmtFin(state.loan, state.loan.DaysPerPd, state.loan.PayCount,
                         state.loan.PdsPerYear, apr) -
           state.loan.AmtFin;
}

// The gap at `apr`, or, where the implied amount is not defined there (a
// discount factor at or below zero), at the rate nearest to the edge of
// where it is, between `apr` and `toward`, found by bisection down to
// neighbouring doubles: an absurd unit period can put the edge within 1e-200
// of a defined rate.
double DefinedGap(const LoanState& state, double apr, double toward) {
    if (!std::isnan(Gap(state, apr))) return Gap(state, apr);
    double undefined = apr;
    double defined = toward;
    for (int k = 0; k < 2200; ++k) {
        const double mid = undefined + (defined - undefined) / 2;
        if (mid == undefined || mid == defined) break;
        (std::isnan(Gap(state, mid)) ? undefined : defined) = mid;
    }
    return Gap(state, defined);
}

// The side of the amount financed a gap lies on. The implied amount moves in
// whole ten-thousandths of a dollar: a gap within half of one is no gap.
int Side(double gap) {
    return std::fabs(gap) < 0.00005 ? 0 : (gap > 0 ? 1 : -1);
}

// True when the implied amount meets the amount financed somewhere within
// `reach` of `apr`: on it at a sample, or on both sides of it. The ends are
// tried first; a schedule whose implied amount is not monotone (payments of
// both signs, intervals below zero) may only touch the amount financed in
// between, so then the stretch is sampled.
bool MeetsWithin(const LoanState& state, double apr, double reach) {
    const double below = DefinedGap(state, apr - reach, apr);
    const double above = DefinedGap(state, apr + reach, apr);
    if (std::isnan(below) || std::isnan(above)) return false;
    if (Side(below) * Side(above) <= 0) return true;
    constexpr int kSamples = 64;
    for (int k = 1; k < kSamples; ++k) {
        const double gap = Gap(state, apr - reach + 2 * reach * k / kSamples);
        if (!std::isnan(gap) && Side(gap) != Side(below)) return true;
    }
    return false;
}

void CheckComputedRate(const LoanState& state, const AprSettings& settings) {
    const std::string apr = std::to_string(state.loan.APR);
    Check(std::isfinite(state.loan.APR), "a computed APR is finite", apr);
    Check(std::fabs(state.loan.APR * 1000.0 - std::round(state.loan.APR * 1000.0)) <
              1e-6 * std::max(1.0, std::fabs(state.loan.APR)),
          "a computed APR is rounded to 3 decimals", apr);
    // Within the stopping tolerance and the roundings: of the rate to 3
    // decimals, and of the implied amount to ten-thousandths of a dollar,
    // which the secant step sees as steps; on a loan of a few cents one
    // such step spans thousandths of a percent.
    const double slope = std::fabs(DefinedGap(state, state.loan.APR + 0.1, state.loan.APR) -
                                   DefinedGap(state, state.loan.APR - 0.1, state.loan.APR)) /
                         0.2;
    const double amountSteps = slope > 0 ? std::min(2 * 0.0001 / slope, 0.1) : 0.1;
    const double reach = AprTolerance(settings) + 0.0005 + amountSteps;
    Check(MeetsWithin(state, state.loan.APR, reach),
          "a computed APR is a true solution of the schedule",
          apr + " within " + std::to_string(reach));
}

void CheckGrid(const LoanState& state, TMemDataSet& paySet, TMemDataSet& detail, bool showRebates) {
    const DetailFill fill =
        FillDetailRows(CaptureComputedSchedule(state.loan, paySet), detail, showRebates);
    for (const PendingMessage& m : fill.messages)
        Check(!fuzz::ShowsNonFinite(m.text), "no grid message shows INF or NAN", m.text);
    if (!fill.filled) {
        Check(detail.Count() == 0, "a failed fill leaves no rows");
        return;
    }
    Check(fill.rows >= 0 && fill.rows <= kMaxPayments && detail.Count() == fill.rows,
          "the grid holds one row per payment, up to 485");
    for (detail.MoveFirst(); !detail.AtEnd(); detail.MoveNext()) {
        for (const char* field : {"PaySize", "UnEarnIn", "Rebate"}) {
            Check(!fuzz::ShowsNonFinite(detail.FieldAsString(field)), "grid cells are numbers",
                  detail.FieldAsString(field));
        }
    }
}

void CheckChart(const LoanState& state, const TMemDataSet& paySet, const ChartOptions& options) {
    ChartText chart;
    RecordingUserPort port;
    const ChartResult result = AppendAmortizationChart(state.loan, paySet, options, chart, port);
    CheckNoNonFinite(chart, port, "chart");
    if (result.outcome != ChartOutcome::Appended) {
        Check(chart.empty(), "a chart that is not made appends nothing");
        return;
    }
    const auto header = std::find_if(chart.begin(), chart.end(), [](const std::string& line) {
        return line.rfind("Pay#|", 0) == 0;
    });
    Check(header != chart.end(), "the chart has its column header");
    const std::size_t width = options.showRebates ? 71 : 49;
    const auto first = header + 1;
    Check(chart.end() - first > result.payments, "the payment lines end with the total line");
    for (auto line = first; line != first + result.payments; ++line)
        Check(line->size() >= width, "payment lines fill their columns", *line);
    Check(first[result.payments].rfind("Total of Payments = ", 0) == 0,
          "the total line follows the payments", first[result.payments]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    LoanState state;
    AprSettings settings;
    settings.TenPass = in.Bool();
    settings.Log = in.Bool();
    state.loan.PerDiem = in.Bool();
    ReadUnitPeriod(in, state);
    state.loan.RoundAdd = Ordinary(in) ? (in.Bool() ? 0.5 : 0.0) : ExtremeDouble(in);

    TMemDataSet paySet("mdsPaySet");
    TMemDataSet detail("mdsDetail");
    DefinePaySetTable(paySet);
    DefineDetailTable(detail);
    const Schedule schedule = FillPaySet(in, paySet);
    ReadLoan(in, state, schedule);

    // The APR pages check the groups first; the engine must stand on its
    // own either way.
    RecordingUserPort port;
    const bool usable = IntegrityMdsPaySet(state.loan, paySet, port);
    ChartText report;
    const AprOutcome outcome = GetAPR(state.loan, paySet, settings, report, port);
    CheckNoNonFinite(report, port, usable ? "checked schedule" : "refused schedule");
    if (outcome == AprOutcome::Computed) {
        CheckComputedRate(state, settings);
    } else {
        // The chart can be asked for after a failed computation too. The
        // APR and the periods a year it then shows are always finite in the
        // program (the engine's results, the interval choices), so only
        // finite ones are charted here.
        state.loan.APR = Ordinary(in) ? static_cast<double>(in.Between(-99000, 1000000)) / 1000.0
                                      : ExtremeDouble(in);
        if (!std::isfinite(state.loan.APR)) state.loan.APR = 20.0;
        if (!std::isfinite(state.loan.PdsPerYear)) state.loan.PdsPerYear = 12.0;
    }

    ChartOptions options;
    options.showRebates = in.Bool();
    options.fractionalInterest = in.Bool();
    options.roundDown = in.Bool();
    CheckGrid(state, paySet, detail, options.showRebates);
    CheckChart(state, paySet, options);
    return 0;
}
