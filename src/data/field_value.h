#pragma once
// One field value of a record table (TMemDataSet) and its conversions, by the
// type of its field. The table keeps a FieldValue per field of every record;
// everything that depends on the field's type is decided here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/memdset.h"

namespace qv {

// Which member holds the value follows the field's kind (FieldKind): `i` for
// integers, booleans (0 or 1), currency (ten-thousandths), dates, times and
// date-times (data/field_text.h); `f` for floats; `s` for text and bytes.
// An empty value holds nothing (`has` false), reads as 0 or empty text and
// sorts as 0 or as empty text.
struct FieldValue {
    std::int64_t i = 0;
    double f = 0.0;
    std::string s;
    bool has = false;
};

// The text a field shows, as the grids and files see it; empty for an
// empty value.
// True when the two texts differ at most in the case of ASCII letters (field
// names and the words "true" and "false" are matched so).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

std::string ValueText(const FieldDef& field, const FieldValue& value);

// Each gives the value the field holds for the argument, or nothing when its
// type cannot hold it (out of range, not readable, too long).
std::optional<FieldValue> ValueFromText(const FieldDef& field, std::string_view text);
std::optional<FieldValue> ValueFromInteger(const FieldDef& field, std::int32_t value);
std::optional<FieldValue> ValueFromFloat(const FieldDef& field, double value);
std::optional<FieldValue> ValueFromBoolean(const FieldDef& field, bool value);
std::optional<FieldValue> ValueFromCurrency(const FieldDef& field, std::int64_t tenThousandths);
std::optional<FieldValue> ValueFromDateTime(const FieldDef& field, std::int64_t instant);

// Reads of a value that is not empty, in the forms TMemDataSet offers.
std::int32_t ValueAsInteger(const FieldDef& field, const FieldValue& value);
double ValueAsFloat(const FieldDef& field, const FieldValue& value);
bool ValueAsBoolean(const FieldDef& field, const FieldValue& value);
std::int64_t ValueAsCurrency(const FieldDef& field, const FieldValue& value);
std::int64_t ValueAsDateTime(const FieldDef& field, const FieldValue& value);

// -1, 0 or 1, comparing the values a key of this field orders by.
int CompareValues(FieldKind kind, const FieldValue& a, const FieldValue& b);

// What the user is told when `text` cannot be put into the field.
std::string InvalidValueMessage(const FieldDef& field, const std::string& text);

// Whole-text readers shared with the table's definitions: an optional sign
// and digits (blanks around allowed); "." as the decimal point, finite
// values only.
std::optional<long long> ParseWholeInteger(std::string_view text);
std::optional<double> ParseDecimal(std::string_view text);
// A double in general form with up to 15 significant digits ("88.85", "0").
std::string GeneralFloatText(double value);

}  // namespace qv
