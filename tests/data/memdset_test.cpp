#include "data/memdset.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "chart/amortization.h"
#include "core/pay_group.h"
#include "data/field_text.h"
#include "varrate/var_group.h"

namespace qv {
namespace {

// Expects fn to raise EMemDatasetError with exactly this text (and code).
template <class Fn>
void ExpectError(Fn&& fn, const std::string& text, int code = 0) {
    try {
        fn();
        ADD_FAILURE() << "no error, expected: " << text;
    } catch (const EMemDatasetError& e) {
        EXPECT_EQ(std::string(e.what()), text);
        EXPECT_EQ(e.Code(), code);
    }
}

// Sequence values of the table in the current order, walked with the cursor.
std::vector<int> Walk(TMemDataSet& t, const std::string& field = "Sequence") {
    std::vector<int> out;
    t.MoveFirst();
    while (!t.AtEnd()) {
        out.push_back(t.FieldAsInteger(field));
        t.MoveNext();
    }
    return out;
}

// A column of the grid view, without moving the cursor.
std::vector<std::string> Column(const TMemDataSet& t, int field) {
    std::vector<std::string> out;
    for (int r = 0; r < t.RowCount(); ++r) out.push_back(t.CellText(r, field));
    return out;
}

void AddGroup(TMemDataSet& t, int seq, int size, double pay) {
    t.AppendNew();
    t.SetFieldInteger("Sequence", seq);
    t.SetFieldInteger("SetSize", size);
    t.SetFieldFloat("PaySize", pay);
    t.Post();
}

class MemDsetPaySet : public ::testing::Test {
  protected:
    void SetUp() override { DefinePaySetTable(t); }
    TMemDataSet t{"mdsPaySet"};
};

// --- errors -------------------------------------------------------------------

TEST(MemDatasetError, TextsForCodes) {
    EXPECT_EQ(EMemDatasetError::TextForCode(1), "Unsupported function");
    EXPECT_EQ(EMemDatasetError::TextForCode(2), "Undefined error");
    EXPECT_EQ(EMemDatasetError::TextForCode(3), "Field to index not found");
    EXPECT_EQ(EMemDatasetError::TextForCode(4), "Index undefined");
    EXPECT_EQ(EMemDatasetError::TextForCode(5), "Field structure mismatch");
    EXPECT_EQ(EMemDatasetError::TextForCode(6), "Active range");
    EXPECT_EQ(EMemDatasetError::TextForCode(7), "Active filter");
    EXPECT_EQ(EMemDatasetError::TextForCode(8), "Dataset is indexed or filtered");
    EXPECT_EQ(EMemDatasetError::TextForCode(9), "System index: Internal use only");
    EXPECT_EQ(EMemDatasetError::TextForCode(10), "Index does not exist");
    EXPECT_EQ(EMemDatasetError::TextForCode(0), "Undefined error");
    EXPECT_EQ(EMemDatasetError::TextForCode(11), "Undefined error");
    EXPECT_EQ(EMemDatasetError::TextForCode(-1), "Undefined error");
    EMemDatasetError e(7);
    EXPECT_EQ(e.Code(), 7);
    EXPECT_STREQ(e.what(), "Active filter");
    EMemDatasetError f(0, "custom");
    EXPECT_EQ(f.Code(), 0);
    EXPECT_STREQ(f.what(), "custom");
}

// --- field definitions -----------------------------------------------------------

TEST(MemDsetFields, DefaultsWhenItemsMissingOrNotNumbers) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3;4;1", "B;6", "C", "D;x;y;z", "E;3;;2", "F;6;1;1;extra"});
    EXPECT_EQ(t.FieldsDefinitionItems(),
              (std::vector<std::string>{"A;3;4;1", "B;6;1;0", "C;1;1;0", "D;1;1;0", "E;3;1;0",
                                        "F;6;1;1"}));
}

TEST(MemDsetFields, FieldsBuiltAtOpen) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"Num;3;0;1", "Amt;6;0;0"});
    EXPECT_EQ(t.FieldCount(), 0);
    t.Open();
    ASSERT_EQ(t.FieldCount(), 2);
    EXPECT_EQ(t.FieldDefAt(0).name, "Num");
    EXPECT_EQ(t.FieldDefAt(0).type, FieldType::Integer);
    EXPECT_TRUE(t.FieldDefAt(0).required);
    EXPECT_EQ(t.FieldDefAt(1).type, FieldType::Float);
    EXPECT_FALSE(t.FieldDefAt(1).required);
    EXPECT_EQ(t.FieldIndex("Amt"), 1);
    EXPECT_EQ(t.FieldIndex("Nope"), -1);
    EXPECT_THROW(t.FieldDefAt(2), std::out_of_range);
}

TEST(MemDsetFields, RequiredOnlyWhenExactlyOne) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3;0;2", "B;3;0;-1", "C;3;0;1"});
    t.Open();
    EXPECT_FALSE(t.FieldDefAt(0).required);
    EXPECT_FALSE(t.FieldDefAt(1).required);
    EXPECT_TRUE(t.FieldDefAt(2).required);
}

TEST(MemDsetFields, UnknownTypeRejectedAtOpen) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3", "Bad;0"});
    ExpectError([&] { t.Open(); }, "Field 'Bad' is of unknown type");
    EXPECT_FALSE(t.Active());
}

TEST(MemDsetFields, UnsupportedTypesAndSizesRejectedAtOpen) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Odd;13", "Field 'Odd' is of an unsupported type"},
        {"Odd;21", "Field 'Odd' is of an unsupported type"},
        {"Odd;23", "Field 'Odd' is of an unsupported type"},
        {"Odd;40", "Field 'Odd' is of an unsupported type"},
        {"Odd;-4", "Field 'Odd' is of unknown type"},
        {"Odd;1;0", "Field 'Odd' has an invalid size"},
        {"Odd;12;-1", "Field 'Odd' has an invalid size"},
        {"Odd;1;32768", "Field 'Odd' has an invalid size"},
    };
    for (const auto& [item, text] : cases) {
        TMemDataSet t("T");
        t.SetFieldsDefinitionItems({"A;3", item});
        ExpectError([&] { t.Open(); }, text);
        EXPECT_FALSE(t.Active()) << item;
    }
}

TEST(MemDsetFields, EveryOtherCodeUpTo22OpensAsItsType) {
    for (int code = 1; code <= 22; ++code) {
        if (code == 13 || code == 21) continue;
        TMemDataSet t("T");
        t.SetFieldsDefinitionItems({"F;" + std::to_string(code) + ";8"});
        t.Open();
        EXPECT_EQ(static_cast<int>(t.FieldDefAt(0).type), code);
    }
}

