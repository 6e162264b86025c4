#pragma once
// Buttons whose actions are still to come say so when clicked instead of
// doing nothing. Each use goes when the work behind its button lands; this
// file goes with the last one.
#include <QPushButton>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/user_port.h"

// "Save This Schedule: not available in this version yet."
inline std::string NotBuiltYetText(std::string_view action) {
    return std::string(action) + ": not available in this version yet.";
}

inline void SayNotBuiltYet(qv::UserPort& port, std::string_view action) {
    port.Inform(NotBuiltYetText(action));
}

// Each button, clicked, names itself in the message.
inline void NotBuiltYet(std::initializer_list<QPushButton*> buttons, qv::UserPort& port) {
    for (QPushButton* button : buttons) {
        QObject::connect(button, &QPushButton::clicked, button, [button, &port] {
            SayNotBuiltYet(port, button->text().remove(QLatin1Char('&')).toStdString());
        });
    }
}
