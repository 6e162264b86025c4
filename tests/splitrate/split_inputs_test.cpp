#include "splitrate/split_inputs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qv {
namespace {

// The page's side, recorded in one log with the messages so that the order
// of box writes, messages and focus moves can be checked.
class Page : public SplitPageBoxes {
  public:
    void SetBoxText(SplitBox box, const std::string& text) override {
        log.push_back(std::string(SplitBoxInfo(box).name) + "=" + text);
    }
    void FocusBox(SplitBox box) override {
        log.push_back("focus " + std::string(SplitBoxInfo(box).name));
    }
    std::vector<std::string> log;
};

class LoggingPort : public UserPort {
  public:
    explicit LoggingPort(std::vector<std::string>& log) : log_(log) {}
    Answer Show(MessageKind, std::string_view text) override {
        log_.push_back("say " + std::string(text));
        return Answer::Ok;
    }

  private:
    std::vector<std::string>& log_;
};

std::vector<std::string> Leave(LoanState& s, SplitBox box, std::string_view text) {
    Page page;
    LoggingPort port(page.log);
    CarryOutExit(LeaveSplitBox(s.split, box, text), box, port, page);
    return page.log;
}

TEST(SplitInputs, EachEntryBoxStoresIntoItsOwnVariable) {
    struct Row {
        SplitBox box;
        std::function<double(const LoanState&)> read;
    };
    const std::vector<Row> rows = {
        {SplitBox::edSplitAmtFin, [](const LoanState& s) { return s.split.SplitPrincipal; }},
        {SplitBox::edSplitPayCount, [](const LoanState& s) { return s.split.SplitPayCount; }},
        {SplitBox::edSplitRegPay, [](const LoanState& s) { return s.split.SplitRegPay; }},
        {SplitBox::edSplit1stPay, [](const LoanState& s) { return s.split.SplitFirstPay; }},
        {SplitBox::edSplit1stNoPd, [](const LoanState& s) { return s.split.SplitFirstPds; }},
        {SplitBox::edSplit1stExtra, [](const LoanState& s) { return s.split.SplitFirstExtra; }},
        {SplitBox::edSplitlastPay, [](const LoanState& s) { return s.split.SplitLastPay; }},
        {SplitBox::edSplitlastNoPd, [](const LoanState& s) { return s.split.SplitLastPds; }},
        {SplitBox::edSplitlastExtra, [](const LoanState& s) { return s.split.SplitLastExtra; }},
        {SplitBox::edRate1, [](const LoanState& s) { return s.split.SplitSteps[0].Rate; }},
        {SplitBox::edCap1, [](const LoanState& s) { return s.split.SplitSteps[0].Cap; }},
        {SplitBox::edRate2, [](const LoanState& s) { return s.split.SplitSteps[1].Rate; }},
        {SplitBox::edCap2, [](const LoanState& s) { return s.split.SplitSteps[1].Cap; }},
        {SplitBox::edRate3, [](const LoanState& s) { return s.split.SplitSteps[2].Rate; }},
        {SplitBox::edCap3, [](const LoanState& s) { return s.split.SplitSteps[2].Cap; }},
        {SplitBox::edRate4, [](const LoanState& s) { return s.split.SplitSteps[3].Rate; }},
        {SplitBox::edCap4, [](const LoanState& s) { return s.split.SplitSteps[3].Cap; }},
    };
    for (const Row& row : rows) {
        const SplitBoxText& info = SplitBoxInfo(row.box);
        SCOPED_TRACE(std::string(info.name));
        LoanState s;
        Leave(s, row.box, "7");
        EXPECT_EQ(row.read(s), 7.0);

        // A refused text is named with the box's label, resets the box and
        // its variable and keeps the focus in the box.
        const bool whole = info.entry == SplitEntry::Whole;
        const std::string label(info.label);
        const std::vector<std::string> expected = {
            std::string(info.name) + (whole ? "=0" : "=0.00"),
            whole ? "say Error: " + label +
                        " contains Lowercase L , not part of a positive whole number !\n\r"
                        "Resetting input value of 1"
                  : "say " + label +
                        " contains Lowercase L , not part of a positive decimal number !\n\r"
                        "Resetting input value of 1",
            "focus " + std::string(info.name)};
        EXPECT_EQ(Leave(s, row.box, "1l0"), expected);
        EXPECT_EQ(row.read(s), 0.0);
    }
}

TEST(SplitInputs, StartTextsReadAsTheStateAResetLeaves) {
    LoanState s;
    s.split.SplitPrincipal = 5;
    s.split.SplitFirstPds = 4;
    s.split.SplitSteps[5] = {2.0, 9.0};
    s.split.SplitDaysPerPd = 7;
    ResetLoanState(s);
    const LoanState fresh;
    EXPECT_EQ(s.split.SplitPrincipal, 0.0);
    EXPECT_EQ(s.split.SplitFirstPds, 1);
    EXPECT_EQ(s.split.SplitSteps[5].Rate, 0.0);
    EXPECT_EQ(s.split.SplitDaysPerPd, 30.0);

    // Passing through every box after a reset changes nothing and says
    // nothing: the interval counts show the 1 the computations use.
    for (const SplitBoxFill& start : SplitStartTexts()) {
        SCOPED_TRACE(start.text);
        EXPECT_EQ(Leave(s, start.box, start.text), std::vector<std::string>{});
    }
    EXPECT_EQ(s.split.SplitFirstPds, 1);
    EXPECT_EQ(s.split.SplitLastPds, 1);
    EXPECT_EQ(s.split.SplitPrincipal, fresh.split.SplitPrincipal);
    EXPECT_EQ(SplitBoxInfo(SplitBox::edSplit1stNoPd).startText, "1");
    EXPECT_EQ(SplitBoxInfo(SplitBox::edRate1).startText, "0.0");
    EXPECT_EQ(SplitBoxInfo(SplitBox::edFinal).startText, "Pending");
}

TEST(SplitInputs, FillInRuleOnLeavingTheCommonPayment) {
    struct Row {
        const char* what;
        double principal;
        std::int32_t count;
        double first, last;
        const char* typed;
        std::vector<std::string> log;
        bool firstFilled;
    };
    const std::vector<Row> rows = {
        {"total equal to the principal is refused",
         1000,
         100,
         0,
         0,
         "10.00",
         {"say Principal >= Total of Repayments !"},
         false},
        {"both odd payments take the common one",
         1000,
         24,
         0,
         0,
         "$46.00",
         {"edSplitRegPay=46.00", "edSplit1stPay=46", "edSplitlastPay=46"},
         true},
        {"typed odd payments stay", 1000, 24, 50, 30, "46", {}, false},
        {"a single payment fills only the first",
         10,
         1,
         0,
         0,
         "12.5",
         {"edSplit1stPay=12.5"},
         true},
        {"no principal, no rule", 0, 24, 0, 0, "46", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoanState s;
        s.split.SplitPrincipal = row.principal;
        s.split.SplitPayCount = row.count;
        s.split.SplitFirstPay = row.first;
        s.split.SplitLastPay = row.last;
        EXPECT_EQ(Leave(s, SplitBox::edSplitRegPay, row.typed), row.log);
        EXPECT_EQ(s.split.SplitFirstPay, row.firstFilled ? s.split.SplitRegPay : row.first);
        EXPECT_EQ(s.split.SplitLastPay,
                  row.firstFilled && row.count > 1 ? s.split.SplitRegPay : row.last);
    }
}

TEST(SplitInputs, ZeroDurationSendsTheFocusBetweenTheIntervalBoxes) {
    struct Interval {
        SplitBox pds, extra;
        const char* message;
    };
    for (const Interval& iv : {Interval{SplitBox::edSplit1stNoPd, SplitBox::edSplit1stExtra,
                                        "say Error: First Interval has Zero Duration !"},
                               Interval{SplitBox::edSplitlastNoPd, SplitBox::edSplitlastExtra,
                                        "say Error: Last Interval has Zero Duration !"}}) {
        LoanState s;
        const std::string pdsName(SplitBoxInfo(iv.pds).name);
        const std::string extraName(SplitBoxInfo(iv.extra).name);
        EXPECT_EQ(Leave(s, iv.pds, "0"), std::vector<std::string>{"focus " + extraName});
        EXPECT_EQ(Leave(s, iv.extra, "0"),
                  (std::vector<std::string>{iv.message, "focus " + pdsName}));
        EXPECT_EQ(Leave(s, iv.pds, "0"), std::vector<std::string>{"focus " + extraName});
        EXPECT_EQ(Leave(s, iv.extra, "15"), std::vector<std::string>{});
        EXPECT_EQ(Leave(s, iv.pds, "0"), std::vector<std::string>{});
    }
}

TEST(SplitInputs, IntegrityReportsOnlyTheLastFailingReason) {
    struct Row {
        double principal, payment;
        std::int32_t count;
        const char* reason;  // nullptr: accepted
    };
    const std::vector<Row> rows = {
        {0, 0, 0, "Zero Payments scheduled"},
        {0.005, 46, 24, "Principal is zero"},
        {0, 0.0099, 24, "Common Payment Amount is zero"},
        {1000, 46, -3, "Zero Payments scheduled"},
        {0.01, 0.01, 1, nullptr},
    };
    for (const Row& row : rows) {
        LoanState s;
        s.split.SplitPrincipal = row.principal;
        s.split.SplitRegPay = row.payment;
        s.split.SplitPayCount = row.count;
        RecordingUserPort port;
        EXPECT_EQ(SplitIntegrity(s.split, port), row.reason == nullptr);
        const std::vector<std::string> said =
            row.reason ? std::vector<std::string>{"Error: " + std::string(row.reason) +
                                                  "\n\r... so no computation done"}
                       : std::vector<std::string>{};
        EXPECT_EQ(port.Texts(), said);
    }
}

TEST(SplitInputs, IntervalGroupPageEntryAndTestData) {
    LoanState s;
    const std::vector<double> days = {365, 30, 15, 14, 7};
    for (int item = 0; item < 5; ++item) {
        TakeSplitInterval(s.split, IntervalOfItem(item));
        EXPECT_EQ(s.split.SplitDaysPerPd, days[static_cast<std::size_t>(item)]);
    }
    TakeSplitInterval(s.split, IntervalOfItem(-1));  // nothing chosen
    EXPECT_EQ(s.split.SplitDaysPerPd, 7.0);

    EnterSplitPage(s.loan);
    EXPECT_EQ(s.loan.ScheduleSource, kSourceSplit);

    // The test case's texts, typed into a fresh page, give the test case.
    LoanState loaded;
    const std::vector<SplitBoxFill> texts = LoadSplitTestData(loaded.split);
    LoanState typed;
    for (const SplitBoxFill& fill : texts) Leave(typed, fill.box, fill.text);
    TakeSplitInterval(typed.split, kSplitTestInterval);
    EXPECT_EQ(typed.split.SplitPrincipal, loaded.split.SplitPrincipal);
    EXPECT_EQ(typed.split.SplitPayCount, loaded.split.SplitPayCount);
    EXPECT_EQ(typed.split.SplitFirstPay, loaded.split.SplitFirstPay);
    EXPECT_EQ(typed.split.SplitLastPds, loaded.split.SplitLastPds);
    EXPECT_EQ(typed.split.SplitDaysPerPd, loaded.split.SplitDaysPerPd);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(typed.split.SplitSteps[k].Rate, loaded.split.SplitSteps[k].Rate) << k;
        EXPECT_EQ(typed.split.SplitSteps[k].Cap, loaded.split.SplitSteps[k].Cap) << k;
    }
}

}  // namespace
}  // namespace qv
