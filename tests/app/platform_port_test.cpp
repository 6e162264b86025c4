// The Qt platform port: what the user sees and which answers proceed.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt_platform_port.h"
#include "app/recording_platform_port.h"

using qv::Answer;
using qv::MessageKind;

namespace {

// Runs `act` on the modal dialog as soon as it is up.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        act(modal);
    });
}

QAbstractButton* ButtonOf(QWidget* modal, QMessageBox::StandardButton which) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box != nullptr ? box->button(which) : nullptr;
}

}  // namespace

class PlatformPortTest : public QObject {
    Q_OBJECT

  private slots:
    void printsALongTextToPdfAcrossPages() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
        QtPlatformPort port(nullptr);
        port.Printer().setOutputFormat(QPrinter::PdfFormat);
        port.Printer().setOutputFileName(pdf);
        std::string text;
        for (int line = 1; line <= 300; ++line) {
            text += "  " + std::to_string(line) + "     $1,000.00      $8.33\n";
        }
        QVERIFY(port.PrintText(text, "Courier New", 10, "Quorvane Amortization Chart  0.9992"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        // 300 lines of 10-point text need more than one page ("/Type /Pages"
        // is the page tree, counted once).
        QVERIFY(bytes.count("/Type /Page") - bytes.count("/Type /Pages") > 1);
    }

    void aChartLineIsNeverWrappedButPrintedSmallerWhereItMustFit() {
        // A 77-character line of a chart with rebates, on Letter paper and on
        // a page too narrow for it at 10 points.
        const QString line = QStringLiteral(
            "  24    $277.57      $2.43    $280.00      $0.00    $570.00      $0.00  xxxxx");
        QCOMPARE(line.size(), 77);
        const QString text = QStringLiteral("Pay#|OldBalance| +Interest|\n") + line;
        QTemporaryDir dir;
        for (const auto& [what, size] :
             {std::pair{"letter", QPageSize::Letter}, std::pair{"narrow", QPageSize::A6}}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QString::fromLatin1(what) + ".pdf"));
            printer.setPageSize(QPageSize(size));
            QFont font(QStringLiteral("Courier New"));
            font.setStyleHint(QFont::TypeWriter);
            font.setPointSize(10);
            const qreal printed = PrintPlainText(printer, text, font);
            QVERIFY2(printed > 0, what);
            font.setPointSizeF(printed);
            const qreal width = QFontMetricsF(font, &printer).horizontalAdvance(line);
            QVERIFY2(width <= printer.pageRect(QPrinter::DevicePixel).width(), what);
            if (size == QPageSize::A6) QVERIFY(printed < 10);
            if (size == QPageSize::Letter) QCOMPARE(printed, 10.0);
        }
    }

    void lineBreakPairsShowAsOneBreak() {
        QCOMPARE(DisplayText("a\n\rb"), QStringLiteral("a\nb"));
        QCOMPARE(DisplayText("a\r\nb"), QStringLiteral("a\nb"));
        // An empty line written as two line-feed/return pairs stays empty.
        QCOMPARE(DisplayText("a\n\r\n\rb"), QStringLiteral("a\n\nb"));
        QCOMPARE(DisplayText("a\r\n\r\nb"), QStringLiteral("a\n\nb"));
        QCOMPARE(DisplayText("a\nb\rc"), QStringLiteral("a\nb\nc"));
        QCOMPARE(DisplayText("Say \"VGA\" & more"), QStringLiteral("Say \"VGA\" & more"));
        QCOMPARE(DisplayText("$ 1,234.50\n\r"), QStringLiteral("$ 1,234.50\n"));
    }

    void messageBoxShowsTheTextAndOnlyYesProceeds() {
        QWidget window;
        window.show();
        QtPlatformPort port(&window);

        QString shown;
        WhenModal([&](QWidget* modal) {
            shown = qobject_cast<QMessageBox*>(modal)->text();
            ButtonOf(modal, QMessageBox::No)->click();
        });
        QCOMPARE(port.Show(MessageKind::Confirmation, "Exit APR now?\n\rReally?"), Answer::No);
        QCOMPARE(shown, QStringLiteral("Exit APR now?\nReally?"));

        WhenModal([](QWidget* modal) { ButtonOf(modal, QMessageBox::Yes)->click(); });
        QCOMPARE(port.Show(MessageKind::WarningYesNo, "Overwrite?"), Answer::Yes);

        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(port.Show(MessageKind::WarningYesNoCancel, "Save first?"), Answer::Cancel);

        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(!port.Confirm("Escape is no Yes"));

        WhenModal([](QWidget* modal) {
            QVERIFY(ButtonOf(modal, QMessageBox::Yes) == nullptr);
            ButtonOf(modal, QMessageBox::Ok)->click();
        });
        QCOMPARE(port.Show(MessageKind::Warning, "Error: 0 payments"), Answer::Ok);
    }

    void enterOnAWarningQuestionAnswersNo() {
        QWidget window;
        window.show();
        QtPlatformPort port(&window);
        // An overwrite or delete question must not destroy anything on a
        // reflex Enter; a plain question proposes Yes.
        const struct {
            MessageKind kind;
            Qt::Key key;
            Answer answer;
        } cases[] = {
            {MessageKind::WarningYesNo, Qt::Key_Return, Answer::No},
            {MessageKind::WarningYesNo, Qt::Key_Enter, Answer::No},
            {MessageKind::WarningYesNo, Qt::Key_Escape, Answer::No},
            {MessageKind::WarningYesNoCancel, Qt::Key_Return, Answer::No},
            {MessageKind::Confirmation, Qt::Key_Return, Answer::Yes},
        };
        for (const auto& c : cases) {
            WhenModal([key = c.key](QWidget* modal) { QTest::keyClick(modal, key); });
            QCOMPARE(port.Show(c.kind, "Do you really want to overwrite keep.txt?"), c.answer);
        }
    }

    void saveDialogProposesTheNameAndAddsTheExtension() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QWidget window;
        window.show();
        QtPlatformPort port(&window);

        QString title;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            title = dialog->windowTitle();
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
            dialog->setDirectory(dir.path());
            dialog->selectFile(QDir(dir.path()).filePath(QStringLiteral("MyChart")));
            static_cast<QDialog*>(dialog)->accept();
        });
        auto chosen = port.SaveFileDialog({"Saving Amortization Chart Text", "MyChart.txt", "txt"});
        QCOMPARE(title, QStringLiteral("Saving Amortization Chart Text"));
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(*chosen),
                 QDir(dir.path()).filePath(QStringLiteral("MyChart.txt")));
        // Choosing a name writes nothing.
        QVERIFY(QDir(dir.path()).isEmpty());

        WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QVERIFY(!port.OpenFileDialog({"Select a schedule", "", "txt"}).has_value());
    }

    void aKeptPathOpensItsFolderUnlessTheFolderIsGone() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QWidget window;
        window.show();
        QtPlatformPort port(&window);
        const QString kept = QDir(dir.path()).filePath(QStringLiteral("kept.txt"));
        const QString gone = QDir(dir.path()).filePath(QStringLiteral("gone/kept.txt"));

        for (const QString& proposed : {kept, gone}) {
            QString folder;
            QFileInfo chosen;
            WhenModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                QVERIFY(dialog != nullptr);
                folder = dialog->directory().absolutePath();
                chosen = QFileInfo(dialog->selectedFiles().value(0));
                static_cast<QDialog*>(dialog)->reject();
            });
            QVERIFY(!port.OpenFileDialog({"Select", proposed.toStdString(), "txt"}).has_value());
            QCOMPARE(chosen.fileName(), QStringLiteral("kept.txt"));
            // The dialog shows a folder that is there.
            QVERIFY(chosen.dir().exists());
            if (proposed == kept) QCOMPARE(folder, QDir(dir.path()).absolutePath());
        }
    }

    void recordingPortKeepsOrderAndFollowsItsScripts() {
        RecordingPlatformPort port;
        port.answers = {Answer::No};
        port.Inform("one");
        QVERIFY(!port.Confirm("two"));
        QVERIFY(port.Confirm("three"));  // the script has run out: Yes
        QCOMPARE(port.messages.size(), std::size_t(3));
        QCOMPARE(port.messages[1], (qv::RecordedMessage{MessageKind::Confirmation, "two"}));

        port.inputAnswers = {std::nullopt};
        QVERIFY(!port.InputBox("Title", "Prompt", "5").has_value());
        QCOMPARE(port.InputBox("Title", "Prompt", "5").value(), std::string("5"));

        port.fileAnswers = {std::string("/tmp/x.txt")};
        QCOMPARE(port.SaveFileDialog({"Save", "myPaySet.txt", "txt"}).value(),
                 std::string("/tmp/x.txt"));
        QVERIFY(!port.OpenFileDialog({"Open", "", "txt"}).has_value());
        QCOMPARE(port.dialogs.size(), std::size_t(2));
        QCOMPARE(port.dialogs[0].request.fileName, std::string("myPaySet.txt"));

        port.printDialogAnswers = {false};
        QVERIFY(!port.PrintDialog());
        QVERIFY(port.PrintText("line 1\r\nline 2", "Courier New", 10, "Chart"));
        QCOMPARE(port.printed.front(),
                 (PrintedJob{"line 1\r\nline 2", "Courier New", 10, "Chart"}));
        port.printerWorks = false;
        QVERIFY(!port.PrintText("x", "Courier New", 10, "Chart"));
        QCOMPARE(port.printed.size(), std::size_t(1));
    }
};

QTEST_MAIN(PlatformPortTest)
#include "platform_port_test.moc"
