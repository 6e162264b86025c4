#pragma once
// Balloon hints that the settings page switches off and on per page.
#include <QVariant>
#include <QWidget>
#include <initializer_list>

// Switches the hint of one control: off leaves it without a tooltip, on gives
// it back the hint it was built with (kept in a property while it is off).
inline void SwitchHint(QWidget* control, bool on) {
    constexpr const char* kKeptHint = "qvKeptHint";
    QVariant kept = control->property(kKeptHint);
    if (!kept.isValid()) {
        kept = control->toolTip();
        control->setProperty(kKeptHint, kept);
    }
    control->setToolTip(on ? kept.toString() : QString());
}

inline void SwitchHints(std::initializer_list<QWidget*> controls, bool on) {
    for (QWidget* control : controls) SwitchHint(control, on);
}
