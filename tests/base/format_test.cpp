#include "base/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {
namespace {

std::string Num(double v, int p, int d) {
    return FloatToStrF(v, FloatStyle::Number, p, d);
}
std::string Fix(double v, int p, int d) {
    return FloatToStrF(v, FloatStyle::Fixed, p, d);
}
std::string Cur(double v, int p, int d) {
    return FloatToStrF(v, FloatStyle::Money, p, d);
}

// --- Report numbers: number style with separators and exact decimals -------

TEST(FloatToStrFNumber, WritesThousandsSeparatorsAndPadsDecimals) {
    EXPECT_EQ(Num(1100, 15, 2), "1,100.00");
    EXPECT_EQ(Num(1000, 15, 2), "1,000.00");
    EXPECT_EQ(Num(999, 15, 2), "999.00");
    EXPECT_EQ(Num(1234567.891, 15, 2), "1,234,567.89");
    EXPECT_EQ(Num(0, 15, 2), "0.00");
    EXPECT_EQ(Num(12, 8, 5), "12.00000");
    EXPECT_EQ(Num(100000, 15, 0), "100,000");
    EXPECT_EQ(Num(-1234.5, 15, 2), "-1,234.50");
}

TEST(FloatToStrFNumber, RoundsToTheCoarserOfPrecisionAndDecimals) {
    EXPECT_EQ(Num(365.0 / 14.0, 8, 5), "26.07143");
    EXPECT_EQ(Num(16.147512345, 8, 5), "16.14751");
    EXPECT_EQ(Num(12.0, 8, 2), "12.00");
    // 8 significant digits beat 5 decimals here: 1234.5678|9 -> 1,234.5679 then padded.
    EXPECT_EQ(Num(1234.56789, 8, 5), "1,234.56790");
    EXPECT_EQ(Num(365.0 / 7.0, 8, 5), "52.14286");
}

TEST(FloatToStrFRounding, HalfUpOnTheSeventeenDigitDecimalForm) {
    // 0.005 is 0.0050000000000000001 -> up; 1.005 is 1.0049999999999999 -> down.
    EXPECT_EQ(Num(0.005, 15, 2), "0.01");
    EXPECT_EQ(Num(1.005, 15, 2), "1.00");
    EXPECT_EQ(Num(2.675, 15, 2), "2.67");
    EXPECT_EQ(Num(0.125, 15, 2), "0.13");  // exact tie rounds half up
    EXPECT_EQ(Num(-0.125, 15, 2), "-0.13");
    EXPECT_EQ(Num(9.995, 15, 2), "9.99");  // 9.9949999999999992
    EXPECT_EQ(Num(999.9999, 15, 2), "1,000.00");
    EXPECT_EQ(Num(0.0004, 15, 2), "0.00");
    EXPECT_EQ(Num(0.1 + 0.2, 15, 2), "0.30");
}

TEST(FloatToStrFRounding, NegativeZeroAfterRoundingHasNoMinus) {
    EXPECT_EQ(Num(-0.0, 15, 2), "0.00");
    EXPECT_EQ(Num(-0.001, 15, 2), "0.00");
    EXPECT_EQ(Fix(-0.004, 15, 2), "0.00");
    EXPECT_EQ(Cur(-0.001, 18, 2), "$0.00");
    EXPECT_EQ(FloatToStr(-0.0), "0");
}

TEST(FloatToStrFFixed, HasNoSeparators) {
    EXPECT_EQ(Fix(1234567.5, 15, 2), "1234567.50");
    EXPECT_EQ(Fix(-3.14159, 15, 3), "-3.142");
    EXPECT_EQ(Fix(0.5, 15, 0), "1");
    EXPECT_EQ(Fix(0.1, 18, 4), "0.1000");
}

TEST(FloatToStrFCurrency, UsesTheUsualUsFormat) {
    EXPECT_EQ(Cur(1234.5, 18, 2), "$1,234.50");
    EXPECT_EQ(Cur(-1234.5, 18, 2), "($1,234.50)");
    EXPECT_EQ(Cur(40, 18, 2), "$40.00");
    EXPECT_EQ(Cur(-0.01, 18, 2), "($0.01)");
    EXPECT_EQ(CurrencyText(40), "$40.00");
    EXPECT_EQ(CurrencyText(-0.01), "($0.01)");
    EXPECT_EQ(CurrencyText(1000000), "$1,000,000.00");
}

TEST(FloatToStrFCurrency, FollowsTheFormatSettings) {
    FormatSettings fs;
    fs.currencyString = "EUR";
    fs.thousandSeparator = '.';
    fs.decimalSeparator = ',';
    fs.currencyFormat = 3;
    fs.negCurrencyFormat = 8;
    EXPECT_EQ(FloatToStrF(1234.5, FloatStyle::Money, 18, 2, fs), "1.234,50 EUR");
    EXPECT_EQ(FloatToStrF(-1234.5, FloatStyle::Money, 18, 2, fs), "-1.234,50 EUR");
    EXPECT_EQ(FloatToStrF(1234.5, FloatStyle::Number, 18, 1, fs), "1.234,5");
    fs.negCurrencyFormat = 1;
    fs.currencyString = "$";
    EXPECT_EQ(FloatToStrF(-5, FloatStyle::Money, 18, 2, fs), "-$5,00");
}

// --- General style ----------------------------------------------------------

TEST(FloatToStrGeneral, ShortestFormUpToFifteenDigits) {
    EXPECT_EQ(FloatToStr(12.683), "12.683");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0.01), "0.01");
    EXPECT_EQ(FloatToStr(88.85), "88.85");
    EXPECT_EQ(FloatToStr(12.5), "12.5");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(365.0 / 14.0), "26.0714285714286");
    EXPECT_EQ(FloatToStr(-7.25), "-7.25");
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(1234567), "1234567");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
}

