// The regular-schedule page: its boxes and their exit rules, the summary,
// the interval group, "Compute APR" with its routing, and Reset, driven
// through the real widgets.
#include "app/pages/regular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/pages/chart_page.h"
#include "app/radio_group.h"
#include "app_fixture.h"
#include "data/memdset.h"

using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

constexpr const char* kZeroAmount =
    "With Payments you cannot have zero $ Amount Financed !\n\rTo Reset All, first enter at "
    "least $.01.";
constexpr const char* kNoDuration = "You have payments with no duration!";
constexpr std::int32_t kUntouched = 77;

// A window showing the regular page, its records cleared.
struct RegularApp : AppFixture {
    RegularApp() {
        window->ShowPage(PageId::TabSimple);
        port->ClearRecords();
    }

    QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
    RegularPage& Page() const { return window->GetPage<RegularPage>(); }
    qv::LoanState& State() const { return window->State(); }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    QString Summary() const { return Find<QLabel>("labSimpToP")->text(); }

    // The three main values, left one after the other.
    void EnterLoan(const QString& amtFin, const QString& count, const QString& pay) const {
        Enter("edSimpAmtFin", amtFin);
        Enter("edSimpInnerNoPay", count);
        Enter("edSimpRegPay", pay);
    }

    // (SetSize, PaySize, PriorPds, AddDays) of every group in Sequence order.
    QList<QList<double>> Groups() const {
        QList<QList<double>> out;
        qv::TMemDataSet& t = window->Schedule().PaySet();
        int sequence = 0;
        for (t.MoveFirst(); !t.AtEnd(); t.MoveNext()) {
            if (t.FieldAsInteger("Sequence") != ++sequence) return {};
            out.append({double(t.FieldAsInteger("SetSize")), t.FieldAsFloat("PaySize"),
                        double(t.FieldAsInteger("PriorPds")), double(t.FieldAsInteger("AddDays"))});
        }
        return out;
    }
};

}  // namespace

class RegularPageTest : public QObject {
    Q_OBJECT

  private slots:
    void thirtySixMonthlyPaymentsOfAHundred();
    void statusLineFollowsTheFocus();
    void tabOrderAndHints();
    void firstIntervalOfFortyFiveDaysIsCarried();
    void lastIntervalOfAFullPeriodIsCarried();
    void twoPaymentsHaveNoInnerGroup();
    void commonPaymentRefusals_data();
    void commonPaymentRefusals();
    void entryChecksRefuseAndPutTheFocusBack_data();
    void entryChecksRefuseAndPutTheFocusBack();
    void firstAndLastIntervalRules();
    void aRefusedBoxDoesNotRunTheNextBoxesExit();
    void moreThan485PaymentsAreRefusedThenCorrected();
    void oneMonthlyPaymentGoesToTheOnePaymentPage();
    void oneYearlyPaymentOver365DaysIsPerDiem();
    void theEngineRefusingShowsInputErrorInBothBoxes();
    void computeOnAnEmptyPageRefusesSoundly();
    void intervalGroupSetsTheUnitPeriodAndTheIrregularGroup();
    void computeUsesTheIntervalThisPageShows();
    void resetAllRestoresStartTexts();
    void printAmortizationChartsTheComputedScheduleThenPrints();
};

