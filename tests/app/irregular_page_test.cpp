// The irregular-schedule page: its boxes, Add Group, the summary, Estimate
// APR, its grid and Reset, driven through the real widgets.
#include "app/pages/irregular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableView>
#include <QTest>

#include "app/radio_group.h"
#include "app/table_model.h"
#include "app_fixture.h"
#include "base/format.h"

using qv::MessageKind;
using Messages = std::vector<qv::RecordedMessage>;

namespace {

constexpr const char* kPerDiem =
    "One or two payments on short intervals often\n\ruse \"per-diem based\" interest, so this "
    "APR\n\ris computed on that basis";

// Fills the group boxes and clicks "Add Group".
void AddGroup(const AppFixture& app, const QString& size, const QString& pay,
              const QString& pds = QStringLiteral("1"),
              const QString& extra = QStringLiteral("0")) {
    app.Enter("edSizeGroup", size);
    app.Enter("edGroupPay", pay);
    app.Enter("edGroupPds", pds);
    app.Enter("edGroupExtra", extra);
    app.Click("butDone");
}

// The basic data of a loan.
void EnterLoan(const AppFixture& app, const QString& amtFin, const QString& totPay,
               const QString& count) {
    app.Enter("edAmtFin", amtFin);
    app.Enter("edTotPay", totPay);
    app.Enter("edPayCount", count);
}

QString Label(const AppFixture& app, const char* name) {
    return app.Find<QLabel>(name)->text();
}

struct IrregularApp : AppFixture {
    IrregularApp() {
        window->ShowPage(PageId::tabEstimate);
        port->ClearRecords();
    }
    IrregularPage& Page() const { return window->GetPage<IrregularPage>(); }
    qv::LoanState& State() const { return window->State(); }
};

}  // namespace

class IrregularPageTest : public QObject {
    Q_OBJECT

  private slots:
    void oneGroupIsSuggestedBeforeTheFirstGroupOnly();
    void theProgramTakesBackItsOwnSuggestionOfAThousandOrMore();
    void totalOfPaymentsWarningsKeepTheValue();
    void everyBoxRefusesBadTextAndKeepsTheFocus_data();
    void everyBoxRefusesBadTextAndKeepsTheFocus();
    void addGroupRefusesMoreThan485Payments();
    void addGroupRefusesTextThatIsNoNumber();
    void addedGroupsAreNumberedAndSummed();
    void estimateComputesAndReportsTheAPR();
    void oneOrTwoPaymentsGetThePerDiemBasisThreeNever_data();
    void oneOrTwoPaymentsGetThePerDiemBasisThreeNever();
    void integrityFaultsGiveNoAPR();
    void engineFailureShowsInputErrorOnBothPages();
    void intervalChoiceSetsTheUnitPeriod();
    void leavingTheGridRecountsAndMarksTheAPRPending();
    void gridRefusesCellsThatDoNotConvertAndStaysUsable();
    void pageEntryStoresThePendingGroupAndNotesEditing();
    void resetAllRestoresTheStartTexts();
};

void IrregularPageTest::oneGroupIsSuggestedBeforeTheFirstGroupOnly() {
    IrregularApp app;
    app.Enter("edTotPay", QStringLiteral("1066.20"));
    app.Enter("edPayCount", QStringLiteral("12"));
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("88.85"));
    QCOMPARE(app.Text("edSizeGroup"), QStringLiteral("12"));
    QCOMPARE(app.Text("edGroupPds"), QStringLiteral("1"));
    // The variables take the values only when the group is added.
    QCOMPARE(app.State().group.GroupPay, 0.0);
    QCOMPARE(app.State().group.GroupSize, 1);
    QVERIFY(app.port->messages.empty());

    app.State().loan.ScheduleSource = 2;
    app.Click("butDone");
    QCOMPARE(app.State().loan.ScheduleSource, 2);  // only Estimate APR claims the schedule
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("12 Payments, Total= $1,066.20"));
    QCOMPARE(Label(app, "labGroupCount"), QStringLiteral("Payment Group # 2 has"));
    // A second count changes nothing once a group is there.
    app.Enter("edPayCount", QStringLiteral("13"));
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edSizeGroup"), QStringLiteral("1"));
    QCOMPARE(app.State().loan.PayCount, 13);

    // A count of zero suggests nothing (no share of the total to offer).
    app.Click("butPayReset");
    app.window->ShowPage(PageId::tabEstimate);
    app.Enter("edTotPay", QStringLiteral("1066.20"));
    app.Enter("edPayCount", QStringLiteral("0"));
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edGroupPds"), QStringLiteral("0"));
    QVERIFY(app.port->messages.empty());
}

