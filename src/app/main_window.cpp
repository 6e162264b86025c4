#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/pages/about_page.h"
#include "app/pages/chart_page.h"
#include "app/pages/editor_page.h"
#include "app/pages/figure_page.h"
#include "app/pages/help_pages.h"
#include "app/pages/irregular_page.h"
#include "app/pages/one_pay_page.h"
#include "app/pages/regular_page.h"
#include "app/pages/settings_page.h"
#include "app/pages/split_page.h"
#include "app/pages/vary_page.h"
#include "app/qt_platform_port.h"
#include "app/shell_texts.h"
#include "varrate/var_group.h"

namespace {

// The pages that have a tab, in strip order. One more, hidden tab stands for
// "no tab": it is current while a page without a tab is shown, so that no
// visible tab is highlighted.
constexpr std::array<PageId, 7> kStripPages{
    PageId::tabAbout, PageId::TabSimple, PageId::tabEstimate, PageId::tabChart,
    PageId::tabEdit,  PageId::tabSplit,  PageId::tabVary};
constexpr int kNoTab = int(kStripPages.size());

int StripIndexOf(PageId id) {
    for (std::size_t i = 0; i < kStripPages.size(); ++i) {
        if (kStripPages[i] == id) return int(i);
    }
    return kNoTab;
}

// Seven captions must fit the designed width in the usual desktop fonts:
// the strip keeps the platform's look with half its padding around captions.
class TabStripStyle : public QProxyStyle {
  public:
    explicit TabStripStyle(QObject* owner) : QProxyStyle() { setParent(owner); }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? base / 2 : base;
    }
};

// The client area the window was designed for.
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 434;

// Menu items are named after their caption without its punctuation, with a
// trailing 1 ("E&xit" is Exit1).
QString ItemName(const QString& caption) {
    QString name;
    for (QChar c : caption) {
        if (c.isLetterOrNumber()) name += c;
    }
    return name + QLatin1Char('1');
}

}  // namespace

const QString TforMain::kTitle = QStringLiteral(
    "Quorvane (version 0.9992)  Made by the Quorvane developers, free to use and share  "
    "12-25-2002");

TforMain::TforMain(std::unique_ptr<PlatformPort> port, QWidget* parent)
    : QMainWindow(parent), port_(std::move(port)) {
    setObjectName(QStringLiteral("forMain"));
    // The resources live in the app library; a static library needs them
    // registered by hand.
    Q_INIT_RESOURCE(resources);
    setWindowIcon(QIcon(QStringLiteral(":/quorvane.svg")));
    if (!port_) port_ = std::make_unique<QtPlatformPort>(this);

    qv::DefinePaySetTable(mdsPaySet_);
    qv::DefineDetailTable(mdsDetail_);
    qv::DefineVariableTable(mdsVariable_);
    qv::DefineVarScheduleTable(mdsVarSchedule_);

    BuildPages();
    BuildMenu();
    connect(qApp, &QApplication::focusChanged, this, &TforMain::FocusChanged);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    FormCreate();
}

TforMain::~TforMain() {
    disconnect(qApp, &QApplication::focusChanged, this, &TforMain::FocusChanged);
    // The pages, and the grids on them, go while the tables and the port they
    // use are still alive.
    delete takeCentralWidget();
}

