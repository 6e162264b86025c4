#pragma once
// The irregular page ("3:Irreg.Pay"): any schedule, entered as groups of
// identical payments. This module holds the page's texts and what leaving
// each of its boxes does; "Add Group", the summary and the estimate are in
// schedule/group_schedule.h and schedule/apr_estimate.h.
//
// A page handler reads its boxes, asks one function here what to do and
// carries the answer out:
//     qv::IrregularExit d = qv::LeaveIrregularBox(state, qv::IrregularBox::edPayCount, texts);
//     qv::CarryOutExit(d, box, port, boxes);  // boxes: the page's PageBoxes<IrregularBox>
#include <array>
#include <string>
#include <string_view>

#include "base/box_exit.h"
#include "base/page_text.h"
#include "core/loan_state.h"

namespace qv {

// --- the boxes --------------------------------------------------------------------------

// The page's entry boxes in tab order: the loan's three, then the group's four.
enum class IrregularBox {
    edAmtFin,
    edTotPay,
    edPayCount,
    edSizeGroup,
    edGroupPay,
    edGroupPds,
    edGroupExtra,
};

enum class IrregularEntry {
    Decimal,  // checked by ValidateFloat2
    Total,    // checked by ValidateFloat4: the total is held as currency
    Whole,    // checked by ValidateInteger2
};

struct IrregularBoxText {
    IrregularBox box;
    std::string_view name;   // the control's name
    IrregularEntry entry;    // how the box is checked
    std::string_view field;  // the field's name in the check's messages
    std::string_view label;  // the words after the box on the page
    // What a screen reader calls the box; empty: the label tied to it.
    std::string_view accessibleName;
    std::string_view hint;  // balloon hint
    // What the box shows at start; the group's boxes go back to it after
    // "Add Group".
    std::string_view startText;
    // What Reset All writes. The periods box goes back to "0": the one-group
    // suggestion is offered only while it reads so.
    std::string_view resetText;
};

inline constexpr std::array<IrregularBoxText, 7> kIrregularBoxes{{
    {IrregularBox::edAmtFin, "edAmtFin", IrregularEntry::Decimal, "Amount Financed",
     " $ Amount Financed", "", "Amount Financed excludes the Finance Charge.", "0.00", "0.00"},
    {IrregularBox::edTotPay, "edTotPay", IrregularEntry::Total, "Total of Payments",
     " Total of Payments", "", "= Amount Financed + Finance Charge.", "0.00", "0.00"},
    {IrregularBox::edPayCount, "edPayCount", IrregularEntry::Whole, "Number of Payments",
     " Number of Payments", "", "Count each separate repayment due.", "0", "0"},
    {IrregularBox::edSizeGroup, "edSizeGroup", IrregularEntry::Whole, "Number of Payments/Group",
     "Payment(s) of", "Payments in this group", "# of Payments of same size and interval.", "1",
     "1"},
    {IrregularBox::edGroupPay, "edGroupPay", IrregularEntry::Decimal, "Payment $/Interval",
     "$ per Payment per Interval, where", "Payment of this group",
     "Identical for all payments in this group.", "0.00", "0.00"},
    {IrregularBox::edGroupPds, "edGroupPds", IrregularEntry::Whole,
     "Number of Common Periods/Interval", "Regular Pd(s) &", "Regular periods before each payment",
     "Identical for all in this group,", "1", "0"},
    {IrregularBox::edGroupExtra, "edGroupExtra", IrregularEntry::Whole, "Extra Days/Interval",
     "Extra Days.", "Extra days before each payment",
     "Identical for all in Group, >0 if 0 regular payments.", "0", "0"},
}};

constexpr const IrregularBoxText& IrregularBoxInfo(IrregularBox box) {
    return kIrregularBoxes[static_cast<std::size_t>(box)];
}

// The boxes' texts as the page reads them, by box.
struct IrregularTexts {
    std::array<std::string, kIrregularBoxes.size()> texts;
    const std::string& operator[](IrregularBox box) const {
        return texts[static_cast<std::size_t>(box)];
    }
    std::string& operator[](IrregularBox box) { return texts[static_cast<std::size_t>(box)]; }
};

// --- the page's other texts, top to bottom --------------------------------------------

inline constexpr std::string_view kIrregularIntroLine =  // labEstimate1
    "Any schedule can be entered here. If only the first & last payments are irregular, Tab 2 "
    "may be used.";

// The interval group rgpBasePd: three columns, its items the interval
// table's irregularCaption.
inline constexpr std::string_view kIrregularIntervalCaption =
    "FIRST, enter basic data, like the MOST COMMON interval in the Pay Schedule (*nominal "
    "duration):";
inline constexpr std::string_view kIrregularIntervalHint =
    "Which Interval appears most often in the Payment Schedule.";
inline constexpr int kIrregularIntervalColumns = 3;

// The loan's line: each box followed by its label; the amount financed's
// and the total's labels carry these hints.
inline constexpr std::string_view kIrregularAmtFinLabelHint = "As TIL defines Amount Financed.";
inline constexpr std::string_view kIrregularTotPayLabelHint = "As TIL defines Total of Payments.";

inline constexpr std::string_view kIrregularSecondLine1 =  // labAPR3
    "SECOND, enter the payments in chronological order, in groups that are identical in interval "
    "and";
inline constexpr std::string_view kIrregularSecondLine2 =  // labAPR4
    "amount. Click on \"Add Group\" and then enter the next group of identical payments until "
    "done:";

// The group's lines: labGroupCount, edSizeGroup, edGroupPay, then
// kIrregularGroupIntervalLabel, edGroupPds, edGroupExtra, butDone.
// labGroupCount is empty at start; Reset All writes kIrregularResetGroupCount.
inline constexpr std::string_view kIrregularResetGroupCount = "Payment Group # 1 has";
inline constexpr std::string_view kIrregularGroupIntervalLabel = "each Interval has";

// The running summary: labEstimate16, then labEstimate15 (empty at start,
// kIrregularResetSummary after Reset All), shown in the warning tone.
inline constexpr std::string_view kIrregularSummaryStart = "So far, this Schedule has ";
inline constexpr std::string_view kIrregularResetSummary = "0 Payments, Totalling $ 0.00";
inline constexpr std::string_view kIrregularSummaryHint =
    "This summary changes as Groups are added.";
// labEstimate17, bold italic, once the grid may be edited.
inline constexpr std::string_view kIrregularEditNote =
    "You can edit this Schedule at Tab 5 or Click on an individual cell in the grid below to "
    "edit it.";

// The APR line: butPayReset, kIrregularThirdLine, butEstAPR, edAPR, kIrregularAprLabel.
inline constexpr std::string_view kIrregularThirdLine = "THIRD, click:";
inline constexpr std::string_view kIrregularAprStart = "Pending";
inline constexpr std::string_view kIrregularAprLabel = " APR%";
inline constexpr std::string_view kIrregularAprName = "APR";
inline constexpr std::string_view kIrregularFourthLine = "FOURTH, if you wish, click: ";
// labApr8, in the warning tone.
inline constexpr std::string_view kIrregularVariableNote =
    "NOTE: to check Payment Schedules & balances with variable rates & no rounding, see Tab 7 too.";

enum class IrregularButton {
    butDone,
    butPayReset,
    butEstAPR,
    butPrintIrreg,
    butTolerances,
    butByDates,
};
// In tab order; the group grid comes between butDone and butPayReset, the
// APR box after butEstAPR.
inline constexpr std::array<ButtonText, 6> kIrregularButtons{{
    {"butDone", "Add Group", "If Group details are correct, click here"},
    {"butPayReset", "Reset All", "Click to Zero all details."},
    {"butEstAPR", "Estimate APR", "When all the groups are correct, click here."},
    {"butPrintIrreg", "Print Amortization", ""},
    {"butTolerances", "About APR Tolerances", ""},
    {"butByDates", "Loan by Dates", "Enter a loan by its dates and check a disclosure"},
}};

constexpr const ButtonText& IrregularButtonInfo(IrregularButton button) {
    return kIrregularButtons[static_cast<std::size_t>(button)];
}

// --- leaving a box -----------------------------------------------------------------------

using IrregularExit = BoxExit<IrregularBox>;

// Leaving `box`: its entry check, the value stored in the loan state (the
// loan's amounts and count, or the group being entered), then its rule: the
// total of payments warns when it cannot be right for the amount financed
// (the total stays stored), and the count, before the first group, offers
// the whole schedule as one group. A refused check puts the focus back and
// skips the rule.
IrregularExit LeaveIrregularBox(LoanTerms& loan, GroupEntry& group, IrregularBox box,
                                const IrregularTexts& texts);

}  // namespace qv