TEST(MemDsetFields, MissingTypeAndSizeMakeAOneCharacterString) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"Text"});
    t.Open();
    t.AppendNew();
    t.SetFieldString("Text", "x");
    ExpectError([&] { t.SetFieldString("Text", "xy"); }, "'xy' is too long for field 'Text'");
    EXPECT_EQ(t.FieldAsString("Text"), "x");
}

TEST(MemDsetFields, StructureChangeWithRecordsIsMismatch) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3"});
    t.Open();
    t.AppendNew();
    t.SetFieldInteger("A", 1);
    t.Post();
    t.Close();
    t.SetFieldsDefinitionItems({"A;6"});
    ExpectError([&] { t.Open(); }, "Field structure mismatch", 5);
    EXPECT_FALSE(t.Active());
    t.SetFieldsDefinitionItems({"A;3;0;1"});  // only the required flag: allowed
    t.Open();
    EXPECT_EQ(t.Count(), 1);
    EXPECT_TRUE(t.FieldDefAt(0).required);
}

// --- field values -------------------------------------------------------------------

TEST_F(MemDsetPaySet, NewRecordStartsEmptyAndEmptyReadsAsZero) {
    t.AppendNew();
    EXPECT_TRUE(t.FieldIsNull("PaySize"));
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 0);
    EXPECT_EQ(t.FieldAsFloat("PaySize"), 0.0);
    EXPECT_EQ(t.FieldAsString("PaySize"), "");
    EXPECT_EQ(t.FieldAsString("SetSize"), "");
}

TEST_F(MemDsetPaySet, FloatTextIsShortestGeneralForm) {
    t.AppendNew();
    t.SetFieldInteger("Sequence", 1);
    const std::vector<std::pair<double, std::string>> cases = {
        {12.5, "12.5"},   {100.0, "100"}, {0.01, "0.01"},
        {88.85, "88.85"}, {95.0, "95"},   {0.1 + 0.2, "0.3"},
        {-3.25, "-3.25"}, {0.0, "0"},     {1234567.891, "1234567.891"}};
    for (const auto& [v, text] : cases) {
        t.SetFieldFloat("PaySize", v);
        EXPECT_EQ(t.FieldAsString("PaySize"), text) << v;
    }
}

TEST_F(MemDsetPaySet, TextWritesParseWithDecimalPoint) {
    t.AppendNew();
    t.SetFieldString("PaySize", "88.85");
    EXPECT_DOUBLE_EQ(t.FieldAsFloat("PaySize"), 88.85);
    t.SetFieldString("PaySize", "-1.5e2");
    EXPECT_DOUBLE_EQ(t.FieldAsFloat("PaySize"), -150.0);
    t.SetFieldString("SetSize", "42");
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 42);
    EXPECT_EQ(t.FieldAsString("SetSize"), "42");
    t.SetFieldString("SetSize", "-7");
    EXPECT_EQ(t.FieldAsInteger("SetSize"), -7);
    t.SetFieldString("SetSize", "");
    EXPECT_TRUE(t.FieldIsNull("SetSize"));
    EXPECT_EQ(t.FieldAsString("SetSize"), "");
}

TEST_F(MemDsetPaySet, BadTextRaisesTypeMessageAndKeepsValue) {
    t.AppendNew();
    t.SetFieldInteger("SetSize", 5);
    t.SetFieldFloat("PaySize", 2.5);
    ExpectError([&] { t.SetFieldString("SetSize", "12.5"); },
                "'12.5' is not a valid integer value for field 'SetSize'");
    ExpectError([&] { t.SetFieldString("SetSize", "abc"); },
                "'abc' is not a valid integer value for field 'SetSize'");
    ExpectError([&] { t.SetFieldString("SetSize", "99999999999"); },
                "'99999999999' is not a valid integer value for field 'SetSize'");
    ExpectError([&] { t.SetFieldString("PaySize", "1,5"); },
                "'1,5' is not a valid floating point value for field 'PaySize'");
    ExpectError([&] { t.SetFieldString("PaySize", "nan"); },
                "'nan' is not a valid floating point value for field 'PaySize'");
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 5);
    EXPECT_EQ(t.FieldAsFloat("PaySize"), 2.5);
}

TEST_F(MemDsetPaySet, UnknownFieldNamesTable) {
    ExpectError([&] { (void)t.FieldAsInteger("Nope"); }, "mdsPaySet: Field 'Nope' not found");
    t.AppendNew();
    ExpectError([&] { t.SetFieldInteger("Nope", 1); }, "mdsPaySet: Field 'Nope' not found");
}

TEST_F(MemDsetPaySet, FieldsLookedUpOnceReadAndWriteAsByName) {
    const TMemDataSet::FieldHandle setSize = t.Field("setsize");
    const TMemDataSet::FieldHandle paySize = t.Field("PaySize");
    EXPECT_EQ(setSize.index, t.FieldIndex("SetSize"));
    ExpectError([&] { (void)t.Field("Nope"); }, "mdsPaySet: Field 'Nope' not found");
    ExpectError([&] { t.SetFieldInteger(setSize, 1); }, "Dataset not in edit or insert mode");
    t.AppendNew();
    EXPECT_EQ(t.FieldAsInteger(setSize), 0);  // empty reads as zero
    // Written one way, read the other, with the by-name conversions.
    t.SetFieldFloat(setSize, 2.5);
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 2);
    t.SetFieldInteger(paySize, 7);
    EXPECT_EQ(t.FieldAsString("PaySize"), "7");
    t.SetFieldFloat("PaySize", 88.85);
    EXPECT_EQ(t.FieldAsFloat(paySize), 88.85);
    ExpectError([&] { t.SetFieldFloat(setSize, 1e10); },
                "'10000000000' is not a valid integer value for field 'SetSize'");
    EXPECT_EQ(t.FieldAsInteger(setSize), 2);
    // A handle of fields the table no longer has.
    ExpectError([&] { (void)t.FieldAsFloat(TMemDataSet::FieldHandle{5}); },
                "mdsPaySet: Field '#5' not found");
}

TEST_F(MemDsetPaySet, SettingOutsideEditOrInsertFails) {
    ExpectError([&] { t.SetFieldInteger("Sequence", 1); }, "Dataset not in edit or insert mode");
    AddGroup(t, 1, 2, 3.0);
    ExpectError([&] { t.SetFieldString("Sequence", "2"); }, "Dataset not in edit or insert mode");
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 1);
}

