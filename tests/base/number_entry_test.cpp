#include "base/number_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "schedule/group_schedule.h"

namespace qv {
namespace {

// --- ValidateFloat2: accepted amounts ---------------------------------------

TEST(ValidateFloat2Accepts, DollarSignAndThousandsCommaAreDropped) {
    Float2Check r = ValidateFloat2("Amount Financed", "$1,000");
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.cleaned, "1000");
    EXPECT_EQ(r.boxText, "1000");
    EXPECT_TRUE(r.boxChanges);
    EXPECT_TRUE(r.setTarget);
    EXPECT_EQ(r.value, 1000.0);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.error, "");
    EXPECT_FALSE(r.focusBack);
}

TEST(ValidateFloat2Accepts, ManyDecimalsStayInTheBoxButAreStoredToFour) {
    Float2Check r = ValidateFloat2("Payment Amount", "12.345678");
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.boxText, "12.345678");
    EXPECT_FALSE(r.boxChanges);
    EXPECT_EQ(r.value, CurrencyToDollars(123457));
    EXPECT_DOUBLE_EQ(r.value, 12.3457);
}

TEST(ValidateFloat2Accepts, BackspaceAndCarriageReturnAreDropped) {
    Float2Check r = ValidateFloat2("APR", "1\b2\r.5");
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.boxText, "12.5");
    EXPECT_EQ(r.value, 12.5);
}

TEST(ValidateFloat2Accepts, PointAtEitherEndReads) {
    EXPECT_EQ(ValidateFloat2("A", "5.").value, 5.0);
    EXPECT_EQ(ValidateFloat2("A", ".5").value, 0.5);
    EXPECT_EQ(ValidateFloat2("A", "000.25").value, 0.25);
}

// --- ValidateFloat2: refused texts ------------------------------------------

TEST(ValidateFloat2Refuses, LowercaseLNamedInWords) {
    Float2Check r = ValidateFloat2("Payment Amount", "1l00");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.cleaned, "1");
    EXPECT_EQ(r.error,
              "Payment Amount contains Lowercase L , not part of a positive decimal number !");
    EXPECT_EQ(r.message,
              "Payment Amount contains Lowercase L , not part of a positive decimal number !\n\r"
              "Resetting input value of 1");
    EXPECT_EQ(r.boxText, "0.00");
    EXPECT_TRUE(r.boxChanges);
    EXPECT_TRUE(r.setTarget);
    EXPECT_EQ(r.value, 0.0);
    EXPECT_TRUE(r.focusBack);
    EXPECT_FALSE(r.messageBeforeReset);
}

TEST(ValidateFloat2Refuses, CapitalONamedInWords) {
    Float2Check r = ValidateFloat2("First Payment", "$1O0");
    EXPECT_EQ(r.message,
              "First Payment contains Capital o , not part of a positive decimal number !\n\r"
              "Resetting input value of 1");
}

TEST(ValidateFloat2Refuses, MinusSign) {
    Float2Check r = ValidateFloat2("Amount Financed", "-5");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message,
              "Amount Financed contains - , not part of a positive decimal number !\n\r"
              "Resetting input value of ");
}

TEST(ValidateFloat2Refuses, SecondPointIsAddedThenReported) {
    Float2Check r = ValidateFloat2("Amount Financed", "1.2.3");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.cleaned, "1.2.");
    EXPECT_EQ(r.message, "Amount Financed has multiple decimals!\n\rResetting input value of 1.2.");
    EXPECT_EQ(r.boxText, "0.00");
}

TEST(ValidateFloat2Refuses, Space) {
    Float2Check r = ValidateFloat2("Amount Financed", "1 000");
    EXPECT_EQ(r.message,
              "Amount Financed contains   , not part of a positive decimal number !\n\r"
              "Resetting input value of 1");
}

TEST(ValidateFloat2Refuses, OtherLettersAndNonAsciiAreNamedAsTyped) {
    EXPECT_EQ(ValidateFloat2("A", "12x").error,
              "A contains x , not part of a positive decimal number !");
    EXPECT_EQ(ValidateFloat2("A", "5\xE2\x82\xAC").error,  // euro sign, whole character
              "A contains \xE2\x82\xAC , not part of a positive decimal number !");
    EXPECT_EQ(ValidateFloat2("A", "1L").error,
              "A contains L , not part of a positive decimal number !");
}

