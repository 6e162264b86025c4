#include "app/app_settings.h"

void AppSettings::Set(Setting setting, bool on) {
    bool& value = values_.at(std::size_t(setting));
    if (value == on) return;
    value = on;
    emit Changed(setting, on);
}

void AppSettings::Reset() {
    for (Setting setting : {Setting::RoundDown, Setting::ShowRebates}) {
        values_.at(std::size_t(setting)) = false;
        emit Changed(setting, false);
    }
}

qv::AprSettings AppSettings::Apr() const {
    qv::AprSettings apr;
    apr.TenPass = Get(Setting::TenPass);
    apr.Log = Get(Setting::LogSteps);
    return apr;
}

qv::ChartOptions AppSettings::Chart() const {
    qv::ChartOptions options;
    options.showRebates = Get(Setting::ShowRebates);
    options.fractionalInterest = Get(Setting::FractionalInterest);
    options.roundDown = Get(Setting::RoundDown);
    return options;
}
