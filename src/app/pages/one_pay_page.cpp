#include "app/pages/one_pay_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/main_window.h"

OnePayPage::OnePayPage(TforMain& main) : Page(main, kId) {
    Line(Heading(QStringLiteral("APR of a One Payment Loan")));
    Line(Text(QStringLiteral(
        "Loans with a single advance and a single repayment within a year (payday or per diem "
        "loans) follow special rules: their APR comes from a count of days and a 365-day year, "
        "and the interest does not compound.")));
    edAmtFinOne_ = Box("edAmtFinOne", QStringLiteral("0.01"), QString(), 12);
    Row({edAmtFinOne_, Label(QStringLiteral("Amount Financed,"))});
    edDayOne_ = Box("edDayOne", QStringLiteral("2"), QString(), 5);
    Row({edDayOne_, Label(QStringLiteral("Number of Days in the One Pay loan's term."))});
    edPayOne_ = Box("edPayOne", QStringLiteral("0.00"), QString(), 12);
    Row({edPayOne_, Label(QStringLiteral(" $ Repayment Amt."))});
    Line(Text(QStringLiteral(
        "When counting the term, INCLUDE the repayment day & EXCLUDE the day of the advance.")));
    auto* butComputeOne = Button("butComputeOne", QStringLiteral("Compute One Pay APR"));
    auto* butPerDiemInfo = Button("butPerDiemInfo", QStringLiteral("Help on One Pay APRs"));
    Row({butComputeOne, butPerDiemInfo});
    auto* redShowOne =
        Memo("redShowOne", {QStringLiteral("Enter values for the three values required"),
                            QStringLiteral("then click [Compute APR] and look here a report.")});
    redShowOne->setMinimumHeight(redShowOne->fontMetrics().height() * 6);
    Column()->addWidget(redShowOne, 1);

    connect(butPerDiemInfo, &QPushButton::clicked, this, &OnePayPage::butPerDiemInfoClick);
}

void OnePayPage::ResetControls() {
    edAmtFinOne_->setText(QStringLiteral("0.01"));
    edPayOne_->setText(QStringLiteral("0.00"));
    edDayOne_->setText(QStringLiteral("2"));
}

void OnePayPage::butPerDiemInfoClick() {
    Main().ShowPage(PageId::tabPerDiem);
}