void RegularPageTest::thirtySixMonthlyPaymentsOfAHundred() {
    RegularApp app;
    app.State().loan.ScheduleSource = kUntouched;
    app.EnterLoan(QStringLiteral("3,000.00"), QStringLiteral("36"), QStringLiteral("100.00"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Text("edSimpAmtFin"), QStringLiteral("3000.00"));
    QCOMPARE(app.Text("edSimp1stPay"), QStringLiteral("100"));
    QCOMPARE(app.Text("edSimp1stNoPd"), QStringLiteral("1"));
    QCOMPARE(app.Text("edSimp1stExtra"), QStringLiteral("0"));
    QCOMPARE(app.Text("edSimpLastPay"), QStringLiteral("100"));
    QCOMPARE(app.Text("edSimpLastNoPd"), QStringLiteral("1"));
    QCOMPARE(app.Text("edSimpLastExtra"), QStringLiteral("0"));
    QCOMPARE(app.Summary(), QStringLiteral("Above schedule has 36 Payments Totalling $3,600.00 w/ "
                                           "$600.00 Finance Charge"));
    QCOMPARE(app.State().loan.PayCount, 36);
    QCOMPARE(app.State().loan.TotPay, qv::DollarsToCurrency(3600.0));
    QCOMPARE(app.State().loan.AmtFin, 3000.0);
    QCOMPARE(app.State().regular.RegPay, 100.0);

    // Groups left over from another page are replaced.
    app.window->Schedule().PaySet().AppendNew();
    app.window->Schedule().PaySet().SetFieldInteger("Sequence", 9);
    app.window->Schedule().PaySet().Post();
    app.Click("butSimpleAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Groups(), (QList<QList<double>>{{1, 100, 1, 0}, {34, 100, 1, 0}, {1, 100, 1, 0}}));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("12.249%"));
    QCOMPARE(app.State().loan.APR, 12.249);
    QCOMPARE(app.State().loan.ScheduleSource, qv::kSourceRegular);
    QCOMPARE(app.State().loan.PerDiem, false);
    const qv::ChartText chart = app.window->Chart().Lines();
    QVERIFY(!chart.empty());
    QCOMPARE(chart.front(), std::string("APR evaluated by Quorvane version 0.9992"));
    QCOMPARE(chart.back(), std::string("Estimated APR = 12.249%"));
    QCOMPARE(app.window->ActivePage(), PageId::TabSimple);
}

void RegularPageTest::statusLineFollowsTheFocus() {
    RegularApp app;
    // Showing the page put the focus into its first box.
    QCOMPARE(app.Focused(), app.Box("edSimpAmtFin"));
    QCOMPARE(app.Text("edStatusBar"),
             QStringLiteral("Amount Financed is the principal paid at loan commencement. Hit the "
                            "TAB button to move to the next entry point."));
    QCOMPARE(app.Box("edStatusBar")->cursorPosition(), 0);  // read from its start
    app.Click(app.Box("edSimpInnerNoPay"));
    QCOMPARE(app.Text("edStatusBar"),
             QStringLiteral("Enter the Total Number of Payments scheduled."));
    QTest::keyClick(app.Box("edSimpInnerNoPay"), Qt::Key_Tab);
    QCOMPARE(app.Text("edStatusBar"),
             QStringLiteral("Enter the dollar size of the Most Common Payment amount."));
    app.Click(app.Find<RadioGroup>("rgpSimpInterval")->Item(2));
    QCOMPARE(app.Text("edStatusBar"),
             QStringLiteral("If there is no repeating interval, use Tab 2."));
    app.Click(app.Box("edSimp1stExtra"));
    QCOMPARE(app.Text("edStatusBar"), QStringLiteral("If the first interval is zero Regular "
                                                     "periods long, this entry must be >0."));

    // Coming to the last payment also brings the summary up to date.
    app.Box("edSimpInnerNoPay")->setText(QStringLiteral("3"));
    app.Box("edSimp1stPay")->setText(QStringLiteral("10"));
    app.Box("edSimpRegPay")->setText(QStringLiteral("20"));
    app.Box("edSimpLastPay")->setText(QStringLiteral("30"));
    app.Click(app.Box("edSimpLastPay"));
    QCOMPARE(app.Text("edStatusBar"),
             QStringLiteral("The last payment maybe much larger than the regular payment "
                            "amount."));
    QCOMPARE(app.Summary(), QStringLiteral("Above schedule has 3 Payments Totalling $60.00 w/ "
                                           "$60.00 Finance Charge"));
    QVERIFY(app.port->messages.empty());
}

void RegularPageTest::tabOrderAndHints() {
    RegularApp app;
    QCOMPARE(app.TabWalk(17),
             (QStringList{"edSimpAmtFin", "edSimpInnerNoPay", "edSimpRegPay", "rgpSimpInterval",
                          "edSimp1stPay", "edSimp1stNoPd", "edSimp1stExtra", "edSimpLastPay",
                          "edSimpLastNoPd", "edSimpLastExtra", "edSimpAPR", "butSimpleAPR",
                          "butChartSimple", "butResetSimple", "edStatusBar", "butGoTolerances2",
                          "butMax"}));
    // Tabbing through the empty page only notes the last interval of no days.
    QCOMPARE(app.port->messages, (Messages{Info("Note: Number of Extra Days must be > 0 !")}));

    const std::pair<const char*, const char*> hints[] = {
        {"edSimpAmtFin", "Amount Financed excludes the Finance Charge."},
        {"edSimpInnerNoPay", "Positive Integer > 0"},
        {"edSimpRegPay", "Only 1st and Last Payment may differ from this amount."},
        {"rgpSimpInterval", "Which Interval appears most often in the Payment Schedule."},
        {"edSimp1stPay", "Any amount >0 and <= Total of Payments."},
        {"edSimp1stNoPd", "0 here only if short 1st Interval has Added Days > 0"},
        {"edSimp1stExtra", "Must >0 if 1st Full Interval = 0"},
        {"edSimpLastPay", "= Total of Payments - all other payments, as shown above."},
        {"edSimpLastNoPd", "0 here only if short Last interval has Added Days >0"},
        {"edSimpLastExtra", "Must >0 if no Common Intervals in Last Interval"},
        {"butSimpleAPR", "If the Schedule is complete, click here."},
        {"butResetSimple", "Click to Start Over"},
        {"edStatusBar", "These Hints change as you move among data entry boxes."},
        {"labSimpToP", "Recompute this by clicking on Last Payment amount."},
    };
    for (const auto& [name, hint] : hints) {
        QCOMPARE(app.Find<QWidget>(name)->toolTip(), QString::fromLatin1(hint));
    }
}

void RegularPageTest::firstIntervalOfFortyFiveDaysIsCarried() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    app.Enter("edSimp1stNoPd", QStringLiteral("0"));
    QCOMPARE(app.port->messages,
             (Messages{Info("With zero Common Periods, Extra Days must > 0 !")}));
    QCOMPARE(app.Focused(), app.Box("edSimp1stExtra"));
    QCOMPARE(app.State().regular.FirstPds, 0);

    app.Enter("edSimp1stExtra", QStringLiteral("45"));
    QCOMPARE(app.port->messages,
             (Messages{Info("With zero Common Periods, Extra Days must > 0 !"),
                       Info("Revise First Common Period count, as Extra Days cannot > = 30")}));
    QCOMPARE(app.Text("edSimp1stNoPd"), QStringLiteral("1"));
    QCOMPARE(app.Text("edSimp1stExtra"), QStringLiteral("15"));
    QCOMPARE(app.State().regular.FirstExtra, 15);

    app.port->ClearRecords();
    app.Click("butSimpleAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Groups().front(), (QList<double>{1, 100, 1, 15}));
    // The computation takes the carried period count, as the box shows it.
    QCOMPARE(app.State().regular.FirstPds, 1);
    QVERIFY(app.Text("edSimpAPR").endsWith(QLatin1Char('%')));
}

void RegularPageTest::lastIntervalOfAFullPeriodIsCarried() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    app.Enter("edSimpLastExtra", QStringLiteral("30"));
    QCOMPARE(app.port->messages,
             (Messages{Info("Revised Common Period count, as Extra Days cannot > = 30")}));
    QCOMPARE(app.Text("edSimpLastNoPd"), QStringLiteral("2"));
    QCOMPARE(app.Text("edSimpLastExtra"), QStringLiteral("0"));
    QCOMPARE(app.State().regular.LastExtra, 0);
    // 29 days stay as they are.
    app.port->ClearRecords();
    app.Enter("edSimpLastExtra", QStringLiteral("29"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Text("edSimpLastNoPd"), QStringLiteral("2"));
    QCOMPARE(app.Text("edSimpLastExtra"), QStringLiteral("29"));
}

void RegularPageTest::twoPaymentsHaveNoInnerGroup() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("190"), QStringLiteral("2"), QStringLiteral("100"));
    app.Enter("edSimpLastPay", QStringLiteral("105.5"));
    QCOMPARE(app.Summary(), QStringLiteral("Above schedule has 2 Payments Totalling $205.50 w/ "
                                           "$15.50 Finance Charge"));
    app.Click("butSimpleAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Groups(), (QList<QList<double>>{{1, 100, 1, 0}, {1, 105.5, 1, 0}}));
    QCOMPARE(app.State().loan.TotPay, qv::DollarsToCurrency(205.5));
    QCOMPARE(app.State().regular.LastPay, 105.5);
}

void RegularPageTest::commonPaymentRefusals_data() {
    QTest::addColumn<QString>("amtFin");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("pay");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no payments") << "3000"
                                 << "0"
                                 << "100"
                                 << "You cannot have zero payments of $100.00\n\rTo Reset, first "
                                    "enter 1 here."
                                 << "edSimpInnerNoPay";
    QTest::newRow("payments of zero") << "3000"
                                      << "36"
                                      << "0"
                                      << "You cannot have 36 payments of $ zero !\n\rTo Reset, "
                                         "first enter $.01 here."
                                      << "edSimpRegPay";
    QTest::newRow("no amount financed") << "0"
                                        << "36"
                                        << "100" << kZeroAmount << "edSimpAmtFin";
    QTest::newRow("amount over total") << "5000"
                                       << "36"
                                       << "100"
                                       << "Amount Financed cannot > Total of Payments!\n\rTo "
                                          "Reset, first enter 1 here."
                                       << "edSimpAmtFin";
}

void RegularPageTest::commonPaymentRefusals() {
    QFETCH(QString, amtFin);
    QFETCH(QString, count);
    QFETCH(QString, pay);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    RegularApp app;
    // The main values are set as the boxes would hold them, so that only the
    // common payment box's rules speak.
    app.Box("edSimpAmtFin")->setText(amtFin);
    app.State().loan.AmtFin = amtFin.toDouble();
    app.Box("edSimpInnerNoPay")->setText(count);
    app.State().loan.PayCount = count.toInt();
    app.Type("edSimpRegPay", pay);
    app.port->ClearRecords();
    const QString summary = app.Summary();
    QTest::keyClick(app.Box("edSimpRegPay"), Qt::Key_Tab);
    QCOMPARE(app.port->messages.size(), std::size_t(1));
    QCOMPARE(app.port->messages[0].kind, MessageKind::Information);
    QCOMPARE(QString::fromStdString(app.port->messages[0].text), message);
    QCOMPARE(app.Focused(), app.Box(qPrintable(focus)));
    // No defaults are filled in and the summary is left alone.
    QCOMPARE(app.Text("edSimp1stPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edSimp1stNoPd"), QStringLiteral("0"));
    QCOMPARE(app.Summary(), summary);
}

void RegularPageTest::entryChecksRefuseAndPutTheFocusBack_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("boxAfter");
    QTest::newRow("amount") << "edSimpAmtFin"
                            << "1,000.5.0"
                            << "Amount Financed has multiple decimals!\n\rResetting input value "
                               "of 1000.5."
                            << "0.00";
    QTest::newRow("count") << "edSimpInnerNoPay"
                           << "2.5"
                           << "Error: Number of Payments contains . , not part of a positive "
                              "whole number !\n\rResetting input value of 2"
                           << "0";
    QTest::newRow("common") << "edSimpRegPay"
                            << "1l00"
                            << "Payment Amount contains Lowercase L , not part of a positive "
                               "decimal number !\n\rResetting input value of 1"
                            << "0.00";
    QTest::newRow("first") << "edSimp1stPay"
                           << "-5"
                           << "First Payment contains - , not part of a positive decimal "
                              "number !\n\rResetting input value of "
                           << "0.00";
    QTest::newRow("first periods") << "edSimp1stNoPd"
                                   << "O"
                                   << "Error: First Number of Common Periods contains Capital o "
                                      ", not part of a positive whole number !\n\rResetting "
                                      "input value of "
                                   << "0";
    QTest::newRow("first days") << "edSimp1stExtra"
                                << "1 5"
                                << "Error: First Number of Extra Days contains   , not part of "
                                   "a positive whole number !\n\rResetting input value of 1"
                                << "0";
    QTest::newRow("last") << "edSimpLastPay"
                          << ""
                          << "Last Payment is not numeric !\n\rResetting input value of "
                          << "0.00";
    QTest::newRow("last periods") << "edSimpLastNoPd"
                                  << "x"
                                  << "Error: Last Number of Common Periods contains x , not part "
                                     "of a positive whole number !\n\rResetting input value of "
                                  << "0";
    QTest::newRow("last days") << "edSimpLastExtra"
                               << "99999999999"
                               << "Error: Last Number of Extra Days is too large !\n\rResetting "
                                  "input value of 99999999999"
                               << "0";
}

