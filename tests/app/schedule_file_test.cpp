// Saving and loading schedule files through the editor's buttons and their
// dialogs, what a load shows on the pages, loads and saves that fail, the
// shipped example files, and the progress window of the file components.
#include "schedule/schedule_file.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/pages/editor_page.h"
#include "app/pages/irregular_page.h"
#include "app/progress_window.h"
#include "app/radio_group.h"
#include "app_fixture.h"
#include "cli/loan_run.h"
#include "core/pay_group.h"
#include "data/wccsvexp.h"
#include "data/wccsvimp.h"

namespace fs = std::filesystem;
using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

constexpr const char* kExampleFile =
    "1,0,1000,0,0\r\n1,1,95,1,15\r\n10,2,88.85,1,0\r\n1,3,88.91,1,0\r\n";
constexpr const char* kExampleTotal = "12 payments total to $1,072.41";

// (SetSize, Sequence, PaySize, PriorPds, AddDays) of a group.
using Group = std::tuple<int, int, double, int, int>;
using Groups = std::vector<Group>;
const Groups kExampleGroups = {{1, 1, 95.0, 1, 15}, {10, 2, 88.85, 1, 0}, {1, 3, 88.91, 1, 0}};

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

fs::path ExamplesFolder() {
    return fs::path(QV_SOURCE_DIR) / "examples";
}

struct FileApp : AppFixture {
    QTemporaryDir temp;

    FileApp() {
        window->ShowPage(PageId::tabEdit);
        port->ClearRecords();
    }

    fs::path Path(const char* name) const { return fs::path(temp.path().toStdString()) / name; }
    qv::LoanState& State() const { return window->State(); }
    int Interval(const char* radio) const { return Find<RadioGroup>(radio)->ItemIndex(); }

    Groups PaySet() const {
        Groups out;
        qv::TMemDataSet& t = window->Schedule().PaySet();
        for (int row = 0; row < t.RowCount(); ++row) {
            // Fields in table order: SetSize, Sequence, PaySize, PriorPds, AddDays.
            out.emplace_back(std::stoi(t.CellText(row, 0)), std::stoi(t.CellText(row, 1)),
                             std::stod(t.CellText(row, 2)), std::stoi(t.CellText(row, 3)),
                             std::stoi(t.CellText(row, 4)));
        }
        return out;
    }

    // The example schedule as a user types it on the regular page and
    // computes its APR there, which writes its groups.
    void EnterExample() {
        PickTab(QStringLiteral("2:Reg.Pay"));
        Enter("edSimpAmtFin", QStringLiteral("1000"));
        Enter("edSimpInnerNoPay", QStringLiteral("12"));
        Enter("edSimpRegPay", QStringLiteral("88.85"));
        Enter("edSimp1stPay", QStringLiteral("95"));
        Enter("edSimp1stNoPd", QStringLiteral("1"));
        Enter("edSimp1stExtra", QStringLiteral("15"));
        Enter("edSimpLastPay", QStringLiteral("88.91"));
        Click("butSimpleAPR");
        window->ShowPage(PageId::tabEdit);
        port->ClearRecords();
    }

    void Save(const fs::path& file) {
        port->fileAnswers = {file.string()};
        Click("butSave");
    }
    void Load(const fs::path& file) {
        port->fileAnswers = {file.string()};
        Click("butLoad");
    }

    // The boxes a load writes, on both schedule pages.
    QStringList LoadedBoxes() const {
        QStringList out;
        for (const char* box :
             {"edAmtFin", "edTotPay", "edPayCount", "edSimpAmtFin", "edSimpInnerNoPay",
              "edSimp1stPay", "edSimp1stNoPd", "edSimp1stExtra", "edSimpRegPay", "edSimpLastPay",
              "edSimpLastNoPd", "edSimpLastExtra"}) {
            out << Text(box);
        }
        return out;
    }
};

std::string AprMessage(const QString& aprBox) {
    QString rate = aprBox;
    rate.remove(QLatin1Char('%'));
    return "APR is " + rate.toStdString() + " %, see Tab 4";
}