TEST(FloatToStrGeneral, ScientificBeyondPrecisionOrBelowOneTenThousandth) {
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
    EXPECT_EQ(FloatToStr(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(FloatToStrF(0.1, FloatStyle::General, 18, 0), "0.1");
    EXPECT_EQ(FloatToStrF(12.345, FloatStyle::General, 3, 0), "12.3");
}

TEST(FloatToStrFScientific, FixedNumberCurrencyBeyondPrecisionUseGeneralScientific) {
    EXPECT_EQ(Num(1.2345e20, 15, 2), "1.2345E20");
    EXPECT_EQ(Cur(-1e25, 18, 2), "-1E25");
    EXPECT_EQ(Fix(123456789.0, 8, 2), "1.2345679E8");
    // Rounding can push a value over the limit: 999999999999999.9 -> 1E15 at 15 digits.
    EXPECT_EQ(Num(999999999999999.9, 15, 2), "1E15");
    EXPECT_EQ(Num(123456789012345.0, 15, 2), "123,456,789,012,345.00");
}

TEST(FloatToStrFSpecial, NanAndInfinityDoNotCrash) {
    EXPECT_EQ(Num(std::numeric_limits<double>::quiet_NaN(), 15, 2), "NAN");
    EXPECT_EQ(CurrencyText(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(Num(std::numeric_limits<double>::denorm_min(), 15, 2), "0.00");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::max()), "1.79769313486232E308");
}

TEST(FloatToStrFSpecial, ClampsPrecisionAndDecimals) {
    EXPECT_EQ(Num(12.5, 0, 2), "1E1");     // precision 1: two digits before the point
    EXPECT_EQ(Num(12.5, 40, 2), "12.50");  // precision 18
    EXPECT_EQ(Num(12.5, 15, -3), "13");    // decimals 0
    EXPECT_EQ(Fix(1.5, 18, 30), "1.500000000000000000");  // decimals 18
}

// --- Column formatters ------------------------------------------------------

TEST(MyFormatInteger, FillsWidthCharactersAndNeverCutsANumber) {
    std::string r = "x";
    MyFormatInteger(7, -6, r);
    EXPECT_EQ(r, "  $ 7 ");
    MyFormatInteger(123, 6, r);
    EXPECT_EQ(r, "  123 ");
    MyFormatInteger(-42, 5, r);
    EXPECT_EQ(r, " -42 ");
    MyFormatInteger(1234567, 4, r);  // longer than the column: widens it
    EXPECT_EQ(r, "1234567 ");
    r = "keep";
    MyFormatInteger(5, 0, r);
    EXPECT_EQ(r, "keep");
    MyFormatInteger(5, -30, r);  // wider than padding: all of it
    EXPECT_EQ(r, std::string(20, ' ') + "$ 5 ");
}

TEST(ColumnFormatters, TheWidestWidthsOfEitherSignKeepTheWholeText) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    std::string r;
    MyFormatInteger(5, kMin, r);
    EXPECT_EQ(r, std::string(20, ' ') + "$ 5 ");
    MyFormatInteger(5, kMax, r);
    EXPECT_EQ(r, std::string(20, ' ') + "5 ");
    MyFormatFloat(kMin, r, 1.5);
    EXPECT_EQ(r, std::string(20, ' ') + "$1.50 ");
    MyFormatFloat(kMax, r, 1.5);
    EXPECT_EQ(r, std::string(20, ' ') + "1.5000 ");
}

TEST(MyFormatFloat, CurrencyWholeAndFourDecimalForms) {
    std::string r;
    MyFormatFloat(-12, r, 1234.5);
    EXPECT_EQ(r, "  $1,234.50 ");
    MyFormatFloat(-10, r, -5);
    EXPECT_EQ(r, "  ($5.00) ");
    MyFormatFloat(0, r, 12.5);
    EXPECT_EQ(r, "  13 ");
    MyFormatFloat(0, r, 12.49);
    EXPECT_EQ(r, "  12 ");
    MyFormatFloat(0, r, 1234.6);
    EXPECT_EQ(r, "1,235 ");  // wider than its 5 characters: kept whole
    MyFormatFloat(0, r, 999.4);
    EXPECT_EQ(r, " 999 ");
    MyFormatFloat(0, r, 999.5);
    EXPECT_EQ(r, "1,000 ");
    MyFormatFloat(12, r, 15.123456);
    EXPECT_EQ(r, "    15.1235 ");
}

TEST(GetFloatAndGetInteger, FillWidthCharactersAndNeverCutANumber) {
    std::string r;
    GetFloat(10, r, 1234.567);
    EXPECT_EQ(r, "  1,234.57");
    GetFloat(3, r, 1234.567);
    EXPECT_EQ(r, "1,234.57");
    GetInteger(42, 6, r);
    EXPECT_EQ(r, "    42");
    GetInteger(-42, 3, r);
    EXPECT_EQ(r, "-42");
    GetFloat(0, r, 1.0);
    EXPECT_EQ(r, "");
}

TEST(PadFormatters, PadPad3Pad6KeepWidthPlusOneWithWidthClamped) {
    std::string r;
    Pad(4, "12", r);
    EXPECT_EQ(r, "   12");
    Pad(99, "12", r);  // clamped to 8: 9 characters
    EXPECT_EQ(r, "       12");
    Pad(-5, "12", r);  // clamped to 0: 1 character, which "12" overflows
    EXPECT_EQ(r, "12");
    Pad3(8, r, 1234.5);
    EXPECT_EQ(r, "1,234.500");
    Pad3(10, r, 12.3456);
    EXPECT_EQ(r, "     12.346");
    Pad3(50, r, 1.0);  // clamped to 20: 21 characters
    EXPECT_EQ(r, std::string(16, ' ') + "1.000");
    Pad6(10, r, 0.1234567);
    EXPECT_EQ(r, "   0.123457");
}

TEST(PadFormatters, Pad2AndPad12) {
    std::string r;
    Pad2(r, 12.683);
    EXPECT_EQ(r, "12.683");
    Pad2(r, 1234.5);
    EXPECT_EQ(r, "1,234.500");
    Pad12(r, 1234.5);
    EXPECT_EQ(r, "   $1,234.50");
    Pad12(r, -1234.5);
    EXPECT_EQ(r, " ($1,234.50)");
    Pad12(r, 123456789.0);
    EXPECT_EQ(r, "$123,456,789.00");
}

}  // namespace
}  // namespace qv
