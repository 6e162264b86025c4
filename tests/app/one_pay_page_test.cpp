// The one-payment loan page: its three boxes with their cross-checks, the
// report and its refusals, driven through the real widgets.
#include "app/pages/one_pay_page.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app_fixture.h"

using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

constexpr const char* kWholeMonths =
    "If the term of a one repayment loan is a\r\nwhole number of months, the lender may\r\n"
    "compute an APR on a per month basis, click\r\nthe Help on PerDiem APRs button for more.";
constexpr const char* kUnderTwoDays = "Cannot have less than 2 days involved.";
constexpr std::int32_t kUntouched = 77;

// A window showing the one-payment page, its records cleared.
struct OnePayApp : AppFixture {
    OnePayApp() {
        window->ShowPage(PageId::tabOnePay);
        window->State().loan.ScheduleSource = kUntouched;
        port->ClearRecords();
    }

    QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
    qv::LoanState& State() const { return window->State(); }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    QString Report() const { return Find<QPlainTextEdit>("redShowOne")->toPlainText(); }

    // Amount, days and repayment in the page's tab order.
    void EnterLoan(const QString& amtFin, const QString& days, const QString& pay) const {
        Enter("edAmtFinOne", amtFin);
        Enter("edDayOne", days);
        Type("edPayOne", pay);
    }
};

}  // namespace

class OnePayPageTest : public QObject {
    Q_OBJECT

  private slots:
    void reportsTheAprOfAFortnightLoan();
    void wholeMonthTermsAddAMessage_data();
    void wholeMonthTermsAddAMessage();
    void aTermOverAYearGoesToTheRegularPage();
    void repaymentBelowTheAmountIsQuestioned();
    void aTermOfOneDayStandsUntilAnotherBoxIsLeft();
    void aHandedOverTermOfNoDaysIsCorrectedOrRefused();
    void aZeroTermIsCorrectedAndNeverDividedBy();
    void aZeroAmountFinancedIsRefused();
    void badEntriesAreRefusedAndTheCrossChecksFollow();
};

void OnePayPageTest::reportsTheAprOfAFortnightLoan() {
    OnePayApp app;
    app.EnterLoan(QStringLiteral("100.00"), QStringLiteral("14"), QStringLiteral("115.00"));
    app.Click("butComputeOne");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Report(),
             QStringLiteral("$100.000 Amount Financed,\n"
                            "$115.000 Repaid 14 days after the borrowing\n"
                            "Interest earned on last day but not the first, so 14 days earning:\n"
                            "Per Diem uncompounded Interest = 391.07% per 365 day year = APR"));
    QCOMPARE(app.State().onePay.AmtFinOne, 100.0);
    QCOMPARE(app.State().onePay.PayOne, 115.0);
    QCOMPARE(app.State().onePay.DayOne, 14);
    QCOMPARE(app.State().loan.ScheduleSource, kUntouched);
    QCOMPARE(app.window->ActivePage(), PageId::tabOnePay);
}

void OnePayPageTest::wholeMonthTermsAddAMessage_data() {
    QTest::addColumn<QString>("days");
    QTest::addColumn<bool>("wholeMonths");
    QTest::newRow("30") << "30" << true;
    QTest::newRow("61") << "61" << true;
    QTest::newRow("92") << "92" << true;
    QTest::newRow("32") << "32" << false;
    QTest::newRow("365") << "365" << false;
}

void OnePayPageTest::wholeMonthTermsAddAMessage() {
    QFETCH(QString, days);
    QFETCH(bool, wholeMonths);
    OnePayApp app;
    app.EnterLoan(QStringLiteral("100"), days, QStringLiteral("110"));
    app.Click("butComputeOne");
    QVERIFY(app.Report().contains(QStringLiteral(" days after the borrowing")));
    QVERIFY(app.Report().contains(days + QStringLiteral(" days earning:")));
    QCOMPARE(app.port->messages, wholeMonths ? Messages{Info(kWholeMonths)} : Messages{});
}

void OnePayPageTest::aTermOverAYearGoesToTheRegularPage() {
    OnePayApp app;
    app.EnterLoan(QStringLiteral("100"), QStringLiteral("366"), QStringLiteral("115"));
    app.Click("butComputeOne");
    QCOMPARE(app.port->messages,
             (Messages{Info("This loan exceeds a year, so use an Annual Regular Schedule")}));
    QCOMPARE(app.window->ActivePage(), PageId::TabSimple);
    QVERIFY(app.Report().startsWith(QStringLiteral("Enter values")));
}

void OnePayPageTest::repaymentBelowTheAmountIsQuestioned() {
    OnePayApp app;
    app.EnterLoan(QStringLiteral("100"), QStringLiteral("14"), QStringLiteral("50"));
    QTest::keyClick(app.Box("edPayOne"), Qt::Key_Tab);
    QCOMPARE(app.port->messages, (Messages{Info("Repayment cannot be below Amount Financed")}));
    QCOMPARE(app.Focused(), app.Box("edPayOne"));
    // A repayment of nothing is not questioned, and still reports.
    app.port->ClearRecords();
    app.Enter("edPayOne", QStringLiteral("0"));
    QVERIFY(app.port->messages.empty());
    app.Click("butComputeOne");
    QVERIFY(app.Report().endsWith(
        QStringLiteral("Per Diem uncompounded Interest = -2,607.14% per 365 day year = APR")));
}

