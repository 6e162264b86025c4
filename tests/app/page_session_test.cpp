// Every page built on its own against a fake session: what it reads from and
// writes to the current values (settings, chart document, payment schedule,
// regular schedule) and where it sends the user, with no window around it.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "app/page_list.h"
#include "app/pages/page.h"
#include "app/radio_group.h"
#include "app/shell_texts.h"
#include "app/table_model.h"
#include "chart/chart_page_texts.h"
#include "core/interval.h"
#include "core/rounding_setting.h"
#include "fake_session.h"
#include "schedule/editor_texts.h"
#include "schedule/group_schedule.h"
#include "schedule/irregular_entry.h"
#include "schedule/regular_entry.h"

namespace {

// One page of the list, made against `session` and shown on its own.
struct LonePage {
    LonePage(FakeSession& session, PageId id) : page(PageList().at(std::size_t(id)).make(session)) {
        page->ResetControls();
        page->show();
    }
    template <class W = QWidget>
    W* Find(const char* name) const {
        W* found = page->findChild<W*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    void Click(const char* button) const { Find<QPushButton>(button)->click(); }
    QString Text(const char* box) const { return Find<QLineEdit>(box)->text(); }

    std::unique_ptr<Page> page;
};

// Twelve monthly payments of 88.85 on 1,000.00 financed: 1,066.20 in all.
void EnterComputableLoan(FakeSession& s) {
    qv::AppendPayGroup(s.paySet, {12, 1, 88.85, 1, 0});
    s.paySet.Post();
    s.state.loan.AmtFin = 1000;
    s.state.loan.TotPay = 10662000;
    s.state.loan.PayCount = 12;
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The names of the page's controls in the order the Tab key visits them.
QStringList TabOrder(const QWidget* page) {
    QStringList names;
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && !w->objectName().isEmpty()) names << w->objectName();
    }
    return names;
}

// The names of a table's rows, in the table's order.
template <class Rows>
QStringList NamesOf(const Rows& rows) {
    QStringList names;
    for (const auto& row : rows) names << FromView(row.name);
    return names;
}

// What a page shows of its engine table of boxes, built and after Reset All:
// every box in the table's order, its start text, hint, screen-reader name
// and reset text.
template <class Boxes>
void CheckBoxesOf(PageId id, const Boxes& boxes) {
    FakeSession session;
    std::unique_ptr<Page> page(PageList().at(std::size_t(id)).make(session));
    QStringList visited = TabOrder(page.get());
    const QStringList names = NamesOf(boxes);
    visited.removeIf([&](const QString& name) { return !names.contains(name); });
    QCOMPARE(visited, names);
    for (const auto& info : boxes) {
        auto* box = page->findChild<QLineEdit*>(FromView(info.name));
        QVERIFY2(box != nullptr, info.name.data());
        QCOMPARE(box->text(), FromView(info.startText));
        QCOMPARE(box->toolTip(), FromView(info.hint));
        if (!info.accessibleName.empty())
            QCOMPARE(box->accessibleName(), FromView(info.accessibleName));
    }
    page->ResetControls();
    for (const auto& info : boxes) {
        QCOMPARE(page->findChild<QLineEdit*>(FromView(info.name))->text(),
                 FromView(info.resetText));
    }
}

}  // namespace

class PageSessionTest : public QObject {
    Q_OBJECT
  private slots:
    void everyPageBuildsAndSendsTheUserOn();
    void tablePagesShowTheirEngineTables();
    void chartPageShowsTheChartDocument();
    void chartPageEntryRecomputesThroughTheSourcesCommand();
    void settingsPageBoxesAreTheSettings();
    void regularPagePublishesItsScheduleAndShowsResults();
    void irregularPageFollowsTheSchedule();
    void editorPageWorksOnTheSchedule();
    void figureAndOnePayPagesWorkFromTheRegularSchedule();
    void splitAndAboutPagesFollowTheRounding();
};

