#pragma once
// The schedule editor's page ("5:Save/Edit"): its texts, top to bottom. The
// grid shows the payment groups as the irregular page does
// (kPayGroupColumns); what its buttons do is in schedule/group_schedule.h
// and schedule/schedule_file.h.
#include <array>
#include <string_view>

#include "base/page_text.h"

namespace qv {

// A line of text with the control's name.
struct NamedText {
    std::string_view name;
    std::string_view text;
};

// The load and save lines: each label followed by its button.
inline constexpr NamedText kEditorLoadLine{"labEdit10",
                                           "To LOAD a previously saved payment schedule, click-> "};
inline constexpr NamedText kEditorSaveLine{
    "labEdit9", "To SAVE a payment schedule you have already entered (shown below), click-> "};

// How to edit, one line each, above the grid.
inline constexpr std::array<NamedText, 8> kEditorInstructionLines{{
    {"labEdit1", "To REVISE a payment schedule you have already entered, it should appear below."},
    {"labEdit7", "(if not, enter one at Tab 3 or LOAD a saved schedule, as described above.)"},
    {"labEdit4", "Before editing, save this schedule, if you want to reuse it or undo your edits."},
    {"labEdit2",
     "To edit an existing cell, click on it, and type its new value WITHOUT commas or dollar "
     "signs;"},
    {"editLab5",
     "To remove an existing group of payments, click on the row & then the Delete Selected Row "
     "button."},
    {"labEdit3",
     "To add a new group of matched payments, click the Add Blank Row button, then edit the "
     "cells."},
    {"labEdit6",
     "To reorder the groups, change the row's \"Group #,\" WITHOUT DUPLICATING any other Group "
     "#."},
    {"labEdit8", "After editing SAVE this schedule again. A different file name is recommended"},
}};

enum class EditorButton {
    butLoad,
    butSave,
    butAddRow,
    butKillRow,
    butUpdateGlobals,
    butEditTotPay,
    butEditReset,
};
// In tab order; the grid dbgPaySet2 comes between butSave and butAddRow, and
// the buttons from butAddRow on share the line under it.
inline constexpr std::array<ButtonText, 7> kEditorButtons{{
    {"butLoad", "Load a Schedule", ""},
    {"butSave", "Save This Schedule", ""},
    {"butAddRow", "Add blank Row", ""},
    {"butKillRow", "Delete Selected Row", ""},
    {"butUpdateGlobals", "Test Sched. Integrity", ""},
    {"butEditTotPay", "Test Total of Pay'ts", ""},
    {"butEditReset", "Reset All", ""},
}};

constexpr const ButtonText& EditorButtonInfo(EditorButton button) {
    return kEditorButtons[static_cast<std::size_t>(button)];
}

// --- messages ---------------------------------------------------------------------------

inline constexpr std::string_view kNoRecordsText = "No Records in this Grid";
// Followed by the row's position in the grid.
inline constexpr std::string_view kConfirmDeleteRowText =
    "Please Confirm that you Want to Delete Row# ";
inline constexpr std::string_view kResetDoneText = "Reset Done!";

}  // namespace qv
