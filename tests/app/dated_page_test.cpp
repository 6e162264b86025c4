// The dated-loan page built on its own, against a session without a window:
// the loan state, the payment groups and their estimate are real.
#include "app/pages/dated_page.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/interval.h"
#include "fake_session.h"

namespace {

QLineEdit* Cell(QTableWidget* table, int row, int column) {
    return qobject_cast<QLineEdit*>(table->cellWidget(row, column));
}

void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

}  // namespace

class DatedPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeSession> session_;
    std::unique_ptr<DatedPage> page_;

    template <class W>
    W* Find(const char* name) {
        return page_->findChild<W*>(QString::fromLatin1(name));
    }
    QString Result() { return Find<QPlainTextEdit>("redDated")->toPlainText(); }
    QString Verdict() { return Find<QLabel>("labVerdict")->text(); }
    void Click(const char* button) { QTest::mouseClick(Find<QWidget>(button), Qt::LeftButton); }

    // (c)(1)(ii) of the regulation's examples, the payments as a group.
    void EnterFirstExample() {
        auto* advances = Find<QTableWidget>("grdAdvances");
        auto* payments = Find<QTableWidget>("grdPayments");
        qobject_cast<DateBox*>(advances->cellWidget(0, 0))->setDate(QDate(1978, 2, 10));
        Type(Cell(advances, 0, 1), "6000");
        Type(Cell(payments, 0, 0), "36");
        Type(Cell(payments, 0, 1), "200");
        qobject_cast<DateBox*>(payments->cellWidget(0, 2))->setDate(QDate(1978, 4, 1));
    }

  private slots:
    void init() {
        session_ = std::make_unique<FakeSession>();
        // Another interval than the loan's, so that a compute must set it.
        session_->schedule.SetInterval(qv::Interval::Weekly);
        page_ = std::make_unique<DatedPage>(*session_);
        page_->resize(640, 460);
        page_->show();
        QApplication::setActiveWindow(page_.get());
        QVERIFY(QTest::qWaitForWindowActive(page_.get()));
    }
    void cleanup() {
        page_.reset();
        session_.reset();
    }

    void computesByDatesFillsTheProgramAndJudgesTheDisclosure() {
        EnterFirstExample();
        Click("butComputeDated");
        const QString result = Result();
        QVERIFY2(result.contains("Unit period: month (12 a year)"), qPrintable(result));
        QVERIFY(result.contains("Appendix J rate: 11.8165 % (11.82 % to two decimals)"));
        QVERIFY(result.contains("Program's APR: 11.817 %"));
        QVERIFY(result.contains("Pay 1    1978-04-01       $200.00        1  19/30"));
        QVERIFY(result.contains("Pay 36   1981-03-01       $200.00       36  19/30"));
        // The irregular page's groups now hold the loan, in the monthly interval.
        QCOMPARE(session_->paySet.Count(), 2);
        QCOMPARE(session_->schedule.Interval(), std::optional{qv::Interval::Monthly});

        Type(Find<QLineEdit>("edDisclosedApr"), "11.70");
        Click("butCheckDated");
        QCOMPARE(Verdict(),
                 QStringLiteral("Accurate, within 0.01 of the boundary of the tolerance"));
        QVERIFY(Result().contains("Difference:           -0.1165 points"));
        // The verdict goes under the chart text once, however often it is checked.
        Click("butCheckDated");
        const qv::ChartText chart = session_->chart.Lines();
        QCOMPARE(std::count(chart.begin(), chart.end(),
                            std::string("Disclosure check (actuarial method, Appendix J)")),
                 1);
        QCOMPARE(chart.back(),
                 std::string("Verdict:              Accurate, within 0.01 of the boundary of "
                             "the tolerance"));

        // Typing another disclosure clears the verdict; checking again judges it.
        Type(Find<QLineEdit>("edDisclosedApr"), "11.69");
        QVERIFY(Verdict().isEmpty());
        Click("butCheckDated");
        QVERIFY(Verdict().startsWith("Not accurate"));

        // A change to the schedule takes the result away with the verdict.
        Type(Cell(Find<QTableWidget>("grdPayments"), 0, 1), "201");
        QVERIFY(Verdict().isEmpty());
        QVERIFY(!Result().contains("11.8165"));
        session_->port.ClearRecords();
        Click("butCheckDated");
        QCOMPARE(session_->port.Texts(),
                 std::vector<std::string>{"Compute the loan's APR first, then check its "
                                          "disclosure."});
    }

    void aLoanTheProgramCannotTakeKeepsTheGroupsAndSaysWhy() {
        auto* advances = Find<QTableWidget>("grdAdvances");
        auto* payments = Find<QTableWidget>("grdPayments");
        qobject_cast<DateBox*>(advances->cellWidget(0, 0))->setDate(QDate(1978, 5, 23));
        Type(Cell(advances, 0, 1), "10000");
        Type(Cell(payments, 0, 0), "40");
        Type(Cell(payments, 0, 1), "385");
        qobject_cast<DateBox*>(payments->cellWidget(0, 2))->setDate(QDate(1978, 10, 1));
        qobject_cast<QComboBox*>(payments->cellWidget(0, 3))->setCurrentText("quarter");
        Click("butComputeDated");
        QVERIFY(Result().contains("Appendix J rate: 8.9708 % (8.97 % to two decimals)"));
        QVERIFY(
            Result().contains("The program's intervals cannot take this loan: the unit "
                              "period is quarter"));
        QCOMPARE(session_->paySet.Count(), 0);
    }

    void leavingADateSaysWhatIsWrongWithIt() {
        auto* advances = Find<QTableWidget>("grdAdvances");
        auto* payments = Find<QTableWidget>("grdPayments");
        auto* advance = qobject_cast<DateBox*>(advances->cellWidget(0, 0));
        advance->setDate(QDate(2024, 3, 1));
        auto* first = qobject_cast<DateBox*>(payments->cellWidget(0, 2));
        struct Case {
            const char* typed;
            const char* message;
        };
        const Case cases[] = {
            {"2023-02-29", "\"2023-02-29\" is not a date that exists."},
            {"2024-02-01",
             "The payment on 2024-02-01 falls before the first advance, on "
             "2024-03-01."},
        };
        for (const Case& c : cases) {
            session_->port.ClearRecords();
            first->setFocus();
            QLineEdit* text = first->findChild<QLineEdit*>();
            text->selectAll();
            QTest::keyClicks(text, c.typed);
            Cell(payments, 0, 1)->setFocus();
            QApplication::processEvents();
            QVERIFY2(!session_->port.messages.empty(), c.typed);
            QVERIFY2(session_->port.messages.front().text.starts_with(c.message),
                     session_->port.messages.front().text.c_str());
        }
    }

    void savedLoanLoadsBackAndABadFileLosesNothing() {
        EnterFirstExample();
        const auto folder = std::filesystem::temp_directory_path() /
                            ("qv_dated_page_" + std::to_string(QCoreApplication::applicationPid()));
        std::filesystem::create_directories(folder);
        const std::string saved = (folder / "loan.txt").string();
        const std::string bad = (folder / "bad.txt").string();
        std::ofstream(bad)
            << "Quorvane dated loan 1\nadvance 1978-02-10 6000\npayment 1978-13-01 5\n";

        session_->port.fileAnswers = {saved};
        Click("butSaveDated");
        page_->ResetControls();
        session_->port.ClearRecords();
        session_->port.fileAnswers = {saved};
        Click("butLoadDated");
        auto* payments = Find<QTableWidget>("grdPayments");
        QCOMPARE(payments->rowCount(), 1);  // 36 monthly payments come back as one group
        QCOMPARE(Cell(payments, 0, 0)->text(), QStringLiteral("36"));

        session_->port.fileAnswers = {bad};
        Click("butLoadDated");
        QVERIFY(session_->port.Texts().back().find("line 3:") != std::string::npos);
        QCOMPARE(Cell(payments, 0, 0)->text(), QStringLiteral("36"));
        Click("butComputeDated");
        QVERIFY(Result().contains("11.8165"));
        std::filesystem::remove_all(folder);
    }
};

QTEST_MAIN(DatedPageTest)
#include "dated_page_test.moc"