// Feeds the progress window and notes what it shows after every call, as
// the user would see it during the run.
struct WatchedWindow : qv::ProgressObserver {
    explicit WatchedWindow(TProgressWindow& w) : window(w) {}

    void Start(qv::ProgressKind kind, qv::ProgressBasis basis, std::int64_t totalBytes,
               std::int64_t totalRecords, const std::string& fileName) override {
        window.Start(kind, basis, totalBytes, totalRecords, fileName);
        Note();
    }
    void Update(std::int64_t recordsDone, std::int64_t bytesDone) override {
        const int paintedBefore = paints;
        window.Update(recordsDone, bytesDone);
        Note();
        if (paints == paintedBefore) ++updatesNotPainted;
    }
    void Finish() override { window.Finish(); }

    QString Label(const char* name) const {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    void Note() {
        visibleThroughout = visibleThroughout && window.isVisible();
        shown.push_back({window.windowTitle(), Label("lbFile"), Label("lbRecords"),
                         Label("lbBytes"), Label("lbTime"), Label("lbPercentage")});
        auto* bar = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
        busyBar.push_back(bar->maximum() == 0);
    }

    TProgressWindow& window;
    std::vector<QStringList> shown;
    std::vector<bool> busyBar;
    bool visibleThroughout = true;
    int paints = 0;
    int updatesNotPainted = 0;
};

struct PaintCounter : QObject {
    explicit PaintCounter(int& count) : count_(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count_;
        return false;
    }
    int& count_;
};

}  // namespace

class ScheduleFileTest : public QObject {
    Q_OBJECT

  private slots:
    void savedExampleLoadsBackOnBothPages();
    void theCurrentScheduleIsOfferedForSavingFirst_data();
    void theCurrentScheduleIsOfferedForSavingFirst();
    void failedLoadsAndSavesChangeNothing_data();
    void failedLoadsAndSavesChangeNothing();
    void partlyReadFilesAreLoadedAndSaySo_data();
    void partlyReadFilesAreLoadedAndSaySo();
    void cancelledLoadStillTestsAndEstimates();
    void nothingToSave();
    void exampleFilesLoadWithTheirApr();
    void progressWindowShowsARun();
};

void ScheduleFileTest::savedExampleLoadsBackOnBothPages() {
    FileApp app;
    app.EnterExample();
    const QString computedApr = app.Text("edSimpAPR");
    QVERIFY(computedApr.endsWith(QLatin1Char('%')));
    const fs::path file = app.Path("example.txt");
    const FileDialogRequest firstSave{"Saving latest Payset", "myPaySet.txt", "txt"};
    const FileDialogRequest firstOpen{"Select <Payset>.txt to load", "myPaySet.txt", "txt"};

    app.Save(file);
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.port->dialogs,
             (std::vector<RecordedDialog>{{RecordedDialog::Kind::Save, firstSave}}));
    QCOMPARE(ReadBytes(file), std::string(kExampleFile));

    // Everything back to its start, then the file brings the schedule back.
    app.window->Reset();
    app.window->ShowPage(PageId::tabEdit);
    app.port->ClearRecords();
    app.Load(file);
    QCOMPARE(app.port->dialogs,
             (std::vector<RecordedDialog>{{RecordedDialog::Kind::Open, firstOpen}}));
    QCOMPARE(app.PaySet(), kExampleGroups);
    QCOMPARE(app.port->messages, (Messages{{MessageKind::Information, kExampleTotal},
                                           {MessageKind::Information, AprMessage(computedApr)}}));
    QCOMPARE(app.port->inputs.size(), std::size_t(1));  // the amount financed, kept
    QCOMPARE(app.port->inputs[0].defaultText, std::string("$1,000.00"));
    QCOMPARE(app.LoadedBoxes(), (QStringList{"1000.00", "1072.41", "12", "1000.00", "12", "95.00",
                                             "1", "15", "88.85", "88.91", "1", "0"}));
    QCOMPARE(app.Find<QLabel>("labSimpToP")->text(),
             QStringLiteral("Above schedule has 12 Payments Totalling $1,072.41 w/ $72.41 Finance "
                            "Charge"));
    QCOMPARE(app.Interval("rgpBasePd"), 1);
    QCOMPARE(app.Interval("rgpSimpInterval"), 1);
    QCOMPARE(app.Text("edAPR") + QLatin1Char('%'), computedApr);
    QVERIFY(app.window->GetPage<IrregularPage>().GridEditable());
    const qv::LoanState& s = app.State();
    QCOMPARE(s.loan.AmtFin, 1000.0);
    QCOMPARE(s.loan.PayCount, 12);
    QCOMPARE(s.loan.TotPay, qv::Currency(10'724'100));
    QCOMPARE(s.regular.FirstPay, 95.0);
    QCOMPARE(s.regular.FirstExtra, 15);
    QCOMPARE(s.regular.RegPay, 88.85);
    QCOMPARE(s.regular.LastPay, 88.91);
    QVERIFY(!s.loan.IrregularLoaded);

    // Each dialog proposes the path chosen in it last.
    app.port->ClearRecords();
    app.Save(app.Path("again.txt"));
    app.port->answers = {qv::Answer::No};  // no need to save before loading
    app.Load(file);
    FileDialogRequest secondSave = firstSave;
    secondSave.fileName = file.string();
    FileDialogRequest secondOpen = firstOpen;
    secondOpen.fileName = file.string();
    QCOMPARE(app.port->dialogs,
             (std::vector<RecordedDialog>{{RecordedDialog::Kind::Save, secondSave},
                                          {RecordedDialog::Kind::Open, secondOpen}}));
    QCOMPARE(ReadBytes(app.Path("again.txt")), std::string(kExampleFile));
}

