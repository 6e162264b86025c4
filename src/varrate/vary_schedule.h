#pragma once
// The variable-rate schedule: the list of groups (mdsVariable) amortized
// payment by payment without any rounding (mdsVarSchedule), its chart text,
// and the move of the list into the payment-group table (mdsPaySet) so that
// the APR side can work on it.
//
// The page calls, for
//   "Amortize":       auto r = qv::AmortizeVaryList(state.vary.ContractPrincipal, rgpVary interval,
//                                                   mdsVariable, mdsVarSchedule);
//                     labVary14 := r.label when set; dbgVarSchedule read-only; show r.messages
//   "Chart":          auto r = qv::ChartVaryList(rgpVary interval, mdsVariable, mdsVarSchedule,
//   chart);
//                     redChart := chart; when r.showChartPage, labChart7 := kVaryChartCaption
//                     and show tabChart; then show r.messages
//   "Move to Tab 5":  qv::CheckMoveToTab5, then qv::Transform, then the page's own steps
//                     (see Transform), then qv::FinishMoveToTab5.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_save.h"
#include "base/format.h"
#include "base/user_port.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "core/loan_state.h"

namespace qv {

class TMemDataSet;

// --- "Amortize" ---------------------------------------------------------------------

inline constexpr std::string_view kFinalBalancePrefix = "Final Balance is ";
inline constexpr std::string_view kPositiveFinalBalance =
    "Positive Final Balance so reduce rates or principal.";
inline constexpr std::string_view kNegativeFinalBalance =
    "Negative Final Balance so raise rates or principal.";
// No payment at all in the list: the balance stays the principal.
inline constexpr std::string_view kNoPaymentsToAmortize = "Oops, no Payments to Amortize";
inline constexpr std::string_view kVaryListTooLong =
    "This Variable Rate List holds more than 20,000 payments;\n\r"
    "shorten it before amortizing.";
// labVary14 when a balance grows past what a number can hold.
inline constexpr std::string_view kBalanceNotComputable = "Final Balance is too large to compute";

struct VaryAmortization {
    // labVary14's new caption; none: the label keeps its text.
    std::optional<std::string> label;
    // Information boxes, shown after the label is set.
    std::vector<PendingMessage> messages;
    int rows = 0;               // payments in the schedule table
    double finalBalance = 0.0;  // the last NewBal (the principal when no rows)
};

// "Amortize": rebuilds mdsVarSchedule from the groups, one row per payment
// (a group of no payments or fewer adds none). With B the principal, each
// payment's interval t = RegPds + AddDays / D, its interest
// I = (Rate / Y) x (B x t) x 0.01, evaluated in that order, and NewBal =
// B + I - Payment, which becomes B for the next payment. Nothing is rounded.
// The label reads "Final Balance is " and the last NewBal in currency format
// with four decimals; a final balance above 1 or below -1 adds the matching
// message.
//
// With no rows the balance is the principal: the label shows it and
// kNoPaymentsToAmortize is said. A list of more than kMaxVaryPayments
// payments is refused with kVaryListTooLong before anything changes. A
// balance or an interest that overflows a double (rates of thousands of
// percent over hundreds of payments) leaves the schedule empty, the label
// kBalanceNotComputable and a message naming the payment where it happened.
// The table's own error, should it refuse a row, leaves the schedule empty
// and is passed on as a warning.
// Each interval is charged rate / nominalPerYear: unlike the APR engine, a
// two-week interval is 1/26 of a year and a week 1/52.
VaryAmortization AmortizeVaryList(double ContractPrincipal, Interval interval,
                                  TMemDataSet& variable, TMemDataSet& schedule,
                                  const FormatSettings& fs = FormatSettings{});

// "Payment 12 makes the balance too large to compute;\n\rreduce the rates or
// check the payments."
std::string BalanceOverflowText(std::int64_t payment);

// --- "Chart" ------------------------------------------------------------------------

inline constexpr std::string_view kNoVarySchedule = "Oops, no Schedule to print";
inline constexpr std::string_view kNoVaryAmortization = "Oops, no Amortization to Print";
inline constexpr std::string_view kVaryChartCaption = "Amort.Unrounded except Display";
inline constexpr std::string_view kPrintVaryChart =
    "Print the Chart below by clicking on [Print Chart]\n\r"
    "or click [Using the Chart] for alternatives.";

struct VaryChart {
    // The schedule was charted: labChart7 := kVaryChartCaption, show tabChart.
    bool showChartPage = false;
    // Information boxes, shown after the chart text is in place.
    std::vector<PendingMessage> messages;
};

// "Chart": with groups in the list, replaces `chart` by the heading and one
// summary line per group; without, says kNoVarySchedule and keeps `chart`.
// Then, when the schedule has rows, appends the header and one line per
// payment and asks for the chart page; otherwise says kNoVaryAmortization.
// Reads the tables as they stand (it does not amortize first).
VaryChart ChartVaryList(Interval interval, TMemDataSet& variable, TMemDataSet& schedule,
                        ChartText& chart, const FormatSettings& fs = FormatSettings{});

// --- "Move to Tab 5" ----------------------------------------------------------------

inline constexpr std::string_view kNothingToMove = "Oops. there is no Schedule to Move!";
// A warning with Yes, No and Cancel; only Yes goes on.
inline constexpr std::string_view kOverwriteTab5 =
    "This process will overwrite the other Schedule currently open in Tab 5. Proceed?";
inline constexpr std::string_view kConversionTerminated =
    "OK, Conversion of Variable Schedule Terminated";
inline constexpr std::string_view kNoMovedScheduleToSave = "Sorry, No Payment Schedule to Save!";
inline constexpr std::string_view kVPaySetName = "VPaySet.txt";
// A warning with Yes and No, asked when kVPaySetName already exists.
inline constexpr std::string_view kOverwriteVPaySet = "Do you want to overwrite VPaySet.txt ?";
inline constexpr std::string_view kVPaySetNotSaved = "OK, Variable Payment Schedule Not Saved";
inline constexpr std::string_view kNoAprComputed =
    "No APR computed, as data inconsistency detected";

// "Oops. this Schedule has 500 payments, but Tab 5 holds no more than 485!"
std::string TooManyToMoveText(std::int64_t payments);

struct MoveCheck {
    enum class Next {
        Refuse,        // tell `message` and stop
        AskOverwrite,  // ask kOverwriteTab5; any answer but Yes: tell kConversionTerminated
        Transform,     // go on
    } next = Next::Transform;
    std::string message;
};

// What "Move to Tab 5" does before anything is replaced: refuses an empty
// list (kNothingToMove) and a list of more payments than one schedule can
// hold (TooManyToMoveText; groups of no payments count nothing), and asks
// before replacing a payment-group table that holds a group. A pending group
// of the list is stored first; a table error refuses with its text.
MoveCheck CheckMoveToTab5(TMemDataSet& variable, const TMemDataSet& paySet);

struct TransformResult {
    // False: nothing was replaced and `messages` say why.
    bool moved = false;
    Interval interval = kStartInterval;  // for the irregular page's rgpBasePd
    // The new amount financed as the irregular page's box shows it.
    std::string edAmtFin;
    // Write the schedule to kVPaySetName (the schedule save, which writes
    // whole or not at all): when the file exists, ask kOverwriteVPaySet
    // first, and on No tell kVPaySetNotSaved. A failed write is reported and
    // the move goes on.
    bool writeSchedule = false;
    std::vector<PendingMessage> messages;  // kNoMovedScheduleToSave when no group moved
};

// `Transform`: replaces mdsPaySet by the list's groups, numbered 1, 2, ... in
// GrpID order (groups of no payments move as they are; rates do not move, the
// table knows none), sets AmtFin to ContractPrincipal and returns the interval
// for rgpBasePd. Refuses, before replacing anything, a list of more than
// kMaxPayments payments. Leaves mdsPaySet on its first group.
//
// The page then: sets rgpBasePd, shows `messages`, writes the file when
// `writeSchedule`, runs the schedule integrity test ("Test Sched.
// Integrity"), makes dbgPaySet editable, runs "Estimate APR", and finishes
// with FinishMoveToTab5.
TransformResult Transform(LoanTerms& loan, const VaryInputs& vary, TMemDataSet& variable,
                          TMemDataSet& paySet, Interval interval);

// Writes the moved schedule to `file` (kVPaySetName in the current folder)
// as the schedule save does: whole or not at all, with the interval
// and the amount financed in its header. An existing file is replaced only
// after kOverwriteVPaySet is answered Yes; No tells kVPaySetNotSaved. A file
// that cannot be written is reported as a warning; the move goes on either
// way, since the schedule is already in the payment-group table.
SaveOutcome SaveMovedSchedule(TMemDataSet& paySet, Interval interval, double AmtFin, UserPort& port,
                              const std::filesystem::path& file = kVPaySetName);

struct MoveFinish {
    bool showEstimatePage = false;  // show tabEstimate (Tab 3)
    std::string message;            // information box
};

// The last step: with an APR computed by the estimate, Tab 3 and "APR is
// 12.683 %, see Tab 3"; without, kNoAprComputed.
MoveFinish FinishMoveToTab5(bool aprComputed, double APR,
                            const FormatSettings& fs = FormatSettings{});

}  // namespace qv
