#pragma once
// Text meant for a terminal: ids and file names come from the input and may
// hold anything, so they are shown with control characters escaped, and
// columns are lined up by the width the characters take on the screen
// (accented letters one column, CJK characters two), not by their bytes.
#include <cstdint>
#include <string>
#include <string_view>

namespace qv::cli {

// The text with every control character and every byte that is not UTF-8
// written as an escape ("\t", "\x1b"), and backslashes doubled, so that it
// cannot move the cursor, change colours or be mistaken for another text.
std::string Escaped(std::string_view text);

// The columns valid UTF-8 text takes on a terminal.
std::size_t DisplayWidth(std::string_view text);

// A count with thousands separators: "100,000".
std::string Grouped(std::uint64_t count);

}  // namespace qv::cli
