#pragma once
// "7:Settings" (tabSettings): the eight check boxes that are the program's
// only settings. They last for the run.
#include <QCheckBox>

#include "app/pages/page.h"

class SettingsPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabSettings;
    explicit SettingsPage(Session& app);

    void ResetControls() override;

    // The settings as the other pages read them.
    bool TenPass() const { return cbxTenPass_->isChecked(); }
    bool LogSteps() const { return cbxLog_->isChecked(); }
    bool ShowRebates() const { return cbxShowRebates_->isChecked(); }
    bool FractionalInterest() const { return cbxFractionalInt_->isChecked(); }
    bool RoundDown() const { return cbxRoundDown_->isChecked(); }
    bool DebugFindPayment() const { return cbxShowFlip_->isChecked(); }

    // Each runs when its box changes state, by a click or by the program.
    // Hints of the regular page.
    void cbxHintsOffClick();
    // Hints of the irregular page, and the box's own caption.
    void cbxNoHintClick();
    // RoundAdd and the rounding notes of the introduction and chart pages.
    void cbxRoundDownClick();
    // The chart page's "Rule of 78s Warning" button.
    void cbxShowRebatesClick();

    QCheckBox* cbxHintsOff() const { return cbxHintsOff_; }
    QCheckBox* cbxShowRebates() const { return cbxShowRebates_; }
    QCheckBox* cbxNoHint() const { return cbxNoHint_; }
    QCheckBox* cbxRoundDown() const { return cbxRoundDown_; }
    QCheckBox* cbxLog() const { return cbxLog_; }
    QCheckBox* cbxShowFlip() const { return cbxShowFlip_; }
    QCheckBox* cbxFractionalInt() const { return cbxFractionalInt_; }
    QCheckBox* cbxTenPass() const { return cbxTenPass_; }

  signals:
    // The hints of the regular and the irregular page go off or on.
    void RegularHintsSwitched(bool on);
    void IrregularHintsSwitched(bool on);
    // The notes on the introduction and chart pages that say how cents are
    // rounded.
    void RoundingNotesChanged(const QString& aboutNote, const QString& chartNote);
    // The chart page's "Rule of 78s Warning" button shows with the rebates.
    void ShowRebatesChanged(bool shown);

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