void ScheduleFileTest::theCurrentScheduleIsOfferedForSavingFirst_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("saveTo");  // chosen in the save dialog; "" cancels it
    QTest::newRow("No") << false << "";
    QTest::newRow("Yes, then the save dialog is cancelled") << true << "";
    QTest::newRow("Yes, and saved") << true << "current.txt";
    QTest::newRow("Yes, over the file to load") << true << "example.txt";
}

void ScheduleFileTest::theCurrentScheduleIsOfferedForSavingFirst() {
    QFETCH(bool, yes);
    QFETCH(QString, saveTo);
    FileApp app;
    const fs::path example = app.Path("example.txt");
    const fs::path current = app.Path("current.txt");
    WriteBytes(example, kExampleFile);
    qv::AppendPayGroup(app.window->Schedule().PaySet(), {24, 1, 50.0, 1, 0});
    app.window->Schedule().PaySet().Post();
    app.State().loan.AmtFin = 1100.0;

    app.port->answers = {yes ? qv::Answer::Yes : qv::Answer::No};
    app.port->fileAnswers = {example.string()};
    if (yes)
        app.port->fileAnswers.push_back(
            saveTo.isEmpty() ? std::nullopt : std::optional(app.Path(qPrintable(saveTo)).string()));
    app.Click("butLoad");

    std::vector<RecordedDialog::Kind> dialogs;
    for (const RecordedDialog& d : app.port->dialogs) dialogs.push_back(d.kind);
    using Kinds = std::vector<RecordedDialog::Kind>;
    const Kinds expectedDialogs =
        yes ? Kinds{RecordedDialog::Kind::Open, RecordedDialog::Kind::Save}
            : Kinds{RecordedDialog::Kind::Open};
    QCOMPARE(dialogs, expectedDialogs);
    Messages expected = {{MessageKind::Confirmation, "Save the current Payment Set?"},
                         {MessageKind::Information, kExampleTotal}};
    // The file about to be loaded is never the one the save replaces.
    if (saveTo == QStringLiteral("example.txt")) {
        expected.insert(expected.begin() + 1, Warn(("Cannot save \"" + example.string() +
                                                    "\": it is the file chosen to be loaded")
                                                       .c_str()));
    }
    QVERIFY(app.port->messages.size() >= expected.size());
    app.port->messages.resize(expected.size());
    QCOMPARE(app.port->messages, expected);
    QCOMPARE(ReadBytes(example), std::string(kExampleFile));
    QCOMPARE(app.PaySet(), kExampleGroups);  // loaded in every case
    QCOMPARE(fs::exists(current), saveTo == QStringLiteral("current.txt"));
    if (fs::exists(current))
        QCOMPARE(ReadBytes(current), std::string("1,0,1100,0,0\r\n24,1,50,1,0\r\n"));
}

