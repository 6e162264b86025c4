// quorvane-cli against the desktop program's road through the engine, the
// worked examples of Regulation Z, Appendix J, the disclosure tolerances,
// and input that is wrong in every way a batch can be.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "base/format.h"
#include "chart/amortization.h"
#include "chart/chart_file.h"
#include "cli/cli_app.h"
#include "cli/loan_run.h"
#include "cli/records.h"
#include "core/pay_group.h"
#include "data/memdset.h"
#include "data/temp_folder.h"
#include "schedule/apr_estimate.h"
#include "schedule/schedule_file.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

// --- running the companion ----------------------------------------------------------

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args, bool terminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    args.insert(args.begin(), "quorvane-cli");
    CliRun run;
    run.status = RunCli(args, out, err, CliEnvironment{terminal, 4});
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<json> Records(const std::string& out) {
    std::vector<json> records;
    for (const std::string& line : Lines(out)) records.push_back(json::parse(line));
    return records;
}

// Amounts are written as the cents they are and the rate to its thousandth,
// never with the binary noise of a product (2034.5500000000002).
void ExpectDecimalNumbers(const json& record) {
    for (const auto& [field, decimals] : {std::pair{"amount_financed", std::size_t{2}},
                                          {"finance_charge", 2},
                                          {"total_of_payments", 2},
                                          {"apr", std::size_t{3}}}) {
        const std::string text = record[field].dump();
        const std::size_t point = text.find('.');
        EXPECT_TRUE(point == std::string::npos || text.size() - point - 1 <= decimals)
            << record["id"] << ": " << field << " " << text;
    }
}

// --- the desktop program's road -------------------------------------------------------

// What the desktop program does with a saved schedule: "Load a Schedule"
// (keeping the amount financed when "Test Sched. Integrity" asks), the
// irregular page's "Estimate APR", and for a chart the chart page's entry,
// "Chart Amortization" and "Save Chart Text".
class Desktop : public ChartEntryWindow {
  public:
    explicit Desktop(AprSettings settings = {}, bool roundDown = false) : settings_(settings) {
        DefinePaySetTable(paySet_);
        DefineDetailTable(detail_);
        state_.loan.RoundAdd = roundDown ? 0.0 : 0.5;
    }

    // The outcome of the load's estimate; empty when nothing was estimated.
    std::optional<AprOutcome> Load(const fs::path& file) {
        const ScheduleLoad load = LoadData(state_.loan, state_.regular, paySet_, file);
        for (const RecordedMessage& m : load.messages) port_.Show(m.kind, m.text);
        if (!load.loaded || load.headerMissing) return std::nullopt;
        interval_ = load.interval;
        const ScheduleRecount recount = RecountSchedule(state_.loan, paySet_);
        ShowMessages(port_, recount.messages);
        if (recount.counted) port_.Inform(recount.totalText);
        return RunIrregularEstimate();
    }

    std::string SavedChart(const ChartOptions& options, const fs::path& file) {
        const ChartEntryStep step = FirstChartEntryStep(state_.loan, paySet_);
        if (step == ChartEntryStep::RecomputeRegular)
            ADD_FAILURE() << "a loaded schedule is the irregular page's";
        if (step == ChartEntryStep::RecomputeIrregular) RunIrregularEstimate();
        EXPECT_EQ(FinishChartEntry(step, state_.loan, {inputError_, LastComputed()}, detail_,
                                   options.showRebates, *this, port_),
                  ChartEntryOutcome::Filled);
        ChartText lines;
        AppendAmortizationChart(LastComputed(), state_.loan.RoundAdd, options, lines, port_);
        box_.insert(box_.end(), lines.begin(), lines.end());
        EXPECT_TRUE(SaveChartText(file, box_).ok);
        return ReadFile(file);
    }

    const ChartText& ChartBox() const { return box_; }
    double Apr() const { return state_.loan.APR; }
    const RecordingUserPort& Port() const { return port_; }

    // The window of the chart page's entry.
    void Beep() override {}
    void ShowPage(InputErrorRoute) override {}
    void SetWindowEnabled(bool) override {}
    const ComputedSchedule* LastComputed() const { return computed_ ? &*computed_ : nullptr; }

  private:
    std::optional<AprOutcome> RunIrregularEstimate() {
        AprEstimate e =
            EstimateApr(state_.loan, state_.group, paySet_, interval_, settings_, port_);
        inputError_ = e.InputError();
        if (e.Computed()) {
            computed_ = CaptureComputedSchedule(state_.loan, paySet_);
            box_ = e.report;
        }
        return e.outcome;
    }

    AprSettings settings_;
    LoanState state_;
    TMemDataSet paySet_{"mdsPaySet"};
    TMemDataSet detail_{"mdsDetail"};
    RecordingUserPort port_;
    Interval interval_ = kStartInterval;
    bool inputError_ = false;
    std::optional<ComputedSchedule> computed_;
    ChartText box_;
};

// --- schedules --------------------------------------------------------------------------

