// The variable-rate page: the group list and its summary, Amortize and its
// final balance, Chart, the move into the APR side and the list files,
// driven through the real widgets.
#include "app/pages/vary_page.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/radio_group.h"
#include "app/table_model.h"
#include "app_fixture.h"
#include "core/interval.h"
#include "core/pay_group.h"
#include "varrate/var_group.h"
#include "varrate/vary_schedule.h"

using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

constexpr int kMonthly = qv::ItemOf(qv::Interval::Monthly),
              kWeekly = qv::ItemOf(qv::Interval::Weekly);

struct VaryApp : AppFixture {
    VaryApp() {
        // Entering the page with an empty list clears it.
        window->ShowPage(PageId::tabVary);
        port->ClearRecords();
    }

    // Fills the five group boxes and clicks "Add Group".
    void AddGroup(const QString& count, const QString& payment,
                  const QString& rate = QStringLiteral("12.0"),
                  const QString& regPds = QStringLiteral("1"),
                  const QString& addDays = QStringLiteral("0")) const {
        Enter("ebxVaryPayCount", count);
        Enter("ebxVaryPayment", payment);
        Enter("ebxVaryRegPds", regPds);
        Enter("ebxVaryAddDays", addDays);
        Enter("ebxVaryRate", rate);
        Click("butVaryAdd");
    }

    QString Label(const char* name) const { return Find<QLabel>(name)->text(); }
    RadioGroup* Interval() const { return Find<RadioGroup>("rgpVary"); }
    std::vector<qv::VarGroup> Groups() const {
        return qv::ReadVarGroups(window->Table(TableId::mdsVariable));
    }
    std::vector<qv::VarScheduleRow> Schedule() const {
        qv::TMemDataSet& schedule = window->Table(TableId::mdsVarSchedule);
        std::vector<qv::VarScheduleRow> rows;
        for (schedule.MoveFirst(); !schedule.AtEnd(); schedule.MoveNext())
            rows.push_back(qv::ReadVarScheduleRow(schedule));
        return rows;
    }
};

