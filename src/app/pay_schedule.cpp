#include "app/pay_schedule.h"

#include <algorithm>

#include "app/qt_text.h"
#include "app/shell_texts.h"
#include "base/format.h"
#include "schedule/group_schedule.h"

PaySchedule::PaySchedule(qv::LoanState& state, qv::TMemDataSet& paySet, AppSettings& settings,
                         ChartDocument& chart, PlatformPort& port)
    : state_(state),
      paySet_(paySet),
      settings_(settings),
      chart_(chart),
      port_(port),
      saveDialog_(KeptFileDialog::Kind::Save, qv::kProposedScheduleFileName,
                  qv::kScheduleFileExtension),
      openDialog_(KeptFileDialog::Kind::Open, qv::kProposedScheduleFileName,
                  qv::kScheduleFileExtension) {}

PaySchedule::~PaySchedule() = default;

void PaySchedule::SetInterval(std::optional<qv::Interval> interval) {
    if (interval == interval_) return;
    interval_ = interval;
    emit IntervalChanged(interval);
}

void PaySchedule::ChooseInterval(qv::Interval interval) {
    SetInterval(interval);
    emit IntervalChosen(interval);
}

void PaySchedule::SetEditable(bool editable) {
    editable_ = editable;
    emit EditableChanged(editable);
}

void PaySchedule::Save() {
    SaveSchedule(std::nullopt);
}

void PaySchedule::SaveSchedule(const std::optional<std::filesystem::path>& loading) {
    if (qv::NothingToSave(paySet_)) {
        port_.Inform(qv::kNoScheduleToSave);
        return;
    }
    const std::string proposed = saveDialog_.Request().fileName;
    const std::optional<std::string> file = saveDialog_.Execute(port_, qv::kSaveScheduleTitle);
    if (!file) return;
    const std::filesystem::path path = std::filesystem::u8path(*file);
    if (loading && qv::SameFile(path, *loading)) {
        port_.Warn(qv::CannotSaveOverLoadText(path));
        saveDialog_.Keep(proposed);
        return;
    }
    // With no interval chosen the file carries the one every page starts on.
    qv::SaveScheduleAsked(path, paySet_,
                          {interval_.value_or(qv::kStartInterval), state_.loan.AmtFin}, port_);
}

void PaySchedule::Load() {
    const std::optional<std::string> file = openDialog_.Execute(port_, qv::kLoadScheduleTitle);
    if (file && !LoadSchedule(*file)) return;
    Test();
    SetEditable(true);
    const std::optional<qv::AprOutcome> outcome = Estimate();
    port_.Inform(qv::LoadedAprMessage(outcome, state_.loan.APR));
}

void PaySchedule::ShowLoaded(const qv::ScheduleLoad& load) {
    ChooseInterval(load.interval);
    emit Loaded(load);
}

bool PaySchedule::LoadSchedule(const std::string& file) {
    const std::filesystem::path path = std::filesystem::u8path(file);
    // The question comes before the file is read; whatever the save does,
    // even when its dialog is cancelled, the chosen file is loaded.
    if (!qv::NothingToSave(paySet_) && port_.Confirm(qv::kSaveCurrentScheduleQuestion)) {
        SaveSchedule(path);
    }
    const qv::ScheduleLoad load = qv::LoadData(state_.loan, state_.regular, paySet_, path);
    if (load.loaded && !load.headerMissing) ShowLoaded(load);
    for (const qv::RecordedMessage& message : load.messages) port_.Show(message.kind, message.text);
    return load.loaded;
}

void PaySchedule::Test() {
    const qv::ScheduleRecount recount = qv::RecountSchedule(state_.loan, paySet_);
    qv::ShowMessages(port_, recount.messages);
    if (!recount.counted) return;
    port_.Inform(recount.totalText);
    emit TotalsTaken(
        Q(qv::FloatToStrF(qv::CurrencyToDollars(state_.loan.TotPay), qv::FloatStyle::Fixed, 18, 2)),
        QString::number(state_.loan.PayCount));

    // Asked until the user keeps the amount or gives one that reads.
    for (;;) {
        const std::string proposal = qv::AmountFinancedDefault(state_.loan.AmtFin);
        const std::optional<std::string> answer =
            port_.InputBox(qv::kAmtFinTitle, qv::kAmtFinPrompt, proposal);
        const qv::AmountFinancedReply reply =
            qv::JudgeAmountFinancedReply(answer.value_or(proposal), proposal);
        if (reply.kind == qv::AmountFinancedReply::Kind::Keep) return;
        if (reply.kind == qv::AmountFinancedReply::Kind::Accept) {
            state_.loan.AmtFin = reply.amtFin;
            emit AmountFinancedTaken(Q(reply.boxText));
            return;
        }
        port_.Inform(reply.message);
    }
}

std::optional<qv::AprOutcome> PaySchedule::Estimate() {
    const qv::AprEstimate estimate =
        qv::EstimateApr(state_.loan, state_.group, paySet_, interval_, settings_.Apr(), port_);
    if (estimate.outcome) TakeAprResult(*estimate.outcome, estimate.report);
    emit Estimated(estimate);
    if (estimate.InputError() && !estimate.outcome) ReportNotCurrent();
    return estimate.outcome;
}

qv::AprOutcome PaySchedule::RunGetAPR() {
    qv::ChartText lines;
    const qv::AprOutcome outcome = qv::GetAPR(state_.loan, paySet_, settings_.Apr(), lines, port_);
    TakeAprResult(outcome, lines);
    return outcome;
}

void PaySchedule::TakeAprResult(qv::AprOutcome outcome, const qv::ChartText& report) {
    if (outcome == qv::AprOutcome::Computed) {
        computed_ = std::make_unique<qv::ComputedSchedule>(
            qv::CaptureComputedSchedule(state_.loan, paySet_));
        chart_.SetLines(report);
        emit AprTaken(outcome);
    } else {
        emit AprTaken(outcome);
        ReportNotCurrent();
    }
}

void PaySchedule::ReportNotCurrent() {
    const auto& lines = shell_text::kNoCurrentReportLines;
    chart_.SetLines(qv::ChartText(std::begin(lines), std::end(lines)));
}

void PaySchedule::RegisterAprPage(std::int32_t source, AprPageCommands commands) {
    aprPages_[source] = std::move(commands);
}

void PaySchedule::Recompute(std::int32_t source) {
    const auto page = aprPages_.find(source);
    if (page != aprPages_.end() && page->second.recompute) page->second.recompute();
}

bool PaySchedule::AprShowsInputError() const {
    return std::any_of(aprPages_.begin(), aprPages_.end(), [](const auto& page) {
        return page.second.showsInputError && page.second.showsInputError();
    });
}

void PaySchedule::Reset() {
    computed_.reset();
    SetInterval(qv::kStartInterval);
    SetEditable(false);
}