struct Loan {
    Interval interval = kStartInterval;
    double amountFinanced = 0.0;
    std::vector<PayGroup> groups;
};

void SaveSchedule(const Loan& loan, const fs::path& file) {
    TMemDataSet paySet("mdsPaySet");
    DefinePaySetTable(paySet);
    for (const PayGroup& g : loan.groups) AppendPayGroup(paySet, g);
    ASSERT_TRUE(SaveData(paySet, {loan.interval, loan.amountFinanced}, file).ok);
}

std::string Exact(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

// The loan as a line of a CSV batch: id,amount_financed,interval,groups.
std::string CsvLine(const std::string& id, const Loan& loan) {
    std::string groups;
    for (const PayGroup& g : loan.groups) {
        groups += (groups.empty() ? "" : "; ") + std::to_string(g.SetSize) + ":" +
                  Exact(g.PaySize) + ":" + std::to_string(g.PriorPds) + ":" +
                  std::to_string(g.AddDays);
    }
    return id + "," + Exact(loan.amountFinanced) + "," + std::to_string(ItemOf(loan.interval)) +
           "," + groups;
}

// Schedules of every shape the groups allow: odd periods and days, every
// interval, one or two payments (the per-diem basis), amounts financed that
// leave a small or a large finance charge, now and then more payments than a
// schedule holds.
std::vector<Loan> RandomLoans(int count) {
    std::mt19937 random(20240614);
    auto uniform = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    std::vector<Loan> loans;
    for (int k = 0; k < count; ++k) {
        Loan loan;
        loan.interval = *IntervalOfItem(uniform(0, 4));
        double total = 0.0;
        const int groups = uniform(1, 4);
        for (int g = 1; g <= groups; ++g) {
            PayGroup group;
            group.Sequence = g;
            group.SetSize = uniform(0, 9) == 0 ? uniform(1, 2) : uniform(1, k % 10 == 9 ? 300 : 60);
            group.PaySize = uniform(100, 200000) / 100.0;
            group.PriorPds = uniform(0, 2);
            group.AddDays = group.PriorPds == 0 ? uniform(1, 20) : uniform(0, 1) * uniform(0, 20);
            total += group.SetSize * group.PaySize;
            loan.groups.push_back(group);
        }
        loan.amountFinanced = std::floor(total * uniform(50, 98)) / 100.0;
        loans.push_back(loan);
    }
    return loans;
}

// The shipped schedule files (the variable-rate list is not one).
std::vector<fs::path> ExampleSchedules() {
    return {fs::path(QV_EXAMPLES_DIR) / "irregular.txt",
            fs::path(QV_EXAMPLES_DIR) / "regular-odd-first.txt"};
}

// --- the report and the chart are the desktop's ---------------------------------------

TEST(CliAgainstDesktop, AprReportIsTheDesktopsForExamplesAndRandomSchedules) {
    TempFolder folder("qv_cli_apr_");
    const std::vector<Loan> loans = RandomLoans(40);
    std::vector<fs::path> files = ExampleSchedules();
    std::string batch = "id,amount_financed,interval,groups\n";
    for (std::size_t k = 0; k < loans.size(); ++k) {
        const std::string name = (k < 10 ? "r0" : "r") + std::to_string(k) + ".txt";
        files.push_back(folder.path / "schedules" / name);
        fs::create_directories(files.back().parent_path());
        SaveSchedule(loans[k], files.back());
        batch += CsvLine(name, loans[k]) + "\n";
    }
    WriteFile(folder.path / "batch.csv", batch);

    int computed = 0;
    for (std::size_t k = 0; k < files.size(); ++k) {
        // Every other schedule with the other settings-page switches.
        const bool switched = k % 2 == 1;
        std::vector<std::string> args = {"apr", files[k].string()};
        if (switched) args.insert(args.end(), {"--coarse", "--log"});
        Desktop desktop(AprSettings{!switched, switched});
        const std::optional<AprOutcome> outcome = desktop.Load(files[k]);
        const CliRun cli = Cli(args);
        SCOPED_TRACE(files[k].string());
        if (outcome == AprOutcome::Computed) {
            ++computed;
            EXPECT_EQ(cli.status, kExitOk);
            EXPECT_EQ(Lines(cli.out), desktop.ChartBox());
        } else {
            // Refused before the engine (kExitSomeLoans) or no rate found
            // (kExitFailed); either way told for a terminal, not a page.
            EXPECT_TRUE(cli.status == kExitFailed || cli.status == kExitSomeLoans) << cli.status;
            EXPECT_EQ(cli.out, "");
            EXPECT_TRUE(cli.err.starts_with("quorvane-cli: " + files[k].string() + ": "))
                << cli.err;
            for (const char* desktopWords : {"InputError", "Tab ", "Error:", "Error :"})
                EXPECT_EQ(cli.err.find(desktopWords), std::string::npos) << cli.err;
        }
    }
    EXPECT_GT(computed, 30) << "the random schedules should mostly be computable";

    // The same loans from a folder on several threads and from a batch file
    // on one: the same records, in the same order, whatever the threads.
    const CliRun fromFolder =
        Cli({"apr", "--format", "json", "--jobs", "3", (folder.path / "schedules").string()});
    const CliRun fromFolderOneJob =
        Cli({"apr", "--format", "json", "--jobs", "1", (folder.path / "schedules").string()});
    const CliRun fromBatch = Cli({"apr", "--format", "json", (folder.path / "batch.csv").string()});
    EXPECT_EQ(fromFolder.out, fromFolderOneJob.out);
    const std::vector<json> folderRecords = Records(fromFolder.out);
    const std::vector<json> batchRecords = Records(fromBatch.out);
    ASSERT_EQ(folderRecords.size(), loans.size());
    ASSERT_EQ(batchRecords.size(), loans.size());
    for (std::size_t k = 0; k < loans.size(); ++k) {
        SCOPED_TRACE(batchRecords[k].dump());
        ExpectDecimalNumbers(batchRecords[k]);
        EXPECT_EQ(fs::path(folderRecords[k]["id"].get<std::string>()).filename(),
                  batchRecords[k]["id"].get<std::string>());
        for (const char* field : {"status", "apr", "total_of_payments", "basis", "error"})
            EXPECT_EQ(folderRecords[k][field], batchRecords[k][field]) << field;
        Desktop desktop;
        if (desktop.Load(files[k + 2]) == AprOutcome::Computed)
            EXPECT_EQ(batchRecords[k]["apr"].get<double>(), desktop.Apr());
        else
            EXPECT_TRUE(batchRecords[k]["apr"].is_null());
    }
}

TEST(CliAgainstDesktop, ChartIsWhatSaveChartTextWrites) {
    TempFolder folder("qv_cli_chart_");
    std::vector<fs::path> files = ExampleSchedules();
    const std::vector<Loan> loans = RandomLoans(12);
    for (std::size_t k = 0; k < loans.size(); ++k) {
        files.push_back(folder.path / ("r" + std::to_string(k) + ".txt"));
        SaveSchedule(loans[k], files.back());
    }
    struct Settings {
        std::vector<std::string> args;
        ChartOptions options;
    };
    const Settings settings[] = {
        {{}, {}},
        {{"--rebates"}, {true, false, false}},
        {{"--rebates", "--fractional-interest", "--round-down"}, {true, true, true}},
    };
    int charted = 0;
    for (const fs::path& file : files) {
        for (const Settings& s : settings) {
            SCOPED_TRACE(file.string() + " " + std::to_string(s.args.size()));
            Desktop desktop(AprSettings{}, s.options.roundDown);
            if (desktop.Load(file) != AprOutcome::Computed) continue;
            ++charted;
            const std::string saved = desktop.SavedChart(s.options, folder.path / "MyChart.txt");
            std::vector<std::string> args = {"chart", file.string()};
            args.insert(args.end(), s.args.begin(), s.args.end());
            const CliRun cli = Cli(args);
            EXPECT_EQ(cli.status, kExitOk) << cli.err;
            EXPECT_EQ(cli.out, saved);
            // The Rule of 78s warning and the like reach a terminal without
            // sending its user to a menu or a tab.
            for (const char* windowWords : {"Menu", "Tab ", "InputError"})
                EXPECT_EQ(cli.err.find(windowWords), std::string::npos) << cli.err;
        }
    }
    EXPECT_GT(charted, 20);

    // Saved by the companion, the file holds the same bytes.
    Desktop desktop;
    ASSERT_EQ(desktop.Load(files[0]), AprOutcome::Computed);
    const std::string saved = desktop.SavedChart({}, folder.path / "desktop.txt");
    const fs::path output = folder.path / "cli.txt";
    EXPECT_EQ(Cli({"chart", files[0].string(), "-o", output.string()}).status, kExitOk);
    EXPECT_EQ(ReadFile(output), saved);
}

// --- Regulation Z, Appendix J -------------------------------------------------------

// The worked examples of Appendix J (c) that schedule groups can express.
// The regulation counts 52 weeks and 26 two-week periods a year; the program
// counts 365/7 and 365/14, so for those two its rate per period is the
// regulation's but its APR is larger by 365/364: 14.96 becomes 15.00 and
// 12.22 becomes 12.26. The examples with quarterly, four-weekly and
// two-monthly unit periods have no interval of the program.
TEST(AppendixJ, WorkedExamplesGiveTheRegulationsRates) {
    struct Example {
        const char* id;
        const char* loan;  // amount_financed,interval,groups
        double published;  // APR printed in the regulation
        double expected;   // the program's APR to two decimals
    };
    const Example examples[] = {
        {"(c)(1)(i) monthly, regular first period", "5000,monthly,24:230", 9.69, 9.69},
        {"(c)(1)(ii) monthly, long first period", "6000,monthly,1:200:1:19; 35:200", 11.82, 11.82},
        {"(c)(1)(iii) semimonthly, short first period", "5000,halfmonth,1:219.17:0:6; 23:219.17",
         10.34, 10.34},
        {"(c)(1)(v) weekly, long first period", "500,weekly,1:17.60:4:4; 29:17.60", 14.96, 15.00},
        {"(c)(2)(i) monthly, odd first payment", "5000,monthly,1:250; 23:230", 10.08, 10.08},
        {"(c)(3)(i) monthly, odd final payment", "5000,monthly,23:230; 1:280", 10.50, 10.50},
        {"(c)(3)(ii) two-weekly, short first period, odd final payment",
         "200,twoweeks,1:9.50:0:8; 18:9.50; 1:30", 12.22, 12.26},
        {"(c)(4)(i) monthly, odd first and final payments", "5000,monthly,1:250; 22:230; 1:280",
         10.90, 10.90},
        {"(c)(5)(i) single payment after 255 days", "1000,annually,1:1080:0:255", 11.45, 11.45},
    };
    TempFolder folder("qv_cli_appj_");
    std::string batch = "id,amount_financed,interval,groups\n";
    for (const Example& e : examples) batch += std::string("\"") + e.id + "\"," + e.loan + "\n";
    WriteFile(folder.path / "appendix-j.csv", batch);

    const CliRun run = Cli({"apr", "--format", "json", (folder.path / "appendix-j.csv").string()});
    EXPECT_EQ(run.status, kExitOk) << run.out;
    const std::vector<json> records = Records(run.out);
    ASSERT_EQ(records.size(), std::size(examples));
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Example& e = examples[k];
        ASSERT_EQ(records[k]["id"], e.id);
        ExpectDecimalNumbers(records[k]);
        const double apr = records[k]["apr"].get<double>();
        EXPECT_NEAR(std::round(apr * 100) / 100, e.expected, 1e-9) << e.id << ": " << apr;
        // Where the periods a year differ, counting the regulation's periods
        // gives its rate back, to the half hundredth its rounding allows and
        // the thousandth the program's own rounding adds.
        if (e.expected != e.published) {
            EXPECT_NEAR(apr * 364 / 365, e.published, 0.006) << e.id;
        }
    }
}

