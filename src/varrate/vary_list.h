#pragma once
// The variable-rate page's list of payment groups (mdsVariable): the six
// entry boxes, "Add Group", the running summary and "Clear List".
//
// The page reads its boxes, calls one of these functions and writes back
// what it returns; the rules live here, free of any windowing toolkit.
//     Exit of a box:  auto c = qv::CheckVaryBox(state.vary, state.group,
//                                           qv::VaryBox::ebxVaryRate, text);
//                     ApplyEntryCheck(c, port, setText); focus back when c.focusBack
//     "Add Group":    auto r = qv::AddVaryGroup(state.vary, state.group, mdsVariable,
//                                           {five texts});
//     "Clear List":   auto r = qv::ClearVaryList(state.vary, state.group, mdsVariable);
// Entering the page with an empty list does "Clear List".
//
// The running count and total of payments (GroupPayCount, GroupPayTotal) are
// shared with the irregular page: adding a group on either page adds to both,
// and "Clear List" zeroes them for both. The group number is the page's own
// (VaryGroupNumber), so that clearing this list never renumbers the other's.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/number_entry.h"
#include "base/user_port.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "schedule/schedule_file.h"

namespace qv {

class TMemDataSet;

// --- the six boxes ----------------------------------------------------------------

enum class VaryBox {
    ebxPrincipal,
    ebxVaryPayCount,
    ebxVaryPayment,
    ebxVaryRegPds,
    ebxVaryAddDays,
    ebxVaryRate,
};

struct VaryBoxInfo {
    VaryBox box;
    std::string_view startText;
    std::string_view hint;
    std::string_view label;  // the Name of the entry check's messages
    bool decimal;            // ValidateFloat2; otherwise ValidateInteger2
};

// In tab order. The page's full tab order is: the group grid, the interval
// group, the first five boxes, "Add Group", and only then the rate box.
inline constexpr std::array<VaryBoxInfo, 6> kVaryBoxes = {{
    {VaryBox::ebxPrincipal, "0.00", "Amount Financed excludes the Finance Charge.",
     "Contract Principal", true},
    {VaryBox::ebxVaryPayCount, "1", "# of Payments of same size and interval.",
     "# Payments/Variable Group", false},
    {VaryBox::ebxVaryPayment, "0.00", "Identical for all payments in this group.",
     "Payment $/Interval", true},
    {VaryBox::ebxVaryRegPds, "1", "Identical for all in this group,",
     "Number of Common Periods/Interval", false},
    {VaryBox::ebxVaryAddDays, "0", "Identical for all in Group, >0 if 0 regular payments.",
     "Extra Days/Interval", false},
    {VaryBox::ebxVaryRate, "12.0", "Identical for all in Group, >0 if 0 regular payments.",
     "Annualized Variable %", true},
}};

const VaryBoxInfo& VaryBoxInfoOf(VaryBox box);

// The check run when the focus leaves a box: the box's entry check with its
// label. The value goes into the variable the box fills (ContractPrincipal,
// VaryGroupSize, GroupPay, GroupPds, GroupExtra or VaryRate) whenever the
// check says the target is written. The page carries out the box text and
// the message (ApplyEntryCheck) and puts the focus back when asked.
EntryCheck CheckVaryBox(VaryInputs& vary, GroupEntry& group, VaryBox box, std::string_view text);

// A text a box is to show.
struct VaryBoxText {
    VaryBox box;
    std::string_view text;
    bool operator==(const VaryBoxText&) const = default;
};

// --- "Add Group" ------------------------------------------------------------------

inline constexpr std::string_view kVaryGroupSyntaxError =
    "This Variable Rate Group data has syntax errors.";

// The most payments a list may hold. Far beyond any real schedule (forty
// years of weekly payments are about 2,100), yet small enough that the
// amortization and its chart stay quick and light.
inline constexpr std::int64_t kMaxVaryPayments = 20000;
inline constexpr std::string_view kVaryTooManyPayments =
    "Warning: No more than 20,000 payments allowed in a Variable Rate List!";

// The five group boxes' texts, read afresh when "Add Group" is clicked.
struct VaryGroupTexts {
    std::string_view count;    // ebxVaryPayCount
    std::string_view payment;  // ebxVaryPayment
    std::string_view regPds;   // ebxVaryRegPds
    std::string_view addDays;  // ebxVaryAddDays
    std::string_view rate;     // ebxVaryRate
};

struct VaryAddResult {
    bool added = false;
    // Refusals, in the order to show them: the syntax message, the limit
    // message (both can appear), or the table's own error.
    std::vector<PendingMessage> messages;
    // When added: labVary7, labVary14 and the four group boxes to reset (the
    // rate and principal boxes keep their texts); dbgVariable becomes
    // editable.
    std::string groupLabel;
    std::string summary;
    std::vector<VaryBoxText> boxes;
};

// "Add Group". Each text that converts (GroupTextAsInteger /
// GroupTextAsDecimal) is stored in its variable even when the add is refused.
// A text that does not convert refuses the add with kVaryGroupSyntaxError; a
// group that would take the running count past kMaxVaryPayments is refused
// with kVaryTooManyPayments. Otherwise the group is recorded in mdsVariable as
// GrpID VaryGroupNumber (left pending, as the grid shows it), the running
// count and total grow and VaryGroupNumber moves on. A group of no payments
// is accepted.
VaryAddResult AddVaryGroup(VaryInputs& vary, GroupEntry& group, TMemDataSet& variable,
                           const VaryGroupTexts& texts,
                           const FormatSettings& fs = FormatSettings{});

// labVary14 after a group is added or a list is loaded (UpdateVGroupSum):
// "5 Payments, Total= $400.00".
std::string VGroupSumText(std::int64_t count, double total,
                          const FormatSettings& fs = FormatSettings{});

// --- "Clear List" -----------------------------------------------------------------

inline constexpr std::string_view kVaryClearedSummary = "0 Payments, Total $0.00";
inline constexpr std::string_view kVaryClearedGroupLabel = "Payment Group # 1 has";

struct VaryClearResult {
    Interval interval = kStartInterval;  // rgpVary
    std::string_view groupLabel = kVaryClearedGroupLabel;
    std::string_view summary = kVaryClearedSummary;
    std::vector<VaryBoxText> boxes;  // all six
};

// Empties mdsVariable (the schedule table is left alone), numbers the next
// group 1 and zeroes the running count and total. The principal box shows
// "00.00" and ContractPrincipal becomes 0 with it, so that "Amortize" never
// works on a principal the page no longer shows.
VaryClearResult ClearVaryList(VaryInputs& vary, GroupEntry& group, TMemDataSet& variable);

// --- "Load List" ------------------------------------------------------------------

// After LoadVarData has replaced the list: the principal of the file's header
// (none: the principal stays), and the list carries on from the groups
// loaded. Groups added next are numbered after the highest number loaded, so
// they follow the loaded ones in the amortization as they follow them in
// time, and the running count and total become the loaded list's, so that
// the summary goes on from what it shows. Nothing changes when the load was
// refused.
void TakeVaryListLoad(VaryInputs& vary, GroupEntry& group, TMemDataSet& variable,
                      const VarListLoad& load);

// --- edits in the list's grid -------------------------------------------------------

// After the user changed a cell of the list: the running count and total
// become the list's as it now stands (as after a load), so the summary
// never shows payments the list no longer holds. Returns labVary14's text.
// Throws the table's EMemDatasetError when a pending group cannot be stored.
std::string TakeVaryListEdit(GroupEntry& group, TMemDataSet& variable,
                             const FormatSettings& fs = FormatSettings{});

}  // namespace qv
