#include "app/pages/irregular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <cmath>
#include <limits>
#include <string>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/grid_focus.h"
#include "app/hints.h"
#include "app/interval_group.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "app/session.h"
#include "base/format.h"
#include "base/number_entry.h"
#include "chart/chart_file.h"
#include "core/pay_group.h"
#include "core/pay_schedule.h"
#include "schedule/apr_estimate.h"
#include "schedule/group_schedule.h"

namespace {

using qv::IrregularBox;
using qv::IrregularButton;

// The engine's control names are string literals, so their text ends in a
// null character as the page's builders expect.
const char* NameOf(IrregularBox box) {
    return qv::IrregularBoxInfo(box).name.data();
}

}  // namespace

IrregularPage::IrregularPage(Session& app) : Page(app, kId) {
    Line(Text(Q(qv::kIrregularIntroLine), "labEstimate1"));

    rgpBasePd_ = Radio("rgpBasePd", Q(qv::kIrregularIntervalCaption),
                       IntervalCaptions(&qv::IntervalInfo::irregularCaption),
                       qv::kIrregularIntervalColumns, Q(qv::kIrregularIntervalHint));
    Line(rgpBasePd_);

    QLineEdit* amtFin = MakeBox(IrregularBox::edAmtFin, 12);
    QLabel* amtFinLabel = MakeLabel(IrregularBox::edAmtFin);
    amtFinLabel->setToolTip(Q(qv::kIrregularAmtFinLabelHint));
    QLineEdit* totPay = MakeBox(IrregularBox::edTotPay, 12);
    QLabel* totPayLabel = MakeLabel(IrregularBox::edTotPay);
    totPayLabel->setToolTip(Q(qv::kIrregularTotPayLabelHint));
    QLineEdit* payCount = MakeBox(IrregularBox::edPayCount, 4);
    Row({amtFin, amtFinLabel, totPay, totPayLabel, payCount, MakeLabel(IrregularBox::edPayCount)});

    Line(Label(Q(qv::kIrregularSecondLine1), "labAPR3"));
    Line(Label(Q(qv::kIrregularSecondLine2), "labAPR4"));

    labGroupCount_ = Label(QString(), "labGroupCount");
    QLineEdit* sizeGroup = MakeBox(IrregularBox::edSizeGroup, 4);
    QLineEdit* groupPay = MakeBox(IrregularBox::edGroupPay, 10);
    Row({labGroupCount_, sizeGroup, MakeLabel(IrregularBox::edSizeGroup), groupPay,
         MakeLabel(IrregularBox::edGroupPay)});
    QLineEdit* groupPds = MakeBox(IrregularBox::edGroupPds, 4);
    QLineEdit* groupExtra = MakeBox(IrregularBox::edGroupExtra, 4);
    QPushButton* butDone = MakeButton(IrregularButton::butDone);
    QLabel* pdsLabel = MakeLabel(IrregularBox::edGroupPds);
    QLabel* extraLabel = MakeLabel(IrregularBox::edGroupExtra);
    Row({Label(Q(qv::kIrregularGroupIntervalLabel)), groupPds, pdsLabel, groupExtra, extraLabel,
         butDone});
    for (const qv::IrregularBoxText& info : qv::kIrregularBoxes) {
        if (!info.accessibleName.empty()) NameControl(BoxOf(info.box), Q(info.accessibleName));
    }

    labEstimate16_ = Label(Q(qv::kIrregularSummaryStart), "labEstimate16");
    labEstimate15_ = Label(QString(), "labEstimate15");
    for (QLabel* label : {labEstimate16_, labEstimate15_}) {
        label->setToolTip(Q(qv::kIrregularSummaryHint));
        SetTextTone(label, TextTone::Warning);
    }
    Row({labEstimate16_, labEstimate15_});
    labEstimate17_ = Label(QString(), "labEstimate17");
    QFont noteFont = labEstimate17_->font();
    noteFont.setBold(true);
    noteFont.setItalic(true);
    labEstimate17_->setFont(noteFont);
    Line(labEstimate17_);

    dbgPaySet_ = Grid("dbgPaySet", session().Schedule().PaySet(), ColumnsOf(qv::kPayGroupColumns),
                      true, Q(qv::kPayGroupGridHint));
    NameControl(dbgPaySet_, Q(qv::kPayGroupGridName));
    Column()->addWidget(dbgPaySet_, 1);

    QPushButton* butPayReset = MakeButton(IrregularButton::butPayReset);
    butEstAPR_ = MakeButton(IrregularButton::butEstAPR);
    edAPR_ = ResultBox("edAPR", Q(qv::kIrregularAprStart));
    apr_ = AprBox(edAPR_);
    QLabel* aprLabel = Label(Q(qv::kIrregularAprLabel));
    Row({butPayReset, Label(Q(qv::kIrregularThirdLine)), butEstAPR_, edAPR_, aprLabel});
    TieLabel(aprLabel, edAPR_);
    NameControl(edAPR_, Q(qv::kIrregularAprName));

    QPushButton* butPrintIrreg = MakeButton(IrregularButton::butPrintIrreg);
    QPushButton* butTolerances = MakeButton(IrregularButton::butTolerances);
    QPushButton* butByDates = MakeButton(IrregularButton::butByDates);
    Row({Label(Q(qv::kIrregularFourthLine)), butPrintIrreg, butTolerances, butByDates});

    QLabel* labApr8 = Text(Q(qv::kIrregularVariableNote), "labApr8");
    SetTextTone(labApr8, TextTone::Warning);
    Line(labApr8);

    connect(butPrintIrreg, &QPushButton::clicked, this, &IrregularPage::butPrintIrregClick);
    connect(butTolerances, &QPushButton::clicked, this, &IrregularPage::butTolerancesClick);
    connect(butByDates, &QPushButton::clicked, this,
            [this] { session().ShowPage(PageId::tabDated); });
    connect(butPayReset, &QPushButton::clicked, this, &IrregularPage::butPayResetClick);
    connect(butDone, &QPushButton::clicked, this, &IrregularPage::butDoneClick);
    connect(butEstAPR_, &QPushButton::clicked, this, [this] { butEstAPRClick(); });

    // An APR on screen belongs to the amounts and groups on screen.
    for (IrregularBox box :
         {IrregularBox::edAmtFin, IrregularBox::edTotPay, IrregularBox::edPayCount}) {
        connect(BoxOf(box), &QLineEdit::textEdited, this, &IrregularPage::AprPending);
    }
    connect(rgpBasePd_, &RadioGroup::ItemIndexChanged, this, &IrregularPage::AprPending);

    // Every box has one exit: the engine decides what leaving it does.
    for (const qv::IrregularBoxText& info : qv::kIrregularBoxes) {
        Focus().OnExit(BoxOf(info.box), [this, box = info.box] { Leave(box); });
    }
    OnGridExit(dbgPaySet_, [this] { dbgPaySetExit(); });

    // The interval chosen here is the schedule's common interval.
    PaySchedule& schedule = session().Schedule();
    connect(rgpBasePd_, &RadioGroup::ItemIndexChanged, &schedule,
            [&schedule](int item) { schedule.SetInterval(qv::IntervalOfItem(item)); });
    connect(&schedule, &PaySchedule::IntervalChanged, this,
            [this](std::optional<qv::Interval> interval) {
                if (interval) ShowBaseInterval(*interval);
            });
    connect(&schedule, &PaySchedule::EditableChanged, this,
            [this](bool editable) { ModelOf(dbgPaySet_)->SetReadOnly(!editable); });
    connect(&schedule, &PaySchedule::GroupsLeft, this, &IrregularPage::dbgPaySetExit);
    connect(&schedule, &PaySchedule::GroupDeleted, this, &IrregularPage::UpdateSummary);
    connect(&schedule, &PaySchedule::TotalsTaken, this, &IrregularPage::ShowTotals);
    connect(&schedule, &PaySchedule::AmountFinancedTaken, this, &IrregularPage::ShowAmountFinanced);
    connect(&schedule, &PaySchedule::Loaded, this, &IrregularPage::ShowLoadedSchedule);
    connect(&schedule, &PaySchedule::AprTaken, this, &IrregularPage::ShowAprTaken);
    connect(&schedule, &PaySchedule::Estimated, this, &IrregularPage::ShowEstimate);
    // A loaded irregular schedule is worked on here, from its total.
    connect(&schedule, &PaySchedule::LoadedRedirected, this,
            [this] { session().ShowPage(kId, BoxOf(IrregularBox::edTotPay)); });
    schedule.RegisterAprPage(qv::kSourceIrregular, {[this] { butEstAPRClick(); },
                                                    [this] { return apr_.ShowsInputError(); }});
    connect(&session().Settings(), &AppSettings::Changed, this, &IrregularPage::SwitchPageHints);
}