// --- the disclosure check ----------------------------------------------------------

TEST(CliCheck, JudgesWithTheRegulationZTolerances) {
    struct Case {
        const char* what;
        const char* loan;  // amount_financed,interval,groups
        const char* disclosedApr;
        const char* disclosedCharge;  // empty: none
        const char* transaction;
        double tolerance;
        const char* verdict;
    };
    const Case cases[] = {
        {"the regulation's own rate", "5000,monthly,24:230", "9.69", "520", "regular", 0.125,
         "ACCURATE"},
        {"a fifth of a point low", "5000,monthly,24:230", "9.50", "", "regular", 0.125,
         "NOT ACCURATE"},
        {"finance charge $10.01 low", "5000,monthly,24:230", "9.69", "509.99", "regular", 0.125,
         "NOT ACCURATE"},
        {"finance charge $5 high on $1,000", "1000,monthly,1:100:1:15; 10:100", "17.93", "105",
         "regular", 0.125, "ACCURATE"},
        {"finance charge $5.01 high on $1,000", "1000,monthly,1:100:1:15; 10:100", "17.93",
         "105.01", "regular", 0.125, "NOT ACCURATE"},
        // 28.832 % computed: 0.2 off is within the quarter point of an
        // irregular transaction.
        {"a varying payment in the middle", "1000,monthly,5:100; 1:150; 5:100", "29.032", "",
         "irregular", 0.25, "ACCURATE"},
        // 10.5 % computed: an odd final payment keeps the eighth of a point.
        {"only an odd final payment", "5000,monthly,23:230; 1:280", "10.70", "", "regular", 0.125,
         "NOT ACCURATE"},
    };
    TempFolder folder("qv_cli_check_");
    std::string batch =
        "id,amount_financed,interval,groups,disclosed_apr,disclosed_finance_charge\n";
    for (const Case& c : cases) {
        batch += std::string("\"") + c.what + "\"," + c.loan + "," + c.disclosedApr + "," +
                 c.disclosedCharge + "\n";
    }
    WriteFile(folder.path / "disclosed.csv", batch);
    const CliRun run = Cli({"check", "--format", "json", (folder.path / "disclosed.csv").string()});
    EXPECT_EQ(run.status, kExitFailed);
    const std::vector<json> records = Records(run.out);
    ASSERT_EQ(records.size(), std::size(cases));
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Case& c = cases[k];
        EXPECT_EQ(records[k]["transaction"], c.transaction) << c.what;
        EXPECT_EQ(records[k]["apr_tolerance"].get<double>(), c.tolerance) << c.what;
        EXPECT_EQ(records[k]["verdict"], c.verdict) << c.what;
    }

    // A schedule file with the disclosure on the command line.
    Loan loan;
    loan.amountFinanced = 5000;
    loan.groups = {{24, 1, 230.0, 1, 0}};
    SaveSchedule(loan, folder.path / "car.txt");
    const std::string car = (folder.path / "car.txt").string();
    const CliRun accurate = Cli({"check", car, "--disclosed-apr", "9.69"});
    EXPECT_EQ(accurate.status, kExitOk);
    EXPECT_NE(accurate.out.find("Verdict:             ACCURATE"), std::string::npos)
        << accurate.out;
    EXPECT_NE(accurate.out.find("tolerance 0.125 percentage points"), std::string::npos);
    EXPECT_EQ(Cli({"check", car, "--disclosed-apr", "9.50"}).status, kExitFailed);
}

