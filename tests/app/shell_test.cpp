// The main window: start state, menus, navigation buttons, the page-change
// rule, page entry, Reset and Exit.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <map>

#include "app/pages/about_page.h"
#include "app/pages/chart_page.h"
#include "app/radio_group.h"
#include "app_fixture.h"

using qv::MessageKind;

Q_DECLARE_METATYPE(PageId)

namespace {

constexpr const char* kRedirectText =
    "This data has been posted from the Payment Schedule\n\ryou just loaded, but it appears this "
    "Schedule is\n\rNOT REGULAR, so you will be redirected to Tab 3.\n\r(If you use Tab 2 it will "
    "reset the schedule!)\n\rCheck the payment detail, if you wish, at Tab 4.\n\r\n\rYou will not "
    "see this warning again.";

// A value no button, menu item or Reset ever gives ScheduleSource, so that an
// unchanged value shows.
constexpr std::int32_t kUntouched = 77;

QStringList Captions(QMenu* menu) {
    QStringList out;
    for (QAction* action : menu->actions()) out << action->text();
    return out;
}

// One record with the two fields the payment and detail tables share.
void AddGroup(qv::TMemDataSet& table) {
    table.AppendNew();
    table.SetFieldInteger("Sequence", 1);
    table.SetFieldFloat("PaySize", 100.0);
    table.Post();
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

  private slots:
    void startsOnIntroWithTitleAndResetState();
    void windowStartSizeShowsTheWorkingPagesWholeAndCanBeResized();
    void menuCaptionsAreExact();
    void menuItemsLandOnTheirPages_data();
    void menuItemsLandOnTheirPages();
    void menuMessagesAreWordForWord_data();
    void menuMessagesAreWordForWord();
    void navigationButtons_data();
    void navigationButtons();
    void resetCommandsRestoreStartStateAndShowIntro_data();
    void resetCommandsRestoreStartStateAndShowIntro();
    void pagesWithoutTabHighlightNoTab();
    void redirectFiresOnceFromTheStrip();
    void redirectDoesNotFireFromMenuOrButton();
    void keyboardTabSteppingIsAUserPick();
    void pageEntryRunsWhenReachedOrWorkedIn();
    void exitAnsweredNoKeepsEverything();
    void exitAnsweredYesClosesAndFrameCloseDoesNotAsk();
};

void ShellTest::startsOnIntroWithTitleAndResetState() {
    AppFixture app;
    TforMain& w = *app.window;
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Quorvane (version 0.9992)")));
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("12-25-2002")));
    QVERIFY(w.windowTitle().size() > QStringLiteral("Quorvane (version 0.9992)12-25-2002").size());
    QCOMPARE(w.objectName(), QStringLiteral("forMain"));
    // The program's own icon, drawn from its SVG.
    QVERIFY(!w.windowIcon().pixmap(32, 32).isNull());
    QCOMPARE(w.ActivePage(), PageId::tabAbout);
    QCOMPARE(app.HighlightedTab(), QStringLiteral("1:Intro"));
    QVERIFY(app.port->messages.empty());

    qv::LoanState fresh;
    qv::ResetLoanState(fresh);
    const qv::LoanState& s = w.State();
    QCOMPARE(s.loan.APR, 20.0);
    QCOMPARE(s.loan.RoundAdd, 0.5);
    QCOMPARE(s.loan.ScheduleSource, 0);
    QCOMPARE(s.loan.IrregularLoaded, false);
    QCOMPARE(s.onePay.AmtFinOne, fresh.onePay.AmtFinOne);
    QVERIFY(s.loan.PayMatrix == fresh.loan.PayMatrix);
    QCOMPARE(w.Schedule().PaySet().Count(), 0);
    QCOMPARE(w.Table(TableId::mdsDetail).Count(), 0);
    QVERIFY(w.Schedule().PaySet().Active());

    // A sample of every page's Reset texts, including the odd ones.
    QCOMPARE(app.Text("edSimpRegPay"), QStringLiteral("0.0"));
    QCOMPARE(app.Text("edSimpAmtFin"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("Pending"));
    QCOMPARE(app.Text("edTotPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edPayCount"), QStringLiteral("0"));
    QCOMPARE(app.Text("edGroupPds"), QStringLiteral("0"));
    QCOMPARE(app.Text("edSizeGroup"), QStringLiteral("1"));
    QCOMPARE(app.Text("edAPR"), QStringLiteral("Pending"));
    QCOMPARE(app.Text("edRate1"), QStringLiteral("0.0"));
    QCOMPARE(app.Text("edCap4"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edFinal"), QStringLiteral("Pending"));
    QCOMPARE(app.Text("edAmtFinOne"), QStringLiteral("0.01"));
    QCOMPARE(app.Text("edDayOne"), QStringLiteral("2"));
    QCOMPARE(app.Text("edMaxRate"), QStringLiteral("10.00"));
    QCOMPARE(app.Find<QLabel>("labEstimate15")->text(),
             QStringLiteral("0 Payments, Totalling $ 0.00"));
    QCOMPARE(app.Find<QLabel>("labGroupCount")->text(), QStringLiteral("Payment Group # 1 has"));
    QCOMPARE(app.Find<QLabel>("labSimpToP")->text(),
             QStringLiteral("Above Schedule now shows 0 Payments which Total $ 0.00, with $ 0.00 "
                            "Finance Charge"));
    QCOMPARE(app.Find<QLabel>("labAbout8")->text(),
             QStringLiteral("Note: Amortization rounds to the nearest whole cent, but you can "
                            "change that setting:"));
    QCOMPARE(app.Find<QLabel>("labChart7")->text(),
             QStringLiteral("Amortization rounds to nearest cent."));
    QCOMPARE(app.Find<QPlainTextEdit>("redChart")->toPlainText(),
             QStringLiteral("no Chart Text until [Chart Amortization] is clicked."));
    for (const char* group : {"rgpSimpInterval", "rgpBasePd", "rgpSplitPd"}) {
        QCOMPARE(app.Find<RadioGroup>(group)->ItemIndex(), 1);
    }

    // The settings as the user finds them: the rebate box unchecked although
    // it was designed checked, and with it no Rule of 78s button.
    QVERIFY(app.Find<QCheckBox>("cbxHintsOff")->isChecked());
    QVERIFY(!app.Find<QCheckBox>("cbxShowRebates")->isChecked());
    QVERIFY(app.Find<QCheckBox>("cbxNoHint")->isChecked());
    QVERIFY(!app.Find<QCheckBox>("cbxRoundDown")->isChecked());
    QVERIFY(app.Find<QCheckBox>("cbxTenPass")->isChecked());
    QVERIFY(app.Find<QCheckBox>("cbxLog")->isHidden());
    QVERIFY(app.Find<QPushButton>("butReRx78")->isHidden());
}

void ShellTest::windowStartSizeShowsTheWorkingPagesWholeAndCanBeResized() {
    AppFixture app;
    const QRect available = app.window->screen()->availableGeometry();
    QVERIFY(app.window->width() >= 632 && app.window->height() >= 434);
    QVERIFY(available.contains(app.window->geometry()));
    // Centred, give or take the frame the platform adds once the window shows.
    QVERIFY((app.window->geometry().center() - available.center()).manhattanLength() <= 24);
    // Each page's buttons and results show without scrolling.
    for (PageId id : {PageId::TabSimple, PageId::tabEstimate, PageId::tabChart, PageId::tabEdit,
                      PageId::tabOnePay, PageId::tabSettings}) {
        app.window->ShowPage(id);
        QCoreApplication::processEvents();
        auto* scroll = app.Find<QScrollArea>(qPrintable(PageName(id) + QStringLiteral("Scroll")));
        QVERIFY(scroll != nullptr);
        QVERIFY2(scroll->verticalScrollBar()->maximum() == 0, qPrintable(PageName(id)));
        QVERIFY2(scroll->horizontalScrollBar()->maximum() == 0, qPrintable(PageName(id)));
    }
    // A shorter window shrinks the grids and text boxes before the pages with
    // them scroll their buttons away.
    app.window->resize(app.window->width(), app.window->height() - 60);
    for (PageId id : {PageId::tabEstimate, PageId::tabChart, PageId::tabEdit}) {
        app.window->ShowPage(id);
        QCoreApplication::processEvents();
        auto* scroll = app.Find<QScrollArea>(qPrintable(PageName(id) + QStringLiteral("Scroll")));
        QVERIFY2(scroll->verticalScrollBar()->maximum() == 0, qPrintable(PageName(id)));
    }
    // Smaller than the pages' content: the pages scroll instead of the window
    // refusing the size.
    app.window->resize(420, 300);
    QCOMPARE(app.window->size(), QSize(420, 300));
    app.window->showMaximized();
    QVERIFY(app.window->isVisible());
}

void ShellTest::menuCaptionsAreExact() {
    AppFixture app;
    QMenuBar* bar = app.window->menuBar();
    QCOMPARE(bar->objectName(), QStringLiteral("MainMenu1"));
    QStringList menus;
    for (QAction* a : bar->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"&File", "&Settings", "&Help"}));
    QCOMPARE(Captions(app.Find<QMenu>("File1")),
             (QStringList{
                 "E&xit", "Reset && &Clear", "&Save a Pay.Schedule", "&Load a Saved Pay.Schedule",
                 "&Edit a Pay.Schedule", "&Figure Out a Schedule at known Rate",
                 "Compute APR from &Regular Schedule", "Compute APR from &Irregular Schedule",
                 "Get APR for &One Payment Loan", "Loan by its &Dates, Check a Disclosure",
                 "&Work with Spit Rate Debt", "Analyze a &Variable Rate Schedule"}));
    QCOMPARE(Captions(app.Find<QMenu>("Settings1")),
             (QStringList{"Change Balloon &Hints", "Change &Rounding", "Change Rebate &Inclusion",
                          "Change &Other Settings"}));
    QCOMPARE(
        Captions(app.Find<QMenu>("Help1")),
        (QStringList{"&About Quorvane", "Copyright && &License", "About &Tolerances",
                     "Rule of 78s &Warning", "&Uninstalling", "Using Amortization &Chart (Tab 5)",
                     "Using &Variable Rate (Tab 7)", "About &One Repayment Loans",
                     "Show &Introduction && Tab List", "&Fixing Small Screen Problems"}));
}

