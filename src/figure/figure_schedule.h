#pragma once
// Figure a regular schedule (the page tabMax): the common payment that
// amortizes the regular page's schedule at a yearly rate the user types,
// the report of it and the page's texts.
//
// The page's handlers call:
//   edMaxRateExit     TakeEntry(edMaxRate, qv::CheckMaxRate(text), state.figure.MaxRate, port);
//   butFindClick      auto r = qv::AdjustPayments(state.loan, state.regular, state.figure,
//                                               inputs, port);
//                     then show or hide the three notes (r.notesVisible), replace
//                     redFound's lines with *r.found when set, and give the regular
//                     page's summary label *r.summaryText when set;
//   tabMaxEnter       hide the three notes;
//   butMaxResetClick  the window's Reset, show the regular page, then
//                     port.Inform(qv::kMaxResetText);
//   butPrintItClick   print redFound's lines with kKnownRatePrintJobTitle
//                     (chart/chart_file.h).
// Reset leaves MaxRate at 0 while the rate box shows kMaxRateStartText, so
// the rate counts only once the box has been entered and left.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/format.h"
#include "base/number_entry.h"
#include "base/user_port.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "figure/payment_search.h"
#include "schedule/regular_schedule.h"

namespace qv {

// --- the page's texts ------------------------------------------------------

// The rate box: its name in the entry check's messages and its start text.
inline constexpr std::string_view kMaxRateName = "Rate/year for Maximum Payment";
inline constexpr std::string_view kMaxRateStartText = "10.00";

// redFound at start.
inline constexpr std::array<std::string_view, 7> kFoundStartLines = {
    "After the amortizing payment has been computed, your schedule will show here.",
    "",
    "NOTE: If you want all payments to be the same size, be sure that",
    "all the payments you enter on TAB 2 are the same size, as the",
    "adjustment mechanism here reduces or increases each scheduled",
    "payment by the same amount until the most complete non-negative",
    "amortization is achieved.",
};

// The three notes labMax8, labMax9 and LabMax10, hidden until a search ends
// with an irregular last payment.
inline constexpr std::array<std::string_view, 3> kNoteTexts = {
    "An APR for these schedules may show slightly less than the rate used, because these "
    "schedules",
    "avoid ANY overpayment by adjusting the last scheduled payment, which may make it irregular.",
    "Quite irregular final payments may result in very long or very large or high rate "
    "transactions.",
};

// The instructions, top to bottom: four lines, the rate box between
// kRateStepText and kPerYearText, kAdjustStepText beside "Adjust Payments",
// and kUnchangedText (with its trailing space).
inline constexpr std::array<std::string_view, 4> kInstructionLines = {
    "First, to compute a payment schedule without knowing the payment amount it must be regular",
    "(i.e. all the payment intervals and amounts except those for the first and last payment "
    "must match).",
    "Click Reset All unless you have just done that, and enter the whole REGULAR schedule on "
    "Tab 2.",
    "Include a guess at the common payment amount and return here for the second and third "
    "steps.",
};
inline constexpr std::string_view kRateStepText =
    "Second, enter the Interest Rate you wish to use:";
inline constexpr std::string_view kPerYearText = "% per year";
inline constexpr std::string_view kAdjustStepText =
    "Third, click Adjust Payments to get adjusted payments consistent with that Interest Rate:";
inline constexpr std::string_view kUnchangedText =
    "Schedule at Tab 2 is unchanged, but each of its payments are adjusted here by the same "
    "amount. ";

// --- messages --------------------------------------------------------------

// "Adjust Payments" refuses to start, checked in this order.
inline constexpr std::string_view kRegPayZeroText = "Oops: Regular Payment is $ 0.00 !";
inline constexpr std::string_view kAmtFinZeroText = "Oops: Amount Financed is $ 0.00 !";
inline constexpr std::string_view kNoPaymentsText = "Oops: zero Payments in schedule !";
inline constexpr std::string_view kRateMeaninglessText = "Oops: 0.00% rate meaningless !";

// A regular-page payment box that does not read as a number; the search
// goes on.
inline constexpr std::string_view kReenterFirstPayText =
    "Please click [Reset All] and enter new First Payment";
inline constexpr std::string_view kReenterCommonPayText =
    "Please click [Reset All] and enter new Common Payment";
inline constexpr std::string_view kReenterLastPayText =
    "Please click [Reset All] and enter new Last Payment";

// "Reset All" on this page, after the regular page is shown ("\r\n" is a
// line break; the ampersand shows as one).
inline constexpr std::string_view kMaxResetText =
    "Now enter your schedule here & click [Figure a Schedule]\r\nagain; but do NOT click [Reset "
    "All] again.";

// "Print Report" prints without a dialog, so a printer that could not take
// the job is the report's own to tell.
inline constexpr std::string_view kReportNotPrintedText =
    "The report was not printed: no printer took the job.\n\rChoose another printer, then "
    "click [Print Report] again.";

// A schedule whose balance, estimate or payments leave the currency range
// (about 922 trillion dollars): nothing is figured.
inline constexpr std::string_view kOutOfRangeText =
    "Oops: this schedule's balance grows past what can be computed !\n\rTry a lower rate, a "
    "smaller amount or fewer payments.";
inline constexpr std::string_view kOutOfRangeLine =
    "No payment found: the balance grows past what can be computed.";

// The search reached its bound on trials without settling on a payment.
// "Oops: no payment found in 41237 trials !\n\rPlease check the schedule on Tab 2 and the rate."
std::string TrialBoundText(std::int64_t trials);
// "No payment found in 41237 trials; the last estimate was $1,234.57."
std::string TrialBoundLine(std::int64_t trials, Currency estimate,
                           const FormatSettings& fs = FormatSettings{});

// --- the rate box ----------------------------------------------------------

// edMaxRateExit's check: the entry check of amounts and rates under the
// name kMaxRateName; its value goes into MaxRate.
Float2Check CheckMaxRate(std::string_view text);

// --- "Adjust Payments" -----------------------------------------------------

struct FigureInputs {
    RegularTexts regular;  // the regular page's boxes as they read now
    // The regular page's interval; with none chosen the report says weekly.
    std::optional<Interval> interval = Interval::Monthly;
    bool showFlip = false;  // settings page, "Debug Find Payment"
    bool showAmort = true;  // "Show Amortization for these Payments"
};

enum class FigureEnd {
    Refused,    // a check refused the run (message shown); redFound is left alone
    Found,      // redFound holds the report
    NoPayment,  // the search ended without a payment (message shown); redFound says why
};

struct FigureOutcome {
    FigureEnd end = FigureEnd::Refused;
    bool notesVisible = false;  // labMax8, labMax9, LabMax10
    // Refused for want of a rate: the rate counts only once its box has been
    // left, so the page puts the focus there for the user to confirm it.
    bool rateToEnter = false;
    // redFound's new lines, top to bottom; empty: leave the box as it is.
    // One listing line starts with a carriage return and line feed.
    std::optional<ChartText> found;
    // The regular page's summary label, when the run refreshed the summary.
    std::optional<std::string> summaryText;
    // What the regular page's boxes show afterwards: the schedule stays as
    // typed there (the adjusted payments appear only in the report), so
    // these are the texts that were read.
    RegularTexts regularBoxes;
    // The search's result (valid with Found): the common payment, the first
    // and last payments after it, and Z, the final balance of the adjusted
    // schedule.
    TrialSchedule schedule;
    Currency finalBalance = 0;
};

// butFindClick: checks RegPay, AmtFin, PayCount and MaxRate (in that order,
// stopping at the first that is zero); reads the first, common and last
// payment boxes (a box that does not read as a number gets its message and
// the payment keeps the value the page last accepted); refreshes the regular
// page's summary (PayCount, TotPay, AmtFin and the periods and extra days
// take the boxes' values); refuses a schedule left without payments or
// amount, or of more than 485 payments; then searches and reports.
//
// The interest basis is the unit period (PdsPerYear, DaysPerPd); a single
// payment due after more than 365 days (the regular page's per-diem loan)
// accrues simple interest on its days over a 365-day year, as its APR is
// computed. Writes FirstPay and LastPay (adjusted) when a payment is found,
// and DaysPerPd 14 for the two-weekly interval. It takes three parts of the
// loan state because it is the regular page's schedule, refigured at the
// figure page's rate, and it refreshes the loan's summary as that page does.
FigureOutcome AdjustPayments(LoanTerms& loan, RegularInputs& regular, const FigureRate& rate,
                             const FigureInputs& inputs, UserPort& port,
                             const SearchLimits& limits = SearchLimits{},
                             const FormatSettings& fs = FormatSettings{});

}  // namespace qv
