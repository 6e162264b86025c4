#include "app/accessible.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QStyleOptionButton>
#include <QTabBar>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr const char* kMnemonic = "qvMnemonic";
constexpr const char* kOwnDescription = "qvOwnDescription";

bool IsWordStart(const QString& text, qsizetype at) {
    return at == 0 || !text.at(at - 1).isLetterOrNumber();
}

// Where the underline of `letter` goes in a caption that follows the
// toolkit's ampersand rule: the first word that starts with it, else its
// first occurrence; -1 when the caption does not hold it.
qsizetype MnemonicPosition(const QString& caption, QChar letter) {
    qsizetype any = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            ++i;  // "&&" shows one ampersand and underlines nothing
            continue;
        }
        if (caption.at(i).toUpper() != letter) continue;
        if (IsWordStart(caption, i)) return i;
        if (any < 0) any = i;
    }
    return any;
}

QString Underlined(const QString& caption, QChar letter) {
    const qsizetype at = MnemonicPosition(caption, letter);
    if (at < 0) return caption;
    QString marked = caption;
    marked.insert(at, QLatin1Char('&'));
    return marked;
}

// The letter a caption offers first that no other control has: the first
// letters of its words, then any letter or digit in it.
QChar FreeLetter(const QString& caption, const QString& taken) {
    for (bool wordStartsOnly : {true, false}) {
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption.at(i) == QLatin1Char('&')) {
                ++i;
                continue;
            }
            const QChar c = caption.at(i).toUpper();
            if (c.unicode() > 0x7F || !c.isLetterOrNumber() || taken.contains(c)) continue;
            if (!wordStartsOnly || IsWordStart(caption, i)) return c;
        }
    }
    return {};
}

QKeySequence AltKey(QChar letter) {
    return QKeySequence(QStringLiteral("Alt+") + letter);
}

// An Alt+letter takes the focus to its button first, as a click does: the
// box the user leaves runs its exit check, and when that check refuses the
// box (and keeps the focus there) the button is not pressed.
class FocusBeforePress : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (button == nullptr || static_cast<QShortcutEvent*>(event)->isAmbiguous()) return false;
        QPointer<QAbstractButton> guarded(button);
        button->setFocus(Qt::ShortcutFocusReason);
        if (!guarded || !guarded->isVisible() || !guarded->isEnabled()) return true;
        return !guarded->hasFocus();
    }
};

// Labels are plain text shown as written; tied to a box, an ampersand marks
// the Alt+letter, so the ampersands the text shows are doubled.
QString LabelWithMnemonic(const QString& shown, QChar letter) {
    QString escaped = shown;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return Underlined(escaped, letter);
}

class UnderliningStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        // Alt pressed and released alone would take the focus to the menu bar;
        // with this toolkit an Alt+letter that presses a button or moves to a
        // box counts as such a press, and left the focus in the menu bar
        // instead of on the control (where the result is spoken). Alt+F, S
        // and H still open the menus.
        if (hint == SH_MenuBar_AltKeyNavigation) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const QChar letter = button != nullptr ? MnemonicOf(button) : QChar();
        const bool label = element == CE_PushButtonLabel || element == CE_CheckBoxLabel ||
                           element == CE_RadioButtonLabel;
        if (label && !letter.isNull()) {
            if (const auto* buttonOption = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                QStyleOptionButton marked(*buttonOption);
                marked.text = Underlined(marked.text, letter);
                QProxyStyle::drawControl(element, &marked, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

// The shade of `wanted` nearest to it that reads at `ratio` on `background`:
// darkened on a light background, lightened on a dark one.
QColor LegibleOn(const QColor& wanted, const QColor& background, double ratio) {
    const QColor towards = Luminance(background) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    QColor shade = wanted;
    for (int step = 1; ContrastRatio(shade, background) < ratio && step <= 20; ++step) {
        const double t = step / 20.0;
        shade.setRgbF(float(wanted.redF() + (towards.redF() - wanted.redF()) * t),
                      float(wanted.greenF() + (towards.greenF() - wanted.greenF()) * t),
                      float(wanted.blueF() + (towards.blueF() - wanted.blueF()) * t));
    }
    return shade;
}

constexpr const char* kPageStrip = "qvPageStrip";

// One tab of the page strip as a screen reader sees it: its caption, whether
// it is the current one, and whether it shows at all.
class StripTab : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    StripTab(QTabBar* strip, int index) : strip_(strip), index_(index) {}

    bool isValid() const override { return strip_ && index_ < strip_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return strip_ ? strip_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return strip_ ? QAccessible::queryAccessibleInterface(strip_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return QString(strip_->tabText(index_)).remove(u'&');
        if (t == QAccessible::Description) return strip_->tabToolTip(index_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid() || !strip_->isTabVisible(index_)) return {};
        const QRect r = strip_->tabRect(index_);
        return QRect(strip_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        s.selected = index_ == strip_->currentIndex();
        s.focused = s.selected && strip_->hasFocus();
        s.invisible = !strip_->isVisible() || !strip_->isTabVisible(index_);
        s.disabled = !strip_->isTabEnabled(index_);
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && strip_->isTabEnabled(index_))
            strip_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QTabBar> strip_;
    int index_;
};

// The page strip shows a screen reader only the tabs a sighted user sees:
// the hidden tab that is current while a page without a tab shows would be
// read as a blank, selectable tab.
class StripAccessible : public QAccessibleWidget {
  public:
    explicit StripAccessible(QTabBar* strip) : QAccessibleWidget(strip, QAccessible::PageTabList) {}
    ~StripAccessible() override {
        for (const auto& [index, id] : tabs_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        int shown = 0;
        for (int i = 0; i < Strip()->count(); ++i) shown += Strip()->isTabVisible(i) ? 1 : 0;
        return shown;
    }
    // Visible tabs come first in the strip, so a tab's index is its place
    // among the children; the toolkit's events name tabs by index, the hidden
    // one too, which therefore still has an interface (marked invisible).
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Strip()->count()) return nullptr;
        if (const auto known = tabs_.find(index); known != tabs_.end())
            return QAccessible::accessibleInterface(known->second);
        auto* tab = new StripTab(Strip(), index);
        tabs_[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : tabs_) {
            if (QAccessible::accessibleInterface(id) == child) return index;
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        const int current = Strip()->currentIndex();
        if (!Strip()->hasFocus() || current < 0 || !Strip()->isTabVisible(current)) return nullptr;
        return child(current);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = Strip()->mapFromGlobal(QPoint(x, y));
        const int index = Strip()->tabAt(at);
        return index >= 0 && Strip()->isTabVisible(index) ? child(index) : nullptr;
    }

  private:
    QTabBar* Strip() const { return static_cast<QTabBar*>(widget()); }
    mutable std::map<int, QAccessible::Id> tabs_;
};

QAccessibleInterface* StripFactory(const QString& /*className*/, QObject* object) {
    auto* strip = qobject_cast<QTabBar*>(object);
    if (strip == nullptr || !strip->property(kPageStrip).toBool()) return nullptr;
    return new StripAccessible(strip);
}

}  // namespace

void ShowOnlyVisibleTabs(QTabBar* strip) {
    static const bool installed = [] {
        QAccessible::installFactory(&StripFactory);
        return true;
    }();
    (void)installed;
    strip->setProperty(kPageStrip, true);
}

void TieLabel(QLabel* label, QWidget* control) {
    label->setBuddy(control);
}

void NameControl(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    if (!description.isEmpty()) control->setAccessibleDescription(description);
}

void AnnounceResult(QWidget* shownIn, const QString& spoken) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* carrier = focus != nullptr && focus->window() == shownIn->window() ? focus : shownIn;
    if (!carrier->property(kOwnDescription).isValid()) {
        carrier->setProperty(kOwnDescription, carrier->accessibleDescription());
        // The focus moving on gives the control its own description back;
        // a screen reader no longer follows it by then.
        auto* restore = new QObject(carrier);
        QObject::connect(
            qApp, &QApplication::focusChanged, restore,
            [carrier, restore](QWidget* old, QWidget* /*now*/) {
                if (old != carrier) return;
                carrier->setAccessibleDescription(carrier->property(kOwnDescription).toString());
                carrier->setProperty(kOwnDescription, QVariant());
                restore->deleteLater();
            });
    }
    // The same result twice is news twice (the user pressed the button again),
    // and a screen reader only speaks a description that changed.
    carrier->setAccessibleDescription(QString());
    carrier->setAccessibleDescription(spoken);
}

QChar MnemonicOf(const QAbstractButton* button) {
    const QString letter = button->property(kMnemonic).toString();
    return letter.isEmpty() ? QChar() : letter.at(0);
}

void AssignMnemonics(QWidget* page, const QString& taken) {
    QString used = taken.toUpper();
    // Buttons first, then check boxes and radio items, then the labels of
    // boxes: where letters run short, the commands keep theirs. Within each
    // kind the page's tab order decides.
    std::vector<QWidget*> ordered;
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w)) ordered.push_back(w);
    }
    auto kind = [](QObject* o) {
        if (qobject_cast<QPushButton*>(o)) return 0;
        if (qobject_cast<QAbstractButton*>(o)) return 1;
        return 2;
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](QWidget* a, QWidget* b) { return kind(a) < kind(b); });
    // Labels are not in the focus chain: they follow the boxes they name.
    std::vector<QLabel*> labels;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) labels.push_back(label);
    }
    std::stable_sort(labels.begin(), labels.end(), [&](QLabel* a, QLabel* b) {
        auto at = [&](QLabel* l) { return std::find(ordered.begin(), ordered.end(), l->buddy()); };
        return at(a) < at(b);
    });

    auto* focusFirst = new FocusBeforePress(page);
    for (QWidget* w : ordered) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (button == nullptr || !MnemonicOf(button).isNull()) continue;
        const QChar letter = FreeLetter(button->text(), used);
        if (letter.isNull()) continue;
        used += letter;
        button->setProperty(kMnemonic, QString(letter));
        button->setShortcut(AltKey(letter));
        button->installEventFilter(focusFirst);
    }
    for (QLabel* label : labels) {
        const QChar letter = FreeLetter(QString(label->text()).remove(QLatin1Char('&')), used);
        if (letter.isNull()) continue;
        used += letter;
        label->setText(LabelWithMnemonic(label->text(), letter));
    }
}

