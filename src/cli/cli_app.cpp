#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>

#include "chart/chart_file.h"
#include "cli/batch_run.h"
#include "cli/interrupt_cleanup.h"
#include "cli/progress.h"
#include "cli/records.h"
#include "cli/streams.h"
#include "cli/terminal_text.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "quorvane-cli";
// The version comes from the build (the project version in CMakeLists.txt), as the
// packages' does.
constexpr std::string_view kVersion = "quorvane-cli " QV_VERSION;

constexpr std::string_view kExitStatusHelp =
    "Exit status: 0 when every loan was computed (and, for check, every disclosure is "
    "accurate); 1 when a disclosure is not accurate or the engine found no APR for a loan; "
    "2 for bad usage, an input that could not be opened or read at all (or holds no loans, "
    "or names an unknown column or key), or output that could not be written; 3 when some "
    "loans could not be read or computed while the others were.";

constexpr std::string_view kInputsHelp =
    "FILE may be a schedule file as the desktop program saves it, a folder (its files in name "
    "order), a batch file of many loans, or - for standard input. A batch file is CSV (.csv) "
    "with the header line id,amount_financed,interval,groups[,disclosed_apr,"
    "disclosed_finance_charge], or JSON Lines (.jsonl, .ndjson, .json: one object per line) "
    "with the same names; endings are compared without case, and --input-format overrides "
    "them. Standard input and pipes without such an ending are told by their first character "
    "('{' JSON Lines, a digit a schedule file, else CSV). A group is "
    "count:payment[:periods[:days]], groups separated by ';' (in JSON: "
    "{\"count\",\"payment\",\"periods\",\"days\"}); the interval is annually, monthly, "
    "halfmonth, twoweeks or weekly. A line may name a unit_period instead (day, week, two weeks, "
    "semimonth, four weeks, month, two months, quarter, four months, half year, year) and give "
    "its groups in it, or give dates (YYYY-MM-DD): advance_date with amount_financed, or "
    "advances as date:amount items, and payments as date:amount items or "
    "count:amount:first_date groups a unit period apart, items separated by ';'. Such loans "
    "get the exact Appendix J rate only (apr_appendix_j). "
    "Amounts are whole cents: one with a fraction of a cent is "
    "refused, naming it. Text output shows the report (apr) or the verdict (check) of "
    "schedule files named one by one, and one aligned line per loan otherwise. A loan that "
    "cannot be read or computed is told on standard error as FILE:LINE: ID: message, and a "
    "batch ends with a one-line summary there.";

// What the command line asked for.
struct Options {
    std::vector<std::string> inputs;
    std::string chartFile;
    std::string output;
    std::string jobs;
    std::string format = "text";
    std::string inputFormat;
    bool ignoreUnknown = false;
    bool coarse = false;
    bool roundDown = false;
    bool log = false;
    bool rebates = false;
    bool fractionalInterest = false;
    std::string disclosedApr;
    std::string disclosedFinanceCharge;
    std::string basis = "desktop";
    CLI::Option* disclosedAprOption = nullptr;
    CLI::Option* disclosedChargeOption = nullptr;
    // Given, if empty: `--jobs "$N"` or `-o "$OUT"` with the variable unset
    // is a script's mistake, not a wish for the default.
    bool jobsGiven = false;
    bool outputGiven = false;
};

// Bad usage found after parsing: told like the parser's own errors.
struct UsageError {
    std::string text;
};

// The results could not be written: the run stops and says why.
struct OutputError {
    std::string text;
};

constexpr int kMostJobs = 1024;

// The settings-page switches; the estimate steps only where a report is shown.
void AddEngineSwitches(CLI::App& command, Options& o, bool showsReport) {
    command.add_flag("--coarse", o.coarse,
                     "Stop the APR iteration at the coarser tolerance of 0.005 instead of "
                     "0.0005 (\"Use Ten Pass APR Estimation\" unchecked)");
    command.add_flag("--round-down", o.roundDown,
                     "Round amortized amounts down to whole cents instead of to the nearest");
    if (showsReport) command.add_flag("--log", o.log, "Add the APR estimate steps to the report");
}

void AddOutputOption(CLI::App& command, Options& o, std::string_view what) {
    command
        .add_option("-o,--output", o.output,
                    "Write " + std::string(what) +
                        " to this file instead of standard output (replaced whole once "
                        "complete, never half written; - is standard output)")
        ->type_name("FILE")
        ->each([&o](const std::string&) { o.outputGiven = true; });
}