TEST(ValidateFloat2Refuses, EmptyAndPunctuationOnlyAreNotNumeric) {
    Float2Check r = ValidateFloat2("Amount Financed", "");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message, "Amount Financed is not numeric !\n\rResetting input value of ");
    EXPECT_EQ(r.boxText, "0.00");
    EXPECT_EQ(r.value, 0.0);
    EXPECT_EQ(ValidateFloat2("A", "$").message, "A is not numeric !\n\rResetting input value of ");
    EXPECT_EQ(ValidateFloat2("A", ".").message, "A is not numeric !\n\rResetting input value of .");
}

TEST(ValidateFloat2Refuses, BeyondTheCurrencyRangeIsTooLarge) {
    EXPECT_TRUE(ValidateFloat2("A", "922337203685477").valid);
    Float2Check r = ValidateFloat2("Amount Financed", "922337203685477.01");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message,
              "Amount Financed is too large !\n\rResetting input value of 922337203685477.01");
    EXPECT_EQ(r.value, 0.0);
    EXPECT_FALSE(ValidateFloat2("A", std::string(40, '9')).valid);
}

TEST(ValidateFloat2Walk, ExaminesAtMost255Characters) {
    std::string text = std::string(254, '0') + "7" + "x";  // the x is the 256th
    Float2Check r = ValidateFloat2("A", text);
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.value, 7.0);
    EXPECT_EQ(r.boxText, std::string(254, '0') + "7");
}

TEST(ValidateFloat2Walk, OnlyTheFirstErrorIsReported) {
    EXPECT_EQ(ValidateFloat2("A", "1.2.x").error, "A has multiple decimals!");
    EXPECT_EQ(ValidateFloat2("A", "x1.2.3").error,
              "A contains x , not part of a positive decimal number !");
}

// A comma counts only between groups of three digits before the point; any
// other comma is named as a wrong character, in every routine of the walk.
TEST(ThousandsComma, SeparatesGroupsOfThreeBeforeThePointAndNothingElse) {
    struct Row {
        const char* text;
        std::optional<Currency> value;  // empty: refused at a comma
        const char* collected;          // the cleaned text, or what the walk had collected
    };
    const std::vector<Row> rows = {
        {"1,234.5", 12345000, "1234.5"},
        {"$12,345,678", 123456780000, "12345678"},
        {"999,999.99", 9999999900, "999999.99"},
        {"1,000\x01", std::nullopt, "1000"},  // the comma stands; the \x01 is refused
        {"9,5", std::nullopt, "9"},
        {"12,34", std::nullopt, "12"},
        {"1.000,5", std::nullopt, "1.000"},
        {"1,0000", std::nullopt, "1"},
        {"1234,567", std::nullopt, "1234"},
        {",500", std::nullopt, ""},
        {"1,,000", std::nullopt, "1"},
        {"1,000,00", std::nullopt, "1000"},
        {"1,000$5", std::nullopt, "1"},
        {"1$2,000", std::nullopt, "12"},
        {"1,000.5,0", std::nullopt, "1000.5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const Float2Check f2 = ValidateFloat2("Rate", row.text);
        const Float4Check f4 = ValidateFloat4("Total", row.text);
        std::string f3 = row.text;
        EXPECT_EQ(f2.cleaned, row.collected);
        EXPECT_EQ(ValidateFloat3(f3, 40), row.value.has_value());
        if (row.value) {
            EXPECT_TRUE(f2.valid);
            EXPECT_EQ(f2.value, CurrencyToDollars(*row.value));
            EXPECT_EQ(f4.value, *row.value);
            EXPECT_EQ(f3, row.collected);
            continue;
        }
        const bool commaNamed = std::string(row.text).find('\x01') == std::string::npos;
        if (!commaNamed) continue;
        EXPECT_FALSE(f2.valid);
        EXPECT_EQ(f2.message,
                  std::string("Rate contains , , not part of a positive decimal number !\n\r") +
                      "Resetting input value of " + row.collected);
        EXPECT_EQ(f2.boxText, "0.00");
        EXPECT_EQ(f4.message,
                  "Resetting input value\n\rTotal contains , , not part of a positive decimal "
                  "number !");
        EXPECT_EQ(f3, row.text);
        EXPECT_FALSE(GroupTextAsDecimal(row.text).has_value());
    }
    EXPECT_EQ(ValidateInteger2("N", "2,147,483,647").value, 2147483647);
    EXPECT_EQ(ValidateInteger2("Number of Payments", "3,60").message,
              "Error: Number of Payments contains , , not part of a positive whole number !\n\r"
              "Resetting input value of 3");
    EXPECT_EQ(GroupTextAsDecimal("1,234.5"), 1234.5);
    EXPECT_EQ(GroupTextAsInteger("1,200"), 1200);
    EXPECT_FALSE(GroupTextAsInteger("12,00").has_value());
}

// --- ValidateFloat4 ---------------------------------------------------------

TEST(ValidateFloat4, StoresCurrencyFromTheDecimalDigits) {
    Float4Check r = ValidateFloat4("Total of Payments", "$1,066.50");
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.boxText, "1066.50");
    EXPECT_TRUE(r.boxChanges);
    EXPECT_EQ(r.value, 10665000);
    EXPECT_EQ(ValidateFloat4("T", "12.345678").value, 123457);
}