TEST_F(MemDsetPaySet, CrossTypeReadsAndWrites) {
    t.AppendNew();
    t.SetFieldFloat("SetSize", 2.5);  // rounds half to even
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 2);
    t.SetFieldInteger("PaySize", 7);
    EXPECT_EQ(t.FieldAsFloat("PaySize"), 7.0);
    EXPECT_EQ(t.FieldAsString("PaySize"), "7");
    EXPECT_EQ(t.FieldAsFloat("SetSize"), 2.0);
}

// One field of each type code: "F" with the given size.
struct TypedField {
    explicit TypedField(FieldType type, int size = 8) {
        t.SetFieldsDefinitionItems(
            {"F;" + std::to_string(static_cast<int>(type)) + ";" + std::to_string(size)});
        t.Open();
        t.AppendNew();
    }
    TMemDataSet t{"T"};
};

TEST(MemDsetTypes, TextIsReadAndShownByTheFieldsType) {
    // {type, size, text written, text shown, or the message when refused}
    struct Case {
        FieldType type;
        int size;
        std::string in;
        std::string shown;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {FieldType::SmallInt, 0, "-32768", "-32768", ""},
        {FieldType::SmallInt, 0, "32768", "", "'32768' is not a valid integer value for field 'F'"},
        {FieldType::Word, 0, "65535", "65535", ""},
        {FieldType::Word, 0, "-1", "", "'-1' is not a valid integer value for field 'F'"},
        {FieldType::AutoInc, 0, " +7 ", "7", ""},
        {FieldType::Boolean, 0, "TRUE", "True", ""},
        {FieldType::Boolean, 0, "false", "False", ""},
        {FieldType::Boolean, 0, "yes", "", "'yes' is not a valid boolean value for field 'F'"},
        {FieldType::Money, 0, "1234.5678", "1234.5678", ""},
        {FieldType::Money, 0, "-12.30", "-12.3", ""},
        {FieldType::Money, 0, ".00005", "0", ""},  // a tie rounds to the even ten-thousandth
        {FieldType::Money, 0, "0.00015", "0.0002", ""},
        {FieldType::Money, 0, "0.000050001", "0.0001", ""},
        {FieldType::Money, 0, "-922337203685477", "-922337203685477", ""},
        {FieldType::Money, 0, "922337203685477.0001", "",
         "'922337203685477.0001' is not a valid currency value for field 'F'"},
        {FieldType::Money, 0, "99999999999999999999", "",
         "'99999999999999999999' is not a valid currency value for field 'F'"},
        {FieldType::Money, 0, "$5", "", "'$5' is not a valid currency value for field 'F'"},
        {FieldType::Bcd, 0, "0.1", "0.1", ""},
        {FieldType::Date, 0, "3/7/2024", "03/07/2024", ""},
        {FieldType::Date, 0, "2024-02-29", "02/29/2024", ""},
        {FieldType::Date, 0, "12/31/9999", "12/31/9999", ""},
        {FieldType::Date, 0, "2023-02-29", "",
         "'2023-02-29' is not a valid date value for field 'F'"},
        {FieldType::Date, 0, "13/1/2024", "",
         "'13/1/2024' is not a valid date value for field 'F'"},
        {FieldType::Date, 0, "1/1/0000", "", "'1/1/0000' is not a valid date value for field 'F'"},
        {FieldType::Time, 0, "9:05", "09:05:00", ""},
        {FieldType::Time, 0, "23:59:59.5", "23:59:59.500", ""},
        {FieldType::Time, 0, "24:00", "", "'24:00' is not a valid time value for field 'F'"},
        {FieldType::DateTime, 0, "2024-03-07T14:05:00", "03/07/2024 14:05:00", ""},
        {FieldType::DateTime, 0, "3/7/2024", "03/07/2024 00:00:00", ""},
        {FieldType::DateTime, 0, "3/7/2024 25:00", "",
         "'3/7/2024 25:00' is not a valid date and time value for field 'F'"},
        {FieldType::String, 5, "hello", "hello", ""},
        {FieldType::String, 5, "hello!", "", "'hello!' is too long for field 'F'"},
        {FieldType::Bytes, 2, "ab", "ab", ""},
        {FieldType::Memo, 1, "many lines\r\nof text", "many lines\r\nof text", ""},
        {FieldType::Blob, 1, std::string("\0\xff", 2), std::string("\0\xff", 2), ""},
    };
    for (const Case& c : cases) {
        TypedField f(c.type, c.size > 0 ? c.size : 8);
        if (c.refusal.empty()) {
            f.t.SetFieldString("F", c.in);
        } else {
            ExpectError([&] { f.t.SetFieldString("F", c.in); }, c.refusal);
            EXPECT_TRUE(f.t.FieldIsNull("F")) << c.in;
        }
        EXPECT_EQ(f.t.FieldAsString("F"), c.shown) << c.in;
    }
}

TEST(MemDsetTypes, MoneyIsExactAndDatesAreDayNumbers) {
    TypedField money(FieldType::Money);
    money.t.SetFieldFloat("F", 0.1 + 0.2);  // 0.30000000000000004 becomes 0.3 exactly
    EXPECT_EQ(money.t.FieldAsCurrency("F"), 3000);
    money.t.SetFieldCurrency("F", -1);
    EXPECT_EQ(money.t.FieldAsString("F"), "-0.0001");
    EXPECT_EQ(money.t.FieldAsFloat("F"), -0.0001);
    ExpectError([&] { money.t.SetFieldFloat("F", 1e300); },
                "'1e+300' is not a valid currency value for field 'F'");

    // Day 1 is 1 January of year 1, so day numbers agree with the usual
    // proleptic Gregorian ordinals: 03/07/2024 is day 738,952.
    TypedField date(FieldType::Date);
    date.t.SetFieldString("F", "2024-03-07");
    EXPECT_EQ(date.t.FieldAsInteger("F"), 738952);
    EXPECT_EQ(date.t.FieldAsDateTime("F"), 738952 * kMsPerDay);
    date.t.SetFieldDateTime("F", 719163 * kMsPerDay + 1);  // the time is dropped
    EXPECT_EQ(date.t.FieldAsString("F"), "01/01/1970");
    ExpectError([&] { date.t.SetFieldDateTime("F", kMsPerDay - 1); },
                "'86399999' is not a valid date value for field 'F'");
    ExpectError([&] { date.t.SetFieldInteger("F", 5); },
                "'5' is not a valid date value for field 'F'");

    TypedField time(FieldType::Time);
    time.t.SetFieldDateTime("F", -1);  // a millisecond before some midnight
    EXPECT_EQ(time.t.FieldAsString("F"), "23:59:59.999");
    EXPECT_EQ(time.t.FieldAsInteger("F"), kMsPerDay - 1);

    TypedField stamp(FieldType::DateTime);
    stamp.t.SetFieldDateTime("F", 738952 * kMsPerDay + 50'700'250);
    EXPECT_EQ(stamp.t.FieldAsString("F"), "03/07/2024 14:05:00.250");
    EXPECT_EQ(stamp.t.FieldAsInteger("F"), 738952);

    TypedField text(FieldType::String, 10);
    text.t.SetFieldCurrency("F", 125000);  // other types take it as text
    EXPECT_EQ(text.t.FieldAsString("F"), "12.5");
    EXPECT_EQ(text.t.FieldAsCurrency("F"), 125000);
    text.t.SetFieldBoolean("F", true);
    EXPECT_EQ(text.t.FieldAsString("F"), "True");
    EXPECT_TRUE(text.t.FieldAsBoolean("F"));
}

