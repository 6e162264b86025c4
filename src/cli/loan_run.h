#pragma once
// One loan through the engine, the way the desktop program takes a loaded
// schedule: the file (or a batch line) is loaded into a fresh loan state as
// "Load a Schedule" loads it, the groups are recounted ("Test Sched.
// Integrity", keeping the amount financed) and the irregular page's
// "Estimate APR" runs; "chart" then enters the chart page and charts, as
// the desktop does before "Save Chart Text". Every loan starts from the
// state the program has right after it starts, so the order in which loans
// are computed never changes a digit.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "chart/amortization.h"
#include "cli/batch_input.h"
#include "cli/streams.h"
#include "core/apr_engine.h"
#include "core/disclosure.h"
#include "core/loan_state.h"
#include "data/memdset.h"
#include "regz/appendix_j_check.h"
#include "schedule/apr_estimate.h"

namespace qv::cli {

// The settings-page switches and the disclosure the companion works with.
struct RunSettings {
    AprSettings apr;                  // --coarse turns TenPass off; --log
    bool roundDown = false;           // --round-down
    bool showRebates = false;         // --rebates
    bool fractionalInterest = false;  // --fractional-interest
    bool check = false;               // judge the disclosure ("check")
    Disclosed disclosed;              // for loans that state none of their own
    bool keepReport = true;           // keep the report lines in the record
    bool appendixJBasis = false;      // --basis appendix-j: show the exact rate as the APR
};

enum class LoanStatus {
    Computed,     // the APR was computed
    NotComputed,  // the loan was read but the engine found no APR for it
    InputError,   // the loan could not be read or used
    Unreadable,   // its input could not be opened or read at all, or is in a form not known
};

struct DisclosureCheck {
    TransactionShape shape;
    AprVerdict apr;
    std::optional<FinanceChargeVerdict> financeCharge;

    bool Accurate() const { return apr.accurate && (!financeCharge || financeCharge->accurate); }
};

struct LoanRecord {
    std::string id;      // the loan's id; a schedule file's path
    std::string source;  // where it came from: the file, or the batch file and line
    LoanStatus status = LoanStatus::InputError;
    // As computed (meaningful when status is Computed).
    double amountFinanced = 0.0;
    Currency totalOfPayments = 0;
    std::int32_t payments = 0;
    double apr = 0.0;
    bool desktopApr = false;  // `apr` holds the desktop's estimate
    bool perDiem = false;
    // The exact Appendix J rate and the unit period it is stated in ("month",
    // "term of 255 days"); empty when the loan could not be placed in time.
    std::optional<regz::AppendixJRate> exact;
    std::string unitPeriod;
    ChartText report;                // the chart box's lines after the estimate
    std::vector<std::string> notes;  // what the program told on the way, one line each
    std::string error;               // why the loan has no APR or could not be read
    std::optional<DisclosureCheck> check;
    // The record's output text when it was formatted on the thread that
    // computed it (CSV, JSON Lines); empty otherwise.
    std::string formatted;
    // Bytes of regular input files read up to and with this loan: how far
    // along the batch is when the record comes out.
    std::int64_t readThrough = 0;
    // The error of an input as a whole (a CSV header, a batch file that
    // cannot be read): told and weighed in the exit status, but no loan.
    bool wholeInput = false;

    Currency FinanceCharge() const { return totalOfPayments - DollarsToCurrency(amountFinanced); }
};

// A message of the engine as one line: its line-break pairs become spaces.
std::string OneLine(std::string_view text);
// A message of the engine (one line) for a terminal: without the desktop's
// "Error:" labels, the "InputError" box text and the sentences that send the
// user to a tab or a menu; empty when nothing else is left.
std::string TerminalLine(std::string_view message);
// Why the engine computed no APR, for a terminal: the messages as
// TerminalLine words them, in order, separated by "; ".
std::string TerminalText(std::span<const std::string> messages);
// Messages in a row as one line, separated by " | ".
std::string Joined(std::span<const std::string> messages);

// The chart of a schedule file: its record and the chart box's lines, which
// "Save Chart Text" would write.
struct ChartRun {
    LoanRecord record;
    ChartText lines;
};

// The engine's messages, kept in order as single lines; every question is
// answered No, so nothing is ever overwritten or replaced on the way.
class MessageLog : public UserPort {
  public:
    Answer Show(MessageKind kind, std::string_view text) override;
    std::vector<std::string> lines;
};

// One thread's loan state, tables and messages: a worker computes one loan
// at a time, and workers share nothing.
class LoanWorker {
  public:
    explicit LoanWorker(RunSettings settings);

