// Saving the chart text.
#include "chart/chart_file.h"

namespace qv {

std::string OverwriteChartQuestion(const std::filesystem::path& file) {
    return OverwriteQuestion(file);
}

ChartSaveResult SaveChartText(const std::filesystem::path& file, const ChartText& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return WriteFileAtomically(file, text);
}

ChartSaveOutcome SaveChartTextAsked(const std::filesystem::path& file, const ChartText& lines,
                                    UserPort& port) {
    return SaveAsked(file, kChartNotSavedText, port,
                     [&file, &lines] { return SaveChartText(file, lines); });
}

}  // namespace qv
