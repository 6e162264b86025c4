#pragma once
// A progress bar on standard error, for a terminal: it is redrawn in place
// at most ten times a second and taken off the line before anything else is
// written there.
#include <chrono>
#include <cstddef>
#include <iosfwd>

namespace qv::cli {

class ProgressBar {
  public:
    ProgressBar(std::ostream& terminal, std::size_t total);
    // One more loan done.
    void Step();
    // Takes the bar off its line (it comes back with the next Step).
    void Clear();

  private:
    void Draw();

    std::ostream& terminal_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace qv::cli
