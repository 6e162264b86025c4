#include "cli/progress.h"

#include <ostream>
#include <string>

#include "cli/terminal_text.h"

namespace qv::cli {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr char kSpinner[] = {'|', '/', '-', '\\'};

}  // namespace

ProgressBar::ProgressBar(std::ostream& terminal, std::optional<std::int64_t> totalBytes)
    : terminal_(terminal), total_(totalBytes) {}

void ProgressBar::Step(std::int64_t readThrough) {
    ++loans_;
    read_ = readThrough;
    const auto now = std::chrono::steady_clock::now();
    const bool done = total_ && read_ >= *total_;
    if (shown_ && now - lastDrawn_ < kRedrawEvery && !done) return;
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
    const std::string loans = Grouped(loans_) + (loans_ == 1 ? " loan" : " loans");
    std::string line = "\r";
    if (total_) {
        const std::int64_t total = *total_ > 0 ? *total_ : 1;
        const std::int64_t done = read_ < total ? read_ : total;
        const auto filled = static_cast<std::size_t>(done * kBarWidth / total);
        line += "[";
        line.append(filled, '#');
        line.append(static_cast<std::size_t>(kBarWidth) - filled, '-');
        line += "] " + std::to_string(done * 100 / total) + "%  " + loans;
    } else {
        line += kSpinner[turns_++ % sizeof kSpinner];
        line += " " + loans;
    }
    terminal_ << line << "\x1b[K" << std::flush;
    shown_ = true;
}

}  // namespace qv::cli
