#include "app/pages/regular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/hints.h"
#include "app/interval_group.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "app/session.h"
#include "base/format.h"
#include "base/number_entry.h"
#include "core/apr_engine.h"
#include "schedule/group_schedule.h"
#include "schedule/regular_entry.h"

namespace {

using qv::RegularBox;
using qv::RegularButton;

// The engine's control names are string literals, so their text ends in a
// null character as the page's builders expect.
const char* NameOf(RegularBox box) {
    return qv::RegularBoxInfo(box).name.data();
}

}  // namespace

RegularPage::RegularPage(Session& app) : Page(app, kId) {
    Line(Text(Q(qv::kRegularIntroLine)));

    Line(Label(Q(qv::kRegularFirstLine)));
    QLineEdit* amtFin = MakeBox(RegularBox::edSimpAmtFin, 12);
    QLabel* amtFinLabel = Label(Q(qv::RegularBoxInfo(RegularBox::edSimpAmtFin).label));
    amtFinLabel->setToolTip(Q(qv::kRegularAmtFinLabelHint));
    QLineEdit* count = MakeBox(RegularBox::edSimpInnerNoPay, 4);
    QLineEdit* regPay = MakeBox(RegularBox::edSimpRegPay, 10);
    QLabel* countLabel = Label(Q(qv::RegularBoxInfo(RegularBox::edSimpInnerNoPay).label));
    QLabel* regPayLabel = Label(Q(qv::RegularBoxInfo(RegularBox::edSimpRegPay).label));
    Row({amtFin, amtFinLabel, count, countLabel, regPay, regPayLabel});
    TieLabel(amtFinLabel, amtFin);
    TieLabel(countLabel, count);
    TieLabel(regPayLabel, regPay);
    Line(Text(Q(qv::kRegularVaryingLine)));

    rgpSimpInterval_ = Radio("rgpSimpInterval", Q(qv::kRegularIntervalCaption),
                             IntervalCaptions(&qv::IntervalInfo::regularCaption),
                             qv::kRegularIntervalColumns, Q(qv::kRegularIntervalHint));
    Line(rgpSimpInterval_);

    Line(Label(Q(qv::kRegularThirdLine)));
    MakePaymentLine(RegularBox::edSimp1stPay, RegularBox::edSimp1stNoPd,
                    RegularBox::edSimp1stExtra);
    Line(Label(Q(qv::kRegularFourthLine)));
    MakePaymentLine(RegularBox::edSimpLastPay, RegularBox::edSimpLastNoPd,
                    RegularBox::edSimpLastExtra);
    for (const qv::RegularBoxText& info : qv::kRegularBoxes) {
        if (!info.accessibleName.empty()) NameControl(BoxOf(info.box), Q(info.accessibleName));
    }

    labSimpToP_ = Text(Q(qv::kRegularStartSummary), "labSimpToP");
    labSimpToP_->setToolTip(Q(qv::kRegularSummaryHint));
    SetTextTone(labSimpToP_, TextTone::Summary, true);
    Line(labSimpToP_);

    Line(Label(Q(qv::kRegularFifthLine)));
    // Created in the page's tab order: the result box before its button.
    edSimpAPR_ = ResultBox("edSimpAPR", Q(qv::kRegularAprStart));
    apr_ = AprBox(edSimpAPR_);
    butSimpleAPR_ = MakeButton(RegularButton::butSimpleAPR);
    QLabel* aprLabel = Label(Q(qv::kRegularAprLabel));
    Row({butSimpleAPR_, edSimpAPR_, aprLabel});
    // The box comes before its button in the tab order; named, it still
    // tells a screen-reader user what it holds.
    TieLabel(aprLabel, edSimpAPR_);
    NameControl(edSimpAPR_, Q(qv::kRegularAprName));

    QPushButton* butChartSimple = MakeButton(RegularButton::butChartSimple);
    Row({Label(Q(qv::kRegularSixthLine)), butChartSimple, Label(Q(qv::kRegularChartTail))});

    butResetSimple_ = MakeButton(RegularButton::butResetSimple);
    edStatusBar_ = new QLineEdit(this);
    edStatusBar_->setObjectName(QStringLiteral("edStatusBar"));
    edStatusBar_->setReadOnly(true);
    edStatusBar_->setToolTip(Q(qv::kRegularStatusHint));
    SetTextTone(edStatusBar_, TextTone::Warning, true);
    // Between Reset All and About APR Tolerances in the tab order, as the
    // line was always reached; its name says what it is.
    NameControl(edStatusBar_, Q(qv::kRegularStatusName));
    Status(Q(qv::kRegularStartStatus));
    QPushButton* butGoTolerances2 = MakeButton(RegularButton::butGoTolerances2);
    QPushButton* butMax = MakeButton(RegularButton::butMax);
    Row({butResetSimple_, butGoTolerances2, butMax});
    Line(edStatusBar_);

    // An APR on screen belongs to the schedule on screen: any change to the
    // schedule makes it pending until the next "Compute APR".
    for (QLineEdit* input : boxes_) {
        connect(input, &QLineEdit::textEdited, this, &RegularPage::AprPending);
    }
    connect(rgpSimpInterval_, &RadioGroup::ItemIndexChanged, this, &RegularPage::AprPending);

    // The schedule as the boxes read is published for the pages that work
    // from it, and this page shows what they send back.
    RegularInputs& regular = session().Regular();
    for (QLineEdit* input : boxes_) {
        connect(input, &QLineEdit::textChanged, this,
                [this] { session().Regular().SetTexts(BoxTexts()); });
    }
    connect(rgpSimpInterval_, &RadioGroup::ItemIndexChanged, &regular,
            [&regular](int item) { regular.SetInterval(qv::IntervalOfItem(item)); });
    connect(&regular, &RegularInputs::SummaryShown, labSimpToP_, &QLabel::setText);
    regular.SetTexts(BoxTexts());
    regular.SetInterval(ChosenInterval(*rgpSimpInterval_));

    PaySchedule& schedule = session().Schedule();
    connect(&schedule, &PaySchedule::IntervalChosen, this,
            [this](qv::Interval interval) { ::ShowInterval(*rgpSimpInterval_, interval); });
    connect(&schedule, &PaySchedule::Loaded, this, &RegularPage::ShowLoadedSchedule);
    connect(&schedule, &PaySchedule::AprTaken, this, &RegularPage::ShowAprTaken);
    schedule.RegisterAprPage(qv::kSourceRegular, {[this] { butSimpleAPRClick(); },
                                                  [this] { return apr_.ShowsInputError(); }});
    connect(&session().Settings(), &AppSettings::Changed, this, &RegularPage::SwitchPageHints);

    connect(butSimpleAPR_, &QPushButton::clicked, this, &RegularPage::butSimpleAPRClick);
    connect(butChartSimple, &QPushButton::clicked, this, &RegularPage::butChartSimpleClick);
    connect(butResetSimple_, &QPushButton::clicked, this, &RegularPage::butResetSimpleClick);
    connect(butGoTolerances2, &QPushButton::clicked, this, &RegularPage::butGoTolerances2Click);
    connect(butMax, &QPushButton::clicked, this, &RegularPage::butMaxClick);

    // Every box has one exit: the engine decides what leaving it does. A
    // handler that moves the focus makes Qt take it from the control the
    // user was heading for, which that control never received; no second
    // exit handler runs for that.
    for (const qv::RegularBoxText& info : qv::kRegularBoxes) {
        Focus().OnExit(BoxOf(info.box), [this, box = info.box] { Leave(box); });
    }
    Focus().OnExit(rgpSimpInterval_, [this] { rgpSimpIntervalExit(); });

    // Entering a control puts its hint into the status line.
    for (const qv::RegularBoxText& info : qv::kRegularBoxes) {
        if (info.box == RegularBox::edSimpLastPay) continue;
        Focus().OnEnter(BoxOf(info.box), [this, text = Q(info.status)] { Status(text); });
    }
    Focus().OnEnter(rgpSimpInterval_,
                    [this, text = Q(qv::kRegularIntervalStatus)] { Status(text); });
    // The summary is brought up to date as the user comes to the last payment,
    // which is meant to make the schedule add up.
    Focus().OnEnter(BoxOf(RegularBox::edSimpLastPay), [this] {
        Status(Q(qv::RegularBoxInfo(RegularBox::edSimpLastPay).status));
        UpdateSimpleSummary();
    });
}

