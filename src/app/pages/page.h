#pragma once
// The base of every page of the main window's page control.
#include <QHBoxLayout>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "app/page_id.h"
#include "app/table_model.h"
#include "base/page_text.h"

class QCheckBox;
class QLabel;
class QLayoutItem;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class FlowLayout;
class FocusExitFilter;
class RadioGroup;
class Session;

class Page : public QWidget {
    Q_OBJECT
  public:
    Page(Session& session, PageId id);
    ~Page() override;

    PageId Id() const { return id_; }
    QString Caption() const { return PageCaption(id_); }

    // Puts the page's controls into their start state; the window's Reset
    // calls it for every page after the loan state has been reset.
    virtual void ResetControls() {}
    // The page-entry action: runs when the page is reached from another page
    // (by a button, a menu item, or the user starting to work in a page
    // picked from the tab strip).
    virtual void Enter() {}

    // After Reset the page is next given the focus at its first control, not
    // at the control last used in it (unless ComesBackToFirstBoxAfterReset
    // says otherwise).
    void StartOverAtFirstBox() { startOver_ = ComesBackToFirstBoxAfterReset(); }
    bool TakeStartOver() { return std::exchange(startOver_, false); }

    // The height a scroll area gives the page at a width: its least one, so
    // that on a small screen the grids and text boxes shrink to their minimum
    // before the page has to scroll away its buttons.
    int heightForWidth(int width) const override;
    // The height the page would like at a width, for the window's start size.
    int PreferredHeightForWidth(int width) const;

  protected:
    virtual bool ComesBackToFirstBoxAfterReset() const { return true; }

    Session& session() const { return session_; }
    // Maps this page's boxes to their exit (and enter) handlers.
    FocusExitFilter& Focus() const { return *focus_; }

    // The page's content column; pages add their rows to it.
    QVBoxLayout* Column() const { return column_; }

    // Small builders that keep the pages' code short. Every named control gets
    // its object name, so later code and the tests find it by name. Label texts
    // are shown as written (one "&" is one ampersand); button and check-box
    // captions follow the toolkit's rule ("&&" shows one ampersand).
    QLabel* Label(const QString& text, const char* name = nullptr);
    // A label that wraps to the page's width, for sentences and paragraphs.
    QLabel* Text(const QString& text, const char* name = nullptr);
    QLabel* Heading(const QString& text);
    QLineEdit* Box(const char* name, const QString& text, const QString& hint = {},
                   int widthInDigits = 10);
    // A box the page writes its result into; read-only for typing.
    QLineEdit* ResultBox(const char* name, const QString& text, int widthInDigits = 10);
    QPushButton* Button(const char* name, const QString& caption, const QString& hint = {});
    QCheckBox* Check(const char* name, const QString& caption, bool checked);
    RadioGroup* Radio(const char* name, const QString& caption, const QStringList& items,
                      int columns, const QString& hint = {});
    QPlainTextEdit* Memo(const char* name, const QStringList& lines, bool fixedPitch = false);
    // A grid bound to one of the window's tables; the model is the view's child.
    QTableView* Grid(const char* name, qv::TMemDataSet& table, std::vector<GridColumn> columns,
                     bool readOnly, const QString& hint = {});
    static MemTableModel* ModelOf(QTableView* grid);
    // The grid columns of an engine table of columns, centred and editable
    // wherever the grid is.
    static std::vector<GridColumn> ColumnsOf(std::span<const qv::GridColumnText> columns);

    // One payment with its interval as one line of the page: an amount box,
    // a whole-periods box and an extra-days box, each followed by its label.
    struct BoxInfo {
        const char* name;
        QString start;
        QString hint;
        QString label;
    };
    struct PaymentBoxes {
        QLineEdit* pay;
        QLineEdit* periods;
        QLineEdit* days;
    };
    PaymentBoxes PaymentRow(const BoxInfo& pay, const BoxInfo& periods, const BoxInfo& days);

    // Adds widgets side by side as one line of the page, flush left; the line
    // wraps like a sentence when the page is too narrow for it.
    FlowLayout* Row(std::initializer_list<QWidget*> widgets);
    // Adds one widget as a line of its own.
    void Line(QWidget* widget);
    void Gap();

  private:
    Session& session_;
    PageId id_;
    FocusExitFilter* focus_;
    QVBoxLayout* column_;
    bool startOver_ = false;
};
