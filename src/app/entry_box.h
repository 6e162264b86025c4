#pragma once
// Applying an entry check to the box it checked, and putting the focus into a
// box for the user to type into.
#include <QLineEdit>
#include <QMetaObject>
#include <QString>
#include <string>

#include "base/number_entry.h"
#include "base/user_port.h"

// Puts the focus into a control for the user to act on. A box's text is
// selected, so that typing replaces it, as when the user tabs into it. The
// selection is made again once the current event is done: when this runs
// from a box's exit handler, the box the focus came back to still has its
// own focus-out to finish, and that clears a selection.
inline void FocusForTyping(QWidget* control) {
    control->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->selectAll();
        QMetaObject::invokeMethod(
            box,
            [box] {
                if (box->window()->focusWidget() == box) box->selectAll();
            },
            Qt::QueuedConnection);
    }
}

// Carries out an entry check on its box: the box text and the message in the
// check's order, and the focus back into the box on error. For checks that
// have stored their value already. Returns whether the text was valid.
inline bool CarryOutEntry(QLineEdit* box, const qv::EntryCheck& check, qv::UserPort& port) {
    qv::ApplyEntryCheck(check, port, [box](const std::string& text) {
        box->setText(QString::fromStdString(text));
    });
    if (!check.valid && check.focusBack) FocusForTyping(box);
    return check.valid;
}

// The same, writing the check's value into the target.
template <class Check, class Target>
bool TakeEntry(QLineEdit* box, const Check& check, Target& target, qv::UserPort& port) {
    if (check.setTarget) target = check.value;
    return CarryOutEntry(box, check, port);
}