void RegularPage::ResetControls() {
    for (const qv::RegularBoxText& info : qv::kRegularBoxes) {
        BoxOf(info.box)->setText(Q(info.resetText));
    }
    apr_.SetPending();
    ::ShowInterval(*rgpSimpInterval_, qv::kStartInterval);
    labSimpToP_->setText(Q(qv::kRegularResetSummary));
    Status(Q(qv::kRegularStartStatus));
}

// --- builders --------------------------------------------------------------------

QLineEdit* RegularPage::MakeBox(RegularBox box, int widthInDigits) {
    const qv::RegularBoxText& info = qv::RegularBoxInfo(box);
    QLineEdit* made = Box(NameOf(box), Q(info.startText), Q(info.hint), widthInDigits);
    boxes_[std::size_t(box)] = made;
    return made;
}

Page::BoxInfo RegularPage::InfoOf(RegularBox box) const {
    const qv::RegularBoxText& info = qv::RegularBoxInfo(box);
    return {NameOf(box), Q(info.startText), Q(info.hint), Q(info.label)};
}

void RegularPage::MakePaymentLine(RegularBox pay, RegularBox periods, RegularBox days) {
    const PaymentBoxes made = PaymentRow(InfoOf(pay), InfoOf(periods), InfoOf(days));
    boxes_[std::size_t(pay)] = made.pay;
    boxes_[std::size_t(periods)] = made.periods;
    boxes_[std::size_t(days)] = made.days;
}