void AddBatchOptions(CLI::App& command, Options& o, unsigned defaultJobs) {
    command
        .add_option("FILE", o.inputs, "Schedule files, folders, batch files, or - (standard input)")
        ->required();
    command
        .add_option("-j,--jobs", o.jobs,
                    "Loans computed at once (threads), 1 to " + std::to_string(kMostJobs) +
                        "; default " + std::to_string(defaultJobs) + ", the cores")
        ->type_name("N")
        ->each([&o](const std::string&) { o.jobsGiven = true; });
    command.add_option("--format", o.format, "Output format")
        ->check(CLI::IsMember({"text", "csv", "json"}))
        ->capture_default_str();
    command
        .add_option("--input-format", o.inputFormat,
                    "Read every FILE named as this kind, whatever its name")
        ->check(CLI::IsMember({"csv", "jsonl", "schedule"}));
    command.add_flag("--ignore-unknown", o.ignoreUnknown,
                     "Read batch files whose columns or keys include names not known here "
                     "(they are left alone) instead of refusing them");
    AddOutputOption(command, o, "the records");
}

OutputFormat FormatOf(const std::string& name) {
    if (name == "csv") return OutputFormat::Csv;
    if (name == "json") return OutputFormat::Json;
    return OutputFormat::Text;
}

std::optional<InputKind> InputKindOf(const std::string& name) {
    if (name == "csv") return InputKind::CsvFile;
    if (name == "jsonl") return InputKind::JsonLinesFile;
    if (name == "schedule") return InputKind::ScheduleFile;
    return std::nullopt;
}

RunSettings SettingsOf(const Options& o) {
    RunSettings s;
    s.apr.TenPass = !o.coarse;
    s.apr.Log = o.log;
    s.roundDown = o.roundDown;
    s.showRebates = o.rebates;
    s.fractionalInterest = o.fractionalInterest;
    return s;
}

int JobsOf(const Options& o, unsigned hardwareThreads) {
    if (!o.jobsGiven) return static_cast<int>(std::clamp(hardwareThreads, 1u, 1024u));
    int jobs = 0;
    const char* end = o.jobs.data() + o.jobs.size();
    const auto [ptr, ec] = std::from_chars(o.jobs.data(), end, jobs);
    if (ec != std::errc() || ptr != end || jobs < 1 || jobs > kMostJobs)
        throw UsageError{"--jobs wants a whole number from 1 to " + std::to_string(kMostJobs) +
                         ", not \"" + Escaped(o.jobs) + "\""};
    return jobs;
}

// How much a record's outcome weighs on the exit status: an input that could
// not be read at all outweighs loans that could not be read, which outweigh
// loans without an APR or with an inaccurate disclosure.
int Severity(int status) {
    switch (status) {
        case kExitFailed:
            return 1;
        case kExitSomeLoans:
            return 2;
        case kExitBadInput:
            return 3;
        default:
            return 0;
    }
}

int Worse(int a, int b) {
    return Severity(b) > Severity(a) ? b : a;
}

int StatusOf(const LoanRecord& r) {
    switch (r.status) {
        case LoanStatus::Unreadable:
            return kExitBadInput;
        case LoanStatus::InputError:
            return kExitSomeLoans;
        case LoanStatus::NotComputed:
            return kExitFailed;
        case LoanStatus::Computed:
            break;
    }
    return r.check && !r.check->Accurate() ? kExitFailed : kExitOk;
}

// The disclosure given on the command line, checked as a batch file's
// columns are.
Disclosed DisclosedOf(const Options& o) {
    Disclosed d;
    std::string error;
    if (o.disclosedAprOption->count() > 0) {
        d.apr = ReadDisclosedApr("--disclosed-apr", o.disclosedApr, error);
        if (!d.apr) throw UsageError{Escaped(error)};
    }
    if (o.disclosedChargeOption->count() > 0) {
        d.financeCharge = ReadDisclosedFinanceCharge("--disclosed-finance-charge",
                                                     o.disclosedFinanceCharge, error);
        if (!d.financeCharge) throw UsageError{Escaped(error)};
    }
    return d;
}

