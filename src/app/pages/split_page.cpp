#include "app/pages/split_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/not_built_yet.h"
#include "app/radio_group.h"
#include "app/session.h"

SplitPage::SplitPage(Session& app) : Page(app, kId) {
    Line(Text(QStringLiteral(
        "Enter debt parameters, then click on type of Fitted Amortization you desire.")));
    rgpSplitPd_ = Radio(
        "rgpSplitPd",
        QStringLiteral("First, enter the basic information, Starting with the MOST COMMON interval "
                       "in the Payment Schedule (*nominal duration):"),
        {QStringLiteral("Annually (1/a,365 days)"), QStringLiteral("Monthly (12/a,30* days)"),
         QStringLiteral("Half Month (24/a,15* days)"), QStringLiteral("TwoWeeks (26+/a,14 days)"),
         QStringLiteral("Weekly (52/a,7 days)")},
        3, QStringLiteral("Which Interval appears most often in the Payment Schedule."));
    Line(rgpSplitPd_);

    const QString anyAmount = QStringLiteral("Any amount >0 and <= Total of Payments.");
    edSplitAmtFin_ =
        Box("edSplitAmtFin", QStringLiteral("0.00"),
            QStringLiteral("compare Amount Financed excludes the Finance Charge."), 12);
    edSplitPayCount_ =
        Box("edSplitPayCount", QStringLiteral("0"), QStringLiteral("Positive Integer > 0"), 4);
    edSplitRegPay_ =
        Box("edSplitRegPay", QStringLiteral("0.00"),
            QStringLiteral("Only 1st and Last Payment may differ from this amount."), 10);
    Row({edSplitAmtFin_, Label(QStringLiteral("$ Principal borrowed w/")), edSplitPayCount_,
         Label(QStringLiteral("repayments; the most common amount is $")), edSplitRegPay_});

    Line(Text(QStringLiteral(
        "Second, change the entries below ONLY IF the First Payment is incorrectly described:")));
    edSplit1stPay_ = Box("edSplit1stPay", QStringLiteral("0.00"), anyAmount, 10);
    edSplit1stNoPd_ = Box("edSplit1stNoPd", QStringLiteral("0"),
                          QStringLiteral("only 0 if there are Added Days"), 4);
    edSplit1stExtra_ = Box("edSplit1stExtra", QStringLiteral("0"),
                           QStringLiteral("Must >0 if 1st Full Interval = 0"), 4);
    Row({edSplit1stPay_, Label(QStringLiteral(" $ 1st Payment,")), edSplit1stNoPd_,
         Label(QStringLiteral("Common Intervals +")), edSplit1stExtra_,
         Label(QStringLiteral("Added Days before it."))});

    Line(Text(QStringLiteral(
        "Third, change the entries below ONLY IF the Last Payment is incorrectly described:")));
    edSplitlastPay_ =
        Box("edSplitlastPay", QStringLiteral("0.00"),
            QStringLiteral("= Total of Payments - all other payments, as shown above."), 10);
    edSplitlastNoPd_ = Box("edSplitlastNoPd", QStringLiteral("0"),
                           QStringLiteral("0 only if Last Interval Added Days >0"), 4);
    edSplitlastExtra_ = Box("edSplitlastExtra", QStringLiteral("0"),
                            QStringLiteral("Must >0 if no Common Intervals in Last Interval"), 4);
    Row({edSplitlastPay_, Label(QStringLiteral(" $ Last Payment,")), edSplitlastNoPd_,
         Label(QStringLiteral("Common Intervals +")), edSplitlastExtra_,
         Label(QStringLiteral("Added Days before it."))});

    QLabel* warning = Text(QStringLiteral(
        "Rates below are PER COMMON INTERVAL, Not  Annual or APRs. Use Tab 2 or 3 for APRs."));
    warning->setStyleSheet(QStringLiteral("color: red;"));
    Line(warning);
    Line(
        Text(QStringLiteral("Fourth, describe each step in the Split Rate structure applicable "
                            "here (* cap ignored at top step):")));
    const std::array<const char*, 4> rateNames{"edRate1", "edRate2", "edRate3", "edRate4"};
    const std::array<const char*, 4> capNames{"edCap1", "edCap2", "edCap3", "edCap4"};
    const std::array<QString, 4> middles{
        QStringLiteral("% / Common Interval,     1st Step capped at $"),
        QStringLiteral("% / Common Interval,    2nd Step capped at $"),
        QStringLiteral("% / Common Interval,    3rd Step capped at $"),
        QStringLiteral("% / Common Interval,    4th Step capped at $")};
    const std::array<QString, 4> ends{
        QStringLiteral("*, where 2nd Step begins."), QStringLiteral("*, where 3rd Step begins."),
        QStringLiteral("*, where 4th Step begins."), QStringLiteral("*")};
    for (std::size_t i = 0; i < 4; ++i) {
        edRate_[i] = Box(rateNames[i], QStringLiteral("0.00"), anyAmount, 8);
        edCap_[i] = Box(capNames[i], QStringLiteral("0.00"), anyAmount, 12);
        Row({edRate_[i], Label(middles[i]), edCap_[i], Label(ends[i])});
    }

    Line(Text(QStringLiteral("Fifth, change ONLY the following entries that are incorrect:")));
    Line(Text(QStringLiteral("Sixth, select the computation button below:")));
    auto* butJust = Button("butJust", QStringLiteral("Just Amortize"));
    auto* butSplitRegPay = Button("butSplitRegPay", QStringLiteral("Match Common Payment : Rates"));
    auto* butSplitPrincipal =
        Button("butSplitPrincipal", QStringLiteral("Match Principal : Rates"));
    Row({butJust, butSplitRegPay, butSplitPrincipal});
    auto* butSplitChart = Button("butSplitChart", QStringLiteral("Review Chart"));
    auto* butSplitReset = Button("butSplitReset", QStringLiteral("Reset All"));
    auto* butSplitPrint = Button("butSplitPrint", QStringLiteral("Print Chart"));
    auto* butMyTest = Button("butMyTest", QStringLiteral("Load Test Data"));
    butMyTest->setVisible(false);
    NotBuiltYet(
        {butJust, butSplitRegPay, butSplitPrincipal, butSplitChart, butSplitReset, butSplitPrint},
        session().Port());
    Row({Label(QStringLiteral("Seventh, go to Tab 4 or click below:")), butSplitChart,
         butSplitReset, butSplitPrint, butMyTest});

    edSplitInterest_ = Box("edSplitInterest", QStringLiteral("Pending"), anyAmount, 12);
    edFinal_ = Box("edFinal", QStringLiteral("Pending"), anyAmount, 12);
    edSplitInterest_->setReadOnly(true);
    edFinal_->setReadOnly(true);
    Row({Label(QStringLiteral("Computed Interest is ")), edSplitInterest_,
         Label(QStringLiteral("Final Balance is")), edFinal_});
}

void SplitPage::ResetControls() {
    for (QLineEdit* box : {edSplitAmtFin_, edSplitRegPay_, edSplit1stPay_, edSplitlastPay_}) {
        box->setText(QStringLiteral("0.00"));
    }
    for (QLineEdit* box : {edSplitPayCount_, edSplit1stNoPd_, edSplitlastNoPd_, edSplit1stExtra_,
                           edSplitlastExtra_}) {
        box->setText(QStringLiteral("0"));
    }
    for (QLineEdit* box : edRate_) box->setText(QStringLiteral("0.0"));
    for (QLineEdit* box : edCap_) box->setText(QStringLiteral("0.00"));
    edSplitInterest_->setText(QStringLiteral("Pending"));
    edFinal_->setText(QStringLiteral("Pending"));
    rgpSplitPd_->SetItemIndex(1);
}
