#pragma once
// The rounding setting: what rounding to whole cents in amortizations adds
// before truncating, and how the introduction and chart pages state it.
#include <string>

namespace qv {

struct RoundingSetting {
    double RoundAdd = 0.5;  // 0.5 rounds to the nearest cent, 0 rounds down
    std::string aboutNote;  // the introduction page's note
    std::string chartNote;  // the chart page's note
};

RoundingSetting RoundingFor(bool roundDown);

}  // namespace qv
