#pragma once
// The amortization of the current schedule, payment by payment: the rows of
// the chart page's grid (mdsDetail) with the unearned finance charge and the
// Rule of 78s rebate after each payment, and the fixed-pitch amortization
// chart appended to the chart text.
//
// Both work from the last successful APR computation (ComputedSchedule),
// which the window captures after each one. The chart page's entry is two
// calls with the window's own work between them:
//     step = qv::FirstChartEntryStep(state.loan, mdsPaySet);
//     ... recompute the schedule of the page that made it, when step asks ...
//     qv::FinishChartEntry(step, state.loan, {inputError, lastComputed}, mdsDetail,
//                          showRebates, window, port);
// with `window` doing the few things only the window can (beep, show a page,
// enable itself); and for "Chart Amortization":
//     auto r = qv::AppendAmortizationChart(lastComputed, state.loan.RoundAdd, options, lines,
//                                          port);
//     caption = r.caption;  // then append `lines` to the chart text
// The pieces of the page entry are public as well, for callers that need
// only part of it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/user_port.h"
#include "core/apr_engine.h"
#include "core/loan_state.h"
#include "core/pay_group.h"

namespace qv {

class TMemDataSet;

// --- Texts shown by the chart page ---------------------------------------------------

inline constexpr std::string_view kInputErrorInScheduleText =
    "Error : Input Error in Payment Schedule";
inline constexpr std::string_view kCorrectErrorsText =
    "Go to Tab 2,Tab 3 or Tab 5 to correct error(s)";
// "\n\r" is a line feed followed by a carriage return, kept in that order.
inline constexpr std::string_view kRuleOf78sUndefinedText =
    "Warning: Rule of 78s is UNDEFINED for Schedules\n\r"
    "with irregular payments or intervals, as here\n\r"
    "See Help/Tolerances on the Menu.";
inline constexpr std::string_view kNoPaymentSetText = "No Payment Set Loaded !";
// Shown when the groups hold more payments than one schedule can; the grid
// then stops at the limit instead of growing without bound.
inline constexpr std::string_view kDetailRowsCutText =
    "This Payment Schedule holds more than 485 payments;\n\r"
    "only the first 485 are shown.";

// Captions of labChart7.
inline constexpr std::string_view kRoundsDownCaption = "Amortization rounds fractions down!";
inline constexpr std::string_view kRoundsNearestCaption = "Amortization rounds to nearest cent.";

// The caption for a rounding mode: RoundAdd below 0.5 rounds fractions down.
std::string_view RoundingCaption(double RoundAdd);

// --- The schedule the chart works from ------------------------------------------

// The schedule and amounts of the last successful APR computation. The chart
// page charts this, never the boxes as they read now: a payment matrix only
// amortizes to zero with the amount financed and the APR it was computed
// with, so combining it with an amount typed since would chart a debt that
// does not exist.
struct ComputedSchedule {
    LoanTerms loan;                // amounts, unit period, APR and matrix as computed
    std::vector<PayGroup> groups;  // the groups the matrix was expanded from, in order
};

// Takes the schedule just computed: the loan state and the groups of
// `paySet` (a pending group is stored first; the cursor is put back).
ComputedSchedule CaptureComputedSchedule(const LoanTerms& loan, TMemDataSet& paySet);

// The Rule of 78s rebate in whole cents with `remaining` of the stated
// payments left: FC x remaining(remaining+1)/2 / SD, rounded half up once,
// from the exact share (no intermediate rounding to the ten-thousandth).
std::int64_t Rule78RebateCents(Currency FC, std::int64_t remaining, std::int64_t SD);

// --- Page entry: the pieces ---------------------------------------------------------

// What the page entry does first.
enum class ChartEntryStep {
    Beep,                // no payment groups, and the split-rate page is not the source
    RecomputeRegular,    // run the regular page's "Compute APR" (ScheduleSource 2)
    RecomputeIrregular,  // run the irregular page's APR command (ScheduleSource 3)
    FillGrid,            // nothing to recompute
};
ChartEntryStep FirstChartEntryStep(const LoanTerms& loan, const TMemDataSet& paySet);

// Where the page entry goes after an APR box reads "InputError". The page
// names are those of the window's pages; for any code without a page the
// kCorrectErrorsText message is shown instead.
enum class InputErrorRoute {
    tabAbout,     // ScheduleSource 0
    tabIntro,     // 1
    TabSimple,    // 2
    tabEstimate,  // 3
    tabEdit,      // 5
    CorrectErrorsMessage,
};
InputErrorRoute RouteAfterInputError(std::int32_t ScheduleSource);

// mdsDetail: one row per payment of the charted schedule, with its
// unearned finance charge and Rule of 78s rebate, in Sequence order.
void DefineDetailTable(TMemDataSet& table);

struct DetailFill {
    bool filled = false;     // false: the grid is left empty, the reason is in messages
    bool irregular = false;  // payments or intervals differ from one payment to the next
    int rows = 0;
    bool cut = false;  // the groups held more than kMaxPayments payments
    // In the order to show them: kDetailRowsCutText, then the Rule of 78s
    // warning (irregular with rebates on), or the table's own error text.
    std::vector<PendingMessage> messages;
};

// Rebuilds mdsDetail from the groups of `computed`, one row per payment, with
// the unearned finance charge and the Rule of 78s rebate after it; the
// finance charge is the computed TotPay - AmtFin and the balance starts at
// the computed AmtFin. The rows are written inside one BeginUpdate/EndUpdate,
// so a bound grid refreshes once; if anything fails the grid is left empty,
// never half filled. Shows nothing itself (the window is disabled meanwhile)
// and never throws: what to tell the user comes back in `messages`.
DetailFill FillDetailRows(const ComputedSchedule& computed, TMemDataSet& detail,
                          bool showRebates) noexcept;

// --- Page entry: the whole of it ------------------------------------------------------

// What only the window can do during the page entry. The schedule is
// recomputed by the caller before FinishChartEntry, never from here.
class ChartEntryWindow {
  public:
    virtual ~ChartEntryWindow() = default;
    virtual void Beep() = 0;
    // Never called with CorrectErrorsMessage.
    virtual void ShowPage(InputErrorRoute page) = 0;
    virtual void SetWindowEnabled(bool enabled) = 0;
};

// How the schedule stands once any recompute of the entry has run.
struct ChartEntrySchedule {
    // An APR page shows "InputError" for the schedule.
    bool aprInputError = false;
    // The last successful APR computation; nullptr when there has been
    // none since Reset.
    const ComputedSchedule* computed = nullptr;
};

enum class ChartEntryOutcome {
    Beeped,           // no schedule to show
    InputError,       // the recomputed schedule has an error; the user was sent to correct it
    Filled,           // the grid holds the schedule
    FillFailed,       // the grid could not be filled and is empty; the user was told why
    NothingComputed,  // no APR computed since Reset; the user was told where to compute one,
                      // unless the split-rate page (text chart only) is the source
};

// Said when the chart page has no computed schedule to show.
inline constexpr std::string_view kNothingComputedText =
    "No APR has been computed for a schedule yet.\n\r"
    "Compute one on Tab 2 or Tab 3, then chart it here.";

// The page entry after FirstChartEntryStep and the recompute it asked for:
// beep, or route an input error, then fill the grid from the last
// computation with the window disabled (enabled again in every case) and
// show what the fill reported.
ChartEntryOutcome FinishChartEntry(ChartEntryStep step, LoanTerms& loan,
                                   const ChartEntrySchedule& schedule, TMemDataSet& detail,
                                   bool showRebates, ChartEntryWindow& window, UserPort& port);

// --- "Chart Amortization" -----------------------------------------------------------

struct ChartOptions {
    bool showRebates = false;         // Rule of 78s columns
    bool fractionalInterest = false;  // interest to four decimals
    bool roundDown = false;           // wording of the total line
};

enum class ChartOutcome {
    Appended,
    NoPaymentSet,           // told with kNoPaymentSetText; nothing appended
    FirstPaymentUnderCent,  // nothing appended, nothing said
};

struct ChartResult {
    ChartOutcome outcome = ChartOutcome::Appended;
    std::string caption;  // labChart7, set in every outcome
    int payments = 0;     // payment lines appended
};

// The payments the chart covers: PayCount, held within 0..kMaxPayments, and
// ending before the first matrix entry the last expansion did not write (a
// PayCount larger than the expanded schedule charts only what was expanded).
std::int32_t ChartedPaymentCount(const LoanTerms& loan);

// Appends the amortization chart below the lines `chart` already holds:
// header, one line per payment, the total line and, when the final payment
// was changed by a cent or more, the adjustment line. Rows are 49 characters
// wide, 71 with the rebate columns. Pass an empty `chart` to receive just
// the new lines.
ChartResult AppendAmortizationChart(const LoanTerms& loan, const TMemDataSet& paySet,
                                    const ChartOptions& options, ChartText& chart, UserPort& port,
                                    const FormatSettings& fs = FormatSettings{});

// "Chart Amortization" on the last successful computation (nullptr: none,
// told with kNoPaymentSetText), amortized with the rounding in force now.
ChartResult AppendAmortizationChart(const ComputedSchedule* computed, double RoundAdd,
                                    const ChartOptions& options, ChartText& chart, UserPort& port,
                                    const FormatSettings& fs = FormatSettings{});

}  // namespace qv
