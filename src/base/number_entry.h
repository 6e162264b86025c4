#pragma once
// The entry checks as pure engine functions.
//
// Each check takes the text typed into a box and the field's Name (the label
// the user knows, used in messages) and returns everything the box's exit
// handler needs: whether the text is valid, the cleaned text, the value, what
// to write into the target variable, the exact message, the text the box must
// show afterwards, and the order of "show message" and "reset box" on error.
// The caller (or ApplyEntryCheck below) carries the steps out and puts the
// focus back into the box when `focusBack` is set.
//
// The character walk (ValidateFloat2/3/4, ValidateInteger2):
//   - at most 255 characters are examined (UTF-8 code points; the rest of the
//     text is ignored);
//   - accepted: digits, decimal point (not for whole numbers), comma, dollar
//     sign (not for whole numbers), backspace (8), carriage return (13);
//     comma, dollar sign, backspace and carriage return are dropped from the
//     cleaned text;
//   - a comma is taken only as a thousands separator, between groups of
//     three digits before the decimal point (CommaSeparatesThousands); any
//     other comma ("9,5", "12,34", "1.000,5") is a wrong character, so a
//     decimal comma is refused rather than read as a value ten or a hundred
//     times larger;
//   - anything else stops the walk with Name + " contains " + c + " , not part
//     of a positive decimal number !" (whole numbers: "... positive whole
//     number !"), c being the character itself, or "Lowercase L" for 'l' and
//     "Capital o" for 'O'; the character is not added;
//   - a second decimal point is added to the cleaned text and then stops the
//     walk with Name + " has multiple decimals!".
// Then the cleaned text must read as a number: it must hold at least one
// digit ("5." and ".5" read; "" and "." do not). An empty box is refused as
// not numeric / not a number.
//
// Range (refusals of our own, worded in the same style):
//   - decimals whose value exceeds the currency range, 922,337,203,685,477
//     dollars (kMaxCurrencyDollars), are refused with Name + " is too large !";
//   - whole numbers above 2,147,483,647 are refused with Name + " is too large !".
// These are reported exactly like "not numeric" (same wrapping, same steps).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/money.h"
#include "base/user_port.h"

namespace qv {

// Everything common to the outcome of ValidateFloat2, ValidateFloat4 and
// ValidateInteger2.
struct EntryCheck {
    bool valid = false;
    // The cleaned text: on success the whole cleaned text, on error what had
    // been collected when the walk stopped.
    std::string cleaned;
    // The error text alone, e.g. "Payment Amount is not numeric !"; empty
    // when valid.
    std::string error;
    // The full text of the message box (error wrapped as the routine words
    // it, "\n\r" being line feed then carriage return); empty when valid.
    // Shown as a plain information box.
    std::string message;
    // The text the box shows afterwards, and whether that differs from the
    // typed text (false: leave the box alone).
    std::string boxText;
    bool boxChanges = false;
    // Whether the target variable is to be written (with the derived
    // struct's `value`). True in every outcome of the three box checks.
    bool setTarget = false;
    // On error: the focus goes back into the box.
    bool focusBack = false;
    // On error: true when the message is shown before the box is reset
    // (ValidateFloat4); false when the box is reset first (ValidateFloat2,
    // ValidateInteger2). Meaningless when valid.
    bool messageBeforeReset = false;
};

// ValidateFloat2: an amount or rate held as a double. On success value is
// ValidStrToCurrency(cleaned) * 0.0001 (the value rounded to 4 decimals) and
// the box shows the cleaned text; on error value is 0, box "0.00", message
// error + "\n\r" + "Resetting input value of " + cleaned, box reset first.
struct Float2Check : EntryCheck {
    double value = 0.0;
};
Float2Check ValidateFloat2(std::string_view name, std::string_view text);

// ValidateFloat4: an amount held as currency. On success value is
// ValidStrToCurrency(cleaned); on error value is 0, box "0.00", message
// "Resetting input value" + "\n\r" + error, message shown first.
struct Float4Check : EntryCheck {
    Currency value = 0;
};
Float4Check ValidateFloat4(std::string_view name, std::string_view text);

// ValidateInteger2: a whole number. The text "0" is accepted at once (value
// 0, box unchanged). On success value is the cleaned digits read as a whole
// number; on error value is 0 (the target is reset along with the box), box
// "0", message "Error: " + error + "\n\r" + "Resetting input value of " +
// cleaned, box reset first.
struct Integer2Check : EntryCheck {
    std::int32_t value = 0;
};
Integer2Check ValidateInteger2(std::string_view name, std::string_view text);

// ValidateFloat3: a text that is not in a box. True when valid; then the
// cleaned text, cut to maxLen characters, replaces text. False on a wrong
// character, a second decimal point, a text that does not read as a number
// or a value beyond the currency range; text is then unchanged. No message.
bool ValidateFloat3(std::string& text, std::size_t maxLen);

// Whether the comma at text[at] separates thousands: it stands before any
// decimal point, after the leading group of one to three digits or a group
// of exactly three after another comma, and before a group of exactly three
// digits that is followed neither by a digit nor by a character the walk
// drops ("1,000$5"): "1,234.5" and "$12,345,678" read, "9,5" does not. Used
// by every number box, so a comma means the same everywhere.
bool CommaSeparatesThousands(std::string_view text, std::size_t at);

// The cleaned text read as a decimal number, times 10000, rounded to the
// nearest integer; an exact tie goes to the even integer (as DollarsToCurrency).
// Done on the decimal digits, so "12.345678" gives exactly 123457.
// Empty when the text is not digits with at most one point and at least one
// digit, or when the value exceeds kMaxCurrencyDollars.
std::optional<Currency> TryValidStrToCurrency(std::string_view cleaned);
// As TryValidStrToCurrency, 0 for a text that does not read or is out of range.
Currency ValidStrToCurrency(std::string_view cleaned);

// Carries out a check's box and message steps in the routine's order:
// on success sets the box text when it changes; on error shows the message
// through the port (information box) and sets the box text, in the order the
// routine prescribes. Writing the target and moving the focus stay with the
// caller.
void ApplyEntryCheck(const EntryCheck& check, UserPort& port,
                     const std::function<void(const std::string&)>& setBoxText);

}  // namespace qv
