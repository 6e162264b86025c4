#pragma once
// TforMain: the one main window. It owns the loan state, the four record
// tables, the platform port, the current values (settings, chart document,
// payment schedule, regular schedule) and the pages for the whole run, offers
// them to the pages as their Session, and routes showing a page, Reset and
// the menus.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "app/pages/page.h"
#include "app/platform_port.h"
#include "app/session.h"
#include "core/loan_state.h"
#include "data/memdset.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QTabBar;

class TforMain : public QMainWindow, public Session {
    Q_OBJECT
  public:
    // The window title: product, version, maker's notice and release date.
    static const QString kTitle;

    // With no port given the window shows real dialogs (QtPlatformPort).
    explicit TforMain(std::unique_ptr<PlatformPort> port = nullptr, QWidget* parent = nullptr);
    ~TforMain() override;

    // --- Session -------------------------------------------------------------
    qv::LoanState& State() override { return state_; }
    PlatformPort& Port() override { return *port_; }
    qv::TMemDataSet& Table(TableId id) override;
    void ShowPage(PageId id, QWidget* focusTarget = nullptr) override;
    void ShowPageAsIs(PageId id) override;
    PageId ActivePage() const override;
    void Reset() override;
    void ResetAndShowIntro() override;
    AppSettings& Settings() override { return settings_; }
    ChartDocument& Chart() override { return chart_; }
    PaySchedule& Schedule() override { return schedule_; }
    RegularInputs& Regular() override { return regular_; }

    // Sets the title, resets everything and shows the introduction page.
    void FormCreate();

    Page& PageAt(PageId id) const { return *pages_.at(std::size_t(id)); }
    template <class P>
    P& GetPage() const {
        return static_cast<P&>(PageAt(P::kId));
    }

    // The page-change rule; runs when the user picks a tab in the strip.
    void pconMainChange();

    // --- main menu ---------------------------------------------------------
    void Exit1Click();
    void menClearClick();
    void SaveaPaySchedule1Click();
    void LoadaSavedPaySchedule1Click();
    void AboutQuorvane1Click();
    void Ruleof78sWarning1Click();
    void Uninstalling1Click();
    void FixingSmallScreenProblems1Click();

  signals:
    // A page is being entered; its entry action runs right after.
    void PageEntered(PageId id);

  protected:
    // Watches the whole application for the two inputs the window routes
    // itself: a click that enters a page, and Ctrl+Tab / Ctrl+Shift+Tab.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildPages();
    // What follows the settings beyond the pages: the loan's rounding and
    // the chart's caption.
    void FollowSettings();
    void BuildMenu();
    // An Alt+letter for every control of every page, none of the menus'.
    void GiveMnemonics();
    QAction* AddItem(QMenu* menu, const QString& caption, void (TforMain::*handler)());
    QAction* AddPageItem(QMenu* menu, const QString& caption, PageId target);
    void StripChanged(int stripIndex);
    void SwitchTo(PageId id);
    void StepTab(int step);
    void FocusChanged(QWidget* old, QWidget* now);
    Page* PageContaining(QWidget* widget) const;
    static void FocusFirstControl(Page& page);
    void EnterPage(Page& page);
    bool EnterPageByClick(const QMouseEvent& press);
    bool StepTabByKey(QEvent* event);
    // Start size: wide and tall enough for every working page, within the
    // screen's available area, centred on it.
    void FitToPages();
    // Once the window manager has framed the window, the frame is known: a
    // window taller or wider with it than the screen is made to fit.
    void KeepFrameOnScreen();

    qv::LoanState state_;
    qv::TMemDataSet mdsPaySet_{"mdsPaySet"};
    qv::TMemDataSet mdsDetail_{"mdsDetail"};
    qv::TMemDataSet mdsVariable_{"mdsVariable"};
    qv::TMemDataSet mdsVarSchedule_{"mdsVarSchedule"};
    std::unique_ptr<PlatformPort> port_;
    AppSettings settings_;
    ChartDocument chart_;
    PaySchedule schedule_;
    RegularInputs regular_;

    QWidget* pconMain_ = nullptr;
    QTabBar* strip_ = nullptr;
    std::array<Page*, kPageCount> pages_{};
    std::array<QWidget*, kPageCount> frames_{};  // each page's scroll area
    PageId active_ = PageId::tabAbout;
    // The page the focus last entered; focus arriving in another page from
    // outside it runs that page's entry action.
    QPointer<Page> enteredPage_;
    bool showingPage_ = false;  // the program, not the user, is moving the strip
    bool entering_ = false;     // a page's entry action is running
    bool frameFitted_ = false;  // the framed window has been kept on the screen
    Qt::MouseButton releaseToSwallow_ = Qt::NoButton;
};
