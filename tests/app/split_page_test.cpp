// The split-rate page: the test case through its hidden button, the
// computations writing the chart and the result boxes, the box rules
// carried out on the real widgets, the tab order and Reset.
#include "app/pages/split_page.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/radio_group.h"
#include "app_fixture.h"
#include "splitrate/split_inputs.h"
#include "splitrate/split_interest.h"

using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

// A window showing the split-rate page, its records cleared.
struct SplitApp : AppFixture {
    SplitApp() {
        window->ShowPage(PageId::tabSplit);
        port->ClearRecords();
    }

    QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    QStringList Chart() const {
        return Find<QPlainTextEdit>("redChart")->toPlainText().split(QLatin1Char('\n'));
    }
    // What the engine makes of the test case on the interval `item`.
    static qv::SplitRun EngineRun(int item,
                                  qv::SplitRun (*button)(qv::SplitInputs&, double, qv::UserPort&,
                                                         const qv::FormatSettings&)) {
        qv::LoanState state;
        qv::LoadSplitTestData(state.split);
        qv::TakeSplitInterval(state.split, qv::IntervalOfItem(item));
        RecordingPlatformPort quiet;
        return button(state.split, state.loan.RoundAdd, quiet, qv::FormatSettings{});
    }
    static QStringList Lines(const qv::ChartText& chart) {
        QStringList lines;
        for (const std::string& line : chart) lines << QString::fromStdString(line);
        return lines;
    }
    void ExpectStartTexts() const {
        for (const qv::SplitBoxFill& start : qv::SplitStartTexts()) {
            const char* name = qv::SplitBoxInfo(start.box).name.data();
            QCOMPARE(Text(name), QString::fromStdString(start.text));
        }
        QCOMPARE(Find<RadioGroup>("rgpSplitPd")->ItemIndex(), qv::ItemOf(qv::kStartInterval));
    }
};

}  // namespace

class SplitPageTest : public QObject {
    Q_OBJECT

  private slots:
    void theTestCaseIsAmortizedMatchedAndReset();
    void tabOrderPassesTheFreshPageWithoutAWord();
    void aRefusedEntryPutsTheFocusBack();
    void zeroDurationSendsTheFocusBetweenTheIntervalsBoxes_data();
    void zeroDurationSendsTheFocusBetweenTheIntervalsBoxes();
};

void SplitPageTest::theTestCaseIsAmortizedMatchedAndReset() {
    SplitApp app;
    auto* loadTestData = app.Find<QPushButton>("butMyTest");
    QVERIFY(!loadTestData->isVisible());
    loadTestData->click();
    QCOMPARE(app.Text("edSplitAmtFin"), QStringLiteral("1000.00"));
    QCOMPARE(app.Text("edCap4"), QStringLiteral("999,999.99"));

    // The interval shown counts, though the focus went from the group to the
    // button.
    constexpr int kWeekly = 4;
    app.Click(app.Find<RadioGroup>("rgpSplitPd")->Item(kWeekly));
    app.Click("butJust");
    QCOMPARE(app.window->State().split.SplitDaysPerPd, 7.0);
    const qv::SplitRun just = SplitApp::EngineRun(kWeekly, qv::JustAmortize);
    QCOMPARE(app.Chart(), SplitApp::Lines(just.chart));
    QCOMPARE(app.Text("edSplitInterest"), QStringLiteral("$106.23"));
    QCOMPARE(app.Text("edFinal"), QStringLiteral("$2.23"));
    QCOMPARE(app.port->messages,
             (Messages{Info("UnderPaid by $2.23\n\rYou might adjust the Final Payment")}));

    // The results belong to the inputs they were computed from.
    QVERIFY(app.Box("edSplitInterest")->isReadOnly());
    app.Type("edRate1", QStringLiteral("1.1"));
    QCOMPARE(app.Text("edSplitInterest"), QStringLiteral("Pending"));
    QCOMPARE(app.Text("edFinal"), QStringLiteral("Pending"));
    app.Type("edRate1", QStringLiteral("1.0"));

    app.port->ClearRecords();
    app.Click("butSplitRegPay");
    const qv::SplitRun match = SplitApp::EngineRun(kWeekly, qv::MatchCommonPayment);
    QCOMPARE(app.Chart(), SplitApp::Lines(match.chart));
    for (const char* pay : {"edSplitRegPay", "edSplit1stPay", "edSplitlastPay"})
        QCOMPARE(app.Text(pay), QStringLiteral("46.08"));
    QCOMPARE(app.Text("edSplitInterest"), QStringLiteral("$106.04"));
    QCOMPARE(app.Text("edFinal"), QStringLiteral("$0.12"));
    QCOMPARE(app.port->messages,
             (Messages{Info("Regular Payment should be $46.08"),
                       Info("Probably cannot get any closer to zero balance !")}));

    // The chart is read on the chart page, without a word about APRs.
    app.port->ClearRecords();
    app.Click("butSplitChart");
    QCOMPARE(app.window->ActivePage(), PageId::tabChart);
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Chart(), SplitApp::Lines(match.chart));

    app.window->ShowPage(PageId::tabSplit);
    app.Click("butSplitReset");
    QCOMPARE(app.window->ActivePage(), PageId::tabAbout);
    app.ExpectStartTexts();
    QCOMPARE(app.window->State().split.SplitRegPay, 0.0);
    QCOMPARE(app.window->State().split.SplitDaysPerPd, 30.0);
}

