#pragma once
// The progress of a delimited-text import or export, and the texts of the
// progress window that shows it.
//
// The components report to a ProgressObserver and never see a window; the
// desktop application's window is an observer that feeds ProgressWindowTexts
// and copies its texts into its labels.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

enum class ProgressKind { Import, Export };
// What the percentage counts: records (export) or bytes (import).
enum class ProgressBasis { Records, Bytes };

class ProgressObserver {
  public:
    virtual ~ProgressObserver() = default;
    // Once at the beginning of a run: the import passes (Import, Bytes, size
    // of the input file, 0, its name), the export (Export, Records, 0,
    // records of the table, the output file's name).
    virtual void Start(ProgressKind kind, ProgressBasis basis, std::int64_t totalBytes,
                       std::int64_t totalRecords, const std::string& fileName) = 0;
    // During the run: the import after every line, the export every
    // max(1, records / 100) records.
    virtual void Update(std::int64_t recordsDone, std::int64_t bytesDone) = 0;
    // At the end of the run, however it ends: the window goes away.
    virtual void Finish() = 0;
};

// Tells an observer (if there is one) that a run is over, however it ends.
class ProgressRun {
  public:
    explicit ProgressRun(ProgressObserver* observer) : observer_(observer) {}
    ~ProgressRun() {
        if (observer_) observer_->Finish();
    }
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;
    ProgressObserver* operator->() const { return observer_; }
    explicit operator bool() const { return observer_ != nullptr; }

  private:
    ProgressObserver* observer_;
};

// The clock the window measures the run with; tests pass their own.
using ProgressClock = std::function<std::chrono::steady_clock::time_point()>;

// What the progress window shows. Before a run: caption "Progress", the
// four value labels "?", "0%" and an empty bar.
//
// A total of 0 on the basis (an empty input file, a file whose size is not
// known, a table without records) gives no percentage and no remaining time:
// the percentage and time keep their start texts ("0%", "00:00:00
// remaining") and Fraction() is empty, so the window shows a busy bar, while
// the record and byte counts go on counting.
class ProgressWindowTexts : public ProgressObserver {
  public:
    explicit ProgressWindowTexts(ProgressClock clock = std::chrono::steady_clock::now);

    void Start(ProgressKind kind, ProgressBasis basis, std::int64_t totalBytes,
               std::int64_t totalRecords, const std::string& fileName) override;
    void Update(std::int64_t recordsDone, std::int64_t bytesDone) override;
    void Finish() override {}

    const std::string& Caption() const { return caption_; }
    const std::string& lbFile() const { return file_; }
    const std::string& lbRecords() const { return records_; }
    const std::string& lbBytes() const { return bytes_; }
    const std::string& lbTime() const { return time_; }
    const std::string& lbPercentage() const { return percentage_; }
    // The progress bar: its maximum and position on the chosen basis.
    std::int64_t BarMaximum() const { return barMax_; }
    std::int64_t BarPosition() const { return barPos_; }
    // Position / maximum, held to 0..1; empty while the total is 0.
    std::optional<double> Fraction() const;

  private:
    ProgressClock clock_;
    std::chrono::steady_clock::time_point started_{};
    ProgressKind kind_ = ProgressKind::Import;
    ProgressBasis basis_ = ProgressBasis::Bytes;
    std::int64_t totalBytes_ = 0;
    std::int64_t totalRecords_ = 0;

    std::string caption_ = "Progress";
    std::string file_ = "?";
    std::string records_ = "?";
    std::string bytes_ = "?";
    std::string time_ = "?";
    std::string percentage_ = "0%";
    std::int64_t barMax_ = 0;
    std::int64_t barPos_ = 0;
};

}  // namespace qv