void RegularPageTest::entryChecksRefuseAndPutTheFocusBack() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, boxAfter);
    RegularApp app;
    app.Type(qPrintable(box), typed);
    app.port->ClearRecords();
    auto* summary = app.Find<QLabel>("labSimpToP");
    summary->setText(QStringLiteral("untouched"));
    QTest::keyClick(app.Box(qPrintable(box)), Qt::Key_Tab);
    QCOMPARE(app.port->messages.size(), std::size_t(1));
    QCOMPARE(app.port->messages[0].kind, MessageKind::Information);
    QCOMPARE(QString::fromStdString(app.port->messages[0].text), message);
    QCOMPARE(app.Text(qPrintable(box)), boxAfter);
    QCOMPARE(app.Focused(), app.Box(qPrintable(box)));
    // Nothing further happened, but the summary counts the boxes as they now read.
    QCOMPARE(
        summary->text(),
        QStringLiteral("Above schedule has 0 Payments Totalling $0.00 w/ $0.00 Finance Charge"));
}

void RegularPageTest::firstAndLastIntervalRules() {
    RegularApp app;
    // A first payment needs an interval before it.
    app.Enter("edSimp1stPay", QStringLiteral("50"));
    QCOMPARE(app.port->messages, (Messages{Info("Oops, you must set a non-zero interval")}));
    QCOMPARE(app.Focused(), app.Box("edSimp1stNoPd"));
    QCOMPARE(app.State().regular.FirstPay, 50.0);

    // Zero last periods with zero days: a note, and the summary all the same.
    app.Enter("edSimp1stNoPd", QStringLiteral("1"));
    app.EnterLoan(QStringLiteral("40"), QStringLiteral("2"), QStringLiteral("25"));
    QCOMPARE(app.Text("edSimp1stPay"), QStringLiteral("50"));  // a first payment stays
    QCOMPARE(app.Text("edSimpLastPay"), QStringLiteral("25"));
    app.port->ClearRecords();
    app.Enter("edSimpLastNoPd", QStringLiteral("0"));
    QCOMPARE(app.port->messages, (Messages{Info("Note: Number of Extra Days must be > 0 !")}));
    QCOMPARE(app.Focused(), app.Box("edSimpLastExtra"));
    QCOMPARE(app.Summary(), QStringLiteral("Above schedule has 2 Payments Totalling $75.00 w/ "
                                           "$35.00 Finance Charge"));

    // With days, zero periods pass.
    app.port->ClearRecords();
    app.Box("edSimp1stExtra")->setText(QStringLiteral("12"));
    app.Enter("edSimp1stNoPd", QStringLiteral("0"));
    QVERIFY(app.port->messages.empty());
}

