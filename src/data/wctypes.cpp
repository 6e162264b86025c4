#include "data/wctypes.h"

#include <algorithm>

#include "data/field_value.h"
#include "data/memdset.h"

namespace qv {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

int FixedWidth(const FieldDef& field) {
    switch (field.type) {
        case FieldType::SmallInt:
            return 6;  // "-32768"
        case FieldType::Word:
        case FieldType::Boolean:
            return 5;  // "65535", "False"
        case FieldType::Integer:
        case FieldType::AutoInc:
            return 11;  // "-2147483648"
        case FieldType::Float:
            return 22;  // "-1.23456789012345e+308"
        case FieldType::Money:
        case FieldType::Bcd:
            return 21;  // "-922337203685477.5807"
        case FieldType::Date:
            return 10;  // "12/31/9999"
        case FieldType::Time:
            return 12;  // "23:59:59.999"
        case FieldType::DateTime:
            return 23;
        default:
            return std::max(field.size, 0);
    }
}

void TCSVComponent::SetCustomSeparator(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    customSeparator_ = text.empty() ? std::string() : std::string(1, text.front());
}

std::optional<char> TCSVComponent::SeparatorChar() const {
    switch (FieldSeparator) {
        case fspPipe:
            return '|';
        case fspTab:
            return '\t';
        case fspComma:
            return ',';
        default:
            if (customSeparator_.empty()) return std::nullopt;
            return customSeparator_.front();
    }
}

std::optional<char> TCSVComponent::DelimiterChar() const {
    switch (FieldDelimiter) {
        case fdlSingle:
            return '\'';
        case fdlDouble:
            return '"';
        default:
            return std::nullopt;
    }
}

bool TCSVComponent::Admits(const std::string& fieldName) const {
    if (FieldListAction == flaNone) return true;
    bool named = false;
    for (const std::string& n : FieldList)
        if (SameTextIgnoringCase(n, fieldName)) named = true;
    return FieldListAction == flaInclude ? named : !named;
}

}  // namespace qv
