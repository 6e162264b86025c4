#include "app/progress_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <utility>

#include "app/qt_text.h"

namespace {

constexpr int kWidth = 330;
constexpr int kHeight = 151;
constexpr int kCaptionLeft = 8;
constexpr int kValueLeft = 72;
constexpr int kLineHeight = 17;
// The bar counts in thousandths of the run, whatever its total: a byte count
// does not fit the bar's own range on every file.
constexpr int kBarSteps = 1000;
// How long a run waits at most for its window to come up on the screen.
constexpr int kExposeWaitMs = 500;

QLabel* Caption(QWidget* parent, const char* name, const char* text, int top) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(kCaptionLeft, top, kValueLeft - kCaptionLeft - 6, kLineHeight);
    return label;
}

QLabel* Value(QWidget* parent, const char* name, int left, int top, int width) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(left, top, width, kLineHeight);
    return label;
}

}  // namespace

TProgressWindow::TProgressWindow(QWidget* mainWindow, qv::ProgressClock clock)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                              Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      texts_(std::move(clock)) {
    setFixedSize(kWidth, kHeight);
    Caption(this, "Label1", "File:", 12);
    Caption(this, "Label2", "Records:", 32);
    Caption(this, "Label3", "Bytes:", 52);
    Caption(this, "Label4", "Time:", 72);
    Caption(this, "Label5", "Progress:", 92);
    const int valueWidth = kWidth - kValueLeft - 8;
    lbFile_ = Value(this, "lbFile", kValueLeft, 12, valueWidth);
    lbRecords_ = Value(this, "lbRecords", kValueLeft, 32, valueWidth);
    lbBytes_ = Value(this, "lbBytes", kValueLeft, 52, valueWidth);
    lbTime_ = Value(this, "lbTime", kValueLeft, 72, valueWidth);
    ProgressBar_ = new QProgressBar(this);
    ProgressBar_->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar_->setGeometry(kValueLeft, 92, 213, kLineHeight);
    ProgressBar_->setTextVisible(false);
    lbPercentage_ = Value(this, "lbPercentage", 292, 92, kWidth - 292 - 4);
    ShowTexts();
}

void TProgressWindow::Start(qv::ProgressKind kind, qv::ProgressBasis basis, std::int64_t totalBytes,
                            std::int64_t totalRecords, const std::string& fileName) {
    texts_.Start(kind, basis, totalBytes, totalRecords, fileName);
    ShowTexts();
    Centre();
    show();
    raise();
    WaitUntilExposed();
    repaint();
}

void TProgressWindow::Update(std::int64_t recordsDone, std::int64_t bytesDone) {
    texts_.Update(recordsDone, bytesDone);
    ShowTexts();
    repaint();
}

void TProgressWindow::Finish() {
    hide();
}

void TProgressWindow::ShowTexts() {
    setWindowTitle(Q(texts_.Caption()));
    lbFile_->setText(Q(texts_.lbFile()));
    lbRecords_->setText(Q(texts_.lbRecords()));
    lbBytes_->setText(Q(texts_.lbBytes()));
    lbTime_->setText(Q(texts_.lbTime()));
    lbPercentage_->setText(Q(texts_.lbPercentage()));
    const std::optional<double> fraction = texts_.Fraction();
    if (fraction) {
        ProgressBar_->setRange(0, kBarSteps);
        ProgressBar_->setValue(static_cast<int>(std::lround(*fraction * kBarSteps)));
    } else {
        // Nothing to measure the run against (an empty file, a table without
        // records): the bar only shows that the run is going on.
        ProgressBar_->setRange(0, 0);
    }
}

void TProgressWindow::WaitUntilExposed() {
    // A window is drawn only once the window system has put it on the
    // screen, which it reports as an event; the run itself processes none.
    // Input stays queued, so nothing the user does runs in the meantime.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() &&
           waited.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, kExposeWaitMs);
    }
}

void TProgressWindow::Centre() {
    // On the screen the main window is on, whatever part of it the window
    // covers; without a window, on the primary screen.
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->window()->screen()
                                                      : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}
