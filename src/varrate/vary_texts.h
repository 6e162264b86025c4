#pragma once
// The texts of "7:Variable Rates" (tabVary), top to bottom, so that the page
// only lays them out. Texts are as the user reads them: a single "&" is an
// ampersand here, never an access key.
#include <array>
#include <string_view>

#include "schedule/schedule_file.h"

namespace qv {

inline constexpr std::string_view kVaryTabCaption = "7:Variable Rates";

// --- the guide at the top ------------------------------------------------------------
inline constexpr std::string_view kVaryIntroLine1 = "Any schedule can be entered here.";
inline constexpr std::string_view kVaryIntroLine2 =
    "This evaluates variable contract rates but does NOT compute APRs.";
inline constexpr std::string_view kVaryUnroundedLine1 =
    "It amortizes to a Final Balance using UNROUNDED contract rates & fractional cents";
inline constexpr std::string_view kVaryUnroundedLine2 =
    "in dollars. Here, rounding is used only for display & printing. Click here to learn more-->";
inline constexpr std::string_view kVaryHelpButton = "Using Tab 7";  // butVaryEG

// --- FIRST: the interval group rgpVary -------------------------------------------------
inline constexpr std::string_view kVaryIntervalCaption =
    "FIRST, enter the MOST COMMON interval in the Payment Schedule (*shows nominal duration) :";
inline constexpr std::string_view kVaryIntervalHint =
    "Which Interval appears most often in the Payment Schedule.";
inline constexpr int kVaryIntervalColumns = 3;
inline constexpr int kVaryIntervalStartItem = 1;  // Monthly
inline constexpr std::array<std::string_view, 5> kVaryIntervalItems = {
    "Annually (1/a,365 days)",  "Monthly (12/a,30* days)", "HalfMonth (24/a,15* days)   ",
    "TwoWeeks (26+/a,14 days)", "Weekly (52/a,7 days)",
};

// --- SECOND: the principal ---------------------------------------------------------------
inline constexpr std::string_view kVaryPrincipalText =
    "SECOND, enter not a Truth-in-Lending value but contract principal:Contract Balance Owed $";

// --- THIRD: the group being entered ----------------------------------------------------
inline constexpr std::string_view kVaryGroupsLine1 =
    "THIRD, enter the payments in chronological order, in groups that are identical in "
    "interval, rate and";
inline constexpr std::string_view kVaryGroupsLine2 =
    "amount. Click on \"Add Group\" and then enter the next group of identical payments until "
    "done:";
// The group sentence, around its five boxes:
//   labVary7 [count] "Payment(s) of" [amount] "$ per Payment per Interval, where"
//   "each Interval has" [periods] "Regular Pd(s) &" [days] "Extra Day(s) at " [rate]
//   "% annualized interest. " [Add Group]
inline constexpr std::string_view kVaryGroupLabelStart = "Payment Group # 1 has ";  // labVary7
inline constexpr std::string_view kVaryAfterCount = "Payment(s) of";
inline constexpr std::string_view kVaryAfterPayment = "$ per Payment per Interval, where";
inline constexpr std::string_view kVaryBeforePeriods = "each Interval has";
inline constexpr std::string_view kVaryAfterPeriods = "Regular Pd(s) &";
inline constexpr std::string_view kVaryAfterDays = "Extra Day(s) at ";
inline constexpr std::string_view kVaryAfterRate = "% annualized interest. ";
inline constexpr std::string_view kVaryAddButton = "Add Group";  // butVaryAdd
inline constexpr std::string_view kVaryAddHint = "If Group details are correct, click here";

// --- FOURTH: the summary and the list ----------------------------------------------------
inline constexpr std::string_view kVaryFourth = "FOURTH, click Amortize & check Final Balance:";
inline constexpr std::string_view kVarySummaryStart = "0 Payments, Totalling $.00:";  // labVary14
inline constexpr std::string_view kVarySummaryHint = "This summary changes as Groups are added.";
// A grid column: the field it shows and its title (empty: the field's name).
struct VaryGridColumn {
    std::string_view field;
    std::string_view title;
    bool editable = true;  // in a grid the user may edit
};
// dbgVariable's columns, left to right. The group number is the place of
// the group in time, given as groups are added: editing it would reorder
// the payments, so it is shown only.
inline constexpr std::array<VaryGridColumn, 6> kVariableGridColumns = {{
    {"GrpID", "GroupID", false},
    {"GrpSize", "#/Group"},
    {"Rate", "% / year eqv."},
    {"Payment", "$/Pay't"},
    {"Interval", "RegPd/Interv"},
    {"AddDays", "+Days/Interval"},
}};
inline constexpr std::string_view kVaryClearButton = "Clear List";  // butVaryReset
inline constexpr std::string_view kVarySaveButton = "Save List";    // butVarSave
inline constexpr std::string_view kVaryLoadButton = "Load List";    // butVaryLoad

// --- FIFTH: the schedule -----------------------------------------------------------------
inline constexpr std::string_view kVaryFifth =
    "FIFTH, Edit grid above & amortize again until Final Balance nears zero. LAST, click Chart.";
// dbgVarSchedule's columns, left to right: the payment, its rate and
// interval, then the balance before, the interest, the payment and the
// balance after. RegPds has no title of its own.
inline constexpr std::array<VaryGridColumn, 8> kVarScheduleGridColumns = {{
    {"Sequence", "#"},
    {"Rate", "%/a.eqv."},
    {"RegPds", ""},
    {"AddDays", "+Days:"},
    {"OldBal", "$ OldBal"},
    {"Interest", "+ Interest"},
    {"Payment", "- Payment"},
    {"NewBal", "=$NewBal"},
}};
inline constexpr std::string_view kVaryAmortizeButton = "Amortize";   // butMake
inline constexpr std::string_view kVaryChartButton = "Chart";         // butVarPrint
inline constexpr std::string_view kVaryMoveButton = "Move to Tab 5";  // butVaryTransform
inline constexpr std::string_view kVaryMoveText =
    "Click here to move this Schedule into Tab 5, so you can figure an APR.";

// --- "Save List" and "Load List" ---------------------------------------------------------
// The list commands' words are the list files' own (data/schedule_file.h).
inline constexpr std::string_view kNoListToSave = kNoVariableToSave;
inline constexpr std::string_view kSaveListTitle = kSaveVariableTitle;
// An existing file is replaced only after OverwriteQuestion; No tells
// kVariableNotSaved (SaveVarListAsked).
inline constexpr std::string_view kLoadListTitle = kLoadVariableTitle;
// A confirmation with Yes and No, asked before a list replaces a non-empty one.
inline constexpr std::string_view kSaveBeforeLoad = kSaveCurrentVariableQuestion;
// The dialogs propose the schedule files' name.
inline constexpr std::string_view kProposedListFileName = kProposedScheduleFileName;
inline constexpr std::string_view kListFileExtension = kScheduleFileExtension;

}  // namespace qv
