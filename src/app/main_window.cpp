#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/page_list.h"
#include "app/pages/settings_page.h"
#include "app/qt_platform_port.h"
#include "app/qt_text.h"
#include "app/shell_texts.h"
#include "core/rounding_setting.h"
#include "varrate/var_group.h"

namespace {

// The pages that have a tab, in strip order. One more, hidden tab stands for
// "no tab": it is current while a page without a tab is shown, so that no
// visible tab is highlighted.
std::vector<PageId> StripPages() {
    std::vector<PageId> pages;
    for (const PageEntry& entry : PageList()) {
        if (entry.tab) pages.push_back(entry.id);
    }
    return pages;
}
const std::vector<PageId> kStripPages = StripPages();
const int kNoTab = int(kStripPages.size());

int StripIndexOf(PageId id) {
    for (std::size_t i = 0; i < kStripPages.size(); ++i) {
        if (kStripPages[i] == id) return int(i);
    }
    return kNoTab;
}

// Seven captions must fit the designed width in the usual desktop fonts:
// the strip keeps the platform's look with half its padding around captions.
// The current tab shows the focus as plainly as the page's controls do.
class TabStripStyle : public QProxyStyle {
  public:
    explicit TabStripStyle(QObject* owner) : QProxyStyle() { setParent(owner); }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element != CE_TabBarTab || !(option->state & State_HasFocus)) return;
        painter->save();
        painter->setPen(QPen(FocusColour(option->palette), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option->rect).adjusted(2, 2, -2, -1));
        painter->restore();
    }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? base / 2 : base;
    }
};

// The client area the window was designed for; it grows from there to fit
// the pages in the fonts of the system it runs on.
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 434;

// The widget a click on `hit` gives the focus to, as the toolkit chooses it:
// the nearest enabled widget, from `hit` outwards, that takes focus by click.
QWidget* ClickFocusTaker(QWidget* hit) {
    for (QWidget* w = hit; w != nullptr; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) return w;
        if (w->isWindow()) break;
    }
    return nullptr;
}

// +1 for Ctrl+Tab, -1 for Ctrl+Shift+Tab (which platforms report as Tab or
// as Backtab with Shift), 0 for any other key.
int TabStep(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers();
    if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier)) return 0;
    if (key.key() == Qt::Key_Backtab) return -1;
    if (key.key() == Qt::Key_Tab) return (mods & Qt::ShiftModifier) ? -1 : 1;
    return 0;
}

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

const QString TforMain::kTitle = QString::fromUtf8(shell_text::kWindowTitle);

TforMain::TforMain(std::unique_ptr<PlatformPort> port, QWidget* parent)
    : QMainWindow(parent),
      // With no port given the window shows real dialogs.
      port_(port ? std::move(port) : std::make_unique<QtPlatformPort>(this)),
      schedule_(state_, mdsPaySet_, settings_, chart_, *port_) {
    setObjectName(QStringLiteral("forMain"));
    // The resources live in the app library; a static library needs them
    // registered by hand.
    Q_INIT_RESOURCE(resources);
    setWindowIcon(QIcon(QStringLiteral(":/quorvane.svg")));

    qv::DefinePaySetTable(mdsPaySet_);
    qv::DefineDetailTable(mdsDetail_);
    qv::DefineVariableTable(mdsVariable_);
    qv::DefineVarScheduleTable(mdsVarSchedule_);

    FollowSettings();
    BuildPages();
    BuildMenu();
    GiveMnemonics();
    new FocusRing(this);
    connect(qApp, &QApplication::focusChanged, this, &TforMain::FocusChanged);
    qApp->installEventFilter(this);

    FormCreate();
    FitToPages();
}