// True when every input is a schedule file by its name (or is not there at
// all, which its record will say): no input can state a loan's own
// disclosure, and each has a report of its own. Standard input, pipes and
// devices may hold a batch, whatever their names.
bool OnlyScheduleFiles(const std::vector<fs::path>& inputs, std::optional<InputKind> kind) {
    if (kind) return *kind == InputKind::ScheduleFile;
    return std::all_of(inputs.begin(), inputs.end(), [](const fs::path& in) {
        std::error_code error;
        const fs::file_status status = fs::status(in, error);
        const bool regularOrMissing = fs::is_regular_file(status) || !fs::exists(status);
        return in != "-" && regularOrMissing && KindOfInput(in) == InputKind::ScheduleFile;
    });
}

// Why the stream's last write failed, in the words of its own end when it
// keeps them.
std::string WriteFailure(std::ostream& stream) {
    if (const auto* buf = dynamic_cast<const OutputBuf*>(stream.rdbuf());
        buf && !buf->Failure().empty())
        return buf->Failure();
    return "write error on standard output";
}

// An -o file that is also an input would be replaced by the report made
// from it, and its loans lost. Only a regular file is replaced (a device or a
// pipe is written into as it stands, and /dev/stdin and /dev/stdout may well
// be one terminal); one that is not there yet cannot be an input.
void RefuseOutputOverInput(const std::string& output, const std::vector<fs::path>& inputs) {
    if (output.empty() || output == "-") return;
    std::error_code error;
    if (!fs::is_regular_file(output, error)) return;
    for (const fs::path& input : inputs) {
        if (input == "-" || !fs::equivalent(output, input, error) || error) continue;
        throw UsageError{"the output file " + Escaped(output) +
                         " is also an input: writing it would replace what it is read from"};
    }
}

void RefuseEmptyOutput(const Options& o) {
    if (o.outputGiven && o.output.empty())
        throw UsageError{"-o wants a file name (- is standard output), not an empty one"};
}

// Where the results go: standard output, or the -o file written in one step.
class Results {
  public:
    Results(const std::string& output, std::ostream& standardOutput)
        : standardOutput_(standardOutput) {
        if (output.empty() || output == "-") return;
        file_.emplace(fs::path(output));
        if (!file_->Open()) throw OutputError{Escaped(file_->Failure())};
        fileStream_.emplace(&*file_);
        RemoveOnInterrupt(file_->TempPath());
    }
    // Past here the temporary file is the output's own business: removed
    // when the run failed, under the file's name when it did not.
    ~Results() { RemoveOnInterrupt({}); }
    Results(const Results&) = delete;
    Results& operator=(const Results&) = delete;
    std::ostream& Stream() { return fileStream_ ? *fileStream_ : standardOutput_; }
    // Writes and empties `text`; throws OutputError when the write failed.
    void Write(std::string& text) {
        if (text.empty()) return;
        Stream().write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
        if (!Stream()) throw OutputError{Escaped(WriteFailure(Stream()))};
    }
    // Completes the output: flushed, and the -o file under its name.
    void Close() {
        Stream().flush();
        if (!Stream()) throw OutputError{Escaped(WriteFailure(Stream()))};
        // Once renamed, the file under the temporary name is the result.
        RemoveOnInterrupt({});
        if (file_ && !file_->Close()) throw OutputError{Escaped(file_->Failure())};
    }

  private:
    std::ostream& standardOutput_;
    std::optional<FileOutput> file_;
    std::optional<std::ostream> fileStream_;
};

// "FILE:LINE: ID: message" for a loan without an APR; the id only where it
// says more than the place.
std::string RecordErrorLine(const LoanRecord& r) {
    std::string line = std::string(kProgram) + ": " + Escaped(r.source) + ": ";
    if (!r.id.empty() && r.id != r.source) line += Escaped(r.id) + ": ";
    return line + Escaped(r.error) + '\n';
}

// The batch's closing line on standard error.
struct Tally {
    std::size_t loans = 0;
    std::size_t computed = 0;
    std::size_t notAccurate = 0;

    void Count(const LoanRecord& r) {
        if (r.wholeInput) return;
        ++loans;
        if (r.status != LoanStatus::Computed) return;
        ++computed;
        if (r.check && !r.check->Accurate()) ++notAccurate;
    }
    std::string Line(bool check) const {
        std::string line = std::string(kProgram) + ": " + Grouped(loans) +
                           (loans == 1 ? " loan: " : " loans: ") + Grouped(computed) +
                           " computed, " + Grouped(loans - computed) + " with errors";
        if (check) line += ", " + Grouped(notAccurate) + " not accurate";
        return line + '\n';
    }
};