void ShellTest::menuItemsLandOnTheirPages_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<PageId>("page");
    QTest::addColumn<int>("messages");
    // With no schedule, saving is refused; a cancelled load still tests the
    // (empty) schedule, estimates and says no APR was computed.
    QTest::newRow("save") << "SaveaPaySchedule1" << PageId::tabEdit << 1;
    QTest::newRow("load") << "LoadaSavedPaySchedule1" << PageId::tabEdit << 3;
    QTest::newRow("edit") << "EditaPaySchedule1" << PageId::tabEdit << 0;
    QTest::newRow("figure") << "FigureOutaScheduleatknownRate1" << PageId::tabMax << 0;
    QTest::newRow("regular") << "ComputeAPRfromRegularSchedule1" << PageId::TabSimple << 0;
    QTest::newRow("irregular") << "ComputeAPRfromIrregularSchedule1" << PageId::tabEstimate << 0;
    QTest::newRow("one pay") << "GetAPRforOnePaymentLoan1" << PageId::tabOnePay << 0;
    QTest::newRow("split") << "WorkwithSpitRateDebt1" << PageId::tabSplit << 0;
    QTest::newRow("variable") << "AnalyzeaVariableRateSchedule1" << PageId::tabVary << 0;
    QTest::newRow("hints") << "ChangeBalloonHints1" << PageId::tabSettings << 0;
    QTest::newRow("rounding") << "ChangeRounding1" << PageId::tabSettings << 0;
    QTest::newRow("rebates") << "ChangeRebateInclusion1" << PageId::tabSettings << 0;
    QTest::newRow("other") << "ChangeOtherSettings1" << PageId::tabSettings << 0;
    QTest::newRow("about") << "AboutQuorvane1" << PageId::TabUsers << 1;
    QTest::newRow("license") << "CopyrightLicense1" << PageId::TabUsers << 0;
    QTest::newRow("tolerances") << "AboutTolerances1" << PageId::tabIntro << 0;
    QTest::newRow("78s") << "Ruleof78sWarning1" << PageId::tabIntro << 1;
    QTest::newRow("chart help") << "UsingAmortizationChartTab51" << PageId::tabUsingChart << 0;
    QTest::newRow("vary help") << "UsingVariableRateTab71" << PageId::TabUsingVary << 0;
    QTest::newRow("per diem") << "AboutOneRepaymentLoans1" << PageId::tabPerDiem << 0;
    QTest::newRow("intro") << "ShowIntroductionTabList1" << PageId::tabAbout << 0;
}

