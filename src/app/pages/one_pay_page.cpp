#include "app/pages/one_pay_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "base/format.h"
#include "base/number_entry.h"
#include "onepay/one_payment.h"

namespace {

const QStringList kStartReport{QStringLiteral("Enter values for the three values required"),
                               QStringLiteral("then click [Compute APR] and look here a report.")};

QString Pad2Text(double value) {
    std::string text;
    qv::Pad2(text, value);
    return Q(text);
}

}  // namespace

OnePayPage::OnePayPage(Session& app) : Page(app, kId) {
    Line(Heading(QStringLiteral("APR of a One Payment Loan")));
    Line(Text(QStringLiteral(
        "Loans with a single advance and a single repayment within a year (payday or per diem "
        "loans) follow special rules: their APR comes from a count of days and a 365-day year, "
        "and the interest does not compound.")));
    edAmtFinOne_ = Box("edAmtFinOne", QStringLiteral("0.01"), QString(), 12);
    QLabel* amtFinLabel = Label(QStringLiteral("Amount Financed,"));
    Row({edAmtFinOne_, amtFinLabel});
    TieLabel(amtFinLabel, edAmtFinOne_);
    edDayOne_ = Box("edDayOne", QStringLiteral("2"), QString(), 5);
    QLabel* daysLabel = Label(QStringLiteral("Number of Days in the One Pay loan's term."));
    Row({edDayOne_, daysLabel});
    TieLabel(daysLabel, edDayOne_);
    edPayOne_ = Box("edPayOne", QStringLiteral("0.00"), QString(), 12);
    QLabel* payLabel = Label(QStringLiteral(" $ Repayment Amt."));
    Row({edPayOne_, payLabel});
    TieLabel(payLabel, edPayOne_);
    Line(Text(QStringLiteral(
        "When counting the term, INCLUDE the repayment day & EXCLUDE the day of the advance.")));
    auto* butComputeOne = Button("butComputeOne", QStringLiteral("Compute One Pay APR"));
    auto* butPerDiemInfo = Button("butPerDiemInfo", QStringLiteral("Help on One Pay APRs"));
    Row({butComputeOne, butPerDiemInfo});
    redShowOne_ = Memo("redShowOne", kStartReport);
    redShowOne_->setReadOnly(true);
    redShowOne_->setMinimumHeight(redShowOne_->fontMetrics().height() * 6);
    NameControl(redShowOne_, QStringLiteral("One payment loan report"));
    Column()->addWidget(redShowOne_, 1);

    // The report belongs to the three values it was computed from.
    for (QLineEdit* input : {edAmtFinOne_, edDayOne_, edPayOne_}) {
        connect(input, &QLineEdit::textEdited, this, &OnePayPage::ReportPending);
    }

    connect(butComputeOne, &QPushButton::clicked, this, &OnePayPage::butComputeOneClick);
    connect(butPerDiemInfo, &QPushButton::clicked, this, &OnePayPage::butPerDiemInfoClick);

    OnExit(edAmtFinOne_, &OnePayPage::edAmtFinOneExit);
    OnExit(edDayOne_, &OnePayPage::edDayOneExit);
    OnExit(edPayOne_, &OnePayPage::edPayOneExit);
    connect(&session().Regular(), &RegularInputs::OnePaymentHandedOver, this,
            &OnePayPage::TakeOnePayment);
}

void OnePayPage::ResetControls() {
    edAmtFinOne_->setText(QStringLiteral("0.01"));
    edPayOne_->setText(QStringLiteral("0.00"));
    edDayOne_->setText(QStringLiteral("2"));
    ReportPending();
}

void OnePayPage::ReportPending() {
    redShowOne_->setPlainText(kStartReport.join(QLatin1Char('\n')));
}

void OnePayPage::TakeOnePayment(std::int32_t days, double amtFin, double repayment) {
    qv::LoanState& s = session().State();
    s.onePay.DayOne = days;
    edDayOne_->setText(QString::number(days));
    s.onePay.AmtFinOne = amtFin;
    edAmtFinOne_->setText(Pad2Text(amtFin));
    s.onePay.PayOne = repayment;
    edPayOne_->setText(Pad2Text(repayment));
    ReportPending();
}

