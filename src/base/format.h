#pragma once
// Number styles and the column formatters of the chart and report texts.
#include <cstdint>
#include <string>

namespace qv {

// The locale conventions numbers are written in. The default is the usual US
// setting: "$1,234.50", negatives in parentheses "($1,234.50)".
struct FormatSettings {
    std::string currencyString = "$";
    char thousandSeparator = ',';
    char decimalSeparator = '.';
    // Placement of the currency sign for positive amounts:
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyFormat = 0;
    // Pattern for negative amounts: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-",
    // 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-",
    // 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
    int negCurrencyFormat = 0;
};

enum class FloatStyle {
    Fixed,    // [-]digits.decimals, no thousands separators
    Number,   // as Fixed, with thousands separators
    Money,    // the currency format, with `decimals` decimals
    General,  // shortest form, up to `precision` significant digits, no separators
};

// Writes value rounded to `precision` significant digits with exactly
// `decimals` decimals; a value with more than `precision` digits before the
// decimal point comes out in scientific notation.
std::string FloatToStrF(double value, FloatStyle style, int precision, int decimals,
                        const FormatSettings& fs = FormatSettings{});

// General style with 15 significant digits: "12.683", "100", "1E20".
std::string FloatToStr(double value, const FormatSettings& fs = FormatSettings{});

// Amount in the currency format with 2 decimals ("$40.00", "($0.01)").
std::string CurrencyText(double dollars, const FormatSettings& fs = FormatSettings{});

// Column formatters. All right-align by padding on the left with spaces to
// the width of their column; a value too long for it widens the column
// rather than lose its leading digits.
void MyFormatInteger(std::int32_t Number, int Width, std::string& Result,
                     const FormatSettings& fs = FormatSettings{});
void MyFormatFloat(int Width, std::string& Result, double X,
                   const FormatSettings& fs = FormatSettings{});
void GetFloat(int Width, std::string& Result, double X,
              const FormatSettings& fs = FormatSettings{});
void GetInteger(std::int32_t Number, int Width, std::string& Result);
void Pad(int Width, const std::string& S, std::string& Result);
void Pad2(std::string& Result, double X, const FormatSettings& fs = FormatSettings{});
void Pad3(int Width, std::string& Result, double X, const FormatSettings& fs = FormatSettings{});
void Pad6(int Width, std::string& Result, double X, const FormatSettings& fs = FormatSettings{});
void Pad12(std::string& Result, double X, const FormatSettings& fs = FormatSettings{});

}  // namespace qv