// The current folder for one test: "Move to Tab 5" writes there.
struct InFolder {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    InFolder() { QDir::setCurrent(dir.path()); }
    ~InFolder() { QDir::setCurrent(previous); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class VaryPageTest : public QObject {
    Q_OBJECT

  private slots:
    void groupsAreNumberedAndSummedWithTheIrregularPagesPayments();
    void amortizeShowsTheFinalBalanceOfTheListShownOnly();
    void chartReplacesTheChartTextAndKeepsItOnTheChartPage();
    void moveToTab5EstimatesTheAprAndWritesTheSchedule();
    void saveListThenLoadListRestoresTheList();
    void aSaveBeforeLoadNeverReplacesTheListToLoad();
    void groupNumbersAreShownOnlyAndTheSummaryFollowsEdits();
    void aLongListLoadsWithOneRefreshOfItsGrid();
};

void VaryPageTest::groupsAreNumberedAndSummedWithTheIrregularPagesPayments() {
    VaryApp app;
    app.Click("butVaryReset");
    QCOMPARE(app.Label("labVary14"), QStringLiteral("0 Payments, Total $0.00"));
    app.AddGroup(QStringLiteral("3"), QStringLiteral("100.00"));
    QCOMPARE(app.Label("labVary7"), QStringLiteral("Payment Group # 2 has"));
    QCOMPARE(app.Label("labVary14"), QStringLiteral("3 Payments, Total= $300.00"));
    // The boxes are ready for the next group; the rate stays.
    QCOMPARE(app.Text("ebxVaryPayment"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("ebxVaryRate"), QStringLiteral("12.0"));
    QCOMPARE(QApplication::focusWidget(), app.Find<QWidget>("ebxVaryPayCount"));
    app.AddGroup(QStringLiteral("2"), QStringLiteral("50.00"), QStringLiteral("9.5"),
                 QStringLiteral("2"), QStringLiteral("15"));
    QCOMPARE(app.Label("labVary7"), QStringLiteral("Payment Group # 3 has"));
    QCOMPARE(app.Label("labVary14"), QStringLiteral("5 Payments, Total= $400.00"));
    QCOMPARE(app.Groups(),
             (std::vector<qv::VarGroup>{{1, 3, 12.0, 100.0, 1, 0}, {2, 2, 9.5, 50.0, 2, 15}}));
    QVERIFY(app.port->messages.empty());

    // A box text that is no number when "Add Group" runs adds nothing.
    app.Find<QLineEdit>("ebxVaryPayment")->setText(QStringLiteral("7x"));
    app.Click("butVaryAdd");
    QCOMPARE(app.port->messages,
             (Messages{Info("This Variable Rate Group data has syntax errors.")}));
    QCOMPARE(app.Groups().size(), std::size_t(2));
    QCOMPARE(app.Label("labVary14"), QStringLiteral("5 Payments, Total= $400.00"));

    // Payments added on the irregular page count here too, once seen.
    app.window->ShowPage(PageId::tabEstimate);
    app.Enter("edSizeGroup", QStringLiteral("1"));
    app.Enter("edGroupPay", QStringLiteral("25"));
    app.Click("butDone");
    app.window->ShowPage(PageId::tabVary);
    QCOMPARE(app.Label("labVary14"), QStringLiteral("6 Payments, Total= $425.00"));
}

void VaryPageTest::amortizeShowsTheFinalBalanceOfTheListShownOnly() {
    VaryApp app;
    app.Enter("ebxPrincipal", QStringLiteral("500"));
    app.AddGroup(QStringLiteral("1"), QStringLiteral("505.00"));
    app.port->ClearRecords();
    app.Click("butMake");
    QCOMPARE(app.Label("labVary14"), QStringLiteral("Final Balance is $0.0000"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Schedule(), (std::vector<qv::VarScheduleRow>{{1, 500, 12, 1, 0, 5, 505, 0}}));
    const QAbstractItemModel* rows = app.Find<QTableView>("dbgVarSchedule")->model();
    QVERIFY(!(rows->flags(rows->index(0, 0)) & Qt::ItemIsEditable));

    // An edit of the list takes the old schedule and balance away.
    auto* grid = app.Find<QTableView>("dbgVariable");
    EditCell(grid, 0, 5, QStringLiteral("15"));
    QVERIFY(app.Schedule().empty());
    QCOMPARE(app.Label("labVary14"), QStringLiteral("1 Payments, Total= $505.00"));
    app.Click("butMake");
    QCOMPARE(app.Label("labVary14"), QStringLiteral("Final Balance is $2.5000"));
    QCOMPARE(app.port->messages,
             (Messages{Info("Positive Final Balance so reduce rates or principal.")}));
    QCOMPARE(app.Schedule().front().Interest, 7.5);

    // So do another principal and another interval; the same principal
    // keeps it.
    app.Enter("ebxPrincipal", QStringLiteral("500.00"));
    QCOMPARE(app.Schedule().size(), std::size_t(1));
    app.Enter("ebxPrincipal", QStringLiteral("501"));
    QVERIFY(app.Schedule().empty());
    QCOMPARE(app.Label("labVary14"), QStringLiteral("1 Payments, Total= $505.00"));
    app.Click("butMake");
    app.Interval()->SetItemIndex(kWeekly);
    QVERIFY(app.Schedule().empty());
    QCOMPARE(app.Label("labVary14"), QStringLiteral("1 Payments, Total= $505.00"));
}

void VaryPageTest::chartReplacesTheChartTextAndKeepsItOnTheChartPage() {
    VaryApp app;
    // An APR computed on the irregular page and not yet charted: entering
    // the chart page would compute it again, and its report would replace
    // the chart text.
    qv::TMemDataSet& paySet = app.window->Schedule().PaySet();
    qv::AppendPayGroup(paySet, {12, 1, 88.85, 1, 0});
    paySet.Post();
    app.window->State().loan.AmtFin = 1000;
    app.window->State().loan.TotPay = 10662000;
    app.window->State().loan.PayCount = 12;
    QCOMPARE(app.window->Schedule().RunGetAPR(), qv::AprOutcome::Computed);
    app.window->State().loan.ScheduleSource = qv::kSourceIrregular;

    app.Enter("ebxPrincipal", QStringLiteral("200"));
    app.AddGroup(QStringLiteral("2"), QStringLiteral("100.50"));
    app.port->ClearRecords();
    app.Click("butVarPrint");
    QCOMPARE(app.port->messages, (Messages{Info("Oops, no Amortization to Print")}));
    QCOMPARE(app.window->ActivePage(), PageId::tabVary);

    app.Click("butMake");
    app.port->ClearRecords();
    app.Click("butVarPrint");
    QCOMPARE(app.window->ActivePage(), PageId::tabChart);
    QCOMPARE(app.port->messages, (Messages{Info("Print the Chart below by clicking on [Print "
                                                "Chart]\n\ror click [Using the Chart] for "
                                                "alternatives.")}));
    const QStringList lines =
        app.Find<QPlainTextEdit>("redChart")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QStringLiteral("Unrounded Variable Rate Amortization, version  0.9992"));
    QCOMPARE(lines[5],
             QStringLiteral("    2 payments of $100.5/Interval of 1 months  + 0 days @ 12%/a"));
    QCOMPARE(lines[9],
             QStringLiteral(
                 "  2      101.500+     1.015-   100.500=       2.015 @  12.000000%   1   0"));
    QCOMPARE(app.Label("labChart7"), QStringLiteral("Amort.Unrounded except Display"));
}

void VaryPageTest::moveToTab5EstimatesTheAprAndWritesTheSchedule() {
    InFolder folder;
    VaryApp app;
    app.Enter("ebxPrincipal", QStringLiteral("1000"));
    app.AddGroup(QStringLiteral("12"), QStringLiteral("88.85"), QStringLiteral("12.0"));
    app.port->ClearRecords();
    app.Click("butVaryTransform");
    // An empty payment table is replaced without asking.
    const Messages moved = {Info("12 payments total to $1,066.20"),
                            Info("APR is 12.003 %, see Tab 3")};
    QCOMPARE(app.port->messages, moved);
    QCOMPARE(app.port->inputs.size(), std::size_t(1));  // the amount financed, kept
    QCOMPARE(app.window->ActivePage(), PageId::tabEstimate);
    QCOMPARE(app.Text("edAmtFin"), QStringLiteral("1000.00"));
    QCOMPARE(ReadAll(folder.Path("VPaySet.txt")), QByteArray("1,0,1000,0,0\r\n12,1,88.85,1,0\r\n"));

    // Again: the table now holds a schedule, and VPaySet.txt exists.
    app.window->ShowPage(PageId::tabVary);
    app.port->ClearRecords();
    app.port->answers = {qv::Answer::Cancel};
    app.Click("butVaryTransform");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::WarningYesNoCancel,
                        "This process will overwrite the other Schedule currently open in Tab 5. "
                        "Proceed?"},
                       Info("OK, Conversion of Variable Schedule Terminated")}));
    QCOMPARE(app.window->ActivePage(), PageId::tabVary);

    app.Interval()->SetItemIndex(kWeekly);
    app.port->ClearRecords();
    app.port->answers = {qv::Answer::Yes, qv::Answer::No};
    app.Click("butVaryTransform");
    QCOMPARE(
        app.port->messages.at(1),
        (qv::RecordedMessage{MessageKind::WarningYesNo, "Do you want to overwrite VPaySet.txt ?"}));
    QCOMPARE(app.port->messages.at(2), Info("OK, Variable Payment Schedule Not Saved"));
    QCOMPARE(ReadAll(folder.Path("VPaySet.txt")), QByteArray("1,0,1000,0,0\r\n12,1,88.85,1,0\r\n"));
    QCOMPARE(app.Find<RadioGroup>("rgpBasePd")->ItemIndex(), kWeekly);
    QVERIFY(app.port->messages.back().text.rfind("APR is ", 0) == 0);
}