// --- order -----------------------------------------------------------------------------

TEST(MemDsetOrder, EveryTypeOrdersByItsValue) {
    // Texts stored in this order, then the order the key gives them.
    struct Case {
        FieldType type;
        std::vector<std::string> stored;
        std::vector<std::string> ordered;
    };
    const std::vector<Case> cases = {
        {FieldType::String, {"b", "", "B", "a"}, {"", "B", "a", "b"}},
        {FieldType::Money,
         {"0.0001", "", "-0.0001", "100000"},
         {"-0.0001", "", "0.0001", "100000"}},
        {FieldType::Boolean, {"True", "False", ""}, {"False", "", "True"}},
        {FieldType::Date,
         {"01/02/2024", "12/31/2023", "02/01/0900"},
         {"02/01/0900", "12/31/2023", "01/02/2024"}},
        {FieldType::Time,
         {"10:00:00", "09:59:59.999", "", "00:00:00"},
         {"", "00:00:00", "09:59:59.999", "10:00:00"}},
        {FieldType::SmallInt, {"5", "-32768", "", "32767"}, {"-32768", "", "5", "32767"}},
    };
    for (const Case& c : cases) {
        TMemDataSet t("T");
        t.SetFieldsDefinitionItems({"F;" + std::to_string(static_cast<int>(c.type)) + ";8"});
        t.SetOrderBy("F");
        t.Open();
        for (const std::string& text : c.stored) {
            t.AppendNew();
            t.SetFieldString("F", text);
            t.Post();
        }
        EXPECT_EQ(Column(t, 0), c.ordered) << static_cast<int>(c.type);
    }
}

TEST(MemDsetTypes, AutoIncrementNumbersNewRecordsStoredWithoutOne) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"N;14", "Name;1;8;1"});
    t.Open();
    const auto add = [&](const std::string& n, const std::string& name) {
        t.AppendNew();
        t.SetFieldString("N", n);
        t.SetFieldString("Name", name);
        t.Post();
    };
    add("", "a");
    add("", "b");
    add("10", "c");  // a number given is kept, and the next follow it
    add("", "d");
    // A record refused for another field keeps its number empty and uses none.
    t.AppendNew();
    EXPECT_THROW(t.Post(), EMemDatasetError);
    EXPECT_TRUE(t.FieldIsNull("N"));
    t.Cancel();
    add("", "e");
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"1", "2", "10", "11", "12"}));

    t.Clear();  // an emptied table numbers afresh
    add("", "f");
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"1"}));
    add("2147483647", "g");
    t.AppendNew();
    t.SetFieldString("Name", "h");
    ExpectError([&] { t.Post(); }, "Field 'N' must have a value");
    EXPECT_EQ(t.Count(), 2);
}

TEST_F(MemDsetPaySet, EqualKeysLandAfterInStoringOrder) {
    AddGroup(t, 2, 10, 0);
    AddGroup(t, 1, 20, 0);
    AddGroup(t, 2, 30, 0);
    EXPECT_EQ(Walk(t), (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(Walk(t, "SetSize"), (std::vector<int>{20, 10, 30}));
}

TEST_F(MemDsetPaySet, PostPutsCursorOnStoredRecord) {
    AddGroup(t, 5, 1, 0);
    AddGroup(t, 1, 2, 0);
    AddGroup(t, 3, 3, 0);
    EXPECT_EQ(t.Position(), 2);
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 3);
    EXPECT_FALSE(t.AtEnd());
}

TEST_F(MemDsetPaySet, KeyChangedToEqualKeyMovesAfter) {
    AddGroup(t, 1, 10, 0);
    AddGroup(t, 2, 20, 0);
    AddGroup(t, 3, 30, 0);
    t.MoveFirst();  // Sequence 1
    t.Edit();
    t.SetFieldInteger("Sequence", 2);
    t.Post();
    EXPECT_EQ(Walk(t, "SetSize"), (std::vector<int>{20, 10, 30}));
    t.MoveLast();  // Sequence 3 -> 2: after the two 2s
    t.Edit();
    t.SetFieldInteger("Sequence", 2);
    t.Post();
    EXPECT_EQ(t.Position(), 3);
    EXPECT_EQ(Walk(t, "SetSize"), (std::vector<int>{20, 10, 30}));
    // Unchanged key of a record among equals also moves it after them.
    t.MoveFirst();
    t.Edit();
    t.SetFieldFloat("PaySize", 1.0);
    t.Post();
    EXPECT_EQ(t.Position(), 3);
    EXPECT_EQ(Walk(t, "SetSize"), (std::vector<int>{10, 30, 20}));
}

TEST_F(MemDsetPaySet, KeyChangeMovesBackwardsAndForwards) {
    for (int s = 1; s <= 5; ++s) AddGroup(t, s * 10, s, 0);
    t.MoveTo(5);  // 50 -> 15
    t.Edit();
    t.SetFieldInteger("Sequence", 15);
    t.Post();
    EXPECT_EQ(t.Position(), 2);
    EXPECT_EQ(Walk(t), (std::vector<int>{10, 15, 20, 30, 40}));
    t.MoveTo(1);  // 10 -> 35
    t.Edit();
    t.SetFieldInteger("Sequence", 35);
    t.Post();
    EXPECT_EQ(t.Position(), 4);
    EXPECT_EQ(Walk(t), (std::vector<int>{15, 20, 30, 35, 40}));
}

TEST_F(MemDsetPaySet, MoveToAnyPlaceOutsideTheTableStopsAtItsEnds) {
    for (int s = 1; s <= 3; ++s) AddGroup(t, s * 10, s, 0);
    for (const int place : {std::numeric_limits<int>::min(), -1, 0}) {
        t.MoveTo(place);
        EXPECT_EQ(t.Position(), 1) << place;
    }
    t.MoveTo(std::numeric_limits<int>::max());
    EXPECT_EQ(t.Position(), 3);
}

TEST(MemDsetOrder, EmptyNumericSortsAsZero) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"K;6", "Id;3"});
    t.SetOrderBy("K");
    t.Open();
    for (auto [k, id] :
         std::vector<std::pair<const char*, int>>{{"1", 1}, {"", 2}, {"-1", 3}, {"0", 4}}) {
        t.AppendNew();
        t.SetFieldString("K", k);
        t.SetFieldInteger("Id", id);
        t.Post();
    }
    EXPECT_EQ(Walk(t, "Id"), (std::vector<int>{3, 2, 4, 1}));
}