void RegularPageTest::aRefusedBoxDoesNotRunTheNextBoxesExit() {
    RegularApp app;
    // The next box holds text its own check would refuse; it is only passed
    // through on the way back, so it must not speak.
    app.Box("edSimpInnerNoPay")->setText(QStringLiteral("x"));
    app.Type("edSimpAmtFin", QStringLiteral("abc"));
    QTest::keyClick(app.Box("edSimpAmtFin"), Qt::Key_Tab);
    QCOMPARE(app.port->messages.size(), std::size_t(1));
    QCOMPARE(app.port->messages[0].text,
             std::string("Amount Financed contains a , not part of a positive decimal number "
                         "!\n\rResetting input value of "));
    QCOMPARE(app.Focused(), app.Box("edSimpAmtFin"));
    QCOMPARE(app.Text("edSimpInnerNoPay"), QStringLiteral("x"));
}

void RegularPageTest::moreThan485PaymentsAreRefusedThenCorrected() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("3000"), QStringLiteral("486"), QStringLiteral("100"));
    app.port->ClearRecords();
    app.State().loan.ScheduleSource = kUntouched;
    app.Click("butSimpleAPR");
    QCOMPARE(app.port->messages,
             (Messages{Info("Warning: No more than 485 scheduled Payments allowed!"),
                       Warn(kNoDuration)}));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.State().loan.ScheduleSource, qv::kSourceRegular);
    QCOMPARE(app.window->Schedule().PaySet().Count(), 0);  // nothing was built

    app.port->ClearRecords();
    app.Enter("edSimpInnerNoPay", QStringLiteral("485"));
    app.Click("butSimpleAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Groups(),
             (QList<QList<double>>{{1, 100, 1, 0}, {483, 100, 1, 0}, {1, 100, 1, 0}}));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("40.000%"));
    QCOMPARE(app.State().loan.PayCount, 485);
}

