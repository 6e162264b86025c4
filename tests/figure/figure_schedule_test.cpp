#include "figure/figure_schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace qv {
namespace {

// --- the regular page as its exits leave it ----------------------------------

RegularTexts Texts(const char* amtFin, const char* count, const char* common, const char* first,
                   const char* last, const char* firstPds = "1", const char* firstExtra = "0",
                   const char* lastPds = "1", const char* lastExtra = "0") {
    RegularTexts t;
    t.AmtFin = amtFin;
    t.PayCount = count;
    t.RegPay = common;
    t.FirstPay = first;
    t.FirstPds = firstPds;
    t.FirstExtra = firstExtra;
    t.LastPay = last;
    t.LastPds = lastPds;
    t.LastExtra = lastExtra;
    return t;
}

// A single payment described on the first line, the last line left at zero.
RegularTexts OnePayment(const char* amtFin, const char* pay, const char* pds, const char* extra) {
    return Texts(amtFin, "1", pay, pay, "0.00", pds, extra, "0", "0");
}

struct Figure {
    LoanState state;
    FigureInputs in;
    RecordingUserPort port;

    FigureOutcome Adjust(const SearchLimits& limits = SearchLimits{}) {
        return AdjustPayments(state.loan, state.regular, state.figure, in, port, limits);
    }
    void LeaveRateBox(std::string_view text) { state.figure.MaxRate = CheckMaxRate(text).value; }
};

// The loan state as the regular page's exits leave it for these boxes.
void EnterRegular(Figure& f, const RegularTexts& texts, Interval interval = Interval::Monthly) {
    const RegularBoxes boxes = ReadRegularBoxes(texts);
    StoreRegularBoxes(f.state.regular, boxes);
    UpdateSimpleSummary(f.state.loan, boxes);
    const IntervalInfo& unit = Describe(interval);
    f.state.loan.DaysPerPd = unit.DaysPerPd;
    f.state.loan.PdsPerYear = unit.PdsPerYear;
    f.in.regular = texts;
    f.in.interval = interval;
}

// A fresh start, the regular page's boxes entered and the rate box left.
Figure WithRate(const RegularTexts& texts, std::string_view rate,
                Interval interval = Interval::Monthly) {
    Figure f;
    EnterRegular(f, texts, interval);
    f.LeaveRateBox(rate);
    return f;
}

// 10,000.00 over 36 months, with a guess of 300.00 at the payment.
RegularTexts TenThousandOver36() {
    return Texts("10000", "36", "300", "300", "300");
}

Currency Cur(double dollars) {
    return DollarsToCurrency(dollars);
}

// --- the worked monthly case ---------------------------------------------------

// 12 % a year is 1 % a month. Worked apart from the code under test:
//   the estimate: i = 0.01, G = 1.01 x 36 = 36.36,
//     Q = 10,000 x 36.36 x 0.01 / 35.36 = 102.82805..., rounded to 102.83;
//   the payment that amortizes exactly, A i / (1 - (1 + i)^-36) = 332.1431;
//   the $10 steps climb past it, $1 steps come back below, $0.10 steps climb
//   past it again and the $0.01 steps come down to the first payment that
//   underpays: the whole cents just below 332.1431.
// The final balance of that trial comes from amortizing by hand in whole
// ten-thousandths: 1 % of B dollars is B cents, rounded to the nearest cent.
Currency HandFinalBalance(Currency amount, Currency pay, int count) {
    Currency balance = amount;
    for (int k = 1; k <= count; ++k) {
        const Currency interestCents = (balance + 5000) / 10000;
        balance += interestCents * 100 - pay;
    }
    return balance;
}

TEST(FigureMonthly, TenThousandOver36At12PercentAsWorkedByHand) {
    const Currency estimate = 1028300;
    const double exact = 10000.0 * 0.01 / (1.0 - std::pow(1.01, -36.0));
    const Currency payment =
        estimate + 100 * static_cast<Currency>(std::floor((exact * 10000.0 - estimate) / 100.0));
    const Currency finalTrial = HandFinalBalance(Cur(10000), payment, 36);
    ASSERT_EQ(payment, Cur(332.14));
    ASSERT_GT(finalTrial, 0);
    ASSERT_LT(HandFinalBalance(Cur(10000), payment + 100, 36), 0);

    Figure f = WithRate(TenThousandOver36(), "12");
    const FigureOutcome r = f.Adjust();

    ASSERT_EQ(r.end, FigureEnd::Found);
    EXPECT_TRUE(f.port.messages.empty());
    EXPECT_EQ(r.schedule.RegularPay, payment);
    EXPECT_EQ(f.state.regular.FirstPay, CurrencyToDollars(payment));
    EXPECT_EQ(f.state.regular.LastPay, CurrencyToDollars(payment + finalTrial));  // 332.28
    EXPECT_EQ(r.finalBalance, 0);
    EXPECT_TRUE(r.notesVisible);
    // The regular page keeps its schedule; only its summary is refreshed.
    EXPECT_EQ(r.regularBoxes, TenThousandOver36());
    EXPECT_EQ(r.summaryText,
              "Above schedule has 36 Payments Totalling $10,800.00 w/ $800.00 Finance Charge");

    // Interest paid is what the payments bring in beyond the amount:
    // 35 x 332.14 + 332.28 - 10,000 = 1,957.18. Every payment is in whole
    // cents, so each line of the listing adds up to the cent.
    const std::vector<std::string> head(r.found->begin(), r.found->begin() + 13);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "Using Regular Payments & Rate in this schedule:",
                        "Amount Financed of $10,000.00 at 12.00% yearly:",
                        "Regular Period is Monthly",
                        "First Payment of $332.14 after 1 pds & 0 days,",
                        "34 regular payments of $332.14 each one period apart, and",
                        "Last Payment of $332.28 after 1 pds & 0 days.",
                        "",
                        "Final Balance by Amortization is $0.00",
                        "\r\nAmortizing this payment schedule:",
                        "  OldBalance +     Interest -      Payment =   NewBalance",
                        "  $10,000.00 +      $100.00 -      $332.14 =    $9,767.86",
                        "   $9,767.86 +       $97.68 -      $332.14 =    $9,533.40",
                        "   $9,533.40 +       $95.33 -      $332.14 =    $9,296.59",
                    }));
    ASSERT_EQ(r.found->size(), 8u + 2u + 36u + 1u);
    EXPECT_EQ(r.found->at(45), "     $328.99 +        $3.29 -      $332.28 =        $0.00");
    EXPECT_EQ(r.found->back(), "And Total Interest Paid = $1,957.18");
}