TEST(MemDsetOrder, MultiFieldKeyAndViewName) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3", "B;6", "Id;3"});
    t.SetOrderBy("A;B");
    t.Open();
    EXPECT_EQ(t.CurrentIndexName(), "@ORDERBY_A_B");
    const int rows[][3] = {{2, 1, 1}, {1, 5, 2}, {1, 2, 3}, {2, 0, 4}};
    for (const auto& r : rows) {
        t.AppendNew();
        t.SetFieldInteger("A", r[0]);
        t.SetFieldFloat("B", r[1]);
        t.SetFieldInteger("Id", r[2]);
        t.Post();
    }
    EXPECT_EQ(Walk(t, "Id"), (std::vector<int>{3, 2, 4, 1}));
}

TEST_F(MemDsetPaySet, OrderByNamesView) {
    EXPECT_EQ(t.OrderBy(), "Sequence");
    EXPECT_EQ(t.CurrentIndexName(), "@ORDERBY_Sequence");
}

TEST_F(MemDsetPaySet, OrderBySameTextDoesNotReorder) {
    // Posting an edit moves a record after its equals, so the view's tie order
    // (20, 10, 30 below) differs from what a rebuild over the insertion list
    // would give (10, 20, 30). Setting the same OrderBy must keep it.
    AddGroup(t, 1, 10, 0);
    AddGroup(t, 1, 20, 0);
    AddGroup(t, 1, 30, 0);
    t.MoveFirst();
    t.Edit();
    t.SetFieldFloat("PaySize", 1.0);
    t.Post();  // SetSize 10 moves after its equals
    ASSERT_EQ(Column(t, 0), (std::vector<std::string>{"20", "30", "10"}));
    int notified = 0;
    t.AddObserver([&] { ++notified; });
    t.MoveTo(2);
    notified = 0;
    t.SetOrderBy("Sequence");
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(t.Position(), 2);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"20", "30", "10"}));
}

TEST_F(MemDsetPaySet, OrderByOtherFieldAndBackKeepsCursorRecord) {
    AddGroup(t, 1, 30, 0);
    AddGroup(t, 2, 10, 0);
    AddGroup(t, 3, 20, 0);
    t.MoveTo(1);  // SetSize 30
    t.SetOrderBy("SetSize");
    EXPECT_EQ(t.CurrentIndexName(), "@ORDERBY_SetSize");
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 30);
    EXPECT_EQ(t.Position(), 3);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"10", "20", "30"}));
    // New records go into every view.
    AddGroup(t, 4, 15, 0);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"10", "15", "20", "30"}));
    t.SetOrderBy("Sequence");
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 4);
    t.SetOrderBy("");
    EXPECT_EQ(t.CurrentIndexName(), "");
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1", "2", "3", "4"}));  // insertion order
}

TEST_F(MemDsetPaySet, OrderByMissingFieldRestoresPrevious) {
    AddGroup(t, 2, 1, 0);
    AddGroup(t, 1, 2, 0);
    ExpectError([&] { t.SetOrderBy("Sequence;Nope"); }, "Field to index not found", 3);
    EXPECT_EQ(t.OrderBy(), "Sequence");
    EXPECT_EQ(t.CurrentIndexName(), "@ORDERBY_Sequence");
    EXPECT_EQ(Walk(t), (std::vector<int>{1, 2}));
}

TEST(MemDsetOrder, OrderByOnClosedTableCheckedAgainstDefinitions) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3"});
    ExpectError([&] { t.SetOrderBy("B"); }, "Field to index not found", 3);
    EXPECT_EQ(t.OrderBy(), "");
    t.SetOrderBy("A");
    t.Open();
    EXPECT_EQ(t.CurrentIndexName(), "@ORDERBY_A");
}

TEST(MemDsetOrder, BuildingViewOverExistingRecordsSorts) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3", "B;3"});
    t.Open();
    const int vals[] = {5, 3, 9, 1};
    for (int v : vals) {
        t.AppendNew();
        t.SetFieldInteger("A", v);
        t.SetFieldInteger("B", -v);
        t.Post();
    }
    EXPECT_EQ(Walk(t, "A"), (std::vector<int>{5, 3, 9, 1}));
    t.SetOrderBy("A");
    EXPECT_EQ(Walk(t, "A"), (std::vector<int>{1, 3, 5, 9}));
    t.SetOrderBy("B");
    EXPECT_EQ(Walk(t, "A"), (std::vector<int>{9, 5, 3, 1}));
}

TEST(MemDsetOrder, ReservedAndUnknownViewNames) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3", "B;3"});
    t.SetOrderBy("A");
    t.Open();
    ExpectError([&] { t.SetCurrentIndexName("@RANGE_INDEX"); }, "System index: Internal use only",
                9);
    ExpectError([&] { t.SetCurrentIndexName("@FILTER_INDEX"); }, "System index: Internal use only",
                9);
    ExpectError([&] { t.SetCurrentIndexName("@ORDERBY_B"); }, "Index does not exist", 10);
    EXPECT_EQ(t.CurrentIndexName(), "@ORDERBY_A");
    t.SetOrderBy("B");
    t.SetCurrentIndexName("@ORDERBY_A");
    EXPECT_EQ(t.OrderBy(), "A");
}

// --- options -----------------------------------------------------------------------------

TEST(MemDsetOptions, NewTableHasFieldMappingOnly) {
    TMemDataSet t("T");
    EXPECT_EQ(t.Options(), MemDataSetOptions{MemDataSetOption::UseFieldMappingOnLoadDataset});
    DefinePaySetTable(t);
    EXPECT_EQ(t.Options(), MemDataSetOptions{MemDataSetOption::UseFieldMappingOnLoadDataset});
}

