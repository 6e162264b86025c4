// Fuzz target: the entry checks on arbitrary text, and the number styles and
// column formatters on arbitrary doubles, widths and settings.
//
// Input: one byte picks the part, the rest is that part's input.
//   0  entry checks: the rest is the typed text
//   1  number styles: value, style, precision, decimals, currency settings
//   2  column formatters and ComputeInt: widths, numbers, values
//
// Properties: no sanitizer finding; the three box checks agree with each
// other and with ValidateFloat3 and ValidStrToCurrency; a cleaned text checks
// again to the same value; printed numbers read back (within the rounding
// they state); the column formatters fill the widths they promise and never
// cut a number that is wider;
// interest stays inside the currency range.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/format.h"
#include "base/money.h"
#include "base/number_entry.h"
#include "core/interest.h"
#include "fuzz_input.h"

namespace {

using namespace qv;
using fuzz::Check;
using fuzz::FuzzInput;

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

void CheckDecimalChecksAgree(std::string_view text) {
    const Float2Check f2 = ValidateFloat2("Amount", text);
    const Float4Check f4 = ValidateFloat4("Amount", text);
    Check(f2.valid == f4.valid && f2.cleaned == f4.cleaned && f2.error == f4.error,
          "ValidateFloat2 and ValidateFloat4 agree", Quoted(text));
    std::string f3Text(text);
    const bool f3 = ValidateFloat3(f3Text, 255);
    Check(f3 == f2.valid, "ValidateFloat3 agrees with ValidateFloat2", Quoted(text));

    if (!f2.valid) {
        Check(f2.value == 0.0 && f4.value == 0 && f2.boxText == "0.00" && f4.boxText == "0.00",
              "a refused amount resets box and target", Quoted(text));
        Check(f2.message == f2.error + "\n\rResetting input value of " + f2.cleaned &&
                  f4.message == "Resetting input value\n\r" + f4.error,
              "refusals are worded as the routines word them", Quoted(text));
        Check(f3Text == text, "ValidateFloat3 leaves a refused text alone", Quoted(text));
        return;
    }
    Check(f4.value >= 0 && InCurrencyRange(f4.value), "an amount lies in the currency range",
          Quoted(text));
    Check(TryValidStrToCurrency(f2.cleaned) == f4.value,
          "ValidStrToCurrency reads the cleaned text as ValidateFloat4 does", Quoted(text));
    Check(f2.value == CurrencyToDollars(f4.value), "ValidateFloat2 holds the currency in dollars",
          Quoted(text));
    Check(f2.boxText == f2.cleaned && f3Text == f2.cleaned,
          "the box and ValidateFloat3 keep the cleaned text", Quoted(text));

    const Float2Check again = ValidateFloat2("Amount", f2.cleaned);
    Check(again.valid && !again.boxChanges && again.value == f2.value,
          "a cleaned amount checks again to itself", Quoted(text));
    // The value printed with 4 decimals reads back as the same amount. Up to
    // a hundred billion dollars the double holds every ten-thousandth; above,
    // only 17 significant digits, so there it reads back within them.
    const std::string printed = FloatToStrF(f2.value, FloatStyle::Fixed, 18, 4);
    const Float4Check back = ValidateFloat4("Amount", printed);
    const bool exact = f4.value < 1'000'000'000'000'000;
    const double slack = exact ? 0.0 : 1e-15 * f2.value;
    Check(back.valid && std::fabs(CurrencyToDollars(back.value) - f2.value) <= slack,
          "a printed amount reads back", Quoted(text) + " printed " + Quoted(printed));
}

void CheckWholeNumberCheck(std::string_view text) {
    const Integer2Check i2 = ValidateInteger2("Count", text);
    if (!i2.valid) {
        Check(i2.value == 0 && i2.boxText == "0" &&
                  i2.message == "Error: " + i2.error + "\n\rResetting input value of " + i2.cleaned,
              "a refused count resets box and target", Quoted(text));
        return;
    }
    Check(i2.value >= 0, "a count is not negative", Quoted(text));
    // Whole numbers are a subset of the amounts: the decimal check reads the
    // same text to the same value.
    const Float2Check f2 = ValidateFloat2("Amount", text);
    Check(f2.valid && f2.value == i2.value, "a valid count is a valid amount of the same value",
          Quoted(text));
    if (text != "0") {
        const Integer2Check again = ValidateInteger2("Count", i2.cleaned);
        Check(again.valid && again.value == i2.value, "a cleaned count checks again to itself",
              Quoted(text));
    }
}

void CheckEntryText(std::string_view text) {
    CheckDecimalChecksAgree(text);
    CheckWholeNumberCheck(text);
}

// --- number styles --------------------------------------------------------------

double InterestingDouble(FuzzInput& in) {
    static const double kSpecial[] = {0.0,
                                      -0.0,
                                      0.005,
                                      1.005,
                                      -0.5,
                                      0.1,
                                      999.9995,
                                      1e15,
                                      -1e15,
                                      kMaxCurrencyDollars,
                                      1e300,
                                      std::numeric_limits<double>::max(),
                                      std::numeric_limits<double>::lowest(),
                                      std::numeric_limits<double>::min(),
                                      std::numeric_limits<double>::denorm_min(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN()};
    switch (in.Byte() % 3) {
        case 0:
            return in.Pick(kSpecial);
        case 1:
            return static_cast<double>(in.Integral<std::int64_t>()) / 10000.0;
        default:
            return in.AnyDouble();
    }
}

// The decimal exponent e of |x| (|x| < 10^e), rounded up so that it is never
// too small.
int DecimalExponentBound(double x) {
    if (x == 0.0) return 0;
    return static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 2;
}

std::string WithoutChars(std::string s, std::string_view drop) {
    s.erase(std::remove_if(s.begin(), s.end(),
                           [&](char c) { return drop.find(c) != std::string_view::npos; }),
            s.end());
    return s;
}

void CheckNumberStyles(FuzzInput& in) {
    const double x = InterestingDouble(in);
    const int precision = in.Int32Between(-3, 24);
    const int decimals = in.Int32Between(-3, 24);
    FormatSettings settings;
    settings.currencyFormat = in.Int32Between(0, 3);
    settings.negCurrencyFormat = in.Int32Between(0, 15);

    const FloatStyle styles[] = {FloatStyle::Fixed, FloatStyle::Number, FloatStyle::Money,
                                 FloatStyle::General};
    for (FloatStyle style : styles) {
        const std::string s = FloatToStrF(x, style, precision, decimals, settings);
        if (std::isnan(x)) Check(s == "NAN", "NaN prints NAN", s);
        if (std::isinf(x)) Check(s == (x > 0 ? "INF" : "-INF"), "infinities print INF", s);
        if (std::isfinite(x)) Check(!fuzz::ShowsNonFinite(s), "a finite value prints digits", s);
    }
    if (!std::isfinite(x)) return;

    // The shortest general form reads back exactly; 15 digits within their
    // rounding.
    const std::string shortest = FloatToStrF(x, FloatStyle::General, 17, 0);
    Check(std::strtod(shortest.c_str(), nullptr) == x, "the shortest form reads back exactly",
          shortest);
    // Read in long double: 15 digits of the largest double round past it.
    // The rounding is done on the 17-digit decimal form, so half a unit of
    // the 17th digit may add to half a unit of the 15th.
    const std::string general = FloatToStr(x);
    const long double g = std::strtold(general.c_str(), nullptr);
    Check(std::fabs(g - x) <= 5.06e-15L * std::fabs(x) + 1e-322L,
          "15 significant digits read back within their rounding", general);

    // Fixed: within half a unit of the coarser of the two rounding places.
    const std::string fixed = FloatToStrF(x, FloatStyle::Fixed, precision, decimals);
    if (fixed.find('E') == std::string::npos) {
        const int p = std::clamp(precision, 1, 18);
        const int d = std::clamp(decimals, 0, 18);
        const double unit = std::pow(10.0, std::max(-d, DecimalExponentBound(x) - p));
        const long double f = std::strtold(fixed.c_str(), nullptr);
        Check(std::fabs(f - x) <= 0.5000001L * unit + 1e-15L * std::fabs(x),
              "a fixed number reads back within its rounding", fixed);
        // Number and currency styles show the same digits with separators.
        const std::string number = FloatToStrF(x, FloatStyle::Number, precision, decimals);
        Check(WithoutChars(number, ",") == fixed, "the number style only adds separators", number);
        const std::string money = FloatToStrF(x, FloatStyle::Money, precision, decimals);
        const bool negative = fixed.front() == '-';
        Check(WithoutChars(money, "$,()") == (negative ? fixed.substr(1) : fixed) &&
                  (money.front() == '(') == negative,
              "the currency style shows the number's digits, negatives in parentheses", money);
    }
}

// --- column formatters --------------------------------------------------------------

int InterestingWidth(FuzzInput& in) {
    static const int kEdges[] = {std::numeric_limits<int>::min(),
                                 std::numeric_limits<int>::min() + 1,
                                 -21,
                                 -20,
                                 -11,
                                 -1,
                                 0,
                                 1,
                                 5,
                                 11,
                                 20,
                                 21,
                                 40,
                                 std::numeric_limits<int>::max()};
    return in.Bool() ? in.Pick(kEdges) : in.Integral<std::int32_t>();
}

// The formatter right-aligns `text` in `keep` characters, with at most `pad`
// spaces before it; a text longer than that is kept whole, never cut.
void CheckKept(const std::string& result, std::size_t pad, const std::string& text,
               std::int64_t keep, std::string_view formatter) {
    const std::string padded = std::string(pad, ' ') + text;
    std::size_t expected = static_cast<std::size_t>(
        std::clamp<std::int64_t>(keep, 0, static_cast<std::int64_t>(padded.size())));
    if (keep > 0 && text.size() > expected) expected = text.size();
    Check(result.size() == expected &&
              padded.compare(padded.size() - expected, expected, result) == 0,
          formatter, "\"" + result + "\" from \"" + padded + "\"");
}

void CheckColumnFormatters(FuzzInput& in) {
    const int width = InterestingWidth(in);
    const std::int32_t number = in.Integral<std::int32_t>();
    const double x = InterestingDouble(in);
    std::string r = "untouched";

    MyFormatInteger(number, width, r);
    if (width == 0) {
        Check(r == "untouched", "MyFormatInteger with width 0 leaves the result alone", r);
    } else {
        const std::string text = (width < 0 ? "$ " : "") + std::to_string(number) + " ";
        CheckKept(r, 20, text, width < 0 ? -std::int64_t{width} : width,
                  "MyFormatInteger fills |Width| characters");
    }

    MyFormatFloat(width, r, x);
    if (width < 0) {
        CheckKept(r, 20, FloatToStrF(x, FloatStyle::Money, 18, 2) + " ", -std::int64_t{width},
                  "MyFormatFloat fills -Width characters with the currency form");
    } else if (width > 0) {
        CheckKept(r, 20, FloatToStrF(x, FloatStyle::Number, 18, 4) + " ", width,
                  "MyFormatFloat fills Width characters with the four-decimal form");
    } else {
        Check(r.size() >= 5, "MyFormatFloat with width 0 keeps at least five characters", r);
    }

    GetFloat(width, r, x);
    CheckKept(r, 39, FloatToStrF(x, FloatStyle::Number, 18, 2), width,
              "GetFloat fills Width characters");
    GetInteger(number, width, r);
    CheckKept(r, 39, std::to_string(number), width, "GetInteger fills Width characters");
    Pad(width, std::to_string(number), r);
    CheckKept(r, 9, std::to_string(number), std::clamp(width, 0, 8) + 1,
              "Pad fills Width + 1 characters");
    Pad3(width, r, x);
    CheckKept(r, 21, FloatToStrF(x, FloatStyle::Number, 18, 3), std::clamp(width, 0, 20) + 1,
              "Pad3 fills Width + 1 characters");
    Pad6(width, r, x);
    CheckKept(r, 21, FloatToStrF(x, FloatStyle::Number, 18, 6), std::clamp(width, 0, 20) + 1,
              "Pad6 fills Width + 1 characters");
    Pad12(r, x);
    CheckKept(r, 13, FloatToStrF(x, FloatStyle::Money, 18, 2), 12, "Pad12 fills 12 characters");
    Pad2(r, x);
    Check(r == FloatToStrF(x, FloatStyle::Number, 18, 3), "Pad2 is the three-decimal form", r);

    // Interest of one interval, whatever its arguments, is an amount.
    const std::int32_t pds = in.Integral<std::int32_t>();
    const std::int32_t days = in.Integral<std::int32_t>();
    const std::int32_t perUnitDays = in.Integral<std::int32_t>();
    const bool byDays = in.Bool();
    const double apr = InterestingDouble(in);
    const double pdsPerYear = InterestingDouble(in);
    const double balance = InterestingDouble(in);
    const std::int32_t places = in.Int32Between(-2, 6);
    const double roundAdd = in.Bool() ? 0.5 : InterestingDouble(in);
    RecordingUserPort port;
    const Currency interest = ComputeInt(pds, days, perUnitDays, byDays, apr, pdsPerYear, balance,
                                         places, roundAdd, port);
    Check(InCurrencyRange(interest), "interest lies in the currency range");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    switch (in.Byte() % 3) {
        case 0:
            CheckEntryText(in.Rest());
            break;
        case 1:
            CheckNumberStyles(in);
            break;
        default:
            CheckColumnFormatters(in);
            break;
    }
    return 0;
}