void ShellTest::menuItemsLandOnTheirPages() {
    QFETCH(QString, item);
    QFETCH(PageId, page);
    QFETCH(int, messages);
    AppFixture app;
    // Start somewhere none of the items leads to.
    app.window->ShowPage(PageId::tabChart);
    app.window->State().loan.ScheduleSource = kUntouched;
    QAction* action = app.Item(qPrintable(item));
    QVERIFY(action != nullptr);
    action->trigger();
    QCOMPARE(app.window->ActivePage(), page);
    QCOMPARE(int(app.port->messages.size()), messages);
    // Entering the split-rate page makes its schedule the current one, and
    // loading, by the estimate it runs, makes the irregular page's current.
    const bool loads = item == QLatin1String("LoadaSavedPaySchedule1");
    const int source = page == PageId::tabSplit ? qv::kSourceSplit
                       : loads                  ? qv::kSourceIrregular
                                                : kUntouched;
    QCOMPARE(app.window->State().loan.ScheduleSource, source);
    const QString tab = PageHasTab(page) ? PageCaption(page) : QString();
    QCOMPARE(app.HighlightedTab(), tab);
    // The items naming one setting put the focus on its box.
    const std::map<QString, QString> settingBox{{"ChangeBalloonHints1", "cbxHintsOff"},
                                                {"ChangeRounding1", "cbxRoundDown"},
                                                {"ChangeRebateInclusion1", "cbxShowRebates"}};
    if (const auto box = settingBox.find(item); box != settingBox.end())
        QCOMPARE(QApplication::focusWidget()->objectName(), box->second);
}

