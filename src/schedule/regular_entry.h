#pragma once
// The regular page's rules, decided without a window: what leaving each of
// its boxes does (the entry check, the zero checks, the amount-over-total
// test, the fill-in of the first and last payments, the carry of extra days)
// and where "Compute APR" sends a schedule before the APR engine runs.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/box_exit.h"
#include "base/page_text.h"
#include "base/user_port.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "schedule/regular_schedule.h"

namespace qv {

class TMemDataSet;

enum class RegularBox {
    edSimpAmtFin,
    edSimpInnerNoPay,
    edSimpRegPay,
    edSimp1stPay,
    edSimp1stNoPd,
    edSimp1stExtra,
    edSimpLastPay,
    edSimpLastNoPd,
    edSimpLastExtra,
};

enum class RegularEntry {
    Decimal,  // checked by ValidateFloat2
    Whole,    // checked by ValidateInteger2
};

struct RegularBoxText {
    RegularBox box;
    std::string_view name;   // the control's name
    RegularEntry entry;      // how the box is checked
    std::string_view field;  // the field's name in the check's messages
    std::string_view label;  // the words after the box on the page
    // What a screen reader calls the box; empty: the label tied to it.
    std::string_view accessibleName;
    std::string_view hint;    // balloon hint
    std::string_view status;  // the status line's hint while the box has the focus
    std::string_view startText;
    // What Reset All writes. The common payment goes back to "0.0", which
    // is how the count's fill-in rule tells a payment never entered.
    std::string_view resetText;
};

// In tab order; the interval group comes between the common payment and
// the first payment.
inline constexpr std::array<RegularBoxText, 9> kRegularBoxes{{
    {RegularBox::edSimpAmtFin, "edSimpAmtFin", RegularEntry::Decimal, "Amount Financed",
     "Amount Financed,", "Amount Financed", "Amount Financed excludes the Finance Charge.",
     "Amount Financed is the principal paid at loan commencement. Hit the TAB button to move to "
     "the next entry point.",
     "0.00", "0.00"},
    {RegularBox::edSimpInnerNoPay, "edSimpInnerNoPay", RegularEntry::Whole, "Number of Payments",
     "installments &", "Number of installments", "Positive Integer > 0",
     "Enter the Total Number of Payments scheduled.", "0", "0"},
    {RegularBox::edSimpRegPay, "edSimpRegPay", RegularEntry::Decimal, "Payment Amount",
     "$ per most Common Payment.", "Most common payment",
     "Only 1st and Last Payment may differ from this amount.",
     "Enter the dollar size of the Most Common Payment amount.", "0.00", "0.0"},
    {RegularBox::edSimp1stPay, "edSimp1stPay", RegularEntry::Decimal, "First Payment",
     " $ 1st Payment Amt.", "", "Any amount >0 and <= Total of Payments.",
     "Describe only the FIRST Payment on this line.", "0.00", "0.00"},
    {RegularBox::edSimp1stNoPd, "edSimp1stNoPd", RegularEntry::Whole,
     "First Number of Common Periods", "Common Intervals in 1st Interval,", "",
     "0 here only if short 1st Interval has Added Days > 0",
     "The first interval may be zero or more than 1 regular payment long.", "0", "0"},
    {RegularBox::edSimp1stExtra, "edSimp1stExtra", RegularEntry::Whole,
     "First Number of Extra Days", "Added Days in 1st Interval.", "",
     "Must >0 if 1st Full Interval = 0",
     "If the first interval is zero Regular periods long, this entry must be >0.", "0", "0"},
    {RegularBox::edSimpLastPay, "edSimpLastPay", RegularEntry::Decimal, "Last Payment",
     " $ Last Payment Amt.", "", "= Total of Payments - all other payments, as shown above.",
     "The last payment maybe much larger than the regular payment amount.", "0.00", "0.00"},
    {RegularBox::edSimpLastNoPd, "edSimpLastNoPd", RegularEntry::Whole,
     "Last Number of Common Periods", "Common Intervals in Last Interval,", "",
     "0 here only if short Last interval has Added Days >0",
     "The last interval maybe zero or more than one regular period long.", "0", "0"},
    {RegularBox::edSimpLastExtra, "edSimpLastExtra", RegularEntry::Whole,
     "Last Number of Extra Days", "Added Days in Last Interval", "",
     "Must >0 if no Common Intervals in Last Interval",
     "If the last interval is zero regular periods long, this entry must be >0.", "0", "0"},
}};

constexpr const RegularBoxText& RegularBoxInfo(RegularBox box) {
    return kRegularBoxes[static_cast<std::size_t>(box)];
}

// --- the page's other texts, top to bottom ------------------------------------------

inline constexpr std::string_view kRegularIntroLine =
    "If payments (other than the first or last) are irregular, go to Tab 3. To edit a schedule go "
    "to Tab 5.";
inline constexpr std::string_view kRegularFirstLine =
    "First, enter the main values for this loan:  ";
// The line: edSimpAmtFin, edSimpInnerNoPay, edSimpRegPay, each with its label;
// the amount financed's label carries kRegularAmtFinLabelHint.
inline constexpr std::string_view kRegularAmtFinLabelHint = "As TIL defines Amount Financed.";
inline constexpr std::string_view kRegularVaryingLine =
    "But if you have varying payments besides the first or last, use Tab 3.";

// The interval group rgpSimpInterval: three columns, its items the interval
// table's regularCaption.
inline constexpr std::string_view kRegularIntervalCaption =
    "Second, choose the MOST COMMON Interval between payments (* nominal duration in days):";
inline constexpr std::string_view kRegularIntervalHint =
    "Which Interval appears most often in the Payment Schedule.";
inline constexpr std::string_view kRegularIntervalStatus =
    "If there is no repeating interval, use Tab 2.";
inline constexpr int kRegularIntervalColumns = 3;

inline constexpr std::string_view kRegularThirdLine =
    "Third, if the FIRST Payment is different from the others, describe it here:";
inline constexpr std::string_view kRegularFourthLine =
    "Fourth, if the LAST Payment is different from the others, describe it here:";

// labSimpToP, the running summary, as the program starts and after Reset All.
inline constexpr std::string_view kRegularStartSummary =
    "Schedule above shows 0 Payments which Total $ 0.00, with $ 0.00 Finance Charge ";
inline constexpr std::string_view kRegularResetSummary =
    "Above Schedule now shows 0 Payments which Total $ 0.00, with $ 0.00 Finance Charge";
inline constexpr std::string_view kRegularSummaryHint =
    "Recompute this by clicking on Last Payment amount.";

inline constexpr std::string_view kRegularFifthLine =
    "Fifth, when you have the ENTIRE payment scheduled entered above, click below:";
// The APR line: butSimpleAPR, edSimpAPR (kRegularAprStart), kRegularAprLabel.
inline constexpr std::string_view kRegularAprStart = "Pending";
inline constexpr std::string_view kRegularAprLabel = "APR%";
inline constexpr std::string_view kRegularAprName = "APR";
// The chart line: kRegularSixthLine, butChartSimple, kRegularChartTail.
inline constexpr std::string_view kRegularSixthLine = "Sixth, Click here ";
inline constexpr std::string_view kRegularChartTail =
    "or on Tab 4 to review an Amortization Chart before printing.";

// edStatusBar, the line of hints under the buttons.
inline constexpr std::string_view kRegularStartStatus =
    "As you move among white data entry boxes above, you'll find Hints and other Information "
    "here.";
inline constexpr std::string_view kRegularStatusHint =
    "These Hints change as you move among data entry boxes.";
inline constexpr std::string_view kRegularStatusName = "Hint for the box you are in";

enum class RegularButton {
    butSimpleAPR,
    butChartSimple,
    butResetSimple,
    butGoTolerances2,
    butMax,
};
// In tab order. The APR box comes before butSimpleAPR, and the status line
// between butResetSimple and butGoTolerances2.
inline constexpr std::array<ButtonText, 5> kRegularButtons{{
    {"butSimpleAPR", "Compute APR", "If the Schedule is complete, click here."},
    {"butChartSimple", "Print Amortization", ""},
    {"butResetSimple", "Reset All", "Click to Start Over"},
    {"butGoTolerances2", "About APR Tolerances", ""},
    {"butMax", "Figure a Regular Schedule", ""},
}};

constexpr const ButtonText& RegularButtonInfo(RegularButton button) {
    return kRegularButtons[static_cast<std::size_t>(button)];
}

// --- leaving a box ----------------------------------------------------------------------

using RegularExit = BoxExit<RegularBox>;

// Leaving `box`: its entry check (the value stored in the loan state), then
// its rule on the other boxes as `texts` holds them. Extra days carry into
// whole periods by the interval the page shows, or by the unit period in
// force when none is chosen.
RegularExit LeaveRegularBox(LoanTerms& loan, RegularInputs& regular, RegularBox box,
                            const RegularTexts& texts, std::optional<Interval> interval);

// A single payment due within a year, for the one-payment page.
struct OnePaymentHandOver {
    std::int32_t days = 0;
    double amtFin = 0.0;
    double repayment = 0.0;
};

struct RegularAprPlan {
    // The one-payment page takes the schedule and is shown before the APR
    // engine runs on the unit-period basis all the same.
    std::optional<OnePaymentHandOver> onePayment;
    // False when a check refused the schedule: the page warns
    // kNoDurationText and shows "InputError" instead of running the engine.
    bool runEngine = false;
};

// "Compute APR" up to the engine: the unit period of the page's interval,
// the working values from the boxes, the pre-checks, the payment groups in
// mdsPaySet and their integrity test, and the routing of a single payment,
// with every message those steps show.
RegularAprPlan PrepareRegularAPR(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                 const RegularTexts& texts, std::optional<Interval> interval,
                                 UserPort& port);

}  // namespace qv
