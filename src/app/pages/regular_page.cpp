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

const QString kStartStatus = QStringLiteral(
    "As you move among white data entry boxes above, you'll find Hints and other Information "
    "here.");

}  // namespace

RegularPage::RegularPage(Session& app) : Page(app, kId) {
    Line(
        Text(QStringLiteral("If payments (other than the first or last) are irregular, go to Tab "
                            "3. To edit a schedule go to Tab 5.")));

    Line(Label(QStringLiteral("First, enter the main values for this loan:  ")));
    edSimpAmtFin_ = Box("edSimpAmtFin", QStringLiteral("0.00"),
                        QStringLiteral("Amount Financed excludes the Finance Charge."), 12);
    QLabel* amtFinLabel = Label(QStringLiteral("Amount Financed,"));
    amtFinLabel->setToolTip(QStringLiteral("As TIL defines Amount Financed."));
    edSimpInnerNoPay_ =
        Box("edSimpInnerNoPay", QStringLiteral("0"), QStringLiteral("Positive Integer > 0"), 4);
    edSimpRegPay_ =
        Box("edSimpRegPay", QStringLiteral("0.00"),
            QStringLiteral("Only 1st and Last Payment may differ from this amount."), 10);
    QLabel* countLabel = Label(QStringLiteral("installments &"));
    QLabel* regPayLabel = Label(QStringLiteral("$ per most Common Payment."));
    Row({edSimpAmtFin_, amtFinLabel, edSimpInnerNoPay_, countLabel, edSimpRegPay_, regPayLabel});
    TieLabel(amtFinLabel, edSimpAmtFin_);
    TieLabel(countLabel, edSimpInnerNoPay_);
    TieLabel(regPayLabel, edSimpRegPay_);
    NameControl(edSimpAmtFin_, QStringLiteral("Amount Financed"));
    NameControl(edSimpInnerNoPay_, QStringLiteral("Number of installments"));
    NameControl(edSimpRegPay_, QStringLiteral("Most common payment"));
    Line(Text(
        QStringLiteral("But if you have varying payments besides the first or last, use Tab 3.")));

    rgpSimpInterval_ =
        Radio("rgpSimpInterval",
              QStringLiteral(
                  "Second, choose the MOST COMMON Interval between payments (* nominal duration in "
                  "days):"),
              IntervalCaptions(&qv::IntervalInfo::regularCaption), 3,
              QStringLiteral("Which Interval appears most often in the Payment Schedule."));
    Line(rgpSimpInterval_);

    Line(Label(QStringLiteral(
        "Third, if the FIRST Payment is different from the others, describe it here:")));
    const PaymentBoxes first = PaymentRow(
        {"edSimp1stPay", QStringLiteral("0.00"),
         QStringLiteral("Any amount >0 and <= Total of Payments."),
         QStringLiteral(" $ 1st Payment Amt.")},
        {"edSimp1stNoPd", QStringLiteral("0"),
         QStringLiteral("0 here only if short 1st Interval has Added Days > 0"),
         QStringLiteral("Common Intervals in 1st Interval,")},
        {"edSimp1stExtra", QStringLiteral("0"), QStringLiteral("Must >0 if 1st Full Interval = 0"),
         QStringLiteral("Added Days in 1st Interval.")});
    edSimp1stPay_ = first.pay;
    edSimp1stNoPd_ = first.periods;
    edSimp1stExtra_ = first.days;

    Line(Label(QStringLiteral(
        "Fourth, if the LAST Payment is different from the others, describe it here:")));
    const PaymentBoxes last =
        PaymentRow({"edSimpLastPay", QStringLiteral("0.00"),
                    QStringLiteral("= Total of Payments - all other payments, as shown above."),
                    QStringLiteral(" $ Last Payment Amt.")},
                   {"edSimpLastNoPd", QStringLiteral("0"),
                    QStringLiteral("0 here only if short Last interval has Added Days >0"),
                    QStringLiteral("Common Intervals in Last Interval,")},
                   {"edSimpLastExtra", QStringLiteral("0"),
                    QStringLiteral("Must >0 if no Common Intervals in Last Interval"),
                    QStringLiteral("Added Days in Last Interval")});
    edSimpLastPay_ = last.pay;
    edSimpLastNoPd_ = last.periods;
    edSimpLastExtra_ = last.days;

    labSimpToP_ = Text(QStringLiteral("Schedule above shows 0 Payments which Total $ 0.00, with $ "
                                      "0.00 Finance Charge "),
                       "labSimpToP");
    labSimpToP_->setToolTip(QStringLiteral("Recompute this by clicking on Last Payment amount."));
    SetTextTone(labSimpToP_, TextTone::Summary, true);
    Line(labSimpToP_);

    Line(Label(QStringLiteral(
        "Fifth, when you have the ENTIRE payment scheduled entered above, click below:")));
    // Created in the page's tab order: the result box before its button.
    edSimpAPR_ = ResultBox("edSimpAPR", QStringLiteral("Pending"));
    apr_ = AprBox(edSimpAPR_);
    butSimpleAPR_ = Button("butSimpleAPR", QStringLiteral("Compute APR"),
                           QStringLiteral("If the Schedule is complete, click here."));
    QLabel* aprLabel = Label(QStringLiteral("APR%"));
    Row({butSimpleAPR_, edSimpAPR_, aprLabel});
    // The box comes before its button in the tab order; named, it still
    // tells a screen-reader user what it holds.
    TieLabel(aprLabel, edSimpAPR_);
    NameControl(edSimpAPR_, QStringLiteral("APR"));

    auto* butChartSimple = Button("butChartSimple", QStringLiteral("Print Amortization"));
    Row({Label(QStringLiteral("Sixth, Click here ")), butChartSimple,
         Label(QStringLiteral("or on Tab 4 to review an Amortization Chart before printing."))});

    butResetSimple_ = Button("butResetSimple", QStringLiteral("Reset All"),
                             QStringLiteral("Click to Start Over"));
    edStatusBar_ = new QLineEdit(this);
    edStatusBar_->setObjectName(QStringLiteral("edStatusBar"));
    edStatusBar_->setReadOnly(true);
    edStatusBar_->setToolTip(
        QStringLiteral("These Hints change as you move among data entry boxes."));
    SetTextTone(edStatusBar_, TextTone::Warning, true);
    // Between Reset All and About APR Tolerances in the tab order, as the
    // line was always reached; its name says what it is.
    NameControl(edStatusBar_, QStringLiteral("Hint for the box you are in"));
    edStatusBar_->setText(kStartStatus);
    auto* butGoTolerances2 = Button("butGoTolerances2", QStringLiteral("About APR Tolerances"));
    auto* butMax = Button("butMax", QStringLiteral("Figure a Regular Schedule"));
    Row({butResetSimple_, butGoTolerances2, butMax});
    Line(edStatusBar_);

    // An APR on screen belongs to the schedule on screen: any change to the
    // schedule makes it pending until the next "Compute APR".
    for (QLineEdit* input :
         {edSimpAmtFin_, edSimpInnerNoPay_, edSimpRegPay_, edSimp1stPay_, edSimp1stNoPd_,
          edSimp1stExtra_, edSimpLastPay_, edSimpLastNoPd_, edSimpLastExtra_}) {
        connect(input, &QLineEdit::textEdited, this, &RegularPage::AprPending);
    }
    connect(rgpSimpInterval_, &RadioGroup::ItemIndexChanged, this, &RegularPage::AprPending);

    // The schedule as the boxes read is published for the pages that work
    // from it, and this page shows what they send back.
    RegularInputs& regular = session().Regular();
    for (QLineEdit* input :
         {edSimpAmtFin_, edSimpInnerNoPay_, edSimpRegPay_, edSimp1stPay_, edSimp1stNoPd_,
          edSimp1stExtra_, edSimpLastPay_, edSimpLastNoPd_, edSimpLastExtra_}) {
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

    OnLeave(edSimpAmtFin_, qv::RegularBox::edSimpAmtFin);
    OnLeave(edSimpInnerNoPay_, qv::RegularBox::edSimpInnerNoPay);
    OnLeave(edSimpRegPay_, qv::RegularBox::edSimpRegPay);
    OnExit(rgpSimpInterval_, &RegularPage::rgpSimpIntervalExit);
    OnLeave(edSimp1stPay_, qv::RegularBox::edSimp1stPay);
    OnLeave(edSimp1stNoPd_, qv::RegularBox::edSimp1stNoPd);
    OnLeave(edSimp1stExtra_, qv::RegularBox::edSimp1stExtra);
    OnLeave(edSimpLastPay_, qv::RegularBox::edSimpLastPay);
    OnLeave(edSimpLastNoPd_, qv::RegularBox::edSimpLastNoPd);
    OnLeave(edSimpLastExtra_, qv::RegularBox::edSimpLastExtra);

    // Entering a control puts its hint into the status line.
    const std::pair<QWidget*, QString> hints[] = {
        {edSimpAmtFin_,
         QStringLiteral("Amount Financed is the principal paid at loan commencement. Hit the TAB "
                        "button to move to the next entry point.")},
        {edSimpInnerNoPay_, QStringLiteral("Enter the Total Number of Payments scheduled.")},
        {edSimpRegPay_, QStringLiteral("Enter the dollar size of the Most Common Payment amount.")},
        {rgpSimpInterval_, QStringLiteral("If there is no repeating interval, use Tab 2.")},
        {edSimp1stPay_, QStringLiteral("Describe only the FIRST Payment on this line.")},
        {edSimp1stNoPd_,
         QStringLiteral("The first interval may be zero or more than 1 regular payment long.")},
        {edSimp1stExtra_, QStringLiteral("If the first interval is zero Regular periods long, "
                                         "this entry must be >0.")},
        {edSimpLastNoPd_,
         QStringLiteral("The last interval maybe zero or more than one regular period long.")},
        {edSimpLastExtra_, QStringLiteral("If the last interval is zero regular periods long, "
                                          "this entry must be >0.")},
    };
    for (const auto& [control, hint] : hints) {
        Focus().OnEnter(control, [this, text = hint] { Status(text); });
    }
    // The summary is brought up to date as the user comes to the last payment,
    // which is meant to make the schedule add up.
    Focus().OnEnter(edSimpLastPay_, [this] {
        Status(
            QStringLiteral("The last payment maybe much larger than the regular payment amount."));
        UpdateSimpleSummary();
    });
}

void RegularPage::ResetControls() {
    edSimpAmtFin_->setText(QStringLiteral("0.00"));
    edSimp1stPay_->setText(QStringLiteral("0.00"));
    edSimpLastPay_->setText(QStringLiteral("0.00"));
    edSimpRegPay_->setText(QStringLiteral("0.0"));
    for (QLineEdit* box :
         {edSimp1stNoPd_, edSimp1stExtra_, edSimpInnerNoPay_, edSimpLastNoPd_, edSimpLastExtra_}) {
        box->setText(QStringLiteral("0"));
    }
    apr_.SetPending();
    ::ShowInterval(*rgpSimpInterval_, qv::kStartInterval);
    labSimpToP_->setText(
        QStringLiteral("Above Schedule now shows 0 Payments which Total $ 0.00, with $ 0.00 "
                       "Finance Charge"));
    edStatusBar_->setText(kStartStatus);
}

// --- helpers -----------------------------------------------------------------

void RegularPage::OnExit(QWidget* control, void (RegularPage::*handler)()) {
    Focus().OnExit(control, [this, handler] { (this->*handler)(); });
}

void RegularPage::OnLeave(QWidget* control, qv::RegularBox box) {
    Focus().OnExit(control, [this, box] { Leave(box); });
}

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
    t.AmtFin = TextOf(edSimpAmtFin_);
    t.PayCount = TextOf(edSimpInnerNoPay_);
    t.RegPay = TextOf(edSimpRegPay_);
    t.FirstPay = TextOf(edSimp1stPay_);
    t.FirstPds = TextOf(edSimp1stNoPd_);
    t.FirstExtra = TextOf(edSimp1stExtra_);
    t.LastPay = TextOf(edSimpLastPay_);
    t.LastPds = TextOf(edSimpLastNoPd_);
    t.LastExtra = TextOf(edSimpLastExtra_);
    return t;
}

