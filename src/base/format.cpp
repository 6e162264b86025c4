// Number styles and column formatters.
//
// How a number is rounded
// -----------------------
// The double is first written as a decimal string of 17 significant digits
// ("%.16e"), which identifies it exactly. All rounding is then done on those
// decimal digits, half up (a 5 in the first dropped digit rounds the kept
// digits up, away from zero), never on the binary value. So 0.005, whose
// 17-digit form is 5.0000000000000001e-3, gives "0.01" at 2 decimals, and
// 1.005, whose 17-digit form is 1.0049999999999999, gives "1.00".
//
// "Rounded to P significant digits, then written with D decimals" is done as
// ONE rounding at whichever of the two positions keeps fewer digits (this is
// what avoids double rounding: 1.0049999999999999 would otherwise become
// 1.00500000000000 at 15 digits and then 1.01 at 2 decimals). Digits past the
// rounding position are written as zeros up to D decimals.
//
// Limits: precision is clamped to 1..18 and decimals to 0..18. A precision of
// 17 or 18 keeps all 17 digits of the source string (no rounding beyond it);
// in the General style a precision of 17 or more uses the shortest digits that
// read back as the same double instead, so that 0.1 prints "0.1".
//
// Scientific notation (only reached by absurd amounts)
// ----------------------------------------------------
// General: when the rounded value has more than P digits before the point,
// or is below 0.0001 in magnitude, it is written as mantissa (shortest, up to
// P significant digits) + "E" + exponent with a minus sign only when negative
// and no leading zeros: "1E20", "1.23456789012345E15", "-2.5E-7".
// Fixed, Number and Currency: when the rounded value has more than P digits
// before the point, the text is the General form of the value with min(P, 15)
// significant digits (scientific there too), with no thousands separators and
// no currency sign (a minus sign in front for negatives): 1.2345e20 in (15,2)
// gives "1.2345E20", -1e25 in currency (18,2) gives "-1E25".
//
// NaN prints "NAN", infinities "INF" and "-INF", in every style.
// A value that rounds to zero prints without a minus sign.
#include "base/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv {
namespace {

// |value| = 0.d1 d2 d3 ... x 10^exp; digits has no trailing zeros; empty
// digits means zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exp = 0;
};

void StripTrailingZeros(DecimalDigits& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) {
        d.exp = 0;
        d.negative = false;
    }
}

// The decimal digits of a positive finite double written with `significant`
// significant digits ("d.ddde+xx"); with `shortest`, the fewest digits (up to
// that many) that read back as the same double.
DecimalDigits DigitsOf(double value, int significant, bool shortest) {
    DecimalDigits d;
    d.negative = std::signbit(value);
    const double a = std::fabs(value);
    if (a == 0.0) {
        d.negative = false;
        return d;
    }
    char buf[64];
    for (int prec = shortest ? 1 : significant; prec <= significant; ++prec) {
        std::snprintf(buf, sizeof buf, "%.*e", prec - 1, a);
        if (!shortest || std::strtod(buf, nullptr) == a) break;
    }
    const std::string s(buf);
    const std::size_t e = s.find('e');
    d.digits.push_back(s[0]);
    if (e > 2) d.digits.append(s, 2, e - 2);
    d.exp = std::atoi(s.c_str() + e + 1) + 1;
    StripTrailingZeros(d);
    return d;
}

// The 17-significant-digit decimal form of a finite double.
DecimalDigits Digits17(double value) {
    return DigitsOf(value, 17, false);
}

// The shortest decimal digits that read back as the same double.
DecimalDigits DigitsShortest(double value) {
    return DigitsOf(value, 17, true);
}

// Keeps the first n digits, rounding half up on the first dropped digit.
// n may be zero or negative (the value then rounds to zero or to one unit of
// the position 10^(exp - n)).
void RoundDigits(DecimalDigits& d, int n) {
    if (d.digits.empty()) return;
    if (n >= static_cast<int>(d.digits.size())) return;
    if (n < 0) {
        d.digits.clear();
        StripTrailingZeros(d);
        return;
    }
    bool up = d.digits[static_cast<std::size_t>(n)] >= '5';
    d.digits.resize(static_cast<std::size_t>(n));
    if (up) {
        int i = n - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exp;
        }
    }
    StripTrailingZeros(d);
}

char DigitAt(const DecimalDigits& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

// "1E20", "1.23456789012345E15", "2.5E-7" (no sign of the value).
std::string Scientific(const DecimalDigits& d, const FormatSettings& fs) {
    std::string out;
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
        out.push_back(fs.decimalSeparator);
        out.append(d.digits, 1, std::string::npos);
    }
    out.push_back('E');
    out += std::to_string(d.exp - 1);
    return out;
}

// Unsigned positional text: integer part (grouped when asked) and exactly
// `decimals` decimals.
std::string Positional(const DecimalDigits& d, int decimals, bool grouped,
                       const FormatSettings& fs) {
    std::string intPart;
    if (d.exp <= 0 || d.digits.empty()) {
        intPart = "0";
    } else {
        for (int i = 0; i < d.exp; ++i) intPart.push_back(DigitAt(d, i));
    }
    if (grouped && fs.thousandSeparator != '\0' && intPart.size() > 3) {
        std::string g;
        std::size_t len = intPart.size();
        for (std::size_t i = 0; i < len; ++i) {
            if (i > 0 && (len - i) % 3 == 0) g.push_back(fs.thousandSeparator);
            g.push_back(intPart[i]);
        }
        intPart = g;
    }
    if (decimals <= 0) return intPart;
    std::string out = intPart;
    out.push_back(fs.decimalSeparator);
    for (int i = 0; i < decimals; ++i) out.push_back(DigitAt(d, d.exp + i));
    return out;
}