QPushButton* RegularPage::MakeButton(RegularButton button) {
    const qv::ButtonText& info = qv::RegularButtonInfo(button);
    return Button(info.name.data(), Q(info.caption), Q(info.hint));
}

// --- helpers -----------------------------------------------------------------

void RegularPage::AprPending() {
    apr_.SetPending();
}

void RegularPage::Status(const QString& text) {
    edStatusBar_->setText(text);
    // A hint longer than the line shows its beginning, not its end.
    edStatusBar_->setCursorPosition(0);
}

qv::RegularTexts RegularPage::BoxTexts() const {
    qv::RegularTexts t;
    t.AmtFin = TextOf(BoxOf(RegularBox::edSimpAmtFin));
    t.PayCount = TextOf(BoxOf(RegularBox::edSimpInnerNoPay));
    t.RegPay = TextOf(BoxOf(RegularBox::edSimpRegPay));
    t.FirstPay = TextOf(BoxOf(RegularBox::edSimp1stPay));
    t.FirstPds = TextOf(BoxOf(RegularBox::edSimp1stNoPd));
    t.FirstExtra = TextOf(BoxOf(RegularBox::edSimp1stExtra));
    t.LastPay = TextOf(BoxOf(RegularBox::edSimpLastPay));
    t.LastPds = TextOf(BoxOf(RegularBox::edSimpLastNoPd));
    t.LastExtra = TextOf(BoxOf(RegularBox::edSimpLastExtra));
    return t;
}

QLineEdit* RegularPage::BoxOf(RegularBox box) const {
    return boxes_[std::size_t(box)];
}

void RegularPage::SetBoxText(qv::RegularBox box, const std::string& text) {
    SetText(BoxOf(box), text);
}

void RegularPage::FocusBox(qv::RegularBox box) {
    FocusForTyping(BoxOf(box));
}

void RegularPage::TakeSimpleInterval() {
    const std::optional<qv::Interval> interval = ChosenInterval(*rgpSimpInterval_);
    // The interval this page computes on is the schedule's common one.
    session().Schedule().SetInterval(interval);
    qv::SetBasePeriod(session().State().loan, interval);
}

// --- summary and groups --------------------------------------------------------

void RegularPage::UpdateSimpleSummary() {
    const qv::SimpleSummary summary =
        qv::UpdateSimpleSummary(session().State().loan, qv::ReadRegularBoxes(BoxTexts()));
    labSimpToP_->setText(Q(summary.text));
}

void RegularPage::SimplePaySet() {
    qv::SimplePaySet(session().State().loan, session().Schedule().PaySet(),
                     qv::ReadRegularBoxes(BoxTexts()), session().Port());
}

// --- exit handlers ---------------------------------------------------------------

void RegularPage::Leave(qv::RegularBox box) {
    const qv::RegularExit exit =
        qv::LeaveRegularBox(session().State().loan, session().State().regular, box, BoxTexts(),
                            ChosenInterval(*rgpSimpInterval_));
    qv::CarryOutExit<qv::RegularBox>(exit, box, session().Port(), *this);
    if (exit.refreshSummary) UpdateSimpleSummary();
}

void RegularPage::rgpSimpIntervalExit() {
    TakeSimpleInterval();
}

// --- commands ------------------------------------------------------------------