void ShellTest::menuMessagesAreWordForWord_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::newRow("about") << "AboutQuorvane1"
                           << "There is no separate online Help in this version, but see\n\r... "
                              "Tolerances, Tab 1 and the next page to appear.";
    QTest::newRow("78s") << "Ruleof78sWarning1"
                         << "Warning: Rule of 78s is UNDEFINED for Schedules\n\rwith irregular "
                            "payments or intervals, as may occur\n\rin Tab 4. See the bottom of "
                            "the next Screen.";
    QTest::newRow("uninstall") << "Uninstalling1"
                               << "This software is not listed in the Windows\n\rRegistry and has "
                                  "no supplemental files,\n\rso no uninstallation program is "
                                  "needed.\n\rJust delete the file Quorvane.exe from its\n\r"
                                  "folder, as well as any shortcuts you made.";
    QTest::newRow("small screen")
        << "FixingSmallScreenProblems1"
        << "Unfortunately there's no reliable way to guarantee\r\ncomplete viewing on 480x640 "
           "\"VGA\" screens. Be sure\r\nthe Quorvane window is maximized. Next you should\r\n"
           "check to see that your monitor has a black edge on\r\nall 4 sides; if not reset it so "
           "it does. Next\r\nchange the Screen Font size to Small if it is Large and\r\nincrease "
           "the Desktop Area to 600x800. You adjust these\r\nby RIGHT clicking on your Windows "
           "desktop, select\r\nProperties, then the Settings Tab. The \"Desktop Area\"\r\nslider "
           "is mid-right, the Screen Font chooser is mid-left.";
}

