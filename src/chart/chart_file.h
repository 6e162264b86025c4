#pragma once
// Chart output: saving the chart text to a file, and the texts of the chart's
// print and save commands shared by the window and the tests.
#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_save.h"
#include "base/user_port.h"
#include "core/apr_engine.h"

namespace qv {

// "Save Chart Text": the save dialog's title, proposed name and extension.
inline constexpr std::string_view kSaveChartDialogTitle = "Saving Amortization Chart Text";
inline constexpr std::string_view kProposedChartFileName = "MyChart.txt";
inline constexpr std::string_view kChartFileExtension = "txt";
inline constexpr std::string_view kChartNotSavedText = "OK, Amortization Chart Text Not Saved";

// "Print Chart": job title (two spaces before the version) and printer font.
inline constexpr std::string_view kChartPrintJobTitle = "Quorvane Amortization Chart  0.9992";
inline constexpr std::string_view kChartPrintFontName = "Courier New";
inline constexpr int kChartPrintFontPoints = 10;
// "Print Report" of the figure-a-schedule page.
inline constexpr std::string_view kKnownRatePrintJobTitle = "Quorvane Known Rate Schedule";
inline constexpr int kKnownRatePrintFontPoints = 12;

// "Print Amortization" on the irregular page: the question after charting
// ("\n\r" is a line feed followed by a carriage return) and the answer to Yes.
inline constexpr std::string_view kReviewChartQuestion =
    "Do you want to review the Amortization Chart\n\ron screen instead of printing it ?";
inline constexpr std::string_view kChartedWithoutHardcopyText = "OK, Charted without hardcopy.";

// "Do you really want to overwrite " + the file's name without its folder + "?"
std::string OverwriteChartQuestion(const std::filesystem::path& file);

using ChartSaveResult = FileSaveResult;

// What a saved chart file holds: the lines, each ended by a carriage return
// and a line feed.
std::string ChartFileText(const ChartText& lines);

// Writes the lines, each ended by a carriage return and a line feed, to
// `file`. The text goes to a new file in the same folder first and replaces
// `file` only once it has been written completely and flushed to the disk,
// so a failure never leaves a half-written file in place of an old one
// (see AtomicFile).
ChartSaveResult SaveChartText(const std::filesystem::path& file, const ChartText& lines);

using ChartSaveOutcome = SaveOutcome;

// The command after the save dialog: asks before overwriting an existing file
// (a warning with Yes and No), then saves and shows any error.
ChartSaveOutcome SaveChartTextAsked(const std::filesystem::path& file, const ChartText& lines,
                                    UserPort& port);

}  // namespace qv
