// The schedule editor: adding and deleting groups, the two schedule tests
// with the amount-financed question, Reset, and editing in its grid.
#include "app/pages/editor_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <initializer_list>

#include "app/pages/irregular_page.h"
#include "app_fixture.h"
#include "core/pay_group.h"

using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

struct Group {
    int sequence;
    int size;
    double pay;
    int pds;
    int days;
};

void AddGroups(qv::TMemDataSet& t, std::initializer_list<Group> groups) {
    for (const Group& g : groups) {
        qv::AppendPayGroup(t, {g.size, g.sequence, g.pay, g.pds, g.days});
        t.Post();
    }
}

QStringList Column(const QTableView* grid, int column) {
    QStringList out;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        out << grid->model()->index(row, column).data().toString();
    }
    return out;
}

struct EditorApp : AppFixture {
    EditorApp() {
        window->ShowPage(PageId::tabEdit);
        port->ClearRecords();
    }
    QTableView* Grid() const { return Find<QTableView>("dbgPaySet2"); }
    qv::TMemDataSet& PaySet() const { return window->Schedule().PaySet(); }
    qv::LoanState& State() const { return window->State(); }
    QString Summary() const { return Find<QLabel>("labEstimate15")->text(); }
};

}  // namespace

class EditorPageTest : public QObject {
    Q_OBJECT

  private slots:
    void blankRowFollowsTheLastGroup();
    void blankRowOnAnEmptyTableIsStoredWhenTheGridIsLeft();
    void deletingAsksForTheRowAndRecounts();
    void deletingFromAnEmptyGridSaysSo();
    void totalOfPaymentsChangesNothing();
    void integrityReportsEachGroupAndTakesTheTotals();
    void amountFinancedQuestionCancelKeepsEverything();
    void amountFinancedQuestionIsAskedUntilItReads();
    void resetAllSaysSoAndStaysHere();
    void gridEditsAreRefusedInTheTablesWordsAndReorder();
    void resetFromTheMenuWhileEditingACellLeavesTheStartTexts();
    void closingWithAnOpenCellEditorIsSafe();
};

void EditorPageTest::blankRowFollowsTheLastGroup() {
    EditorApp app;
    for (int g = 1; g <= 7; ++g) AddGroups(app.PaySet(), {{g, 1, 10.0 * g, 1, 0}});
    app.PaySet().MoveTo(3);
    app.Click("butAddRow");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.PaySet().Count(), 8);
    QVERIFY(!app.PaySet().HasPending());
    QCOMPARE(app.PaySet().Position(), 3);  // the row that was current stays current
    QCOMPARE(app.Grid()->model()->rowCount(), 8);
    QCOMPARE(Column(app.Grid(), 0).last(), QStringLiteral("8"));
    QCOMPARE(Column(app.Grid(), 1).last(), QStringLiteral("1"));
    QCOMPARE(Column(app.Grid(), 2).last(), QStringLiteral("0.01"));
    QCOMPARE(Column(app.Grid(), 3).last(), QStringLiteral("1"));
    QCOMPARE(Column(app.Grid(), 4).last(), QStringLiteral("0"));
    // The summary is not recounted here.
    QCOMPARE(app.Summary(), QStringLiteral("0 Payments, Totalling $ 0.00"));
}

void EditorPageTest::blankRowOnAnEmptyTableIsStoredWhenTheGridIsLeft() {
    EditorApp app;
    app.Click("butAddRow");
    QCOMPARE(app.Grid()->model()->rowCount(), 1);
    QCOMPARE(app.PaySet().Count(), 0);  // still pending
    ClickCell(app.Grid(), 0, 1);
    QTest::keyClick(app.Grid(), Qt::Key_Tab);
    QCOMPARE(app.PaySet().Count(), 1);
    QCOMPARE(app.Summary(), QStringLiteral("1 Payments, Total= $0.01"));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("Pending"));
    QVERIFY(app.port->messages.empty());
}

