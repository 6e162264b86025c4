// The chart page: its entry (grid of payments with unearned finance charge
// and Rule of 78s rebates), "Chart Amortization", and the chart's output.
#include "app/pages/chart_page.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/pages/settings_page.h"
#include "app_fixture.h"
#include "core/pay_group.h"

using qv::MessageKind;

namespace {

constexpr const char* kRuleOf78sUndefined =
    "Warning: Rule of 78s is UNDEFINED for Schedules\n\rwith irregular payments or intervals, as "
    "here\n\rSee Help/Tolerances on the Menu.";

struct Group {
    int size;
    double pay;
    int pds;
    int days;
};

// Puts a schedule into the loan state and the group table, computes its APR
// the way the APR pages do, and leaves no page to recompute it.
void LoadSchedule(AppFixture& app, double amtFin, std::initializer_list<Group> groups) {
    qv::LoanState& state = app.window->State();
    qv::TMemDataSet& paySet = app.window->Schedule().PaySet();
    qv::EmptyTable(paySet);
    int sequence = 0;
    std::int64_t cents = 0;
    int count = 0;
    for (const Group& g : groups) {
        qv::AppendPayGroup(paySet, {g.size, ++sequence, g.pay, g.pds, g.days});
        paySet.Post();
        cents += std::int64_t(g.size) * std::llround(g.pay * 100);
        count += g.size;
    }
    state.loan.AmtFin = amtFin;
    state.loan.TotPay = cents * 100;
    state.loan.PayCount = count;
    QCOMPARE(app.window->Schedule().RunGetAPR(), qv::AprOutcome::Computed);
    state.loan.ScheduleSource = qv::kSourceNone;
}

QStringList Lines(const AppFixture& app) {
    return app.Find<QPlainTextEdit>("redChart")->toPlainText().split(QLatin1Char('\n'));
}

QStringList Column(qv::TMemDataSet& table, const char* field) {
    QStringList out;
    const int index = table.FieldIndex(field);
    for (int row = 0; row < table.RowCount(); ++row) {
        out << QString::fromStdString(table.CellText(row, index));
    }
    return out;
}

void SetRebates(AppFixture& app, bool on) {
    app.window->findChild<QCheckBox*>(QStringLiteral("cbxShowRebates"))->setChecked(on);
}

}  // namespace

class ChartPageTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { app = std::make_unique<AppFixture>(); }
    void cleanup() { app.reset(); }

    void enteringARegularScheduleFillsRebatesByTheRuleOf78s();
    void aFirstPaymentOneCentDifferentRaisesTheRuleOf78sWarning();
    void enteringWithoutGroupsOnlyBeeps();
    void anInputErrorOnRecomputeSendsTheUserBackToTheSourcePage();
    void chartingAgainGivesNoSecondCopyOfTheSameChart();
    void clearChartLeavesTheWindowTitleAlone();
    void printChartUsesCourierNewTenPointAndKeepsTheScreenFont();
    void aCancelledOrFailedPrintLeavesTheBoxAsItWas();
    void saveChartTextWritesCrLfLinesAndAsksBeforeOverwriting();
    void printAmortizationOnTheIrregularPageReviewsOnYesAndPrintsOnNo();

  private:
    std::unique_ptr<AppFixture> app;
};

void ChartPageTest::enteringARegularScheduleFillsRebatesByTheRuleOf78s() {
    LoadSchedule(*app, 1100.0, {{12, 100.0, 1, 0}});
    SetRebates(*app, true);
    app->port->ClearRecords();
    app->window->ShowPage(PageId::tabChart);
    QVERIFY(app->port->messages.empty());
    qv::TMemDataSet& detail = app->window->Table(TableId::mdsDetail);
    QCOMPARE(Column(detail, "Rebate"),
             QStringList({"84.62", "70.51", "57.69", "46.15", "35.9", "26.92", "19.23", "12.82",
                          "7.69", "3.85", "1.28", "0"}));
    QCOMPARE(Column(detail, "Sequence").size(), 12);
    // The window is disabled while the grid fills and enabled again after.
    QCOMPARE(app->port->windowEnabled, (std::vector<bool>{false, true}));
    QCOMPARE(app->window->State().loan.ScheduleSource, qv::kSourceNone);
}

