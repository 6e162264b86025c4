#include "schedule/apr_estimate.h"

#include <gtest/gtest.h>

#include "core/schedule_fixture.h"
#include "data/memdset.h"
#include "schedule/group_schedule.h"

namespace qv {
namespace {

using test::AddGroups;
using test::Group;
using test::MakePaySet;

// "Estimate APR" ends in one of four ways; the page writes its APR box from
// the result and nothing else, so each way must say which box text it means.
TEST(EstimateApr, EachOutcomeWithItsBoxTextAndMessages) {
    struct Case {
        const char* what;
        std::vector<Group> groups;
        double amtFin;
        int item;
        std::optional<AprOutcome> outcome;
        const char* box;
        std::vector<std::string> messages;  // in order; the report's last line after it
        bool perDiem;
    };
    const Case cases[] = {
        {"no payments",
         {},
         1000.0,
         1,
         std::nullopt,
         "Pending",
         {std::string(kNoPaymentsToEstimateText)},
         false},
        {"a payment of nothing",
         {{12, 100.0, 1, 0}, {1, 0.0, 1, 0}},
         1000.0,
         1,
         std::nullopt,
         "InputError",
         {"Error: 1 negative or $0.00 payment(s).", std::string(kNoAprEstimated)},
         false},
        {"twelve monthly payments",
         {{12, 100.0, 1, 0}},
         1100.0,
         1,
         AprOutcome::Computed,
         "16.376",
         {},
         false},
        {"one payment after 36 days, on the first estimate",
         {{1, 1010.0, 1, 6}},
         1000.0,
         1,
         AprOutcome::Computed,
         "10.139",
         {std::string(kPerDiemNotice)},
         true},
        {"an amount financed too low",
         {{12, 100.0, 1, 0}},
         40.0,
         1,
         AprOutcome::AmountTooLow,
         "InputError",
         {"$40.00 Amount Financed is too low to compute a meaningful APR"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMemDataSet paySet("mdsPaySet");
        MakePaySet(paySet);
        double total = 0;
        int count = 0;
        for (const Group& g : c.groups) {
            AddGroups(paySet, {g});
            total += g.setSize * g.paySize;
            count += g.setSize;
        }
        LoanState state;
        test::SetLoan(state, c.amtFin, total, count);
        state.loan.DaysPerPd = 7;  // the item decides the unit period
        RecordingUserPort port;
        const AprEstimate e = EstimateApr(state.loan, state.group, paySet, IntervalOfItem(c.item),
                                          AprSettings{}, port);

        EXPECT_EQ(e.outcome, c.outcome);
        EXPECT_EQ(AprBoxText(e, state.loan.APR), c.box);
        EXPECT_EQ(port.Texts(), c.messages);
        EXPECT_EQ(state.loan.PerDiem, c.perDiem);
        EXPECT_EQ(state.loan.ScheduleSource, kSourceIrregular);
        EXPECT_EQ(e.count, count);
        EXPECT_EQ(state.group.GroupPayCount, count);
        if (e.Computed()) {
            EXPECT_EQ(state.loan.DaysPerPd, 30);
            EXPECT_EQ(e.report.back(), std::string("Estimated APR = ") + c.box + "%");
        } else {
            EXPECT_TRUE(e.report.empty());
        }
    }
}

TEST(RecountSchedule, TakesTheGroupsCountAndTotalOrLeavesBothAlone) {
    TMemDataSet paySet("mdsPaySet");
    MakePaySet(paySet);
    AddGroups(paySet, {{12, 88.85, 1, 0}, {0, 5.0, 0, 0}});
    LoanState state;
    ScheduleRecount r = RecountSchedule(state.loan, paySet);
    EXPECT_TRUE(r.counted);
    EXPECT_EQ(state.loan.PayCount, 12);
    EXPECT_EQ(state.loan.TotPay, DollarsToCurrency(1066.20));
    EXPECT_EQ(r.totalText, "12 payments total to $1,066.20");
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "Group # 2 has an interval of zero !");
    EXPECT_EQ(r.messages[1].text, "Group # 2 contains no payments!");

    // The values-only recount takes the same count, total and findings.
    LoanState values;
    const ScheduleRecount v = RecountScheduleValues(values.loan, paySet);
    EXPECT_TRUE(v.counted);
    EXPECT_EQ(values.loan, state.loan);
    EXPECT_EQ(v.messages, r.messages);
    EXPECT_EQ(v.totalText, "");

    // Payments past the currency range: nothing taken, said so.
    AddGroups(paySet, {{400, 9.0e14, 1, 0}});
    r = RecountSchedule(state.loan, paySet);
    EXPECT_FALSE(r.counted);
    EXPECT_EQ(state.loan.PayCount, 12);
    EXPECT_EQ(r.messages.back().text, kTotalOutOfRange);
    EXPECT_EQ(r.totalText, "");
}

}  // namespace
}  // namespace qv
