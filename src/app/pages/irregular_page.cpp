#include "app/pages/irregular_page.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <limits>
#include <memory>
#include <string>

#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/main_window.h"
#include "app/pages/chart_page.h"
#include "app/radio_group.h"
#include "chart/chart_file.h"
#include "core/group_schedule.h"
#include "core/number_entry.h"
#include "core/pay_group.h"
#include "core/pay_schedule.h"

namespace {

std::string TextOf(const QLineEdit* box) {
    return box->text().toStdString();
}

void SetText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
}

std::int32_t ClampToInt32(std::int64_t n) {
    if (n > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (n < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(n);
}

const QString kEditNote = QStringLiteral(
    "You can edit this Schedule at Tab 5 or Click on an individual cell in the grid below to "
    "edit it.");

}  // namespace

void DropGridFocus(QTableView* grid) {
    QWidget* focus = QApplication::focusWidget();
    // Focus going nowhere is no exit; an open cell editor hands its text to
    // the table as it closes.
    if (focus != nullptr && (focus == grid || grid->isAncestorOf(focus))) focus->clearFocus();
}

void OnGridExit(QTableView* grid, const QWidget* window, std::function<void()> handler) {
    // The cell editor is a widget of its own that comes and goes, so the
    // grid's exit is read from the application's focus changes. They are
    // reported after the editor has handed its text to the table.
    auto running = std::make_shared<bool>(false);
    QObject::connect(
        qApp, &QApplication::focusChanged, grid,
        [grid, window, running, handler = std::move(handler)](QWidget* old, QWidget* now) {
            if (*running || old == nullptr || now == nullptr || now->window() != window) return;
            const bool fromGrid = old == grid || grid->isAncestorOf(old);
            const bool toGrid = now == grid || grid->isAncestorOf(now);
            if (!fromGrid || toGrid) return;
            *running = true;
            handler();
            *running = false;
        });
}

IrregularPage::IrregularPage(TforMain& main) : Page(main, kId) {
    Line(Text(
        QStringLiteral("Any schedule can be entered here. If only the first & last payments are "
                       "irregular, Tab 2 may be used."),
        "labEstimate1"));

    rgpBasePd_ = Radio(
        "rgpBasePd",
        QStringLiteral("FIRST, enter basic data, like the MOST COMMON interval in the Pay Schedule "
                       "(*nominal duration):"),
        {QStringLiteral("Annually (1/a,365 days)"), QStringLiteral("Monthly (12/a,30* days)"),
         QStringLiteral("HalfMonth (24/a,15* days)"), QStringLiteral("TwoWeeks (26+/a,14 days)"),
         QStringLiteral("Weekly (52/a,7 days)")},
        3, QStringLiteral("Which Interval appears most often in the Payment Schedule."));
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
    Row({edAmtFin_, amtFinLabel, edTotPay_, totPayLabel, edPayCount_,
         Label(QStringLiteral(" Number of Payments"))});

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
    Row({labGroupCount_, edSizeGroup_, Label(QStringLiteral("Payment(s) of")), edGroupPay_,
         Label(QStringLiteral("$ per Payment per Interval, where"))});
    edGroupPds_ = Box("edGroupPds", QStringLiteral("1"),
                      QStringLiteral("Identical for all in this group,"), 4);
    edGroupExtra_ = Box("edGroupExtra", QStringLiteral("0"),
                        QStringLiteral("Identical for all in Group, >0 if 0 regular payments."), 4);
    auto* butDone = Button("butDone", QStringLiteral("Add Group"),
                           QStringLiteral("If Group details are correct, click here"));
    Row({Label(QStringLiteral("each Interval has")), edGroupPds_,
         Label(QStringLiteral("Regular Pd(s) &")), edGroupExtra_,
         Label(QStringLiteral("Extra Days.")), butDone});

    QLabel* labEstimate16 = Label(QStringLiteral("So far, this Schedule has "), "labEstimate16");
    labEstimate15_ = Label(QString(), "labEstimate15");
    for (QLabel* label : {labEstimate16, labEstimate15_}) {
        label->setToolTip(QStringLiteral("This summary changes as Groups are added."));
        label->setStyleSheet(QStringLiteral("color: red;"));
    }
    Row({labEstimate16, labEstimate15_});
    labEstimate17_ = Label(QString(), "labEstimate17");
    QFont noteFont = labEstimate17_->font();
    noteFont.setBold(true);
    noteFont.setItalic(true);
    labEstimate17_->setFont(noteFont);
    Line(labEstimate17_);

    dbgPaySet_ = Grid("dbgPaySet", Main().mdsPaySet(),
                      {{"Sequence", QStringLiteral("GroupID")},
                       {"SetSize", QStringLiteral("#/Group")},
                       {"PaySize", QStringLiteral("$/Payment")},
                       {"PriorPds", QStringLiteral("Prior Reg.Intervals")},
                       {"AddDays", QStringLiteral("Prior Extra Days")}},
                      true, QStringLiteral("Click on a cell to edit it."));
    Column()->addWidget(dbgPaySet_, 1);

    auto* butPayReset = Button("butPayReset", QStringLiteral("Reset All"),
                               QStringLiteral("Click to Zero all details."));
    auto* butEstAPR = Button("butEstAPR", QStringLiteral("Estimate APR"),
                             QStringLiteral("When all the groups are correct, click here."));
    edAPR_ = ResultBox("edAPR", QStringLiteral("Pending"));
    Row({butPayReset, Label(QStringLiteral("THIRD, click:")), butEstAPR, edAPR_,
         Label(QStringLiteral(" APR%"))});

    auto* butPrintIrreg = Button("butPrintIrreg", QStringLiteral("Print Amortization"));
    auto* butTolerances = Button("butTolerances", QStringLiteral("About APR Tolerances"));
    Row({Label(QStringLiteral("FOURTH, if you wish, click: ")), butPrintIrreg, butTolerances});

    QLabel* labApr8 = Text(QStringLiteral("NOTE: to check Payment Schedules & balances with "
                                          "variable rates & no rounding, see Tab 7 too."),
                           "labApr8");
    labApr8->setStyleSheet(QStringLiteral("color: red;"));
    Line(labApr8);

    connect(butPrintIrreg, &QPushButton::clicked, this, &IrregularPage::butPrintIrregClick);
    connect(butTolerances, &QPushButton::clicked, this, &IrregularPage::butTolerancesClick);
    connect(butPayReset, &QPushButton::clicked, this, &IrregularPage::butPayResetClick);
    connect(butDone, &QPushButton::clicked, this, &IrregularPage::butDoneClick);
    connect(butEstAPR, &QPushButton::clicked, this, &IrregularPage::butEstAPRClick);

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
    OnGridExit(dbgPaySet_, &Main(), [this] { dbgPaySetExit(); });
}

void IrregularPage::ResetControls() {
    DropGridFocus(dbgPaySet_);
    for (QLineEdit* box : {edAmtFin_, edTotPay_, edGroupPay_}) box->setText(QStringLiteral("0.00"));
    for (QLineEdit* box : {edPayCount_, edGroupPds_, edGroupExtra_}) {
        box->setText(QStringLiteral("0"));
    }
    edSizeGroup_->setText(QStringLiteral("1"));
    edAPR_->setText(QStringLiteral("Pending"));
    labEstimate15_->setText(QStringLiteral("0 Payments, Totalling $ 0.00"));
    shownCount_ = 0;
    shownTotal_ = 0.0;
    labGroupCount_->setText(QStringLiteral("Payment Group # 1 has"));
    rgpBasePd_->SetItemIndex(1);
    ModelOf(dbgPaySet_)->SetReadOnly(true);
    labEstimate17_->clear();
}

void IrregularPage::tabEstimateEnter() {
    try {
        Main().mdsPaySet().MoveFirst();
    } catch (const qv::EMemDatasetError& error) {
        Main().Port().Warn(error.what());
    }
    labEstimate17_->setText(GridEditable() ? kEditNote : QString());
}

bool IrregularPage::GridEditable() const {
    return !ModelOf(dbgPaySet_)->ReadOnly();
}

void IrregularPage::MakeGridEditable() {
    ModelOf(dbgPaySet_)->SetReadOnly(false);
}

void IrregularPage::edAmtFinExit() {
    TakeEntry(edAmtFin_, qv::ValidateFloat2("Amount Financed", TextOf(edAmtFin_)),
              Main().State().AmtFin, Main().Port());
}

void IrregularPage::edTotPayExit() {
    qv::LoanState& s = Main().State();
    if (!TakeEntry(edTotPay_, qv::ValidateFloat4("Total of Payments", TextOf(edTotPay_)), s.TotPay,
                   Main().Port())) {
        return;
    }
    if (auto warning = qv::TotalOfPaymentsWarning(s.TotPay, s.AmtFin)) {
        Main().Port().Inform(*warning);
    }
}

void IrregularPage::edPayCountExit() {
    qv::LoanState& s = Main().State();
    if (!TakeEntry(edPayCount_, qv::ValidateInteger2("Number of Payments", TextOf(edPayCount_)),
                   s.PayCount, Main().Port())) {
        return;
    }
    // Before the first group, the whole schedule is offered as one group.
    if (auto pay = qv::OneGroupSuggestion(TextOf(edGroupPds_), TextOf(edGroupPay_), s.TotPay,
                                          s.PayCount)) {
        SetText(edGroupPay_, *pay);
        edSizeGroup_->setText(edPayCount_->text());
        edGroupPds_->setText(QStringLiteral("1"));
    }
}

void IrregularPage::edSizeGroupExit() {
    TakeEntry(edSizeGroup_, qv::ValidateInteger2("Number of Payments/Group", TextOf(edSizeGroup_)),
              Main().State().GroupSize, Main().Port());
}

void IrregularPage::edGroupPayExit() {
    TakeEntry(edGroupPay_, qv::ValidateFloat2("Payment $/Interval", TextOf(edGroupPay_)),
              Main().State().GroupPay, Main().Port());
}

void IrregularPage::edGroupPdsExit() {
    TakeEntry(edGroupPds_,
              qv::ValidateInteger2("Number of Common Periods/Interval", TextOf(edGroupPds_)),
              Main().State().GroupPds, Main().Port());
}

void IrregularPage::edGroupExtraExit() {
    TakeEntry(edGroupExtra_, qv::ValidateInteger2("Extra Days/Interval", TextOf(edGroupExtra_)),
              Main().State().GroupExtra, Main().Port());
}

void IrregularPage::butDoneClick() {
    qv::LoanState& s = Main().State();
    const qv::AddGroupDecision decision =
        qv::DecideAddGroup(TextOf(edSizeGroup_), TextOf(edGroupPay_), TextOf(edGroupPds_),
                           TextOf(edGroupExtra_), s.GroupPayCount);
    for (const std::string& message : decision.messages) Main().Port().Inform(message);
    if (!decision.accepted) return;

    // The group is left pending; the next movement in the table stores it.
    qv::TMemDataSet& paySet = Main().mdsPaySet();
    const qv::GroupEntry& group = decision.group;
    try {
        qv::AppendPayGroup(
            paySet, {group.SetSize, s.GroupNumber, group.PaySize, group.PriorPds, group.AddDays});
    } catch (const qv::EMemDatasetError& error) {
        // A pending row of the grid could not be stored first: nothing added.
        Main().Port().Warn(error.what());
        return;
    }

    qv::TakeNewGroup(s, group);
    MakeGridEditable();
    labGroupCount_->setText(QString::fromStdString(qv::GroupCountText(s.GroupNumber)));
    edGroupPay_->setText(QStringLiteral("0.00"));
    edSizeGroup_->setText(QStringLiteral("1"));
    edGroupExtra_->setText(QStringLiteral("0"));
    edGroupPds_->setText(QStringLiteral("1"));
    UpdateGroupSum(s.GroupPayCount, s.GroupPayTotal);
    AprPending();
}

bool IrregularPage::UpdateSummary() {
    qv::GroupWalk walk;
    try {
        walk = qv::WalkGroups(Main().mdsPaySet());
    } catch (const qv::EMemDatasetError& error) {
        Main().Port().Warn(error.what());
        return false;
    }
    qv::LoanState& s = Main().State();
    s.GroupPayCount = ClampToInt32(walk.count);
    s.GroupPayTotal = walk.totalInRange ? qv::CurrencyToDollars(walk.total) : walk.dollars;
    UpdateGroupSum(walk.count, s.GroupPayTotal);
    return true;
}

void IrregularPage::UpdateGroupSum(std::int64_t count, double total) {
    shownCount_ = count;
    shownTotal_ = total;
    labEstimate15_->setText(QString::fromStdString(qv::GroupSumText(count, total)));
}

void IrregularPage::AprPending() {
    edAPR_->setText(QStringLiteral("Pending"));
}

void IrregularPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    // The groups may have been rebuilt while the page was hidden (the regular
    // page's "Compute APR" writes its own): the summary shows what the grid
    // holds, and an APR of other groups is no longer the grid's. A group
    // added here and still pending has been counted already.
    qv::TMemDataSet& paySet = Main().mdsPaySet();
    if (paySet.HasPending()) return;
    const qv::GroupWalk walk = qv::WalkGroups(paySet);
    const double total = walk.totalInRange ? qv::CurrencyToDollars(walk.total) : walk.dollars;
    if (walk.count == shownCount_ && total == shownTotal_) return;
    UpdateSummary();
    AprPending();
}