void ChartPageTest::aFirstPaymentOneCentDifferentRaisesTheRuleOf78sWarning() {
    LoadSchedule(*app, 1100.0, {{1, 100.01, 1, 0}, {11, 100.0, 1, 0}});
    SetRebates(*app, true);
    app->port->ClearRecords();
    app->window->ShowPage(PageId::tabChart);
    QCOMPARE(app->port->Texts(), std::vector<std::string>{kRuleOf78sUndefined});

    // Without rebates the same schedule is shown without a word.
    SetRebates(*app, false);
    app->window->ShowPage(PageId::tabAbout);
    app->port->ClearRecords();
    app->window->ShowPage(PageId::tabChart);
    QVERIFY(app->port->messages.empty());
}

void ChartPageTest::enteringWithoutGroupsOnlyBeeps() {
    app->port->ClearRecords();
    app->window->ShowPage(PageId::tabChart);
    QCOMPARE(app->port->beeps, 1);
    QVERIFY(app->port->messages.empty());
    QVERIFY(app->port->windowEnabled.empty());
}

void ChartPageTest::anInputErrorOnRecomputeSendsTheUserBackToTheSourcePage() {
    LoadSchedule(*app, 1100.0, {{12, 100.0, 1, 0}});
    // The irregular page is the source, and its boxes say 13 payments.
    app->window->State().loan.ScheduleSource = qv::kSourceIrregular;
    app->Find<QLineEdit>("edPayCount")->setText(QStringLiteral("13"));
    app->window->State().loan.PayCount = 13;
    app->port->ClearRecords();
    app->window->ShowPage(PageId::tabChart);
    QCOMPARE(app->window->ActivePage(), PageId::tabEstimate);
    QVERIFY(!app->port->messages.empty());
    QCOMPARE(app->port->messages.back().text,
             std::string("Error : Input Error in Payment Schedule"));
    QCOMPARE(app->Text("edAPR"), QStringLiteral("InputError"));
    QVERIFY(app->port->windowEnabled.empty());
}

void ChartPageTest::chartingAgainGivesNoSecondCopyOfTheSameChart() {
    LoadSchedule(*app, 1100.0, {{12, 100.0, 1, 0}});
    app->window->ShowPage(PageId::tabChart);
    const auto charts = [this] {
        return Lines(*app).filter(QStringLiteral("--- Amortization at 16.376% APR ----")).size();
    };
    app->Click("butChartEst");
    app->Click("butChartEst");
    QCOMPARE(charts(), 1);
    const QStringList lines = Lines(*app);
    QCOMPARE(
        lines.filter(QStringLiteral("Total of Payments = $1,199.99, rounding to closest cent."))
            .size(),
        1);
    QCOMPARE(lines.first(), QStringLiteral("APR evaluated by Quorvane version 0.9992"));
    QCOMPARE(app->Find<QLabel>("labChart7")->text(),
             QStringLiteral("Amortization rounds to nearest cent."));

    // Another chart of the same schedule (rounded down) is added below it,
    // and so is the same chart once the user has written after it.
    app->window->findChild<QCheckBox*>(QStringLiteral("cbxRoundDown"))->setChecked(true);
    app->Click("butChartEst");
    QCOMPARE(charts(), 2);
    QCOMPARE(Lines(*app).filter(QStringLiteral("rounding down to whole cent.")).size(), 1);
    app->Find<QPlainTextEdit>("redChart")->appendPlainText(QStringLiteral("checked by me"));
    app->Click("butChartEst");
    QCOMPARE(charts(), 3);
}

void ChartPageTest::clearChartLeavesTheWindowTitleAlone() {
    LoadSchedule(*app, 1100.0, {{12, 100.0, 1, 0}});
    app->window->ShowPage(PageId::tabChart);
    app->Click("butChartEst");
    app->Click("butClearIt");
    QCOMPARE(Lines(*app), QStringList{TforMain::kTitle});
}

