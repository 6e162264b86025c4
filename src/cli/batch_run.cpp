#include "cli/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <istream>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace qv::cli {
namespace {

namespace fs = std::filesystem;

// `ending` is written in lower case; the name may be in any.
bool EndsWithLetters(const std::string& name, std::string_view ending) {
    if (name.size() < ending.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(ending.begin(), ending.end(), name.end() - std::ptrdiff_t(ending.size()),
                      [&lower](char e, char n) { return e == lower(n); });
}

LoanSource Unreadable(std::string location, std::string error) {
    LoanSource s;
    s.location = std::move(location);
    s.error = std::move(error);
    return s;
}

std::string Located(const fs::path& file, std::int64_t line) {
    return file.string() + ":" + std::to_string(line);
}

// The files of a folder worth reading, in name order; `error` set when the
// folder cannot be listed.
std::vector<fs::path> FolderFiles(const fs::path& folder, std::error_code& error) {
    std::vector<fs::path> files;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        if (path.filename().string().starts_with(".")) continue;
        std::error_code ignored;
        if (it->is_directory(ignored)) continue;
        files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

LoanRecord FromParse(LoanWorker& worker, const LoanParse& parse, const LoanSource& source) {
    if (parse.loan) return worker.FromBatchLoan(*parse.loan, source.location);
    LoanRecord record;
    record.id = parse.id.empty() ? source.location : parse.id;
    record.source = source.location;
    record.error = parse.error;
    // A key not known may hold a value the loan needs: the file is in a
    // form this program does not read, not merely a bad line.
    if (parse.unknownName) record.status = LoanStatus::Unreadable;
    return record;
}

LoanRecord Placed(LoanRecord record, const LoanSource& source) {
    record.readThrough = source.readThrough;
    return record;
}

// The workers take loans in runs of this many, so that a thread meets the
// others once a run rather than once a loan; and they may run this many runs
// per thread ahead of the run being handed out.
constexpr std::size_t kLoansPerRun = 64;
constexpr std::size_t kRunsAheadPerJob = 4;
// A CSV record of a loan takes some 150 characters, a JSON one some 400.
constexpr std::size_t kRecordTextRoom = 256;

}  // namespace

std::optional<InputKind> KindOfName(const fs::path& input) {
    const std::string name = input.filename().string();
    if (EndsWithLetters(name, ".csv")) return InputKind::CsvFile;
    // A .json file of loans holds one object per line; one spread over
    // lines is refused line by line with a message saying so.
    for (const std::string_view ending : {".jsonl", ".ndjson", ".json"})
        if (EndsWithLetters(name, ending)) return InputKind::JsonLinesFile;
    return std::nullopt;
}

InputKind KindOfInput(const fs::path& input) {
    std::error_code ignored;
    if (input != "-" && fs::is_directory(input, ignored)) return InputKind::Folder;
    return KindOfName(input).value_or(InputKind::ScheduleFile);
}

namespace {

InputKind KindOfFirstCharacter(char c) {
    if (c == '{') return InputKind::JsonLinesFile;
    if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') return InputKind::ScheduleFile;
    return InputKind::CsvFile;
}

}  // namespace

// A batch file being read.
struct LoanFeed::BatchFile {
    fs::path file;
    std::string name;  // the file's name as messages give it, made once
    bool csv = true;
    std::unique_ptr<InputBuf> buf;
    std::unique_ptr<std::istream> in;
    std::unique_ptr<LineReader> reader;
    std::int64_t line = 0;
    std::shared_ptr<const CsvColumns> columns;  // CSV, once the header is read
    bool ended = false;                         // nothing more can be read
};

LoanFeed::LoanFeed(std::vector<fs::path> inputs, FeedSettings settings)
    : settings_(std::move(settings)) {
    for (auto it = inputs.rbegin(); it != inputs.rend(); ++it) pending_.push_back({*it, true});
}

LoanFeed::~LoanFeed() = default;

std::optional<LoanSource> LoanFeed::Next() {
    for (;;) {
        if (batch_) {
            if (std::optional<LoanSource> source = NextOfBatch()) return source;
            if (batch_->buf->IsRegularFile()) readBefore_ += batch_->buf->Size();
            batch_.reset();
        }
        if (pending_.empty()) return std::nullopt;
        const Pending input = std::move(pending_.back());
        pending_.pop_back();
        std::optional<LoanSource> source;
        try {
            source = Open(input.path, input.named);
        } catch (const std::exception& e) {
            // Out of memory listing a vast folder, say: that input is lost,
            // the others are still read.
            source = Unreadable(input.path.string(), std::string("cannot read: ") + e.what());
            source->fatal = true;
            source->wholeInput = true;
        }
        if (source) return source;
    }
}

std::optional<LoanSource> LoanFeed::Open(const fs::path& input, bool named) {
    std::error_code ignored;
    if (input != "-" && fs::is_directory(input, ignored)) {
        std::error_code error;
        std::vector<fs::path> files = FolderFiles(input, error);
        if (error) {
            LoanSource s = Unreadable(input.string(), "cannot read the folder: " + error.message());
            s.fatal = true;
            s.wholeInput = true;
            return s;
        }
        // Its files come next, in name order, each of the kind its name says.
        for (auto it = files.rbegin(); it != files.rend(); ++it) pending_.push_back({*it, false});
        return std::nullopt;
    }
    std::optional<InputKind> kind = KindOfName(input);
    if (settings_.kind && named) kind = settings_.kind;
    const fs::file_status status = fs::status(input, ignored);
    const bool regular = input != "-" && fs::is_regular_file(status);
    // A schedule file is opened by the worker that computes it, so that a
    // folder of many files never holds more of them open than there are
    // jobs. Only what must be read ahead to tell its kind is opened here.
    const bool readAhead = !kind && (input == "-" || (fs::exists(status) && !regular));
    if (!readAhead && kind.value_or(InputKind::ScheduleFile) == InputKind::ScheduleFile) {
        if (regular) readBefore_ += static_cast<std::int64_t>(fs::file_size(input, ignored));
        return ScheduleFileSource(input, nullptr);
    }
    auto in = std::make_unique<InputBuf>(input);
    if (!in->Open()) {
        LoanSource s = Unreadable(input.string(), "cannot open: " + in->Failure());
        s.fatal = true;
        s.wholeInput = true;
        return s;
    }
    if (!kind) kind = KindOfFirstCharacter(in->FirstSignificant());
    if (*kind == InputKind::ScheduleFile) return ScheduleFileSource(input, std::move(in));
    return OpenBatch(input, *kind, std::move(in));
}

LoanSource LoanFeed::ScheduleFileSource(const fs::path& input, std::shared_ptr<InputBuf> opened) {
    LoanSource s;
    s.kind = LoanSource::Kind::ScheduleFile;
    s.location = input.string();
    s.file = input;
    s.readThrough = readBefore_;
    s.opened = std::move(opened);
    return s;
}

std::optional<LoanSource> LoanFeed::OpenBatch(const fs::path& input, InputKind kind,
                                              std::unique_ptr<InputBuf> in) {
    auto batch = std::make_unique<BatchFile>();
    batch->file = input;
    batch->name = input.string();
    batch->csv = kind == InputKind::CsvFile;
    batch->buf = std::move(in);
    batch->in = std::make_unique<std::istream>(batch->buf.get());
    batch->reader = std::make_unique<LineReader>(
        *batch->in, batch->buf->IsRegularFile() ? batch->buf->Size() : 0, kMaxBatchLineLength,
        std::numeric_limits<std::int64_t>::max());
    batch_ = std::move(batch);
    return std::nullopt;
}

std::optional<LoanSource> LoanFeed::NextOfBatch() {
    BatchFile& b = *batch_;
    std::string line;
    while (!b.ended) {
        const LineReader::Status status = b.reader->Next(line);
        if (status == LineReader::Status::End) {
            b.ended = true;
            if (b.buf->Failure().empty()) return std::nullopt;
            LoanSource s = Unreadable(Located(b.file, b.line + 1),
                                      "cannot read the rest of the file: " + b.buf->Failure());
            s.fatal = true;
            s.wholeInput = true;
            return s;
        }
        ++b.line;
        std::string location = b.name;
        location += ':';
        location += std::to_string(b.line);
        if (status == LineReader::Status::TooLong) {
            b.ended = true;
            LoanSource s = Unreadable(
                location, "the line is longer than " + std::to_string(kMaxBatchLineLength) +
                              " characters; the rest of the file is not read");
            s.fatal = true;
            return s;
        }
        if (status != LineReader::Status::Line) {
            b.ended = true;
            LoanSource s = Unreadable(location, "the rest of the batch file could not be read");
            s.fatal = true;
            s.wholeInput = true;
            return s;
        }
        if (IsBlankLine(line)) continue;
        if (b.csv && !b.columns) {
            std::string error;
            const std::optional<CsvColumns> columns = ReadCsvHeader(line, settings_.reading, error);
            if (!columns) {
                // Without its columns no line of the file can be read.
                b.ended = true;
                LoanSource s = Unreadable(location, error);
                s.fatal = true;
                s.wholeInput = true;
                return s;
            }
            b.columns = std::make_shared<const CsvColumns>(*columns);
            continue;
        }
        LoanSource s;
        s.kind = b.csv ? LoanSource::Kind::CsvLine : LoanSource::Kind::JsonLine;
        s.location = std::move(location);
        s.text = std::move(line);
        s.columns = b.columns;
        s.reading = settings_.reading;
        s.readThrough =
            readBefore_ + (b.buf->IsRegularFile() ? b.reader->BytesRead() : std::int64_t{0});
        return s;
    }
    return std::nullopt;
}

std::optional<std::int64_t> InputBytes(const std::vector<fs::path>& inputs) {
    std::int64_t total = 0;
    const auto add = [&total](const fs::path& file) {
        std::error_code error;
        const fs::file_status status = fs::status(file, error);
        if (error || !fs::is_regular_file(status)) return false;
        total += static_cast<std::int64_t>(fs::file_size(file, error));
        return !error;
    };
    for (const fs::path& input : inputs) {
        std::error_code error;
        if (input == "-") return std::nullopt;
        if (fs::is_directory(input, error)) {
            for (const fs::path& file : FolderFiles(input, error))
                if (!add(file)) return std::nullopt;
        } else if (!add(input)) {
            return std::nullopt;
        }
    }
    return total;
}

LoanRecord Evaluate(LoanWorker& worker, const LoanSource& source) {
    try {
        switch (source.kind) {
            case LoanSource::Kind::ScheduleFile:
                return Placed(worker.FromScheduleFile(source.file, source.location, source.opened),
                              source);
            case LoanSource::Kind::CsvLine:
                return Placed(FromParse(worker, ParseCsvLoan(source.text, *source.columns), source),
                              source);
            case LoanSource::Kind::JsonLine:
                return Placed(FromParse(worker, ParseJsonLoan(source.text, source.reading), source),
                              source);
            case LoanSource::Kind::Unreadable:
                break;
        }
        LoanRecord record;
        record.id = source.location;
        record.source = source.location;
        record.error = source.error;
        if (source.fatal) record.status = LoanStatus::Unreadable;
        record.wholeInput = source.wholeInput;
        return Placed(std::move(record), source);
    } catch (const std::exception& e) {
        LoanRecord record;
        record.id = source.location;
        record.source = source.location;
        record.error = std::string("the loan could not be computed: ") + e.what();
        return record;
    }
}

namespace {

// Written records go back to the thread that computed them, to be freed
// there and their room used for its next run: memory freed on another
// thread than the one that took it costs both threads a lock, and the
// computing thread's next loans would find none of it at hand.
class SpentRecords {
  public:
    void Give(std::vector<LoanRecord> records) {
        std::lock_guard lock(mutex_);
        spent_.push_back(std::move(records));
    }
    // Room for the next run's records, made on the calling thread from what
    // was given back.
    std::vector<LoanRecord> Room() {
        std::vector<std::vector<LoanRecord>> spent;
        {
            std::lock_guard lock(mutex_);
            spent.swap(spent_);
        }
        std::vector<LoanRecord> room =
            spent.empty() ? std::vector<LoanRecord>() : std::move(spent.back());
        room.clear();
        room.reserve(kLoansPerRun);
        return room;
    }

  private:
    std::mutex mutex_;
    std::vector<std::vector<LoanRecord>> spent_;
};

struct Run {
    std::vector<LoanRecord> records;
    SpentRecords* owner = nullptr;  // where the records go once written
};

// The runs of records computed so far that wait for their turn, and the turn.
// A run is only computed once it is fewer than `ahead` runs after the one in
// turn, so each waits in a slot of its own.
class OrderedRuns {
  public:
    explicit OrderedRuns(std::size_t ahead) : slots_(ahead) {}

    // Blocks while run `index` is too far ahead of the run being handed out;
    // false when the whole run of the batch has been stopped.
    bool WaitForRoom(std::size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || InRoom(index); });
        return !stopped_;
    }
    // Whether run `index` may be computed now without waiting.
    bool HasRoom(std::size_t index) {
        std::lock_guard lock(mutex_);
        return InRoom(index);
    }
    void Put(std::size_t index, Run run) {
        bool awaited = false;
        {
            std::lock_guard lock(mutex_);
            awaited = index == next_;
            Slot(index) = std::move(run);
        }
        // Only the run being waited for wakes the hand-out.
        if (awaited) changed_.notify_all();
    }
    void FeedEnded(std::size_t count) {
        {
            std::lock_guard lock(mutex_);
            total_ = count;
        }
        changed_.notify_all();
    }
    // The next run in order, waiting for it; empty once every run has been
    // handed out.
    std::optional<Run> Take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return Slot(next_).has_value() || next_ == total_; });
        return TakeNext(lock);
    }
    // The next run in order if it is ready; empty otherwise.
    std::optional<Run> TakeReady() {
        std::unique_lock lock(mutex_);
        return TakeNext(lock);
    }
    // Lets every waiting worker go, to end the batch early.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }
    bool Stopped() {
        std::lock_guard lock(mutex_);
        return stopped_;
    }

  private:
    bool InRoom(std::size_t index) const { return index < next_ + slots_.size(); }
    std::optional<Run>& Slot(std::size_t index) { return slots_[index % slots_.size()]; }

    std::optional<Run> TakeNext(std::unique_lock<std::mutex>& lock) {
        if (next_ == total_ || !Slot(next_)) return std::nullopt;
        std::optional<Run> run = std::exchange(Slot(next_), std::nullopt);
        ++next_;
        lock.unlock();
        // Only a worker waiting for room waits on anything but the turn.
        changed_.notify_all();
        return run;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<Run>> slots_;
    std::size_t next_ = 0;
    std::size_t total_ = std::numeric_limits<std::size_t>::max();
    bool stopped_ = false;
};