TEST(ValidateFloat4, ShowsTheMessageFirstWithResettingInFront) {
    Float4Check r = ValidateFloat4("Total of Payments", "1l00");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message,
              "Resetting input value\n\r"
              "Total of Payments contains Lowercase L , not part of a positive decimal number !");
    EXPECT_TRUE(r.messageBeforeReset);
    EXPECT_EQ(r.boxText, "0.00");
    EXPECT_EQ(r.value, 0);
    EXPECT_TRUE(r.focusBack);
    EXPECT_EQ(ValidateFloat4("T", "1.2.3").message,
              "Resetting input value\n\rT has multiple decimals!");
    EXPECT_EQ(ValidateFloat4("T", "").message, "Resetting input value\n\rT is not numeric !");
    EXPECT_EQ(ValidateFloat4("T", "1000000000000000").message,
              "Resetting input value\n\rT is too large !");
}

// --- ValidateInteger2 -------------------------------------------------------

TEST(ValidateInteger2Accepts, ThousandsCommaDropped) {
    Integer2Check r = ValidateInteger2("Number of Payments", "1,000");
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.value, 1000);
    EXPECT_EQ(r.boxText, "1000");
    EXPECT_TRUE(r.boxChanges);
    EXPECT_TRUE(r.setTarget);
}

TEST(ValidateInteger2Accepts, ZeroAcceptedAtOnceWithoutRewriting) {
    Integer2Check r = ValidateInteger2("Number of Payments", "0");
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.value, 0);
    EXPECT_FALSE(r.boxChanges);
    EXPECT_EQ(r.boxText, "0");
    EXPECT_TRUE(r.setTarget);
}

TEST(ValidateInteger2Accepts, LeadingZerosReadAndLargestInt32) {
    Integer2Check r = ValidateInteger2("N", "007");
    EXPECT_EQ(r.value, 7);
    EXPECT_FALSE(r.boxChanges);
    EXPECT_EQ(ValidateInteger2("N", "2,147,483,647").value, 2147483647);
}

TEST(ValidateInteger2Refuses, PointIsAWrongCharacter) {
    Integer2Check r = ValidateInteger2("Number of Payments", "2.5");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message,
              "Error: Number of Payments contains . , not part of a positive whole number !\n\r"
              "Resetting input value of 2");
    EXPECT_EQ(r.boxText, "0");
    EXPECT_TRUE(r.boxChanges);
    EXPECT_FALSE(r.messageBeforeReset);
    EXPECT_TRUE(r.focusBack);
    EXPECT_TRUE(r.setTarget);  // our choice: the target becomes 0 with the box
    EXPECT_EQ(r.value, 0);
}

TEST(ValidateInteger2Refuses, DollarSignLowercaseLAndCapitalO) {
    EXPECT_EQ(ValidateInteger2("N", "$5").error,
              "N contains $ , not part of a positive whole number !");
    EXPECT_EQ(ValidateInteger2("First Number of Extra Days", "1l").message,
              "Error: First Number of Extra Days contains Lowercase L , not part of a positive "
              "whole number !\n\r"
              "Resetting input value of 1");
    EXPECT_EQ(ValidateInteger2("N", "1O").error,
              "N contains Capital o , not part of a positive whole number !");
    EXPECT_EQ(ValidateInteger2("N", "-1").error,
              "N contains - , not part of a positive whole number !");
}

TEST(ValidateInteger2Refuses, EmptyIsNotANumber) {
    Integer2Check r = ValidateInteger2("Number of Payments", "");
    EXPECT_EQ(r.message,
              "Error: Number of Payments input is not a number !\n\rResetting input value of ");
    EXPECT_EQ(r.boxText, "0");
    EXPECT_TRUE(r.boxChanges);
    EXPECT_EQ(ValidateInteger2("N", "\r").message,
              "Error: N input is not a number !\n\rResetting input value of ");
}

TEST(ValidateInteger2Refuses, BeyondInt32IsTooLarge) {
    Integer2Check r = ValidateInteger2("Number of Payments", "2147483648");
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message,
              "Error: Number of Payments is too large !\n\rResetting input value of 2147483648");
    EXPECT_EQ(r.value, 0);
    EXPECT_FALSE(ValidateInteger2("N", std::string(100, '9')).valid);
}