void IrregularPage::ResetControls() {
    DropGridFocus(dbgPaySet_);
    for (const qv::IrregularBoxText& info : qv::kIrregularBoxes) {
        BoxOf(info.box)->setText(Q(info.resetText));
    }
    apr_.SetPending();
    labEstimate15_->setText(Q(qv::kIrregularResetSummary));
    shownCount_ = 0;
    shownTotal_ = 0.0;
    labGroupCount_->setText(Q(qv::kIrregularResetGroupCount));
    ShowInterval(*rgpBasePd_, qv::kStartInterval);
    labEstimate17_->clear();
}

// --- builders --------------------------------------------------------------------

QLineEdit* IrregularPage::MakeBox(IrregularBox box, int widthInDigits) {
    const qv::IrregularBoxText& info = qv::IrregularBoxInfo(box);
    QLineEdit* made = Box(NameOf(box), Q(info.startText), Q(info.hint), widthInDigits);
    boxes_[std::size_t(box)] = made;
    return made;
}

QLabel* IrregularPage::MakeLabel(IrregularBox box) {
    QLabel* label = Label(Q(qv::IrregularBoxInfo(box).label));
    TieLabel(label, BoxOf(box));
    return label;
}

QPushButton* IrregularPage::MakeButton(IrregularButton button) {
    const qv::ButtonText& info = qv::IrregularButtonInfo(button);
    return Button(info.name.data(), Q(info.caption), Q(info.hint));
}