TEST(FigureFlip, ShowsTheEstimateAndOneLinePerSignChange) {
    Figure f = WithRate(TenThousandOver36(), "12");
    f.in.showFlip = true;
    f.in.showAmort = false;
    const FigureOutcome r = f.Adjust();
    ASSERT_EQ(r.end, FigureEnd::Found);
    const std::vector<std::string> flips(r.found->begin(), r.found->begin() + 5);
    EXPECT_EQ(flips, (std::vector<std::string>{
                         "[Initial Pay Estimate $102.83 Monthly]",
                         "Flip 24: 401.200:: -29.590, 332.830 delta 1.000",
                         "Flip 25: -29.590:: 13.490, 331.830 delta 0.100",
                         "Flip 29: 0.530:: -3.750, 332.230 delta 0.010",
                         "Flip 38: -0.300:: 0.140, 332.140 delta 0.010]",
                     }));
    // Without the listing the report ends with the final balance.
    EXPECT_EQ(r.found->size(), 5u + 8u);
    EXPECT_EQ(r.found->at(5), "Using Regular Payments & Rate in this schedule:");
}

// --- the first and last payments ------------------------------------------------

TEST(FigureLastPayment, TakesUpTheLastTrialsBalanceWhileTheOthersKeepTheirDifference) {
    struct Case {
        const char* name;
        RegularTexts texts;
        const char* rate;
        double common, first, last;  // after the search
    };
    const Case cases[] = {
        // The last trial underpaid by 0.13: the last payment is 280 - 300 + Q + 0.13.
        {"underpaid", Texts("10000", "36", "300", "350", "280"), "12", 330.96, 380.96, 311.09},
        // At 5 % a month the estimate 504.00 starts above; the last trial
        // overpaid by 55.59, which the last payment gives back.
        {"overpaid", Texts("10000", "120", "300", "350", "280"), "60", 499.06, 549.06, 423.47},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Figure f = WithRate(c.texts, c.rate);
        const FigureOutcome r = f.Adjust();
        ASSERT_EQ(r.end, FigureEnd::Found);
        EXPECT_EQ(r.schedule.RegularPay, Cur(c.common));
        EXPECT_EQ(r.schedule.FirstPay, Cur(c.first));
        EXPECT_EQ(r.schedule.LastPay, Cur(c.last));
        EXPECT_DOUBLE_EQ(f.state.regular.FirstPay, c.first);
        EXPECT_DOUBLE_EQ(f.state.regular.LastPay, c.last);
        EXPECT_EQ(r.finalBalance, 0);
    }
}