void ScheduleFileTest::failedLoadsAndSavesChangeNothing_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("target");    // in the temporary folder
    QTest::addColumn<QString>("existing");  // what is there before, "" for nothing
    QTest::addColumn<QString>("said");      // the end of the one warning

    // Root may write anywhere, so saves fail by their paths: a folder that
    // is a file, a name with no room for the temporary file beside it.
    const QString longName = QString(250, QLatin1Char('n'));
    QTest::newRow("load a missing file") << false << "missing.txt"
                                         << ""
                                         << "The schedule was not changed.";
    QTest::newRow("load a folder") << false << "folder"
                                   << "/"
                                   << "The schedule was not changed.";
    QTest::newRow("load binary garbage")
        << false << "garbage.txt" << QString::fromLatin1("\x01\x02\xff\xfe,\x7f\n\x80", 8)
        << "The schedule was not changed.";
    QTest::newRow("save into a file as folder") << true << "plain.txt/new.txt"
                                                << ""
                                                << ": Not a directory";
    QTest::newRow("save with no room for the temporary name")
        << true << longName << "1,0,5,0,0\r\n1,1,5,1,0\r\n"
        << ": File name too long";
}

void ScheduleFileTest::failedLoadsAndSavesChangeNothing() {
    QFETCH(bool, save);
    QFETCH(QString, target);
    QFETCH(QString, existing);
    QFETCH(QString, said);
    FileApp app;
    const fs::path example = app.Path("example.txt");
    WriteBytes(example, kExampleFile);
    WriteBytes(app.Path("plain.txt"), "not a folder");
    app.Load(example);
    const QStringList boxes = app.LoadedBoxes();
    const QString apr = app.Text("edAPR");

    const fs::path file = app.Path(target.toUtf8().constData());
    if (existing == QLatin1String("/")) {
        fs::create_directory(file);
    } else if (!existing.isEmpty()) {
        WriteBytes(file, existing.toLatin1().toStdString());
    }
    app.port->ClearRecords();
    // Loading does not save the schedule first; saving overwrites.
    app.port->answers = {save ? qv::Answer::Yes : qv::Answer::No};
    if (save) {
        app.Save(file);
    } else {
        app.Load(file);
    }

    // Only the questions on the way, then one warning; nothing else runs.
    QVERIFY(!app.port->messages.empty());
    const qv::RecordedMessage& last = app.port->messages.back();
    QCOMPARE(last.kind, MessageKind::Warning);
    QVERIFY2(QString::fromStdString(last.text).endsWith(said), last.text.c_str());
    for (std::size_t i = 0; i + 1 < app.port->messages.size(); ++i)
        QVERIFY(app.port->messages[i].kind != MessageKind::Information);
    QVERIFY(app.port->inputs.empty());
    QCOMPARE(app.PaySet(), kExampleGroups);
    QCOMPARE(app.LoadedBoxes(), boxes);
    QCOMPARE(app.Text("edAPR"), apr);
    QCOMPARE(app.State().loan.AmtFin, 1000.0);
    QCOMPARE(app.State().loan.PayCount, 12);
    if (!existing.isEmpty() && existing != QLatin1String("/"))
        QCOMPARE(ReadBytes(file), existing.toLatin1().toStdString());
    QCOMPARE(ReadBytes(app.Path("plain.txt")), std::string("not a folder"));
    // No temporary file is left behind.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(app.Path("")))
        names.insert(entry.path().filename().string());
    for (const std::string& name : names) QVERIFY2(name.rfind(".", 0) != 0, name.c_str());
}

