#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

#include "chart/chart_file.h"
#include "cli/batch_run.h"
#include "cli/progress.h"
#include "cli/records.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "quorvane-cli";
constexpr std::string_view kVersion = "quorvane-cli 0.9992";

constexpr std::string_view kExitStatusHelp =
    "Exit status: 0 when every loan was computed (and, for check, every disclosure is "
    "accurate); 1 when a check failed or a loan has no APR; 2 for bad usage, input that "
    "could not be read, or input with no loans in it.";

constexpr std::string_view kInputsHelp =
    "FILE may be a schedule file as the desktop program saves it, a folder (its files in name "
    "order), or a batch file of many loans: CSV (.csv) with the header line "
    "id,amount_financed,interval,groups[,disclosed_apr,disclosed_finance_charge], or JSON Lines "
    "(.jsonl) objects with the same names. A group is count:payment[:periods[:days]], groups "
    "separated by ';' (in JSON: {\"count\",\"payment\",\"periods\",\"days\"}); the interval is "
    "annually, monthly, halfmonth, twoweeks or weekly. Text output shows the report (apr) or "
    "the verdict (check) of schedule files named one by one, and one aligned line per loan "
    "otherwise.";

// What the command line asked for.
struct Options {
    std::vector<std::string> inputs;
    std::string chartFile;
    std::string output;
    int jobs = 1;
    std::string format = "text";
    bool coarse = false;
    bool roundDown = false;
    bool log = false;
    bool rebates = false;
    bool fractionalInterest = false;
    double disclosedApr = 0.0;
    double disclosedFinanceCharge = 0.0;
    CLI::Option* disclosedAprOption = nullptr;
    CLI::Option* disclosedChargeOption = nullptr;
};

// Bad usage found after parsing: told like the parser's own errors.
struct UsageError {
    std::string text;
};

// The settings-page switches; the estimate steps only where a report is shown.
void AddEngineSwitches(CLI::App& command, Options& o, bool showsReport) {
    command.add_flag("--coarse", o.coarse,
                     "Stop the APR iteration at the coarser tolerance of 0.005 instead of "
                     "0.0005 (\"Use Ten Pass APR Estimation\" unchecked)");
    command.add_flag("--round-down", o.roundDown,
                     "Round amortized amounts down to whole cents instead of to the nearest");
    if (showsReport) command.add_flag("--log", o.log, "Add the APR estimate steps to the report");
}

void AddBatchOptions(CLI::App& command, Options& o) {
    command.add_option("FILE", o.inputs, "Schedule files, folders or batch files")->required();
    command.add_option("-j,--jobs", o.jobs, "Loans computed at once (threads)")
        ->check(CLI::Range(1, 1024))
        ->capture_default_str();
    command.add_option("--format", o.format, "Output format")
        ->check(CLI::IsMember({"text", "csv", "json"}))
        ->capture_default_str();
}