// --- the engine's decisions ------------------------------------------------------

QLineEdit* IrregularPage::BoxOf(IrregularBox box) const {
    return boxes_[std::size_t(box)];
}

void IrregularPage::SetBoxText(IrregularBox box, const std::string& text) {
    SetText(BoxOf(box), text);
}

void IrregularPage::FocusBox(IrregularBox box) {
    FocusForTyping(BoxOf(box));
}

void IrregularPage::Leave(IrregularBox box) {
    qv::IrregularTexts texts;
    for (const qv::IrregularBoxText& info : qv::kIrregularBoxes) {
        texts[info.box] = TextOf(BoxOf(info.box));
    }
    const qv::IrregularExit exit =
        qv::LeaveIrregularBox(session().State().loan, session().State().group, box, texts);
    qv::CarryOutExit<IrregularBox>(exit, box, session().Port(), *this);
}

void IrregularPage::ClearGroupBoxes() {
    for (IrregularBox box : {IrregularBox::edGroupPay, IrregularBox::edSizeGroup,
                             IrregularBox::edGroupExtra, IrregularBox::edGroupPds}) {
        BoxOf(box)->setText(Q(qv::IrregularBoxInfo(box).startText));
    }
}

void IrregularPage::tabEstimateEnter() {
    try {
        session().Schedule().PaySet().MoveFirst();
    } catch (const qv::EMemDatasetError& error) {
        session().Port().Warn(error.what());
    }
    labEstimate17_->setText(GridEditable() ? Q(qv::kIrregularEditNote) : QString());
}

bool IrregularPage::GridEditable() const {
    return session().Schedule().Editable();
}

void IrregularPage::butDoneClick() {
    qv::LoanState& s = session().State();
    const qv::AddGroupDecision decision = qv::DecideAddGroup(
        TextOf(BoxOf(IrregularBox::edSizeGroup)), TextOf(BoxOf(IrregularBox::edGroupPay)),
        TextOf(BoxOf(IrregularBox::edGroupPds)), TextOf(BoxOf(IrregularBox::edGroupExtra)),
        s.group.GroupPayCount);
    for (const std::string& message : decision.messages) session().Port().Inform(message);
    if (!decision.accepted) return;

    // The group is left pending; the next movement in the table stores it.
    qv::TMemDataSet& paySet = session().Schedule().PaySet();
    qv::PayGroup group = decision.group;
    group.Sequence = s.group.GroupNumber;
    try {
        qv::AppendPayGroup(paySet, group);
    } catch (const qv::EMemDatasetError& error) {
        // A pending row of the grid could not be stored first: nothing added.
        session().Port().Warn(error.what());
        return;
    }

    qv::TakeNewGroup(s.group, group);
    session().Schedule().SetEditable(true);
    labGroupCount_->setText(Q(qv::GroupCountText(s.group.GroupNumber)));
    ClearGroupBoxes();
    UpdateGroupSum(s.group.GroupPayCount, s.group.GroupPayTotal);
    AprPending();
}

bool IrregularPage::UpdateSummary() {
    const std::optional<qv::GroupSummary> summary =
        qv::RecountGroups(session().State().group, session().Schedule().PaySet(), session().Port());
    if (summary) UpdateGroupSum(summary->count, summary->total);
    return summary.has_value();
}

void IrregularPage::UpdateGroupSum(std::int64_t count, double total) {
    shownCount_ = count;
    shownTotal_ = total;
    labEstimate15_->setText(Q(qv::GroupSumText(count, total)));
}

void IrregularPage::AprPending() {
    apr_.SetPending();
}

namespace {

// Whether a box's text reads as the amount, to the cent.
bool ShowsAmount(const QLineEdit* box, double amount) {
    bool ok = false;
    const double shown = QString(box->text()).remove(QLatin1Char(',')).toDouble(&ok);
    return ok && std::abs(shown - amount) < 0.005;
}

}  // namespace