void RegularPageTest::oneMonthlyPaymentGoesToTheOnePaymentPage() {
    RegularApp app;
    app.State().loan.PerDiem = true;  // left by an earlier per-diem schedule
    app.EnterLoan(QStringLiteral("100"), QStringLiteral("1"), QStringLiteral("115"));
    QCOMPARE(app.Text("edSimp1stPay"), QStringLiteral("115"));
    QCOMPARE(app.Text("edSimpLastPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edSimpLastNoPd"), QStringLiteral("0"));
    app.Type("edSimp1stNoPd", QStringLiteral("2"));
    // The click leaves the box first.
    app.Click("butSimpleAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.window->ActivePage(), PageId::tabOnePay);
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("60"));
    QCOMPARE(app.Text("edAmtFinOne"), QStringLiteral("100.000"));
    QCOMPARE(app.Text("edPayOne"), QStringLiteral("115.000"));
    QCOMPARE(app.State().onePay.DayOne, 60);
    QCOMPARE(app.State().onePay.AmtFinOne, 100.0);
    QCOMPARE(app.State().onePay.PayOne, 115.0);
    // The general computation ran as well, on whole periods.
    QCOMPARE(app.State().loan.PerDiem, false);
    QCOMPARE(app.Groups(), (QList<QList<double>>{{1, 115, 2, 0}}));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("86.857%"));
    QCOMPARE(app.State().loan.ScheduleSource, qv::kSourceRegular);

    // The one-payment page computes from what it was given.
    app.Click("butComputeOne");
    QVERIFY(app.Find<QPlainTextEdit>("redShowOne")
                ->toPlainText()
                .endsWith(QStringLiteral("Per Diem uncompounded Interest = 91.25% per 365 day "
                                         "year = APR")));
    QCOMPARE(app.port->messages.size(), std::size_t(1));  // 60 days: whole months
}