int RunLoansCommand(Command command, const Options& o, std::ostream& out, std::ostream& err,
                    const CliEnvironment& environment) {
    const std::vector<fs::path> inputs(o.inputs.begin(), o.inputs.end());
    if (std::count(o.inputs.begin(), o.inputs.end(), "-") > 1)
        throw UsageError{"standard input (-) can be read only once"};
    FeedSettings feedSettings;
    feedSettings.kind = InputKindOf(o.inputFormat);
    feedSettings.reading.ignoreUnknown = o.ignoreUnknown;
    const int jobs = JobsOf(o, environment.hardwareThreads);
    RunSettings settings = SettingsOf(o);
    settings.check = command == Command::Check;
    if (settings.check) {
        settings.disclosed = DisclosedOf(o);
        if (!settings.disclosed.apr && OnlyScheduleFiles(inputs, feedSettings.kind))
            throw UsageError{
                "check needs --disclosed-apr (a batch file may give each loan's "
                "in a disclosed_apr column instead)"};
    }
    const OutputFormat format = FormatOf(o.format);
    const bool oneByOne =
        format == OutputFormat::Text && OnlyScheduleFiles(inputs, feedSettings.kind);
    settings.keepReport = oneByOne && command == Command::Apr;

    RefuseEmptyOutput(o);
    RefuseOutputOverInput(o.output, inputs);
    Results results(o.output, out);
    std::optional<ProgressBar> progress;
    if (environment.stderrIsTerminal) progress.emplace(err, InputBytes(inputs));
    const AprBasis basis = o.basis == "appendix-j" ? AprBasis::AppendixJ : AprBasis::Desktop;
    const std::unique_ptr<RecordWriter> writer =
        oneByOne ? MakeLoanTextWriter(command, kProgram, inputs.size() > 1, basis)
                 : MakeRecordWriter(command, format, basis);

    int status = kExitOk;
    Tally tally;
    std::string text;
    std::string told;
    LoanFeed feed(inputs, feedSettings);
    RecordFormat formatAlone;
    if (writer->FormatsEachAlone())
        formatAlone = [&writer](const LoanRecord& r, std::string& line) {
            writer->Format(r, line);
        };
    const auto sink = [&](LoanRecord&& record) {
        writer->Write(record, text, told);
        if (!oneByOne && record.status != LoanStatus::Computed) told += RecordErrorLine(record);
        if (progress && (!text.empty() || !told.empty())) progress->Clear();
        results.Write(text);
        err << told;
        told.clear();
        status = Worse(status, StatusOf(record));
        tally.Count(record);
        if (progress) progress->Step(record.readThrough);
    };
    RunLoans(feed, settings, jobs, sink, formatAlone);
    if (progress) progress->Clear();
    writer->Finish(text);
    results.Write(text);
    // An empty folder, a batch file of nothing but its header or an input
    // that is not there is most likely the wrong input; a bare header would
    // pass for a clean run. Nothing was computed, so an -o file keeps the
    // report of the last run that was.
    if (tally.loans == 0) {
        err << kProgram << ": no loans found in the input given\n";
        return kExitBadInput;
    }
    results.Close();
    if (!oneByOne) err << tally.Line(settings.check);
    return status;
}

