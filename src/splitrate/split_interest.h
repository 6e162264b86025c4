#pragma once
// Split-rate interest: the balance is cut into up to four steps by dollar
// caps, and the slice of the balance inside each step earns that step's rate
// for each common interval. "Just Amortize" charts the debt payment by
// payment; the two searches find the common payment, or the principal, that
// brings the final balance to zero and then amortize with it.
//
// Money is counted exactly: amounts as currency (ten-thousandths of a dollar,
// the four decimals the entry checks keep), balances and interest in whole
// cents, rates in ten-thousandths of a percent and an interval as a whole
// number of days over the days of the common interval. Every rounding to
// cents is then done on exact values, so no result depends on how a binary
// double happens to hold a decimal amount (997.77 stays 997.77). A balance
// or step interest must fit the 32-bit cents of the data model
// (kSplitMaxCents); a computation that leaves it stops and says so.
//
// The page's buttons call:
//     qv::SplitRun run = qv::JustAmortize(state.split, state.loan.RoundAdd, port);
//                                       // or MatchCommonPayment, MatchPrincipal
//     if (run.chartReplaced) redChart <- run.chart;       // the whole text
//     for (auto& f : run.fills) box(f.box) <- f.text;     // in order
// Messages go through the port as they arise.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/money.h"
#include "base/user_port.h"
#include "core/apr_engine.h"
#include "core/loan_state.h"
#include "splitrate/split_inputs.h"

