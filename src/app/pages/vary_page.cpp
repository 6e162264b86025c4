#include "app/pages/vary_page.h"

#include <QAbstractItemDelegate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/interval_group.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "app/session.h"
#include "data/memdset.h"
#include "data/table_walk.h"
#include "schedule/group_schedule.h"
#include "schedule/schedule_file.h"
#include "varrate/vary_schedule.h"
#include "varrate/vary_texts.h"

namespace {

// The boxes' names and widths in digits, in the order of kVaryBoxes.
struct BoxLook {
    const char* name;
    int digits;
};
constexpr std::array<BoxLook, qv::kVaryBoxes.size()> kBoxLooks = {{
    {"ebxPrincipal", 12},
    {"ebxVaryPayCount", 4},
    {"ebxVaryPayment", 10},
    {"ebxVaryRegPds", 4},
    {"ebxVaryAddDays", 4},
    {"ebxVaryRate", 6},
}};

std::vector<GridColumn> Columns(const auto& columns) {
    std::vector<GridColumn> out;
    for (const qv::VaryGridColumn& c : columns)
        out.emplace_back(std::string(c.field), Q(c.title), true, c.editable);
    return out;
}

// The list's interval. The group always has one checked; were none, the
// list is amortized, charted, saved and moved as weekly, as the
// amortization has always counted an interval past two-weekly.
qv::Interval ListInterval(const RadioGroup& rgpVary) {
    return ChosenInterval(rgpVary).value_or(qv::Interval::Weekly);
}

bool ListIsEmpty(const qv::TMemDataSet& variable) {
    return variable.Count() == 0 && !variable.HasPending();
}

void Show(PlatformPort& port, const std::vector<qv::RecordedMessage>& messages) {
    for (const qv::RecordedMessage& m : messages) port.Show(m.kind, m.text);
}

}  // namespace