void IrregularPageTest::theProgramTakesBackItsOwnSuggestionOfAThousandOrMore() {
    IrregularApp app;
    app.Enter("edTotPay", QStringLiteral("12,000"));
    app.Enter("edPayCount", QStringLiteral("12"));
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("1,000.00"));
    app.Click("butDone");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.window->Schedule().PaySet().RowCount(), 1);
    QCOMPARE(app.window->Schedule().PaySet().FieldAsFloat("PaySize"), 1000.0);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("12 Payments, Total= $12,000.00"));
}

void IrregularPageTest::totalOfPaymentsWarningsKeepTheValue() {
    IrregularApp app;
    app.Enter("edAmtFin", QStringLiteral("1000"));
    app.Enter("edTotPay", QStringLiteral("0.00"));
    app.Enter("edTotPay", QStringLiteral("900"));
    app.Enter("edTotPay", QStringLiteral("1100"));
    QCOMPARE(
        app.port->messages,
        (Messages{{MessageKind::Information,
                   "Warning: If Amt.Fin > zero, then Total of Payments cannot be zero."},
                  {MessageKind::Information, "Warning: Total of Payments < Amount Financed."}}));
    QCOMPARE(app.State().loan.TotPay, qv::Currency{11000000});
    QCOMPARE(app.State().loan.AmtFin, 1000.0);
}

void IrregularPageTest::everyBoxRefusesBadTextAndKeepsTheFocus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("after");
    QTest::newRow("amount") << "edAmtFin"
                            << "1l00"
                            << "Amount Financed contains Lowercase L , not part of a positive "
                               "decimal number !\n\rResetting input value of 1"
                            << "0.00";
    QTest::newRow("total") << "edTotPay"
                           << "1.2.3"
                           << "Resetting input value\n\rTotal of Payments has multiple decimals!"
                           << "0.00";
    QTest::newRow("count") << "edPayCount"
                           << "12x"
                           << "Error: Number of Payments contains x , not part of a positive "
                              "whole number !\n\rResetting input value of 12"
                           << "0";
    QTest::newRow("size") << "edSizeGroup"
                          << "2.5"
                          << "Error: Number of Payments/Group contains . , not part of a "
                             "positive whole number !\n\rResetting input value of 2"
                          << "0";
    QTest::newRow("payment") << "edGroupPay"
                             << "88.8x"
                             << "Payment $/Interval contains x , not part of a positive decimal "
                                "number !\n\rResetting input value of 88.8"
                             << "0.00";
    QTest::newRow("periods") << "edGroupPds"
                             << "-1"
                             << "Error: Number of Common Periods/Interval contains - , not part "
                                "of a positive whole number !\n\rResetting input value of "
                             << "0";
    QTest::newRow("days") << "edGroupExtra"
                          << ""
                          << "Error: Extra Days/Interval input is not a number !\n\rResetting "
                             "input value of "
                          << "0";
}

