#include "cli/terminal_text.h"

#include <utf8proc.h>

namespace qv::cli {
namespace {

// The code point at the start of `text` and its length in bytes; a length
// of 0 for a byte that starts no valid UTF-8 sequence.
std::pair<utf8proc_int32_t, std::size_t> CodePointAt(std::string_view text) {
    utf8proc_int32_t c = 0;
    const auto n = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                    static_cast<utf8proc_ssize_t>(text.size()), &c);
    if (n <= 0) return {0, 0};
    return {c, static_cast<std::size_t>(n)};
}

void AppendHex(std::string& out, unsigned value, int digits) {
    constexpr char kHex[] = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

}  // namespace

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto [c, n] = CodePointAt(text);
        if (n == 0) {
            out += "\\x";
            AppendHex(out, static_cast<unsigned char>(text.front()), 2);
            text.remove_prefix(1);
            continue;
        }
        const auto category = utf8proc_category(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (category == UTF8PROC_CATEGORY_CC) {
            // C0, DEL and the C1 controls (ESC starts terminal sequences).
            out += c < 0x100 ? "\\x" : "\\u";
            AppendHex(out, static_cast<unsigned>(c), c < 0x100 ? 2 : 4);
        } else {
            out.append(text.substr(0, n));
        }
        text.remove_prefix(n);
    }
    return out;
}

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    while (!text.empty()) {
        const auto [c, n] = CodePointAt(text);
        if (n == 0) {
            ++width;
            text.remove_prefix(1);
            continue;
        }
        const int w = utf8proc_charwidth(c);
        width += w > 0 ? static_cast<std::size_t>(w) : 0;
        text.remove_prefix(n);
    }
    return width;
}

std::string Grouped(std::uint64_t count) {
    std::string digits = std::to_string(count);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

}  // namespace qv::cli