void ShellTest::menuMessagesAreWordForWord() {
    QFETCH(QString, item);
    QFETCH(QString, text);
    AppFixture app;
    const PageId before = PageId::tabSplit;
    app.window->ShowPage(before);
    app.Item(qPrintable(item))->trigger();
    QCOMPARE(int(app.port->messages.size()), 1);
    QCOMPARE(app.port->messages[0].kind, MessageKind::Information);
    QCOMPARE(QString::fromStdString(app.port->messages[0].text), text);
    // The two messages without a page to follow leave the page alone.
    if (item == "Uninstalling1" || item == "FixingSmallScreenProblems1") {
        QCOMPARE(app.window->ActivePage(), before);
    }
}

void ShellTest::navigationButtons_data() {
    QTest::addColumn<PageId>("on");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<PageId>("lands");
    QTest::addColumn<int>("source");  // ScheduleSource afterwards
    const int same = kUntouched;
    QTest::newRow("Settings") << PageId::tabAbout << "butSet"
                              << "Settings" << PageId::tabSettings << same;
    QTest::newRow("Tolerances") << PageId::tabAbout << "butGotoTolerance"
                                << "Tolerances" << PageId::tabIntro << 0;
    QTest::newRow("1 Pay Loan") << PageId::tabAbout << "butGoOnePay"
                                << "1 Pay Loan" << PageId::tabOnePay << same;
    QTest::newRow("regular tolerances") << PageId::TabSimple << "butGoTolerances2"
                                        << "About APR Tolerances" << PageId::tabIntro << 2;
    QTest::newRow("figure") << PageId::TabSimple << "butMax"
                            << "Figure a Regular Schedule" << PageId::tabMax << same;
    QTest::newRow("irregular tolerances") << PageId::tabEstimate << "butTolerances"
                                          << "About APR Tolerances" << PageId::tabIntro << 3;
    QTest::newRow("editable") << PageId::tabChart << "butGoToIrreg"
                              << "Goto Editable Schedule" << PageId::tabEdit << same;
    QTest::newRow("78s") << PageId::tabChart << "butReRx78"
                         << "Rule of 78s Warning" << PageId::tabIntro << 4;
    QTest::newRow("using chart") << PageId::tabChart << "butAbout"
                                 << "Using the Chart" << PageId::tabUsingChart << same;
    QTest::newRow("split chart") << PageId::tabSplit << "butSplitChart"
                                 << "Review Chart" << PageId::tabChart << same;
    QTest::newRow("using vary") << PageId::tabVary << "butVaryEG"
                                << "Using Tab 7" << PageId::TabUsingVary << same;
    QTest::newRow("per diem help") << PageId::tabOnePay << "butPerDiemInfo"
                                   << "Help on One Pay APRs" << PageId::tabPerDiem << same;
    QTest::newRow("goto one pay") << PageId::tabPerDiem << "butOnePay"
                                  << "Goto One Pay" << PageId::tabOnePay << same;
}