void SplitPageTest::tabOrderPassesTheFreshPageWithoutAWord() {
    SplitApp app;
    app.Click(app.Find<RadioGroup>("rgpSplitPd")->Item(qv::ItemOf(qv::kStartInterval)));
    QCOMPARE(
        app.TabWalk(26),
        (QStringList{"rgpSplitPd",        "edSplitAmtFin",    "edSplitPayCount", "edSplitRegPay",
                     "edSplit1stPay",     "edSplit1stNoPd",   "edSplit1stExtra", "edSplitlastPay",
                     "edSplitlastNoPd",   "edSplitlastExtra", "edRate1",         "edCap1",
                     "edRate2",           "edCap2",           "edRate3",         "edCap3",
                     "edRate4",           "edCap4",           "butJust",         "butSplitRegPay",
                     "butSplitPrincipal", "butSplitChart",    "butSplitReset",   "butSplitPrint",
                     "edSplitInterest",   "edFinal"}));
    // The interval counts start at one, so passing through them is no error.
    QVERIFY(app.port->messages.empty());
    app.ExpectStartTexts();
}

void SplitPageTest::aRefusedEntryPutsTheFocusBack() {
    SplitApp app;
    app.Enter("edSplitPayCount", QStringLiteral("2x"));
    QCoreApplication::processEvents();
    QCOMPARE(app.port->messages,
             (Messages{Info("Error: Number of Payments contains x , not part of a positive whole "
                            "number !\n\rResetting input value of 2")}));
    auto* count = app.Box("edSplitPayCount");
    QCOMPARE(app.Text("edSplitPayCount"), QStringLiteral("0"));
    QCOMPARE(app.window->State().split.SplitPayCount, 0);
    QCOMPARE(app.Focused(), count);
    QCOMPARE(count->selectedText(), count->text());
}

void SplitPageTest::zeroDurationSendsTheFocusBetweenTheIntervalsBoxes_data() {
    QTest::addColumn<QString>("periods");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("next");  // the box after the days box
    QTest::addColumn<QString>("message");
    QTest::newRow("first") << "edSplit1stNoPd"
                           << "edSplit1stExtra"
                           << "edSplitlastPay"
                           << "Error: First Interval has Zero Duration !";
    QTest::newRow("last") << "edSplitlastNoPd"
                          << "edSplitlastExtra"
                          << "edRate1"
                          << "Error: Last Interval has Zero Duration !";
}

void SplitPageTest::zeroDurationSendsTheFocusBetweenTheIntervalsBoxes() {
    QFETCH(QString, periods);
    QFETCH(QString, days);
    QFETCH(QString, next);
    QFETCH(QString, message);
    SplitApp app;
    auto* periodsBox = app.Box(qPrintable(periods));
    auto* daysBox = app.Box(qPrintable(days));

    // No whole intervals: on to the added days, without a word.
    app.Enter(qPrintable(periods), QStringLiteral("0"));
    QCoreApplication::processEvents();
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Focused(), daysBox);

    // No days either: back to the intervals, with the reason.
    QTest::keyClick(daysBox, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(app.port->Texts(), std::vector<std::string>{message.toStdString()});
    QCOMPARE(app.Focused(), periodsBox);
    QCOMPARE(periodsBox->selectedText(), periodsBox->text());

    // Added days give the interval a length: the user goes on.
    app.port->ClearRecords();
    QTest::keyClick(periodsBox, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(app.Focused(), daysBox);
    QTest::keyClicks(daysBox, QStringLiteral("15"));
    QTest::keyClick(daysBox, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Focused(), app.Box(qPrintable(next)));
    QCOMPARE(app.Text(qPrintable(days)), QStringLiteral("15"));
}

QTEST_MAIN(SplitPageTest)
#include "split_page_test.moc"
