#pragma once
// The platform port on Qt: message boxes, the input box, file dialogs, the
// print dialog and printing, the beep.
#include <QPointer>
#include <QString>
#include <memory>

#include "app/platform_port.h"

class QFont;
class QPrinter;
class QWidget;

// Message texts keep the line-break pairs they were written with ("\n\r" and
// "\r\n"); on screen each pair, and a lone "\r", is one line break.
QString DisplayText(std::string_view text);

// Prints plain text on `printer` as one job, each line of the text on one
// printed line, across as many pages as it needs. Where the widest line is
// wider than the printable width in `font`, the point size is brought down
// until it fits: a chart's columns are never wrapped. Returns the point size
// printed in, 0 when the printer could not be started.
qreal PrintPlainText(QPrinter& printer, const QString& text, QFont font);

class QtPlatformPort : public PlatformPort {
  public:
    // Dialogs are modal to `window`, and SetWindowEnabled acts on it.
    explicit QtPlatformPort(QWidget* window);
    ~QtPlatformPort() override;

    qv::Answer Show(qv::MessageKind kind, std::string_view text) override;
    std::optional<std::string> InputBox(std::string_view title, std::string_view prompt,
                                        std::string_view defaultText) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    bool PrintDialog() override;
    bool PrintText(std::string_view text, std::string_view fontFamily, int pointSize,
                   std::string_view jobTitle) override;
    void Beep() override;
    void SetWindowEnabled(bool enabled) override;

    // The current printer: the one last chosen in the print dialog, else the
    // system's default.
    QPrinter& Printer();

  private:
    QPointer<QWidget> window_;
    std::unique_ptr<QPrinter> printer_;  // made on first use; kept for the run
};