void ScheduleFileTest::partlyReadFilesAreLoadedAndSaySo_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<Groups>("groups");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("boxes");  // LoadedBoxes()

    // Without a header the amount financed and the regular page stay as they
    // were; the schedule test writes the count and total it finds.
    QTest::newRow("no header")
        << "12,1,88.85,1,0\r\n"
        << Groups{{12, 1, 88.85, 1, 0}}
        << QStringList{"i DataSet lacks Amt.Fin. and Common Interval",
                       "i 12 payments total to $1,066.20",
                       "i $0.00 Amount Financed is too low to compute a meaningful APR",
                       "i No APR computed, as data inconsistency detected"}
        << QStringList{"0.00", "1066.20", "12",  "0.00", "0", "0.00",
                       "0",    "0",       "0.0", "0.00", "0", "0"};
    // The boxes are written before the warning; the schedule's faults are
    // then the schedule test's and the estimate's to report.
    QTest::newRow("values that are not numbers, a line without a group number")
        << "1,0,1000,0,0\r\n12,1,abc,1,0\r\n5,,5,1,0\r\n1,3,1000,1,0\r\n"
        << Groups{{12, 1, 0.0, 1, 0}, {1, 3, 1000.0, 1, 0}}
        << QStringList{"w Not everything in partly.txt could be read:\n\r"
                       "1 line held a value that is not a number; it was taken as 0: line 2\n\r"
                       "1 line was left out, as it has no Sequence number: line 3",
                       "i Group # 1 has payment(s) of zero $ !",
                       "i 13 payments total to $1,000.00",
                       "w Error: 1 negative or $0.00 payment(s).",
                       "w No APR was estimated on account of input errors.",
                       "i No APR computed, as data inconsistency detected"}
        << QStringList{"1000.00", "1000.00", "13", "1000.00", "13", "0.00", "1", "0", "0.00",
                       "1000.00", "1", "0"};
}

void ScheduleFileTest::partlyReadFilesAreLoadedAndSaySo() {
    QFETCH(QString, file);
    QFETCH(Groups, groups);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, boxes);
    FileApp app;
    const fs::path path = app.Path("partly.txt");
    WriteBytes(path, file.toStdString());
    app.Load(path);
    QCOMPARE(app.PaySet(), groups);
    QStringList said;
    for (const qv::RecordedMessage& m : app.port->messages) {
        QVERIFY(m.kind == MessageKind::Information || m.kind == MessageKind::Warning);
        said << (m.kind == MessageKind::Information ? "i " : "w ") + QString::fromStdString(m.text);
    }
    QCOMPARE(said, messages);
    QCOMPARE(app.LoadedBoxes(), boxes);
}

void ScheduleFileTest::cancelledLoadStillTestsAndEstimates() {
    FileApp app;
    app.EnterExample();
    const QString computedApr = app.Text("edSimpAPR");
    app.Click("butLoad");  // the dialog is cancelled
    QCOMPARE(app.port->dialogs.size(), std::size_t(1));
    QCOMPARE(app.port->messages, (Messages{{MessageKind::Information, kExampleTotal},
                                           {MessageKind::Information, AprMessage(computedApr)}}));
    QCOMPARE(app.port->inputs.size(), std::size_t(1));
    QCOMPARE(app.PaySet(), kExampleGroups);
}

void ScheduleFileTest::nothingToSave() {
    FileApp app;
    app.Click("butSave");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information, "No Payment Schedule to Save!"}}));
    QVERIFY(app.port->dialogs.empty());
}

void ScheduleFileTest::exampleFilesLoadWithTheirApr() {
    struct Expected {
        std::string apr;  // the last message of the load
        bool irregular;
    };
    const std::map<std::string, Expected> expected = {
        {"regular-odd-first.txt", {"APR is 10.289 %, see Tab 4", false}},
        {"irregular.txt", {"APR is 9.340 %, see Tab 4", true}},
    };
    int loaded = 0;
    for (const auto& entry : fs::directory_iterator(ExamplesFolder())) {
        const std::string name = entry.path().filename().string();
        // Only schedule files: the variable-rate list and the command-line
        // companion's batch of loans are not for this page.
        if (entry.path().extension() != ".txt" || name.rfind("variable", 0) == 0) continue;
        QVERIFY2(expected.count(name) == 1, name.c_str());
        FileApp app;
        app.Load(entry.path());
        QVERIFY2(!app.port->messages.empty(), name.c_str());
        QCOMPARE(app.port->messages.back().text, expected.at(name).apr);
        QCOMPARE(app.State().loan.IrregularLoaded, expected.at(name).irregular);
        // The command-line companion computes the same schedule file the
        // same way: the same report, line for line, and the same rate.
        qv::cli::LoanWorker companion{qv::cli::RunSettings{}};
        const qv::cli::LoanRecord record = companion.FromScheduleFile(entry.path(), name);
        QCOMPARE(record.report, app.window->Chart().Lines());
        QCOMPARE(record.apr, app.State().loan.APR);
        ++loaded;
    }
    QCOMPARE(loaded, int(expected.size()));
}

