#pragma once
// The irregular page's "Estimate APR" as one engine call, and the recount of
// the groups that "Test Sched. Integrity" makes before it asks for the amount
// financed. Loading a schedule runs both, in that order; the desktop program
// and the command-line companion run this same code, so a schedule gets the
// same report and the same rate from either.
//
// The desktop page calls, for "Estimate APR":
//     const qv::AprEstimate e = qv::EstimateApr(state.loan, state.group, mdsPaySet,
//                                               rgpBasePd->ItemIndex(), settings, port);
//     if (e.summarized) UpdateGroupSum(e.count, e.total);
//     edAPR := qv::AprBoxText(e, state.loan.APR);
//     if (e.Computed()) { capture the computed schedule; chart box := e.report; }
// and, for the count half of "Test Sched. Integrity":
//     const qv::ScheduleRecount r = qv::RecountSchedule(state.loan, mdsPaySet);
//     qv::ShowMessages(port, r.messages);
//     if (r.counted) { port.Inform(r.totalText); write edTotPay, edPayCount; ask for AmtFin }
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/format.h"
#include "base/user_port.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "core/loan_state.h"

namespace qv {

class TMemDataSet;

// --- the recount of "Test Sched. Integrity" --------------------------------

struct ScheduleRecount {
    // PayCount and TotPay now hold the groups' count and total. False when a
    // pending group could not be stored or the count or total cannot be held;
    // both then keep what they had.
    bool counted = false;
    // In the order to show them: the table's error (warning), or the
    // findings on single groups (information) followed, when the count or
    // total cannot be held, by kTotalOutOfRange (warning).
    std::vector<PendingMessage> messages;
    // "12 payments total to $1,072.41", when counted.
    std::string totalText;
};

// Walks the groups of `paySet` and takes their count of payments and their
// total (each payment rounded to currency) into PayCount and TotPay.
ScheduleRecount RecountSchedule(LoanTerms& loan, TMemDataSet& paySet,
                                const FormatSettings& fs = FormatSettings{});
// The same recount without the total's text (totalText stays empty), for a
// caller that never shows it: formatting the amount costs more than the walk.
ScheduleRecount RecountScheduleValues(LoanTerms& loan, TMemDataSet& paySet);

// --- the irregular page's summary ------------------------------------------

struct GroupSummary {
    std::int64_t count = 0;  // payments in all
    double total = 0.0;      // their total in dollars
};

// Recounts the groups of `paySet` into GroupPayCount (held within 32 bits)
// and GroupPayTotal, the running count and total the summary shows. A pending
// group the table cannot store is told as a warning and gives nothing.
std::optional<GroupSummary> RecountGroups(GroupEntry& group, TMemDataSet& paySet, UserPort& port);

// --- "Estimate APR" ----------------------------------------------------------

struct AprEstimate {
    // The groups were recounted (GroupPayCount, GroupPayTotal) and the page's
    // summary shows `count` payments totalling `total` dollars. False when a
    // pending group could not be stored; that was told as a warning.
    bool summarized = false;
    std::int64_t count = 0;
    double total = 0.0;
    // The schedule holds no payment: told with kNoPaymentsToEstimateText,
    // nothing was checked or computed and the APR box goes back to "Pending".
    bool noPayments = false;
    // How the engine's run ended; empty when it did not run (no payments, a
    // table error, or the group checks refused the schedule and
    // kNoAprEstimated was told).
    std::optional<AprOutcome> outcome;
    // The engine's report for the chart box, when the rate was computed.
    ChartText report;

    bool Computed() const { return outcome == AprOutcome::Computed; }
    // The APR box reads "InputError": the schedule has payments but no rate.
    bool InputError() const { return !noPayments && !Computed(); }
};

// "Estimate APR" for the groups of `paySet` with the unit period of the
// interval (none chosen keeps the unit period): recounts the groups, checks them
// (IntegrityMdsPaySet), decides the per-diem basis from the matrix of the previous computation
// (telling kPerDiemNotice when it applies) and runs GetAPR. Leaves ScheduleSource at the irregular
// page's code in every case. Takes the group part as well as the loan because
// the recount is the irregular page's running count and total of its groups.
AprEstimate EstimateApr(LoanTerms& loan, GroupEntry& group, TMemDataSet& paySet,
                        std::optional<Interval> interval, const AprSettings& settings,
                        UserPort& port, const FormatSettings& fs = FormatSettings{});

// The text of the irregular page's APR box after an estimate: "Pending",
// "InputError" or the rate in general format ("12.683").
std::string AprBoxText(const AprEstimate& estimate, double APR,
                       const FormatSettings& fs = FormatSettings{});

}  // namespace qv