// --- helpers -----------------------------------------------------------------

void OnePayPage::OnExit(QWidget* control, void (OnePayPage::*handler)()) {
    Focus().OnExit(control, [this, handler] { (this->*handler)(); });
}

bool OnePayPage::CheckAmount(QLineEdit* box, const char* name, double& target) {
    return TakeEntry(box, qv::ValidateFloat2(name, TextOf(box)), target, session().Port());
}

void OnePayPage::Inform(std::string_view text) {
    session().Port().Inform(text);
}

// --- exit handlers -------------------------------------------------------------

void OnePayPage::edAmtFinOneExit() {
    qv::LoanState& s = session().State();
    if (!CheckAmount(edAmtFinOne_, "Amount Financed", s.onePay.AmtFinOne)) return;
    if (s.onePay.AmtFinOne < 0.01 && edPayOne_->text() != QLatin1String("0")) {
        Inform(qv::kOneZeroAmountText);
        FocusForTyping(edAmtFinOne_);
        return;
    }
    UpdateOneSummary();
}

void OnePayPage::edPayOneExit() {
    if (!CheckAmount(edPayOne_, "Repayment", session().State().onePay.PayOne)) return;
    if (edDayOne_->text() == QLatin1String("0")) {
        Inform(qv::kOneNoIntervalText);
        FocusForTyping(edDayOne_);
        return;
    }
    UpdateOneSummary();
}

void OnePayPage::edDayOneExit() {
    qv::LoanState& s = session().State();
    if (!TakeEntry(edDayOne_, qv::ValidateInteger2("Day Count", TextOf(edDayOne_)), s.onePay.DayOne,
                   session().Port())) {
        UpdateOneSummary();
        return;
    }
    // A day count of 1 stands; the two-day floor is the cross-checks' rule.
    // The term computed with is the one the box is corrected to show.
    if (s.onePay.DayOne < 1) {
        edDayOne_->setText(QStringLiteral("1"));
        s.onePay.DayOne = 1;
        Inform(qv::kOneTermUnderOneDayText);
    }
}

void OnePayPage::UpdateOneSummary() {
    const qv::LoanState& s = session().State();
    if (s.onePay.AmtFinOne > s.onePay.PayOne && s.onePay.PayOne > 0) {
        Inform(qv::kOneRepaymentBelowText);
        FocusForTyping(edPayOne_);
    }
    if (s.onePay.DayOne < 2) {
        edDayOne_->setText(QStringLiteral("2"));
        Inform(qv::kOneUnderTwoDaysText);
        FocusForTyping(edDayOne_);
    }
}

// --- commands ------------------------------------------------------------------

void OnePayPage::butComputeOneClick() {
    const qv::LoanState& s = session().State();
    const qv::OnePaymentReport report =
        qv::ComputeOnePayment(s.onePay.AmtFinOne, s.onePay.PayOne, s.onePay.DayOne);
    switch (report.outcome) {
        case qv::OnePaymentOutcome::OverAYear:
            Inform(qv::kOneOverAYearText);
            session().ShowPage(PageId::TabSimple);
            return;
        case qv::OnePaymentOutcome::NoTerm:
            Inform(qv::kOneNoTermText);
            FocusForTyping(edDayOne_);
            return;
        case qv::OnePaymentOutcome::NoAmountFinanced:
            Inform(qv::kOneNoAmountText);
            FocusForTyping(edAmtFinOne_);
            return;
        case qv::OnePaymentOutcome::Computed:
            break;
    }
    QStringList lines;
    for (const std::string& line : report.lines) lines << Q(line);
    redShowOne_->setPlainText(lines.join(QLatin1Char('\n')));
    AnnounceResult(redShowOne_, lines.join(QLatin1Char(' ')).simplified());
    if (report.wholeMonths) Inform(qv::kOneWholeMonthsText);
}

void OnePayPage::butPerDiemInfoClick() {
    session().ShowPage(PageId::tabPerDiem);
}