void PageSessionTest::everyPageBuildsAndSendsTheUserOn() {
    for (const PageEntry& entry : PageList()) {
        FakeSession session;
        LonePage lone(session, entry.id);
        QCOMPARE(lone.page->objectName(), QString::fromLatin1(entry.name));
        QCOMPARE(lone.page->Id(), entry.id);
    }
    const struct {
        PageId page;
        const char* button;
        PageId shown;
    } cases[] = {
        {PageId::tabAbout, "butSet", PageId::tabSettings},
        {PageId::tabAbout, "butGotoTolerance", PageId::tabIntro},
        {PageId::TabSimple, "butMax", PageId::tabMax},
        {PageId::tabEstimate, "butTolerances", PageId::tabIntro},
        {PageId::tabChart, "butGoToIrreg", PageId::tabEdit},
        {PageId::tabChart, "butAbout", PageId::tabUsingChart},
        {PageId::tabVary, "butVaryEG", PageId::TabUsingVary},
        {PageId::tabOnePay, "butPerDiemInfo", PageId::tabPerDiem},
        {PageId::tabPerDiem, "butOnePay", PageId::tabOnePay},
    };
    for (const auto& c : cases) {
        FakeSession session;
        LonePage lone(session, c.page);
        lone.Click(c.button);
        QCOMPARE(session.shown, std::vector<PageId>{c.shown});
    }
}

void PageSessionTest::tablePagesShowTheirEngineTables() {
    CheckBoxesOf(PageId::TabSimple, qv::kRegularBoxes);
    CheckBoxesOf(PageId::tabEstimate, qv::kIrregularBoxes);

    const struct {
        PageId page;
        std::span<const qv::ButtonText> buttons;
        const char* grid;  // nullptr: the page has none
        std::span<const qv::GridColumnText> columns;
    } pages[] = {
        {PageId::TabSimple, qv::kRegularButtons, nullptr, {}},
        {PageId::tabEstimate, qv::kIrregularButtons, "dbgPaySet", qv::kPayGroupColumns},
        {PageId::tabEdit, qv::kEditorButtons, "dbgPaySet2", qv::kPayGroupColumns},
        {PageId::tabChart, qv::kChartButtons, "dbgDetail", qv::kChartDetailColumns},
    };
    for (const auto& c : pages) {
        FakeSession session;
        LonePage lone(session, c.page);
        QStringList visited = TabOrder(lone.page.get());
        const QStringList names = NamesOf(c.buttons);
        visited.removeIf([&](const QString& name) { return !names.contains(name); });
        QCOMPARE(visited, names);
        for (const qv::ButtonText& b : c.buttons) {
            auto* button = lone.Find<QPushButton>(b.name.data());
            QCOMPARE(button->text(), FromView(b.caption));
            QCOMPARE(button->toolTip(), FromView(b.hint));
        }
        if (c.grid == nullptr) continue;
        const QAbstractItemModel* model = lone.Find<QTableView>(c.grid)->model();
        QCOMPARE(std::size_t(model->columnCount()), c.columns.size());
        for (std::size_t i = 0; i < c.columns.size(); ++i) {
            QCOMPARE(model->headerData(int(i), Qt::Horizontal).toString(),
                     FromView(c.columns[i].title));
        }
    }
}

void PageSessionTest::chartPageShowsTheChartDocument() {
    FakeSession s;
    LonePage chart(s, PageId::tabChart);
    auto* box = chart.Find<QPlainTextEdit>("redChart");
    QCOMPARE(box->toPlainText(), QString::fromLatin1(shell_text::kNoChartText));

    s.chart.SetLines({"first", "second"});
    s.chart.Append({"third"});
    QCOMPARE(box->toPlainText(), QStringLiteral("first\nsecond\nthird"));
    s.chart.SetCaption("caption");
    QCOMPARE(chart.Find<QLabel>("labChart7")->text(), QStringLiteral("caption"));

    // What the user writes into the text is the document's: saved and
    // printed as it stands.
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, QStringLiteral(" note"));
    QCOMPARE(s.chart.Lines(), (qv::ChartText{"first", "second", "third note"}));
    chart.Click("butClearIt");
    QCOMPARE(s.chart.Lines(), qv::ChartText{shell_text::kWindowTitle});
    QCOMPARE(box->toPlainText(), QString::fromUtf8(shell_text::kWindowTitle));

    auto* warning = chart.Find<QPushButton>("butReRx78");
    s.settings.Set(Setting::ShowRebates, true);
    QVERIFY(warning->isVisible());
    s.settings.Reset();
    QVERIFY(!warning->isVisible());
}

