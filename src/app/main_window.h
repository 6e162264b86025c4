#pragma once
// TforMain: the one main window. It owns the loan state, the four record
// tables, the fifteen pages and the platform port for the whole run, and
// routes what crosses pages: showing a page, Reset, the menus.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "app/pages/page.h"
#include "app/platform_port.h"
#include "core/apr_engine.h"
#include "core/loan_state.h"
#include "data/memdset.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QTabBar;

namespace qv {
struct ComputedSchedule;
}

class TforMain : public QMainWindow {
    Q_OBJECT
  public:
    // The window title: product, version, maker's notice and release date.
    static const QString kTitle;

    // With no port given the window shows real dialogs (QtPlatformPort).
    explicit TforMain(std::unique_ptr<PlatformPort> port = nullptr, QWidget* parent = nullptr);
    ~TforMain() override;

    qv::LoanState& State() { return state_; }
    PlatformPort& Port() { return *port_; }
    qv::TMemDataSet& mdsPaySet() { return mdsPaySet_; }
    qv::TMemDataSet& mdsDetail() { return mdsDetail_; }
    qv::TMemDataSet& mdsVariable() { return mdsVariable_; }
    qv::TMemDataSet& mdsVarSchedule() { return mdsVarSchedule_; }

    // Sets the title, resets everything and shows the introduction page.
    void FormCreate();
    // Every variable, every page's controls and the payment tables back to
    // their start state. The page shown does not change.
    void Reset();

    // Shows a page, with or without a tab in the strip. A page reached from
    // another runs its entry action and gets the input focus (on `focusTarget`
    // when given, else on the control that last had it there, else on its
    // first control).
    void ShowPage(PageId id, QWidget* focusTarget = nullptr);

    // The APR engine's switches as the settings page has them.
    qv::AprSettings AprSettingsNow() const;
    // Runs the APR engine on mdsPaySet and shows its report in the chart box.
    // On failure both pages' APR boxes read "InputError" (the reason has been
    // told); on success the callers write the APR in their own style.
    qv::AprOutcome RunGetAPR();
    // The schedule and amounts of the last successful RunGetAPR since Reset,
    // which the chart page charts; nullptr when there is none.
    const qv::ComputedSchedule* LastComputed() const { return computed_.get(); }
    PageId ActivePage() const;
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
    void BuildMenu();
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

    qv::LoanState state_;
    qv::TMemDataSet mdsPaySet_{"mdsPaySet"};
    qv::TMemDataSet mdsDetail_{"mdsDetail"};
    qv::TMemDataSet mdsVariable_{"mdsVariable"};
    qv::TMemDataSet mdsVarSchedule_{"mdsVarSchedule"};
    std::unique_ptr<PlatformPort> port_;

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
    Qt::MouseButton releaseToSwallow_ = Qt::NoButton;
    std::unique_ptr<qv::ComputedSchedule> computed_;
};
