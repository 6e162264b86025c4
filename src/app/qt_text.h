#pragma once
// The one way text crosses between the engine's std::string (UTF-8) and Qt.
#include <QLineEdit>
#include <QString>
#include <string>
#include <string_view>

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text) {
    return text.toStdString();
}

// A box's text as the engine reads it.
inline std::string TextOf(const QLineEdit* box) {
    return box->text().toStdString();
}

inline void SetText(QLineEdit* box, std::string_view text) {
    box->setText(Q(text));
}