OutputFormat FormatOf(const std::string& name) {
    if (name == "csv") return OutputFormat::Csv;
    if (name == "json") return OutputFormat::Json;
    return OutputFormat::Text;
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

int StatusOf(const LoanRecord& r) {
    switch (r.status) {
        case LoanStatus::InputError:
            return kExitBadInput;
        case LoanStatus::NotComputed:
            return kExitFailed;
        case LoanStatus::Computed:
            break;
    }
    return r.check && !r.check->Accurate() ? kExitFailed : kExitOk;
}

bool IsBatchFile(const fs::path& input) {
    const InputKind kind = KindOfInput(input);
    return kind == InputKind::CsvFile || kind == InputKind::JsonLinesFile;
}

// The disclosure given on the command line, checked.
Disclosed DisclosedOf(const Options& o) {
    Disclosed d;
    if (o.disclosedAprOption->count() > 0) {
        if (!std::isfinite(o.disclosedApr)) throw UsageError{"--disclosed-apr must be a number"};
        d.apr = o.disclosedApr;
    }
    if (o.disclosedChargeOption->count() > 0) {
        d.financeCharge = TryDollarsToCurrency(o.disclosedFinanceCharge);
        if (!d.financeCharge)
            throw UsageError{"--disclosed-finance-charge must be an amount of dollars"};
    }
    return d;
}

// Text written by the record writers, held until it is known whether there
// is any, so that the progress bar is taken off its line only when needed.
class HeldOutput {
  public:
    HeldOutput(std::ostream& out, std::ostream& err, ProgressBar* progress)
        : out_(out), err_(err), progress_(progress) {}
    std::ostream& Out() { return heldOut_; }
    std::ostream& Err() { return heldErr_; }
    void Release() {
        if (heldOut_.view().empty() && heldErr_.view().empty()) return;
        if (progress_) progress_->Clear();
        out_ << heldOut_.view();
        err_ << heldErr_.view();
        heldOut_.str({});
        heldErr_.str({});
    }

  private:
    std::ostream& out_;
    std::ostream& err_;
    ProgressBar* progress_;
    std::ostringstream heldOut_;
    std::ostringstream heldErr_;
};

int RunLoansCommand(Command command, const Options& o, std::ostream& out, std::ostream& err,
                    const CliEnvironment& environment) {
    const std::vector<fs::path> inputs(o.inputs.begin(), o.inputs.end());
    RunSettings settings = SettingsOf(o);
    settings.check = command == Command::Check;
    if (settings.check) {
        settings.disclosed = DisclosedOf(o);
        if (!settings.disclosed.apr && std::none_of(inputs.begin(), inputs.end(), IsBatchFile))
            throw UsageError{
                "check needs --disclosed-apr (a batch file may give each loan's "
                "in a disclosed_apr column instead)"};
    }
    const OutputFormat format = FormatOf(o.format);
    const bool oneByOne =
        format == OutputFormat::Text && std::all_of(inputs.begin(), inputs.end(), [](auto& in) {
            return KindOfInput(in) == InputKind::ScheduleFile;
        });
    settings.keepReport = oneByOne && command == Command::Apr;

    std::optional<ProgressBar> progress;
    if (environment.stderrIsTerminal) progress.emplace(err, CountLoans(inputs));
    HeldOutput held(out, err, progress ? &*progress : nullptr);
    const std::unique_ptr<RecordWriter> writer =
        oneByOne ? MakeLoanTextWriter(command, held.Out(), held.Err(), kProgram, inputs.size() > 1)
                 : MakeRecordWriter(command, format, held.Out());

    int status = kExitOk;
    std::size_t loans = 0;
    LoanFeed feed(inputs);
    RunLoans(feed, settings, o.jobs, [&](LoanRecord&& record) {
        writer->Write(record);
        held.Release();
        status = std::max(status, StatusOf(record));
        ++loans;
        if (progress) progress->Step();
    });
    if (progress) progress->Clear();
    writer->Finish();
    held.Release();
    out.flush();
    // An empty folder or a batch file of nothing but its header is most
    // likely the wrong input; a bare header would pass for a clean run.
    if (loans == 0) {
        err << kProgram << ": no loans found in the input given\n";
        return kExitBadInput;
    }
    return status;
}

int RunChartCommand(const Options& o, std::ostream& out, std::ostream& err) {
    const fs::path file = o.chartFile;
    if (KindOfInput(file) != InputKind::ScheduleFile)
        throw UsageError{"chart takes one schedule file, not a folder or a batch file"};
    LoanWorker worker(SettingsOf(o));
    const ChartRun run = worker.Chart(file);
    const LoanRecord& record = run.record;
    for (const std::string& note : record.notes)
        err << kProgram << ": " << record.id << ": " << note << '\n';
    if (record.status != LoanStatus::Computed) {
        err << kProgram << ": " << record.id << ": " << record.error << '\n';
        return StatusOf(record);
    }
    if (o.output.empty()) {
        out << ChartFileText(run.lines) << std::flush;
        return kExitOk;
    }
    const ChartSaveResult saved = SaveChartText(fs::path(o.output), run.lines);
    if (!saved.ok) {
        err << kProgram << ": " << saved.error << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    Options o;
    o.jobs = static_cast<int>(std::clamp(environment.hardwareThreads, 1u, 1024u));

    CLI::App app{
        "APR, amortization chart and Truth in Lending disclosure check for saved "
        "payment schedules, with the desktop program's engine.",
        std::string(kProgram)};
    app.set_version_flag("--version", std::string(kVersion));
    app.require_subcommand(1);
    app.footer(std::string(kExitStatusHelp));

    CLI::App* apr = app.add_subcommand(
        "apr", "Compute the APR of each loan and print the report the chart box shows");
    AddBatchOptions(*apr, o);
    AddEngineSwitches(*apr, o, true);
    apr->footer(std::string(kInputsHelp) + "\n\n" + std::string(kExitStatusHelp));

    CLI::App* check = app.add_subcommand(
        "check",
        "Judge each loan's disclosed APR (and finance charge) under the Regulation Z tolerances");
    AddBatchOptions(*check, o);
    AddEngineSwitches(*check, o, false);
    o.disclosedAprOption = check->add_option(
        "--disclosed-apr", o.disclosedApr,
        "The disclosed APR in percent; accurate within 1/8 of one percentage point of the "
        "computed APR (1/4 for an irregular transaction)");
    o.disclosedChargeOption = check->add_option(
        "--disclosed-finance-charge", o.disclosedFinanceCharge,
        "The disclosed finance charge in dollars; accurate within $5 when the amount financed "
        "is $1,000 or less, $10 above");
    check->footer(std::string(kInputsHelp) +
                  " A loan's own disclosed values take precedence over these options.\n\n" +
                  std::string(kExitStatusHelp));

    CLI::App* chart = app.add_subcommand(
        "chart", "Print the amortization chart text exactly as \"Save Chart Text\" writes it");
    chart->add_option("FILE", o.chartFile, "A schedule file")->required();
    chart->add_option("-o,--output", o.output,
                      "Write the chart to this file (replaced whole, never half written)");
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
            err << kProgram << ": unknown command \"" << args[1]
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
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitOk : kExitBadInput;
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

}  // namespace qv::cli
