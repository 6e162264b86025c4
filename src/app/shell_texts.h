#pragma once
// The shell's own messages, word for word. "\n\r" (line feed, carriage
// return) and "\r\n" are kept as the messages were written; the message box
// shows each pair as one line break.

namespace shell_text {

// The window title: product, version, maker's notice and release date.
inline constexpr const char* kWindowTitle =
    "Quorvane (version 0.9992)  Made by the Quorvane developers, free to use and share  "
    "12-25-2002";

inline constexpr const char* kExitQuestion = "Exit APR now?";

inline constexpr const char* kAboutQuorvane =
    "There is no separate online Help in this version, but see\n\r"
    "... Tolerances, Tab 1 and the next page to appear.";

inline constexpr const char* kRuleOf78sWarning =
    "Warning: Rule of 78s is UNDEFINED for Schedules\n\r"
    "with irregular payments or intervals, as may occur\n\r"
    "in Tab 4. See the bottom of the next Screen.";

inline constexpr const char* kUninstalling =
    "This software is not listed in the Windows\n\r"
    "Registry and has no supplemental files,\n\r"
    "so no uninstallation program is needed.\n\r"
    "Just delete the file Quorvane.exe from its\n\r"
    "folder, as well as any shortcuts you made.";

inline constexpr const char* kSmallScreen =
    "Unfortunately there's no reliable way to guarantee\r\n"
    "complete viewing on 480x640 \"VGA\" screens. Be sure\r\n"
    "the Quorvane window is maximized. Next you should\r\n"
    "check to see that your monitor has a black edge on\r\n"
    "all 4 sides; if not reset it so it does. Next\r\n"
    "change the Screen Font size to Small if it is Large and\r\n"
    "increase the Desktop Area to 600x800. You adjust these\r\n"
    "by RIGHT clicking on your Windows desktop, select\r\n"
    "Properties, then the Settings Tab. The \"Desktop Area\"\r\n"
    "slider is mid-right, the Screen Font chooser is mid-left.";

inline constexpr const char* kIrregularRedirect =
    "This data has been posted from the Payment Schedule\n\r"
    "you just loaded, but it appears this Schedule is\n\r"
    "NOT REGULAR, so you will be redirected to Tab 3.\n\r"
    "(If you use Tab 2 it will reset the schedule!)\n\r"
    "Check the payment detail, if you wish, at Tab 4.\n\r"
    "\n\r"
    "You will not see this warning again.";

// What the chart box says until a chart has been made.
inline constexpr const char* kNoChartText = "no Chart Text until [Chart Amortization] is clicked.";

// What the chart box says once the schedule on screen could not be computed:
// the report of an earlier schedule would be taken for this one's.
inline constexpr const char* kNoCurrentReportLines[] = {
    "No APR report: the schedule as it stands could not be computed.",
    "Correct it as the messages said, then compute its APR again."};

}  // namespace shell_text
