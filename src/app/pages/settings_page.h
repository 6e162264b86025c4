#pragma once
// "7:Settings" (tabSettings): the eight check boxes that show and change the
// program's settings (AppSettings). They last for the run.
#include <QCheckBox>

#include "app/app_settings.h"
#include "app/pages/page.h"

class SettingsPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabSettings;
    explicit SettingsPage(Session& app);

    // Where the menu's items on one setting land: the box that changes it.
    void FocusSetting(Setting setting);

  private:
    QCheckBox* BoxOf(Setting setting) const;
    // A setting changed, by a click here or by Reset: the box and this
    // page's own hints and captions follow.
    void ShowSetting(Setting setting, bool on);

    QCheckBox* cbxHintsOff_;
    QCheckBox* cbxShowRebates_;
    QCheckBox* cbxNoHint_;
    QCheckBox* cbxRoundDown_;
    QCheckBox* cbxLog_;
    QCheckBox* cbxShowFlip_;
    QCheckBox* cbxFractionalInt_;
    QCheckBox* cbxTenPass_;
};