// --- bad input ----------------------------------------------------------------------

TEST(CliBadInput, EachLoanGetsAClearErrorAndTheBatchGoesOn) {
    TempFolder folder("qv_cli_bad_");
    const std::string good = "5000,monthly,24:230";
    WriteFile(folder.path / "loans.csv",
              "Groups,Interval,ID,Amount_Financed,comment\n"  // any order, any case
              "24:230,monthly,good,5000,columns of its own are ignored\n"
              "24:230,monthly,huge,1e308,\n"
              "24:230,monthly,not-a-number,nan,\n"
              "10000:1,monthly,ten-thousand,5000,\n"
              "24:1e308,monthly,huge-payment,5000,\n"
              "24x230,monthly,bad-group,5000,\n"
              "24:230,fortnightly,bad-interval,5000,\n"
              "\"24:230,monthly,open-quote,5000\n"
              "24:230,monthly,\"the id\n"  // a field quoted over two lines
              "and more\",5000\n"
              "\n" +
                  std::string(70000, 'x') + "\n" + "24:230,monthly,never-read,5000\n");
    WriteFile(folder.path / "loans.jsonl",
              "{\"id\":\"j-good\",\"amount_financed\":5000,\"interval\":\"monthly\","
              "\"groups\":[{\"count\":24,\"payment\":230}]}\n"
              "{\"id\":\"j-text\",\"amount_financed\":\"5000\",\"interval\":1,\"groups\":[]}\n"
              "{\"amount_financed\":1e400,\"interval\":1,\"groups\":[]}\n"
              "not json at all\n" +
                  std::string(60000, '[') + "\n");
    fs::create_directories(folder.path / "folder" / "inner");
    WriteFile(folder.path / "folder" / "b.txt", "1,0,5000,0,0\r\n24,1,230,1,0\r\n");
    WriteFile(folder.path / "folder" / "a.txt", "not,a,schedule\r\n");
    WriteFile(folder.path / "folder" / "c.txt", "24,1,230,1,0\r\n");
    WriteFile(folder.path / "folder" / ".hidden", "1,0,5000,0,0\r\n24,1,230,1,0\r\n");
    WriteFile(folder.path / "no-header.csv", "id,amount\n1,2\n");

    const CliRun run =
        Cli({"apr", "--format", "json", "--jobs", "2", "--ignore-unknown",
             (folder.path / "loans.csv").string(), (folder.path / "missing.txt").string(),
             (folder.path / "loans.jsonl").string(), (folder.path / "folder").string(),
             (folder.path / "no-header.csv").string()});
    EXPECT_EQ(run.status, kExitBadInput);
    struct Expected {
        const char* id;  // or the end of the source, for a line without an id
        const char* status;
        const char* error;
    };
    const Expected expected[] = {
        {"good", "computed", ""},
        {"huge", "input error", "Amount Financed, 1E308, is below zero or too large"},
        {"not-a-number", "input error", "\"nan\" is not a finite number"},
        {"ten-thousand", "input error",
         "10000 payments scheduled but a schedule holds at most 485"},
        {"huge-payment", "input error", "the payment of 1E308 in group 1 is too large"},
        {"bad-group", "input error", "\"24x230\" is not count:payment[:periods[:days]]"},
        {"bad-interval", "input error", "\"fortnightly\" is none of annually"},
        {"loans.csv:9", "input error", "a quote is left open"},
        {"loans.csv:10", "input error", "a quote is left open"},
        {"loans.csv:11", "input error", "or a field that is not quoted holds one"},
        {"loans.csv:13", "input error",
         "the line is longer than 65536 characters; the rest of the file is not read"},
        {"missing.txt", "input error", "No such file or directory"},
        {"j-good", "computed", ""},
        {"j-text", "input error", "\"amount_financed\" must be a number"},
        {"loans.jsonl:3", "input error", "number overflow"},
        {"loans.jsonl:4", "input error", "not JSON (a batch holds one object per line): parse"},
        {"loans.jsonl:5", "input error", "not JSON (a batch holds one object per line): parse"},
        {"a.txt", "input error", "it holds no payment groups"},
        {"b.txt", "computed", ""},
        {"c.txt", "input error", "DataSet lacks Amt.Fin. and Common Interval"},
        {"no-header.csv:1", "input error", "the header line has no \"amount_financed\" column"},
    };
    const std::vector<json> records = Records(run.out);
    ASSERT_EQ(records.size(), std::size(expected)) << run.out;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Expected& e = expected[k];
        const std::string id = records[k]["id"].get<std::string>();
        EXPECT_TRUE(id.ends_with(e.id)) << id << " for " << e.id;
        EXPECT_EQ(records[k]["status"], e.status) << e.id;
        const std::string error = records[k]["error"].is_null() ? "" : records[k]["error"];
        if (*e.error == '\0')
            EXPECT_EQ(error, "") << e.id;
        else
            EXPECT_NE(error.find(e.error), std::string::npos) << e.id << ": " << error;
    }

    // Every loan without an APR is told on standard error, in input order, and
    // the batch ends with its count.
    std::vector<std::string> told;
    for (const json& r : records)
        if (r["status"] != "computed") told.push_back(r["error"].get<std::string>());
    const std::vector<std::string> errLines = Lines(run.err);
    ASSERT_EQ(errLines.size(), told.size() + 1) << run.err;
    for (std::size_t k = 0; k < told.size(); ++k)
        EXPECT_TRUE(errLines[k].ends_with(": " + told[k])) << errLines[k];
    // The header that names no amount is an error of its file, not a loan.
    EXPECT_EQ(errLines.back(), "quorvane-cli: 20 loans: 3 computed, 17 with errors");

    // Loans refused while the rest went on: status 3; a loan for which the
    // engine finds no rate: status 1.
    WriteFile(folder.path / "long.csv",
              "id,amount_financed,interval,groups\nok," + good + "\nlong,5000,monthly,600:10\n");
    EXPECT_EQ(Cli({"apr", (folder.path / "long.csv").string()}).status, kExitSomeLoans);
    WriteFile(folder.path / "no-rate.csv",
              "id,amount_financed,interval,groups\nok," + good + "\nlow,1,monthly,24:230\n");
    EXPECT_EQ(Cli({"apr", (folder.path / "no-rate.csv").string()}).status, kExitFailed);
}

