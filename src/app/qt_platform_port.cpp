#include "app/qt_platform_port.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "app/qt_text.h"

namespace {

QString NameFilters() {
    return QStringLiteral("Text files (*.txt);;All files (*)");
}

// Proposes a file in the dialog: a path opens its folder with its name
// filled in. A kept path whose folder is not there (it went, or a save into
// it failed) proposes its name alone, in the dialog's own folder.
void ProposeFile(QFileDialog& dialog, const std::string& fileName) {
    if (fileName.empty()) return;
    const QFileInfo file(Q(fileName));
    dialog.selectFile(file.isRelative() || file.dir().exists() ? file.filePath() : file.fileName());
}

}  // namespace

QString DisplayText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            const bool pair = i + 1 < text.size() && (text[i + 1] == '\n' || text[i + 1] == '\r') &&
                              text[i + 1] != c;
            if (pair) ++i;
            out += '\n';
        } else {
            out += c;
        }
    }
    return QString::fromStdString(out);
}

qreal PrintPlainText(QPrinter& printer, const QString& text, QFont font) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    auto widest = [&](const QFont& f) {
        const QFontMetricsF metrics(f, &printer);
        qreal width = 0;
        for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
        return width;
    };
    // Scaled down in proportion first, then in tenths of a point until it fits
    // (glyph widths do not scale exactly with the size).
    qreal size = font.pointSizeF();
    if (const qreal width = widest(font); width > page.width() && width > 0) {
        size = std::floor(size * page.width() / width * 10.0) / 10.0;
        font.setPointSizeF(size);
        while (size > 1.0 && widest(font) > page.width()) {
            size -= 0.1;
            font.setPointSizeF(size);
        }
    }

    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    qreal y = 0;
    for (const QString& line : lines) {
        if (y > 0 && y + metrics.height() > page.height()) {
            printer.newPage();
            y = 0;
        }
        painter.drawText(QPointF(0, y + metrics.ascent()), line);
        y += metrics.lineSpacing();
    }
    painter.end();
    return size;
}

QtPlatformPort::QtPlatformPort(QWidget* window) : window_(window) {}

QtPlatformPort::~QtPlatformPort() = default;

qv::Answer QtPlatformPort::Show(qv::MessageKind kind, std::string_view text) {
    using qv::MessageKind;
    QMessageBox box(window_);
    box.setText(DisplayText(text));
    box.setTextFormat(Qt::PlainText);
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (kind) {
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            box.setWindowTitle(QStringLiteral("Quorvane"));
            break;
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            box.setWindowTitle(QStringLiteral("Warning"));
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            box.setWindowTitle(QStringLiteral("Confirm"));
            buttons = QMessageBox::Yes | QMessageBox::No;
            escape = QMessageBox::No;
            break;
        case MessageKind::WarningYesNo:
            box.setIcon(QMessageBox::Warning);
            box.setWindowTitle(QStringLiteral("Warning"));
            buttons = QMessageBox::Yes | QMessageBox::No;
            escape = QMessageBox::No;
            break;
        case MessageKind::WarningYesNoCancel:
            box.setIcon(QMessageBox::Warning);
            box.setWindowTitle(QStringLiteral("Warning"));
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            escape = QMessageBox::Cancel;
            break;
    }
    box.setStandardButtons(buttons);
    // A warning that asks is about losing something (a file overwritten, a
    // group deleted, a schedule replaced): Enter must not be what destroys
    // it, so No is its default. A plain question proposes Yes.
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    if (kind == MessageKind::Confirmation) defaultButton = QMessageBox::Yes;
    if (kind == MessageKind::WarningYesNo || kind == MessageKind::WarningYesNoCancel)
        defaultButton = QMessageBox::No;
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escape);
    const int result = box.exec();
    switch (result) {
        case QMessageBox::Yes:
            return qv::Answer::Yes;
        case QMessageBox::No:
            return qv::Answer::No;
        case QMessageBox::Cancel:
            return qv::Answer::Cancel;
        default:
            // A question closed by any other means is not a Yes.
            return buttons.testFlag(QMessageBox::Yes) ? qv::Answer::Cancel : qv::Answer::Ok;
    }
}

std::optional<std::string> QtPlatformPort::InputBox(std::string_view title, std::string_view prompt,
                                                    std::string_view defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(window_, Q(title), Q(prompt), QLineEdit::Normal, Q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return S(text);
}

std::optional<std::string> QtPlatformPort::OpenFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(window_, Q(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(NameFilters());
    dialog.setDefaultSuffix(Q(request.defaultExt));
    ProposeFile(dialog, request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return S(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtPlatformPort::SaveFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(window_, Q(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The application asks its own overwrite question, naming the file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(NameFilters());
    dialog.setDefaultSuffix(Q(request.defaultExt));
    ProposeFile(dialog, request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return S(dialog.selectedFiles().constFirst());
}

QPrinter& QtPlatformPort::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool QtPlatformPort::PrintDialog() {
    QPrintDialog dialog(&Printer(), window_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPlatformPort::PrintText(std::string_view text, std::string_view fontFamily, int pointSize,
                               std::string_view jobTitle) {
    QPrinter& printer = Printer();
    // Without a usable printer the job ends quietly; the print dialog has
    // already told the user what the platform knows about its printers.
    if (!printer.isValid()) return false;
    printer.setDocName(Q(jobTitle));
    QFont font(Q(fontFamily));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(pointSize > 0 ? pointSize : 10);
    const bool printed = PrintPlainText(printer, DisplayText(text), font) > 0 &&
                         printer.printerState() != QPrinter::Error;
    // A job the printer could not start leaves it active for good, refusing
    // every later setting and job; the next job starts from a fresh one.
    if (!printed) printer_.reset();
    return printed;
}

void QtPlatformPort::Beep() {
    QApplication::beep();
}

void QtPlatformPort::SetWindowEnabled(bool enabled) {
    if (window_) window_->setEnabled(enabled);
}
