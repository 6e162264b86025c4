#include "varrate/vary_list.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "data/memdset.h"
#include "schedule/group_schedule.h"
#include "varrate/var_group.h"

namespace qv {
namespace {

class VaryListTest : public ::testing::Test {
  protected:
    VaryListTest() : variable("mdsVariable") { DefineVariableTable(variable); }

    VaryAddResult Add(std::string_view count, std::string_view payment,
                      std::string_view rate = "12.0", std::string_view regPds = "1",
                      std::string_view addDays = "0") {
        return AddVaryGroup(state.vary, state.group, variable,
                            {count, payment, regPds, addDays, rate});
    }

    std::vector<VarGroup> Groups() { return ReadVarGroups(variable); }

    LoanState state;
    TMemDataSet variable;
};

TEST_F(VaryListTest, AddGroupNumbersSumsAndRecordsAfterClearList) {
    state.vary.VaryGroupNumber = 9;
    state.group.GroupPayCount = 4;
    state.group.GroupPayTotal = 100.0;
    state.vary.ContractPrincipal = 750.0;
    ClearVaryList(state.vary, state.group, variable);

    const VaryAddResult first = Add("3", "100.00");
    EXPECT_TRUE(first.added);
    EXPECT_TRUE(first.messages.empty());
    EXPECT_EQ(first.groupLabel, "Payment Group # 2 has");
    EXPECT_EQ(first.summary, "3 Payments, Total= $300.00");
    // The rate and the principal boxes keep what they show.
    EXPECT_EQ(first.boxes, (std::vector<VaryBoxText>{{VaryBox::ebxVaryPayment, "0.00"},
                                                     {VaryBox::ebxVaryPayCount, "1"},
                                                     {VaryBox::ebxVaryAddDays, "0"},
                                                     {VaryBox::ebxVaryRegPds, "1"}}));

    const VaryAddResult second = Add("2", "50.00", "9.75", "2", "15");
    EXPECT_EQ(second.groupLabel, "Payment Group # 3 has");
    EXPECT_EQ(second.summary, "5 Payments, Total= $400.00");
    // A group of no payments is a group too.
    const VaryAddResult empty = Add("0", "20.00");
    EXPECT_EQ(empty.groupLabel, "Payment Group # 4 has");
    EXPECT_EQ(empty.summary, "5 Payments, Total= $400.00");

    EXPECT_EQ(Groups(),
              (std::vector<VarGroup>{
                  {1, 3, 12.0, 100.0, 1, 0}, {2, 2, 9.75, 50.0, 2, 15}, {3, 0, 12.0, 20.0, 1, 0}}));
    EXPECT_EQ(state.group.GroupPayCount, 5);
    EXPECT_EQ(state.vary.VaryGroupNumber, 4);
}

TEST_F(VaryListTest, RunningCountAndTotalAreSharedWithTheIrregularPage) {
    // Two groups added on the irregular page beforehand.
    TakeNewGroup(state.group, {2, 0, 10.0, 1, 0});
    TakeNewGroup(state.group, {1, 0, 5.5, 1, 0});
    const VaryAddResult r = Add("3", "100.00");
    EXPECT_EQ(r.summary, "6 Payments, Total= $325.50");
    EXPECT_EQ(r.groupLabel, "Payment Group # 2 has");
    // Each page numbers its own groups.
    EXPECT_EQ(state.group.GroupNumber, 3);
    EXPECT_EQ(Groups().front().GrpID, 1);
    // The shared group variables hold what was added last.
    EXPECT_EQ(state.group.GroupPay, 100.0);
    EXPECT_EQ(state.group.GroupPds, 1);
}

TEST_F(VaryListTest, AddGroupRefusesTextsThatAreNoNumbersAndListsTooLong) {
    const std::string syntax(kVaryGroupSyntaxError);
    const std::string tooMany(kVaryTooManyPayments);
    struct Case {
        const char* count;
        const char* payment;
        const char* rate;
        const char* regPds;
        const char* addDays;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"2.5", "10.00", "12.0", "1", "0", {syntax}},
        {"2", "88.8x", "12.0", "1", "0", {syntax}},
        {"2", "10.00", "", "1", "0", {syntax}},
        {"2", "10.00", "-3", "1", "0", {syntax}},
        {"2", "10.00", "12.0", "1 ", "0", {syntax}},
        {"2", "10.00", "12.0", "1", "99999999999", {syntax}},
        {"19991", "10.00", "12.0", "1", "0", {tooMany}},
        {"2147483647", "$10", "12.0", "1", "0", {syntax, tooMany}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.count) + " / " + c.payment + " / " + c.rate);
        LoanState before;
        before.group.GroupPayCount = 10;
        before.group.GroupPayTotal = 100.0;
        before.vary.VaryGroupNumber = 3;
        state = before;
        const VaryAddResult r = Add(c.count, c.payment, c.rate, c.regPds, c.addDays);
        EXPECT_FALSE(r.added);
        std::vector<std::string> texts;
        for (const PendingMessage& m : r.messages) texts.push_back(m.text);
        EXPECT_EQ(texts, c.messages);
        EXPECT_EQ(variable.RowCount(), 0);
        EXPECT_EQ(state.group.GroupPayCount, 10);
        EXPECT_EQ(state.group.GroupPayTotal, 100.0);
        EXPECT_EQ(state.vary.VaryGroupNumber, 3);
    }
    // The texts that did convert are held even though the add stopped.
    Add("4", "7.25", "15.5", "x", "0");
    EXPECT_EQ(state.vary.VaryGroupSize, 4);
    EXPECT_EQ(state.group.GroupPay, 7.25);
    EXPECT_EQ(state.vary.VaryRate, 15.5);
}