void ShellTest::navigationButtons() {
    QFETCH(PageId, on);
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(PageId, lands);
    QFETCH(int, source);
    AppFixture app;
    app.window->ShowPage(on);
    app.window->State().loan.ScheduleSource = kUntouched;
    auto* b = app.Find<QPushButton>(qPrintable(button));
    QVERIFY(b != nullptr);
    QCOMPARE(b->text(), caption);
    // The button sits on its page.
    QVERIFY(app.window->PageAt(on).isAncestorOf(b));
    // The Rule of 78s button shows only while rebates are switched on.
    if (button == "butReRx78") b->setVisible(true);
    app.Click(b);
    QCOMPARE(app.window->ActivePage(), lands);
    QCOMPARE(app.window->State().loan.ScheduleSource, source);
    QVERIFY(app.port->messages.empty());
}

void ShellTest::resetCommandsRestoreStartStateAndShowIntro_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<PageId>("on");
    QTest::newRow("menu") << "menClear" << PageId::tabSplit;
    QTest::newRow("irregular page") << "butPayReset" << PageId::tabEstimate;
    QTest::newRow("chart page") << "butChartReset" << PageId::tabChart;
}

void ShellTest::resetCommandsRestoreStartStateAndShowIntro() {
    QFETCH(QString, command);
    QFETCH(PageId, on);
    AppFixture app;
    TforMain& w = *app.window;
    // The page is shown first: entering it may act on the state set below.
    w.ShowPage(on);
    qv::LoanState& s = w.State();
    s.loan.APR = 9.5;
    s.loan.RoundAdd = 0.0;
    s.loan.ScheduleSource = 3;
    s.loan.IrregularLoaded = true;
    s.loan.PayCount = 12;
    s.regular.FirstPay = 42.0;  // the regular page's own values survive Reset
    s.loan.PayMatrix[1].PayCents = 10000;
    AddGroup(w.Schedule().PaySet());
    AddGroup(w.Table(TableId::mdsDetail));
    app.Find<QLineEdit>("edTotPay")->setText(QStringLiteral("1200.00"));
    app.Find<QLineEdit>("edSimpRegPay")->setText(QStringLiteral("100.00"));
    app.Find<QLineEdit>("edRate2")->setText(QStringLiteral("1.5"));
    app.Find<QPlainTextEdit>("redChart")->setPlainText(QStringLiteral("a chart"));
    app.Find<QCheckBox>("cbxRoundDown")->setChecked(true);
    app.Find<QCheckBox>("cbxShowRebates")->setChecked(true);
    app.Find<QCheckBox>("cbxFractionalInt")->setChecked(true);
    app.Find<RadioGroup>("rgpBasePd")->SetItemIndex(4);

    if (command == "menClear") {
        app.Item("menClear")->trigger();
    } else {
        app.Click(qPrintable(command));
    }

    QCOMPARE(w.ActivePage(), PageId::tabAbout);
    QCOMPARE(s.loan.APR, 20.0);
    QCOMPARE(s.loan.RoundAdd, 0.5);
    QCOMPARE(s.loan.ScheduleSource, 0);
    QCOMPARE(s.loan.IrregularLoaded, false);
    QCOMPARE(s.loan.PayCount, 0);
    QCOMPARE(s.regular.FirstPay, 42.0);
    QCOMPARE(s.loan.PayMatrix[1].PayCents, 0);
    QCOMPARE(w.Schedule().PaySet().Count(), 0);
    QCOMPARE(w.Table(TableId::mdsDetail).Count(), 0);
    QCOMPARE(app.Text("edTotPay"), QStringLiteral("0.00"));
    QCOMPARE(app.Text("edSimpRegPay"), QStringLiteral("0.0"));
    QCOMPARE(app.Text("edRate2"), QStringLiteral("0.0"));
    QCOMPARE(app.Find<QPlainTextEdit>("redChart")->toPlainText(),
             QStringLiteral("no Chart Text until [Chart Amortization] is clicked."));
    QVERIFY(!app.Find<QCheckBox>("cbxRoundDown")->isChecked());
    QVERIFY(!app.Find<QCheckBox>("cbxShowRebates")->isChecked());
    // Reset leaves the other settings as the user set them.
    QVERIFY(app.Find<QCheckBox>("cbxFractionalInt")->isChecked());
    QCOMPARE(app.Find<RadioGroup>("rgpBasePd")->ItemIndex(), 1);
    QVERIFY(app.port->messages.empty());
}