void RegularPage::butSimpleAPRClick() {
    qv::LoanState& s = session().State();
    PaySchedule& schedule = session().Schedule();
    const std::optional<qv::Interval> interval = ChosenInterval(*rgpSimpInterval_);
    schedule.SetInterval(interval);
    const qv::RegularAprPlan plan = qv::PrepareRegularAPR(s.loan, s.regular, schedule.PaySet(),
                                                          BoxTexts(), interval, session().Port());
    if (plan.onePayment) {
        const qv::OnePaymentHandOver& one = *plan.onePayment;
        session().Regular().HandOverOnePayment(one.days, one.amtFin, one.repayment);
        session().ShowPage(PageId::tabOnePay);
    }
    if (plan.runEngine) {
        if (schedule.RunGetAPR() == qv::AprOutcome::Computed) {
            apr_.SetRate(Q(qv::FloatToStrF(s.loan.APR, qv::FloatStyle::Number, 8, 3)) +
                         QLatin1Char('%'));
        }
    } else {
        session().Port().Warn(qv::kNoDurationText);
        apr_.SetInputError();
        schedule.ReportNotCurrent();
    }
    s.loan.ScheduleSource = qv::kSourceRegular;
}

void RegularPage::butResetSimpleClick() {
    session().ResetAndShowIntro();
}

void RegularPage::butGoTolerances2Click() {
    session().State().loan.ScheduleSource = qv::kSourceRegular;
    session().ShowPage(PageId::tabIntro);
}

void RegularPage::butMaxClick() {
    session().ShowPage(PageId::tabMax);
}

void RegularPage::butChartSimpleClick() {
    // The chart printed belongs to the schedule on screen: one changed since
    // its APR was computed, or charted elsewhere since, is computed again.
    const bool current =
        apr_.ShowsRate() && session().State().loan.ScheduleSource == qv::kSourceRegular;
    if (!current) {
        butSimpleAPRClick();
        if (!apr_.ShowsRate()) return;
    }
    if (session().Schedule().ChartAmortization()) session().Chart().Print();
}

void RegularPage::ShowAprTaken(qv::AprOutcome outcome) {
    // An "InputError" left by an earlier run belongs to a schedule that is
    // no longer the current one.
    if (outcome != qv::AprOutcome::Computed) {
        apr_.SetInputError();
    } else if (apr_.ShowsInputError()) {
        apr_.SetPending();
    }
}

void RegularPage::SwitchPageHints(Setting setting, bool on) {
    if (setting != Setting::RegularHints) return;
    // The last payment's box keeps its hint either way.
    SwitchHints({butSimpleAPR_, BoxOf(RegularBox::edSimp1stPay), BoxOf(RegularBox::edSimp1stNoPd),
                 BoxOf(RegularBox::edSimp1stExtra), BoxOf(RegularBox::edSimpLastNoPd),
                 BoxOf(RegularBox::edSimpLastExtra), BoxOf(RegularBox::edSimpInnerNoPay),
                 BoxOf(RegularBox::edSimpRegPay), BoxOf(RegularBox::edSimpAmtFin), rgpSimpInterval_,
                 edStatusBar_, butResetSimple_, labSimpToP_},
                on);
}

void RegularPage::ShowLoadedSchedule(const qv::ScheduleLoad& load) {
    if (!load.loaded || load.headerMissing) return;
    AprPending();
    SetText(BoxOf(RegularBox::edSimpAmtFin), load.edSimpAmtFin);
    SetText(BoxOf(RegularBox::edSimpInnerNoPay), load.edSimpInnerNoPay);
    SetText(BoxOf(RegularBox::edSimpRegPay), load.edSimpRegPay);
    if (load.first) {
        SetText(BoxOf(RegularBox::edSimp1stPay), load.first->pay);
        SetText(BoxOf(RegularBox::edSimp1stNoPd), load.first->pds);
        SetText(BoxOf(RegularBox::edSimp1stExtra), load.first->extra);
    }
    if (load.last) {
        SetText(BoxOf(RegularBox::edSimpLastPay), load.last->pay);
        SetText(BoxOf(RegularBox::edSimpLastNoPd), load.last->pds);
        SetText(BoxOf(RegularBox::edSimpLastExtra), load.last->extra);
    }
    // The summary line describes the boxes above it. It is only worded
    // here: the loan's count and total are the loaded groups', which an
    // irregular schedule's boxes do not add up to.
    labSimpToP_->setText(Q(qv::SummarizeRegular(qv::ReadRegularBoxes(BoxTexts())).text));
}