void PageSessionTest::chartPageEntryRecomputesThroughTheSourcesCommand() {
    FakeSession s;
    LonePage chart(s, PageId::tabChart);
    EnterComputableLoan(s);
    int recomputed = 0;
    bool inputError = false;
    s.schedule.RegisterAprPage(qv::kSourceRegular, {[&] {
                                                        ++recomputed;
                                                        s.schedule.RunGetAPR();
                                                    },
                                                    [&] { return inputError; }});

    // The regular page made the schedule: its command runs, and the grid
    // charts what it computed.
    s.state.loan.ScheduleSource = qv::kSourceRegular;
    chart.page->Enter();
    QCOMPARE(recomputed, 1);
    QCOMPARE(s.detail.Count(), 12);
    QCOMPARE(s.state.loan.ScheduleSource, qv::kSourceNone);
    QCOMPARE(s.port.windowEnabled, (std::vector<bool>{false, true}));

    // Computed with an input error: the user is sent back to that page.
    s.state.loan.ScheduleSource = qv::kSourceRegular;
    inputError = true;
    s.port.ClearRecords();
    chart.page->Enter();
    QCOMPARE(recomputed, 2);
    QCOMPARE(s.shown, std::vector<PageId>{PageId::TabSimple});
    QCOMPARE(s.port.Texts(), std::vector<std::string>{std::string(qv::kInputErrorInScheduleText)});
}

void PageSessionTest::settingsPageBoxesAreTheSettings() {
    FakeSession s;
    LonePage page(s, PageId::tabSettings);
    page.Find<QCheckBox>("cbxRoundDown")->click();
    page.Find<QCheckBox>("cbxTenPass")->click();
    QVERIFY(s.settings.Get(Setting::RoundDown));
    QVERIFY(!s.settings.Apr().TenPass);
    QVERIFY(s.settings.Chart().roundDown);

    s.settings.Reset();
    QVERIFY(!page.Find<QCheckBox>("cbxRoundDown")->isChecked());
    s.settings.Set(Setting::IrregularHints, false);
    QCOMPARE(page.Find<QCheckBox>("cbxNoHint")->text(),
             QStringLiteral("Balloon Hints Off=Unchecked"));
}

void PageSessionTest::regularPagePublishesItsScheduleAndShowsResults() {
    FakeSession s;
    LonePage regular(s, PageId::TabSimple);
    regular.Find<QLineEdit>("edSimpAmtFin")->setText(QStringLiteral("1000"));
    regular.Find<RadioGroup>("rgpSimpInterval")->SetItemIndex(4);
    QCOMPARE(s.regular.Texts().AmtFin, std::string("1000"));
    QCOMPARE(s.regular.Interval(), std::optional{qv::Interval::Weekly});

    s.regular.ShowSummary("summary");
    QCOMPARE(regular.Find<QLabel>("labSimpToP")->text(), QStringLiteral("summary"));

    // A failed computation anywhere shows on this page, and the chart
    // page's entry learns of it through the schedule; a later success
    // clears it.
    s.schedule.TakeAprResult(qv::AprOutcome::NoRate, {});
    QCOMPARE(regular.Text("edSimpAPR"), QStringLiteral("InputError"));
    QVERIFY(s.schedule.AprShowsInputError());
    s.schedule.TakeAprResult(qv::AprOutcome::Computed, {"report"});
    QCOMPARE(regular.Text("edSimpAPR"), QStringLiteral("Pending"));
    QVERIFY(!s.schedule.AprShowsInputError());
}