// --- ValidateFloat3 ---------------------------------------------------------

TEST(ValidateFloat3, NormalisesInPlaceAndCutsToMaxLen) {
    std::string t = "$1,000.50";
    EXPECT_TRUE(ValidateFloat3(t, 20));
    EXPECT_EQ(t, "1000.50");
    t = "123.456789";
    EXPECT_TRUE(ValidateFloat3(t, 6));
    EXPECT_EQ(t, "123.45");
}

TEST(ValidateFloat3, RefusesLeavingTheTextUnchanged) {
    for (std::string bad : {"1l00", "1.2.3", "", "$", "-5", "1 000", "1000000000000000"}) {
        std::string t = bad;
        EXPECT_FALSE(ValidateFloat3(t, 20)) << bad;
        EXPECT_EQ(t, bad);
    }
}

// --- ValidStrToCurrency -----------------------------------------------------

TEST(ValidStrToCurrency, RoundsTheDecimalDigitsToTenThousandths) {
    EXPECT_EQ(ValidStrToCurrency("1000"), 10000000);
    EXPECT_EQ(ValidStrToCurrency("12.345678"), 123457);
    EXPECT_EQ(ValidStrToCurrency("0.00004"), 0);
    EXPECT_EQ(ValidStrToCurrency("0.000051"), 1);
    EXPECT_EQ(ValidStrToCurrency("0.00005"), 0);  // tie to even
    EXPECT_EQ(ValidStrToCurrency("0.00015"), 2);  // tie to even
    EXPECT_EQ(ValidStrToCurrency("1.00005000"), 10000);
    EXPECT_EQ(ValidStrToCurrency("0.99995"), 10000);
    EXPECT_EQ(ValidStrToCurrency("922337203685477"), 9223372036854770000);
}

TEST(ValidStrToCurrency, UnreadableOrOutOfRangeIsEmptyOrZero) {
    EXPECT_FALSE(TryValidStrToCurrency("").has_value());
    EXPECT_FALSE(TryValidStrToCurrency(".").has_value());
    EXPECT_FALSE(TryValidStrToCurrency("1,000").has_value());
    EXPECT_FALSE(TryValidStrToCurrency("922337203685478").has_value());
    EXPECT_EQ(ValidStrToCurrency("abc"), 0);
    EXPECT_EQ(TryValidStrToCurrency("5."), 50000);
}

// --- ApplyEntryCheck: order of the steps ------------------------------------

TEST(ApplyEntryCheck, Float2ResetsTheBoxThenShowsTheMessage) {
    RecordingUserPort port;
    std::vector<std::string> steps;
    Float2Check r = ValidateFloat2("A", "-5");
    ApplyEntryCheck(r, port, [&](const std::string& t) {
        steps.push_back("box:" + t);
        EXPECT_TRUE(port.messages.empty());
    });
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(port.messages[0].text, r.message);
    EXPECT_EQ(steps, std::vector<std::string>{"box:0.00"});
}

TEST(ApplyEntryCheck, Float4ShowsTheMessageThenResetsTheBox) {
    RecordingUserPort port;
    std::vector<std::string> steps;
    ApplyEntryCheck(ValidateFloat4("T", "x"), port, [&](const std::string& t) {
        steps.push_back("box:" + t);
        EXPECT_EQ(port.messages.size(), 1u);
    });
    EXPECT_EQ(steps, std::vector<std::string>{"box:0.00"});
}

TEST(ApplyEntryCheck, Integer2ResetsTheBoxFirst) {
    RecordingUserPort port;
    std::vector<std::string> steps;
    ApplyEntryCheck(ValidateInteger2("N", "2.5"), port, [&](const std::string& t) {
        steps.push_back("box:" + t);
        EXPECT_TRUE(port.messages.empty());
    });
    EXPECT_EQ(steps, std::vector<std::string>{"box:0"});
    EXPECT_EQ(port.messages.size(), 1u);
}

TEST(ApplyEntryCheck, SuccessRewritesOnlyWhenTheTextChanges) {
    RecordingUserPort port;
    std::vector<std::string> steps;
    auto set = [&](const std::string& t) { steps.push_back("box:" + t); };
    ApplyEntryCheck(ValidateFloat2("A", "$1,000"), port, set);
    ApplyEntryCheck(ValidateFloat2("A", "12.5"), port, set);
    ApplyEntryCheck(ValidateInteger2("N", "0"), port, set);
    EXPECT_EQ(steps, std::vector<std::string>{"box:1000"});
    EXPECT_TRUE(port.messages.empty());
}

}  // namespace
}  // namespace qv
