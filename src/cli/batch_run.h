#pragma once
// The loans of the command line, read one at a time from schedule files,
// folders and batch files, computed on several threads and handed back in
// the order they were read, whatever the number of threads.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_input.h"
#include "cli/loan_run.h"
#include "data/line_reader.h"

namespace qv::cli {

// What a name on the command line stands for: a folder, a batch file (by its
// ending, .csv, or .jsonl or .ndjson for JSON Lines) or a schedule file.
enum class InputKind { ScheduleFile, Folder, CsvFile, JsonLinesFile };
InputKind KindOfInput(const std::filesystem::path& input);

// A batch line longer than this is not a loan; it is reported and skipped.
inline constexpr std::size_t kMaxBatchLineLength = 64 * 1024;

// One loan to compute, as it was read.
struct LoanSource {
    enum class Kind { ScheduleFile, CsvLine, JsonLine, Unreadable };
    Kind kind = Kind::Unreadable;
    std::string location;                       // "examples/a.txt", "loans.csv:7"
    std::filesystem::path file;                 // ScheduleFile
    std::string text;                           // CsvLine, JsonLine: the line
    std::shared_ptr<const CsvColumns> columns;  // CsvLine
    std::string error;                          // Unreadable: why
};

// Hands out the loans of the inputs in order: a schedule file is one loan,
// a folder its files in name order (hidden files and folders inside it left
// out), a batch file one loan per line that is not blank. Anything that
// cannot be read becomes an Unreadable source saying why, and reading goes
// on with what follows. Batch files are read line by line, never whole.
class LoanFeed {
  public:
    explicit LoanFeed(std::vector<std::filesystem::path> inputs);
    ~LoanFeed();
    LoanFeed(const LoanFeed&) = delete;
    LoanFeed& operator=(const LoanFeed&) = delete;

    std::optional<LoanSource> Next();

  private:
    struct BatchFile;

    std::optional<LoanSource> Open(const std::filesystem::path& input);
    std::optional<LoanSource> NextOfBatch();

    std::vector<std::filesystem::path> pending_;  // inputs still to open, last first
    std::unique_ptr<BatchFile> batch_;
};

// The number of loans the inputs hold (reading them once), for a progress bar.
std::size_t CountLoans(const std::vector<std::filesystem::path>& inputs);

// Computes one loan with `worker`; never throws.
LoanRecord Evaluate(LoanWorker& worker, const LoanSource& source);

// Computes every loan of `feed` on `jobs` threads (each with a worker of its
// own) and hands the records to `sink` on the calling thread, in the order
// the feed gave the loans. Only a bounded number of records wait for their
// turn, so a batch of any size runs in bounded memory.
void RunLoans(LoanFeed& feed, const RunSettings& settings, int jobs,
              const std::function<void(LoanRecord&&)>& sink);

}  // namespace qv::cli