VaryPage::VaryPage(Session& app) : Page(app, kId) {
    // Controls are made in the page's tab order: the group grid first, the
    // rate box after "Add Group", "Using Tab 7" last. The rows below place
    // them on the page.
    dbgVariable_ = Grid("dbgVariable", session().Table(TableId::mdsVariable),
                        Columns(qv::kVariableGridColumns), false);
    rgpVary_ = Radio("rgpVary", Q(qv::kVaryIntervalCaption),
                     IntervalCaptions(&qv::IntervalInfo::varyCaption), qv::kVaryIntervalColumns,
                     Q(qv::kVaryIntervalHint));
    ShowInterval(*rgpVary_, qv::kStartInterval);
    auto makeBox = [this](std::size_t i) {
        const qv::VaryBoxInfo& info = qv::kVaryBoxes[i];
        boxes_[i] = Box(kBoxLooks[i].name, Q(info.startText), Q(info.hint), kBoxLooks[i].digits);
        NameControl(boxes_[i], Q(info.label));
    };
    for (std::size_t i = 0; i + 1 < boxes_.size(); ++i) makeBox(i);
    auto* butVaryAdd = Button("butVaryAdd", Q(qv::kVaryAddButton), Q(qv::kVaryAddHint));
    makeBox(boxes_.size() - 1);
    auto* butVaryReset = Button("butVaryReset", Q(qv::kVaryClearButton));
    auto* butVarSave = Button("butVarSave", Q(qv::kVarySaveButton));
    auto* butVaryLoad = Button("butVaryLoad", Q(qv::kVaryLoadButton));
    dbgVarSchedule_ = Grid("dbgVarSchedule", session().Table(TableId::mdsVarSchedule),
                           Columns(qv::kVarScheduleGridColumns), true);
    auto* butMake = Button("butMake", Q(qv::kVaryAmortizeButton));
    auto* butVarPrint = Button("butVarPrint", Q(qv::kVaryChartButton));
    auto* butVaryTransform = Button("butVaryTransform", Q(qv::kVaryMoveButton));
    auto* butVaryEG = Button("butVaryEG", Q(qv::kVaryHelpButton));

    Line(Text(Q(qv::kVaryIntroLine1)));
    Line(Text(Q(qv::kVaryIntroLine2)));
    Line(Text(Q(qv::kVaryUnroundedLine1)));
    Row({Label(Q(qv::kVaryUnroundedLine2)), butVaryEG});
    Line(rgpVary_);
    QLabel* principalLabel = Label(Q(qv::kVaryPrincipalText));
    TieLabel(principalLabel, BoxOf(qv::VaryBox::ebxPrincipal));
    Row({principalLabel, BoxOf(qv::VaryBox::ebxPrincipal)});
    Line(Text(Q(qv::kVaryGroupsLine1)));
    Line(Text(Q(qv::kVaryGroupsLine2)));
    labVary7_ = Label(Q(qv::kVaryGroupLabelStart), "labVary7");
    // Each box's words follow it on the line.
    auto after = [this](std::string_view text, qv::VaryBox box) {
        QLabel* label = Label(Q(text));
        TieLabel(label, BoxOf(box));
        return label;
    };
    Row({labVary7_, BoxOf(qv::VaryBox::ebxVaryPayCount),
         after(qv::kVaryAfterCount, qv::VaryBox::ebxVaryPayCount),
         BoxOf(qv::VaryBox::ebxVaryPayment),
         after(qv::kVaryAfterPayment, qv::VaryBox::ebxVaryPayment)});
    Row({Label(Q(qv::kVaryBeforePeriods)), BoxOf(qv::VaryBox::ebxVaryRegPds),
         after(qv::kVaryAfterPeriods, qv::VaryBox::ebxVaryRegPds),
         BoxOf(qv::VaryBox::ebxVaryAddDays), after(qv::kVaryAfterDays, qv::VaryBox::ebxVaryAddDays),
         BoxOf(qv::VaryBox::ebxVaryRate), after(qv::kVaryAfterRate, qv::VaryBox::ebxVaryRate),
         butVaryAdd});
    NameControl(dbgVariable_, QStringLiteral("Payment groups and their rates"));
    NameControl(dbgVarSchedule_, QStringLiteral("Amortization schedule"));
    summaryText_ = std::string(qv::kVarySummaryStart);
    labVary14_ = Label(Q(summaryText_), "labVary14");
    labVary14_->setToolTip(Q(qv::kVarySummaryHint));
    Row({Label(Q(qv::kVaryFourth)), labVary14_});
    Column()->addWidget(dbgVariable_, 1);
    Row({butVaryReset, butVarSave, butVaryLoad});
    Line(Text(Q(qv::kVaryFifth)));
    Column()->addWidget(dbgVarSchedule_, 1);
    Row({butMake, butVarPrint});
    Row({butVaryTransform, Label(QStringLiteral("<-- ") + Q(qv::kVaryMoveText))});

    connect(butVaryAdd, &QPushButton::clicked, this, &VaryPage::butVaryAddClick);
    connect(butVaryReset, &QPushButton::clicked, this, &VaryPage::butVaryResetClick);
    connect(butVarSave, &QPushButton::clicked, this, &VaryPage::butVarSaveClick);
    connect(butVaryLoad, &QPushButton::clicked, this, &VaryPage::butVaryLoadClick);
    connect(butMake, &QPushButton::clicked, this, &VaryPage::butMakeClick);
    connect(butVarPrint, &QPushButton::clicked, this, &VaryPage::butVarPrintClick);
    connect(butVaryTransform, &QPushButton::clicked, this, &VaryPage::butVaryTransformClick);
    connect(butVaryEG, &QPushButton::clicked, this, &VaryPage::butVaryEGClick);

    for (const qv::VaryBoxInfo& info : qv::kVaryBoxes)
        Focus().OnExit(BoxOf(info.box), [this, box = info.box] { LeaveBox(box); });
    // A schedule belongs to the list, principal and interval it was made
    // from: an edit of the list's grid or another interval makes it go.
    connect(rgpVary_, &RadioGroup::ItemIndexChanged, this, &VaryPage::DropSchedule);
    connect(dbgVariable_->itemDelegate(), &QAbstractItemDelegate::commitData, this,
            &VaryPage::ListEdited);
}

// --- helpers -----------------------------------------------------------------

QLineEdit* VaryPage::BoxOf(qv::VaryBox box) const {
    for (std::size_t i = 0; i < qv::kVaryBoxes.size(); ++i)
        if (qv::kVaryBoxes[i].box == box) return boxes_[i];
    return boxes_.front();
}

void VaryPage::SetBoxTexts(const std::vector<qv::VaryBoxText>& boxes) {
    for (const qv::VaryBoxText& b : boxes) SetText(BoxOf(b.box), b.text);
}

void VaryPage::LeaveBox(qv::VaryBox box) {
    qv::LoanState& s = session().State();
    const double principal = s.vary.ContractPrincipal;
    QLineEdit* edit = BoxOf(box);
    CarryOutEntry(edit, qv::CheckVaryBox(s.vary, s.group, box, TextOf(edit)), session().Port());
    if (s.vary.ContractPrincipal != principal) DropSchedule();
}

