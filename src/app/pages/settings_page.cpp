#include "app/pages/settings_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/hints.h"
#include "app/session.h"

SettingsPage::SettingsPage(Session& app) : Page(app, kId) {
    const AppSettings& settings = session().Settings();
    const auto check = [&](const char* name, const QString& caption, Setting setting) {
        return Check(name, caption, settings.Get(setting));
    };
    // The boxes are made in the page's tab order; the layout places them.
    cbxHintsOff_ =
        check("cbxHintsOff", QStringLiteral("Uncheck to Turn off Yellow * \"Balloon\" Hints"),
              Setting::RegularHints);
    cbxHintsOff_->setToolTip(QStringLiteral("This is a Yellow Balloon Hint!"));
    cbxShowRebates_ =
        check("cbxShowRebates", QStringLiteral("Show Rule of 78s Rebates on Amortization Chart."),
              Setting::ShowRebates);
    cbxNoHint_ = check("cbxNoHint", QStringLiteral("Yellow *  \"Balloon\" Hints Turned on"),
                       Setting::IrregularHints);
    cbxNoHint_->setToolTip(QStringLiteral("Uncheck to turn off Balloon hints like this one!"));
    cbxRoundDown_ = check("cbxRoundDown",
                          QStringLiteral("Round fractional cents down when doing Amortizations "
                                         "instead of rounding nearest."),
                          Setting::RoundDown);
    cbxLog_ = check("cbxLog", QStringLiteral("Log Estimate Steps"), Setting::LogSteps);
    cbxLog_->setVisible(false);
    cbxShowFlip_ =
        check("cbxShowFlip", QStringLiteral("Debug Find Payment"), Setting::DebugFindPayment);
    cbxFractionalInt_ =
        check("cbxFractionalInt",
              QStringLiteral("Show Fractional Interest on Chart, but use whole cents"),
              Setting::FractionalInterest);
    cbxTenPass_ =
        check("cbxTenPass", QStringLiteral("Use Ten Pass APR Estimation"), Setting::TenPass);

    Line(Text(QStringLiteral("The following setting applies only to Tab 2, Regular Schedules:")));
    Line(cbxHintsOff_);
    Line(Text(QStringLiteral("The following setting applies only to Tab 3, Irregular Schedules:")));
    Line(cbxNoHint_);
    Line(Text(QStringLiteral("* On some systems these balloons are colored white.")));
    Gap();
    Line(Text(QStringLiteral(
        "The following setting applies to amortization charts & the display on Tab 4:")));
    Line(cbxShowRebates_);
    Line(cbxRoundDown_);
    Line(cbxFractionalInt_);
    Gap();
    Line(cbxTenPass_);
    Line(cbxLog_);
    Gap();
    Line(
        Text(QStringLiteral("Note: if the screen text is too big for the buttons and panels, "
                            "switch Windows display to Small Fonts.")));
    // The payment search's diagnostic lines: a setting of the figure page's
    // report, shown with its caption like every other box.
    Line(cbxShowFlip_);

    // A click changes the setting; the setting changed, by a click or by
    // Reset, is shown here.
    for (int i = 0; i < kSettingCount; ++i) {
        const auto setting = static_cast<Setting>(i);
        connect(BoxOf(setting), &QCheckBox::toggled, this,
                [this, setting](bool on) { session().Settings().Set(setting, on); });
    }
    connect(&session().Settings(), &AppSettings::Changed, this, &SettingsPage::ShowSetting);
}

QCheckBox* SettingsPage::BoxOf(Setting setting) const {
    switch (setting) {
        case Setting::RegularHints:
            return cbxHintsOff_;
        case Setting::IrregularHints:
            return cbxNoHint_;
        case Setting::ShowRebates:
            return cbxShowRebates_;
        case Setting::RoundDown:
            return cbxRoundDown_;
        case Setting::LogSteps:
            return cbxLog_;
        case Setting::DebugFindPayment:
            return cbxShowFlip_;
        case Setting::FractionalInterest:
            return cbxFractionalInt_;
        case Setting::TenPass:
            return cbxTenPass_;
    }
    return cbxHintsOff_;
}

void SettingsPage::ShowSetting(Setting setting, bool on) {
    BoxOf(setting)->setChecked(on);
    if (setting == Setting::RegularHints) SwitchHint(cbxHintsOff_, on);
    if (setting == Setting::IrregularHints) {
        SwitchHint(cbxNoHint_, on);
        cbxNoHint_->setText(on ? QStringLiteral("Balloon Hints On=Checked")
                               : QStringLiteral("Balloon Hints Off=Unchecked"));
    }
}

void SettingsPage::FocusSetting(Setting setting) {
    BoxOf(setting)->setFocus(Qt::OtherFocusReason);
}