TEST(CliBadInput, InputsWithoutLoansAndPaymentsBeyondTheScheduleAreToldAsSuch) {
    TempFolder folder("qv_cli_no_loans_");
    struct Case {
        const char* what;
        std::string csv;
        std::string format;
        int status;
        std::string out;      // the whole of standard output, or a part of it
        std::string errTail;  // how standard error ends
    };
    const std::string header = "id,amount_financed,interval,groups\n";
    const Case cases[] = {
        {"a header naming no amount is no loan", "id,amount\n1,2\n", "csv", kExitBadInput,
         "unknown column amount", "quorvane-cli: no loans found in the input given\n"},
        {"a payment beyond the schedule names its group",
         header + "big,100000000,monthly,12:21474836.48\nedge,100000000,monthly,12:21474836.47\n",
         "csv", kExitSomeLoans,
         "big,PATH:2,input error,,,,,,,\"group 1: payment 21474836.48 is more than the largest "
         "a schedule holds, 21474836.47\",,,",
         "quorvane-cli: 2 loans: 1 computed, 1 with errors\n"},
    };
    for (const Case& c : cases) {
        const fs::path file = folder.path / "loans.csv";
        WriteFile(file, c.csv);
        const CliRun run = Cli({"apr", "--format", c.format, file.string()});
        EXPECT_EQ(run.status, c.status) << c.what;
        std::string out = c.out;
        if (const auto at = out.find("PATH"); at != std::string::npos)
            out.replace(at, 4, file.string());
        if (out.empty())
            EXPECT_EQ(run.out, "") << c.what;
        else
            EXPECT_NE(run.out.find(out), std::string::npos) << c.what << ": " << run.out;
        EXPECT_TRUE(run.err.ends_with(c.errTail)) << c.what << ": " << run.err;
    }
}