void IrregularPage::ShowLoanAmounts() {
    const qv::LoanState& s = session().State();
    for (const auto& [box, amount] :
         {std::pair{BoxOf(IrregularBox::edAmtFin), s.loan.AmtFin},
          {BoxOf(IrregularBox::edTotPay), qv::CurrencyToDollars(s.loan.TotPay)}}) {
        if (!ShowsAmount(box, amount))
            box->setText(Q(qv::FloatToStrF(amount, qv::FloatStyle::Fixed, 18, 2)));
    }
    bool ok = false;
    if (BoxOf(IrregularBox::edPayCount)->text().toLongLong(&ok) != s.loan.PayCount || !ok)
        BoxOf(IrregularBox::edPayCount)->setText(QString::number(s.loan.PayCount));
}

void IrregularPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    ShowLoanAmounts();
    // The groups may have been rebuilt while the page was hidden (the regular
    // page's "Compute APR" writes its own): the summary shows what the grid
    // holds, and an APR of other groups is no longer the grid's. A group
    // added here and still pending has been counted already.
    qv::TMemDataSet& paySet = session().Schedule().PaySet();
    if (paySet.HasPending()) return;
    const qv::GroupWalk walk = qv::WalkGroups(paySet);
    const double total = walk.totalInRange ? qv::CurrencyToDollars(walk.total) : walk.dollars;
    if (walk.count == shownCount_ && total == shownTotal_) return;
    UpdateSummary();
    AprPending();
}

void IrregularPage::butEstAPRClick() {
    session().Schedule().Estimate();
}

void IrregularPage::ShowEstimate(const qv::AprEstimate& estimate) {
    if (estimate.summarized) UpdateGroupSum(estimate.count, estimate.total);
    if (estimate.Computed()) {
        apr_.SetRate(Q(qv::AprBoxText(estimate, session().State().loan.APR)));
    } else if (estimate.InputError()) {
        apr_.SetInputError();
    } else {
        AprPending();
    }
}

void IrregularPage::ShowAprTaken(qv::AprOutcome outcome) {
    // An "InputError" left by an earlier run belongs to a schedule that is
    // no longer the current one; left standing, the chart page would take
    // this schedule for a faulty one.
    if (outcome != qv::AprOutcome::Computed) {
        apr_.SetInputError();
    } else if (apr_.ShowsInputError()) {
        apr_.SetPending();
    }
}

void IrregularPage::dbgPaySetExit() {
    UpdateSummary();
    apr_.SetPending();
}

void IrregularPage::butTolerancesClick() {
    session().State().loan.ScheduleSource = qv::kSourceIrregular;
    session().ShowPage(PageId::tabIntro);
}

void IrregularPage::butPayResetClick() {
    session().ResetAndShowIntro();
}

void IrregularPage::butPrintIrregClick() {
    session().State().loan.ScheduleSource = qv::kSourceIrregular;
    // Entering the chart page recomputes this page's APR and refills its grid.
    session().ShowPage(PageId::tabChart);
    // A schedule the engine refused has no chart to print; the user has been
    // told why and sent back to correct it.
    if (apr_.ShowsInputError()) return;
    if (!session().Schedule().ChartAmortization()) return;
    PlatformPort& port = session().Port();
    if (port.Confirm(qv::kReviewChartQuestion)) {
        port.Inform(qv::kChartedWithoutHardcopyText);
    } else {
        session().Chart().Print();
    }
}

void IrregularPage::ShowBaseInterval(qv::Interval interval) {
    ShowInterval(*rgpBasePd_, interval);
}

void IrregularPage::ShowTotals(const QString& totPay, const QString& payCount) {
    BoxOf(IrregularBox::edTotPay)->setText(totPay);
    BoxOf(IrregularBox::edPayCount)->setText(payCount);
}

void IrregularPage::ShowAmountFinanced(const QString& amtFin) {
    BoxOf(IrregularBox::edAmtFin)->setText(amtFin);
}

void IrregularPage::SwitchPageHints(Setting setting, bool on) {
    if (setting != Setting::IrregularHints) return;
    SwitchHints(
        {butEstAPR_, dbgPaySet_, BoxOf(IrregularBox::edGroupPds), BoxOf(IrregularBox::edGroupExtra),
         BoxOf(IrregularBox::edAmtFin), BoxOf(IrregularBox::edTotPay),
         BoxOf(IrregularBox::edPayCount), rgpBasePd_, labEstimate15_, labEstimate16_},
        on);
}

void IrregularPage::ShowLoadedSchedule(const qv::ScheduleLoad& load) {
    if (!load.loaded || load.headerMissing) return;
    AprPending();
    SetText(BoxOf(IrregularBox::edAmtFin), load.edAmtFin);
    SetText(BoxOf(IrregularBox::edTotPay), load.edTotPay);
    SetText(BoxOf(IrregularBox::edPayCount), load.edPayCount);
}
