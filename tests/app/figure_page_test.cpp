// The figure-a-schedule page: the rate box, "Adjust Payments" on the regular
// page's schedule, the report and its printing, and "Reset All", driven
// through the real widgets.
#include "app/pages/figure_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app_fixture.h"

using Messages = std::vector<qv::RecordedMessage>;

namespace {

const QStringList kStartLines = {
    "After the amortizing payment has been computed, your schedule will show here.",
    "",
    "NOTE: If you want all payments to be the same size, be sure that",
    "all the payments you enter on TAB 2 are the same size, as the",
    "adjustment mechanism here reduces or increases each scheduled",
    "payment by the same amount until the most complete non-negative",
    "amortization is achieved.",
};

constexpr const char* kRegularBoxes[] = {
    "edSimpAmtFin",   "edSimpInnerNoPay", "edSimpRegPay",   "edSimp1stPay",    "edSimp1stNoPd",
    "edSimp1stExtra", "edSimpLastPay",    "edSimpLastNoPd", "edSimpLastExtra",
};

struct FigureApp : AppFixture {
    // 10,000.00 over 36 months, with a guess of 300.00 at the payment, typed
    // on the regular page.
    void TypeSchedule() const {
        window->ShowPage(PageId::TabSimple);
        Enter("edSimpAmtFin", QStringLiteral("10,000.00"));
        Enter("edSimpInnerNoPay", QStringLiteral("36"));
        Enter("edSimpRegPay", QStringLiteral("300.00"));
    }
    // The figure page by the File menu, the rate typed, then "Adjust
    // Payments" (which leaves the rate box first).
    void AdjustAt(const QString& rate) const {
        Item("FigureOutaScheduleatknownRate1")->trigger();
        Type("edMaxRate", rate);
        port->ClearRecords();
        Click("butFind");
    }

    QPlainTextEdit* Found() const { return Find<QPlainTextEdit>("redFound"); }
    QStringList Report() const { return Found()->toPlainText().split(QLatin1Char('\n')); }
    bool NotesShown() const {
        return Find<QLabel>("labMax8")->isVisible() && Find<QLabel>("labMax9")->isVisible() &&
               Find<QLabel>("LabMax10")->isVisible();
    }
    QStringList RegularBoxTexts() const {
        QStringList texts;
        for (const char* box : kRegularBoxes) texts << Text(box);
        return texts;
    }
};

}  // namespace

class FigurePageTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { app = std::make_unique<FigureApp>(); }
    void cleanup() { app.reset(); }

    void rightAfterResetTheRateIsMeaninglessThoughTheBoxShowsTen();
    void aMonthlyScheduleAt12PercentIsReportedAndTheRegularBoxesStay();
    void aReportNeverOutlivesItsRateOrSchedule();
    void printReportPrintsTheReportAfterThePrintDialog();
    void resetAllStartsOverOnTheRegularPage();

  private:
    std::unique_ptr<FigureApp> app;
};

void FigurePageTest::rightAfterResetTheRateIsMeaninglessThoughTheBoxShowsTen() {
    FigureApp& a = *app;
    a.TypeSchedule();
    a.AdjustAt(QStringLiteral("12"));
    QVERIFY(a.port->messages.empty());
    a.Item("menClear")->trigger();

    a.TypeSchedule();
    a.Click("butMax");
    QCOMPARE(a.window->ActivePage(), PageId::tabMax);
    a.port->ClearRecords();
    a.Click("butFind");
    QCOMPARE(a.port->messages, (Messages{Info("Oops: 0.00% rate meaningless !")}));
    QCOMPARE(a.Text("edMaxRate"), QStringLiteral("10.00"));
    QCOMPARE(a.Report(), kStartLines);
    // The rate counts once its box is left: the focus waits there for it.
    auto* rate = a.Find<QLineEdit>("edMaxRate");
    QCOMPARE(QApplication::focusWidget(), rate);
    QCOMPARE(rate->selectedText(), QStringLiteral("10.00"));

    a.port->ClearRecords();
    a.Click("butFind");
    QVERIFY(a.port->messages.empty());
    QCOMPARE(a.Report().value(1),
             QStringLiteral("Amount Financed of $10,000.00 at 10.00% yearly:"));
}

void FigurePageTest::aMonthlyScheduleAt12PercentIsReportedAndTheRegularBoxesStay() {
    FigureApp& a = *app;
    a.TypeSchedule();
    const QStringList typed = a.RegularBoxTexts();
    a.Find<QLabel>("labSimpToP")->clear();
    a.AdjustAt(QStringLiteral("12"));

    QVERIFY(a.port->messages.empty());
    const QStringList report = a.Report();
    QCOMPARE(report.mid(0, 14), (QStringList{
                                    "Using Regular Payments & Rate in this schedule:",
                                    "Amount Financed of $10,000.00 at 12.00% yearly:",
                                    "Regular Period is Monthly",
                                    "First Payment of $332.14 after 1 pds & 0 days,",
                                    "34 regular payments of $332.14 each one period apart, and",
                                    "Last Payment of $332.28 after 1 pds & 0 days.",
                                    "",
                                    "Final Balance by Amortization is $0.00",
                                    "",
                                    "Amortizing this payment schedule:",
                                    "  OldBalance +     Interest -      Payment =   NewBalance",
                                    "  $10,000.00 +      $100.00 -      $332.14 =    $9,767.86",
                                    "   $9,767.86 +       $97.68 -      $332.14 =    $9,533.40",
                                    "   $9,533.40 +       $95.33 -      $332.14 =    $9,296.59",
                                }));
    QCOMPARE(report.size(), 11 + 36 + 1);
    QCOMPARE(report.value(46),
             QStringLiteral("     $328.99 +        $3.29 -      $332.28 =        $0.00"));
    QCOMPARE(report.last(), QStringLiteral("And Total Interest Paid = $1,957.18"));
    // The last payment took up what was left: the three notes say why.
    QVERIFY(a.NotesShown());

    // The regular page's summary is refreshed; its schedule stays as typed.
    QCOMPARE(a.Find<QLabel>("labSimpToP")->text(),
             QStringLiteral("Above schedule has 36 Payments Totalling $10,800.00 w/ $800.00 "
                            "Finance Charge"));
    QCOMPARE(a.RegularBoxTexts(), typed);
}

