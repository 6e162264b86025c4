#pragma once
// A progress bar on standard error, for a terminal: it is redrawn in place
// at most ten times a second and taken off the line before anything else is
// written there. It measures the bytes read of the inputs when their length
// is known (regular files), and otherwise spins beside the count of loans.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>

namespace qv::cli {

class ProgressBar {
  public:
    ProgressBar(std::ostream& terminal, std::optional<std::int64_t> totalBytes);
    // One more loan done, the input read through `readThrough` bytes.
    void Step(std::int64_t readThrough);
    // Takes the bar off its line (it comes back with the next Step).
    void Clear();

  private:
    void Draw();

    std::ostream& terminal_;
    std::optional<std::int64_t> total_;
    std::int64_t read_ = 0;
    std::size_t loans_ = 0;
    std::size_t turns_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace qv::cli