void IrregularPageTest::everyBoxRefusesBadTextAndKeepsTheFocus() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, after);
    IrregularApp app;
    const qv::LoanState before = app.State();
    app.Enter(qPrintable(box), typed);
    QCOMPARE(app.port->messages.size(), std::size_t{1});
    QCOMPARE(app.port->messages[0].kind, MessageKind::Information);
    QCOMPARE(QString::fromStdString(app.port->messages[0].text), message);
    QCOMPARE(app.Text(qPrintable(box)), after);
    QCOMPARE(QApplication::focusWidget(), app.Find<QWidget>(qPrintable(box)));
    // The value is back at zero, whatever it was.
    const qv::LoanState& s = app.State();
    QCOMPARE(s.loan.AmtFin, 0.0);
    QCOMPARE(s.loan.TotPay, qv::Currency{0});
    QCOMPARE(s.loan.PayCount, 0);
    QCOMPARE(s.group.GroupPay, 0.0);
    if (box == "edSizeGroup") QCOMPARE(s.group.GroupSize, 0);
    if (box == "edGroupPds") QCOMPARE(s.group.GroupPds, 0);
    if (box != "edSizeGroup") QCOMPARE(s.group.GroupSize, before.group.GroupSize);
}

void IrregularPageTest::addGroupRefusesMoreThan485Payments() {
    IrregularApp app;
    AddGroup(app, QStringLiteral("480"), QStringLiteral("10"));
    app.port->ClearRecords();
    AddGroup(app, QStringLiteral("6"), QStringLiteral("10"));
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information,
                        "Warning: No more than 485 payments allowed overall!"}}));
    // Refused: nothing changes and the boxes keep what the user typed.
    QCOMPARE(app.window->Schedule().PaySet().RowCount(), 1);
    QCOMPARE(app.State().group.GroupNumber, 2);
    QCOMPARE(app.State().group.GroupPayCount, 480);
    QCOMPARE(app.Text("edSizeGroup"), QStringLiteral("6"));
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("480 Payments, Total= $4,800.00"));

    app.port->ClearRecords();
    AddGroup(app, QStringLiteral("5"), QStringLiteral("10"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.window->Schedule().PaySet().RowCount(), 2);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("485 Payments, Total= $4,850.00"));
}

void IrregularPageTest::addGroupRefusesTextThatIsNoNumber() {
    IrregularApp app;
    // A text the entry check never saw: the box was not left before the click.
    app.Find<QLineEdit>("edGroupPay")->setText(QStringLiteral("88.8x"));
    app.Find<QLineEdit>("edSizeGroup")->setText(QStringLiteral("486"));
    app.Click("butDone");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information, "This Payment Group data has syntax errors."},
                       {MessageKind::Information,
                        "Warning: No more than 485 payments allowed overall!"}}));
    QCOMPARE(app.window->Schedule().PaySet().RowCount(), 0);
    QCOMPARE(app.State().group.GroupNumber, 1);
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("88.8x"));
    QVERIFY(!app.Page().GridEditable());
}

void IrregularPageTest::addedGroupsAreNumberedAndSummed() {
    IrregularApp app;
    AddGroup(app, QStringLiteral("12"), QStringLiteral("88.85"));
    AddGroup(app, QStringLiteral("1"), QStringLiteral("88.91"), QStringLiteral("0"),
             QStringLiteral("15"));
    QVERIFY(app.port->messages.empty());
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("13 Payments, Total= $1,155.11"));
    QCOMPARE(Label(app, "labGroupCount"), QStringLiteral("Payment Group # 3 has"));
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edSizeGroup"), QStringLiteral("1"));
    QCOMPARE(app.Text("edGroupExtra"), QStringLiteral("0"));
    QCOMPARE(app.Text("edGroupPds"), QStringLiteral("1"));
    QVERIFY(app.Page().GridEditable());
    // The second group is still pending; the recount stores it.
    qv::TMemDataSet& paySet = app.window->Schedule().PaySet();
    QCOMPARE(paySet.Count(), 1);
    QVERIFY(app.Page().UpdateSummary());
    QCOMPARE(paySet.Count(), 2);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("13 Payments, Total= $1,155.11"));
    QCOMPARE(app.State().group.GroupPayCount, 13);
    paySet.MoveLast();
    QCOMPARE(paySet.FieldAsInteger("Sequence"), 2);
    QCOMPARE(paySet.FieldAsInteger("PriorPds"), 0);
    QCOMPARE(paySet.FieldAsInteger("AddDays"), 15);
    QCOMPARE(paySet.FieldAsFloat("PaySize"), 88.91);
}