    // `opened` is the file already opened (a pipe read ahead to tell its
    // kind); otherwise the worker opens `file` itself.
    LoanRecord FromScheduleFile(const std::filesystem::path& file, std::string id,
                                std::shared_ptr<InputBuf> opened = nullptr);
    // `source` names the line ("loans.csv:7") in messages.
    LoanRecord FromBatchLoan(const BatchLoan& loan, std::string source);
    ChartRun Chart(const std::filesystem::path& file);

  private:
    class ChartWindow;

    // The program as it starts: a fresh loan state, empty tables, no messages.
    void Start();
    // Takes a load's outcome; false when the loan cannot go on.
    bool TakeLoad(const ScheduleLoad& load, LoanRecord& record);
    // Loads a schedule file read once through `in`; false when it cannot go on.
    bool LoadFile(InputBuf& in, LoanRecord& record);
    // Refuses, in the companion's words, what the desktop's boxes would not
    // take; false when the loaded schedule cannot go on.
    bool CheckLoaded(LoanRecord& record);
    // The same for the groups in groups_.
    bool CheckGroups(LoanRecord& record);
    // Recounts and estimates; false (the record says why) when no rate came out.
    bool RecountAndEstimate(LoanRecord& record);
    // The loan has no rate: the messages told from `told` on say why, those
    // before are notes. Returns false.
    bool NotComputed(LoanRecord& record, std::size_t told) const;
    // The irregular page's "Estimate APR", its report into the chart box.
    AprEstimate Estimate();
    void TakeComputed(LoanRecord& record) const;
    // A check needs a disclosed APR: the loan's own or the command line's.
    bool HasDisclosedApr(const Disclosed& own) const;
    static LoanRecord Refused(std::string id, std::string source);
    void Judge(LoanRecord& record, const Disclosed& own) const;
    // The Appendix J rate of the loaded groups in `unit`, or of a loan by
    // dates; false (the record says why) when the loan cannot be placed in
    // time.
    // `placeError` is why the loan could not be placed (in timed_), empty
    // when it was.
    bool SolveExactly(LoanRecord& record, const std::string& placeError);
    // The exact rate beside the desktop's, the groups read in `unit`.
    void AddExactRate(LoanRecord& record, std::optional<regz::UnitPeriod> unit);
    // A loan only the Appendix J rate can take: by dates, or groups in a unit
    // period the desktop program does not have.
    void ComputeExactOnly(const BatchLoan& loan, LoanRecord& record);

    RunSettings settings_;
    double roundAdd_;  // the rounding setting's, taken once (its notes are texts)
    LoanState state_;
    static constexpr std::size_t kMatrixEntries = kMaxPayments + 1;
    // Leading entries of state_'s payment matrix the loan under way may
    // write; the ones after stay zero.
    std::size_t matrixWritten_ = kMatrixEntries;
    TMemDataSet paySet_;
    TMemDataSet detail_;
    MessageLog log_;
    Interval interval_ = kStartInterval;
    bool aprBoxInputError_ = false;
    bool capture_ = false;  // keep the computed schedule (chart, check)
    bool report_ = true;    // someone reads the chart box: the estimate writes its report
    std::optional<ComputedSchedule> computed_;
    std::vector<PayGroup> groups_;  // the loaded schedule's groups
    regz::TimedLoan timed_;         // the loan placed in time, when placed_
    bool placed_ = false;
    regz::AppendixJSolver solver_;
    ChartText box_;  // the chart box: the last report, then the chart
};

}  // namespace qv::cli