void TforMain::BuildPages() {
    pconMain_ = new QWidget(this);
    pconMain_->setObjectName(QStringLiteral("pconMain"));
    auto* layout = new QVBoxLayout(pconMain_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    strip_ = new QTabBar(pconMain_);
    strip_->setObjectName(QStringLiteral("pconMainTabs"));
    strip_->setExpanding(false);
    strip_->setUsesScrollButtons(true);
    strip_->setStyle(new TabStripStyle(this));
    // A click on a tab takes the focus to the strip, out of the page's box, so
    // that the box's exit handler runs and the next page is entered only when
    // the user starts working in it.
    strip_->setFocusPolicy(Qt::StrongFocus);
    for (PageId id : kStripPages) strip_->addTab(PageCaption(id));
    strip_->addTab(QString());
    strip_->setTabVisible(kNoTab, false);
    strip_->setTabEnabled(kNoTab, false);
    layout->addWidget(strip_);

    // All fifteen pages share one place; only the active one is shown.
    auto* area = new QWidget(pconMain_);
    area->setObjectName(QStringLiteral("pconMainPages"));
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area, 1);

    const std::array<Page*, kPageCount> made{
        new AboutPage(*this),     new TolerancePage(*this), new RegularPage(*this),
        new IrregularPage(*this), new ChartPage(*this),     new EditorPage(*this),
        new SplitPage(*this),     new UsersPage(*this),     new SettingsPage(*this),
        new FigurePage(*this),    new VaryPage(*this),      new UsingChartPage(*this),
        new UsingVaryPage(*this), new OnePayPage(*this),    new PerDiemPage(*this),
    };
    for (std::size_t i = 0; i < made.size(); ++i) {
        Page* page = made[i];
        Q_ASSERT(std::size_t(page->Id()) == i);
        pages_[i] = page;
        // Each page scrolls on its own when the window is made smaller than
        // the page's content.
        auto* scroll = new QScrollArea(area);
        scroll->setObjectName(page->objectName() + QStringLiteral("Scroll"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->setWidget(page);
        scroll->setVisible(page->Id() == active_);
        stack->addWidget(scroll, 0, 0);
        frames_[i] = scroll;
    }

    connect(strip_, &QTabBar::currentChanged, this, &TforMain::StripChanged);
    setCentralWidget(pconMain_);

    // The strip can be stepped from anywhere in the window, as a user's pick.
    auto shortcut = [this](const QKeySequence& keys, int step) {
        auto* sc = new QShortcut(keys, this);
        sc->setContext(Qt::WindowShortcut);
        connect(sc, &QShortcut::activated, this, [this, step] { StepTab(step); });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

QAction* TforMain::AddItem(QMenu* menu, const QString& caption, void (TforMain::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(ItemName(caption));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

QAction* TforMain::AddPageItem(QMenu* menu, const QString& caption, PageId target) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(ItemName(caption));
    connect(action, &QAction::triggered, this, [this, target] { ShowPage(target); });
    return action;
}

void TforMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    AddItem(file, QStringLiteral("E&xit"), &TforMain::Exit1Click);
    AddItem(file, QStringLiteral("Reset && &Clear"), &TforMain::menClearClick)
        ->setObjectName(QStringLiteral("menClear"));
    AddItem(file, QStringLiteral("&Save a Pay.Schedule"), &TforMain::SaveaPaySchedule1Click);
    AddItem(file, QStringLiteral("&Load a Saved Pay.Schedule"),
            &TforMain::LoadaSavedPaySchedule1Click);
    AddPageItem(file, QStringLiteral("&Edit a Pay.Schedule"), PageId::tabEdit);
    AddPageItem(file, QStringLiteral("&Figure Out a Schedule at known Rate"), PageId::tabMax);
    AddPageItem(file, QStringLiteral("Compute APR from &Regular Schedule"), PageId::TabSimple);
    AddPageItem(file, QStringLiteral("Compute APR from &Irregular Schedule"), PageId::tabEstimate);
    AddPageItem(file, QStringLiteral("Get APR for &One Payment Loan"), PageId::tabOnePay);
    AddPageItem(file, QStringLiteral("&Work with Spit Rate Debt"), PageId::tabSplit);
    AddPageItem(file, QStringLiteral("Analyze a &Variable Rate Schedule"), PageId::tabVary);

    QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
    settings->setObjectName(QStringLiteral("Settings1"));
    AddPageItem(settings, QStringLiteral("Change Balloon &Hints"), PageId::tabSettings);
    AddPageItem(settings, QStringLiteral("Change &Rounding"), PageId::tabSettings);
    AddPageItem(settings, QStringLiteral("Change Rebate &Inclusion"), PageId::tabSettings);
    AddPageItem(settings, QStringLiteral("Change Other Settings"), PageId::tabSettings);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    AddItem(help, QStringLiteral("&About Quorvane"), &TforMain::AboutQuorvane1Click);
    AddPageItem(help, QStringLiteral("Copyright && L&icense"), PageId::TabUsers);
    AddPageItem(help, QStringLiteral("About &Tolerances"), PageId::tabIntro);
    AddItem(help, QStringLiteral("Rule of 78s &Warning"), &TforMain::Ruleof78sWarning1Click);
    AddItem(help, QStringLiteral("&Uninstalling"), &TforMain::Uninstalling1Click);
    AddPageItem(help, QStringLiteral("Using Amortization &Chart (Tab 5)"), PageId::tabUsingChart);
    AddPageItem(help, QStringLiteral("Using &Variable Rate (Tab 7)"), PageId::TabUsingVary);
    AddPageItem(help, QStringLiteral("About &One Repayment Loans"), PageId::tabPerDiem);
    AddPageItem(help, QStringLiteral("Show &Introduction && Tab List"), PageId::tabAbout);
    AddItem(help, QStringLiteral("&Fixing Small Screen Problems"),
            &TforMain::FixingSmallScreenProblems1Click);
}

void TforMain::FormCreate() {
    setWindowTitle(kTitle);
    Reset();
    ShowPage(PageId::tabAbout);
}

void TforMain::Reset() {
    qv::ResetLoanState(state_);
    for (Page* page : pages_) page->ResetControls();
    qv::EmptyTable(mdsPaySet_);
    qv::EmptyTable(mdsDetail_);
}

PageId TforMain::ActivePage() const {
    return active_;
}

void TforMain::SwitchTo(PageId id) {
    if (id == active_) return;
    QWidget* from = frames_.at(std::size_t(active_));
    QWidget* to = frames_.at(std::size_t(id));
    QWidget* focus = focusWidget();
    const bool focusOnOldPage = focus != nullptr && from->isAncestorOf(focus);
    active_ = id;
    to->show();
    // The focus follows only from the page being left; focus on the tab
    // strip stays there until the user starts working in the page.
    if (focusOnOldPage) FocusFirstControl(PageAt(id));
    from->hide();
}

void TforMain::ShowPage(PageId id, QWidget* focusTarget) {
    Page& page = PageAt(id);
    showingPage_ = true;
    strip_->setCurrentIndex(StripIndexOf(id));
    showingPage_ = false;
    // Leaving a page that holds the focus takes the focus into the new page,
    // which enters it (see FocusChanged).
    SwitchTo(id);
    if (ActivePage() != id) return;  // the page's entry action moved on
    if (focusTarget != nullptr) {
        focusTarget->setFocus(Qt::OtherFocusReason);
    } else if (enteredPage_ != &page) {
        FocusFirstControl(page);
    }
    // While the window is inactive no focus events arrive; the page is
    // entered all the same.
    if (enteredPage_ != &page && ActivePage() == id) EnterPage(page);
}

void TforMain::FocusFirstControl(Page& page) {
    if (QWidget* last = page.focusWidget();
        last != nullptr && last->isVisible() && last->isEnabled()) {
        last->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (QWidget* w = page.nextInFocusChain(); w != &page; w = w->nextInFocusChain()) {
        if (page.isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            w->isVisibleTo(&page) && w->isEnabled() && w->focusProxy() == nullptr) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    page.setFocus(Qt::OtherFocusReason);
}

Page* TforMain::PageContaining(QWidget* widget) const {
    for (Page* page : pages_) {
        if (widget == page || page->isAncestorOf(widget)) return page;
    }
    return nullptr;
}

void TforMain::FocusChanged(QWidget* /*old*/, QWidget* now) {
    // Focus going to a message box, a dialog or nowhere is not a move within
    // the window; when it comes back to the same page, that page is not
    // entered again.
    if (now == nullptr || now->window() != this) return;
    Page* page = PageContaining(now);
    if (page == nullptr) {
        enteredPage_ = nullptr;  // the strip has it: the next page is entered afresh
        return;
    }
    if (page != enteredPage_) EnterPage(*page);
}

void TforMain::EnterPage(Page& page) {
    enteredPage_ = &page;
    emit PageEntered(page.Id());
    page.Enter();
}

void TforMain::StripChanged(int stripIndex) {
    if (showingPage_ || stripIndex < 0 || stripIndex >= kNoTab) return;
    SwitchTo(kStripPages[std::size_t(stripIndex)]);
    pconMainChange();
}

void TforMain::StepTab(int step) {
    int index = strip_->currentIndex();
    if (index == kNoTab) index = step > 0 ? -1 : kNoTab;
    index = (index + step + kNoTab) % kNoTab;
    strip_->setCurrentIndex(index);
}

void TforMain::pconMainChange() {
    if (ActivePage() != PageId::TabSimple || !state_.IrregularLoaded) return;
    port_->Inform(shell_text::kIrregularRedirect);
    state_.IrregularLoaded = false;
    state_.ScheduleSource = qv::kSourceIrregular;
    auto& irregular = GetPage<IrregularPage>();
    ShowPage(PageId::tabEstimate, irregular.TotalOfPaymentsBox());
}

void TforMain::Exit1Click() {
    if (port_->Confirm(shell_text::kExitQuestion)) close();
}

void TforMain::menClearClick() {
    Reset();
    ShowPage(PageId::tabAbout);
}

void TforMain::SaveaPaySchedule1Click() {
    ShowPage(PageId::tabEdit);
    GetPage<EditorPage>().butSaveClick();
}

void TforMain::LoadaSavedPaySchedule1Click() {
    ShowPage(PageId::tabEdit);
    GetPage<EditorPage>().butLoadClick();
}

void TforMain::AboutQuorvane1Click() {
    port_->Inform(shell_text::kAboutQuorvane);
    ShowPage(PageId::TabUsers);
}

void TforMain::Ruleof78sWarning1Click() {
    port_->Inform(shell_text::kRuleOf78sWarning);
    ShowPage(PageId::tabIntro);
}

void TforMain::Uninstalling1Click() {
    port_->Inform(shell_text::kUninstalling);
}

void TforMain::FixingSmallScreenProblems1Click() {
    port_->Inform(shell_text::kSmallScreen);
}

qv::AprSettings TforMain::AprSettingsNow() const {
    const auto& settings = GetPage<SettingsPage>();
    qv::AprSettings aprSettings;
    aprSettings.TenPass = settings.TenPass();
    aprSettings.Log = settings.LogSteps();
    return aprSettings;
}

qv::AprOutcome TforMain::RunGetAPR() {
    // A failed run leaves the chart box as it was; a successful one replaces it.
    qv::ChartText lines;
    const qv::AprOutcome outcome = qv::GetAPR(state_, mdsPaySet_, AprSettingsNow(), lines, *port_);
    if (outcome == qv::AprOutcome::Computed) {
        GetPage<ChartPage>().SetChartLines(lines);
    } else {
        for (const char* box : {"edSimpAPR", "edAPR"}) {
            if (auto* edit = findChild<QLineEdit*>(QString::fromLatin1(box))) {
                edit->setText(QStringLiteral("InputError"));
            }
        }
    }
    return outcome;
}