void ShellTest::pagesWithoutTabHighlightNoTab() {
    AppFixture app;
    for (int i = 0; i < kPageCount; ++i) {
        const PageId id = PageId(i);
        app.window->ShowPage(id);
        QCOMPARE(app.window->ActivePage(), id);
        QCOMPARE(app.HighlightedTab(), PageHasTab(id) ? PageCaption(id) : QString());
    }
    // Seven tabs in the strip, in page order.
    QStringList visible;
    for (int i = 0; i < app.Strip()->count(); ++i) {
        if (app.Strip()->isTabVisible(i)) visible << app.Strip()->tabText(i);
    }
    QCOMPARE(visible, (QStringList{"1:Intro", "2:Reg.Pay", "3:Irreg.Pay", "4:Chart/Rule of 78s",
                                   "5:Save/Edit", "6:Split Rates", "7:Variable Rates"}));
    // From a page without a tab, the user picks any tab.
    app.window->ShowPage(PageId::tabPerDiem);
    app.PickTab(QStringLiteral("6:Split Rates"));
    QCOMPARE(app.window->ActivePage(), PageId::tabSplit);
    QCOMPARE(app.HighlightedTab(), QStringLiteral("6:Split Rates"));
}

void ShellTest::redirectFiresOnceFromTheStrip() {
    AppFixture app;
    TforMain& w = *app.window;
    w.State().loan.IrregularLoaded = true;
    w.State().loan.ScheduleSource = 0;
    app.PickTab(QStringLiteral("2:Reg.Pay"));

    QCOMPARE(int(app.port->messages.size()), 1);
    QCOMPARE(app.port->messages[0].kind, MessageKind::Information);
    QCOMPARE(app.port->messages[0].text, std::string(kRedirectText));
    QCOMPARE(w.ActivePage(), PageId::tabEstimate);
    QCOMPARE(app.HighlightedTab(), QStringLiteral("3:Irreg.Pay"));
    QCOMPARE(QApplication::focusWidget(), app.Find<QWidget>("edTotPay"));
    QCOMPARE(w.State().loan.ScheduleSource, 3);
    QCOMPARE(w.State().loan.IrregularLoaded, false);

    // Later picks of the regular page go there without a word.
    app.PickTab(QStringLiteral("1:Intro"));
    app.PickTab(QStringLiteral("2:Reg.Pay"));
    QCOMPARE(w.ActivePage(), PageId::TabSimple);
    QCOMPARE(int(app.port->messages.size()), 1);
}

void ShellTest::redirectDoesNotFireFromMenuOrButton() {
    AppFixture app;
    TforMain& w = *app.window;
    w.State().loan.IrregularLoaded = true;
    app.Item("ComputeAPRfromRegularSchedule1")->trigger();
    QCOMPARE(w.ActivePage(), PageId::TabSimple);
    QVERIFY(app.port->messages.empty());
    QVERIFY(w.State().loan.IrregularLoaded);

    // Picking another tab and the regular one again is the user's pick.
    app.PickTab(QStringLiteral("5:Save/Edit"));
    QVERIFY(app.port->messages.empty());
    app.PickTab(QStringLiteral("2:Reg.Pay"));
    QCOMPARE(int(app.port->messages.size()), 1);
    QCOMPARE(w.ActivePage(), PageId::tabEstimate);
}