TforMain::~TforMain() {
    qApp->removeEventFilter(this);
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
    // Before any tab is added: a screen reader's view of the strip is made
    // once, at its first event.
    ShowOnlyVisibleTabs(strip_);
    strip_->setAccessibleName(QStringLiteral("Pages"));
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

    // All the pages share one place; only the active one is shown.
    auto* area = new QWidget(pconMain_);
    area->setObjectName(QStringLiteral("pconMainPages"));
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area, 1);

    for (const PageEntry& entry : PageList()) {
        Page* page = entry.make(*this);
        const std::size_t i = std::size_t(entry.id);
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
    // Ctrl+Tab and Ctrl+Shift+Tab are read in eventFilter: platforms report
    // the second in more than one way, and the boxes would take the first.
    auto shortcut = [this](const QKeySequence& keys, int step) {
        auto* sc = new QShortcut(keys, this);
        sc->setContext(Qt::WindowShortcut);
        connect(sc, &QShortcut::activated, this, [this, step] { StepTab(step); });
    };
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
    AddPageItem(file, QStringLiteral("Loan by its &Dates, Check a Disclosure"), PageId::tabDated);
    AddPageItem(file, QStringLiteral("&Work with Spit Rate Debt"), PageId::tabSplit);
    AddPageItem(file, QStringLiteral("Analyze a &Variable Rate Schedule"), PageId::tabVary);

    QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
    settings->setObjectName(QStringLiteral("Settings1"));
    // An item naming one setting lands on the box that changes it.
    const auto settingItem = [&](const QString& caption, Setting setting) {
        QAction* item = AddPageItem(settings, caption, PageId::tabSettings);
        connect(item, &QAction::triggered, this,
                [this, setting] { GetPage<SettingsPage>().FocusSetting(setting); });
    };
    settingItem(QStringLiteral("Change Balloon &Hints"), Setting::RegularHints);
    settingItem(QStringLiteral("Change &Rounding"), Setting::RoundDown);
    settingItem(QStringLiteral("Change Rebate &Inclusion"), Setting::ShowRebates);
    AddPageItem(settings, QStringLiteral("Change &Other Settings"), PageId::tabSettings);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    AddItem(help, QStringLiteral("&About Quorvane"), &TforMain::AboutQuorvane1Click);
    AddPageItem(help, QStringLiteral("Copyright && &License"), PageId::TabUsers);
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

void TforMain::GiveMnemonics() {
    // The menu bar's letters work on every page, so no control takes them.
    QString menuLetters;
    for (QAction* menu : menuBar()->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(menu->text());
        if (!key.isEmpty()) menuLetters += QChar(int(key[0].key()));
    }
    for (Page* page : pages_) AssignMnemonics(page, menuLetters);
}

void TforMain::FormCreate() {
    setWindowTitle(kTitle);
    Reset();
    ShowPage(PageId::tabAbout);
}

void TforMain::Reset() {
    qv::ResetLoanState(state_);
    for (Page* page : pages_) {
        page->ResetControls();
        page->StartOverAtFirstBox();
    }
    chart_.Reset();
    settings_.Reset();
    schedule_.Reset();
    qv::EmptyTable(mdsPaySet_);
    qv::EmptyTable(mdsDetail_);
}

qv::TMemDataSet& TforMain::Table(TableId id) {
    switch (id) {
        case TableId::mdsDetail:
            return mdsDetail_;
        case TableId::mdsVariable:
            return mdsVariable_;
        case TableId::mdsVarSchedule:
            return mdsVarSchedule_;
    }
    return mdsDetail_;
}

void TforMain::FollowSettings() {
    connect(&settings_, &AppSettings::Changed, this, [this](Setting setting, bool on) {
        if (setting != Setting::RoundDown) return;
        const qv::RoundingSetting rounding = qv::RoundingFor(on);
        state_.loan.RoundAdd = rounding.RoundAdd;
        chart_.SetCaption(rounding.chartNote);
    });
}

void TforMain::FitToPages() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
        return;
    }
    const QRect available = screen->availableGeometry();
    // The window manager's frame is not known before the window is shown.
    const int frameHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    const int chrome = menuBar()->sizeHint().height() + strip_->sizeHint().height();
    const int maxWidth = std::max(kClientWidth, available.width() - 16);
    const int maxHeight = std::max(kClientHeight, available.height() - frameHeight);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    auto tallest = [&](int width) {
        int height = 0;
        for (const PageEntry& entry : PageList()) {
            if (!entry.working) continue;
            const int inner = width - scrollBar;
            height = std::max(height, PageAt(entry.id).PreferredHeightForWidth(inner));
        }
        return height + chrome;
    };
    // As wide as the pages would like; wider pages wrap less and so are
    // shorter, so widen further until they fit the screen's height or use up
    // its width.
    int width = kClientWidth;
    for (const PageEntry& entry : PageList()) {
        if (entry.working) width = std::max(width, PageAt(entry.id).sizeHint().width());
    }
    width = std::min(width, maxWidth);
    int height = tallest(width);
    while (height > maxHeight && width < maxWidth) {
        width = std::min(maxWidth, width + 32);
        height = tallest(width);
    }
    resize(width, std::clamp(height, kClientHeight, maxHeight));
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    move(frame.topLeft());
}

