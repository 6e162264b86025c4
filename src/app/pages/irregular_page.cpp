#include "app/pages/irregular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "app/main_window.h"
#include "app/radio_group.h"

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
    labEstimate15_->setToolTip(QStringLiteral("This summary changes as Groups are added."));
    for (QLabel* label : {labEstimate16, labEstimate15_}) {
        label->setStyleSheet(QStringLiteral("color: red;"));
    }
    Row({labEstimate16, labEstimate15_});
    QLabel* labEstimate17 = Label(QString(), "labEstimate17");
    QFont noteFont = labEstimate17->font();
    noteFont.setBold(true);
    noteFont.setItalic(true);
    labEstimate17->setFont(noteFont);
    Line(labEstimate17);

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
    edAPR_ = Box("edAPR", QStringLiteral("Pending"), QString(), 10);
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

    connect(butTolerances, &QPushButton::clicked, this, &IrregularPage::butTolerancesClick);
    connect(butPayReset, &QPushButton::clicked, this, &IrregularPage::butPayResetClick);
}

void IrregularPage::ResetControls() {
    for (QLineEdit* box : {edAmtFin_, edTotPay_, edGroupPay_}) box->setText(QStringLiteral("0.00"));
    for (QLineEdit* box : {edPayCount_, edGroupPds_, edGroupExtra_}) {
        box->setText(QStringLiteral("0"));
    }
    edSizeGroup_->setText(QStringLiteral("1"));
    edAPR_->setText(QStringLiteral("Pending"));
    labEstimate15_->setText(QStringLiteral("0 Payments, Totalling $ 0.00"));
    labGroupCount_->setText(QStringLiteral("Payment Group # 1 has"));
    rgpBasePd_->SetItemIndex(1);
    ModelOf(dbgPaySet_)->SetReadOnly(true);
}

void IrregularPage::butTolerancesClick() {
    Main().State().ScheduleSource = qv::kSourceIrregular;
    Main().ShowPage(PageId::tabIntro);
}

void IrregularPage::butPayResetClick() {
    Main().Reset();
    Main().ShowPage(PageId::tabAbout);
}