void VaryPageTest::saveListThenLoadListRestoresTheList() {
    InFolder folder;
    const QString file = folder.Path("rates.txt");
    VaryApp app;
    app.Enter("ebxPrincipal", QStringLiteral("2500"));
    app.Interval()->SetItemIndex(kWeekly);
    app.AddGroup(QStringLiteral("3"), QStringLiteral("100.00"));
    app.AddGroup(QStringLiteral("2"), QStringLiteral("50.00"), QStringLiteral("9.5"));
    const std::vector<qv::VarGroup> groups = app.Groups();

    app.port->ClearRecords();
    app.port->fileAnswers = {file.toStdString()};
    app.Click("butVarSave");
    QCOMPARE(app.port->dialogs.at(0),
             (RecordedDialog{RecordedDialog::Kind::Save,
                             {"Saving latest Variable Payset", "myPaySet.txt", "txt"}}));
    QVERIFY(app.port->messages.empty());

    app.Click("butVaryReset");
    QCOMPARE(app.Interval()->ItemIndex(), kMonthly);
    // A cancelled dialog does nothing.
    app.Click("butVaryLoad");
    QVERIFY(app.Groups().empty());
    app.port->ClearRecords();
    app.port->fileAnswers = {file.toStdString()};
    app.Click("butVaryLoad");
    // Each dialog keeps its own file: the load has not been used yet.
    QCOMPARE(app.port->dialogs.at(0),
             (RecordedDialog{RecordedDialog::Kind::Open,
                             {"Select <Variable Payset>.txt to load", "myPaySet.txt", "txt"}}));
    QVERIFY(app.port->messages.empty());  // an empty list is not offered for saving
    QCOMPARE(app.Groups(), groups);
    QCOMPARE(app.window->State().vary.ContractPrincipal, 2500.0);
    QCOMPARE(app.Text("ebxPrincipal"), QStringLiteral("2500.00"));
    QCOMPARE(app.Interval()->ItemIndex(), kWeekly);
    QCOMPARE(app.Label("labVary14"), QStringLiteral("5 Payments, Total= $400.00"));
    // The list goes on after the groups loaded.
    QCOMPARE(app.Label("labVary7"), QStringLiteral("Payment Group # 3 has"));

    // Over a list: offered for saving first; No loads at once.
    app.port->ClearRecords();
    app.port->fileAnswers = {file.toStdString()};
    app.port->answers = {qv::Answer::No};
    app.Click("butVaryLoad");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Confirmation, "Save the current Variable Payment Set?"}}));
    QCOMPARE(app.Groups(), groups);
}

