#pragma once
// The base of every page of the main window's page control.
#include <QHBoxLayout>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>
#include <initializer_list>
#include <vector>

#include "app/table_model.h"

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
class TforMain;

// The fifteen pages in page-control order; the value is the page index.
enum class PageId : int {
    tabAbout = 0,
    tabIntro = 1,
    TabSimple = 2,
    tabEstimate = 3,
    tabChart = 4,
    tabEdit = 5,
    tabSplit = 6,
    TabUsers = 7,
    tabSettings = 8,
    tabMax = 9,
    tabVary = 10,
    tabUsingChart = 11,
    TabUsingVary = 12,
    tabOnePay = 13,
    tabPerDiem = 14,
};

inline constexpr int kPageCount = 15;

// Name of a page ("tabAbout"), which is also its widget's object name.
QString PageName(PageId id);
// Caption of a page ("1:Intro"); empty for pages that never had one.
QString PageCaption(PageId id);
// Whether the page has a tab in the strip.
bool PageHasTab(PageId id);

class Page : public QWidget {
    Q_OBJECT
  public:
    Page(TforMain& main, PageId id);
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

  protected:
    TforMain& Main() const { return main_; }
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

    // Adds widgets side by side as one line of the page, flush left; the line
    // wraps like a sentence when the page is too narrow for it.
    FlowLayout* Row(std::initializer_list<QWidget*> widgets);
    // Adds one widget as a line of its own.
    void Line(QWidget* widget);
    void Gap();

  private:
    TforMain& main_;
    PageId id_;
    FocusExitFilter* focus_;
    QVBoxLayout* column_;
};
