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

const QString kEditNote = QStringLiteral(
    "You can edit this Schedule at Tab 5 or Click on an individual cell in the grid below to "
    "edit it.");

}  // namespace

IrregularPage::IrregularPage(Session& app) : Page(app, kId) {
    Line(Text(
        QStringLiteral("Any schedule can be entered here. If only the first & last payments are "
                       "irregular, Tab 2 may be used."),
        "labEstimate1"));

    rgpBasePd_ = Radio(
        "rgpBasePd",
        QStringLiteral("FIRST, enter basic data, like the MOST COMMON interval in the Pay Schedule "
                       "(*nominal duration):"),
        IntervalCaptions(&qv::IntervalInfo::irregularCaption), 3,
        QStringLiteral("Which Interval appears most often in the Payment Schedule."));
    Line(rgpBasePd_);

    edAmtFin_ = Box("edAmtFin", QStringLiteral("0.00"),
                    QStringLiteral("Amount Financed excludes the Finance Charge."), 12);
    QLabel* amtFinLabel = Label(QStringLiteral(" $ Amount Financed"));
    amtFinLabel->setToolTip(QStringLiteral("As TIL defines Amount Financed."));
    edTotPay_ = Box("edTotPay", QStringLiteral("0.00"),
                    QStringLiteral("= Amount Financed + Finance Charge."), 12);
    QLabel* totPayLabel = Label(QStringLiteral(" Total of Payments"));
    totPayLabel->setToolTip(QStringLiteral("As TIL defines Total of Payments."));
    edPayCount_ = Box("edPayCount", QStringLiteral("0"),
                      QStringLiteral("Count each separate repayment due."), 4);
    QLabel* countLabel = Label(QStringLiteral(" Number of Payments"));
    Row({edAmtFin_, amtFinLabel, edTotPay_, totPayLabel, edPayCount_, countLabel});
    TieLabel(amtFinLabel, edAmtFin_);
    TieLabel(totPayLabel, edTotPay_);
    TieLabel(countLabel, edPayCount_);

    Line(Label(QStringLiteral("SECOND, enter the payments in chronological order, in groups that "
                              "are identical in interval and"),
               "labAPR3"));
    Line(Label(QStringLiteral("amount. Click on \"Add Group\" and then enter the next group of "
                              "identical payments until done:"),
               "labAPR4"));

    labGroupCount_ = Label(QString(), "labGroupCount");
    edSizeGroup_ = Box("edSizeGroup", QStringLiteral("1"),
                       QStringLiteral("# of Payments of same size and interval."), 4);
    edGroupPay_ = Box("edGroupPay", QStringLiteral("0.00"),
                      QStringLiteral("Identical for all payments in this group."), 10);
    QLabel* sizeLabel = Label(QStringLiteral("Payment(s) of"));
    QLabel* groupPayLabel = Label(QStringLiteral("$ per Payment per Interval, where"));
    Row({labGroupCount_, edSizeGroup_, sizeLabel, edGroupPay_, groupPayLabel});
    TieLabel(sizeLabel, edSizeGroup_);
    TieLabel(groupPayLabel, edGroupPay_);
    NameControl(edSizeGroup_, QStringLiteral("Payments in this group"));
    NameControl(edGroupPay_, QStringLiteral("Payment of this group"));
    edGroupPds_ = Box("edGroupPds", QStringLiteral("1"),
                      QStringLiteral("Identical for all in this group,"), 4);
    edGroupExtra_ = Box("edGroupExtra", QStringLiteral("0"),
                        QStringLiteral("Identical for all in Group, >0 if 0 regular payments."), 4);
    auto* butDone = Button("butDone", QStringLiteral("Add Group"),
                           QStringLiteral("If Group details are correct, click here"));
    QLabel* pdsLabel = Label(QStringLiteral("Regular Pd(s) &"));
    QLabel* extraLabel = Label(QStringLiteral("Extra Days."));
    Row({Label(QStringLiteral("each Interval has")), edGroupPds_, pdsLabel, edGroupExtra_,
         extraLabel, butDone});
    TieLabel(pdsLabel, edGroupPds_);
    TieLabel(extraLabel, edGroupExtra_);
    NameControl(edGroupPds_, QStringLiteral("Regular periods before each payment"));
    NameControl(edGroupExtra_, QStringLiteral("Extra days before each payment"));

    labEstimate16_ = Label(QStringLiteral("So far, this Schedule has "), "labEstimate16");
    labEstimate15_ = Label(QString(), "labEstimate15");
    for (QLabel* label : {labEstimate16_, labEstimate15_}) {
        label->setToolTip(QStringLiteral("This summary changes as Groups are added."));
        SetTextTone(label, TextTone::Warning);
    }
    Row({labEstimate16_, labEstimate15_});
    labEstimate17_ = Label(QString(), "labEstimate17");
    QFont noteFont = labEstimate17_->font();
    noteFont.setBold(true);
    noteFont.setItalic(true);
    labEstimate17_->setFont(noteFont);
    Line(labEstimate17_);

    dbgPaySet_ = Grid("dbgPaySet", session().Schedule().PaySet(),
                      {{"Sequence", QStringLiteral("GroupID")},
                       {"SetSize", QStringLiteral("#/Group")},
                       {"PaySize", QStringLiteral("$/Payment")},
                       {"PriorPds", QStringLiteral("Prior Reg.Intervals")},
                       {"AddDays", QStringLiteral("Prior Extra Days")}},
                      true, QStringLiteral("Click on a cell to edit it."));
    NameControl(dbgPaySet_, QStringLiteral("Payment groups"));
    Column()->addWidget(dbgPaySet_, 1);

    auto* butPayReset = Button("butPayReset", QStringLiteral("Reset All"),
                               QStringLiteral("Click to Zero all details."));
    butEstAPR_ = Button("butEstAPR", QStringLiteral("Estimate APR"),
                        QStringLiteral("When all the groups are correct, click here."));
    edAPR_ = ResultBox("edAPR", QStringLiteral("Pending"));
    apr_ = AprBox(edAPR_);
    QLabel* aprLabel = Label(QStringLiteral(" APR%"));
    Row({butPayReset, Label(QStringLiteral("THIRD, click:")), butEstAPR_, edAPR_, aprLabel});
    TieLabel(aprLabel, edAPR_);
    NameControl(edAPR_, QStringLiteral("APR"));

    auto* butPrintIrreg = Button("butPrintIrreg", QStringLiteral("Print Amortization"));
    auto* butTolerances = Button("butTolerances", QStringLiteral("About APR Tolerances"));
    auto* butByDates = Button("butByDates", QStringLiteral("Loan by Dates"),
                              QStringLiteral("Enter a loan by its dates and check a disclosure"));
    Row({Label(QStringLiteral("FOURTH, if you wish, click: ")), butPrintIrreg, butTolerances,
         butByDates});

    QLabel* labApr8 = Text(QStringLiteral("NOTE: to check Payment Schedules & balances with "
                                          "variable rates & no rounding, see Tab 7 too."),
                           "labApr8");
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
    for (QLineEdit* input : {edAmtFin_, edTotPay_, edPayCount_}) {
        connect(input, &QLineEdit::textEdited, this, &IrregularPage::AprPending);
    }
    connect(rgpBasePd_, &RadioGroup::ItemIndexChanged, this, &IrregularPage::AprPending);

    Focus().OnExit(edAmtFin_, [this] { edAmtFinExit(); });
    Focus().OnExit(edTotPay_, [this] { edTotPayExit(); });
    Focus().OnExit(edPayCount_, [this] { edPayCountExit(); });
    Focus().OnExit(edSizeGroup_, [this] { edSizeGroupExit(); });
    Focus().OnExit(edGroupPay_, [this] { edGroupPayExit(); });
    Focus().OnExit(edGroupPds_, [this] { edGroupPdsExit(); });
    Focus().OnExit(edGroupExtra_, [this] { edGroupExtraExit(); });
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
            [this] { session().ShowPage(kId, edTotPay_); });
    schedule.RegisterAprPage(qv::kSourceIrregular, {[this] { butEstAPRClick(); },
                                                    [this] { return apr_.ShowsInputError(); }});
    connect(&session().Settings(), &AppSettings::Changed, this, &IrregularPage::SwitchPageHints);
}