void VaryPageTest::aSaveBeforeLoadNeverReplacesTheListToLoad() {
    InFolder folder;
    const QString keep = folder.Path("keep.txt");
    const QByteArray kept("0,1,0,700,0,0\r\n1,2,5,350,1,0\r\n");
    QFile file(keep);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kept);
    file.close();
    VaryApp app;
    app.AddGroup(QStringLiteral("3"), QStringLiteral("100.00"));

    // Load keep.txt, save the current list first, and pick keep.txt for it.
    app.port->ClearRecords();
    app.port->fileAnswers = {keep.toStdString(), keep.toStdString()};
    app.port->answers = {qv::Answer::Yes, qv::Answer::Yes};
    app.Click("butVaryLoad");
    QCOMPARE(app.port->dialogs,
             (std::vector<RecordedDialog>{
                 {RecordedDialog::Kind::Open,
                  {"Select <Variable Payset>.txt to load", "myPaySet.txt", "txt"}},
                 {RecordedDialog::Kind::Save,
                  {"Saving latest Variable Payset", "myPaySet.txt", "txt"}}}));
    const std::string refused =
        "Cannot save \"" + keep.toStdString() + "\": it is the file chosen to be loaded";
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Confirmation, "Save the current Variable Payment Set?"},
                       Warn(refused.c_str())}));
    QCOMPARE(ReadAll(keep), kept);
    QCOMPARE(app.Groups(), (std::vector<qv::VarGroup>{{1, 2, 5.0, 350.0, 1, 0}}));
    QCOMPARE(app.window->State().vary.ContractPrincipal, 700.0);

    // A save proposes the list saved last, a load the list loaded last.
    app.port->ClearRecords();
    app.port->fileAnswers = {folder.Path("saved.txt").toStdString()};
    app.Click("butVarSave");
    app.Click("butVarSave");
    app.Click("butVaryLoad");
    QCOMPARE(app.port->dialogs.at(0).request.fileName, std::string("myPaySet.txt"));
    QCOMPARE(app.port->dialogs.at(1).request.fileName, folder.Path("saved.txt").toStdString());
    QCOMPARE(app.port->dialogs.at(2).request.fileName, keep.toStdString());
}