void IrregularPageTest::estimateComputesAndReportsTheAPR() {
    IrregularApp app;
    EnterLoan(app, QStringLiteral("1000"), QStringLiteral("1066.20"), QStringLiteral("12"));
    app.Click("butDone");
    app.Click("butEstAPR");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.Text("edAPR"), QStringLiteral("12.003"));
    QCOMPARE(app.State().loan.APR, 12.003);
    QCOMPARE(app.State().loan.PerDiem, false);
    QCOMPARE(app.State().loan.ScheduleSource, 3);
    const QString chart = app.Find<QPlainTextEdit>("redChart")->toPlainText();
    QVERIFY(chart.endsWith(QStringLiteral("Estimated APR = 12.003%")));
}

void IrregularPageTest::oneOrTwoPaymentsGetThePerDiemBasisThreeNever_data() {
    QTest::addColumn<int>("payments");
    QTest::addColumn<bool>("perDiem");
    QTest::newRow("one") << 1 << true;
    QTest::newRow("two") << 2 << true;
    QTest::newRow("three") << 3 << false;
}

void IrregularPageTest::oneOrTwoPaymentsGetThePerDiemBasisThreeNever() {
    QFETCH(int, payments);
    QFETCH(bool, perDiem);
    IrregularApp app;
    const QString count = QString::number(payments);
    // Monthly payments of 110 for 100 a payment financed.
    EnterLoan(app, QString::number(100 * payments), QString::number(110 * payments), count);
    AddGroup(app, count, QStringLiteral("110"));
    app.port->ClearRecords();
    app.Click("butEstAPR");
    if (perDiem) {
        QCOMPARE(app.port->messages, (Messages{{MessageKind::Information, kPerDiem}}));
    } else {
        QVERIFY(app.port->messages.empty());
    }
    QCOMPARE(app.State().loan.PerDiem, perDiem);
    QVERIFY(app.Text("edAPR") != QStringLiteral("InputError"));
    QCOMPARE(app.Text("edAPR"), QString::fromStdString(qv::FloatToStr(app.State().loan.APR)));
    QCOMPARE(app.State().loan.ScheduleSource, 3);
}

void IrregularPageTest::integrityFaultsGiveNoAPR() {
    IrregularApp app;
    EnterLoan(app, QStringLiteral("1000"), QStringLiteral("1066.20"), QStringLiteral("11"));
    app.Click("butDone");  // the suggested 11 x 96.92
    AddGroup(app, QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"));
    app.port->ClearRecords();
    app.State().loan.ScheduleSource = 0;
    app.Click("butEstAPR");
    QCOMPARE(
        app.port->messages,
        (Messages{{MessageKind::Warning, "Error: 1 negative or $0.00 payment(s)."},
                  {MessageKind::Warning, "Error: 1 scheduled interval(s) of zero or less days."},
                  {MessageKind::Warning,
                   "Warning: Total of scheduled payments < Total of Payments by $ ($0.08)"},
                  {MessageKind::Warning,
                   "Error: Scheduled 1 more Payments than Number of "
                   "Payments."},
                  {MessageKind::Warning, "No APR was estimated on account of input errors."}}));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.State().loan.ScheduleSource, 3);
    QCOMPARE(app.State().loan.APR, 20.0);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("12 Payments, Total= $1,066.12"));
}

