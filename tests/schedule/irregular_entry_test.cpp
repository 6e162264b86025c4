#include "schedule/irregular_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace qv {
namespace {

using Box = IrregularBox;

IrregularTexts StartTexts() {
    IrregularTexts texts;
    for (const IrregularBoxText& info : kIrregularBoxes) texts[info.box] = info.startText;
    return texts;
}

// The fields the page's boxes fill, for comparing states whole.
auto BoxFields(const LoanState& s) {
    return std::tuple(s.loan.AmtFin, s.loan.TotPay, s.loan.PayCount, s.group.GroupSize,
                      s.group.GroupPay, s.group.GroupPds, s.group.GroupExtra);
}

// Each box's value lands where the loan or the group being entered keeps
// it, and only there: a row pointing at the wrong variable changes a
// second field.
TEST(LeaveIrregularBox, EachBoxStoresItsOwnValueOnly) {
    const struct {
        Box box;
        const char* text;
        void (*expect)(LoanState&);
    } cases[] = {
        {Box::edAmtFin, "1,250.50", [](LoanState& s) { s.loan.AmtFin = 1250.5; }},
        {Box::edTotPay, "1066.2049", [](LoanState& s) { s.loan.TotPay = 10662049; }},
        {Box::edPayCount, "485", [](LoanState& s) { s.loan.PayCount = 485; }},
        {Box::edSizeGroup, "7", [](LoanState& s) { s.group.GroupSize = 7; }},
        {Box::edGroupPay, "88.25", [](LoanState& s) { s.group.GroupPay = 88.25; }},
        {Box::edGroupPds, "3", [](LoanState& s) { s.group.GroupPds = 3; }},
        {Box::edGroupExtra, "12", [](LoanState& s) { s.group.GroupExtra = 12; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(IrregularBoxInfo(c.box).name);
        LoanState s;
        IrregularTexts texts = StartTexts();
        texts[c.box] = c.text;
        const IrregularExit exit = LeaveIrregularBox(s.loan, s.group, c.box, texts);
        EXPECT_TRUE(exit.check.valid);
        EXPECT_FALSE(exit.focus.has_value());
        LoanState expected;
        c.expect(expected);
        EXPECT_EQ(BoxFields(s), BoxFields(expected));
    }
}

// The one-group suggestion copies the count as the box shows it after its
// check (thousands separators dropped), not as it was typed; a refused
// count suggests nothing and sends the focus back.
TEST(LeaveIrregularBox, CountSuggestsOneGroupFromTheCheckedCount) {
    LoanState s;
    s.loan.TotPay = 12'000'0000;  // 12,000.00
    IrregularTexts texts;
    for (const IrregularBoxText& info : kIrregularBoxes) texts[info.box] = info.resetText;
    texts[Box::edPayCount] = "1,200";
    const IrregularExit exit = LeaveIrregularBox(s.loan, s.group, Box::edPayCount, texts);
    ASSERT_TRUE(exit.check.valid);
    EXPECT_EQ(exit.fills,
              (std::vector<BoxFill<Box>>{
                  {Box::edGroupPay, "10.00"}, {Box::edSizeGroup, "1200"}, {Box::edGroupPds, "1"}}));

    texts[Box::edPayCount] = "12x";
    const IrregularExit refused = LeaveIrregularBox(s.loan, s.group, Box::edPayCount, texts);
    EXPECT_FALSE(refused.check.valid);
    EXPECT_TRUE(refused.fills.empty());
    EXPECT_EQ(refused.focus, std::optional<Box>(Box::edPayCount));
}

}  // namespace
}  // namespace qv