void RegularPageTest::oneYearlyPaymentOver365DaysIsPerDiem() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("100"), QStringLiteral("1"), QStringLiteral("115"));
    app.Enter("edSimp1stNoPd", QStringLiteral("13"));
    app.Enter("edSimp1stExtra", QStringLiteral("10"));
    QVERIFY(app.port->messages.empty());
    app.Click("butSimpleAPR");
    QCOMPARE(app.port->messages,
             (Messages{Info("This per diem loan has annual compounding\r\nPlease check Per Diem "
                            "Loans under Help.")}));
    QCOMPARE(app.window->ActivePage(), PageId::TabSimple);
    QCOMPARE(app.State().loan.PerDiem, true);
    // 15 % over 400 days, compounded yearly: (1 + r)(1 + 35 r / 365) = 1.15
    // at r = 13.5274 % (13.6875 % as simple interest).
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("13.527%"));
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("2"));  // the one-payment page untouched
}

void RegularPageTest::theEngineRefusingShowsInputErrorInBothBoxes() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("100"), QStringLiteral("36"), QStringLiteral("100"));
    app.Click("butSimpleAPR");
    QCOMPARE(app.port->messages,
             (Messages{Info("$100.00 Amount Financed is too low to compute a meaningful APR")}));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.State().loan.ScheduleSource, qv::kSourceRegular);
    QCOMPARE(app.State().loan.APR, 20.0);

    // A corrected schedule shows its APR.
    app.port->ClearRecords();
    app.Enter("edSimpAmtFin", QStringLiteral("3000"));
    app.Click("butSimpleAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("12.249%"));
}

