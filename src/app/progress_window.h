#pragma once
// TProgressWindow: the small window a delimited-text import or export shows
// while it runs, when the component is set to show progress (none of the
// program's components is). It is the component's progress observer: the
// engine's ProgressWindowTexts words what it shows, the window lays it out
// and repaints at once, since no events are processed while a run goes on.
#include <QDialog>
#include <chrono>

#include "data/wcprgwnd.h"

class QLabel;
class QProgressBar;

class TProgressWindow : public QDialog, public qv::ProgressObserver {
    Q_OBJECT
  public:
    // Centred on the screen `mainWindow` is on and kept above it.
    explicit TProgressWindow(QWidget* mainWindow,
                             qv::ProgressClock clock = std::chrono::steady_clock::now);

    // A run begins: the window shows its start texts.
    void Start(qv::ProgressKind kind, qv::ProgressBasis basis, std::int64_t totalBytes,
               std::int64_t totalRecords, const std::string& fileName) override;
    void Update(std::int64_t recordsDone, std::int64_t bytesDone) override;
    // The run is over, however it ended: the window goes away.
    void Finish() override;

    const qv::ProgressWindowTexts& Texts() const { return texts_; }

  private:
    void ShowTexts();
    void Centre();
    void WaitUntilExposed();

    qv::ProgressWindowTexts texts_;
    QLabel* lbFile_;
    QLabel* lbRecords_;
    QLabel* lbBytes_;
    QLabel* lbTime_;
    QLabel* lbPercentage_;
    QProgressBar* ProgressBar_;
};
