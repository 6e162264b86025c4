#pragma once
// The program's settings for the run: what the settings page's boxes stand
// for, held as values so that no page reads a check box to learn a setting.
// The settings page shows them and changes them; every other page reads
// them here and follows the changed signal.
#include <QObject>
#include <array>

#include "chart/amortization.h"
#include "core/apr_engine.h"

enum class Setting : int {
    RegularHints,        // balloon hints of the regular page
    IrregularHints,      // balloon hints of the irregular page
    ShowRebates,         // Rule of 78s columns on the chart
    RoundDown,           // fractional cents rounded down rather than to nearest
    LogSteps,            // the estimate's steps in the report
    DebugFindPayment,    // the payment search's diagnostic lines
    FractionalInterest,  // chart interest to four decimals
    TenPass,             // ten-pass APR estimation
};
inline constexpr int kSettingCount = 8;

class AppSettings : public QObject {
    Q_OBJECT
  public:
    bool Get(Setting setting) const { return values_.at(std::size_t(setting)); }
    // Changing a setting to the value it has says nothing.
    void Set(Setting setting, bool on);
    // Rebates off and rounding to nearest, as every Reset leaves them; both
    // are announced even when unchanged, so everything that follows them
    // (the loan's rounding, the notes, the warning button) is put back.
    void Reset();

    // As the engine takes them.
    qv::AprSettings Apr() const;
    qv::ChartOptions Chart() const;

  signals:
    void Changed(Setting setting, bool on);

  private:
    std::array<bool, kSettingCount> values_{true, true, false, false, false, false, false, true};
};