void IrregularPage::butEstAPRClick() {
    qv::LoanState& s = Main().State();
    // A group the table cannot store has been reported; the schedule is not
    // tested on top of that.
    bool ok = UpdateSummary();
    if (ok && s.GroupPayCount == 0) {
        Main().Port().Inform(qv::kNoPaymentsToEstimateText);
        AprPending();
        s.ScheduleSource = qv::kSourceIrregular;
        return;
    }
    if (ok) ok = qv::IntegrityMdsPaySet(s, Main().mdsPaySet(), Main().Port());
    s.PerDiem = false;
    qv::SetBasePeriod(s, rgpBasePd_->ItemIndex());
    if (ok && qv::PerDiemRuleApplies(s)) {
        Main().Port().Inform(qv::kPerDiemNotice);
        s.PerDiem = true;
    }
    if (ok) {
        // A failed computation has written "InputError" into the APR boxes.
        if (Main().RunGetAPR() == qv::AprOutcome::Computed) {
            SetText(edAPR_, qv::FloatToStr(s.APR));
        }
    } else {
        edAPR_->setText(QStringLiteral("InputError"));
        Main().Port().Warn(qv::kNoAprEstimated);
    }
    s.ScheduleSource = qv::kSourceIrregular;
}

void IrregularPage::dbgPaySetExit() {
    UpdateSummary();
    edAPR_->setText(QStringLiteral("Pending"));
}

void IrregularPage::butTolerancesClick() {
    Main().State().ScheduleSource = qv::kSourceIrregular;
    Main().ShowPage(PageId::tabIntro);
}

void IrregularPage::butPayResetClick() {
    Main().Reset();
    Main().ShowPage(PageId::tabAbout);
}

void IrregularPage::butPrintIrregClick() {
    Main().State().ScheduleSource = qv::kSourceIrregular;
    // Entering the chart page recomputes this page's APR and refills its grid.
    Main().ShowPage(PageId::tabChart);
    // A schedule the engine refused has no chart to print; the user has been
    // told why and sent back to correct it.
    if (edAPR_->text() == QLatin1String("InputError")) return;
    ChartPage& chart = Main().GetPage<ChartPage>();
    chart.butChartEstClick();
    PlatformPort& port = Main().Port();
    if (port.Confirm(qv::kReviewChartQuestion)) {
        port.Inform(qv::kChartedWithoutHardcopyText);
    } else {
        chart.butPrintClick();
    }
}
