#pragma once
// The regular schedule as its page's boxes read and the interval it shows,
// kept as values for the pages that work from it (figuring a schedule at a
// known rate). The regular page publishes every change here and shows what
// others send it: a summary line, a single payment handed on.
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "app/qt_text.h"
#include "core/interval.h"
#include "schedule/regular_schedule.h"

class RegularInputs : public QObject {
    Q_OBJECT
  public:
    const qv::RegularTexts& Texts() const { return texts_; }
    // Nothing while the page's interval group has no item checked.
    std::optional<qv::Interval> Interval() const { return interval_; }
    void SetTexts(const qv::RegularTexts& texts) { texts_ = texts; }
    void SetInterval(std::optional<qv::Interval> interval) { interval_ = interval; }

    // A summary of the regular schedule worked out elsewhere.
    void ShowSummary(const std::string& text) { emit SummaryShown(Q(text)); }
    // A single payment due within a year goes to the one-payment page.
    void HandOverOnePayment(std::int32_t days, double amtFin, double repayment) {
        emit OnePaymentHandedOver(days, amtFin, repayment);
    }

  signals:
    void SummaryShown(const QString& text);
    void OnePaymentHandedOver(std::int32_t days, double amtFin, double repayment);

  private:
    qv::RegularTexts texts_;
    std::optional<qv::Interval> interval_ = qv::kStartInterval;
};
