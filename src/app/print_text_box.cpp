#include "app/print_text_box.h"

#include <QFont>
#include <QPlainTextEdit>

#include "app/qt_text.h"

namespace {

// Swaps the box to the printer's font while a job is printed and puts the
// screen font and the box back however the job ends.
class PrintFontSwap {
  public:
    PrintFontSwap(QPlainTextEdit* box, std::string_view fontFamily, int pointSize)
        : box_(box), screenFont_(box->font()) {
        box_->hide();
        QFont printFont(Q(fontFamily));
        printFont.setStyleHint(QFont::TypeWriter);
        printFont.setPointSize(pointSize);
        box_->setFont(printFont);
    }
    ~PrintFontSwap() {
        box_->setFont(screenFont_);
        box_->show();
    }
    PrintFontSwap(const PrintFontSwap&) = delete;
    PrintFontSwap& operator=(const PrintFontSwap&) = delete;

  private:
    QPlainTextEdit* box_;
    QFont screenFont_;
};

}  // namespace

bool PrintTextBox(QPlainTextEdit* box, PlatformPort& port, std::string_view fontFamily,
                  int pointSize, std::string_view jobTitle) {
    PrintFontSwap swap(box, fontFamily, pointSize);
    return port.PrintText(S(box->toPlainText()), fontFamily, pointSize, jobTitle);
}