namespace qv {

// The largest balance, payment, cap or step interest, in cents.
inline constexpr std::int64_t kSplitMaxCents = INT32_MAX;
// The most payments a split-rate debt may have. The debt never reaches the
// payment matrix (and its 485 entries), so it may be as long as a
// variable-rate list: a weekly debt over ten years has 520 payments.
inline constexpr std::int32_t kSplitMaxPayments = 20'000;

// --- texts -------------------------------------------------------------------------------

inline constexpr std::string_view kSplitChartTitle =
    "Split Rate Amortization, version  0.9992: NOT an APR -------";
inline constexpr std::string_view kSplitRoundsDownLine = ".. Cautious Rounding Down to Whole Cent";
inline constexpr std::string_view kSplitRoundsNearestLine =
    ".. Optimistic Rounding to Nearest Cent";
inline constexpr std::string_view kSplitOddPaymentsLine =
    ".. Considers variable 1st & Last Payments amounts & intervals.";
inline constexpr std::string_view kSplitColumnsLine =
    "Pay#  $ Balance  + $ Earned Int. - $ Repaid = $ Balance";
inline constexpr std::string_view kSplitCloseEnoughLine =
    "   Probably cannot get any close to zero balance.";
inline constexpr std::string_view kSplitCloseEnoughText =
    "Probably cannot get any closer to zero balance !";
inline constexpr std::string_view kSplitTopCapText = "Reset top step $-cap to $999,999.99";
inline constexpr std::string_view kSplitTopCapBoxText = "999,999.99";
inline constexpr std::string_view kSplitPaymentSearchTitle =
    "----- Optimizing Regular Payment ----";
inline constexpr std::string_view kSplitPrincipalSearchTitle =
    "----- Optimizing Principal Borrowed ----";
// Where the plain search steps stop settling and halving takes over.
inline constexpr std::string_view kSplitBracketingLine =
    "----- Steps do not settle: halving the range $0.00 to $21,474,836.47 ----";
inline constexpr std::string_view kSplitCapsNotRisingText =
    "Warning: the Step $-Caps do not rise from step to step,\n\r"
    "so a Step can earn negative interest.";
inline constexpr std::string_view kSplitNoPaymentFoundText =
    "No Common Payment up to $21,474,836.47 brings the Final Balance to zero.\n\r"
    "Nothing was changed.";
inline constexpr std::string_view kSplitNoPrincipalFoundText =
    "No Principal up to $21,474,836.47 is repaid by these Payments.\n\r"
    "Nothing was changed.";

// --- the exact form of the split-rate state ---------------------------------------------

struct ExactStep {
    std::int64_t rate = 0;  // ten-thousandths of a percent per common interval
    Currency cap = 0;
};

// Everything Trial reads besides the principal and the three payments.
struct SplitTerms {
    std::int32_t count = 0;  // payments
    int top = 0;             // TopStep: steps 1..top take part; 0 means no interest
    std::int32_t firstPds = 1;
    std::int32_t firstExtra = 0;
    std::int32_t lastPds = 1;
    std::int32_t lastExtra = 0;
    std::int32_t daysPerPd = 30;  // SplitDaysPerPd
    std::array<ExactStep, 6> steps{};
    // RoundAdd in ten-thousandths of a dollar: 50 rounds to the nearest
    // cent, 0 rounds down.
    Currency roundAdd = 50;
};

struct SplitPayments {
    Currency regular = 0;
    Currency first = 0;
    Currency last = 0;
};

// The split-rate state in exact form, with TopStep `top` and the cent
// rounding of the loan (RoundAdd: 0.5 to the nearest cent, 0 down). Call only
// once CheckSplitAmounts has accepted the state.
SplitTerms MakeSplitTerms(const SplitInputs& split, double RoundAdd, int top);
SplitPayments SplitPaymentsOf(const SplitInputs& split);

// The amounts must fit the data model before anything is computed: the
// principal, the three payments and the caps of the steps taking part within
// kSplitMaxCents, no more than kSplitMaxPayments payments, rates within the
// currency range and a common interval of at least one day. The refusal, in
// the words of SplitIntegrity ("Error: Principal is beyond $21,474,836.47\n\r
// ... so no computation done"), or nothing.
std::optional<std::string> CheckSplitAmounts(const SplitInputs& split, int top);

// --- one interval, and Trial -------------------------------------------------------------

// Payment i (1..count): its amount and the length of its interval in days
// (whole intervals x days per interval + added days; IntervalFraction is
// this over daysPerPd). A single payment takes the last payment's amount and
// interval.
Currency PaymentOf(const SplitTerms& terms, const SplitPayments& payments, std::int32_t i);
std::int64_t IntervalDays(const SplitTerms& terms, std::int32_t i);

struct IntervalInterest {
    std::array<std::int64_t, 6> steps{};  // each step's interest in cents, step 1 first
    std::int64_t total = 0;               // their sum, in cents
    bool inRange = true;                  // false: a step's interest passed kSplitMaxCents
    int overflowSign = 0;                 // the sign of that interest
};

// The interest on `balance` for an interval of `days` days: for each step
// from the top down, the slice of the balance above the step's floor (the
// cap below it) and up to its cap, times the rate and the interval fraction,
// rounded to whole cents on its own with RoundAdd. A balance not above a
// step's floor earns nothing there.
IntervalInterest InterestOfInterval(const SplitTerms& terms, Currency balance, std::int64_t days);

struct TrialResult {
    bool inRange = true;
    Currency balance = 0;        // left after the last payment; negative: overpaid
    int overflowSign = 0;        // when out of range: the sign of the runaway amount
    std::int32_t stoppedAt = 0;  // when out of range: the payment where it happened
};

// Trial: the balance left after amortizing `balance` by the payments.
// Writes nothing and shows nothing.
TrialResult Trial(const SplitTerms& terms, Currency balance, const SplitPayments& payments);

// Check: the top step is the highest with a positive rate (0 for none). Its
// cap is raised to 999,999.99 when below 999,999.9, with the message
// kSplitTopCapText and, for steps 1 to 4, kSplitTopCapBoxText into its box
// (appended to `fills`). That cap, raised or typed, bounds nothing: the top
// step earns on every dollar above the cap of the step below it. The caps
// are not checked for rising order here.
int Check(std::array<SplitStep, 6>& steps, UserPort& port, std::vector<SplitBoxFill>& fills);

// True when a step's cap lies below the cap of the step under it, so that
// the step's slice, and its interest, can come out negative. The top step's
// cap takes no part.
bool CapsFall(const SplitTerms& terms);

// --- the searches ------------------------------------------------------------------------

// The plain search steps taken before halving takes over. A search that
// settles does so in a handful of steps; one that swings is caught sooner,
// when it returns to a value already tried. On long debts the steps are
// fewer, so that they amortize at most kSplitSearchWork payments in all
// (25 steps for 20,000 payments): the halving that follows needs about 32
// trials whatever the debt, so a search stays bounded in work.
inline constexpr std::int64_t kSplitMaxPlainSteps = 1000;
inline constexpr std::int64_t kSplitSearchWork = 500'000;
std::int64_t PlainStepsFor(std::int32_t count);

struct SplitSearch {
    bool found = false;
    Currency value = 0;  // whole cents, at least one cent, when found
    ChartText lines;     // the title, then one line per trial
};

// The common payment (every payment, first and last included, alike) that
// brings the final balance of `principal` to zero, from `start`: each step
// takes the payment times (residual / principal + 1), cut to whole cents,
// until two payments or the residual are within a cent. A search that does
// not settle on a payment of at least a cent (it returns to a payment
// already tried, leaves the range or takes PlainStepsFor(count) steps) is finished
// by halving the range up to 21,474,836.47 on the same trials; so wherever
// the plain steps settle, their payment stands. Nothing is found when no
// payment in that range turns a balance left over into one repaid.
SplitSearch SearchCommonPayment(const SplitTerms& terms, Currency principal, Currency start,
                                const FormatSettings& fs = FormatSettings{});

// The principal the payments repay, from `start`: each step takes the
// principal less the residual, cut to whole cents; otherwise as above.
SplitSearch SearchPrincipal(const SplitTerms& terms, const SplitPayments& payments, Currency start,
                            const FormatSettings& fs = FormatSettings{});

// --- the computing buttons ---------------------------------------------------------------

enum class SplitOutcome {
    Refused,    // SplitIntegrity or CheckSplitAmounts refused; nothing changed
    Amortized,  // the chart and both result boxes are written
    Stopped,    // an amount left kSplitMaxCents: the chart stops there
    NotFound,   // a search found no value; its lines are the chart, the amounts are unchanged
};

struct SplitRun {
    SplitOutcome outcome = SplitOutcome::Refused;
    bool chartReplaced = false;  // when true, `chart` replaces the chart text whole
    ChartText chart;
    std::vector<SplitBoxFill> fills;  // boxes to write, in order
};

// "Just Amortize": the chart of the debt, payment by payment, with each
// step's interest, the total interest and the final balance, each interest
// rounded to cents with RoundAdd. Writes only a top step's cap that Check
// raises.
SplitRun JustAmortize(SplitInputs& split, double RoundAdd, UserPort& port,
                      const FormatSettings& fs = FormatSettings{});

// "Match Common Payment : Rates": the common payment (first and last payment
// alike) that brings the final balance to zero, then "Just Amortize". The
// payment found is stored in all three payments.
SplitRun MatchCommonPayment(SplitInputs& split, double RoundAdd, UserPort& port,
                            const FormatSettings& fs = FormatSettings{});

// "Match Principal : Rates": the principal the payments repay, then
// "Just Amortize". The principal found is stored.
SplitRun MatchPrincipal(SplitInputs& split, double RoundAdd, UserPort& port,
                        const FormatSettings& fs = FormatSettings{});

}  // namespace qv
