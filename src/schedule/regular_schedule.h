#pragma once
// The regular schedule: a number of payments of one common amount on one
// common interval, where only the first and the last payment may differ in
// amount and in the length of the interval before them.
//
// The regular page reads its boxes into RegularTexts, and everything it
// computes or words is done here: the summary line, the payment groups, the
// carry of extra days into whole periods, the hand-over of a single payment
// and the messages.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/money.h"
#include "base/user_port.h"
#include "core/loan_state.h"
#include "core/pay_group.h"

namespace qv {

class TMemDataSet;

// --- messages of the regular page ---------------------------------------

inline constexpr std::string_view kZeroAmountFinancedText =
    "With Payments you cannot have zero $ Amount Financed !\n\rTo Reset All, first enter at "
    "least $.01.";
inline constexpr std::string_view kAmountOverTotalText =
    "Amount Financed cannot > Total of Payments!\n\rTo Reset, first enter 1 here.";
inline constexpr std::string_view kNonZeroIntervalText = "Oops, you must set a non-zero interval";
inline constexpr std::string_view kZeroPeriodsNeedDaysText =
    "With zero Common Periods, Extra Days must > 0 !";
inline constexpr std::string_view kLastNeedsDaysText = "Note: Number of Extra Days must be > 0 !";
inline constexpr std::string_view kSumDiffersText =
    "Warning: Using Sum of scheduled Payments, <> Total of Payments !";
inline constexpr std::string_view kTooManyRegularPaymentsText =
    "Warning: No more than 485 scheduled Payments allowed!";
inline constexpr std::string_view kFirstPdsNotIntegerText =
    "1st Payment Regular Period Count is not an integer !";
inline constexpr std::string_view kFirstPdsNegativeText =
    "1st Payment Regular Period Count cannot be negative !";
inline constexpr std::string_view kAnnualCompoundingText =
    "This per diem loan has annual compounding\r\nPlease check Per Diem Loans under Help.";
inline constexpr std::string_view kNoDurationText = "You have payments with no duration!";

// "You cannot have zero payments of $100.00\n\rTo Reset, first enter 1 here."
std::string ZeroPaymentsOfText(double RegPay, const FormatSettings& fs = FormatSettings{});
// "You cannot have 36 payments of $ zero !\n\rTo Reset, first enter $.01 here."
std::string PaymentsOfZeroText(std::string_view countText);
// "Revise First Common Period count, as Extra Days cannot > = 30"
std::string FirstExtraDaysText(std::int32_t DaysPerPd);
// "Revised Common Period count, as Extra Days cannot > = 30"
std::string LastExtraDaysText(std::int32_t DaysPerPd);

// --- reading the boxes --------------------------------------------------

// The texts of the regular page's boxes, as the user left them.
struct RegularTexts {
    std::string AmtFin = "0.00";
    std::string PayCount = "0";
    std::string RegPay = "0.0";
    std::string FirstPay = "0.00";
    std::string FirstPds = "0";
    std::string FirstExtra = "0";
    std::string LastPay = "0.00";
    std::string LastPds = "0";
    std::string LastExtra = "0";
    bool operator==(const RegularTexts&) const = default;
};

// The same boxes as numbers.
struct RegularBoxes {
    double AmtFin = 0.0;
    std::int32_t PayCount = 0;
    double RegPay = 0.0;
    double FirstPay = 0.0;
    std::int32_t FirstPds = 0;
    std::int32_t FirstExtra = 0;
    double LastPay = 0.0;
    std::int32_t LastPds = 0;
    std::int32_t LastExtra = 0;
};

// A box's amount as the entry check reads it (rounded to 4 decimals); 0 for
// a text the check would refuse, so a box nobody has left yet never yields
// more than the check would let through.
double BoxDollars(std::string_view text);
// A box's whole number as the entry check reads it; 0 for a refused text.
std::int32_t BoxWhole(std::string_view text);
RegularBoxes ReadRegularBoxes(const RegularTexts& texts);

// The page's working variables take the boxes' values (RegPay, FirstPay,
// FirstPds, FirstExtra, LastPay, LastPds, LastExtra), so that what was
// computed is what the page shows.
void StoreRegularBoxes(RegularInputs& regular, const RegularBoxes& boxes);

// --- the summary line ---------------------------------------------------

struct SimpleSummary {
    std::int32_t PayCount = 0;
    // The first payment, the inner payments and (with more than one payment)
    // the last payment, added as currency. Held at kCurrencyTooLarge, beyond
    // the currency range, when the sum cannot be held (totalInRange false).
    Currency TotPay = 0;
    bool totalInRange = true;
    double AmtFin = 0.0;
    // "Above schedule has 36 Payments Totalling $3,600.00 w/ $600.00 Finance Charge"
    std::string text;
};

// UpdateSimpleSummary's numbers and the text of the summary label. A total
// beyond the currency range is not written out; the label says so instead.
SimpleSummary SummarizeRegular(const RegularBoxes& boxes,
                               const FormatSettings& fs = FormatSettings{});

// UpdateSimpleSummary's engine half: PayCount, TotPay and AmtFin take the
// summary's values; the summary label's text is in the result.
SimpleSummary UpdateSimpleSummary(LoanTerms& loan, const RegularBoxes& boxes,
                                  const FormatSettings& fs = FormatSettings{});

// --- extra days ---------------------------------------------------------

struct ExtraDaysCarry {
    bool carried = false;      // the days reached a whole period
    std::int64_t periods = 0;  // the periods box's new value
    std::int32_t days = 0;     // the extra days left over
};

// Extra days of a full unit period or more are carried into the whole
// periods: periods + days div DaysPerPd, days mod DaysPerPd. A unit period
// of no days carries nothing.
ExtraDaysCarry CarryExtraDays(std::int64_t periods, std::int32_t days, std::int32_t DaysPerPd);

// --- "Compute APR" ------------------------------------------------------

// The groups of a regular schedule, in Sequence order: the first payment
// always; the inner payments (count - 2 of the common payment, one period
// apart) with more than two payments; the last payment with more than one.
// PaySize is the box value rounded to currency.
std::vector<PayGroup> RegularGroups(const RegularBoxes& boxes);

// SimplePaySet: AmtFin and PayCount take the boxes' values, mdsPaySet is
// emptied and refilled with RegularGroups, and when the groups' total
// differs from TotPay by a cent or more the warning kSumDiffersText is shown
// and TotPay takes the groups' total.
void SimplePaySet(LoanTerms& loan, TMemDataSet& paySet, const RegularBoxes& boxes, UserPort& port);

// The pre-checks of "Compute APR" on the box texts: a zero first or last
// payment with whole periods but no extra days, or a zero common payment
// with a number of payments other than "0". True when one of them holds.
bool HasPaymentWithNoDuration(const RegularTexts& texts);

// Where a schedule of fewer than two payments goes before the APR engine.
enum class SinglePaymentRoute {
    NotSingle,          // two or more payments, or a last payment described
    PeriodsNotInteger,  // kFirstPdsNotIntegerText
    PeriodsNegative,    // kFirstPdsNegativeText
    PerDiemOverAYear,   // more than 365 days: per-diem basis, kAnnualCompoundingText
    OnePaymentPage,     // 365 days or fewer: the one-payment page takes it
};

struct SinglePaymentDecision {
    SinglePaymentRoute route = SinglePaymentRoute::NotSingle;
    std::int32_t days = 0;  // the term in days, for OnePaymentPage
};

// A single payment described on the first line (the last line reads zero
// throughout): its term is the first extra days plus the first whole
// periods times DaysPerPd.
SinglePaymentDecision RouteSinglePayment(std::int32_t PayCount, const RegularTexts& texts,
                                         std::int32_t DaysPerPd);

}  // namespace qv
