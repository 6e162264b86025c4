#include "cli/loan_run.h"

#include <algorithm>
#include <utility>

#include "core/rounding_setting.h"
#include "schedule/group_schedule.h"
#include "schedule/schedule_file.h"

namespace qv::cli {
namespace {

// A refusal of the loader ends with a line saying that the desktop's table
// was left alone, which means nothing here: only its reason is kept.
std::string Reason(std::string_view refusal) {
    return OneLine(refusal.substr(0, refusal.find("\n\r")));
}

constexpr std::string_view kNoDisclosedApr =
    "no disclosed APR to check: give --disclosed-apr or a disclosed_apr column";

}  // namespace

std::string OneLine(std::string_view text) {
    std::string line;
    bool pendingSpace = false;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            pendingSpace = !line.empty();
            continue;
        }
        if (pendingSpace && c != ' ') line += ' ';
        pendingSpace = false;
        line += c;
    }
    return line;
}

std::string TerminalLine(std::string_view message) {
    // What only makes sense in the window: where to click, which tab to go
    // to, and the words the APR box shows.
    constexpr std::string_view kWindowOnly[] = {
        "InputError, no APR Computed",
        "See Help/Tolerances on the Menu.",
        "Go to Tab 2,Tab 3 or Tab 5 to correct error(s)",
        "Compute one on Tab 2 or Tab 3, then chart it here.",
        "Enter the payments first: Add Group above, or a schedule at Tab 2 or Tab 5.",
    };
    if (message == kNoAprEstimated) return {};  // the desktop's closing word on its own checks
    std::string line(message);
    for (const std::string_view label : {"Error: ", "Error :"})
        if (line.starts_with(label)) line.erase(0, label.size());
    for (const std::string_view words : kWindowOnly) {
        for (auto at = line.find(words); at != std::string::npos; at = line.find(words))
            line.erase(at, words.size());
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::string TerminalText(std::span<const std::string> messages) {
    std::string text;
    for (const std::string& message : messages) {
        const std::string line = TerminalLine(message);
        if (line.empty()) continue;
        if (!text.empty()) text += "; ";
        text += line;
    }
    return text;
}

std::string Joined(std::span<const std::string> messages) {
    std::string text;
    for (const std::string& message : messages) {
        if (!text.empty()) text += " | ";
        text += message;
    }
    return text;
}

Answer MessageLog::Show(MessageKind kind, std::string_view text) {
    lines.push_back(OneLine(text));
    return kind == MessageKind::Information || kind == MessageKind::Warning ? Answer::Ok
                                                                            : Answer::No;
}

// The chart page's entry needs a window to beep, show a page and disable
// itself; the companion has none to speak of.
class LoanWorker::ChartWindow : public ChartEntryWindow {
  public:
    void Beep() override {}
    void ShowPage(InputErrorRoute) override {}
    void SetWindowEnabled(bool) override {}
};

LoanWorker::LoanWorker(RunSettings settings)
    : settings_(std::move(settings)),
      roundAdd_(RoundingFor(settings_.roundDown).RoundAdd),
      paySet_("mdsPaySet"),
      detail_("mdsDetail") {
    DefinePaySetTable(paySet_);
    DefineDetailTable(detail_);
}

void LoanWorker::Start() {
    // The loan state as the program starts. Of the payment matrix only the
    // entries the loans before may have written are cleared: the rest were
    // never written, and the per-diem rule and the chart read them as zero.
    auto& [loan, regular, group, split, onePay, vary, figure] = state_;
    ResetLoanTerms(loan, matrixWritten_);
    matrixWritten_ = 0;
    regular = {};
    group = {};
    split = {};
    onePay = {};
    vary = {};
    figure = {};
    loan.RoundAdd = roundAdd_;
    // The tables need no emptying: a load replaces every group before
    // anything reads them (and a failed load ends the loan), and the chart
    // page's entry rebuilds the detail rows from scratch.
    log_.lines.clear();
    interval_ = kStartInterval;
    aprBoxInputError_ = false;
    capture_ = settings_.check;
    report_ = settings_.keepReport;
    computed_.reset();
    placed_ = false;
    box_.clear();
}

bool LoanWorker::TakeLoad(const ScheduleLoad& load, LoanRecord& record) {
    if (!load.loaded) {
        record.status = LoanStatus::InputError;
        record.error = load.messages.empty() ? "the schedule could not be read"
                                             : Reason(load.messages.front().text);
        return false;
    }
    if (load.headerMissing) {
        record.status = LoanStatus::InputError;
        record.error = std::string(kScheduleLacksHeader) +
                       " (the first line of a schedule file has key 0 and holds the interval "
                       "and the amount financed)";
        return false;
    }
    interval_ = load.interval;
    for (const RecordedMessage& m : load.messages) log_.lines.push_back(OneLine(m.text));
    return true;
}

AprEstimate LoanWorker::Estimate() {
    AprSettings apr = settings_.apr;
    apr.Summary = report_;
    AprEstimate e = EstimateApr(state_.loan, state_.group, paySet_, interval_, apr, log_);
    aprBoxInputError_ = e.InputError();
    if (e.Computed()) {
        // Only the chart and the check read the computed schedule; a batch
        // of plain rates is spared the copy.
        if (capture_) computed_ = CaptureComputedSchedule(state_.loan, paySet_);
        box_ = std::move(e.report);
    }
    return e;
}

bool LoanWorker::RecountAndEstimate(LoanRecord& record) {
    const ScheduleRecount recount = RecountScheduleValues(state_.loan, paySet_);
    ShowMessages(log_, recount.messages);
    record.amountFinanced = state_.loan.AmtFin;
    record.totalOfPayments = state_.loan.TotPay;
    record.payments = state_.loan.PayCount;
    const std::size_t before = log_.lines.size();
    if (!Estimate().Computed()) return NotComputed(record, before);
    TakeComputed(record);
    return true;
}

bool LoanWorker::NotComputed(LoanRecord& record, std::size_t told) const {
    record.status = LoanStatus::NotComputed;
    const std::span<const std::string> lines(log_.lines);
    for (const std::string& note : lines.first(told))
        if (std::string line = TerminalLine(note); !line.empty()) record.notes.push_back(line);
    record.error = TerminalText(lines.subspan(told));
    if (record.error.empty()) record.error = "no APR was computed";
    return false;
}

void LoanWorker::TakeComputed(LoanRecord& record) const {
    record.status = LoanStatus::Computed;
    record.apr = state_.loan.APR;
    record.desktopApr = true;
    record.perDiem = state_.loan.PerDiem;
    for (const std::string& note : log_.lines)
        if (std::string line = TerminalLine(note); !line.empty()) record.notes.push_back(line);
    if (settings_.keepReport) record.report = box_;
}

bool LoanWorker::HasDisclosedApr(const Disclosed& own) const {
    return !settings_.check || own.apr || settings_.disclosed.apr;
}

void LoanWorker::Judge(LoanRecord& record, const Disclosed& own) const {
    if (!settings_.check || record.status != LoanStatus::Computed) return;
    const double disclosedApr = own.apr ? *own.apr : *settings_.disclosed.apr;
    const std::optional<Currency> disclosedCharge =
        own.financeCharge ? own.financeCharge : settings_.disclosed.financeCharge;
    DisclosureCheck check;
    // The regulation's own rate decides; only a loan without one (payments
    // below the amount financed) falls back on the desktop's estimate.
    if (record.exact && record.exact->found && placed_) {
        check.shape = regz::ClassifyTimedLoan(timed_);
        check.apr = CheckDisclosedAprExactly(record.exact->apr, disclosedApr, check.shape.kind);
    } else if (record.desktopApr && computed_) {
        check.shape = ClassifyTransaction(computed_->groups);
        check.apr = CheckDisclosedApr(record.apr, disclosedApr, check.shape.kind);
    } else {
        return;
    }
    if (disclosedCharge) {
        check.financeCharge = CheckDisclosedFinanceCharge(DollarsToCurrency(record.amountFinanced),
                                                          record.totalOfPayments, *disclosedCharge);
    }
    record.check = check;
}

void LoanWorker::AddExactRate(LoanRecord& record, std::optional<regz::UnitPeriod> unit) {
    if (!unit) return;
    // The desktop's APR stands; the exact rate is beside it, or its absence
    // a note.
    if (!SolveExactly(record, regz::TimeGroupsInto(state_.loan.AmtFin, groups_, *unit, timed_))) {
        record.notes.push_back("no Appendix J rate: " + record.error);
        record.error.clear();
    }
}

bool LoanWorker::SolveExactly(LoanRecord& record, const std::string& placeError) {
    placed_ = placeError.empty();
    if (!placed_) {
        record.error = placeError;
        return false;
    }
    record.exact = solver_.Solve(timed_.flows, timed_.perYear);
    record.unitPeriod = timed_.basis;
    if (record.exact->found) return true;
    record.error = record.exact->message;
    return false;
}

void LoanWorker::ComputeExactOnly(const BatchLoan& loan, LoanRecord& record) {
    std::string placeError;
    if (loan.dated) {
        regz::TimedLoanResult timed = regz::TimeDatedLoan(*loan.dated);
        if (timed.loan)
            timed_ = std::move(*timed.loan);
        else
            placeError = std::move(timed.error);
    } else if (const auto problem = ScheduleProblem(loan.header.amount, loan.groups)) {
        record.error = *problem;
        return;
    } else {
        placeError = regz::TimeGroupsInto(loan.header.amount, loan.groups, loan.unit, timed_);
    }
    if (!placeError.empty()) {
        record.error = std::move(placeError);
        return;
    }
    // The amounts as a disclosure states them, added up in currency so that
    // no total can leave the range unnoticed.
    std::optional<Currency> financed = Currency{0};
    std::optional<Currency> total = Currency{0};
    for (const regz::Flow& flow : timed_.flows) {
        std::optional<Currency>& sum = flow.kind == regz::FlowKind::Advance ? financed : total;
        const std::optional<Currency> amount = TryDollarsToCurrency(flow.amount);
        sum = sum && amount ? CheckedSum(*sum, *amount) : std::nullopt;
        if (flow.kind == regz::FlowKind::Payment) ++record.payments;
    }
    if (!financed || !total) {
        record.error = "the amounts add up to more than a disclosure can state";
        return;
    }
    record.amountFinanced = CurrencyToDollars(*financed);
    record.totalOfPayments = *total;
    record.status = SolveExactly(record, {}) ? LoanStatus::Computed : LoanStatus::NotComputed;
}

LoanRecord LoanWorker::Refused(std::string id, std::string source) {
    LoanRecord record;
    record.id = std::move(id);
    record.source = std::move(source);
    record.error = std::string(kNoDisclosedApr);
    return record;
}

bool LoanWorker::LoadFile(InputBuf& in, LoanRecord& record) {
    std::istream stream(&in);
    const ScheduleLoad load =
        LoadDataFromStream(state_.loan, state_.regular, paySet_, stream, in.Size(), record.source);
    if (!in.Failure().empty()) {
        record.status = LoanStatus::Unreadable;
        record.error = "cannot read the file: " + in.Failure();
        return false;
    }
    return TakeLoad(load, record) && CheckLoaded(record);
}

bool LoanWorker::CheckLoaded(LoanRecord& record) {
    groups_.clear();
    std::optional<PayGroupFields> fields;
    for (paySet_.MoveFirst(); !paySet_.AtEnd(); paySet_.MoveNext()) {
        if (!fields) fields.emplace(paySet_);
        groups_.push_back(fields->Read(paySet_));
    }
    return CheckGroups(record);
}

bool LoanWorker::CheckGroups(LoanRecord& record) {
    std::optional<std::string> problem = ScheduleProblem(state_.loan.AmtFin, groups_);
    if (!problem) problem = PaymentBeyondSchedule(groups_);
    if (!problem) return true;
    record.status = LoanStatus::InputError;
    record.error = *problem;
    return false;
}

LoanRecord LoanWorker::FromScheduleFile(const std::filesystem::path& file, std::string id,
                                        std::shared_ptr<InputBuf> opened) {
    if (!HasDisclosedApr({})) return Refused(id, file.string());
    LoanRecord record;
    record.id = std::move(id);
    record.source = file.string();
    if (!opened) {
        opened = std::make_shared<InputBuf>(file);
        if (!opened->Open()) {
            record.status = LoanStatus::Unreadable;
            record.error = "cannot open: " + opened->Failure();
            return record;
        }
    }
    Start();
    matrixWritten_ = kMatrixEntries;
    if (LoadFile(*opened, record) && RecountAndEstimate(record)) {
        AddExactRate(record, regz::UnitPeriodOfInterval(interval_));
        Judge(record, {});
    }
    return record;
}

LoanRecord LoanWorker::FromBatchLoan(const BatchLoan& loan, std::string source) {
    std::string id = loan.id.empty() ? source : loan.id;
    if (!HasDisclosedApr(loan.disclosed)) return Refused(std::move(id), std::move(source));
    LoanRecord record;
    record.id = std::move(id);
    record.source = std::move(source);
    Start();
    if (!loan.desktopFits) {
        ComputeExactOnly(loan, record);
    } else if (TakeLoad(LoadScheduleValues(state_.loan, state_.regular, paySet_, loan.header,
                                           loan.groups, record.source),
                        record)) {
        // The load took the line's groups as they stand (numbered in order),
        // so the table holds exactly these: they need not be read back.
        groups_.assign(loan.groups.begin(), loan.groups.end());
        // The expansion writes one entry per payment of these groups, after
        // the start entry, and nothing past the matrix's end.
        std::int64_t payments = 0;
        for (const PayGroup& g : groups_) payments += std::max(g.SetSize, 0);
        matrixWritten_ =
            static_cast<std::size_t>(std::min<std::int64_t>(payments, kMaxPayments)) + 1;
        if (CheckGroups(record) && RecountAndEstimate(record)) AddExactRate(record, loan.unit);
    }
    Judge(record, loan.disclosed);
    return record;
}

ChartRun LoanWorker::Chart(const std::filesystem::path& file) {
    ChartRun run;
    LoanRecord& record = run.record;
    record.id = file.string();
    record.source = record.id;
    InputBuf in(file);
    if (!in.Open()) {
        record.status = LoanStatus::Unreadable;
        record.error = "cannot open: " + in.Failure();
        return run;
    }
    Start();
    matrixWritten_ = kMatrixEntries;
    // The chart follows the report in the chart box.
    report_ = true;
    // Loading estimates the APR once; entering the chart page estimates it
    // again and fills the grid, and "Chart Amortization" appends the chart.
    if (!LoadFile(in, record) || !RecountAndEstimate(record)) return run;
    // The chart page works from the computation it asks for again.
    capture_ = true;
    ChartWindow window;
    const std::size_t before = log_.lines.size();
    const ChartEntryStep step = FirstChartEntryStep(state_.loan, paySet_);
    // A loaded schedule is the irregular page's, never the regular page's.
    if (step == ChartEntryStep::RecomputeIrregular) Estimate();
    const ChartEntryOutcome entry =
        FinishChartEntry(step, state_.loan, {aprBoxInputError_, computed_ ? &*computed_ : nullptr},
                         detail_, settings_.showRebates, window, log_);
    if (entry != ChartEntryOutcome::Filled) {
        NotComputed(record, before);
        return run;
    }
    ChartOptions options;
    options.showRebates = settings_.showRebates;
    options.fractionalInterest = settings_.fractionalInterest;
    options.roundDown = settings_.roundDown;
    AppendAmortizationChart(computed_ ? &*computed_ : nullptr, state_.loan.RoundAdd, options, box_,
                            log_);
    TakeComputed(record);
    run.lines = box_;
    return run;
}

}  // namespace qv::cli
