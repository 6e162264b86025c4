#include "schedule/apr_estimate.h"

#include <algorithm>
#include <limits>

#include "core/pay_schedule.h"
#include "data/memdset.h"
#include "schedule/group_schedule.h"

namespace qv {
namespace {

bool FitsInt32(std::int64_t n) {
    return n >= std::numeric_limits<std::int32_t>::min() &&
           n <= std::numeric_limits<std::int32_t>::max();
}

double WalkTotalDollars(const GroupWalk& walk) {
    return walk.totalInRange ? CurrencyToDollars(walk.total) : walk.dollars;
}

}  // namespace

ScheduleRecount RecountScheduleValues(LoanTerms& loan, TMemDataSet& paySet) {
    ScheduleRecount r;
    GroupWalk walk;
    try {
        walk = WalkGroups(paySet);
    } catch (const EMemDatasetError& error) {
        r.messages.push_back({MessageKind::Warning, error.what()});
        return r;
    }
    for (std::string& finding : walk.findings)
        r.messages.push_back({MessageKind::Information, std::move(finding)});
    // A schedule whose count or total no variable can hold leaves the loan's
    // count and total as they are.
    if (!walk.totalInRange || !FitsInt32(walk.count)) {
        r.messages.push_back({MessageKind::Warning, std::string(kTotalOutOfRange)});
        return r;
    }
    loan.PayCount = static_cast<std::int32_t>(walk.count);
    loan.TotPay = walk.total;
    r.counted = true;
    return r;
}

ScheduleRecount RecountSchedule(LoanTerms& loan, TMemDataSet& paySet, const FormatSettings& fs) {
    ScheduleRecount r = RecountScheduleValues(loan, paySet);
    if (r.counted) r.totalText = PaymentsTotalText(loan.PayCount, loan.TotPay, fs);
    return r;
}

std::optional<GroupSummary> RecountGroups(GroupEntry& group, TMemDataSet& paySet, UserPort& port) {
    try {
        const GroupWalk walk = WalkGroups(paySet);
        group.GroupPayCount = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(walk.count, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
        group.GroupPayTotal = WalkTotalDollars(walk);
        return GroupSummary{walk.count, group.GroupPayTotal};
    } catch (const EMemDatasetError& error) {
        port.Warn(error.what());
        return std::nullopt;
    }
}

AprEstimate EstimateApr(LoanTerms& loan, GroupEntry& group, TMemDataSet& paySet,
                        std::optional<Interval> interval, const AprSettings& settings,
                        UserPort& port, const FormatSettings& fs) {
    AprEstimate e;
    // The page's summary first; a group the table cannot store has been
    // reported, and the schedule is not tested on top of that.
    if (const std::optional<GroupSummary> summary = RecountGroups(group, paySet, port)) {
        e.summarized = true;
        e.count = summary->count;
        e.total = summary->total;
    }
    bool ok = e.summarized;
    if (ok && group.GroupPayCount == 0) {
        port.Inform(kNoPaymentsToEstimateText);
        e.noPayments = true;
        loan.ScheduleSource = kSourceIrregular;
        return e;
    }
    if (ok) ok = IntegrityMdsPaySet(loan, paySet, port, fs);
    loan.PerDiem = false;
    SetBasePeriod(loan, interval);
    if (ok && PerDiemRuleApplies(loan)) {
        port.Inform(kPerDiemNotice);
        loan.PerDiem = true;
    }
    if (ok) {
        e.outcome = GetAPR(loan, paySet, settings, e.report, port, fs);
        if (!e.Computed()) e.report.clear();
    } else {
        port.Warn(kNoAprEstimated);
    }
    loan.ScheduleSource = kSourceIrregular;
    return e;
}

std::string AprBoxText(const AprEstimate& estimate, double APR, const FormatSettings& fs) {
    if (estimate.noPayments) return "Pending";
    if (!estimate.Computed()) return "InputError";
    return FloatToStr(APR, fs);
}

}  // namespace qv
