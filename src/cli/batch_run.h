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
#include "cli/streams.h"
#include "data/line_reader.h"

namespace qv::cli {

// What a name on the command line stands for: a folder, a batch file (by its
// ending in any case: .csv, or .jsonl, .ndjson or .json for JSON Lines) or a
// schedule file. Standard input ("-"), pipes and devices without one of
// those endings are told by their first character instead (see LoanFeed).
enum class InputKind { ScheduleFile, Folder, CsvFile, JsonLinesFile };
InputKind KindOfInput(const std::filesystem::path& input);
// The kind a name's ending gives; empty when the ending names none.
std::optional<InputKind> KindOfName(const std::filesystem::path& input);

// A batch line longer than this is not a loan. Reading stops as soon as a
// line passes it (rather than look for an end that may never come, as in
// /dev/zero): the line is reported and the rest of that input is not read.
inline constexpr std::size_t kMaxBatchLineLength = 64 * 1024;

// How the inputs named on the command line are read.
struct FeedSettings {
    std::optional<InputKind> kind;  // --input-format: the kind of every file named
    BatchReading reading;           // --ignore-unknown
};

// One loan to compute, as it was read.
struct LoanSource {
    enum class Kind { ScheduleFile, CsvLine, JsonLine, Unreadable };
    Kind kind = Kind::Unreadable;
    std::string location;                       // "examples/a.txt", "loans.csv:7"
    std::filesystem::path file;                 // ScheduleFile
    std::string text;                           // CsvLine, JsonLine: the line
    std::shared_ptr<const CsvColumns> columns;  // CsvLine
    std::string error;                          // Unreadable: why
    bool fatal = false;  // Unreadable: the input itself, not one loan, could not be read
    // Unreadable: an error of an input as a whole (its CSV header, a batch
    // file or folder that cannot be read), which holds no loan of its own.
    bool wholeInput = false;
    std::shared_ptr<InputBuf> opened;  // ScheduleFile: already opened (read ahead)
    BatchReading reading;              // CsvLine, JsonLine
    std::int64_t readThrough = 0;      // regular-file bytes read up to and with this loan
};

// Hands out the loans of the inputs in order: a schedule file is one loan,
// a folder its files in name order (hidden files and folders inside it left
// out), a batch file one loan per line that is not blank. Anything that
// cannot be read becomes an Unreadable source saying why, and reading goes
// on with what follows. Every input is opened and read once, from its
// start, line by line (never whole), so pipes and standard input work.
//
// An input whose name does not tell its kind and that is no regular file
// (standard input, a pipe, a device) is told by its first character that is
// not white space: "{" starts JSON Lines, a digit or a sign a schedule file,
// anything else a CSV header.
class LoanFeed {
  public:
    explicit LoanFeed(std::vector<std::filesystem::path> inputs, FeedSettings settings = {});
    ~LoanFeed();
    LoanFeed(const LoanFeed&) = delete;
    LoanFeed& operator=(const LoanFeed&) = delete;

    std::optional<LoanSource> Next();

  private:
    struct BatchFile;

    // `named` on the command line rather than found in a folder.
    std::optional<LoanSource> Open(const std::filesystem::path& input, bool named);
    std::optional<LoanSource> NextOfBatch();

    struct Pending {
        std::filesystem::path path;
        bool named;  // on the command line, not found in a folder
    };
    LoanSource ScheduleFileSource(const std::filesystem::path& input,
                                  std::shared_ptr<InputBuf> opened);
    std::optional<LoanSource> OpenBatch(const std::filesystem::path& input, InputKind kind,
                                        std::unique_ptr<InputBuf> in);

    std::vector<Pending> pending_;  // inputs still to open, last first
    FeedSettings settings_;
    std::unique_ptr<BatchFile> batch_;
    std::int64_t readBefore_ = 0;  // regular-file bytes of the inputs done with
};

// The bytes of the regular files among the inputs (folders' files included),
// for a progress bar, learnt without reading them; empty when an input is
// a pipe, a device or standard input, whose length is not known.
std::optional<std::int64_t> InputBytes(const std::vector<std::filesystem::path>& inputs);

// Computes one loan with `worker`; never throws.
LoanRecord Evaluate(LoanWorker& worker, const LoanSource& source);

// Turns a computed record into its output text (LoanRecord::formatted).
using RecordFormat = std::function<void(const LoanRecord&, std::string&)>;

// Computes every loan of `feed` on `jobs` threads (each with a worker of its
// own) and hands the records to `sink` on the calling thread, in the order
// the feed gave the loans. With `format`, each record is formatted on the
// thread that computed it, so the formatting is shared out with the
// computing and the calling thread only writes. Only a bounded number of
// records wait for their turn, so a batch of any size runs in bounded
// memory.
void RunLoans(LoanFeed& feed, const RunSettings& settings, int jobs,
              const std::function<void(LoanRecord&&)>& sink, const RecordFormat& format = {});

}  // namespace qv::cli