TEST(MemDsetOptions, ReleaseAutoIndexesDropsOtherViews) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3", "B;3"});
    t.SetOrderBy("A");
    t.Open();
    t.SetOrderBy("B");
    t.SetCurrentIndexName("@ORDERBY_A");  // kept without the option
    t.SetOptions({MemDataSetOption::ReleaseAutoIndexes});
    t.SetOrderBy("B");
    ExpectError([&] { t.SetCurrentIndexName("@ORDERBY_A"); }, "Index does not exist", 10);
}

TEST(MemDsetOptions, EmptyTableOnCloseDiscardsRecords) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3"});
    t.Open();
    t.AppendNew();
    t.SetFieldInteger("A", 1);
    t.Post();
    t.SetOptions({MemDataSetOption::EmptyTableOnClose});
    t.Close();
    EXPECT_EQ(t.Count(), 0);
    t.Open();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_TRUE(t.AtEnd());
}

TEST(MemDsetOptions, DescendingOrderKeepsTieOrder) {
    TMemDataSet t("T");
    t.SetFieldsDefinitionItems({"A;3", "Id;3"});
    t.SetOptions({MemDataSetOption::SetOrderByDescending});
    t.SetOrderBy("A");
    t.Open();
    const int rows[][2] = {{2, 1}, {1, 2}, {2, 3}, {3, 4}};
    for (const auto& r : rows) {
        t.AppendNew();
        t.SetFieldInteger("A", r[0]);
        t.SetFieldInteger("Id", r[1]);
        t.Post();
    }
    EXPECT_EQ(Walk(t, "Id"), (std::vector<int>{4, 1, 3, 2}));
    t.SetOptions({});  // back to ascending, ties still in storing order
    EXPECT_EQ(Walk(t, "Id"), (std::vector<int>{2, 1, 3, 4}));
}

// --- cursor -----------------------------------------------------------------------------

TEST_F(MemDsetPaySet, EmptyTable) {
    t.MoveFirst();
    EXPECT_TRUE(t.AtEnd());
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.Position(), 0);
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 0);
    EXPECT_EQ(t.FieldAsFloat("PaySize"), 0.0);
    EXPECT_EQ(t.FieldAsString("PaySize"), "");
    t.SavePosition();
    AddGroup(t, 1, 1, 0);
    AddGroup(t, 2, 1, 0);
    t.MoveFirst();
    t.RestorePosition();  // no mark was taken: nothing happens
    EXPECT_EQ(t.Position(), 1);
    ExpectError(
        [&] {
            t.Delete();
            t.Delete();
            t.Delete();
        },
        "Cannot perform this operation on an empty dataset");
    EXPECT_EQ(t.Count(), 0);
    ExpectError([&] { t.Edit(); }, "Cannot perform this operation on an empty dataset");
}

TEST_F(MemDsetPaySet, MovementAndAtEnd) {
    for (int s = 1; s <= 3; ++s) AddGroup(t, s, s, 0);
    t.MoveFirst();
    EXPECT_FALSE(t.AtEnd());
    EXPECT_EQ(t.Position(), 1);
    t.MoveNext();
    t.MoveNext();
    EXPECT_EQ(t.Position(), 3);
    EXPECT_FALSE(t.AtEnd());
    t.MoveNext();
    EXPECT_TRUE(t.AtEnd());
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 3);  // still on the last record
    t.MovePrior();
    EXPECT_FALSE(t.AtEnd());
    EXPECT_EQ(t.Position(), 2);
    t.MovePrior();
    t.MovePrior();
    EXPECT_EQ(t.Position(), 1);
    t.MoveLast();
    EXPECT_EQ(t.Position(), 3);
    EXPECT_FALSE(t.AtEnd());
    t.MoveTo(2);
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 2);
    t.MoveTo(99);
    EXPECT_EQ(t.Position(), 3);
    t.MoveTo(0);
    EXPECT_EQ(t.Position(), 1);
}

TEST_F(MemDsetPaySet, SaveAndRestorePosition) {
    for (int s = 1; s <= 4; ++s) AddGroup(t, s, s, 0);
    t.MoveTo(3);
    t.SavePosition();
    t.MoveFirst();
    t.RestorePosition();
    EXPECT_EQ(t.Position(), 3);
    // The mark is a place, not a record: a record stored before it shifts it.
    t.MoveFirst();
    AddGroup(t, 0, 0, 0);
    t.RestorePosition();
    EXPECT_EQ(t.Position(), 3);
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 2);
}

TEST_F(MemDsetPaySet, RestorePositionStoresPendingRecord) {
    for (int s = 1; s <= 3; ++s) AddGroup(t, s, s, 0);
    t.MoveTo(2);
    t.SavePosition();
    t.AppendNew();
    t.SetFieldInteger("Sequence", 9);
    t.RestorePosition();
    EXPECT_EQ(t.Count(), 4);
    EXPECT_EQ(t.State(), DataSetState::Browse);
    EXPECT_EQ(t.Position(), 2);
}

TEST_F(MemDsetPaySet, ClearDropsSavedMark) {
    AddGroup(t, 1, 1, 0);
    t.SavePosition();
    t.Clear();
    AddGroup(t, 1, 1, 0);
    AddGroup(t, 2, 1, 0);
    t.RestorePosition();
    EXPECT_EQ(t.Position(), 2);  // unchanged: no mark
}

// --- pending records --------------------------------------------------------------------

TEST_F(MemDsetPaySet, PendingRecordStoredByMoveFirst) {
    AddGroup(t, 1, 1, 0);
    t.AppendNew();
    t.SetFieldInteger("Sequence", 0);
    EXPECT_EQ(t.Count(), 1);
    EXPECT_EQ(t.State(), DataSetState::Insert);
    t.MoveFirst();
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.State(), DataSetState::Browse);
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 0);
}

TEST_F(MemDsetPaySet, PendingRecordWithoutValuesDroppedByMovement) {
    AddGroup(t, 1, 1, 0);
    for (int op = 0; op < 5; ++op) {
        t.AppendNew();
        switch (op) {
            case 0:
                t.MoveFirst();
                break;
            case 1:
                t.MoveLast();
                break;
            case 2:
                t.MoveNext();
                break;
            case 3:
                t.AppendNew();
                t.Cancel();
                break;
            case 4:
                t.Clear();
                break;
        }
        EXPECT_EQ(t.State(), DataSetState::Browse) << op;
        EXPECT_EQ(t.Count(), op == 4 ? 0 : 1) << op;
    }
}

