#pragma once
// "7:Settings" (tabSettings): the eight check boxes that are the program's
// only settings. They last for the run.
#include "app/pages/page.h"

class SettingsPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabSettings;
    explicit SettingsPage(TforMain& main);

    void ResetControls() override;

    QCheckBox* cbxHintsOff() const { return cbxHintsOff_; }
    QCheckBox* cbxShowRebates() const { return cbxShowRebates_; }
    QCheckBox* cbxNoHint() const { return cbxNoHint_; }
    QCheckBox* cbxRoundDown() const { return cbxRoundDown_; }
    QCheckBox* cbxLog() const { return cbxLog_; }
    QCheckBox* cbxShowFlip() const { return cbxShowFlip_; }
    QCheckBox* cbxFractionalInt() const { return cbxFractionalInt_; }
    QCheckBox* cbxTenPass() const { return cbxTenPass_; }

  private:
    QCheckBox* cbxHintsOff_;
    QCheckBox* cbxShowRebates_;
    QCheckBox* cbxNoHint_;
    QCheckBox* cbxRoundDown_;
    QCheckBox* cbxLog_;
    QCheckBox* cbxShowFlip_;
    QCheckBox* cbxFractionalInt_;
    QCheckBox* cbxTenPass_;
};
