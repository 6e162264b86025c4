#pragma once
// Runs a box's exit handler when the input focus leaves it for another control
// of the same window, and its enter handler when the focus arrives.
//
// Qt also sends focus events when a message box or another window takes the
// activation (Qt::ActiveWindowFocusReason) and when a menu or other popup opens
// (Qt::PopupFocusReason). Those are not exits: the user has not left the box,
// and treating them as exits would run a handler again from inside its own
// message box. This filter ignores both, never re-enters a handler that is
// still running, and runs no exit handler while another exit handler of the
// same page is running (the focus it moves is the program's, not the user's).
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class QWidget;

class FocusExitFilter : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void()>;

    explicit FocusExitFilter(QObject* parent = nullptr);

    // The handler runs when the focus moves from `control` (or any widget
    // inside it, for a group of radio buttons) to a widget outside it in the
    // same window. Watch the control after its children have been created.
    void OnExit(QWidget* control, Handler handler);
    // The handler runs when the focus arrives in `control` from outside it.
    void OnEnter(QWidget* control, Handler handler);

    // Stops all handlers; used while the window is being torn down.
    void Disable() { enabled_ = false; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // After an exit handler: the click or the tab that moved the focus is
    // carried through even when a message was shown on the way.
    static void FinishMoveAfterMessage(QPointer<QWidget> heading, Qt::FocusReason reason,
                                       bool buttonHeld);

    struct Watch {
        QPointer<QWidget> control;
        Handler onExit;
        Handler onEnter;
        bool running = false;
        bool handingOver = false;  // focus is moving between the control's members
    };
    Watch& WatchFor(QWidget* control);
    Watch* FindWatch(QObject* watched);
    void Run(Watch& watch, Handler Watch::*which);

    std::map<QWidget*, Watch> watches_;
    std::map<QObject*, QWidget*> owners_;  // watched widget -> control it belongs to
    bool enabled_ = true;
    bool exitRunning_ = false;  // an exit handler of this page is running
};
