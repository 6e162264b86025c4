// The grid model over the record table: what a grid shows, what a cell edit
// writes, what the table refuses, and how often the grid refreshes.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "app/pages/irregular_page.h"
#include "app/recording_platform_port.h"
#include "app/table_model.h"
#include "app_fixture.h"
#include "data/memdset.h"

using qv::MessageKind;

namespace {

std::vector<GridColumn> PayColumns() {
    return {{"Sequence", QStringLiteral("GroupID")},
            {"SetSize", QStringLiteral("#/Group")},
            {"PaySize", QStringLiteral("$/Payment")},
            {"PriorPds", QStringLiteral("Prior Reg.Intervals")},
            {"AddDays", QString()}};
}

void AddGroup(qv::TMemDataSet& t, int sequence, int size, double pay) {
    t.AppendNew();
    t.SetFieldInteger("Sequence", sequence);
    t.SetFieldInteger("SetSize", size);
    t.SetFieldFloat("PaySize", pay);
    t.SetFieldInteger("PriorPds", 1);
    t.SetFieldInteger("AddDays", 0);
    t.Post();
}

QString Cell(const MemTableModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

QStringList Column(const MemTableModel& model, int column) {
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row) out << Cell(model, row, column);
    return out;
}

struct Table {
    qv::TMemDataSet table{"mdsPaySet"};
    RecordingPlatformPort port;
    Table() { qv::DefinePaySetTable(table); }
};

}  // namespace

class GridModelTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTitlesCentredCellsInTableOrder() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        AddGroup(t.table, 3, 1, 50.25);
        AddGroup(t.table, 1, 10, 100.0);
        AddGroup(t.table, 2, 5, 75.5);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("GroupID"));
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Prior Reg.Intervals"));
        // A column without a title of its own shows its field's name.
        QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("AddDays"));
        QCOMPARE(Column(model, 0), (QStringList{"1", "2", "3"}));
        QCOMPARE(Column(model, 2), (QStringList{"100", "75.5", "50.25"}));
        QCOMPARE(model.data(model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
    }

    void readOnlyGridRefusesEdits() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        AddGroup(t.table, 1, 10, 100.0);
        model.SetReadOnly(true);
        QVERIFY(!(model.flags(model.index(0, 2)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("5")));
        QCOMPARE(t.table.FieldAsFloat("PaySize"), 100.0);
        model.SetReadOnly(false);
        QVERIFY(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    }

    void cellEditIsPostedToTheTable() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        AddGroup(t.table, 1, 10, 100.0);
        AddGroup(t.table, 2, 5, 75.0);
        QVERIFY(model.setData(model.index(1, 2), QStringLiteral(" 80.125 ")));
        QCOMPARE(t.table.State(), qv::DataSetState::Browse);
        t.table.MoveTo(2);
        QCOMPARE(t.table.FieldAsFloat("PaySize"), 80.125);
        // A new group number moves the row to its place in the order.
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("7")));
        QCOMPARE(Column(model, 0), (QStringList{"2", "7"}));
        QCOMPARE(Column(model, 1), (QStringList{"5", "10"}));
        QVERIFY(t.port.messages.empty());
    }

    void refusalsShowTheTablesWordsAndKeepTheOldValue() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        AddGroup(t.table, 1, 10, 100.0);
        QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("abc")));
        QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("1,5")));
        // The group number is required; an emptied cell would lose it.
        QVERIFY(!model.setData(model.index(0, 0), QString()));
        QCOMPARE(
            t.port.messages,
            (std::vector<qv::RecordedMessage>{
                {MessageKind::Warning, "'abc' is not a valid integer value for field 'SetSize'"},
                {MessageKind::Warning,
                 "'1,5' is not a valid floating point value for field 'PaySize'"},
                {MessageKind::Warning, "Field 'Sequence' must have a value"}}));
        QCOMPARE(t.table.State(), qv::DataSetState::Browse);
        QCOMPARE(Cell(model, 0, 0), QStringLiteral("1"));
        QCOMPARE(Cell(model, 0, 1), QStringLiteral("10"));
        QCOMPARE(Cell(model, 0, 2), QStringLiteral("100"));
    }

    void newRowCollectsValuesAndIsStoredOnMovingOff() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        AddGroup(t.table, 1, 10, 100.0);
        t.table.AppendNew();
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(model.setData(model.index(1, 1), QStringLiteral("3")));
        QCOMPARE(t.table.State(), qv::DataSetState::Insert);
        QCOMPARE(t.table.Count(), 1);

        // Moving off a new row without its group number is refused, and the
        // row stays for the user to complete.
        QVERIFY(!model.SetCurrentRow(0));
        QCOMPARE(t.port.Texts(), (std::vector<std::string>{"Field 'Sequence' must have a value"}));
        QCOMPARE(t.table.State(), qv::DataSetState::Insert);

        QVERIFY(model.setData(model.index(1, 0), QStringLiteral("0")));
        QVERIFY(model.SetCurrentRow(0));
        QCOMPARE(t.table.Count(), 2);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(Column(model, 0), (QStringList{"0", "1"}));
        QCOMPARE(Column(model, 1), (QStringList{"3", "10"}));
    }

    void emptyNewRowDisappearsWhenLeft() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        AddGroup(t.table, 1, 10, 100.0);
        t.table.AppendNew();
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(model.SetCurrentRow(0));
        // The row count changes after the move has returned to the grid.
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(t.table.Count(), 1);
        QVERIFY(t.port.messages.empty());
    }

    void batchOfChangesRefreshesOnce() {
        Table t;
        MemTableModel model(t.table, PayColumns(), t.port);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        const int before = model.Refreshes();
        t.table.BeginUpdate();
        for (int i = 1; i <= 485; ++i) AddGroup(t.table, i, 1, 10.0);
        t.table.EndUpdate();
        QCOMPARE(model.Refreshes() - before, 1);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(model.rowCount(), 485);
        QCOMPARE(Cell(model, 484, 0), QStringLiteral("485"));

        // Emptying the table (as Reset does) leaves an empty grid.
        qv::EmptyTable(t.table);
        QCOMPARE(model.rowCount(), 0);
    }

    void gridAndTableCursorFollowEachOther() {
        Table t;
        for (int i = 1; i <= 4; ++i) AddGroup(t.table, i, i, 10.0 * i);
        QTableView view;
        auto* model = new MemTableModel(t.table, PayColumns(), t.port, &view);
        BindGrid(&view, model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        view.setCurrentIndex(model->index(2, 1));
        QCOMPARE(t.table.Position(), 3);
        t.table.MoveTo(1);
        QCOMPARE(view.currentIndex().row(), 0);

        // Typing into a cell through the view's own editor.
        view.setCurrentIndex(model->index(1, 2));
        view.edit(model->index(1, 2));
        auto* editor = view.findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("99.99"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the editor's text once the key press is over.
        QCoreApplication::processEvents();
        QCOMPARE(Cell(*model, 1, 2), QStringLiteral("99.99"));
        t.table.MoveTo(2);
        QCOMPARE(t.table.FieldAsFloat("PaySize"), 99.99);
    }

    void aRenumberedRowMovesAndTheGridFollowsWithoutComplaint() {
        Table t;
        for (int i = 1; i <= 4; ++i) AddGroup(t.table, i, i, 10.0 * i);
        QTableView view;
        auto* model = new MemTableModel(t.table, PayColumns(), t.port, &view);
        BindGrid(&view, model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        static QStringList complaints;
        complaints.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { complaints << text; });

        // Group 1 renumbered 9 moves to the end, and the grid goes with it.
        view.setCurrentIndex(model->index(0, 0));
        view.edit(model->index(0, 0));
        auto* editor = view.findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("9"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        qInstallMessageHandler(previous);
        QCOMPARE(complaints.join(QLatin1Char('\n')), QString());
        QCOMPARE(Column(*model, 0), (QStringList{"2", "3", "4", "9"}));
        QTRY_COMPARE(view.currentIndex().row(), 3);
        QCOMPARE(t.table.FieldAsInteger("Sequence"), 9);
    }

    void windowGridsShareThePaymentTable() {
        AppFixture app;
        auto* irregular = app.Find<QTableView>("dbgPaySet");
        auto* editor = app.Find<QTableView>("dbgPaySet2");
        QVERIFY(irregular != nullptr && editor != nullptr);
        AddGroup(app.window->Schedule().PaySet(), 1, 12, 250.0);
        QCOMPARE(irregular->model()->rowCount(), 1);
        QCOMPARE(editor->model()->rowCount(), 1);
        QCOMPARE(irregular->model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Prior Extra Days"));
        // The irregular page's grid starts read-only and Reset makes it so
        // again; the editor's grid is editable.
        auto* model = static_cast<MemTableModel*>(irregular->model());
        QVERIFY(model->ReadOnly());
        model->SetReadOnly(false);
        QVERIFY(!static_cast<MemTableModel*>(editor->model())->ReadOnly());
        app.Item("menClear")->trigger();
        QVERIFY(model->ReadOnly());
        QCOMPARE(irregular->model()->rowCount(), 0);
        QCOMPARE(editor->model()->rowCount(), 0);
        QCOMPARE(app.Find<QTableView>("dbgDetail")->model()->headerData(5, Qt::Horizontal),
                 QVariant(QStringLiteral("Rx78 Rebate")));
        QCOMPARE(app.Find<QTableView>("dbgVarSchedule")->model()->headerData(2, Qt::Horizontal),
                 QVariant(QStringLiteral("RegPds")));
    }
};

QTEST_MAIN(GridModelTest)
#include "grid_model_test.moc"