TEST(CliBadInput, ProgressBarOnlyOnATerminalAndNeverInTheResults) {
    const std::string loans = std::string(QV_EXAMPLES_DIR) + "/loans.csv";
    const CliRun plain = Cli({"apr", "--format", "csv", loans});
    EXPECT_EQ(plain.err.find('\r'), std::string::npos);
    const CliRun terminal = Cli({"apr", "--format", "csv", loans}, true);
    EXPECT_EQ(terminal.out, plain.out);
    EXPECT_NE(terminal.err.find("] 100%  7 loans"), std::string::npos) << terminal.err;
    // Every line told starts on a line of its own, the bar taken off first.
    for (const std::string& line : Lines(plain.err))
        EXPECT_NE(terminal.err.find("\r\x1b[K" + line + "\n"), std::string::npos) << line;
    EXPECT_TRUE(terminal.err.ends_with("\r\x1b[K" + Lines(plain.err).back() + "\n"));
}

// --- the program itself ---------------------------------------------------------------

TEST(CliProgram, ExitStatusAndStreamsAsDocumented) {
    TempFolder folder("qv_cli_program_");
    const std::string irregular = std::string(QV_EXAMPLES_DIR) + "/irregular.txt";
    const std::string missing = (folder.path / "missing.txt").string();
    struct Case {
        std::string args;
        int status;
        std::string out;  // found in standard output; "" when it stays empty
        std::string err;  // found in standard error; "" when it stays empty
    };
    fs::create_directories(folder.path / "empty");
    const std::string headerOnly = (folder.path / "header-only.csv").string();
    WriteFile(fs::path(headerOnly), "id,amount_financed,interval,groups\n");
    const Case cases[] = {
        {"apr " + irregular, 0, "Estimated APR = 9.34%", ""},
        // No table of titles over no loan: only the closing word.
        {"apr " + (folder.path / "empty").string(), 2, "", "no loans found"},
        {"check --disclosed-apr 9 " + headerOnly, 2, "", "no loans found"},
        {"apr " + irregular + " " + missing, 2,
         "==> " + irregular + " <==", "missing.txt: cannot open: No such file or directory"},
        {"check " + irregular + " --disclosed-apr 9.5", 0, "Verdict:             ACCURATE", ""},
        {"check " + irregular + " --disclosed-apr 9.7", 1, "NOT ACCURATE", ""},
        {"check " + irregular, 2, "", "check needs --disclosed-apr"},
        {"apr", 2, "", "quorvane-cli: FILE is required"},
        {"apr --jobs 0 " + irregular, 2, "", "--jobs wants a whole number from 1 to 1024"},
        {"apr --jobs abc " + irregular, 2, "",
         "--jobs wants a whole number from 1 to 1024, not \"abc\""},
        {"check --disclosed-apr 1e-320 " + irregular, 2, "",
         "--disclosed-apr\": \"1e-320\" is out of range"},
        {"check --disclosed-apr 9.5 --disclosed-finance-charge 250.005 " + irregular, 2, "",
         "--disclosed-finance-charge 250.005 has a fraction of a cent"},
        {"apr --format xml " + irregular, 2, "", "--format"},
        {"amortize " + irregular, 2, "", "unknown command \"amortize\""},
        {"", 2, "", "quorvane-cli: A subcommand is required"},
        {"chart " + std::string(QV_EXAMPLES_DIR), 2, "", "one schedule file"},
        {"apr --help", 0, "--jobs", ""},
        {"check --help", 0, "--disclosed-finance-charge", ""},
        {"chart --help", 0, "--rebates", ""},
    };
    for (const Case& c : cases) {
        const fs::path out = folder.path / "out";
        const fs::path err = folder.path / "err";
        const std::string command =
            std::string(QV_CLI_PROGRAM) + " " + c.args + " >" + out.string() + " 2>" + err.string();
        const int wait = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(wait)) << c.args;
        EXPECT_EQ(WEXITSTATUS(wait), c.status) << c.args;
        for (const auto& [file, wanted] : {std::pair{out, c.out}, std::pair{err, c.err}}) {
            const std::string text = ReadFile(file);
            if (wanted.empty())
                EXPECT_EQ(text, "") << c.args;
            else
                EXPECT_NE(text.find(wanted), std::string::npos) << c.args << ": " << text;
        }
        // Results never go to standard error.
        EXPECT_EQ(ReadFile(err).find("Estimated APR"), std::string::npos) << c.args;
    }
}