// The feed shared by the workers: each takes the next run of loans and its
// place in the order.
class SharedFeed {
  public:
    SharedFeed(LoanFeed& feed, OrderedRuns& runs) : feed_(feed), runs_(runs) {}

    // Fills `sources` with the next run's loans and gives its place; empty
    // when there are no more.
    std::optional<std::size_t> Next(std::vector<LoanSource>& sources) {
        sources.clear();
        std::lock_guard lock(mutex_);
        if (ended_ || runs_.Stopped()) return std::nullopt;
        while (sources.size() < kLoansPerRun) {
            std::optional<LoanSource> source = feed_.Next();
            if (!source) {
                ended_ = true;
                break;
            }
            sources.push_back(std::move(*source));
        }
        if (sources.empty()) {
            runs_.FeedEnded(count_);
            return std::nullopt;
        }
        if (ended_) runs_.FeedEnded(count_ + 1);
        return count_++;
    }

  private:
    std::mutex mutex_;
    LoanFeed& feed_;
    OrderedRuns& runs_;
    std::size_t count_ = 0;
    bool ended_ = false;
};

}  // namespace

void RunLoans(LoanFeed& feed, const RunSettings& settings, int jobs,
              const std::function<void(LoanRecord&&)>& sink, const RecordFormat& format) {
    const auto computed = [&format](LoanWorker& worker, const LoanSource& source) {
        LoanRecord record = Evaluate(worker, source);
        if (format) {
            // Room for a usual record line at once, not grown field by field.
            record.formatted.reserve(kRecordTextRoom);
            format(record, record.formatted);
        }
        return record;
    };
    LoanWorker worker(settings);
    if (jobs <= 1) {
        while (std::optional<LoanSource> source = feed.Next()) sink(computed(worker, *source));
        return;
    }
    OrderedRuns runs(kRunsAheadPerJob * static_cast<std::size_t>(jobs));
    SharedFeed shared(feed, runs);
    // Each job's loans and records live in room it keeps from run to run.
    struct Job {
        std::vector<LoanSource> sources;
        SpentRecords spent;
    };
    std::vector<Job> job(static_cast<std::size_t>(jobs));
    const auto computedRun = [&computed](LoanWorker& computing, Job& own) {
        Run run{own.spent.Room(), &own.spent};
        for (const LoanSource& source : own.sources)
            run.records.push_back(computed(computing, source));
        return run;
    };
    // The calling thread is the first job: it computes runs like the others
    // and writes, between its own runs, those whose turn has come. A writing
    // thread beside `jobs` computing ones would contend with them for the
    // cores and be woken for every run.
    std::vector<std::jthread> workers;
    workers.reserve(job.size() - 1);
    for (auto it = job.begin() + 1; it != job.end(); ++it) {
        workers.emplace_back([&shared, &runs, &settings, &computedRun, &own = *it] {
            LoanWorker computing(settings);
            while (const std::optional<std::size_t> index = shared.Next(own.sources)) {
                if (!runs.WaitForRoom(*index)) return;
                runs.Put(*index, computedRun(computing, own));
            }
        });
    }
    const auto write = [&sink](Run& run) {
        for (LoanRecord& record : run.records) sink(std::move(record));
        run.owner->Give(std::move(run.records));
    };
    try {
        Job& own = job.front();
        while (const std::optional<std::size_t> index = shared.Next(own.sources)) {
            // The run in turn is another job's (this one's come in order),
            // so waiting for it always ends.
            while (!runs.HasRoom(*index))
                if (std::optional<Run> run = runs.Take()) write(*run);
            runs.Put(*index, computedRun(worker, own));
            while (std::optional<Run> run = runs.TakeReady()) write(*run);
        }
        while (std::optional<Run> run = runs.Take()) write(*run);
    } catch (...) {
        // The workers are let go and joined before the failure passes on.
        runs.Stop();
        workers.clear();
        throw;
    }
}

}  // namespace qv::cli
