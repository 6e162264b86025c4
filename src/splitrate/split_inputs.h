#pragma once
// The split-rate page ("6:Split Rates"): a debt whose balance is cut into up
// to four steps by dollar caps, each step charged its own rate per common
// interval. This module holds the page's texts, the rules its boxes follow
// when the user leaves them and the test run before every computation; the
// computations themselves are in splitrate/split_interest.h.
//
// A page handler reads its box, asks one function here what to do and
// carries the answer out:
//     qv::SplitExit d = qv::LeaveSplitBox(state.split, qv::SplitBox::edSplitRegPay, text);
//     qv::CarryOutExit(d, box, port, boxes);  // boxes: the page's SplitPageBoxes
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/box_exit.h"
#include "base/number_entry.h"
#include "base/user_port.h"
#include "core/interval.h"
#include "core/loan_state.h"

namespace qv {

// --- the boxes --------------------------------------------------------------------------

// The page's boxes in tab order: the seventeen entry boxes, then the two
// result boxes the computations write.
enum class SplitBox : int {
    edSplitAmtFin,
    edSplitPayCount,
    edSplitRegPay,
    edSplit1stPay,
    edSplit1stNoPd,
    edSplit1stExtra,
    edSplitlastPay,
    edSplitlastNoPd,
    edSplitlastExtra,
    edRate1,
    edCap1,
    edRate2,
    edCap2,
    edRate3,
    edCap3,
    edRate4,
    edCap4,
    edSplitInterest,
    edFinal,
};

enum class SplitEntry {
    Decimal,  // checked by ValidateFloat2
    Whole,    // checked by ValidateInteger2
    Result,   // written by the computations, not checked
};

struct SplitBoxText {
    SplitBox box;
    std::string_view name;       // the control's name
    SplitEntry entry;            // how the box is checked
    std::string_view label;      // the field's name in the check's messages
    std::string_view hint;       // balloon hint
    std::string_view startText;  // what the box shows at start and after Reset
};

inline constexpr std::string_view kSplitAnyAmountHint = "Any amount >0 and <= Total of Payments.";

// The two interval-count boxes start at "1", the count the computations use
// after a reset: a box that shows "0" while 1 is used would store 0 when
// merely passed through, and start the zero-duration rule for nothing.
inline constexpr std::array<SplitBoxText, 19> kSplitBoxes{{
    {SplitBox::edSplitAmtFin, "edSplitAmtFin", SplitEntry::Decimal, "Principal ",
     "compare Amount Financed excludes the Finance Charge.", "0.00"},
    {SplitBox::edSplitPayCount, "edSplitPayCount", SplitEntry::Whole, "Number of Payments",
     "Positive Integer > 0", "0"},
    {SplitBox::edSplitRegPay, "edSplitRegPay", SplitEntry::Decimal, "Regular Payment",
     "Only 1st and Last Payment may differ from this amount.", "0.00"},
    {SplitBox::edSplit1stPay, "edSplit1stPay", SplitEntry::Decimal, "First Repayment",
     kSplitAnyAmountHint, "0.00"},
    {SplitBox::edSplit1stNoPd, "edSplit1stNoPd", SplitEntry::Whole, "First Interval Period Count",
     "only 0 if there are Added Days", "1"},
    {SplitBox::edSplit1stExtra, "edSplit1stExtra", SplitEntry::Whole,
     "First Interval Extra Day Count", "Must >0 if 1st Full Interval = 0", "0"},
    {SplitBox::edSplitlastPay, "edSplitlastPay", SplitEntry::Decimal, "Last Repayment",
     "= Total of Payments - all other payments, as shown above.", "0.00"},
    {SplitBox::edSplitlastNoPd, "edSplitlastNoPd", SplitEntry::Whole, "Last Interval Period Count",
     "0 only if Last Interval Added Days >0", "1"},
    {SplitBox::edSplitlastExtra, "edSplitlastExtra", SplitEntry::Whole,
     "Last Interval Extra Day Count", "Must >0 if no Common Intervals in Last Interval", "0"},
    {SplitBox::edRate1, "edRate1", SplitEntry::Decimal, "First Step Rate", kSplitAnyAmountHint,
     "0.0"},
    {SplitBox::edCap1, "edCap1", SplitEntry::Decimal, "First Step $-Cap", kSplitAnyAmountHint,
     "0.00"},
    {SplitBox::edRate2, "edRate2", SplitEntry::Decimal, "Second Step Rate", kSplitAnyAmountHint,
     "0.0"},
    {SplitBox::edCap2, "edCap2", SplitEntry::Decimal, "Second Step $-Cap", kSplitAnyAmountHint,
     "0.00"},
    {SplitBox::edRate3, "edRate3", SplitEntry::Decimal, "Third Step Rate", kSplitAnyAmountHint,
     "0.0"},
    {SplitBox::edCap3, "edCap3", SplitEntry::Decimal, "Third Step $-Cap", kSplitAnyAmountHint,
     "0.00"},
    {SplitBox::edRate4, "edRate4", SplitEntry::Decimal, "Fourth Step Rate", kSplitAnyAmountHint,
     "0.0"},
    {SplitBox::edCap4, "edCap4", SplitEntry::Decimal, "Fourth Step $-Cap", kSplitAnyAmountHint,
     "0.00"},
    {SplitBox::edSplitInterest, "edSplitInterest", SplitEntry::Result, "", kSplitAnyAmountHint,
     "Pending"},
    {SplitBox::edFinal, "edFinal", SplitEntry::Result, "", kSplitAnyAmountHint, "Pending"},
}};

constexpr const SplitBoxText& SplitBoxInfo(SplitBox box) {
    return kSplitBoxes[static_cast<std::size_t>(box)];
}

// The rate and cap boxes of step 1 to 4.
constexpr SplitBox RateBox(int step) {
    return static_cast<SplitBox>(static_cast<int>(SplitBox::edRate1) + 2 * (step - 1));
}
constexpr SplitBox CapBox(int step) {
    return static_cast<SplitBox>(static_cast<int>(SplitBox::edCap1) + 2 * (step - 1));
}

// --- the page's other texts, top to bottom --------------------------------------------

inline constexpr std::string_view kSplitCaption = "6:Split Rates";
inline constexpr std::string_view kSplitIntroLine =
    "Enter debt parameters, then click on type of Fitted Amortization you desire.";

// The interval group rgpSplitPd: three columns, its items the interval
// table's splitCaption, kStartInterval chosen at start.
inline constexpr std::string_view kSplitIntervalCaption =
    "First, enter the basic information, Starting with the MOST COMMON interval in the Payment "
    "Schedule (*nominal duration):";
inline constexpr std::string_view kSplitIntervalHint =
    "Which Interval appears most often in the Payment Schedule.";
inline constexpr int kSplitIntervalColumns = 3;

// The line: edSplitAmtFin, kSplitPrincipalLabel, edSplitPayCount, kSplitCountLabel,
// edSplitRegPay.
inline constexpr std::string_view kSplitPrincipalLabel = "$ Principal borrowed w/";
inline constexpr std::string_view kSplitCountLabel = "repayments; the most common amount is $";

// The first and last payment lines: pay box, kSplitFirstPayLabel (kSplitLastPayLabel),
// period box, kSplitIntervalsLabel, extra-day box, kSplitAddedDaysLabel.
inline constexpr std::string_view kSplitSecondLine =
    "Second, change the entries below ONLY IF the First Payment is incorrectly described:";
inline constexpr std::string_view kSplitFirstPayLabel = " $ 1st Payment,";
inline constexpr std::string_view kSplitThirdLine =
    "Third, change the entries below ONLY IF the Last Payment is incorrectly described:";
inline constexpr std::string_view kSplitLastPayLabel = " $ Last Payment,";
inline constexpr std::string_view kSplitIntervalsLabel = "Common Intervals +";
inline constexpr std::string_view kSplitAddedDaysLabel = "Added Days before it.";

// Shown in red.
inline constexpr std::string_view kSplitRatesWarning =
    "Rates below are PER COMMON INTERVAL, Not  Annual or APRs. Use Tab 2 or 3 for APRs.";
inline constexpr std::string_view kSplitFourthLine =
    "Fourth, describe each step in the Split Rate structure applicable here (* cap ignored at "
    "top step):";
// Step k's line: RateBox(k), kSplitStepMiddles[k-1], CapBox(k), kSplitStepEnds[k-1].
inline constexpr std::array<std::string_view, 4> kSplitStepMiddles{
    "% / Common Interval,     1st Step capped at $", "% / Common Interval,    2nd Step capped at $",
    "% / Common Interval,    3rd Step capped at $", "% / Common Interval,    4th Step capped at $"};
inline constexpr std::array<std::string_view, 4> kSplitStepEnds{
    "*, where 2nd Step begins.", "*, where 3rd Step begins.", "*, where 4th Step begins.", "*"};

inline constexpr std::string_view kSplitFifthLine =
    "Fifth, change ONLY the following entries that are incorrect:";
inline constexpr std::string_view kSplitSixthLine = "Sixth, select the computation button below:";
inline constexpr std::string_view kSplitSeventhLine = "Seventh, go to Tab 4 or click below:";
// The result line: kSplitInterestLabel, edSplitInterest, kSplitFinalLabel, edFinal.
inline constexpr std::string_view kSplitInterestLabel = "Computed Interest is ";
inline constexpr std::string_view kSplitFinalLabel = "Final Balance is";

// The numbered instruction lines in the order the page shows them.
inline constexpr std::array<std::string_view, 9> kSplitInstructionLines{
    kSplitIntroLine,  kSplitIntervalCaption, kSplitSecondLine, kSplitThirdLine,  kSplitRatesWarning,
    kSplitFourthLine, kSplitFifthLine,       kSplitSixthLine,  kSplitSeventhLine};

struct SplitButton {
    std::string_view name;
    std::string_view caption;
    bool visible;
};
// In tab order; "Load Test Data" stays hidden.
inline constexpr std::array<SplitButton, 7> kSplitButtons{{
    {"butJust", "Just Amortize", true},
    {"butSplitRegPay", "Match Common Payment : Rates", true},
    {"butSplitPrincipal", "Match Principal : Rates", true},
    {"butSplitChart", "Review Chart", true},
    {"butSplitReset", "Reset All", true},
    {"butSplitPrint", "Print Chart", true},
    {"butMyTest", "Load Test Data", false},
}};

// --- messages ---------------------------------------------------------------------------

inline constexpr std::string_view kSplitPrincipalNotBelowTotalText =
    "Principal >= Total of Repayments !";
inline constexpr std::string_view kSplitFirstZeroDurationText =
    "Error: First Interval has Zero Duration !";
inline constexpr std::string_view kSplitLastZeroDurationText =
    "Error: Last Interval has Zero Duration !";

// --- leaving a box -----------------------------------------------------------------------

using SplitBoxFill = BoxFill<SplitBox>;
// What the page does when the focus leaves one of its boxes.
using SplitExit = BoxExit<SplitBox>;

// Checks the text left in `box`, stores its value in the split-rate state
// and applies the box's own rule: the fill-in rule for the common payment,
// the zero-duration rule for the four interval boxes. A failed check puts
// the focus back into the box and skips the rule. The result boxes have no
// check and no rule.
SplitExit LeaveSplitBox(SplitInputs& split, SplitBox box, std::string_view text);

using SplitPageBoxes = PageBoxes<SplitBox>;

// Leaving the interval group: SplitDaysPerPd takes the days of the chosen
// interval; with none chosen it stays as it is.
void TakeSplitInterval(SplitInputs& split, std::optional<Interval> interval);

// --- before every computation ------------------------------------------------------------

// The refusal of SplitIntegrity, if any: a principal or common payment under
// one cent or no payments, the last of these reported alone:
// "Error: Zero Payments scheduled\n\r... so no computation done".
std::optional<std::string> SplitIntegrityFailure(const SplitInputs& split);

// SplitIntegrity: true when a computation may run; otherwise shows the
// refusal (information box) and returns false.
bool SplitIntegrity(const SplitInputs& split, UserPort& port);

// --- Reset, page entry and the test case -------------------------------------------------

// Every box's start text, in tab order; the interval group goes back to
// kStartInterval. (The state's part is ResetLoanState.)
std::vector<SplitBoxFill> SplitStartTexts();

// Entering the page makes the split-rate schedule the current one.
void EnterSplitPage(LoanTerms& loan);

// "Load Test Data": 1,000.00 borrowed, 24 monthly payments of 46.00, steps
// 1.0 % to 300.00, 0.75 % to 600.00, 0.5 % to 900.00 and 0.25 % above.
// Sets the state and returns the boxes' texts; the interval group shows
// kSplitTestInterval.
inline constexpr Interval kSplitTestInterval = Interval::Monthly;
std::vector<SplitBoxFill> LoadSplitTestData(SplitInputs& split);

}  // namespace qv
