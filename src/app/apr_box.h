#pragma once
// An APR result box: "Pending" until the schedule shown has been computed,
// then the rate or "InputError". What it shows is kept as a value, so no code
// reads the box's text to learn how a computation ended.
#include <QLineEdit>
#include <QString>

#include "app/accessible.h"

class AprBox {
  public:
    explicit AprBox(QLineEdit* box) : box_(box) {}

    void SetPending() { Show(Shown::Pending, QStringLiteral("Pending")); }
    // A computation's outcome is spoken as it appears; "Pending" only says
    // the schedule changed, which the user knows.
    void SetInputError() {
        Show(Shown::InputError, QStringLiteral("InputError"));
        AnnounceResult(box_, QStringLiteral("APR: InputError"));
    }
    void SetRate(const QString& text) {
        Show(Shown::Rate, text);
        AnnounceResult(box_, QStringLiteral("APR ") + text);
    }
    bool ShowsInputError() const { return shown_ == Shown::InputError; }
    bool ShowsRate() const { return shown_ == Shown::Rate; }

  private:
    enum class Shown { Pending, Rate, InputError };
    void Show(Shown shown, const QString& text) {
        shown_ = shown;
        box_->setText(text);
    }

    QLineEdit* box_;
    Shown shown_ = Shown::Pending;
};
