#pragma once
// The chart page ("4:Chart/Rule of 78s"): its texts, top to bottom. The
// chart document it shows is made in chart/amortization.h and saved by
// chart/chart_file.h.
#include <array>
#include <string_view>

#include "base/page_text.h"

namespace qv {

inline constexpr std::array<std::string_view, 2> kChartIntroLines{
    "FIRST, if this grid is empty, go to Tab 5 or the File Menu to load any saved schedules.",
    "The Schedule of Payments below will make up the Amortization Schedule."};

// dbgDetail, read only: the payments of the last schedule computed, left to
// right.
inline constexpr std::array<GridColumnText, 6> kChartDetailColumns{{
    {"Sequence", "Pay #"},
    {"PaySize", "$ Paid"},
    {"PriorPds", "Prior Pd(s)"},
    {"AddDays", "Prior Extra Days"},
    {"UnEarnIn", "UnEarn FC"},
    {"Rebate", "Rx78 Rebate"},
}};
inline constexpr std::string_view kChartDetailName = "Schedule of payments";
inline constexpr std::string_view kChartDetailLine =
    "You cannot edit this grid, but you can edit this schedule at Tab 5.";

// The chart line: kChartSecondLine, butChartEst, then labChart7 with the
// document's caption.
inline constexpr std::string_view kChartSecondLine = "SECOND, click:";

// redChart, in a fixed-pitch font, until the chart document is shown.
inline constexpr std::string_view kChartStartText = "Amortization Chart will Appear here";
inline constexpr std::string_view kChartTextName = "Chart text";
inline constexpr std::string_view kChartEditLine =
    "You can add text or edit the Amortization Chart before printing: Click Using the Chart "
    "button for info.";
inline constexpr std::string_view kChartThirdLine = "THIRD, click:";

enum class ChartButton {
    butGoToIrreg,
    butReRx78,
    butChartEst,
    butPrint,
    butSaveChart,
    butClearIt,
    butAbout,
    butChartReset,
};
// In tab order: butGoToIrreg and butReRx78 share the line under the grid
// (butReRx78 shows only while rebates are shown), butChartEst has its own,
// the rest follow kChartThirdLine under the chart text.
inline constexpr std::array<ButtonText, 8> kChartButtons{{
    {"butGoToIrreg", "Goto Editable Schedule", ""},
    {"butReRx78", "Rule of 78s Warning", ""},
    {"butChartEst", "Chart Amortization", ""},
    {"butPrint", "Print Chart", ""},
    {"butSaveChart", "Save Chart Text", ""},
    {"butClearIt", "Clear Chart", ""},
    {"butAbout", "Using the Chart", ""},
    {"butChartReset", "Reset All", ""},
}};

constexpr const ButtonText& ChartButtonInfo(ChartButton button) {
    return kChartButtons[static_cast<std::size_t>(button)];
}

}  // namespace qv