TEST(CliProgram, FoldersAndFilesWithoutPermissionAreErrorsOfTheirOwn) {
    // The superuser reads every folder; the program then runs as nobody.
    std::string as = "";
    if (::geteuid() == 0) {
        if (std::system("setpriv --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "running as the superuser without setpriv";
        as = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    TempFolder folder("qv_cli_perm_");
    fs::create_directories(folder.path / "locked");
    fs::create_directories(folder.path / "open");
    WriteFile(folder.path / "open" / "a.txt", "1,0,5000,0,0\r\n24,1,230,1,0\r\n");
    WriteFile(folder.path / "open" / "secret.txt", "1,0,5000,0,0\r\n24,1,230,1,0\r\n");
    fs::permissions(folder.path / "open" / "secret.txt", fs::perms::none);
    fs::permissions(folder.path / "locked", fs::perms::none);

    const std::string command =
        as + QV_CLI_PROGRAM + " apr --format json " + (folder.path / "locked").string() + " " +
        (folder.path / "open").string() + " >" + (folder.path / "out").string();
    const int wait = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(wait));
    EXPECT_EQ(WEXITSTATUS(wait), kExitBadInput);
    const std::vector<json> records = Records(ReadFile(folder.path / "out"));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]["error"], "cannot read the folder: Permission denied");
    EXPECT_EQ(records[1]["status"], "computed");
    EXPECT_NE(records[2]["error"].get<std::string>().find("Permission denied"), std::string::npos);
    fs::permissions(folder.path / "locked", fs::perms::owner_all);
}