int RunChartCommand(const Options& o, std::ostream& out, std::ostream& err) {
    const fs::path file = o.chartFile;
    if (KindOfInput(file) != InputKind::ScheduleFile)
        throw UsageError{"chart takes one schedule file, not a folder or a batch file"};
    RefuseEmptyOutput(o);
    RefuseOutputOverInput(o.output, {file});
    Results results(o.output, out);
    LoanWorker worker(SettingsOf(o));
    const ChartRun run = worker.Chart(file);
    const LoanRecord& record = run.record;
    for (const std::string& note : record.notes)
        err << kProgram << ": " << Escaped(record.id) << ": " << Escaped(note) << '\n';
    if (record.status != LoanStatus::Computed) {
        err << kProgram << ": " << Escaped(record.id) << ": " << Escaped(record.error) << '\n';
        // One file is the whole input: if it cannot be used, nothing was.
        return record.status == LoanStatus::NotComputed ? kExitFailed : kExitBadInput;
    }
    std::string text = ChartFileText(run.lines);
    results.Write(text);
    results.Close();
    return kExitOk;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const CliEnvironment& environment) {
    Options o;
    const unsigned defaultJobs = std::clamp(environment.hardwareThreads, 1u, 1024u);

    CLI::App app{
        "APR, amortization chart and Truth in Lending disclosure check for saved "
        "payment schedules, with the desktop program's engine.",
        std::string(kProgram)};
    app.set_version_flag("--version", std::string(kVersion));
    app.require_subcommand(1);
    app.footer(std::string(kExitStatusHelp));

    CLI::App* apr = app.add_subcommand(
        "apr", "Compute the APR of each loan and print the report the chart box shows");
    AddBatchOptions(*apr, o, defaultJobs);
    AddEngineSwitches(*apr, o, true);
    apr->add_option("--basis", o.basis,
                    "The APR shown: the desktop program's estimate (three decimals), or the exact "
                    "rate of Regulation Z, Appendix J (six decimals); CSV and JSON records carry "
                    "both, as apr and apr_appendix_j")
        ->check(CLI::IsMember({"desktop", "appendix-j"}))
        ->capture_default_str();
    apr->footer(std::string(kInputsHelp) + "\n\n" + std::string(kExitStatusHelp));

    CLI::App* check = app.add_subcommand(
        "check",
        "Judge each loan's disclosed APR (and finance charge) under the Regulation Z tolerances");
    AddBatchOptions(*check, o, defaultJobs);
    AddEngineSwitches(*check, o, false);
    o.disclosedAprOption =
        check
            ->add_option(
                "--disclosed-apr", o.disclosedApr,
                "The disclosed APR in percent; accurate within 1/8 of one percentage point of the "
                "exact Appendix J rate, unrounded and the boundary included (1/4 for an "
                "irregular transaction)")
            ->type_name("PERCENT");
    o.disclosedChargeOption =
        check
            ->add_option("--disclosed-finance-charge", o.disclosedFinanceCharge,
                         "The disclosed finance charge in dollars; accurate within $5 when the "
                         "amount financed "
                         "is $1,000 or less, $10 above")
            ->type_name("DOLLARS");
    check->footer(std::string(kInputsHelp) +
                  " A loan's own disclosed values take precedence over these options, which "
                  "are needed only for loans that state none.\n\n" +
                  std::string(kExitStatusHelp));

    CLI::App* chart = app.add_subcommand(
        "chart", "Print the amortization chart text exactly as \"Save Chart Text\" writes it");
    chart->add_option("FILE", o.chartFile, "A schedule file, or - for standard input")->required();
    AddOutputOption(*chart, o, "the chart");
    chart->add_flag("--rebates", o.rebates, "Show the Rule of 78s rebates");
    chart->add_flag("--fractional-interest", o.fractionalInterest,
                    "Show interest to four decimals (amortized in whole cents)");
    AddEngineSwitches(*chart, o, true);
    chart->footer(std::string(kExitStatusHelp));

    // The parser takes a mistyped command for a missing one; name it instead.
    if (args.size() > 1 && !args[1].empty() && args[1][0] != '-') {
        try {
            (void)app.get_subcommand(args[1]);
        } catch (const CLI::OptionNotFound&) {
            err << kProgram << ": unknown command \"" << Escaped(args[1])
                << "\" (the commands are apr, check and chart)\nRun with --help for more "
                   "information.\n";
            return kExitBadInput;
        }
    }

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        if (!reversed.empty()) reversed.pop_back();  // the program's name
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // --help and --version end parsing too, and are no failure.
        if (e.get_exit_code() == 0) {
            app.exit(e, out, err);
            return kExitOk;
        }
        // Named like every other message of the program, for a script's log.
        err << kProgram << ": " << e.what() << "\nRun with --help for more information.\n";
        return kExitBadInput;
    }

    try {
        if (*apr) return RunLoansCommand(Command::Apr, o, out, err, environment);
        if (*check) return RunLoansCommand(Command::Check, o, out, err, environment);
        return RunChartCommand(o, out, err);
    } catch (const UsageError& e) {
        err << kProgram << ": " << e.text << "\nRun with --help for more information.\n";
        return kExitBadInput;
    }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    try {
        const int status = RunCommandLine(args, out, err, environment);
        // Help and usage texts go to standard output too, and count as well.
        out.flush();
        if (!out) throw OutputError{Escaped(WriteFailure(out))};
        return status;
    } catch (const OutputError& e) {
        err << kProgram << ": " << e.text << '\n';
        return kExitBadInput;
    }
}

}  // namespace qv::cli
