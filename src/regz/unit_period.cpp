#include "regz/unit_period.h"

#include <cctype>
#include <iterator>
#include <string>

namespace qv::regz {

namespace {

struct Alias {
    std::string_view key;
    UnitPeriod unit;
};

// Keys as they read once lower-cased and stripped of spaces, hyphens and
// underscores.
constexpr Alias kAliases[] = {
    {"day", UnitPeriod::Day},
    {"daily", UnitPeriod::Day},
    {"week", UnitPeriod::Week},
    {"weekly", UnitPeriod::Week},
    {"twoweeks", UnitPeriod::TwoWeeks},
    {"twoweekly", UnitPeriod::TwoWeeks},
    {"biweekly", UnitPeriod::TwoWeeks},
    {"semimonth", UnitPeriod::Semimonth},
    {"semimonthly", UnitPeriod::Semimonth},
    {"halfmonth", UnitPeriod::Semimonth},
    {"halfmonthly", UnitPeriod::Semimonth},
    {"fourweeks", UnitPeriod::FourWeeks},
    {"fourweekly", UnitPeriod::FourWeeks},
    {"month", UnitPeriod::Month},
    {"monthly", UnitPeriod::Month},
    {"twomonths", UnitPeriod::TwoMonths},
    {"bimonthly", UnitPeriod::TwoMonths},
    {"quarter", UnitPeriod::Quarter},
    {"quarterly", UnitPeriod::Quarter},
    {"fourmonths", UnitPeriod::FourMonths},
    {"halfyear", UnitPeriod::HalfYear},
    {"halfyearly", UnitPeriod::HalfYear},
    {"semiannually", UnitPeriod::HalfYear},
    {"year", UnitPeriod::Year},
    {"yearly", UnitPeriod::Year},
    {"annually", UnitPeriod::Year},
};

}  // namespace

std::optional<UnitPeriod> UnitPeriodFromName(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '_' || c == '\t') continue;
        key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    for (const Alias& alias : kAliases) {
        if (alias.key == key) return alias.unit;
    }
    return std::nullopt;
}

UnitPeriod UnitPeriodOfInterval(Interval interval) {
    // The interval table names every unit period by a name read here.
    return UnitPeriodFromName(Describe(interval).regulationUnit).value();
}

std::string_view UnitPeriodNames() {
    return "day, week, two weeks, semimonth, four weeks, month, two months, quarter, four months, "
           "half year, year (or daily, weekly, twoweeks, halfmonth, monthly, quarterly, annually)";
}

}  // namespace qv::regz