void ShellTest::keyboardTabSteppingIsAUserPick() {
    AppFixture app;
    TforMain& w = *app.window;
    w.State().loan.IrregularLoaded = true;
    app.Find<QWidget>("butSet")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    // 1:Intro -> 2:Reg.Pay by the keyboard runs the page-change rule too.
    QCOMPARE(int(app.port->messages.size()), 1);
    QCOMPARE(w.ActivePage(), PageId::tabEstimate);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.ActivePage(), PageId::TabSimple);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.ActivePage(), PageId::tabAbout);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.ActivePage(), PageId::tabVary);  // the strip wraps around
    QCOMPARE(int(app.port->messages.size()), 1);
}

void ShellTest::pageEntryRunsWhenReachedOrWorkedIn() {
    qRegisterMetaType<PageId>();
    AppFixture app;
    TforMain& w = *app.window;
    QSignalSpy entered(&w, &TforMain::PageEntered);
    // The program starts with the focus in the introduction page.
    QVERIFY(w.PageAt(PageId::tabAbout).isAncestorOf(QApplication::focusWidget()));

    // A button leads to a page: it is entered at once, with the focus in it.
    app.Click("butSet");
    QCOMPARE(entered.size(), 1);
    QCOMPARE(entered.takeFirst().at(0).value<PageId>(), PageId::tabSettings);
    QVERIFY(w.PageAt(PageId::tabSettings).isAncestorOf(QApplication::focusWidget()));

    // A menu item likewise.
    app.Item("ComputeAPRfromIrregularSchedule1")->trigger();
    QCOMPARE(entered.size(), 1);
    QCOMPARE(entered.takeFirst().at(0).value<PageId>(), PageId::tabEstimate);

    // A tab picked in the strip is entered when the user starts working in it.
    app.PickTab(QStringLiteral("4:Chart/Rule of 78s"));
    QCOMPARE(w.ActivePage(), PageId::tabChart);
    QCOMPARE(entered.size(), 0);
    app.Click(app.Find<QPlainTextEdit>("redChart")->viewport());
    QCOMPARE(entered.size(), 1);
    QCOMPARE(entered.takeFirst().at(0).value<PageId>(), PageId::tabChart);

    // Moving about inside a page is no new entry.
    w.ShowPage(PageId::tabEstimate);
    entered.clear();
    app.Click("edAmtFin");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    app.Click("edTotPay");
    QCOMPARE(entered.size(), 0);

    // Reset from a page shows the introduction, which is entered.
    app.Click("butPayReset");
    QCOMPARE(entered.size(), 1);
    QCOMPARE(entered.takeFirst().at(0).value<PageId>(), PageId::tabAbout);
}

void ShellTest::exitAnsweredNoKeepsEverything() {
    AppFixture app;
    TforMain& w = *app.window;
    w.ShowPage(PageId::tabSplit);
    w.State().loan.APR = 12.25;
    AddGroup(w.Schedule().PaySet());
    app.Find<QLineEdit>("edSplitAmtFin")->setText(QStringLiteral("500.00"));
    app.port->answers = {qv::Answer::No};
    app.Item("Exit1")->trigger();

    QCOMPARE(int(app.port->messages.size()), 1);
    QCOMPARE(app.port->messages[0].kind, MessageKind::Confirmation);
    QCOMPARE(app.port->messages[0].text, std::string("Exit APR now?"));
    QVERIFY(w.isVisible());
    QCOMPARE(w.ActivePage(), PageId::tabSplit);
    QCOMPARE(w.State().loan.APR, 12.25);
    QCOMPARE(w.Schedule().PaySet().Count(), 1);
    QCOMPARE(app.Text("edSplitAmtFin"), QStringLiteral("500.00"));
}

void ShellTest::exitAnsweredYesClosesAndFrameCloseDoesNotAsk() {
    {
        AppFixture app;
        app.port->answers = {qv::Answer::Yes};
        app.Item("Exit1")->trigger();
        QVERIFY(!app.window->isVisible());
    }
    {
        AppFixture app;
        QVERIFY(app.window->close());
        QVERIFY(!app.window->isVisible());
        QVERIFY(app.port->messages.empty());
    }
}

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