TEST_F(MemDsetPaySet, EachMovementStoresPendingRecord) {
    for (int op = 0; op < 6; ++op) {
        EmptyTable(t);
        AddGroup(t, 1, 1, 0);
        t.SavePosition();
        t.AppendNew();
        t.SetFieldInteger("Sequence", 2);
        switch (op) {
            case 0:
                t.MoveFirst();
                break;
            case 1:
                t.MoveLast();
                break;
            case 2:
                t.MoveNext();
                break;
            case 3:
                t.AppendNew();
                break;
            case 4:
                t.RestorePosition();
                break;
            case 5:
                t.SettlePending();
                break;
        }
        EXPECT_EQ(t.Count(), 2) << op;
    }
}

TEST_F(MemDsetPaySet, DeleteWithPendingNewRecordCancelsOnlyThat) {
    AddGroup(t, 1, 1, 0);
    t.AppendNew();
    t.SetFieldInteger("Sequence", 2);
    t.Delete();
    EXPECT_EQ(t.State(), DataSetState::Browse);
    EXPECT_EQ(t.Count(), 1);
    t.MoveFirst();
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 1);
}

TEST_F(MemDsetPaySet, RequiredSequenceKeepsRecordPending) {
    AddGroup(t, 1, 1, 0);
    t.AppendNew();
    t.SetFieldInteger("SetSize", 4);
    ExpectError([&] { t.MoveFirst(); }, "Field 'Sequence' must have a value");
    EXPECT_EQ(t.State(), DataSetState::Insert);
    EXPECT_EQ(t.Count(), 1);
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 4);
    ExpectError([&] { t.Post(); }, "Field 'Sequence' must have a value");
    ExpectError([&] { t.AppendNew(); }, "Field 'Sequence' must have a value");
    ExpectError([&] { t.Clear(); }, "Field 'Sequence' must have a value");
    EXPECT_EQ(t.Count(), 1);
    t.SetFieldInteger("Sequence", 0);
    t.MoveFirst();
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 4);
}

TEST_F(MemDsetPaySet, RequiredFieldOnEdit) {
    AddGroup(t, 1, 1, 0);
    t.Edit();
    t.SetFieldString("Sequence", "");
    ExpectError([&] { t.Post(); }, "Field 'Sequence' must have a value");
    EXPECT_EQ(t.State(), DataSetState::Edit);
    t.Cancel();
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 1);
}

TEST_F(MemDsetPaySet, CancelDropsChanges) {
    AddGroup(t, 1, 5, 1.25);
    t.Edit();
    t.SetFieldInteger("SetSize", 9);
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 9);
    EXPECT_EQ(t.CellText(0, 0), "9");  // the grid shows the pending change
    t.Cancel();
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 5);
    t.AppendNew();
    t.SetFieldInteger("Sequence", 3);
    t.Cancel();
    EXPECT_EQ(t.Count(), 1);
    EXPECT_EQ(t.FieldAsInteger("SetSize"), 5);  // back on the record it was on
}

TEST(MemDsetPending, ExplicitPostStoresRecordWithoutValues) {
    TMemDataSet u("U");
    u.SetFieldsDefinitionItems({"A;3"});
    u.Open();
    u.AppendNew();
    u.Post();
    EXPECT_EQ(u.Count(), 1);
}

TEST_F(MemDsetPaySet, EditWithoutChangesDroppedByMovement) {
    AddGroup(t, 1, 1, 0);
    AddGroup(t, 1, 2, 0);
    t.MoveFirst();
    t.Edit();
    t.MoveLast();  // nothing set: cancelled, so it does not move after its equal
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"1", "2"}));
}

TEST_F(MemDsetPaySet, DeleteMovesToNextRecord) {
    for (int s = 1; s <= 3; ++s) AddGroup(t, s, s, 0);
    t.MoveTo(2);
    t.Delete();
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 3);
    t.Delete();
    EXPECT_EQ(t.FieldAsInteger("Sequence"), 1);
    t.Delete();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_TRUE(t.AtEnd());
}

// --- life cycle -----------------------------------------------------------------------------

TEST_F(MemDsetPaySet, CloseAndReopenKeepsRecords) {
    AddGroup(t, 2, 1, 0);
    AddGroup(t, 1, 1, 0);
    t.Close();
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(t.State(), DataSetState::Inactive);
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.RowCount(), 0);
    t.Open();
    EXPECT_EQ(t.Position(), 1);
    EXPECT_EQ(Walk(t), (std::vector<int>{1, 2}));
}

TEST_F(MemDsetPaySet, CloseDropsPendingRecord) {
    t.AppendNew();
    t.SetFieldInteger("Sequence", 1);
    t.Close();
    t.Open();
    EXPECT_EQ(t.Count(), 0);
}

TEST_F(MemDsetPaySet, ClearWhileClosedThenReopenKeepsOrder) {
    AddGroup(t, 1, 1, 0);
    t.Close();
    t.Clear();
    EXPECT_EQ(t.Count(), 0);
    t.Open();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_TRUE(t.AtEnd());
    EXPECT_EQ(t.OrderBy(), "Sequence");
    AddGroup(t, 3, 1, 0);
    AddGroup(t, 1, 2, 0);
    AddGroup(t, 2, 3, 0);
    EXPECT_EQ(Walk(t), (std::vector<int>{1, 2, 3}));
}

TEST_F(MemDsetPaySet, ClearOpenStoresThenDiscardsPending) {
    AddGroup(t, 1, 1, 0);
    t.AppendNew();
    t.SetFieldInteger("Sequence", 2);
    t.Clear();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.State(), DataSetState::Browse);
    EXPECT_TRUE(t.Active());
    AddGroup(t, 2, 1, 0);
    AddGroup(t, 1, 1, 0);
    EXPECT_EQ(Walk(t), (std::vector<int>{1, 2}));
}

TEST_F(MemDsetPaySet, ClosedTableRefusesCursorWork) {
    t.Close();
    EXPECT_TRUE(t.AtEnd());
    ExpectError([&] { t.MoveFirst(); }, "Cannot perform this operation on a closed dataset");
    ExpectError([&] { t.AppendNew(); }, "Cannot perform this operation on a closed dataset");
    ExpectError([&] { t.SetFieldInteger("Sequence", 1); }, "Dataset not in edit or insert mode");
}

// --- grid access ---------------------------------------------------------------------------