void VaryPage::ShowSummary(const std::string& text, std::int64_t count, double total) {
    summaryText_ = text;
    summaryCount_ = count;
    summaryTotal_ = total;
    showsBalance_ = false;
    labVary14_->setText(Q(text));
}

void VaryPage::ShowRunningSummary() {
    // The running count and total are the irregular page's too: groups added
    // there, a move (which recounts them) or a Reset show here.
    const qv::LoanState& s = session().State();
    if (s.group.GroupPayCount == summaryCount_ && s.group.GroupPayTotal == summaryTotal_) {
        ShowSummary(summaryText_, summaryCount_, summaryTotal_);
        return;
    }
    ShowSummary(qv::VGroupSumText(s.group.GroupPayCount, s.group.GroupPayTotal),
                s.group.GroupPayCount, s.group.GroupPayTotal);
}

void VaryPage::DropSchedule() {
    qv::TMemDataSet& schedule = session().Table(TableId::mdsVarSchedule);
    if (schedule.Count() > 0 || schedule.HasPending()) qv::EmptyTable(schedule);
    if (showsBalance_) ShowRunningSummary();
}

void VaryPage::ListEdited() {
    DropSchedule();
    try {
        const std::string summary =
            qv::TakeVaryListEdit(session().State().group, session().Table(TableId::mdsVariable));
        ShowSummary(summary, session().State().group.GroupPayCount,
                    session().State().group.GroupPayTotal);
    } catch (const qv::EMemDatasetError& error) {
        session().Port().Warn(error.what());
    }
}

void VaryPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    // A final balance stays: it belongs to this page's list, which the other
    // pages do not change.
    if (!showsBalance_) ShowRunningSummary();
}

// --- the list ------------------------------------------------------------------

void VaryPage::tabVaryEnter() {
    if (ListIsEmpty(session().Table(TableId::mdsVariable))) butVaryResetClick();
}

void VaryPage::butVaryAddClick() {
    qv::LoanState& s = session().State();
    const std::string count = TextOf(BoxOf(qv::VaryBox::ebxVaryPayCount));
    const std::string payment = TextOf(BoxOf(qv::VaryBox::ebxVaryPayment));
    const std::string regPds = TextOf(BoxOf(qv::VaryBox::ebxVaryRegPds));
    const std::string addDays = TextOf(BoxOf(qv::VaryBox::ebxVaryAddDays));
    const std::string rate = TextOf(BoxOf(qv::VaryBox::ebxVaryRate));
    const qv::VaryAddResult r =
        qv::AddVaryGroup(s.vary, s.group, session().Table(TableId::mdsVariable),
                         {count, payment, regPds, addDays, rate});
    qv::ShowMessages(session().Port(), r.messages);
    if (!r.added) return;
    ModelOf(dbgVariable_)->SetReadOnly(false);
    labVary7_->setText(Q(r.groupLabel));
    SetBoxTexts(r.boxes);
    ShowSummary(r.summary, s.group.GroupPayCount, s.group.GroupPayTotal);
    DropSchedule();
    // The next group starts at its count.
    FocusForTyping(BoxOf(qv::VaryBox::ebxVaryPayCount));
}

void VaryPage::butVaryResetClick() {
    const qv::VaryClearResult r = qv::ClearVaryList(session().State().vary, session().State().group,
                                                    session().Table(TableId::mdsVariable));
    ShowInterval(*rgpVary_, r.interval);
    labVary7_->setText(Q(r.groupLabel));
    SetBoxTexts(r.boxes);
    ShowSummary(std::string(r.summary), 0, 0.0);
    DropSchedule();
}

void VaryPage::butVarSaveClick() {
    SaveList(std::nullopt);
}

void VaryPage::SaveList(const std::optional<std::filesystem::path>& loading) {
    qv::TMemDataSet& variable = session().Table(TableId::mdsVariable);
    PlatformPort& port = session().Port();
    if (qv::NothingToSave(variable)) {
        port.Inform(qv::kNoListToSave);
        return;
    }
    const std::string proposed = listSaveDialog_.Request().fileName;
    const std::optional<std::string> chosen = listSaveDialog_.Execute(port, qv::kSaveListTitle);
    if (!chosen) return;
    const std::filesystem::path file = std::filesystem::u8path(*chosen);
    if (loading && qv::SameFile(file, *loading)) {
        port.Warn(qv::CannotSaveOverLoadText(file));
        listSaveDialog_.Keep(proposed);
        return;
    }
    qv::SaveVarListAsked(file, variable,
                         {ListInterval(*rgpVary_), session().State().vary.ContractPrincipal}, port);
}