TEST(FigureOnePayment, CountsMinusOneRegularPaymentsAndThePaymentPaysOff) {
    struct Case {
        const char* name;
        RegularTexts texts;
        double payment;
        const char* regularLine;
        const char* listingLine;
    };
    const Case cases[] = {
        // 2.5 months at 1 %: interest 25.01 on 1,000.37.
        {"unit periods", OnePayment("1000.37", "1000", "2", "15"), 1025.38,
         "-1 regular payments of $1,025.38 each one period apart, and",
         "   $1,000.37 +       $25.01 -    $1,025.38 =        $0.00"},
        // 400 days: simple interest by the day, 1,000 x 12 % x 400 / 365 = 131.51
        // (by months it would be 133.33).
        {"per diem over a year", OnePayment("1000", "1000", "13", "10"), 1131.51,
         "-1 regular payments of $1,131.51 each one period apart, and",
         "   $1,000.00 +      $131.51 -    $1,131.51 =        $0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Figure f = WithRate(c.texts, "12");
        const FigureOutcome r = f.Adjust();
        ASSERT_EQ(r.end, FigureEnd::Found);
        EXPECT_EQ(r.schedule.FirstPay, Cur(c.payment));
        EXPECT_EQ(r.found->at(4), c.regularLine);
        EXPECT_EQ(r.found->at(7), "Final Balance by Amortization is $0.00");
        ASSERT_EQ(r.found->size(), 8u + 2u + 1u + 1u);
        EXPECT_EQ(r.found->at(10), c.listingLine);
    }
}

// --- the two-weekly interval --------------------------------------------------------

TEST(FigureTwoWeekly, SearchesOn365Over14AndSetsFourteenDays) {
    Figure f = WithRate(Texts("26000", "26", "1000", "1000", "1000"), "26", Interval::TwoWeekly);
    f.state.loan.DaysPerPd = 30;  // as the irregular page may have left it
    const FigureOutcome r = f.Adjust();
    ASSERT_EQ(r.end, FigureEnd::Found);
    EXPECT_EQ(f.state.loan.DaysPerPd, 14);

    // 26 % over 365/14 periods a year is 0.99726 % a period, where 26 a year
    // would make it 1 %: the amortizing payments are 1,125.82 and 1,126.22.
    const double i = 0.26 * 14.0 / 365.0;
    const double exact = 26000.0 * i / (1.0 - std::pow(1.0 + i, -26.0));
    EXPECT_NEAR(CurrencyToDollars(r.schedule.RegularPay), exact, 0.01);
    EXPECT_EQ(r.finalBalance, 0);
    EXPECT_EQ(r.found->at(2), "Regular Period is Two-Weekly");
}

// The listing charges what the search charged, so it ends where the report
// says. At 12 % a year a period of d days over 365/d periods a year charges
// 12 d / 365 cents per dollar, worked here in whole ten-thousandths.
TEST(FigureWeeklyListing, ChargesTheSearchsRateAndEndsAtTheReportedBalance) {
    for (const auto& [item, days] :
         {std::pair{Interval::TwoWeekly, 14}, std::pair{Interval::Weekly, 7}}) {
        SCOPED_TRACE(days);
        Figure f = WithRate(TenThousandOver36(), "12", item);
        const FigureOutcome r = f.Adjust();
        ASSERT_EQ(r.end, FigureEnd::Found);
        ASSERT_EQ(r.found->size(), 8u + 2u + 36u + 1u);
        EXPECT_EQ(r.found->at(7), "Final Balance by Amortization is $0.00");

        const std::int64_t perDollar = 12 * days;  // over 365, in cents
        Currency balance = Cur(10000);
        std::int64_t interestCents = 0;
        for (int j = 1; j <= 36; ++j) {
            const Currency pay = j == 36 ? r.schedule.LastPay : r.schedule.RegularPay;
            const std::int64_t cents =
                (2 * balance * perDollar + 365 * 10000) / (2 * 365 * std::int64_t{10000});
            const Currency next = balance + cents * 100 - pay;
            std::string a, b, c, d;
            Pad12(a, CurrencyToDollars(balance));
            Pad12(b, CentsToDollars(cents));
            Pad12(c, CurrencyToDollars(pay));
            Pad12(d, CurrencyToDollars(next));
            EXPECT_EQ(r.found->at(9 + static_cast<std::size_t>(j)),
                      a + " + " + b + " - " + c + " = " + d)
                << "payment " << j;
            interestCents += cents;
            balance = next;
        }
        EXPECT_EQ(balance, 0);
        EXPECT_EQ(r.schedule.FirstPay, r.schedule.RegularPay);
        EXPECT_EQ(r.found->back(),
                  "And Total Interest Paid = " +
                      FloatToStrF(CentsToDollars(interestCents), FloatStyle::Money, 10, 2));
    }
}

// --- how the search ends ---------------------------------------------------------

TEST(FigureStartingEstimate, IsTheProductFormulaAndNeverDividesByZero) {
    struct Case {
        double rate;
        int c;
        std::int32_t count;
        double amount;
        std::optional<Currency> estimate;
    };
    const Case cases[] = {
        {12, 12, 36, 10000, 1028300},   // 10,000 x 36.36 x 0.01 / 35.36, to the cent
        {60, 12, 120, 10000, 5040000},  // 10,000 x 126 x 0.05 / 125
        // 0.001 % a year rounds to no rate a period: nothing for many
        // payments, the amount itself for one (where G - 1 is zero).
        {0.001, 12, 4, 100, 0},
        {0.001, 12, 1, 100, 1000000},
        {1e12, 12, 36, 900'000'000'000'000, std::nullopt},  // past the currency range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(StartingEstimate(c.rate, c.c, c.count, c.amount), c.estimate);
    }
}

TEST(FigureZeroBalance, ATrialThatPaysOffExactlyEndsTheSearch) {
    // Interest on 100.00 at 0.001 % rounds to nothing, so 4 x 25.00 pays it
    // off to the cent: the balance has no sign to change.
    Figure f = WithRate(Texts("100", "4", "10", "10", "10"), "0.001");
    f.in.showFlip = true;
    f.in.showAmort = false;
    const FigureOutcome r = f.Adjust();
    ASSERT_EQ(r.end, FigureEnd::Found);
    EXPECT_EQ(r.schedule.RegularPay, Cur(25));
    EXPECT_EQ(r.schedule.LastPay, Cur(25));
    EXPECT_FALSE(r.notesVisible);
    EXPECT_EQ(std::vector<std::string>(r.found->begin(), r.found->begin() + 3),
              (std::vector<std::string>{
                  "[Initial Pay Estimate $0.00 Monthly]",
                  "Flip 4: 20.000:: -20.000, 30.000 delta 1.000",
                  "Flip 9: -4.000:: 0.000, 25.000 delta 1.000]",
              }));

    // One payment at that rate: the estimate is the amount, which pays off.
    Figure one = WithRate(OnePayment("100", "100", "1", "0"), "0.001");
    const FigureOutcome single = one.Adjust();
    ASSERT_EQ(single.end, FigureEnd::Found);
    EXPECT_EQ(single.schedule.FirstPay, Cur(100));
}

TEST(FigureSearchBound, IsReportedInsteadOfAPayment) {
    Figure f = WithRate(TenThousandOver36(), "12");
    const double firstBefore = f.state.regular.FirstPay;
    const FigureOutcome r = f.Adjust(SearchLimits{36 * 10});
    EXPECT_EQ(r.end, FigureEnd::NoPayment);
    EXPECT_EQ(f.port.Texts(),
              (std::vector<std::string>{"Oops: no payment found in 10 trials !\n\rPlease check the "
                                        "schedule on Tab 2 and the rate."}));
    // Ten trials walk the estimate 102.83 up by $10 nine times.
    EXPECT_EQ(r.found,
              (ChartText{"No payment found in 10 trials; the last estimate was $192.83."}));
    EXPECT_FALSE(r.notesVisible);
    EXPECT_EQ(f.state.regular.FirstPay, firstBefore);
}

TEST(FigureOutOfRange, IsRefusedWithAMessage) {
    // 10,000 % a year is 833 % a month: a cent off the payment grows past
    // any amount over 36 months, so no payment can be figured.
    Figure runaway = WithRate(TenThousandOver36(), "10000");
    const FigureOutcome r = runaway.Adjust();
    EXPECT_EQ(r.end, FigureEnd::NoPayment);
    EXPECT_EQ(runaway.port.Texts(), (std::vector<std::string>{std::string(kOutOfRangeText)}));
    EXPECT_EQ(r.found, (ChartText{std::string(kOutOfRangeLine)}));

    // An estimate past the currency range: refused before the report is touched.
    Figure huge = WithRate(Texts("900000000000000", "36", "1", "1", "1"), "10000");
    const FigureOutcome h = huge.Adjust();
    EXPECT_EQ(h.end, FigureEnd::Refused);
    EXPECT_EQ(huge.port.Texts(), (std::vector<std::string>{std::string(kOutOfRangeText)}));
    EXPECT_FALSE(h.found.has_value());
}

// --- checks and the regular page's boxes -------------------------------------------

TEST(FigureChecks, RefuseInOrderAndLeaveTheReportAlone) {
    struct Case {
        const char* name;
        std::function<void(Figure&)> change;
        std::string_view message;
    };
    const Case cases[] = {
        {"no common payment", [](Figure& f) { f.state.regular.RegPay = 0; }, kRegPayZeroText},
        {"no amount", [](Figure& f) { f.state.loan.AmtFin = 0; }, kAmtFinZeroText},
        {"no payments", [](Figure& f) { f.state.loan.PayCount = 0; }, kNoPaymentsText},
        {"no rate", [](Figure& f) { f.state.figure.MaxRate = 0; }, kRateMeaninglessText},
        {"first check wins",
         [](Figure& f) {
             f.state.figure.MaxRate = 0;
             f.state.regular.RegPay = 0;
         },
         kRegPayZeroText},
        // The summary re-reads the boxes; a box changed without being left
        // counts as it reads.
        {"payments box emptied", [](Figure& f) { f.in.regular.PayCount = "0"; }, kNoPaymentsText},
        {"more than 485 payments", [](Figure& f) { f.in.regular.PayCount = "486"; },
         kTooManyRegularPaymentsText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Figure f = WithRate(TenThousandOver36(), "12");
        c.change(f);
        const FigureOutcome r = f.Adjust();
        EXPECT_EQ(r.end, FigureEnd::Refused);
        EXPECT_EQ(f.port.Texts(), (std::vector<std::string>{std::string(c.message)}));
        EXPECT_FALSE(r.found.has_value());
        EXPECT_FALSE(r.notesVisible);
        EXPECT_EQ(r.rateToEnter, c.message == kRateMeaninglessText);
    }
}

TEST(FigureRate, RightAfterResetTheRateIsMeaninglessThoughTheBoxShowsTen) {
    Figure f = WithRate(TenThousandOver36(), "12");  // a rate from before the Reset
    ResetLoanState(f.state);
    EnterRegular(f, TenThousandOver36());
    f.Adjust();
    EXPECT_EQ(f.port.Texts(), (std::vector<std::string>{std::string(kRateMeaninglessText)}));

    // Entering and leaving the box as it shows makes the rate count.
    f.port.messages.clear();
    f.LeaveRateBox(kMaxRateStartText);
    const FigureOutcome r = f.Adjust();
    EXPECT_EQ(r.end, FigureEnd::Found);
    EXPECT_EQ(r.found->at(1), "Amount Financed of $10,000.00 at 10.00% yearly:");
    EXPECT_EQ(CheckMaxRate("1l").message,
              "Rate/year for Maximum Payment contains Lowercase L , not part of a positive "
              "decimal number !\n\rResetting input value of 1");
}

TEST(FigureRegularBoxes, UnreadablePaymentsAreReportedAndTheSearchGoesOn) {
    Figure f = WithRate(Texts("10000", "36", "300", "350", "280"), "12");
    f.in.regular.FirstPay = "3S0";
    f.in.regular.RegPay = "";
    f.in.regular.LastPay = "2.8.0";
    const FigureOutcome r = f.Adjust();
    EXPECT_EQ(f.port.Texts(), (std::vector<std::string>{std::string(kReenterFirstPayText),
                                                        std::string(kReenterCommonPayText),
                                                        std::string(kReenterLastPayText)}));
    // The payments keep the values the regular page last accepted.
    ASSERT_EQ(r.end, FigureEnd::Found);
    EXPECT_EQ(r.schedule.FirstPay - r.schedule.RegularPay, Cur(50));
    EXPECT_EQ(r.schedule.LastPay - r.schedule.RegularPay, Cur(-20) + Cur(0.13));
}

TEST(FigureRegularBoxes, PeriodsAndDaysAreTakenAsTheBoxesShowThem) {
    // 45 days typed as extra days: the regular page carried a period into
    // the periods box (1 and 15), but its first-periods value is still 0.
    Figure f = WithRate(Texts("1000", "12", "90", "90", "90", "1", "15"), "12");
    f.state.regular.FirstPds = 0;
    const FigureOutcome r = f.Adjust();
    ASSERT_EQ(r.end, FigureEnd::Found);
    EXPECT_EQ(r.found->at(3).substr(r.found->at(3).find(" after")), " after 1 pds & 15 days,");
    EXPECT_EQ(f.state.regular.FirstPds, 1);
}

// --- bad input ---------------------------------------------------------------------

// What the number styles write for a value that is not a number or infinite.
bool HasInfOrNan(const std::string& text) {
    static const std::regex notANumber(R"(\b(inf|nan)\b)", std::regex::icase);
    return std::regex_search(text, notANumber);
}

TEST(FigureBadInput, TheSearchEndsAndTheReportReads) {
    struct Case {
        const char* name;
        RegularTexts texts;
        const char* rate;
        Interval interval;
    };
    const Case cases[] = {
        {"0.001 %", TenThousandOver36(), "0.001", Interval::Monthly},
        {"10,000 %", TenThousandOver36(), "10000", Interval::Monthly},
        {"10,000 % yearly", Texts("10000", "12", "300", "300", "300"), "10000", Interval::Annually},
        {"$0.01", Texts("0.01", "36", "0.01", "0.01", "0.01"), "12", Interval::Monthly},
        {"$20,000,000", Texts("20000000", "36", "600000", "600000", "600000"), "12",
         Interval::Monthly},
        {"485 payments", Texts("98765.43", "485", "1000", "1000", "1000"), "12", Interval::Monthly},
        {"485 payments at 10,000 %", Texts("98765.43", "485", "1000", "1000", "1000"), "10000",
         Interval::Monthly},
        {"485 payments of $20,000,000 at 0.001 %",
         Texts("20000000", "485", "50000", "50000", "50000"), "0.001", Interval::Weekly},
        {"hundreds of odd days", Texts("5000", "12", "500", "500", "500", "0", "400", "3", "250"),
         "18", Interval::Monthly},
        {"one payment after 3,000 days", OnePayment("5000", "6000", "100", "0"), "12",
         Interval::Monthly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Figure f = WithRate(c.texts, c.rate, c.interval);
        f.in.showFlip = true;
        const FigureOutcome r = f.Adjust();
        ASSERT_TRUE(r.found.has_value());
        for (const std::string& line : *r.found) EXPECT_FALSE(HasInfOrNan(line)) << line;
        if (r.end == FigureEnd::Found) {
            EXPECT_EQ(r.finalBalance, 0);
            EXPECT_TRUE(f.port.messages.empty());
        } else {
            EXPECT_EQ(f.port.messages.size(), 1u);
        }
    }
}

}  // namespace
}  // namespace qv