void OnePayPageTest::aTermOfOneDayStandsUntilAnotherBoxIsLeft() {
    OnePayApp app;
    app.Enter("edDayOne", QStringLiteral("1"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.State().onePay.DayOne, 1);
    QCOMPARE(app.Focused(), app.Box("edPayOne"));
    QTest::keyClick(app.Box("edPayOne"), Qt::Key_Tab);
    QCOMPARE(app.port->messages, (Messages{Info(kUnderTwoDays)}));
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("2"));
    QCOMPARE(app.Focused(), app.Box("edDayOne"));
    // Leaving the day box takes the corrected count.
    QTest::keyClick(app.Box("edDayOne"), Qt::Key_Tab);
    QCOMPARE(app.State().onePay.DayOne, 2);
    QCOMPARE(app.port->messages.size(), std::size_t(1));
}

void OnePayPageTest::aHandedOverTermOfNoDaysIsCorrectedOrRefused() {
    OnePayApp app;
    app.Click(app.Box("edPayOne"));
    // The regular page hands over a single payment due on the day of the
    // advance while the user was last in the repayment box.
    app.window->GetPage<OnePayPage>().TakeOnePayment(0, 100.0, 115.0);
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("0"));
    QCOMPARE(app.Text("edAmtFinOne"), QStringLiteral("100.000"));
    QCOMPARE(app.Text("edPayOne"), QStringLiteral("115.000"));
    QTest::keyClick(app.Box("edPayOne"), Qt::Key_Tab);
    QCOMPARE(app.port->messages, (Messages{Info("Oops, you must set a non-zero interval")}));
    QCOMPARE(app.Focused(), app.Box("edDayOne"));
    QCOMPARE(app.State().onePay.PayOne, 115.0);

    // Leaving the box for the button corrects the term to the 1 day shown.
    app.port->ClearRecords();
    app.Click("butComputeOne");
    QCOMPARE(app.port->messages, (Messages{Info("Cannot have term under 1 day.")}));
    QVERIFY(app.Report().contains(QStringLiteral("$115.000 Repaid 1 days after the borrowing")));

    // A term of none reached without leaving the day box is refused, not divided by.
    app.window->GetPage<OnePayPage>().TakeOnePayment(0, 100.0, 115.0);
    app.port->ClearRecords();
    app.window->GetPage<OnePayPage>().butComputeOneClick();
    QCOMPARE(app.port->messages,
             (Messages{Info("No APR computed: the term is under 1 day.\n\rEnter the Number of "
                            "Days in the loan's term.")}));
}

void OnePayPageTest::aZeroTermIsCorrectedAndNeverDividedBy() {
    OnePayApp app;
    app.Enter("edAmtFinOne", QStringLiteral("100"));
    app.Enter("edPayOne", QStringLiteral("115"));
    app.Type("edDayOne", QStringLiteral("0"));
    // The click leaves the day box first; the box then shows 1, and the
    // report is of the 1-day term shown.
    app.Click("butComputeOne");
    QCOMPARE(app.port->messages, (Messages{Info("Cannot have term under 1 day.")}));
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("1"));
    QCOMPARE(app.State().onePay.DayOne, 1);
    QVERIFY(app.Report().contains(QStringLiteral("$115.000 Repaid 1 days after the borrowing")));
}

void OnePayPageTest::aZeroAmountFinancedIsRefused() {
    OnePayApp app;
    // With the repayment box reading exactly 0 an amount of nothing passes.
    app.Enter("edPayOne", QStringLiteral("0"));
    app.Enter("edAmtFinOne", QStringLiteral("0"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.State().onePay.AmtFinOne, 0.0);
    app.Click("butComputeOne");
    QCOMPARE(app.port->messages, (Messages{Info("No APR computed: the Amount Financed is "
                                                "zero.\n\rEnter at least $.01.")}));
    QCOMPARE(app.Focused(), app.Box("edAmtFinOne"));
    QVERIFY(app.Report().startsWith(QStringLiteral("Enter values")));

    // Otherwise an amount of nothing is refused as it is left.
    app.port->ClearRecords();
    app.Box("edPayOne")->setText(QStringLiteral("0.00"));
    app.Enter("edAmtFinOne", QStringLiteral("0.00"));
    QCOMPARE(app.port->messages,
             (Messages{Info("You cannot have zero $ Amount Financed !\n\rTo Reset All, first "
                            "enter at least $.01.")}));
    QCOMPARE(app.Focused(), app.Box("edAmtFinOne"));
}

void OnePayPageTest::badEntriesAreRefusedAndTheCrossChecksFollow() {
    OnePayApp app;
    app.Enter("edAmtFinOne", QStringLiteral("1l00"));
    QCOMPARE(app.port->messages,
             (Messages{Info("Amount Financed contains Lowercase L , not part of a positive "
                            "decimal number !\n\rResetting input value of 1")}));
    QCOMPARE(app.Text("edAmtFinOne"), QStringLiteral("0.00"));
    QCOMPARE(app.State().onePay.AmtFinOne, 0.0);
    QCOMPARE(app.Focused(), app.Box("edAmtFinOne"));

    app.port->ClearRecords();
    app.Enter("edAmtFinOne", QStringLiteral("100"));
    app.Enter("edDayOne", QStringLiteral("2.5"));
    QCOMPARE(app.port->messages,
             (Messages{Info("Error: Day Count contains . , not part of a positive whole number "
                            "!\n\rResetting input value of 2"),
                       Info(kUnderTwoDays)}));
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("2"));
    QCOMPARE(app.Focused(), app.Box("edDayOne"));

    app.port->ClearRecords();
    app.Enter("edPayOne", QStringLiteral("$1,150"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Text("edPayOne"), QStringLiteral("1150"));
    QCOMPARE(app.State().onePay.PayOne, 1150.0);
}

QTEST_MAIN(OnePayPageTest)
#include "one_pay_page_test.moc"
