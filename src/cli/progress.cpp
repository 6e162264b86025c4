#include "cli/progress.h"

#include <ostream>
#include <string>

namespace qv::cli {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

ProgressBar::ProgressBar(std::ostream& terminal, std::size_t total)
    : terminal_(terminal), total_(total) {}

void ProgressBar::Step() {
    ++done_;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - lastDrawn_ < kRedrawEvery && done_ < total_) return;
    lastDrawn_ = now;
    Draw();
}

void ProgressBar::Clear() {
    if (!shown_) return;
    // Back to the start of the line, and the line erased.
    terminal_ << "\r\x1b[K" << std::flush;
    shown_ = false;
}

void ProgressBar::Draw() {
    const std::size_t total = total_ > 0 ? total_ : 1;
    const std::size_t done = done_ < total ? done_ : total;
    const auto filled = static_cast<int>(done * kBarWidth / total);
    std::string line = "\r[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), '-');
    line += "] " + std::to_string(done * 100 / total) + "%  " + std::to_string(done_) + " of " +
            std::to_string(total_) + " loans";
    terminal_ << line << std::flush;
    shown_ = true;
}

}  // namespace qv::cli