void PageSessionTest::irregularPageFollowsTheSchedule() {
    FakeSession s;
    LonePage irregular(s, PageId::tabEstimate);
    auto* interval = irregular.Find<RadioGroup>("rgpBasePd");
    interval->SetItemIndex(2);
    QCOMPARE(s.schedule.Interval(), std::optional{qv::Interval::HalfMonthly});
    s.schedule.ChooseInterval(qv::Interval::Weekly);
    QCOMPARE(interval->ItemIndex(), 4);

    s.schedule.TakeAmountFinanced(QStringLiteral("1,234.00"));
    QCOMPARE(irregular.Text("edAmtFin"), QStringLiteral("1,234.00"));
    auto* groups = qobject_cast<MemTableModel*>(irregular.Find<QTableView>("dbgPaySet")->model());
    QVERIFY(groups->ReadOnly());
    s.schedule.SetEditable(true);
    QVERIFY(!groups->ReadOnly());

    // "Estimate APR" runs on the schedule in its common interval; the
    // rate comes back to the box.
    EnterComputableLoan(s);
    s.schedule.SetInterval(qv::Interval::Monthly);
    irregular.Click("butEstAPR");
    QVERIFY(s.schedule.LastComputed() != nullptr);
    QVERIFY(irregular.Text("edAPR").startsWith(QStringLiteral("12.")));
    QCOMPARE(s.chart.Lines().empty(), false);
}

void PageSessionTest::editorPageWorksOnTheSchedule() {
    FakeSession s;
    LonePage editor(s, PageId::tabEdit);
    QSignalSpy deleted(&s.schedule, &PaySchedule::GroupDeleted);
    QSignalSpy totals(&s.schedule, &PaySchedule::TotalsTaken);
    editor.Click("butAddRow");
    editor.Click("butUpdateGlobals");
    QCOMPARE(s.paySet.Count(), 1);
    QCOMPARE(totals.count(), 1);
    QCOMPARE(totals.at(0).at(1).toString(), QStringLiteral("1"));

    s.port.answers = {qv::Answer::Yes};
    editor.Click("butKillRow");
    QCOMPARE(s.paySet.Count(), 0);
    QCOMPARE(deleted.count(), 1);
}

void PageSessionTest::figureAndOnePayPagesWorkFromTheRegularSchedule() {
    FakeSession s;
    LonePage figure(s, PageId::tabMax);
    LonePage onePay(s, PageId::tabOnePay);
    QSignalSpy summary(&s.regular, &RegularInputs::SummaryShown);
    qv::RegularTexts texts;
    texts.AmtFin = "1000";
    texts.PayCount = "12";
    texts.RegPay = "88.85";
    s.regular.SetTexts(texts);
    // As the regular page's boxes left them.
    s.state.loan.AmtFin = 1000;
    s.state.loan.PayCount = 12;
    s.state.regular.RegPay = 88.85;
    s.state.figure.MaxRate = 12.0;
    figure.Click("butFind");
    QCOMPARE(summary.count(), 1);
    QVERIFY(summary.at(0).at(0).toString().contains(QStringLiteral("12 Payments")));

    s.regular.HandOverOnePayment(30, 500.0, 510.0);
    QCOMPARE(onePay.Text("edDayOne"), QStringLiteral("30"));
    QVERIFY(onePay.Text("edPayOne").startsWith(QStringLiteral("510")));
}

void PageSessionTest::splitAndAboutPagesFollowTheRounding() {
    FakeSession s;
    LonePage split(s, PageId::tabSplit);
    LonePage about(s, PageId::tabAbout);
    const QString pending = split.Text("edFinal");
    split.Find<QLineEdit>("edFinal")->setText(QStringLiteral("12.34"));
    s.settings.Set(Setting::RoundDown, true);
    QCOMPARE(split.Text("edFinal"), pending);
    QCOMPARE(about.Find<QLabel>("labAbout8")->text(),
             QString::fromStdString(qv::RoundingFor(true).aboutNote));
}

QTEST_MAIN(PageSessionTest)
#include "page_session_test.moc"