void VaryPageTest::groupNumbersAreShownOnlyAndTheSummaryFollowsEdits() {
    VaryApp app;
    app.AddGroup(QStringLiteral("3"), QStringLiteral("100.00"));
    app.AddGroup(QStringLiteral("2"), QStringLiteral("50.00"));
    auto* grid = app.Find<QTableView>("dbgVariable");
    const QAbstractItemModel* model = grid->model();
    for (int column = 0; column < model->columnCount(); ++column) {
        const bool editable = model->flags(model->index(0, column)) & Qt::ItemIsEditable;
        QCOMPARE(editable, column != 0);  // GroupID is shown only
    }
    QVERIFY(!grid->model()->setData(model->index(0, 0), QStringLiteral("0")));
    QCOMPARE(app.Groups().front().GrpID, 1);

    // The summary counts the list as edited, payments and counts alike,
    // and the toolkit has nothing to complain about.
    std::vector<QString> complaints;
    static std::vector<QString>* collected = nullptr;
    collected = &complaints;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            collected->push_back(text);
        });
    EditCell(grid, 1, 3, QStringLiteral("60"));
    QCOMPARE(app.Label("labVary14"), QStringLiteral("5 Payments, Total= $420.00"));
    EditCell(grid, 0, 1, QStringLiteral("4"));
    QCOMPARE(app.Label("labVary14"), QStringLiteral("6 Payments, Total= $520.00"));
    app.Click("butVaryAdd");
    QCOMPARE(app.Label("labVary14"), QStringLiteral("7 Payments, Total= $520.00"));
    qInstallMessageHandler(previous);
    QCOMPARE(complaints, std::vector<QString>{});
    QVERIFY(app.port->messages.empty());
}

void VaryPageTest::aLongListLoadsWithOneRefreshOfItsGrid() {
    InFolder folder;
    const QString list = folder.Path("long.txt");
    QByteArray text("0,1,0,250000,0,0\r\n");
    for (int g = 1; g <= 10000; ++g) text += QByteArray::number(g) + ",1,9.5,30.25,1,0\r\n";
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    VaryApp app;
    auto* grid = app.Find<QTableView>("dbgVariable");
    const auto* model = static_cast<const MemTableModel*>(grid->model());
    const int before = model->Refreshes();
    app.port->fileAnswers = {list.toStdString()};
    app.Click("butVaryLoad");
    QCoreApplication::processEvents();
    QCOMPARE(model->rowCount(), 10000);
    QCOMPARE(model->Refreshes() - before, 1);
    QCOMPARE(app.Label("labVary14"), QStringLiteral("10000 Payments, Total= $302,500.00"));
}

QTEST_MAIN(VaryPageTest)
#include "vary_page_test.moc"
