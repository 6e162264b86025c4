#include "app/chart_document.h"

#include <algorithm>

#include "app/qt_text.h"
#include "app/shell_texts.h"

namespace {

// The lines as the chart box holds them once they are shown.
qv::ChartText AsShown(const qv::ChartText& lines) {
    qv::ChartText shown;
    shown.reserve(lines.size());
    for (const std::string& line : lines) {
        std::size_t from = 0;
        for (std::size_t at = line.find('\n'); at != std::string::npos;
             at = line.find('\n', from)) {
            shown.push_back(line.substr(from, at - from));
            from = at + 1;
        }
        shown.push_back(line.substr(from));
    }
    if (shown.empty()) shown.emplace_back();
    return shown;
}

bool EndsWith(const qv::ChartText& text, const qv::ChartText& tail) {
    return !tail.empty() && tail.size() <= text.size() &&
           std::equal(tail.rbegin(), tail.rend(), text.rbegin());
}

}  // namespace

ChartDocument::ChartDocument() {
    Reset();
}

void ChartDocument::SetLines(const qv::ChartText& lines) {
    lines_ = AsShown(lines);
    emit Replaced();
}

void ChartDocument::Append(const qv::ChartText& lines) {
    if (lines.empty()) return;
    const qv::ChartText added = AsShown(lines);
    // An empty text has nothing to follow: the first line added is its first.
    if (lines_.size() == 1 && lines_.front().empty()) lines_.clear();
    lines_.insert(lines_.end(), added.begin(), added.end());
    emit Appended(added);
}

void ChartDocument::TakeEdit(const qv::ChartText& lines) {
    lines_ = AsShown(lines);
}

void ChartDocument::SetCaption(const std::string& caption) {
    caption_ = caption;
    emit CaptionChanged(Q(caption_));
}

bool ChartDocument::ChartAmortization(const qv::ComputedSchedule* computed, double roundAdd,
                                      const qv::ChartOptions& options, qv::UserPort& port) {
    qv::ChartText lines;
    const qv::ChartResult result =
        qv::AppendAmortizationChart(computed, roundAdd, options, lines, port);
    SetCaption(result.caption);
    if (!EndsWith(lines_, lines)) Append(lines);
    return result.outcome == qv::ChartOutcome::Appended;
}

void ChartDocument::Reset() {
    SetCaption("Amortization rounds to nearest cent.");
    SetLines({shell_text::kNoChartText});
}