void RegularPageTest::computeOnAnEmptyPageRefusesSoundly() {
    RegularApp app;
    app.State().loan.ScheduleSource = kUntouched;
    app.Click("butSimpleAPR");
    // A lone payment of nothing on the day of the advance: the group check
    // names its faults, and the one-payment page is handed a term it refuses.
    QCOMPARE(app.port->messages,
             (Messages{Warn("Error: 1 negative or $0.00 payment(s)."),
                       Warn("Error: 1 scheduled interval(s) of zero or less days."),
                       Warn("Error: Scheduled 1 more Payments than Number of Payments."),
                       Warn(kNoDuration)}));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.State().loan.ScheduleSource, qv::kSourceRegular);
    QCOMPARE(app.window->ActivePage(), PageId::tabOnePay);
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("0"));
    app.port->ClearRecords();
    app.Click("butComputeOne");
    // Leaving the amount box questions the amount of nothing; the report
    // refuses the term of no days.
    QVERIFY(app.port->messages.size() >= 2);
    QVERIFY(app.port->messages[0].text.starts_with("You cannot have zero $ Amount Financed !"));
    QVERIFY(app.port->messages[1].text.starts_with("No APR computed: the term is under 1 day."));
    QVERIFY(app.Find<QPlainTextEdit>("redShowOne")
                ->toPlainText()
                .startsWith(QStringLiteral("Enter values")));
}

void RegularPageTest::intervalGroupSetsTheUnitPeriodAndTheIrregularGroup() {
    RegularApp app;
    auto* group = app.Find<RadioGroup>("rgpSimpInterval");
    QCOMPARE(group->ItemIndex(), 1);
    app.Click(group->Item(4));
    QCOMPARE(group->ItemIndex(), 4);
    QCOMPARE(app.State().loan.DaysPerPd, 30);  // not before the group is left
    app.Click(app.Box("edSimp1stPay"));
    QCOMPARE(app.State().loan.DaysPerPd, 7);
    QCOMPARE(app.State().loan.PdsPerYear, 365.0 / 7.0);
    QCOMPARE(app.Find<RadioGroup>("rgpBasePd")->ItemIndex(), 4);
    // The carry of extra days follows.
    app.Enter("edSimp1stExtra", QStringLiteral("9"));
    QCOMPARE(app.port->messages,
             (Messages{Info("Revise First Common Period count, as Extra Days cannot > = 7")}));
    QCOMPARE(app.Text("edSimp1stNoPd"), QStringLiteral("1"));
    QCOMPARE(app.Text("edSimp1stExtra"), QStringLiteral("2"));

    app.Click(group->Item(0));
    app.Click(app.Box("edSimpAmtFin"));
    QCOMPARE(app.State().loan.DaysPerPd, 365);
    QCOMPARE(app.State().loan.PdsPerYear, 1.0);
}

void RegularPageTest::computeUsesTheIntervalThisPageShows() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    // The irregular page has since computed a weekly schedule.
    app.Find<RadioGroup>("rgpBasePd")->SetItemIndex(4);
    app.State().loan.DaysPerPd = 7;
    app.State().loan.PdsPerYear = 365.0 / 7.0;
    app.Click("butSimpleAPR");
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("12.249%"));
    QCOMPARE(app.State().loan.DaysPerPd, 30);
    QCOMPARE(app.State().loan.PdsPerYear, 12.0);
    QCOMPARE(app.Find<RadioGroup>("rgpBasePd")->ItemIndex(), 1);
}