void EditorPageTest::deletingAsksForTheRowAndRecounts() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}, {2, 1, 88.91, 1, 0}, {3, 2, 50.0, 1, 0}});
    ClickCell(app.Grid(), 1, 0);
    app.port->answers = {qv::Answer::No};
    app.Click("butKillRow");
    QCOMPARE(
        app.port->messages,
        (Messages{{MessageKind::WarningYesNo, "Please Confirm that you Want to Delete Row# 2"}}));
    QCOMPARE(app.PaySet().Count(), 3);

    app.port->ClearRecords();
    ClickCell(app.Grid(), 1, 0);
    app.port->answers = {qv::Answer::Yes};
    app.Click("butKillRow");
    QCOMPARE(
        app.port->messages,
        (Messages{{MessageKind::WarningYesNo, "Please Confirm that you Want to Delete Row# 2"}}));
    QCOMPARE(app.PaySet().Count(), 2);
    QCOMPARE(Column(app.Grid(), 0), (QStringList{"1", "3"}));
    QCOMPARE(app.Summary(), QStringLiteral("14 Payments, Total= $1,166.20"));
    QCOMPARE(app.State().group.GroupPayCount, 14);
}

void EditorPageTest::deletingFromAnEmptyGridSaysSo() {
    EditorApp app;
    app.Click("butKillRow");
    QCOMPARE(app.port->messages, (Messages{{MessageKind::Information, "No Records in this Grid"}}));
}

void EditorPageTest::totalOfPaymentsChangesNothing() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 11, 88.85, 1, 0}, {2, 1, 95.06, 1, 0}});
    const qv::LoanState before = app.State();
    app.Click("butEditTotPay");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information, "12 payments total to $1,072.41"}}));
    QCOMPARE(app.State().loan.TotPay, before.loan.TotPay);
    QCOMPARE(app.State().loan.PayCount, before.loan.PayCount);
    QCOMPARE(app.Text("edTotPay"), QStringLiteral("0.00"));
}

void EditorPageTest::integrityReportsEachGroupAndTakesTheTotals() {
    EditorApp app;
    AddGroups(app.PaySet(),
              {{1, 0, 10.0, 0, 0}, {2, 3, 0.004, 1, 0}, {3, 2, 0.01, 1, 0}, {4, 12, 88.85, 1, 0}});
    app.Find<QLineEdit>("edTotPay")->setText(QStringLiteral("5000.00"));
    app.State().loan.AmtFin = 1000.0;
    app.State().loan.ScheduleSource = 2;
    app.Click("butUpdateGlobals");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information, "Group # 1 has an interval of zero !"},
                       {MessageKind::Information, "Group # 1 contains no payments!"},
                       {MessageKind::Information, "Group # 2 has payment(s) of zero $ !"},
                       {MessageKind::Information, "17 payments total to $1,066.23"}}));
    // 0.004 is 40 ten-thousandths a payment: 3 of them make 0.012.
    QCOMPARE(app.State().loan.TotPay, qv::Currency{10662000 + 120 + 200});
    QCOMPARE(app.State().loan.PayCount, 17);
    QCOMPARE(app.Text("edTotPay"), QStringLiteral("1066.23"));
    QCOMPARE(app.Text("edPayCount"), QStringLiteral("17"));
    // The question proposes the amount as it is; taken unchanged, nothing moves.
    QCOMPARE(app.port->inputs,
             (std::vector<RecordedInput>{
                 {"Amount Financed Update",
                  "Change this Amount Financed, if it is incorrect:", "$1,000.00"}}));
    QCOMPARE(app.State().loan.AmtFin, 1000.0);
    // The groups themselves, and whose schedule is current, are left alone.
    QCOMPARE(app.PaySet().Count(), 4);
    QCOMPARE(app.State().loan.ScheduleSource, 2);
}

void EditorPageTest::amountFinancedQuestionCancelKeepsEverything() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}});
    app.State().loan.AmtFin = 1000.0;
    app.Find<QLineEdit>("edAmtFin")->setText(QStringLiteral("1000"));
    app.port->inputAnswers = {std::nullopt};
    app.Click("butUpdateGlobals");
    QCOMPARE(app.port->inputs.size(), std::size_t{1});
    QCOMPARE(app.State().loan.AmtFin, 1000.0);
    QCOMPARE(app.Text("edAmtFin"), QStringLiteral("1000"));
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information, "12 payments total to $1,066.20"}}));
}

