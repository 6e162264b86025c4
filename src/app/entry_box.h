#pragma once
// Applying an entry check to the box it checked.
#include <QLineEdit>
#include <QString>
#include <string>

#include "core/number_entry.h"
#include "core/user_port.h"

// Carries out an entry check on its box: the box text and the message in the
// check's order, the target, and the focus back into the box on error.
// Returns whether the text was valid.
template <class Check, class Target>
bool TakeEntry(QLineEdit* box, const Check& check, Target& target, qv::UserPort& port) {
    qv::ApplyEntryCheck(check, port, [box](const std::string& text) {
        box->setText(QString::fromStdString(text));
    });
    if (check.setTarget) target = check.value;
    if (!check.valid && check.focusBack) box->setFocus(Qt::OtherFocusReason);
    return check.valid;
}
