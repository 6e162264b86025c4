#include "app/focus_exit_filter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWidget>
#include <functional>
#include <memory>

FocusExitFilter::FocusExitFilter(QObject* parent) : QObject(parent) {}

void FocusExitFilter::OnExit(QWidget* control, Handler handler) {
    WatchFor(control).onExit = std::move(handler);
}

void FocusExitFilter::OnEnter(QWidget* control, Handler handler) {
    WatchFor(control).onEnter = std::move(handler);
}

namespace {

QList<QWidget*> WidgetAndDescendants(QWidget* widget) {
    QList<QWidget*> all{widget};
    for (qsizetype i = 0; i < all.size(); ++i) {
        for (QObject* child : all[i]->children()) {
            if (child->isWidgetType()) all.append(static_cast<QWidget*>(child));
        }
    }
    return all;
}

}  // namespace

FocusExitFilter::Watch& FocusExitFilter::WatchFor(QWidget* control) {
    auto found = watches_.find(control);
    if (found != watches_.end()) return found->second;
    Watch& watch = watches_[control];
    watch.control = control;
    // The control and every widget inside it (the buttons of a radio group,
    // the line edit inside a spin box) report to the same watch.
    for (QWidget* member : WidgetAndDescendants(control)) {
        owners_[member] = control;
        member->installEventFilter(this);
        connect(member, &QObject::destroyed, this, [this](QObject* gone) { owners_.erase(gone); });
    }
    connect(control, &QObject::destroyed, this,
            [this](QObject* gone) { watches_.erase(static_cast<QWidget*>(gone)); });
    return watch;
}

FocusExitFilter::Watch* FocusExitFilter::FindWatch(QObject* watched) {
    auto owner = owners_.find(watched);
    if (owner == owners_.end()) return nullptr;
    auto watch = watches_.find(owner->second);
    if (watch == watches_.end() || watch->second.control.isNull()) return nullptr;
    return &watch->second;
}

void FocusExitFilter::Run(Watch& watch, Handler Watch::*which) {
    const Handler& handler = watch.*which;
    if (!handler || watch.running) return;
    // An exit handler that refuses a box puts the focus back into it; the box
    // the user was heading for then loses a focus it had only in passing.
    // That is no exit of its own, so exits are not nested.
    const bool isExit = which == &Watch::onExit;
    if (isExit && exitRunning_) return;
    const QScopedValueRollback<bool> exiting(exitRunning_, exitRunning_ || isExit);
    // The handler may show messages and move the focus; copy it first so that
    // re-registering from inside it cannot pull it away while it runs.
    Handler call = handler;
    QPointer<QWidget> control = watch.control;
    watch.running = true;
    call();
    if (control) {
        auto found = watches_.find(control.data());
        if (found != watches_.end()) found->second.running = false;
    }
}

namespace {

// Runs `action` once `heading` holds the focus: at once when it does, or when
// the window gets the activation back from a message box, which a window
// manager may hand over only after the message box has gone. A handler that
// put the focus elsewhere (a refusal) has its way: nothing runs then.
void WhenFocusArrives(const QPointer<QWidget>& heading, const std::function<void()>& action) {
    if (heading->hasFocus()) {
        QMetaObject::invokeMethod(heading, action, Qt::QueuedConnection);
        return;
    }
    if (heading->window()->isActiveWindow()) return;
    auto once = std::make_shared<QMetaObject::Connection>();
    *once =
        QObject::connect(qApp, &QApplication::focusChanged, heading,
                         [heading, action, once](QWidget* /*old*/, QWidget* now) {
                             if (now == nullptr || now->window() != heading->window()) return;
                             QObject::disconnect(*once);
                             if (now == heading)
                                 QMetaObject::invokeMethod(heading, action, Qt::QueuedConnection);
                         });
}

}  // namespace

void FocusExitFilter::FinishMoveAfterMessage(QPointer<QWidget> heading, Qt::FocusReason reason,
                                             bool buttonHeld) {
    if (!heading) return;
    // A message shown on the way takes the release of the click that moved
    // the focus, and with it the click: the button then never fires. It is
    // given its click once the press has reached it.
    if (reason == Qt::MouseFocusReason && buttonHeld &&
        !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        if (auto* button = qobject_cast<QAbstractButton*>(heading.data())) {
            QPointer<QAbstractButton> target = button;
            WhenFocusArrives(heading, [target] {
                if (!target || QGuiApplication::mouseButtons() & Qt::LeftButton) return;
                if (!target->isEnabled() || !target->isVisible()) return;
                target->setDown(false);
                target->click();
            });
        }
        return;
    }
    // A box tabbed into has its text selected, so typing replaces it; a
    // message shown on the way gives the focus back without that selection.
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
        if (auto* box = qobject_cast<QLineEdit*>(heading.data())) {
            QPointer<QLineEdit> target = box;
            WhenFocusArrives(heading, [target] {
                if (target && target->hasFocus() && !target->isReadOnly()) target->selectAll();
            });
        }
    }
}

bool FocusExitFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!enabled_ || (type != QEvent::FocusOut && type != QEvent::FocusIn)) {
        return QObject::eventFilter(watched, event);
    }
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
        return QObject::eventFilter(watched, event);
    }
    Watch* watch = FindWatch(watched);
    if (watch == nullptr) return QObject::eventFilter(watched, event);
    QWidget* control = watch->control.data();

    if (type == QEvent::FocusOut) {
        // While a focus-out is delivered, the application already names the
        // widget that receives the focus. Focus that goes nowhere (a widget
        // being hidden or destroyed) or to another window is not an exit.
        QWidget* next = QApplication::focusWidget();
        if (next == nullptr || next->window() != control->window()) return false;
        if (next == control || control->isAncestorOf(next)) {
            // Moving between the members of a group is neither exit nor entry.
            watch->handingOver = true;
            return false;
        }
        watch->handingOver = false;
        const bool buttonHeld = QGuiApplication::mouseButtons() & Qt::LeftButton;
        QPointer<QWidget> heading = next;
        Run(*watch, &Watch::onExit);
        FinishMoveAfterMessage(heading, reason, buttonHeld);
    } else {
        if (watch->handingOver) {
            watch->handingOver = false;
            return false;
        }
        Run(*watch, &Watch::onEnter);
    }
    return false;
}
