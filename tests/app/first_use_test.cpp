// What a new user meets first: entering the chart page, results that follow
// their inputs, the keyboard, and buttons whose work is still to come.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/pages/chart_page.h"
#include "app/pages/settings_page.h"
#include "app/radio_group.h"
#include "app/shell_texts.h"
#include "app_fixture.h"
#include "chart/amortization.h"
#include "schedule/group_schedule.h"
#include "schedule/regular_schedule.h"

using qv::MessageKind;

namespace {

struct UserApp : AppFixture {
    QWidget* Focused() const { return QApplication::focusWidget(); }
    QStringList ChartLines() const {
        return Find<QPlainTextEdit>("redChart")->toPlainText().split(QLatin1Char('\n'));
    }
    // The regular page's boxes, typed and left as the user does, then Compute APR.
    void ComputeRegular(const QString& amtFin, const QString& count, const QString& pay,
                        const QString& last = {}) {
        PickTab(QStringLiteral("2:Reg.Pay"));
        Enter("edSimpAmtFin", amtFin);
        Enter("edSimpInnerNoPay", count);
        Enter("edSimpRegPay", pay);
        if (!last.isEmpty()) Enter("edSimpLastPay", last);
        Click("butSimpleAPR");
    }
    bool InPage(const char* page) const {
        QWidget* focus = Focused();
        return focus != nullptr && Find<QWidget>(page)->isAncestorOf(focus);
    }
};

}  // namespace

class FirstUseTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        app = std::make_unique<UserApp>();
        QVERIFY(app->window->isActiveWindow());
    }
    void cleanup() { app.reset(); }

    void theRuleOf78sWarningLeavesTheChartPageWorking();
    void theChartChartsTheLastComputationNotTheBoxesOfAnotherPage();
    void resultsFollowTheInputsTheyBelongTo();
    void theKeyboardStepsTabsSelectsBoxTextAndPressesButtons();
    void noReportOrPrintoutOutlivesTheScheduleItWasMadeFrom();
    void resultBoxesCannotBeTypedInto();
    void afterResetAPageIsComeBackToAtItsFirstBox();
    void anEmptyIrregularScheduleIsSaidToHaveNoPayments();
    void theAmountFinancedBoxRefusesZeroAndTheCountRefillsTheLastPayment();

  private:
    std::unique_ptr<UserApp> app;
};