void ChartPageTest::printChartUsesCourierNewTenPointAndKeepsTheScreenFont() {
    LoadSchedule(*app, 1100.0, {{12, 100.0, 1, 0}});
    app->window->ShowPage(PageId::tabChart);
    auto* box = app->Find<QPlainTextEdit>("redChart");
    const QFont screenFont = box->font();
    app->Click("butPrint");
    QCOMPARE(app->port->printDialogs, 1);
    QCOMPARE(app->port->printed.size(), std::size_t{1});
    const PrintedJob& job = app->port->printed.front();
    QCOMPARE(job.fontFamily, std::string("Courier New"));
    QCOMPARE(job.pointSize, 10);
    QCOMPARE(job.jobTitle, std::string("Quorvane Amortization Chart  0.9992"));
    QCOMPARE(QString::fromStdString(job.text), box->toPlainText());
    QCOMPARE(box->font(), screenFont);
    QVERIFY(box->isVisible());
}

void ChartPageTest::aCancelledOrFailedPrintLeavesTheBoxAsItWas() {
    app->window->ShowPage(PageId::tabChart);
    auto* box = app->Find<QPlainTextEdit>("redChart");
    const QFont screenFont = box->font();
    app->port->printDialogAnswers = {false};
    app->Click("butPrint");
    QVERIFY(app->port->printed.empty());

    app->port->printerWorks = false;
    app->Click("butPrint");
    QVERIFY(app->port->printed.empty());
    QCOMPARE(box->font(), screenFont);
    QVERIFY(box->isVisible());
}

void ChartPageTest::saveChartTextWritesCrLfLinesAndAsksBeforeOverwriting() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MyChart.txt"));
    app->window->ShowPage(PageId::tabChart);
    app->Find<QPlainTextEdit>("redChart")->setPlainText(QStringLiteral("first line\nsecond line"));

    app->port->fileAnswers = {path.toStdString()};
    app->Click("butSaveChart");
    QCOMPARE(app->port->dialogs.size(), std::size_t{1});
    QCOMPARE(app->port->dialogs[0].request.title, std::string("Saving Amortization Chart Text"));
    QCOMPARE(app->port->dialogs[0].request.fileName, std::string("MyChart.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("first line\r\nsecond line\r\n"));
    file.close();
    QVERIFY(app->port->messages.empty());

    app->Find<QPlainTextEdit>("redChart")->setPlainText(QStringLiteral("replacement"));
    app->port->fileAnswers = {path.toStdString()};
    app->port->answers = {qv::Answer::No};
    app->Click("butSaveChart");
    QCOMPARE(app->port->Texts(),
             (std::vector<std::string>{"Do you really want to overwrite MyChart.txt?",
                                       "OK, Amortization Chart Text Not Saved"}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("first line\r\nsecond line\r\n"));
}

void ChartPageTest::printAmortizationOnTheIrregularPageReviewsOnYesAndPrintsOnNo() {
    LoadSchedule(*app, 1100.0, {{12, 100.0, 1, 0}});
    app->Find<QLineEdit>("edPayCount")->setText(QStringLiteral("12"));
    app->Find<QLineEdit>("edTotPay")->setText(QStringLiteral("1200.00"));
    app->Find<QLineEdit>("edAmtFin")->setText(QStringLiteral("1100.00"));
    app->window->ShowPage(PageId::tabEstimate);
    app->port->ClearRecords();
    app->port->answers = {qv::Answer::Yes};
    app->Click("butPrintIrreg");
    QCOMPARE(app->window->ActivePage(), PageId::tabChart);
    QVERIFY(app->port->printed.empty());
    QCOMPARE(app->port->messages.back().text, std::string("OK, Charted without hardcopy."));
    const std::string question =
        "Do you want to review the Amortization Chart\n\ron screen instead of printing it ?";
    QCOMPARE(app->port->messages[app->port->messages.size() - 2].text, question);
    QCOMPARE(Lines(*app).filter(QStringLiteral("--- Amortization at 16.376% APR ----")).size(), 1);

    app->window->ShowPage(PageId::tabEstimate);
    app->port->ClearRecords();
    app->port->answers = {qv::Answer::No};
    app->Click("butPrintIrreg");
    QCOMPARE(app->port->printDialogs, 1);
    QCOMPARE(app->port->printed.size(), std::size_t{1});
    QCOMPARE(app->port->messages.back().text, question);
}

QTEST_MAIN(ChartPageTest)
#include "chart_page_test.moc"