TEST_F(VaryListTest, ClearListStartsOverWithTheShownPrincipal) {
    state.vary.ContractPrincipal = 500.0;
    Add("3", "100.00");
    Add("1", "5.00");
    const VaryClearResult r = ClearVaryList(state.vary, state.group, variable);
    EXPECT_EQ(r.interval, Interval::Monthly);
    EXPECT_EQ(r.groupLabel, "Payment Group # 1 has");
    EXPECT_EQ(r.summary, "0 Payments, Total $0.00");
    EXPECT_EQ(r.boxes, (std::vector<VaryBoxText>{{VaryBox::ebxPrincipal, "00.00"},
                                                 {VaryBox::ebxVaryPayment, "0.00"},
                                                 {VaryBox::ebxVaryRate, "12.0"},
                                                 {VaryBox::ebxVaryPayCount, "1"},
                                                 {VaryBox::ebxVaryAddDays, "0"},
                                                 {VaryBox::ebxVaryRegPds, "1"}}));
    // What the principal box shows is what "Amortize" uses.
    EXPECT_EQ(state.vary.ContractPrincipal, 0.0);
    EXPECT_EQ(state.group.GroupPayCount, 0);
    EXPECT_EQ(state.group.GroupPayTotal, 0.0);
    EXPECT_EQ(variable.RowCount(), 0);
    Add("2", "1.00");
    EXPECT_EQ(Groups().front().GrpID, 1);
}

TEST_F(VaryListTest, ALoadedListCarriesOnWhereItEnds) {
    // A list cleared and then loaded: groups added next must follow the
    // loaded ones, not take their numbers, and the summary goes on from the
    // loaded count and total.
    ClearVaryList(state.vary, state.group, variable);
    std::istringstream file("0,3,0,2500,0,0\r\n4,1,12,100,1,0\r\n7,2,9.5,50,2,15\r\n");
    const VarListLoad load = LoadVarDataFromStream(variable, file, 50, "list.txt");
    ASSERT_TRUE(load.loaded);
    TakeVaryListLoad(state.vary, state.group, variable, load);
    EXPECT_EQ(state.vary.ContractPrincipal, 2500.0);

    const VaryAddResult r = Add("1", "25.00");
    EXPECT_EQ(r.groupLabel, "Payment Group # 9 has");
    EXPECT_EQ(r.summary, "4 Payments, Total= $225.00");
    EXPECT_EQ(Groups().back(), (VarGroup{8, 1, 12.0, 25.0, 1, 0}));

    // Without a header the groups load and the principal stays; a refused
    // load changes nothing.
    std::istringstream bare("1,2,5,10,1,0\r\n");
    const VarListLoad headless = LoadVarDataFromStream(variable, bare, 14, "bare.txt");
    ASSERT_TRUE(headless.headerMissing);
    TakeVaryListLoad(state.vary, state.group, variable, headless);
    EXPECT_EQ(state.vary.ContractPrincipal, 2500.0);
    EXPECT_EQ(state.vary.VaryGroupNumber, 2);
    EXPECT_EQ(state.group.GroupPayCount, 2);
    TakeVaryListLoad(state.vary, state.group, variable, VarListLoad{});
    EXPECT_EQ(state.vary.VaryGroupNumber, 2);
    EXPECT_EQ(state.group.GroupPayTotal, 20.0);
}

TEST(VaryBoxes, EachBoxChecksWithItsLabelAndFillsItsVariable) {
    struct Case {
        VaryBox box;
        const char* text;
        double stored;  // the variable afterwards
        const char* message;
    };
    const std::vector<Case> cases = {
        {VaryBox::ebxPrincipal, "$1,000", 1000.0, ""},
        {VaryBox::ebxVaryRate, "12.345678", 12.3457, ""},
        {VaryBox::ebxVaryPayment, "1l0", 0.0,
         "Payment $/Interval contains Lowercase L , not part of a positive decimal number "
         "!\n\rResetting input value of 1"},
        {VaryBox::ebxVaryPayCount, "2.5", 0.0,
         "Error: # Payments/Variable Group contains . , not part of a positive whole number "
         "!\n\rResetting input value of 2"},
        {VaryBox::ebxVaryRegPds, "3", 3.0, ""},
        {VaryBox::ebxVaryAddDays, "-5", 0.0,
         "Error: Extra Days/Interval contains - , not part of a positive whole number "
         "!\n\rResetting input value of "},
        {VaryBox::ebxVaryRate, "", 0.0,
         "Annualized Variable % is not numeric !\n\rResetting input value of "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LoanState s;
        s.vary.ContractPrincipal = s.group.GroupPay = s.vary.VaryRate = 99.0;
        s.vary.VaryGroupSize = s.group.GroupPds = s.group.GroupExtra = 99;
        const EntryCheck check = CheckVaryBox(s.vary, s.group, c.box, c.text);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.focusBack, *c.message != '\0');
        const double values[] = {s.vary.ContractPrincipal,   double(s.vary.VaryGroupSize),
                                 s.group.GroupPay,           double(s.group.GroupPds),
                                 double(s.group.GroupExtra), s.vary.VaryRate};
        for (int k = 0; k < 6; ++k) {
            const bool mine = kVaryBoxes[static_cast<std::size_t>(k)].box == c.box;
            EXPECT_DOUBLE_EQ(values[k], mine ? c.stored : 99.0) << "box " << k;
        }
    }
}

}  // namespace
}  // namespace qv
