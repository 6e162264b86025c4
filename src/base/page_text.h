#pragma once
// The shapes of a page's fixed texts that are not boxes: its buttons and the
// columns of its grids. The engine keeps each page's texts in tables of
// these; the page builds its controls from them.
#include <string_view>

namespace qv {

struct ButtonText {
    std::string_view name;     // the control's name
    std::string_view caption;  // the toolkit's caption rule ("&&" shows one ampersand)
    std::string_view hint;     // balloon hint; empty for none
};

// A grid column: the table field it shows and its title.
struct GridColumnText {
    std::string_view field;
    std::string_view title;
};

}  // namespace qv
