#include "app/pages/regular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "app/radio_group.h"

RegularPage::RegularPage(TforMain& main) : Page(main, kId) {
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
    Row({edSimpAmtFin_, amtFinLabel, edSimpInnerNoPay_, Label(QStringLiteral("installments &")),
         edSimpRegPay_, Label(QStringLiteral("$ per most Common Payment."))});
    Line(Text(
        QStringLiteral("But if you have varying payments besides the first or last, use Tab 3.")));

    rgpSimpInterval_ = Radio(
        "rgpSimpInterval",
        QStringLiteral(
            "Second, choose the MOST COMMON Interval between payments (* nominal duration in "
            "days):"),
        {QStringLiteral("Annually (1/a,365 days)"), QStringLiteral("Monthly (12/a,30*days)"),
         QStringLiteral("HalfMonthly (24/a,15*days)"), QStringLiteral("TwoWeekly (26+/a,14 days)"),
         QStringLiteral("Weekly (52+/a,7 days)")},
        3, QStringLiteral("Which Interval appears most often in the Payment Schedule."));
    Line(rgpSimpInterval_);

    Line(Label(QStringLiteral(
        "Third, if the FIRST Payment is different from the others, describe it here:")));
    edSimp1stPay_ = Box("edSimp1stPay", QStringLiteral("0.00"),
                        QStringLiteral("Any amount >0 and <= Total of Payments."), 10);
    edSimp1stNoPd_ = Box("edSimp1stNoPd", QStringLiteral("0"),
                         QStringLiteral("0 here only if short 1st Interval has Added Days > 0"), 4);
    edSimp1stExtra_ = Box("edSimp1stExtra", QStringLiteral("0"),
                          QStringLiteral("Must >0 if 1st Full Interval = 0"), 4);
    Row({edSimp1stPay_, Label(QStringLiteral(" $ 1st Payment Amt.")), edSimp1stNoPd_,
         Label(QStringLiteral("Common Intervals in 1st Interval,")), edSimp1stExtra_,
         Label(QStringLiteral("Added Days in 1st Interval."))});

    Line(Label(QStringLiteral(
        "Fourth, if the LAST Payment is different from the others, describe it here:")));
    edSimpLastPay_ =
        Box("edSimpLastPay", QStringLiteral("0.00"),
            QStringLiteral("= Total of Payments - all other payments, as shown above."), 10);
    edSimpLastNoPd_ =
        Box("edSimpLastNoPd", QStringLiteral("0"),
            QStringLiteral("0 here only if short Last interval has Added Days >0"), 4);
    edSimpLastExtra_ = Box("edSimpLastExtra", QStringLiteral("0"),
                           QStringLiteral("Must >0 if no Common Intervals in Last Interval"), 4);
    Row({edSimpLastPay_, Label(QStringLiteral(" $ Last Payment Amt.")), edSimpLastNoPd_,
         Label(QStringLiteral("Common Intervals in Last Interval,")), edSimpLastExtra_,
         Label(QStringLiteral("Added Days in Last Interval"))});

    labSimpToP_ = Text(QString(), "labSimpToP");
    labSimpToP_->setToolTip(QStringLiteral("Recompute this by clicking on Last Payment amount."));
    labSimpToP_->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    Line(labSimpToP_);

    Line(Label(QStringLiteral(
        "Fifth, when you have the ENTIRE payment scheduled entered above, click below:")));
    // Created in the page's tab order: the result box before its button.
    edSimpAPR_ = Box("edSimpAPR", QStringLiteral("Pending"), QString(), 10);
    auto* butSimpleAPR = Button("butSimpleAPR", QStringLiteral("Compute APR"),
                                QStringLiteral("If the Schedule is complete, click here."));
    Row({butSimpleAPR, edSimpAPR_, Label(QStringLiteral("APR%"))});

    auto* butChartSimple = Button("butChartSimple", QStringLiteral("Print Amortization"));
    Row({Label(QStringLiteral("Sixth, Click here ")), butChartSimple,
         Label(QStringLiteral("or on Tab 4 to review an Amortization Chart before printing."))});

    auto* butResetSimple = Button("butResetSimple", QStringLiteral("Reset All"),
                                  QStringLiteral("Click to Start Over"));
    edStatusBar_ = new QLineEdit(this);
    edStatusBar_->setObjectName(QStringLiteral("edStatusBar"));
    edStatusBar_->setReadOnly(true);
    edStatusBar_->setToolTip(
        QStringLiteral("These Hints change as you move among data entry boxes."));
    edStatusBar_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    edStatusBar_->setText(
        QStringLiteral("As you move among white data entry boxes above, you'll find Hints and "
                       "other Information here."));
    auto* butGoTolerances2 = Button("butGoTolerances2", QStringLiteral("About APR Tolerances"));
    auto* butMax = Button("butMax", QStringLiteral("Figure a Regular Schedule"));
    Row({butResetSimple, butGoTolerances2, butMax});
    Line(edStatusBar_);

    connect(butGoTolerances2, &QPushButton::clicked, this, &RegularPage::butGoTolerances2Click);
    connect(butMax, &QPushButton::clicked, this, &RegularPage::butMaxClick);
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
    edSimpAPR_->setText(QStringLiteral("Pending"));
    rgpSimpInterval_->SetItemIndex(1);
    labSimpToP_->setText(
        QStringLiteral("Above Schedule now shows 0 Payments which Total $ 0.00, with $ 0.00 "
                       "Finance Charge"));
}

void RegularPage::butGoTolerances2Click() {
    Main().State().ScheduleSource = qv::kSourceRegular;
    Main().ShowPage(PageId::tabIntro);
}

void RegularPage::butMaxClick() {
    Main().ShowPage(PageId::tabMax);
}