void EditorPageTest::amountFinancedQuestionIsAskedUntilItReads() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}});
    app.State().loan.AmtFin = 1000.0;
    app.port->inputAnswers = {std::string("12x"), std::string("$1,000.0.0"),
                              std::string("$1,020.50")};
    app.Click("butUpdateGlobals");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information, "12 payments total to $1,066.20"},
                       {MessageKind::Information, "12x is not a valid Amount Financed"},
                       {MessageKind::Information, "$1,000.0.0 is not a valid Amount Financed"}}));
    QCOMPARE(app.port->inputs.size(), std::size_t{3});
    for (const RecordedInput& input : app.port->inputs) {
        QCOMPARE(input.defaultText, std::string("$1,000.00"));  // the old amount each time
    }
    QCOMPARE(app.State().loan.AmtFin, 1020.5);
    QCOMPARE(app.Text("edAmtFin"), QStringLiteral("1,020.50"));
    // The irregular page reads its box as the user would.
    app.window->ShowPage(PageId::tabEstimate);
    app.port->ClearRecords();
    AppFixture::Click(app.Find<QLineEdit>("edAmtFin"));
    QTest::keyClick(app.Find<QLineEdit>("edAmtFin"), Qt::Key_Tab);
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.State().loan.AmtFin, 1020.5);
}

void EditorPageTest::resetAllSaysSoAndStaysHere() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}});
    app.State().loan.TotPay = 10662000;
    app.State().loan.ScheduleSource = 3;
    app.Find<QLineEdit>("edTotPay")->setText(QStringLiteral("1066.20"));
    app.Click("butEditReset");
    QCOMPARE(app.port->messages, (Messages{{MessageKind::Information, "Reset Done!"}}));
    QCOMPARE(app.window->ActivePage(), PageId::tabEdit);
    QCOMPARE(app.HighlightedTab(), QStringLiteral("5:Save/Edit"));
    QCOMPARE(app.PaySet().RowCount(), 0);
    QCOMPARE(app.State().loan.TotPay, qv::Currency{0});
    QCOMPARE(app.State().loan.ScheduleSource, 0);
    QCOMPARE(app.Text("edTotPay"), QStringLiteral("0.00"));
}

void EditorPageTest::gridEditsAreRefusedInTheTablesWordsAndReorder() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}, {2, 1, 88.91, 1, 0}});
    EditCell(app.Grid(), 0, 1, QStringLiteral("1O"));
    QCOMPARE(app.port->messages,
             (Messages{
                 {MessageKind::Warning, "'1O' is not a valid integer value for field 'SetSize'"}}));
    QCOMPARE(Column(app.Grid(), 1), (QStringList{"12", "1"}));
    // The grid goes on working: group 1 becomes group 5 and moves last.
    app.port->ClearRecords();
    EditCell(app.Grid(), 0, 0, QStringLiteral("5"));
    QCOMPARE(Column(app.Grid(), 0), (QStringList{"2", "5"}));
    QTest::keyClick(app.Grid(), Qt::Key_Tab);
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Summary(), QStringLiteral("13 Payments, Total= $1,155.11"));
}

void EditorPageTest::resetFromTheMenuWhileEditingACellLeavesTheStartTexts() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}});
    ClickCell(app.Grid(), 0, 1);
    QTest::keyClick(app.Grid(), Qt::Key_F2);
    app.Item("menClear")->trigger();
    QCOMPARE(app.window->ActivePage(), PageId::tabAbout);
    QCOMPARE(app.PaySet().RowCount(), 0);
    QCOMPARE(app.Summary(), QStringLiteral("0 Payments, Totalling $ 0.00"));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("Pending"));
    QVERIFY(app.port->messages.empty());
}

void EditorPageTest::closingWithAnOpenCellEditorIsSafe() {
    EditorApp app;
    AddGroups(app.PaySet(), {{1, 12, 88.85, 1, 0}});
    ClickCell(app.Grid(), 0, 2);
    QTest::keyClick(app.Grid(), Qt::Key_F2);
    QVERIFY(app.Grid()->indexWidget(app.Grid()->model()->index(0, 2)) != nullptr);
    // The window goes while the focus is in the cell editor: no grid exit may
    // run against pages that are half gone (the sanitizers would tell).
    app.window.reset();
    app.port = nullptr;
}

QTEST_MAIN(EditorPageTest)
#include "editor_page_test.moc"