QLineEdit* RegularPage::BoxOf(qv::RegularBox box) const {
    switch (box) {
        case qv::RegularBox::edSimpAmtFin:
            return edSimpAmtFin_;
        case qv::RegularBox::edSimpInnerNoPay:
            return edSimpInnerNoPay_;
        case qv::RegularBox::edSimpRegPay:
            return edSimpRegPay_;
        case qv::RegularBox::edSimp1stPay:
            return edSimp1stPay_;
        case qv::RegularBox::edSimp1stNoPd:
            return edSimp1stNoPd_;
        case qv::RegularBox::edSimp1stExtra:
            return edSimp1stExtra_;
        case qv::RegularBox::edSimpLastPay:
            return edSimpLastPay_;
        case qv::RegularBox::edSimpLastNoPd:
            return edSimpLastNoPd_;
        case qv::RegularBox::edSimpLastExtra:
            return edSimpLastExtra_;
    }
    return edSimpAmtFin_;
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
    SwitchHints({butSimpleAPR_, edSimp1stPay_, edSimp1stNoPd_, edSimp1stExtra_, edSimpLastNoPd_,
                 edSimpLastExtra_, edSimpInnerNoPay_, edSimpRegPay_, edSimpAmtFin_,
                 rgpSimpInterval_, edStatusBar_, butResetSimple_, labSimpToP_},
                on);
}

void RegularPage::ShowLoadedSchedule(const qv::ScheduleLoad& load) {
    if (!load.loaded || load.headerMissing) return;
    AprPending();
    SetText(edSimpAmtFin_, load.edSimpAmtFin);
    SetText(edSimpInnerNoPay_, load.edSimpInnerNoPay);
    SetText(edSimpRegPay_, load.edSimpRegPay);
    if (load.first) {
        SetText(edSimp1stPay_, load.first->pay);
        SetText(edSimp1stNoPd_, load.first->pds);
        SetText(edSimp1stExtra_, load.first->extra);
    }
    if (load.last) {
        SetText(edSimpLastPay_, load.last->pay);
        SetText(edSimpLastNoPd_, load.last->pds);
        SetText(edSimpLastExtra_, load.last->extra);
    }
    // The summary line describes the boxes above it. It is only worded
    // here: the loan's count and total are the loaded groups', which an
    // irregular schedule's boxes do not add up to.
    labSimpToP_->setText(Q(qv::SummarizeRegular(qv::ReadRegularBoxes(BoxTexts())).text));
}