void FirstUseTest::theRuleOf78sWarningLeavesTheChartPageWorking() {
    UserApp& a = *app;
    // As on a desktop: disabling the window drops its focus, and a message
    // box takes the activation until it is closed.
    a.port->onWindowEnabled = [&a](bool on) { a.window->setEnabled(on); };
    a.port->whileShowing = [&a] {
        QDialog box(a.window.get());
        QTimer::singleShot(0, &box, &QDialog::accept);
        box.exec();
        QApplication::setActiveWindow(a.window.get());
    };
    a.window->findChild<QCheckBox*>(QStringLiteral("cbxShowRebates"))->setChecked(true);
    a.ComputeRegular(QStringLiteral("5000"), QStringLiteral("24"), QStringLiteral("230"),
                     QStringLiteral("280"));
    a.PickTab(QStringLiteral("4:Chart/Rule of 78s"));
    a.port->ClearRecords();

    a.Click("butChartEst");
    QCoreApplication::processEvents();
    // The warning once, and the click that entered the page charted.
    QCOMPARE(a.port->messages,
             (std::vector<qv::RecordedMessage>{
                 {MessageKind::Information, qv::kRuleOf78sUndefinedText.data()}}));
    QCOMPARE(a.ChartLines().last(),
             QStringLiteral("Total of Payments = $5,570.00, rounding to closest cent."));
    QCOMPARE(a.Focused(), a.Find<QWidget>("butChartEst"));
    // Working on in the page enters it no more.
    a.Click("redChart");
    QTest::keyClick(a.Focused(), Qt::Key_Tab);
    a.Click("butClearIt");
    // Nor does a visit to the menu bar, which leaves no page.
    a.window->menuBar()->setFocus(Qt::ShortcutFocusReason);
    a.Click("redChart");
    QCOMPARE(a.port->messages.size(), std::size_t(1));
    QCOMPARE(a.ChartLines(), QStringList{TforMain::kTitle});

    // From the strip by the keyboard: the warning, and the focus in the page.
    a.PickTab(QStringLiteral("4:Chart/Rule of 78s"));
    QTest::keyClick(a.Focused(), Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(a.port->messages.size(), std::size_t(2));
    QVERIFY(a.InPage("tabChart"));
}

void FirstUseTest::theChartChartsTheLastComputationNotTheBoxesOfAnotherPage() {
    UserApp& a = *app;
    a.ComputeRegular(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    QCOMPARE(a.Text("edSimpAPR"), QStringLiteral("12.249%"));
    // The irregular page's amount financed, visited and left at 0.00.
    a.PickTab(QStringLiteral("3:Irreg.Pay"));
    a.Enter("edAmtFin", QStringLiteral("0.00"));
    a.PickTab(QStringLiteral("4:Chart/Rule of 78s"));
    a.Click("butChartEst");

    // The grid's unearned charge falls from the 600.00 of the computation.
    qv::TMemDataSet& detail = a.window->Table(TableId::mdsDetail);
    QCOMPARE(detail.Count(), 36);
    const int unearned = detail.FieldIndex("UnEarnIn");
    QCOMPARE(QString::fromStdString(detail.CellText(0, unearned)), QStringLiteral("569.38"));
    QVERIFY(std::stod(detail.CellText(35, unearned)) < 1.0);
    // The chart starts from 3,000.00 and totals the 3,600.00 computed.
    const QStringList lines = a.ChartLines();
    const auto first = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.startsWith(QStringLiteral("   1 "));
    });
    QVERIFY(first != lines.end());
    QVERIFY2(first->startsWith(QStringLiteral("   1  $3,000.00 ")), qPrintable(*first));
    // (The APR, held to three decimals, leaves a cent for the last payment.)
    QCOMPARE(
        lines.mid(lines.size() - 2),
        (QStringList{QStringLiteral("Total of Payments = $3,599.99, rounding to closest cent."),
                     QStringLiteral("  Final payment adjusted by ($0.01) to match desired "
                                    "Total of Payments")}));

    // After Reset there is nothing to chart.
    a.window->Reset();
    a.port->ClearRecords();
    a.window->GetPage<ChartPage>().butChartEstClick();
    QCOMPARE(
        a.port->messages,
        (std::vector<qv::RecordedMessage>{{MessageKind::Information, "No Payment Set Loaded !"}}));
}

