#include "app/pages/page.h"

#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <string>

#include "app/accessible.h"
#include "app/flow_layout.h"
#include "app/focus_exit_filter.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "app/session.h"

namespace {

// A push button that Enter presses, as Space does: the pages are forms
// without a default button, and a user who tabs to a button expects Enter to
// work there.
class PageButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

}  // namespace

Page::Page(Session& session, PageId id)
    : session_(session),
      id_(id),
      focus_(new FocusExitFilter(this)),
      column_(new QVBoxLayout(this)) {
    setObjectName(PageName(id));
    column_->setAlignment(Qt::AlignTop);
}

Page::~Page() {
    // Child widgets lose the focus while they are destroyed; no handler of a
    // page that is half gone may run then.
    focus_->Disable();
}

int Page::heightForWidth(int width) const {
    return column_->totalMinimumHeightForWidth(width);
}

int Page::PreferredHeightForWidth(int width) const {
    return column_->hasHeightForWidth() ? column_->totalHeightForWidth(width) : sizeHint().height();
}

QLabel* Page::Label(const QString& text, const char* name) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* Page::Text(const QString& text, const char* name) {
    QLabel* label = Label(text, name);
    label->setWordWrap(true);
    return label;
}

QLabel* Page::Heading(const QString& text) {
    QLabel* label = Text(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLineEdit* Page::Box(const char* name, const QString& text, const QString& hint,
                     int widthInDigits) {
    auto* box = new QLineEdit(text, this);
    box->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) box->setToolTip(hint);
    // Wide enough for the numbers it holds in the current font, whatever its
    // size; the page's layout gives it no more.
    const QFontMetrics metrics(box->font());
    const int digits = metrics.horizontalAdvance(QString(widthInDigits, QLatin1Char('0')));
    box->setFixedWidth(digits + 2 * metrics.horizontalAdvance(QLatin1Char(' ')) + 12);
    return box;
}

QPushButton* Page::Button(const char* name, const QString& caption, const QString& hint) {
    auto* button = new PageButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* Page::Check(const char* name, const QString& caption, bool checked) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

RadioGroup* Page::Radio(const char* name, const QString& caption, const QStringList& items,
                        int columns, const QString& hint) {
    auto* group = new RadioGroup(caption, items, columns, this);
    group->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) group->setToolTip(hint);
    return group;
}

QPlainTextEdit* Page::Memo(const char* name, const QStringList& lines, bool fixedPitch) {
    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName(QString::fromLatin1(name));
    if (fixedPitch) {
        // Columns of the charts line up only in a fixed-pitch face; "Courier
        // New" is matched by its metric twin where it is not installed.
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPointSizeF(QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
        memo->setFont(font);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->setTabChangesFocus(true);
    return memo;
}

QLineEdit* Page::ResultBox(const char* name, const QString& text, int widthInDigits) {
    // Results are the program's to write: the user can select and copy them,
    // not type into them.
    QLineEdit* box = Box(name, text, QString(), widthInDigits);
    box->setReadOnly(true);
    return box;
}

QTableView* Page::Grid(const char* name, qv::TMemDataSet& table, std::vector<GridColumn> columns,
                       bool readOnly, const QString& hint) {
    auto* grid = new QTableView(this);
    grid->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) grid->setToolTip(hint);
    auto* model = new MemTableModel(table, std::move(columns), session_.Port(), grid);
    model->SetReadOnly(readOnly);
    BindGrid(grid, model);
    grid->setMinimumHeight(grid->verticalHeader()->defaultSectionSize() * 4);
    return grid;
}

MemTableModel* Page::ModelOf(QTableView* grid) {
    return static_cast<MemTableModel*>(grid->model());
}

FlowLayout* Page::Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new FlowLayout;
    for (QWidget* widget : widgets) row->addWidget(widget);
    column_->addLayout(row);
    return row;
}

std::vector<GridColumn> Page::ColumnsOf(std::span<const qv::GridColumnText> columns) {
    std::vector<GridColumn> made;
    made.reserve(columns.size());
    for (const qv::GridColumnText& column : columns) {
        made.emplace_back(std::string(column.field), Q(column.title));
    }
    return made;
}

Page::PaymentBoxes Page::PaymentRow(const BoxInfo& pay, const BoxInfo& periods,
                                    const BoxInfo& days) {
    PaymentBoxes boxes;
    boxes.pay = Box(pay.name, pay.start, pay.hint, 10);
    boxes.periods = Box(periods.name, periods.start, periods.hint, 4);
    boxes.days = Box(days.name, days.start, days.hint, 4);
    QLabel* payLabel = Label(pay.label);
    QLabel* periodsLabel = Label(periods.label);
    QLabel* daysLabel = Label(days.label);
    TieLabel(payLabel, boxes.pay);
    TieLabel(periodsLabel, boxes.periods);
    TieLabel(daysLabel, boxes.days);
    Row({boxes.pay, payLabel, boxes.periods, periodsLabel, boxes.days, daysLabel});
    return boxes;
}

void Page::Line(QWidget* widget) {
    column_->addWidget(widget);
}

void Page::Gap() {
    column_->addSpacing(fontMetrics().height() / 2);
}
