#include "core/rounding_setting.h"

namespace qv {

RoundingSetting RoundingFor(bool roundDown) {
    if (roundDown) {
        return {0.0,
                "Note: Amortization rounds down to a whole cent, but you can change that setting:",
                "Amortization rounds fractions down !"};
    }
    return {0.5,
            "Note: Amortization rounds to the nearest whole cent, but you can change that setting:",
            "Amortization rounds to nearest cent."};
}

}  // namespace qv