void FigurePageTest::aReportNeverOutlivesItsRateOrSchedule() {
    FigureApp& a = *app;
    a.TypeSchedule();
    a.AdjustAt(QStringLiteral("12"));
    const QStringList report = a.Report();
    QCOMPARE(report.value(3), QStringLiteral("First Payment of $332.14 after 1 pds & 0 days,"));

    // Looking at the regular page without changing it keeps the report.
    a.PickTab(QStringLiteral("2:Reg.Pay"));
    a.Click("butMax");
    QCOMPARE(a.Report(), report);

    // A rate being typed is not the rate of the report.
    a.Type("edMaxRate", QStringLiteral("9"));
    QCOMPARE(a.Report(), kStartLines);
    QVERIFY(!a.NotesShown());
    a.Click("butFind");
    QCOMPARE(a.Report().value(1), QStringLiteral("Amount Financed of $10,000.00 at 9.00% yearly:"));

    // Nor is a schedule changed on the regular page, however the page is
    // reached again.
    a.PickTab(QStringLiteral("2:Reg.Pay"));
    a.Enter("edSimpInnerNoPay", QStringLiteral("24"));
    a.Item("FigureOutaScheduleatknownRate1")->trigger();
    QCOMPARE(a.Report(), kStartLines);
    a.Click("butFind");
    QCOMPARE(a.Report().value(4),
             QStringLiteral("22 regular payments of $456.84 each one period apart, and"));
}

void FigurePageTest::printReportPrintsTheReportAfterThePrintDialog() {
    FigureApp& a = *app;
    a.TypeSchedule();
    a.AdjustAt(QStringLiteral("12"));
    QPlainTextEdit* found = a.Found();
    const QFont screenFont = found->font();
    a.port->ClearRecords();
    // The printer of the last chart may be a file: the user chooses again,
    // and a cancelled dialog prints nothing.
    a.port->printDialogAnswers = {false};
    a.Click("butPrintIt");
    QCOMPARE(a.port->printDialogs, 1);
    QVERIFY(a.port->printed.empty());
    QVERIFY(a.port->messages.empty());
    a.Click("butPrintIt");
    QCOMPARE(a.port->printDialogs, 2);
    QCOMPARE(a.port->printed.size(), std::size_t{1});
    const PrintedJob& job = a.port->printed.front();
    QCOMPARE(QString::fromStdString(job.text), found->toPlainText());
    QCOMPARE(QString::fromStdString(job.text).split(QLatin1Char('\n')).value(2),
             QStringLiteral("Regular Period is Monthly"));
    QCOMPARE(job.jobTitle, std::string("Quorvane Known Rate Schedule"));
    QCOMPARE(job.pointSize, 12);
    QCOMPARE(QString::fromStdString(job.fontFamily), screenFont.family());
    QCOMPARE(found->font(), screenFont);
    QVERIFY(found->isVisible());
    QVERIFY(a.port->messages.empty());

    // A job no printer took is said.
    a.port->printerWorks = false;
    a.Click("butPrintIt");
    QCOMPARE(a.port->printed.size(), std::size_t{1});
    QCOMPARE(a.port->messages,
             (Messages{Warn("The report was not printed: no printer took the job.\n\rChoose "
                            "another printer, then click [Print Report] again.")}));
    QCOMPARE(found->font(), screenFont);
}

void FigurePageTest::resetAllStartsOverOnTheRegularPage() {
    FigureApp& a = *app;
    a.TypeSchedule();
    a.AdjustAt(QStringLiteral("12"));
    a.port->ClearRecords();
    a.Click("butMaxReset");
    QCOMPARE(a.port->messages,
             (Messages{Info("Now enter your schedule here & click [Figure a Schedule]\r\nagain; "
                            "but do NOT click [Reset All] again.")}));
    QCOMPARE(a.window->ActivePage(), PageId::TabSimple);
    QCOMPARE(a.Text("edSimpAmtFin"), QStringLiteral("0.00"));
    QCOMPARE(a.window->State().figure.MaxRate, 0.0);
    QCOMPARE(a.Text("edMaxRate"), QStringLiteral("10.00"));
    QCOMPARE(a.Report(), kStartLines);
}

QTEST_MAIN(FigurePageTest)
#include "figure_page_test.moc"