TEST(CliBatch, ALoansRateDoesNotDependOnTheLoansBeforeIt) {
    // A loan of one payment due after odd days alone is figured per diem, a
    // choice made from the schedule of the computation before: every loan must
    // find that schedule as a fresh program has it, however long the loans
    // before it were, whatever they left in it.
    TempFolder folder("qv_cli_order_");
    const std::string header = "id,amount_financed,interval,groups\n";
    const std::string oneOddDays = "S,1000,monthly,1:1010:0:6\n";
    WriteFile(folder.path / "alone.csv", header + oneOddDays);
    json alone =
        Records(Cli({"apr", "--format", "json", (folder.path / "alone.csv").string()}).out)[0];
    alone.erase("source");
    ASSERT_EQ(alone["basis"], "per diem") << alone.dump();
    for (const std::string before : {"L,1000,monthly,3:400:1:10\n", "L,90000,monthly,360:700:1:3\n",
                                     "L,10,monthly,485:1:1:1\n", "L,1000,monthly,3:1:1:1\n"}) {
        WriteFile(folder.path / "after.csv", header + before + oneOddDays);
        const std::vector<json> records =
            Records(Cli({"apr", "--format", "json", (folder.path / "after.csv").string()}).out);
        ASSERT_EQ(records.size(), 2u);
        json after = records[1];
        after.erase("source");
        EXPECT_EQ(after, alone) << before;
    }
}

TEST(CliBatch, RecordsAndMessagesDoNotDependOnTheNumberOfJobs) {
    // Enough loans for many runs of them, short and long ones mixed so that
    // the jobs finish runs out of order, with lines refused among them: every
    // record, every message and the exit status come out as one job gives them.
    TempFolder folder("qv_cli_jobs_");
    std::string batch = "id,amount_financed,interval,groups,disclosed_apr\n";
    for (int k = 0; k < 1500; ++k) {
        const int payments = k % 7 == 0 ? 360 : 12 + k % 48;
        const int payment = 60 + k % 90;
        const int amount = payments * payment * (60 + k % 30) / 100;
        batch += "L" + std::to_string(k) + "," + std::to_string(amount) + ",monthly,";
        batch += k % 41 == 0 ? "12:x" : std::to_string(payments) + ":" + std::to_string(payment);
        batch += "," + std::to_string(8 + k % 5) + "\n";
    }
    WriteFile(folder.path / "loans.csv", batch);
    const std::string file = (folder.path / "loans.csv").string();
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"apr", "--format", "csv"},
          {"apr", "--format", "json"},
          {"check", "--format", "csv"}}) {
        const auto run = [&](int jobs) {
            std::vector<std::string> args = command;
            args.insert(args.end(), {"--jobs", std::to_string(jobs), file});
            return Cli(args);
        };
        const CliRun oneJob = run(1);
        ASSERT_EQ(oneJob.status, kExitSomeLoans) << oneJob.err;
        // A message for each of the 37 refused lines, and the closing line.
        ASSERT_EQ(Lines(oneJob.err).size(), 37u + 1) << oneJob.err;
        for (const int jobs : {2, 3, 8}) {
            SCOPED_TRACE(command[0] + " " + command[2] + " on " + std::to_string(jobs) + " jobs");
            const CliRun several = run(jobs);
            EXPECT_EQ(several.status, oneJob.status);
            EXPECT_TRUE(several.out == oneJob.out) << "the records differ";
            EXPECT_EQ(several.err, oneJob.err);
        }
    }
}

TEST(CliRecords, RatesAreWrittenAsTheDesktopWritesThem) {
    // Rates rounded to three decimals as the estimate gives them, then any
    // double from far below to far above the positional range, with every
    // number of digits, both signs, and the ends of the range.
    std::vector<double> rates = {0.0,
                                 -0.0,
                                 1e-3,
                                 -1e-3,
                                 0.00099999999999999,
                                 1e14,
                                 -1e14,
                                 99999999999999.9,
                                 123456789012345.0,
                                 0.1,
                                 12.5,
                                 -205.994,
                                 1e-4,
                                 30.311,
                                 1.0 / 3.0,
                                 2.0 / 3.0 * 100,
                                 1e300,
                                 5e-324};
    std::mt19937_64 random(23);
    std::uniform_int_distribution<int> thousandths(-300'000, 10'000'000);
    std::uniform_real_distribution<double> exponent(-6.0, 16.0);
    for (int k = 0; k < 20'000; ++k) {
        rates.push_back(std::floor(thousandths(random) + 0.5) / 1000.0);
        const double x = std::pow(10.0, exponent(random));
        rates.push_back(k % 2 ? x : -x);
        // Rounded to a few digits, as amounts and rates are written.
        const double digits = std::pow(10.0, k % 9);
        rates.push_back(std::round(x * digits) / digits);
    }
    for (const double rate : rates)
        ASSERT_EQ(RateText(rate), FloatToStr(rate)) << std::hexfloat << rate;
}

}  // namespace
}  // namespace qv::cli