TEST_F(MemDsetPaySet, GridRowsFollowOrderAndShowPendingRecord) {
    AddGroup(t, 2, 20, 2.5);
    AddGroup(t, 1, 10, 100);
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.CurrentRow(), 0);
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Column(t, 2), (std::vector<std::string>{"100", "2.5"}));
    t.AppendNew();
    EXPECT_EQ(t.RowCount(), 3);
    EXPECT_EQ(t.CurrentRow(), 2);
    EXPECT_EQ(t.CellText(2, 1), "");
    t.SetFieldInteger("Sequence", 0);
    EXPECT_EQ(t.CellText(2, 1), "0");
    t.Post();
    EXPECT_EQ(t.CurrentRow(), 0);
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_THROW((void)t.CellText(3, 0), std::out_of_range);
    EXPECT_THROW((void)t.CellText(0, 5), std::out_of_range);
}

TEST_F(MemDsetPaySet, GridOnEmptyTable) {
    EXPECT_EQ(t.RowCount(), 0);
    EXPECT_EQ(t.CurrentRow(), -1);
}

// --- notification --------------------------------------------------------------------------

TEST_F(MemDsetPaySet, ObserversNotifiedAfterEachChange) {
    int n = 0;
    const int h = t.AddObserver([&] { ++n; });
    t.AppendNew();
    EXPECT_EQ(n, 1);
    t.SetFieldInteger("Sequence", 1);
    EXPECT_EQ(n, 2);
    t.Post();
    EXPECT_EQ(n, 3);
    (void)t.FieldAsInteger("Sequence");
    (void)t.Count();
    EXPECT_EQ(n, 3);
    t.RemoveObserver(h);
    t.MoveFirst();
    EXPECT_EQ(n, 3);
}

TEST_F(MemDsetPaySet, UpdatesBatchNotificationsIntoOne) {
    int n = 0;
    t.AddObserver([&] { ++n; });
    t.BeginUpdate();
    t.BeginUpdate();
    EXPECT_EQ(t.UpdateCount(), 2);
    for (int s = 1; s <= 10; ++s) AddGroup(t, s, 1, 1.0);
    t.MoveFirst();
    t.EndUpdate();
    EXPECT_EQ(n, 0);
    EXPECT_EQ(t.UpdateCount(), 1);
    t.EndUpdate();
    EXPECT_EQ(n, 1);
    EXPECT_EQ(t.UpdateCount(), 0);
    t.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(t.UpdateCount(), 0);
    EXPECT_EQ(n, 1);
}

TEST_F(MemDsetPaySet, OperationsWithNothingToDoDoNotNotify) {
    AddGroup(t, 1, 2, 3.0);
    int n = 0;
    t.AddObserver([&] { ++n; });
    t.Cancel();
    t.Post();
    t.SetOrderBy(t.OrderBy());
    t.EndUpdate();
    EXPECT_EQ(n, 0);
}

TEST_F(MemDsetPaySet, FailedOperationDoesNotNotify) {
    int n = 0;
    t.AddObserver([&] { ++n; });
    t.AppendNew();
    n = 0;
    EXPECT_THROW(t.Post(), EMemDatasetError);
    EXPECT_THROW(t.SetFieldString("SetSize", "x"), EMemDatasetError);
    EXPECT_EQ(n, 0);
}

// --- the system's tables ---------------------------------------------------------------------

TEST(MemDsetSystemTables, Definitions) {
    struct Case {
        void (*define)(TMemDataSet&);
        std::vector<std::string> items;
        std::string orderBy;
    };
    const std::vector<Case> cases = {
        {DefinePaySetTable,
         {"SetSize;3;0;0", "Sequence;3;0;1", "PaySize;6;0;0", "PriorPds;3;0;0", "AddDays;3;0;0"},
         "Sequence"},
        {DefineDetailTable,
         {"Sequence;3;0;1", "PaySize;6;0;0", "PriorPds;3;0;0", "AddDays;3;0;0", "UnEarnIn;6;0;0",
          "Rebate;6;0;0"},
         "Sequence"},
        {DefineVariableTable,
         {"GrpID;3;0;0", "GrpSize;3;0;0", "Rate;6;0;0", "Payment;6;0;0", "Interval;3;0;0",
          "AddDays;3;0;0"},
         "GrpID"},
        {DefineVarScheduleTable,
         {"Sequence;3;0;0", "OldBal;6;0;0", "Rate;6;0;0", "RegPds;3;0;0", "AddDays;3;0;0",
          "Interest;6;0;0", "Payment;6;0;0", "NewBal;6;0;0"},
         "Sequence"},
    };
    for (const auto& c : cases) {
        TMemDataSet t("T");
        c.define(t);
        EXPECT_TRUE(t.Active());
        EXPECT_EQ(t.Count(), 0);
        EXPECT_EQ(t.OrderBy(), c.orderBy);
        EXPECT_EQ(t.FieldsDefinitionItems(), c.items);
        EXPECT_EQ(t.FieldCount(), static_cast<int>(c.items.size()));
    }
}

TEST(MemDsetSystemTables, RedefiningATableEmptiesIt) {
    TMemDataSet t("T");
    DefinePaySetTable(t);
    AddGroup(t, 1, 1, 1.0);
    DefineVariableTable(t);
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.OrderBy(), "GrpID");
    EXPECT_EQ(t.FieldIndex("Rate"), 2);
}

TEST_F(MemDsetPaySet, EmptyTableKeepsOrder) {
    AddGroup(t, 1, 1, 1.0);
    t.AppendNew();
    t.SetFieldInteger("Sequence", 2);
    EmptyTable(t);
    EXPECT_TRUE(t.Active());
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.OrderBy(), "Sequence");
    AddGroup(t, 2, 1, 1.0);
    AddGroup(t, 1, 1, 1.0);
    EXPECT_EQ(Walk(t), (std::vector<int>{1, 2}));
}

TEST(MemDsetVolume, ManyInsertsInRandomOrderStaySorted) {
    TMemDataSet t("T");
    DefineVarScheduleTable(t);
    unsigned x = 12345;
    for (int k = 0; k < 2000; ++k) {
        x = x * 1103515245u + 12345u;
        t.AppendNew();
        t.SetFieldInteger("Sequence", static_cast<std::int32_t>((x >> 8) % 500));
        t.SetFieldInteger("RegPds", k);
    }
    t.MoveFirst();
    EXPECT_EQ(t.Count(), 2000);
    int prevSeq = -1, prevId = -1, n = 0;
    while (!t.AtEnd()) {
        const int s = t.FieldAsInteger("Sequence");
        const int id = t.FieldAsInteger("RegPds");
        ASSERT_GE(s, prevSeq);
        if (s == prevSeq) {
            ASSERT_GT(id, prevId);  // ties in storing order
        }
        prevSeq = s;
        prevId = id;
        ++n;
        t.MoveNext();
    }
    EXPECT_EQ(n, 2000);
}

}  // namespace
}  // namespace qv
