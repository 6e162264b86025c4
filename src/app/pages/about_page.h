#pragma once
// "1:Intro" (tabAbout): what the program does, the list of tabs, the rounding
// note and the ways to the settings, the tolerances and the one-payment page.
#include "app/app_settings.h"
#include "app/pages/page.h"

class AboutPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabAbout;
    explicit AboutPage(Session& app);

    void ResetControls() override;

    void butSetClick();
    void butGotoToleranceClick();
    void butGoOnePayClick();

  private:
    // The rounding note follows the rounding setting.
    void ShowRoundingNote(Setting setting, bool on);

    QLabel* labAbout8_;
};