void IrregularPage::ResetControls() {
    DropGridFocus(dbgPaySet_);
    for (QLineEdit* box : {edAmtFin_, edTotPay_, edGroupPay_}) box->setText(QStringLiteral("0.00"));
    for (QLineEdit* box : {edPayCount_, edGroupPds_, edGroupExtra_}) {
        box->setText(QStringLiteral("0"));
    }
    edSizeGroup_->setText(QStringLiteral("1"));
    apr_.SetPending();
    labEstimate15_->setText(QStringLiteral("0 Payments, Totalling $ 0.00"));
    shownCount_ = 0;
    shownTotal_ = 0.0;
    labGroupCount_->setText(QStringLiteral("Payment Group # 1 has"));
    ShowInterval(*rgpBasePd_, qv::kStartInterval);
    labEstimate17_->clear();
}

void IrregularPage::tabEstimateEnter() {
    try {
        session().Schedule().PaySet().MoveFirst();
    } catch (const qv::EMemDatasetError& error) {
        session().Port().Warn(error.what());
    }
    labEstimate17_->setText(GridEditable() ? kEditNote : QString());
}

bool IrregularPage::GridEditable() const {
    return session().Schedule().Editable();
}

void IrregularPage::edAmtFinExit() {
    TakeEntry(edAmtFin_, qv::ValidateFloat2("Amount Financed", TextOf(edAmtFin_)),
              session().State().loan.AmtFin, session().Port());
}

