#pragma once
// Payment schedules entered as groups of identical payments: the arithmetic
// and the texts of the irregular-schedule page and the schedule editor.
//
// The pages read their boxes, call these functions, show the texts and
// write the results; everything here is free of any windowing toolkit.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/money.h"
#include "base/page_text.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "core/pay_group.h"
#include "core/pay_schedule.h"

namespace qv {

class TMemDataSet;

// --- the payment-group grids ---------------------------------------------

// The columns of the irregular page's grid (dbgPaySet) and the editor's
// (dbgPaySet2), left to right: both show the same groups the same way.
inline constexpr std::array<GridColumnText, 5> kPayGroupColumns{{
    {"Sequence", "GroupID"},
    {"SetSize", "#/Group"},
    {"PaySize", "$/Payment"},
    {"PriorPds", "Prior Reg.Intervals"},
    {"AddDays", "Prior Extra Days"},
}};
inline constexpr std::string_view kPayGroupGridHint = "Click on a cell to edit it.";
inline constexpr std::string_view kPayGroupGridName = "Payment groups";

// --- the irregular page's boxes -----------------------------------------

// The warning after a total of payments has been entered, if any: a total
// under one cent while an amount is financed, or a total below the amount
// financed. The total stays stored either way.
std::optional<std::string> TotalOfPaymentsWarning(Currency TotPay, double AmtFin);

// The payment the one-group suggestion proposes, in number format with
// thousands separators ("88.85", "1,000.00"): the total of payments shared
// evenly over PayCount payments, the fraction of a cent dropped.
// Offered only while no group has been started (the period box reads exactly
// "0" and the payment box exactly "0.00") and only for a positive count;
// otherwise nothing is suggested.
std::optional<std::string> OneGroupSuggestion(std::string_view groupPdsText,
                                              std::string_view groupPayText, Currency TotPay,
                                              std::int32_t PayCount,
                                              const FormatSettings& fs = FormatSettings{});

// --- Add Group -----------------------------------------------------------

inline constexpr std::string_view kGroupSyntaxError = "This Payment Group data has syntax errors.";
inline constexpr std::string_view kTooManyPayments =
    "Warning: No more than 485 payments allowed overall!";

// A group box's text as "Add Group" reads it: a plain unsigned number,
// digits with commas only as thousands separators (the suggestion writes
// them; CommaSeparatesThousands) and, for a decimal, one decimal point; no
// sign, currency sign, spaces or exponent, at least one digit. A whole number beyond 32 bits or a
// decimal beyond the currency range does not convert.
std::optional<std::int32_t> GroupTextAsInteger(std::string_view text);
std::optional<double> GroupTextAsDecimal(std::string_view text);

// What "Add Group" makes of its four boxes.
struct AddGroupDecision {
    bool accepted = false;
    // Meaningful when accepted; its Sequence is the page's to give.
    PayGroup group;
    // The refusals, in the order they are shown (both can appear).
    std::vector<std::string> messages;
};

// Converts the four texts (size, payment, whole periods, extra days) with
// GroupTextAsInteger / GroupTextAsDecimal and decides whether the group may
// join the GroupPayCount payments entered so far. No range checks beyond that: a group of no
// payments, a payment of zero or an interval of zero are accepted (the schedule tests catch them
// later).
AddGroupDecision DecideAddGroup(std::string_view sizeText, std::string_view payText,
                                std::string_view pdsText, std::string_view extraText,
                                std::int32_t GroupPayCount);

// Records an accepted group in the loan state: the group variables take its
// values, the running count and total grow, and GroupNumber moves on.
void TakeNewGroup(GroupEntry& entry, const PayGroup& group);

// "Payment Group # 2 has"
std::string GroupCountText(std::int32_t GroupNumber);

// --- walking the groups -------------------------------------------------

// Payments and dollar total of all groups, and what the schedule test finds
// wrong with single groups.
struct GroupWalk {
    std::int64_t count = 0;  // sum of SetSize
    // Sum of SetSize x PaySize, each payment rounded to currency first;
    // valid while totalInRange.
    Currency total = 0;
    bool totalInRange = true;
    // The same sum in floating point, for showing a total beyond the
    // currency range.
    double dollars = 0.0;
    // One text per finding, group by group in Sequence order.
    std::vector<std::string> findings;
};

// Walks every group of `paySet` in Sequence order from the first, storing a
// pending group first; the table's cursor is put back where it was. Throws
// the table's EMemDatasetError when a pending group cannot be stored.
// Findings, per group in this order: an interval of no periods and no days
// ("Group # 3 has an interval of zero !"), no payments ("Group # 3 contains
// no payments!"), a payment under one cent ("Group # 3 has payment(s) of
// zero $ !").
GroupWalk WalkGroups(TMemDataSet& paySet);

// "Estimate APR" on a schedule without a single payment: nothing to compute,
// said plainly instead of through the checks that expect payments.
inline constexpr std::string_view kNoPaymentsToEstimateText =
    "This schedule has no payments, so there is no APR to estimate.\n\r"
    "Enter the payments first: Add Group above, or a schedule at Tab 2 or Tab 5.";

// The irregular page's summary: "13 Payments, Total= $1,155.11".
std::string GroupSumText(std::int64_t count, double total,
                         const FormatSettings& fs = FormatSettings{});

// The editor's total: "12 payments total to $1,072.41".
std::string PaymentsTotalText(std::int64_t count, Currency total,
                              const FormatSettings& fs = FormatSettings{});

// --- the editor's amount-financed question ------------------------------

inline constexpr std::string_view kAmtFinTitle = "Amount Financed Update";
inline constexpr std::string_view kAmtFinPrompt =
    "Change this Amount Financed, if it is incorrect:";
// The box proposes the amount financed in currency format ("$1,000.00").
std::string AmountFinancedDefault(double AmtFin, const FormatSettings& fs = FormatSettings{});

struct AmountFinancedReply {
    enum class Kind {
        Keep,    // the proposal came back unchanged (or the box was cancelled)
        Accept,  // amtFin and boxText hold the new amount
        Refuse,  // message says why; ask again
    } kind = Kind::Keep;
    double amtFin = 0.0;
    std::string boxText;  // the amount in number format, for the amount box
    std::string message;  // "12x is not a valid Amount Financed"
};

// Judges an answer to the question. Both texts are considered up to 255
// characters.
AmountFinancedReply JudgeAmountFinancedReply(std::string_view answer, std::string_view defaultText,
                                             const FormatSettings& fs = FormatSettings{});

// --- Estimate APR -------------------------------------------------------

inline constexpr std::string_view kPerDiemNotice =
    "One or two payments on short intervals often\n\ruse \"per-diem based\" interest, so this "
    "APR\n\ris computed on that basis";
inline constexpr std::string_view kNoAprEstimated =
    "No APR was estimated on account of input errors.";

// Sets DaysPerPd and PdsPerYear to the interval's unit period; with no
// interval chosen they stay as they are.
void SetBasePeriod(LoanTerms& loan, std::optional<Interval> interval);

// Whether a schedule that passed the group check is computed on the
// per-diem basis: fewer than three payments, the first due after no whole
// period and the second after no extra days, as the payment matrix of the
// previous computation holds them.
bool PerDiemRuleApplies(const LoanTerms& loan);

}  // namespace qv