void IrregularPageTest::engineFailureShowsInputErrorOnBothPages() {
    IrregularApp app;
    // No amount financed: the groups are in order, the engine refuses.
    EnterLoan(app, QStringLiteral("0"), QStringLiteral("1066.20"), QStringLiteral("12"));
    app.Click("butDone");
    app.port->ClearRecords();
    app.Click("butEstAPR");
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Information,
                        "$0.00 Amount Financed is too low to compute a meaningful APR"}}));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("InputError"));
    QCOMPARE(app.State().loan.ScheduleSource, 3);
}

void IrregularPageTest::intervalChoiceSetsTheUnitPeriod() {
    IrregularApp app;
    EnterLoan(app, QStringLiteral("1000"), QStringLiteral("1066.20"), QStringLiteral("12"));
    app.Click("butDone");
    auto* interval = app.Find<RadioGroup>("rgpBasePd");
    AppFixture::Click(interval->Item(4));
    app.Click("butEstAPR");
    QCOMPARE(app.State().loan.DaysPerPd, 7);
    QCOMPARE(app.State().loan.PdsPerYear, 365.0 / 7.0);
    AppFixture::Click(interval->Item(0));
    app.Click("butEstAPR");
    QCOMPARE(app.State().loan.DaysPerPd, 365);
    QCOMPARE(app.State().loan.PdsPerYear, 1.0);
    QVERIFY(app.port->messages.empty());
}

void IrregularPageTest::leavingTheGridRecountsAndMarksTheAPRPending() {
    IrregularApp app;
    EnterLoan(app, QStringLiteral("1000"), QStringLiteral("1066.20"), QStringLiteral("12"));
    app.Click("butDone");
    app.Click("butEstAPR");
    QCOMPARE(app.Text("edAPR"), QStringLiteral("12.003"));

    QTableView* grid = app.Find<QTableView>("dbgPaySet");
    EditCell(grid, 0, 1, QStringLiteral("10"));
    // Still in the grid: nothing recounted yet.
    QCOMPARE(app.Text("edAPR"), QStringLiteral("12.003"));
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("10 Payments, Total= $888.50"));
    QCOMPARE(app.State().group.GroupPayCount, 10);
    QCOMPARE(app.Text("edAPR"), QStringLiteral("Pending"));
    QVERIFY(app.port->messages.empty());

    // Leaving from an open cell editor counts as leaving the grid too.
    app.Find<QLineEdit>("edAPR")->setText(QStringLiteral("12.003"));
    const QModelIndex cell = grid->model()->index(0, 1);
    ClickCell(grid, cell);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, QStringLiteral("11"));
    app.Click("edAmtFin");
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("11 Payments, Total= $977.35"));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("Pending"));
}

void IrregularPageTest::gridRefusesCellsThatDoNotConvertAndStaysUsable() {
    IrregularApp app;
    AddGroup(app, QStringLiteral("12"), QStringLiteral("88.85"));
    app.port->ClearRecords();
    QTableView* grid = app.Find<QTableView>("dbgPaySet");
    EditCell(grid, 0, 2, QStringLiteral("8x.85"));
    QCOMPARE(app.port->messages,
             (Messages{{MessageKind::Warning,
                        "'8x.85' is not a valid floating point value for field 'PaySize'"}}));
    QCOMPARE(grid->model()->index(0, 2).data().toString(), QStringLiteral("88.85"));
    EditCell(grid, 0, 2, QStringLiteral("90"));
    QCOMPARE(grid->model()->index(0, 2).data().toString(), QStringLiteral("90"));
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("12 Payments, Total= $1,080.00"));

    // A group whose number is emptied before it is stored: the table says
    // why on leaving, and Estimate APR gives no APR on top of it.
    app.port->ClearRecords();
    AddGroup(app, QStringLiteral("1"), QStringLiteral("5"));
    EditCell(grid, 1, 0, QString());
    app.Click("butEstAPR");
    QCOMPARE(
        app.port->messages,
        (Messages{{MessageKind::Warning, "Field 'Sequence' must have a value"},
                  {MessageKind::Warning, "Field 'Sequence' must have a value"},
                  {MessageKind::Warning, "No APR was estimated on account of input errors."}}));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("InputError"));
    // Numbering the group again makes it usable.
    app.port->ClearRecords();
    EditCell(grid, 1, 0, QStringLiteral("2"));
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.window->Schedule().PaySet().Count(), 2);
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("13 Payments, Total= $1,085.00"));
}