void IrregularPage::edTotPayExit() {
    qv::LoanState& s = session().State();
    if (!TakeEntry(edTotPay_, qv::ValidateFloat4("Total of Payments", TextOf(edTotPay_)),
                   s.loan.TotPay, session().Port())) {
        return;
    }
    if (auto warning = qv::TotalOfPaymentsWarning(s.loan.TotPay, s.loan.AmtFin)) {
        session().Port().Inform(*warning);
    }
}

void IrregularPage::edPayCountExit() {
    qv::LoanState& s = session().State();
    if (!TakeEntry(edPayCount_, qv::ValidateInteger2("Number of Payments", TextOf(edPayCount_)),
                   s.loan.PayCount, session().Port())) {
        return;
    }
    // Before the first group, the whole schedule is offered as one group.
    if (auto pay = qv::OneGroupSuggestion(TextOf(edGroupPds_), TextOf(edGroupPay_), s.loan.TotPay,
                                          s.loan.PayCount)) {
        SetText(edGroupPay_, *pay);
        edSizeGroup_->setText(edPayCount_->text());
        edGroupPds_->setText(QStringLiteral("1"));
    }
}

void IrregularPage::edSizeGroupExit() {
    TakeEntry(edSizeGroup_, qv::ValidateInteger2("Number of Payments/Group", TextOf(edSizeGroup_)),
              session().State().group.GroupSize, session().Port());
}

void IrregularPage::edGroupPayExit() {
    TakeEntry(edGroupPay_, qv::ValidateFloat2("Payment $/Interval", TextOf(edGroupPay_)),
              session().State().group.GroupPay, session().Port());
}

void IrregularPage::edGroupPdsExit() {
    TakeEntry(edGroupPds_,
              qv::ValidateInteger2("Number of Common Periods/Interval", TextOf(edGroupPds_)),
              session().State().group.GroupPds, session().Port());
}

void IrregularPage::edGroupExtraExit() {
    TakeEntry(edGroupExtra_, qv::ValidateInteger2("Extra Days/Interval", TextOf(edGroupExtra_)),
              session().State().group.GroupExtra, session().Port());
}

void IrregularPage::butDoneClick() {
    qv::LoanState& s = session().State();
    const qv::AddGroupDecision decision =
        qv::DecideAddGroup(TextOf(edSizeGroup_), TextOf(edGroupPay_), TextOf(edGroupPds_),
                           TextOf(edGroupExtra_), s.group.GroupPayCount);
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
    edGroupPay_->setText(QStringLiteral("0.00"));
    edSizeGroup_->setText(QStringLiteral("1"));
    edGroupExtra_->setText(QStringLiteral("0"));
    edGroupPds_->setText(QStringLiteral("1"));
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
         {std::pair{edAmtFin_, s.loan.AmtFin}, {edTotPay_, qv::CurrencyToDollars(s.loan.TotPay)}}) {
        if (!ShowsAmount(box, amount))
            box->setText(Q(qv::FloatToStrF(amount, qv::FloatStyle::Fixed, 18, 2)));
    }
    bool ok = false;
    if (edPayCount_->text().toLongLong(&ok) != s.loan.PayCount || !ok)
        edPayCount_->setText(QString::number(s.loan.PayCount));
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
    edTotPay_->setText(totPay);
    edPayCount_->setText(payCount);
}

void IrregularPage::ShowAmountFinanced(const QString& amtFin) {
    edAmtFin_->setText(amtFin);
}

void IrregularPage::SwitchPageHints(Setting setting, bool on) {
    if (setting != Setting::IrregularHints) return;
    SwitchHints({butEstAPR_, dbgPaySet_, edGroupPds_, edGroupExtra_, edAmtFin_, edTotPay_,
                 edPayCount_, rgpBasePd_, labEstimate15_, labEstimate16_},
                on);
}

void IrregularPage::ShowLoadedSchedule(const qv::ScheduleLoad& load) {
    if (!load.loaded || load.headerMissing) return;
    AprPending();
    SetText(edAmtFin_, load.edAmtFin);
    SetText(edTotPay_, load.edTotPay);
    SetText(edPayCount_, load.edPayCount);
}