void RegularPageTest::resetAllRestoresStartTexts() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    app.Click(app.Find<RadioGroup>("rgpSimpInterval")->Item(3));
    app.Click("butSimpleAPR");
    app.window->ShowPage(PageId::tabOnePay);
    app.Enter("edDayOne", QStringLiteral("14"));
    app.Find<QPlainTextEdit>("redShowOne")->setPlainText(QStringLiteral("a report"));
    app.window->ShowPage(PageId::TabSimple);
    app.port->ClearRecords();

    app.Click("butResetSimple");
    QCOMPARE(app.window->ActivePage(), PageId::tabAbout);
    QVERIFY(app.port->messages.empty());
    for (const char* box : {"edSimpAmtFin", "edSimp1stPay", "edSimpLastPay"}) {
        QCOMPARE(app.Text(box), QStringLiteral("0.00"));
    }
    QCOMPARE(app.Text("edSimpRegPay"), QStringLiteral("0.0"));
    for (const char* box : {"edSimpInnerNoPay", "edSimp1stNoPd", "edSimp1stExtra", "edSimpLastNoPd",
                            "edSimpLastExtra"}) {
        QCOMPARE(app.Text(box), QStringLiteral("0"));
    }
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("Pending"));
    QCOMPARE(app.Find<RadioGroup>("rgpSimpInterval")->ItemIndex(), 1);
    QCOMPARE(app.Summary(), QStringLiteral("Above Schedule now shows 0 Payments which Total $ "
                                           "0.00, with $ 0.00 Finance Charge"));
    QCOMPARE(app.Text("edStatusBar"),
             QStringLiteral("As you move among white data entry boxes above, you'll find Hints "
                            "and other Information here."));
    // A narrow window still shows the start of the line, not its end.
    QCOMPARE(app.Box("edStatusBar")->cursorPosition(), 0);
    QCOMPARE(app.Text("edAmtFinOne"), QStringLiteral("0.01"));
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("2"));
    QCOMPARE(app.Text("edPayOne"), QStringLiteral("0.00"));
    QCOMPARE(app.Find<QPlainTextEdit>("redShowOne")->toPlainText(),
             QStringLiteral("Enter values for the three values required\nthen click [Compute "
                            "APR] and look here a report."));
    QCOMPARE(app.State().onePay.DayOne, 2);
    QCOMPARE(app.State().loan.ScheduleSource, 0);
    QCOMPARE(app.State().loan.DaysPerPd, 30);
    QCOMPARE(app.window->Schedule().PaySet().Count(), 0);
}

void RegularPageTest::printAmortizationChartsTheComputedScheduleThenPrints() {
    RegularApp app;
    app.EnterLoan(QStringLiteral("1100"), QStringLiteral("12"), QStringLiteral("100"));
    app.Click("butSimpleAPR");
    QCOMPARE(app.Box("edSimpAPR")->text(), QStringLiteral("16.376%"));
    app.port->ClearRecords();
    app.Click("butChartSimple");
    QCOMPARE(app.port->printDialogs, 1);
    QCOMPARE(app.port->printed.size(), std::size_t{1});
    const QString printed = QString::fromStdString(app.port->printed.front().text);
    QVERIFY(printed.startsWith(QStringLiteral("APR evaluated by Quorvane version 0.9992\n")));
    QVERIFY(printed.contains(QStringLiteral("\n--- Amortization at 16.376% APR ----\n")));
    QVERIFY(printed.contains(QStringLiteral("\nTotal of Payments = $1,199.99")));

    // Cancelling the print dialog still leaves the chart on screen, and a
    // second click charts the same schedule only once.
    app.port->printDialogAnswers = {false};
    app.Click("butChartSimple");
    QCOMPARE(app.port->printed.size(), std::size_t{1});
    const QString chart = app.Find<QPlainTextEdit>("redChart")->toPlainText();
    QCOMPARE(chart.count(QStringLiteral("--- Amortization at 16.376% APR ----")), 1);
}

QTEST_MAIN(RegularPageTest)
#include "regular_page_test.moc"