void VaryPage::butVaryLoadClick() {
    qv::TMemDataSet& variable = session().Table(TableId::mdsVariable);
    PlatformPort& port = session().Port();
    const std::optional<std::string> chosen = listOpenDialog_.Execute(port, qv::kLoadListTitle);
    if (!chosen) return;
    const std::filesystem::path file = std::filesystem::u8path(*chosen);
    if (!qv::NothingToSave(variable) && port.Confirm(qv::kSaveBeforeLoad)) SaveList(file);

    qv::LoanState& s = session().State();
    qv::VarListLoad load;
    {
        // The list is read, numbered and its schedule dropped before its grid
        // is refreshed, once: a long list is laid out a single time.
        qv::UpdateBatch batch(variable);
        load = qv::LoadVarData(variable, file);
        qv::TakeVaryListLoad(s.vary, s.group, variable, load);
        if (load.loaded) {
            if (!load.headerMissing) {
                SetText(BoxOf(qv::VaryBox::ebxPrincipal), load.ebxPrincipal);
                ShowInterval(*rgpVary_, load.interval);
            }
            labVary7_->setText(Q(qv::GroupCountText(s.vary.VaryGroupNumber)));
            ShowSummary(load.labVary14, s.group.GroupPayCount, s.group.GroupPayTotal);
            DropSchedule();
        }
    }
    Show(port, load.messages);
}

// --- the schedule --------------------------------------------------------------

void VaryPage::butMakeClick() {
    const qv::VaryAmortization r = qv::AmortizeVaryList(
        session().State().vary.ContractPrincipal, ListInterval(*rgpVary_),
        session().Table(TableId::mdsVariable), session().Table(TableId::mdsVarSchedule));
    if (r.label) {
        labVary14_->setText(Q(*r.label));
        AnnounceResult(labVary14_, labVary14_->text());
        showsBalance_ = true;
    } else {
        // Refused: whatever schedule was there is not this list's.
        DropSchedule();
    }
    ModelOf(dbgVarSchedule_)->SetReadOnly(true);
    qv::ShowMessages(session().Port(), r.messages);
}

void VaryPage::butVarPrintClick() {
    const qv::ChartText before = session().Chart().Lines();
    qv::ChartText chart = before;
    const qv::VaryChart r =
        qv::ChartVaryList(ListInterval(*rgpVary_), session().Table(TableId::mdsVariable),
                          session().Table(TableId::mdsVarSchedule), chart);
    if (chart != before) session().Chart().SetLines(chart);
    if (r.showChartPage) {
        session().Chart().SetCaption(std::string(qv::kVaryChartCaption));
        session().ShowPageAsIs(PageId::tabChart);
    }
    qv::ShowMessages(session().Port(), r.messages);
}

void VaryPage::butVaryTransformClick() {
    qv::LoanState& s = session().State();
    qv::TMemDataSet& paySet = session().Schedule().PaySet();
    PlatformPort& port = session().Port();
    const qv::MoveCheck check = qv::CheckMoveToTab5(session().Table(TableId::mdsVariable), paySet);
    if (check.next == qv::MoveCheck::Next::Refuse) {
        port.Inform(check.message);
        return;
    }
    if (check.next == qv::MoveCheck::Next::AskOverwrite &&
        port.Show(qv::MessageKind::WarningYesNoCancel, check.message) != qv::Answer::Yes) {
        port.Inform(qv::kConversionTerminated);
        return;
    }

    const qv::TransformResult moved = qv::Transform(
        s.loan, s.vary, session().Table(TableId::mdsVariable), paySet, ListInterval(*rgpVary_));
    if (!moved.moved) {
        qv::ShowMessages(port, moved.messages);
        return;
    }
    PaySchedule& schedule = session().Schedule();
    schedule.ChooseInterval(moved.interval);
    schedule.TakeAmountFinanced(Q(moved.edAmtFin));
    qv::ShowMessages(port, moved.messages);
    if (moved.writeSchedule) qv::SaveMovedSchedule(paySet, moved.interval, s.loan.AmtFin, port);

    schedule.Test();
    schedule.SetEditable(true);
    const std::optional<qv::AprOutcome> outcome = schedule.Estimate();
    const qv::MoveFinish finish =
        qv::FinishMoveToTab5(outcome == qv::AprOutcome::Computed, s.loan.APR);
    if (finish.showEstimatePage) session().ShowPage(PageId::tabEstimate);
    port.Inform(finish.message);
}

void VaryPage::butVaryEGClick() {
    session().ShowPage(PageId::TabUsingVary);
}
