#include "app/pages/settings_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/hints.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "core/rounding_setting.h"

SettingsPage::SettingsPage(Session& app) : Page(app, kId) {
    // The boxes are made in the page's tab order; the layout places them.
    cbxHintsOff_ = Check("cbxHintsOff",
                         QStringLiteral("Uncheck to Turn off Yellow * \"Balloon\" Hints"), true);
    cbxHintsOff_->setToolTip(QStringLiteral("This is a Yellow Balloon Hint!"));
    cbxShowRebates_ = Check(
        "cbxShowRebates", QStringLiteral("Show Rule of 78s Rebates on Amortization Chart."), true);
    cbxNoHint_ = Check("cbxNoHint", QStringLiteral("Yellow *  \"Balloon\" Hints Turned on"), true);
    cbxNoHint_->setToolTip(QStringLiteral("Uncheck to turn off Balloon hints like this one!"));
    cbxRoundDown_ = Check("cbxRoundDown",
                          QStringLiteral("Round fractional cents down when doing Amortizations "
                                         "instead of rounding nearest."),
                          false);
    cbxLog_ = Check("cbxLog", QStringLiteral("Log Estimate Steps"), false);
    cbxLog_->setVisible(false);
    cbxShowFlip_ = Check("cbxShowFlip", QStringLiteral("Debug Find Payment"), false);
    cbxFractionalInt_ =
        Check("cbxFractionalInt",
              QStringLiteral("Show Fractional Interest on Chart, but use whole cents"), false);
    cbxTenPass_ = Check("cbxTenPass", QStringLiteral("Use Ten Pass APR Estimation"), true);

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

    // The program changing a box's state runs its action as a click does.
    connect(cbxHintsOff_, &QCheckBox::toggled, this, &SettingsPage::cbxHintsOffClick);
    connect(cbxNoHint_, &QCheckBox::toggled, this, &SettingsPage::cbxNoHintClick);
    connect(cbxRoundDown_, &QCheckBox::toggled, this, &SettingsPage::cbxRoundDownClick);
    connect(cbxShowRebates_, &QCheckBox::toggled, this, &SettingsPage::cbxShowRebatesClick);
}

void SettingsPage::ResetControls() {
    cbxShowRebates_->setChecked(false);
    cbxRoundDown_->setChecked(false);
    // Already unchecked boxes send no signal; the state they stand for is
    // put back all the same.
    cbxRoundDownClick();
    cbxShowRebatesClick();
}

void SettingsPage::cbxHintsOffClick() {
    const bool on = cbxHintsOff_->isChecked();
    SwitchHint(cbxHintsOff_, on);
    emit RegularHintsSwitched(on);
}

void SettingsPage::cbxNoHintClick() {
    const bool on = cbxNoHint_->isChecked();
    SwitchHint(cbxNoHint_, on);
    cbxNoHint_->setText(on ? QStringLiteral("Balloon Hints On=Checked")
                           : QStringLiteral("Balloon Hints Off=Unchecked"));
    emit IrregularHintsSwitched(on);
}

void SettingsPage::cbxRoundDownClick() {
    const qv::RoundingSetting rounding = qv::RoundingFor(RoundDown());
    session().State().loan.RoundAdd = rounding.RoundAdd;
    emit RoundingNotesChanged(Q(rounding.aboutNote), Q(rounding.chartNote));
}

void SettingsPage::cbxShowRebatesClick() {
    emit ShowRebatesChanged(ShowRebates());
}