QStyle* MnemonicStyle() {
    return new UnderliningStyle;
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void SetTextTone(QWidget* control, TextTone tone, bool bold) {
    QPalette palette = control->palette();
    const QColor plain = [tone] {
        switch (tone) {
            case TextTone::Warning:
                return QColor(0xC0, 0x00, 0x00);
            case TextTone::Good:
                return QColor(0x00, 0x80, 0x00);
            case TextTone::Caution:
                return QColor(0xB0, 0x60, 0x00);
            case TextTone::Summary:
                break;
        }
        return QColor(Qt::blue);
    }();
    const QColor background = palette.color(control->backgroundRole());
    const QColor shade = LegibleOn(plain, background, 4.5);
    palette.setColor(control->foregroundRole(), shade);
    palette.setColor(QPalette::Text, shade);
    palette.setColor(QPalette::WindowText, shade);
    control->setPalette(palette);
    if (bold) {
        QFont font = control->font();
        font.setBold(true);
        control->setFont(font);
    }
}

FocusRing::FocusRing(QWidget* window) : QFocusFrame(window), window_(window) {
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* /*old*/, QWidget* now) { Follow(now); });
}

QColor FocusColour(const QPalette& palette) {
    return LegibleOn(palette.color(QPalette::Highlight), palette.color(QPalette::Window), 3.0);
}

void FocusRing::Follow(QWidget* now) {
    // A tab strip spans the window: a ring around it would fall outside the
    // window. It marks its current tab itself.
    const bool ours = now != nullptr && now != window_ && now->window() == window_ &&
                      qobject_cast<QTabBar*>(now) == nullptr;
    setWidget(ours ? now : nullptr);
}

void FocusRing::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QPen(FocusColour(palette()), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