void TforMain::KeepFrameOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr || windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const QRect available = screen->availableGeometry();
    const QRect frame = frameGeometry();
    if (available.contains(frame)) return;
    const QSize border = frame.size() - size();
    resize(std::min(width(), available.width() - border.width()),
           std::min(height(), available.height() - border.height()));
    QRect placed(QPoint(), size() + border);
    placed.moveCenter(available.center());
    move(placed.topLeft());
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
    // On a page without a tab the strip shows nothing current: a Tab stop
    // there would take the focus somewhere no one can see.
    strip_->setFocusPolicy(PageHasTab(id) ? Qt::StrongFocus : Qt::ClickFocus);
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
        FocusForTyping(focusTarget);
    } else if (enteredPage_ != &page) {
        FocusFirstControl(page);
    }
    // While the window is inactive no focus events arrive; the page is
    // entered all the same.
    if (enteredPage_ != &page && ActivePage() == id) EnterPage(page);
}

void TforMain::ShowPageAsIs(PageId id) {
    // A page counts as entered once its entry action has run; marked so, it
    // is shown and given the focus as any page is, and entered afresh only
    // when the focus next arrives from outside it.
    enteredPage_ = &PageAt(id);
    ShowPage(id);
}

void TforMain::FocusFirstControl(Page& page) {
    // A page is come back to where the user was in it, unless everything
    // has been reset since: then at its first box.
    const bool startOver = page.TakeStartOver();
    if (QWidget* last = page.focusWidget();
        !startOver && last != nullptr && last->isVisible() && last->isEnabled()) {
        FocusForTyping(last);
        return;
    }
    for (QWidget* w = page.nextInFocusChain(); w != &page; w = w->nextInFocusChain()) {
        if (page.isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            w->isVisibleTo(&page) && w->isEnabled() && w->focusProxy() == nullptr) {
            FocusForTyping(w);
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
    // entered again. Nor is anything the focus does while an entry action
    // runs: its messages and the disabling of the window move it, not the user.
    if (entering_ || now == nullptr || now->window() != this) return;
    Page* page = PageContaining(now);
    if (page == nullptr) {
        // The strip has it: the next page is entered afresh. The menu bar
        // only passes the focus on to a menu and back; it leaves no page.
        if (now == strip_) enteredPage_ = nullptr;
        return;
    }
    if (page == enteredPage_) return;
    QPointer<QWidget> arriving = now;
    EnterPage(*page);
    // The focus ends where it was going, so that the user's next click or key
    // works in the page instead of entering it again. The window may still
    // be inactive after a message; it then gives the focus back there.
    if (arriving && ActivePage() == page->Id() && arriving->isVisible() && arriving->isEnabled()) {
        QWidget* holder = focusWidget();
        if (holder == nullptr || !page->isAncestorOf(holder))
            arriving->setFocus(Qt::OtherFocusReason);
    }
}

void TforMain::EnterPage(Page& page) {
    enteredPage_ = &page;
    emit PageEntered(page.Id());
    const QScopedValueRollback<bool> entering(entering_, true);
    page.Enter();
}

bool TforMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // The press reaches the window before any widget, and before the
            // toolkit moves the focus for it.
            if (watched == windowHandle() && event->spontaneous()) {
                releaseToSwallow_ = Qt::NoButton;
                return EnterPageByClick(*static_cast<QMouseEvent*>(event));
            }
            break;
        case QEvent::MouseButtonRelease:
            // The release of a click already given whole to a control.
            if (watched == windowHandle() && event->spontaneous() &&
                static_cast<QMouseEvent*>(event)->button() == releaseToSwallow_) {
                releaseToSwallow_ = Qt::NoButton;
                return true;
            }
            break;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            return StepTabByKey(event);
        case QEvent::WindowActivate:
            if (watched == this && !frameFitted_) {
                frameFitted_ = true;
                KeepFrameOnScreen();
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TforMain::StepTabByKey(QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int step = TabStep(*key);
    QWidget* focus = QApplication::focusWidget();
    if (step == 0 || focus == nullptr || focus->window() != this) return false;
    // Claiming the key in its override stage keeps it from any shortcut;
    // the press itself steps the strip.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    StepTab(step);
    return true;
}

bool TforMain::EnterPageByClick(const QMouseEvent& press) {
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr)
        return false;
    QWidget* hit = childAt(press.position().toPoint());
    Page* page = hit != nullptr ? PageContaining(hit) : nullptr;
    if (page == nullptr || page == enteredPage_ || page->Id() != ActivePage()) return false;
    QWidget* taker = ClickFocusTaker(hit);
    if (taker == nullptr || !(taker == page || page->isAncestorOf(taker))) return false;

    // The click enters the page first: its entry action runs, messages and
    // all, and the focus ends on the control clicked. Only then does that
    // control get the click, as if the click had simply moved the focus in.
    QPointer<QWidget> target = hit;
    taker->setFocus(Qt::MouseFocusReason);
    if (!target || !target->isVisible() || !target->isEnabled() || ActivePage() != page->Id() ||
        !isEnabled()) {
        return true;  // the entry action moved on; the click is spent
    }
    // The whole click goes to the control now. The user's own release, if it
    // is still to come (no message took it), then has nothing left to do.
    const QPointF local = target->mapFrom(this, press.position());
    QMouseEvent down(QEvent::MouseButtonPress, local, press.scenePosition(), press.globalPosition(),
                     press.button(), press.buttons(), press.modifiers(), press.pointingDevice());
    QCoreApplication::sendEvent(target, &down);
    if (!target) return true;
    QMouseEvent up(QEvent::MouseButtonRelease, local, press.scenePosition(), press.globalPosition(),
                   press.button(), press.buttons() & ~press.button(), press.modifiers(),
                   press.pointingDevice());
    QCoreApplication::sendEvent(target, &up);
    if (QGuiApplication::mouseButtons() & press.button()) releaseToSwallow_ = press.button();
    return true;
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
    if (ActivePage() != PageId::TabSimple || !state_.loan.IrregularLoaded) return;
    port_->Inform(shell_text::kIrregularRedirect);
    state_.loan.IrregularLoaded = false;
    state_.loan.ScheduleSource = qv::kSourceIrregular;
    schedule_.RedirectLoaded();
}

void TforMain::Exit1Click() {
    if (port_->Confirm(shell_text::kExitQuestion)) close();
}

void TforMain::menClearClick() {
    ResetAndShowIntro();
}

void TforMain::ResetAndShowIntro() {
    Reset();
    ShowPage(PageId::tabAbout);
}

void TforMain::SaveaPaySchedule1Click() {
    ShowPage(PageId::tabEdit);
    schedule_.Save();
}

void TforMain::LoadaSavedPaySchedule1Click() {
    ShowPage(PageId::tabEdit);
    schedule_.Load();
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