void IrregularPageTest::pageEntryStoresThePendingGroupAndNotesEditing() {
    IrregularApp app;
    QCOMPARE(Label(app, "labEstimate17"), QString());
    AddGroup(app, QStringLiteral("12"), QStringLiteral("88.85"));
    QCOMPARE(app.window->Schedule().PaySet().Count(), 0);
    app.window->ShowPage(PageId::tabAbout);
    app.window->ShowPage(PageId::tabEstimate);
    QCOMPARE(app.window->Schedule().PaySet().Count(), 1);
    QCOMPARE(Label(app, "labEstimate17"),
             QStringLiteral("You can edit this Schedule at Tab 5 or Click on an individual cell in "
                            "the grid below to edit it."));
}

void IrregularPageTest::resetAllRestoresTheStartTexts() {
    IrregularApp app;
    EnterLoan(app, QStringLiteral("1000"), QStringLiteral("1066.20"), QStringLiteral("12"));
    app.Click("butDone");
    AddGroup(app, QStringLiteral("3"), QStringLiteral("7"), QStringLiteral("2"),
             QStringLiteral("4"));
    AppFixture::Click(app.Find<RadioGroup>("rgpBasePd")->Item(3));
    app.Click("butEstAPR");
    app.window->ShowPage(PageId::tabAbout);
    app.window->ShowPage(PageId::tabEstimate);
    app.port->ClearRecords();

    app.Click("butPayReset");
    QVERIFY(app.port->messages.empty());
    QCOMPARE(app.window->ActivePage(), PageId::tabAbout);
    for (const char* box : {"edAmtFin", "edTotPay", "edGroupPay"}) {
        QCOMPARE(app.Text(box), QStringLiteral("0.00"));
    }
    for (const char* box : {"edPayCount", "edGroupPds", "edGroupExtra"}) {
        QCOMPARE(app.Text(box), QStringLiteral("0"));
    }
    QCOMPARE(app.Text("edSizeGroup"), QStringLiteral("1"));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("Pending"));
    QCOMPARE(Label(app, "labEstimate15"), QStringLiteral("0 Payments, Totalling $ 0.00"));
    QCOMPARE(Label(app, "labGroupCount"), QStringLiteral("Payment Group # 1 has"));
    QCOMPARE(Label(app, "labEstimate17"), QString());
    QCOMPARE(app.Find<RadioGroup>("rgpBasePd")->ItemIndex(), 1);
    QVERIFY(!app.Page().GridEditable());
    const qv::LoanState& s = app.State();
    QCOMPARE(s.group.GroupNumber, 1);
    QCOMPARE(s.group.GroupPayCount, 0);
    QCOMPARE(s.group.GroupPayTotal, 0.0);
    QCOMPARE(s.loan.ScheduleSource, 0);
    QCOMPARE(s.loan.DaysPerPd, 30);
    QCOMPARE(app.window->Schedule().PaySet().RowCount(), 0);

    // After Reset the first count suggests one group again.
    app.window->ShowPage(PageId::tabEstimate);
    app.Enter("edTotPay", QStringLiteral("100"));
    app.Enter("edPayCount", QStringLiteral("4"));
    QCOMPARE(app.Text("edGroupPay"), QStringLiteral("25.00"));
}

QTEST_MAIN(IrregularPageTest)
#include "irregular_page_test.moc"