void FirstUseTest::resultsFollowTheInputsTheyBelongTo() {
    UserApp& a = *app;
    a.ComputeRegular(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    QCOMPARE(a.Text("edSimpAPR"), QStringLiteral("12.249%"));
    a.Type("edSimpRegPay", QStringLiteral("101"));
    QCOMPARE(a.Text("edSimpAPR"), QStringLiteral("Pending"));

    // A refused count leaves the summary counting the box as it now reads.
    QVERIFY(a.Find<QLabel>("labSimpToP")->text().contains(QStringLiteral("36 Payments")));
    a.Enter("edSimpInnerNoPay", QStringLiteral("3x6"));
    QCOMPARE(a.Text("edSimpInnerNoPay"), QStringLiteral("0"));
    QCOMPARE(a.Find<QLabel>("labSimpToP")->text(),
             QStringLiteral("Above schedule has 0 Payments Totalling $100.00 w/ ($2,900.00) "
                            "Finance Charge"));

    // The irregular page's summary shows the groups its grid holds, and its
    // boxes the amounts its estimate will use.
    a.Enter("edSimpInnerNoPay", QStringLiteral("36"));
    a.Click("butSimpleAPR");
    a.PickTab(QStringLiteral("3:Irreg.Pay"));
    QCOMPARE(a.Find<QLabel>("labEstimate15")->text(),
             QStringLiteral("36 Payments, Total= $3,636.00"));
    QCOMPARE(QStringList({a.Text("edAmtFin"), a.Text("edTotPay"), a.Text("edPayCount")}),
             QStringList({"3000.00", "3636.00", "36"}));
    a.Click("butEstAPR");
    QVERIFY(a.Text("edAPR") != QStringLiteral("Pending"));
    a.Type("edTotPay", QStringLiteral("3636"));
    QCOMPARE(a.Text("edAPR"), QStringLiteral("Pending"));

    // The one-payment report goes when its values change.
    a.window->ShowPage(PageId::tabOnePay);
    a.Enter("edAmtFinOne", QStringLiteral("100"));
    a.Enter("edPayOne", QStringLiteral("115"));
    a.Enter("edDayOne", QStringLiteral("14"));
    a.Click("butComputeOne");
    auto* report = a.Find<QPlainTextEdit>("redShowOne");
    QVERIFY(report->toPlainText().contains(QStringLiteral("391.07")));
    a.Type("edDayOne", QStringLiteral("15"));
    QCOMPARE(report->toPlainText(),
             QStringLiteral("Enter values for the three values required\nthen click [Compute APR] "
                            "and look here a report."));
}

void FirstUseTest::theKeyboardStepsTabsSelectsBoxTextAndPressesButtons() {
    UserApp& a = *app;
    // From the introduction's first button into the regular page: typing
    // replaces the amount financed.
    QVERIFY(a.InPage("tabAbout"));
    QTest::keyClick(a.Focused(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(a.HighlightedTab(), QStringLiteral("2:Reg.Pay"));
    QTest::keyClicks(a.Focused(), QStringLiteral("3000"));
    QCOMPARE(a.Text("edSimpAmtFin"), QStringLiteral("3000"));

    // Ctrl+Shift+Tab steps back, reported as Backtab or as Tab with Shift.
    QTest::keyClick(a.Focused(), Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(a.Focused(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(a.HighlightedTab(), QStringLiteral("4:Chart/Rule of 78s"));
    QTest::keyClick(a.Focused(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(a.HighlightedTab(), QStringLiteral("3:Irreg.Pay"));
    QTest::keyClick(a.Focused(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(a.HighlightedTab(), QStringLiteral("2:Reg.Pay"));

    // A refused payment comes back selected: typing replaces it.
    a.Enter("edSimpInnerNoPay", QStringLiteral("36"));
    a.Enter("edSimpRegPay", QStringLiteral("1..2"));
    QCoreApplication::processEvents();
    QCOMPARE(a.Focused(), a.Find<QWidget>("edSimpRegPay"));
    QTest::keyClicks(a.Focused(), QStringLiteral("100"));
    QCOMPARE(a.Text("edSimpRegPay"), QStringLiteral("100"));

    // Tab goes to the checked interval; the arrows move the choice; the next
    // Tab leaves the group.
    auto* interval = a.Find<RadioGroup>("rgpSimpInterval");
    QTest::keyClick(a.Focused(), Qt::Key_Tab);
    QCOMPARE(a.Focused(), interval->Item(1));
    QTest::keyClick(a.Focused(), Qt::Key_Up);
    QCOMPARE(interval->ItemIndex(), 0);
    QCOMPARE(a.Focused(), interval->Item(0));
    QTest::keyClick(a.Focused(), Qt::Key_Tab);
    QCOMPARE(a.Focused(), a.Find<QWidget>("edSimp1stPay"));

    // Enter presses the focused button.
    auto* compute = a.Find<QPushButton>("butSimpleAPR");
    compute->setFocus(Qt::TabFocusReason);
    a.port->ClearRecords();
    QTest::keyClick(compute, Qt::Key_Return);
    QVERIFY(a.Text("edSimpAPR").endsWith(QLatin1Char('%')));
}

void FirstUseTest::noReportOrPrintoutOutlivesTheScheduleItWasMadeFrom() {
    UserApp& a = *app;
    a.ComputeRegular(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    QVERIFY(a.ChartLines().join(QLatin1Char('\n')).contains(QStringLiteral("$3,000.00")));

    // A schedule the engine refuses takes the earlier report off the chart box.
    a.Enter("edSimpAmtFin", QStringLiteral("100"));
    a.Click("butSimpleAPR");
    QCOMPARE(a.Text("edSimpAPR"), QStringLiteral("InputError"));
    const auto& notCurrent = shell_text::kNoCurrentReportLines;
    QCOMPARE(a.ChartLines(), QStringList(std::begin(notCurrent), std::end(notCurrent)));

    // Print Amortization prints the schedule on screen, computing it first.
    a.Enter("edSimpAmtFin", QStringLiteral("3100"));
    a.port->ClearRecords();
    a.Click("butChartSimple");
    QCOMPARE(a.Text("edSimpAPR"), QStringLiteral("9.981%"));
    QCOMPARE(a.port->printed.size(), std::size_t(1));
    QVERIFY(
        QString::fromStdString(a.port->printed[0].text).contains(QStringLiteral(" $3,100.00 ")));

    // The failure before it no longer counts against the schedule charted.
    a.port->ClearRecords();
    a.PickTab(QStringLiteral("4:Chart/Rule of 78s"));
    a.Click("butChartEst");
    QVERIFY(a.port->messages.empty());
    QCOMPARE(a.window->ActivePage(), PageId::tabChart);
    QCOMPARE(a.ChartLines().last(),
             QStringLiteral("Total of Payments = $3,600.00, rounding to closest cent."));
    a.PickTab(QStringLiteral("2:Reg.Pay"));

    // Nothing is printed when the schedule on screen cannot be computed.
    a.Enter("edSimpAmtFin", QStringLiteral("100"));
    a.port->ClearRecords();
    a.Click("butChartSimple");
    QVERIFY(a.port->printed.empty());
}

void FirstUseTest::afterResetAPageIsComeBackToAtItsFirstBox() {
    UserApp& a = *app;
    a.window->ShowPage(PageId::tabOnePay);
    a.Click("butComputeOne");
    a.window->ShowPage(PageId::tabOnePay);
    QCOMPARE(a.Focused(), a.Find<QWidget>("butComputeOne"));  // where the user was
    a.Item("menClear")->trigger();
    a.window->ShowPage(PageId::tabOnePay);
    QCOMPARE(a.Focused(), a.Find<QWidget>("edAmtFinOne"));
}

void FirstUseTest::resultBoxesCannotBeTypedInto() {
    UserApp& a = *app;
    a.ComputeRegular(QStringLiteral("3000"), QStringLiteral("36"), QStringLiteral("100"));
    auto* apr = a.Find<QLineEdit>("edSimpAPR");
    a.Click(apr);
    QTest::keyClicks(apr, QStringLiteral("xyz"));
    QCOMPARE(apr->text(), QStringLiteral("12.249%"));
    for (const char* box : {"edSimpAPR", "edAPR"}) QVERIFY(a.Find<QLineEdit>(box)->isReadOnly());
    for (const char* report : {"redShowOne", "redFound"})
        QVERIFY(a.Find<QPlainTextEdit>(report)->isReadOnly());
    // The chart text stays the user's to edit before printing.
    QVERIFY(!a.Find<QPlainTextEdit>("redChart")->isReadOnly());
}

void FirstUseTest::anEmptyIrregularScheduleIsSaidToHaveNoPayments() {
    UserApp& a = *app;
    a.PickTab(QStringLiteral("3:Irreg.Pay"));
    a.port->ClearRecords();
    a.Click("butEstAPR");
    QCOMPARE(a.port->messages,
             (std::vector<qv::RecordedMessage>{
                 {MessageKind::Information, qv::kNoPaymentsToEstimateText.data()}}));
    QCOMPARE(a.Text("edAPR"), QStringLiteral("Pending"));
}

void FirstUseTest::theAmountFinancedBoxRefusesZeroAndTheCountRefillsTheLastPayment() {
    UserApp& a = *app;
    a.PickTab(QStringLiteral("2:Reg.Pay"));
    a.Enter("edSimpAmtFin", QStringLiteral("3000"));
    a.Enter("edSimpInnerNoPay", QStringLiteral("36"));
    a.Enter("edSimpRegPay", QStringLiteral("100"));
    QCOMPARE(a.Text("edSimpLastPay"), QStringLiteral("100"));
    a.port->ClearRecords();

    // With payments, no zero amount financed: refused in the box itself.
    a.Enter("edSimpAmtFin", QStringLiteral("0"));
    QCoreApplication::processEvents();
    QCOMPARE(a.port->Texts(), std::vector<std::string>{std::string(qv::kZeroAmountFinancedText)});
    auto* amtFin = a.Find<QLineEdit>("edSimpAmtFin");
    QCOMPARE(a.Focused(), amtFin);
    QCOMPARE(amtFin->selectedText(), amtFin->text());
    a.Enter("edSimpAmtFin", QStringLiteral("3000"));

    // One payment: the count refills the first payment and empties the last.
    a.Enter("edSimpInnerNoPay", QStringLiteral("1"));
    QCOMPARE(a.Text("edSimp1stPay"), QStringLiteral("100"));
    QCOMPARE(a.Text("edSimp1stNoPd"), QStringLiteral("1"));
    QCOMPARE(a.Text("edSimpLastPay"), QStringLiteral("0.00"));
    QCOMPARE(a.Text("edSimpLastNoPd"), QStringLiteral("0"));
    QCOMPARE(a.Text("edSimpLastExtra"), QStringLiteral("0"));
}

QTEST_MAIN(FirstUseTest)
#include "first_use_test.moc"