void ScheduleFileTest::progressWindowShowsARun() {
    FileApp app;
    app.window->move(0, 0);
    TProgressWindow window(app.window.get());
    WatchedWindow watched(window);
    PaintCounter counter(watched.paints);
    window.installEventFilter(&counter);
    QCOMPARE(window.windowTitle(), QStringLiteral("Progress"));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window.size(), QSize(330, 151));

    qv::TMemDataSet paySet("mdsPaySet");
    qv::DefinePaySetTable(paySet);
    for (int g = 1; g <= 250; ++g) qv::AppendPayGroup(paySet, {1, g, 10.0 + g, 1, 0});
    paySet.Post();
    const fs::path file = app.Path("progress.txt");
    qv::TCSVExport csx;
    csx.DataSet = &paySet;
    csx.OutputFile = file.string();
    csx.ShowProgress = true;
    csx.Progress = &watched;
    QCOMPARE(csx.Execute(), 250);

    // Started, then every 250 / 100 = 2 records.
    QCOMPARE(watched.shown.size(), std::size_t(1 + 125));
    QCOMPARE(watched.shown.front(),
             (QStringList{"Export Progress", QString::fromStdString(file.string()), "0 of 250",
                          "0K written", "00:00:00 remaining", "0%"}));
    QCOMPARE(watched.shown[1][2], QStringLiteral("2 of 250 records"));
    QCOMPARE(watched.shown.back()[2], QStringLiteral("250 of 250 records"));
    QCOMPARE(watched.shown.back()[5], QStringLiteral("100%"));
    QVERIFY(watched.visibleThroughout);
    QCOMPARE(watched.updatesNotPainted, 0);  // repainted while the run goes on
    QVERIFY(!window.isVisible());            // gone when the run is over
    // Centred on the screen, wherever the main window stands.
    QVERIFY(app.window->frameGeometry().center() != window.screen()->availableGeometry().center());
    const QPoint centre = window.screen()->availableGeometry().center();
    QVERIFY((window.frameGeometry().center() - centre).manhattanLength() <= 4);

    // An import measures bytes; an empty file gives a busy bar and no percentage.
    watched.shown.clear();
    watched.busyBar.clear();
    qv::TMemDataSet into("mdsPaySet");
    qv::DefinePaySetTable(into);
    qv::TCSVImport csi;
    csi.DataSet = &into;
    csi.InputFile = file.string();
    csi.ShowProgress = true;
    csi.Progress = &watched;
    QCOMPARE(csi.Execute(), 250);
    QCOMPARE(watched.shown.front()[0], QStringLiteral("Import Progress"));
    QCOMPARE(watched.shown.size(), std::size_t(1 + 250));
    QCOMPARE(watched.shown.back()[2], QStringLiteral("250 records"));
    QCOMPARE(watched.shown.back()[5], QStringLiteral("100%"));
    QVERIFY(!watched.busyBar.back());

    WriteBytes(file, "");
    watched.shown.clear();
    watched.busyBar.clear();
    QCOMPARE(csi.Execute(), 0);
    QCOMPARE(watched.shown.front()[3], QStringLiteral("0K of 0.0K read"));
    QCOMPARE(watched.shown.front()[5], QStringLiteral("0%"));
    QVERIFY(watched.busyBar.front());
}

QTEST_MAIN(ScheduleFileTest)
#include "schedule_file_test.moc"