std::string ApplyCurrency(const std::string& num, bool negative, const FormatSettings& fs) {
    const std::string& c = fs.currencyString;
    if (!negative) {
        switch (fs.currencyFormat) {
            case 1:
                return num + c;
            case 2:
                return c + " " + num;
            case 3:
                return num + " " + c;
            default:
                return c + num;
        }
    }
    switch (fs.negCurrencyFormat) {
        case 1:
            return "-" + c + num;
        case 2:
            return c + "-" + num;
        case 3:
            return c + num + "-";
        case 4:
            return "(" + num + c + ")";
        case 5:
            return "-" + num + c;
        case 6:
            return num + "-" + c;
        case 7:
            return num + c + "-";
        case 8:
            return "-" + num + " " + c;
        case 9:
            return "-" + c + " " + num;
        case 10:
            return num + " " + c + "-";
        case 11:
            return c + " " + num + "-";
        case 12:
            return c + " -" + num;
        case 13:
            return num + "- " + c;
        case 14:
            return "(" + c + " " + num + ")";
        case 15:
            return "(" + num + " " + c + ")";
        default:
            return "(" + c + num + ")";
    }
}

std::string General(double value, int precision, const FormatSettings& fs) {
    DecimalDigits d = precision >= 17 ? DigitsShortest(value) : Digits17(value);
    RoundDigits(d, precision);
    if (d.digits.empty()) return "0";
    std::string sign = d.negative ? "-" : "";
    if (d.exp > precision || d.exp < -3) return sign + Scientific(d, fs);
    int fracDigits = std::max(0, static_cast<int>(d.digits.size()) - d.exp);
    return sign + Positional(d, fracDigits, false, fs);
}

// Right-aligns s in a field of `keep` characters, with at most `pad` spaces
// before it. A text longer than the field widens it: a column out of line is
// better than an amount that has silently lost its leading digits. `keep` is
// 64-bit so that a width of INT_MIN can be negated.
std::string RightAligned(const std::string& s, std::size_t pad, std::int64_t keep) {
    if (keep <= 0) return std::string();
    const auto field =
        static_cast<std::size_t>(std::min<std::int64_t>(keep, std::int64_t(pad + s.size())));
    if (s.size() >= field) return s;
    return std::string(field - s.size(), ' ') + s;
}

}  // namespace

std::string FloatToStrF(double value, FloatStyle style, int precision, int decimals,
                        const FormatSettings& fs) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    if (style == FloatStyle::General) return General(value, precision, fs);

    DecimalDigits d = Digits17(value);
    RoundDigits(d, std::min(precision, d.exp + decimals));
    if (d.exp > precision && !d.digits.empty()) {
        // Too many digits before the point: the General form, which is
        // scientific here, with at most 15 significant digits.
        return General(value, std::min(precision, 15), fs);
    }
    std::string num = Positional(d, decimals, style != FloatStyle::Fixed, fs);
    if (style == FloatStyle::Money) return ApplyCurrency(num, d.negative, fs);
    return d.negative ? "-" + num : num;
}

std::string FloatToStr(double value, const FormatSettings& fs) {
    return FloatToStrF(value, FloatStyle::General, 15, 0, fs);
}

std::string CurrencyText(double dollars, const FormatSettings& fs) {
    return FloatToStrF(dollars, FloatStyle::Money, 18, 2, fs);
}

void MyFormatInteger(std::int32_t Number, int Width, std::string& Result,
                     const FormatSettings& fs) {
    (void)fs;
    if (Width < 0) {
        Result = RightAligned("$ " + std::to_string(Number) + " ", 20, -std::int64_t{Width});
    } else if (Width > 0) {
        Result = RightAligned(std::to_string(Number) + " ", 20, Width);
    }
}

void MyFormatFloat(int Width, std::string& Result, double X, const FormatSettings& fs) {
    if (Width < 0) {
        Result = RightAligned(FloatToStrF(X, FloatStyle::Money, 18, 2, fs) + " ", 20,
                              -std::int64_t{Width});
    } else if (Width == 0) {
        double whole = std::trunc(X + 0.5);
        Result = RightAligned(FloatToStrF(whole, FloatStyle::Number, 18, 0, fs) + " ", 20, 5);
    } else {
        Result = RightAligned(FloatToStrF(X, FloatStyle::Number, 18, 4, fs) + " ", 20, Width);
    }
}

void GetFloat(int Width, std::string& Result, double X, const FormatSettings& fs) {
    Result = RightAligned(FloatToStrF(X, FloatStyle::Number, 18, 2, fs), 39, Width);
}

void GetInteger(std::int32_t Number, int Width, std::string& Result) {
    Result = RightAligned(std::to_string(Number), 39, Width);
}

void Pad(int Width, const std::string& S, std::string& Result) {
    Result = RightAligned(S, 9, std::clamp(Width, 0, 8) + 1);
}

void Pad2(std::string& Result, double X, const FormatSettings& fs) {
    Result = FloatToStrF(X, FloatStyle::Number, 18, 3, fs);
}

void Pad3(int Width, std::string& Result, double X, const FormatSettings& fs) {
    Result = RightAligned(FloatToStrF(X, FloatStyle::Number, 18, 3, fs), 21,
                          std::clamp(Width, 0, 20) + 1);
}

void Pad6(int Width, std::string& Result, double X, const FormatSettings& fs) {
    Result = RightAligned(FloatToStrF(X, FloatStyle::Number, 18, 6, fs), 21,
                          std::clamp(Width, 0, 20) + 1);
}

void Pad12(std::string& Result, double X, const FormatSettings& fs) {
    Result = RightAligned(FloatToStrF(X, FloatStyle::Money, 18, 2, fs), 13, 12);
}

}  // namespace qv
