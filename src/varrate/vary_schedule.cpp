#include "varrate/vary_schedule.h"

#include <cmath>

#include "core/pay_group.h"
#include "data/memdset.h"
#include "data/table_walk.h"
#include "schedule/schedule_file.h"
#include "varrate/var_group.h"
#include "varrate/vary_list.h"

namespace qv {
namespace {

// Payments the groups hold; a group of no payments or fewer holds none.
std::int64_t PaymentCount(const std::vector<VarGroup>& groups) {
    std::int64_t n = 0;
    for (const VarGroup& g : groups)
        if (g.GrpSize > 0) n += g.GrpSize;
    return n;
}

std::string FinalBalanceLabel(double balance, const FormatSettings& fs) {
    return std::string(kFinalBalancePrefix) + FloatToStrF(balance, FloatStyle::Money, 18, 4, fs);
}

PendingMessage Info(std::string_view text) {
    return {MessageKind::Information, std::string(text)};
}

// The amortization of the groups, row by row; empty when a value overflows,
// with the payment where it did in `overflowAt`.
std::vector<VarScheduleRow> Amortize(double principal, const IntervalInfo& interval,
                                     const std::vector<VarGroup>& groups,
                                     std::int64_t& overflowAt) {
    std::vector<VarScheduleRow> rows;
    rows.reserve(static_cast<std::size_t>(PaymentCount(groups)));
    const double Y = interval.nominalPerYear;
    const double D = interval.DaysPerPd;
    double B = principal;
    std::int32_t n = 0;
    for (const VarGroup& g : groups) {
        for (std::int32_t k = 0; k < g.GrpSize; ++k) {
            ++n;
            const double t = g.Interval + g.AddDays / D;
            const double I = (g.Rate / Y) * (B * t) * 0.01;
            const double N = B + I - g.Payment;
            if (!std::isfinite(I) || !std::isfinite(N)) {
                overflowAt = n;
                return {};
            }
            rows.push_back({n, B, g.Rate, g.Interval, g.AddDays, I, g.Payment, N});
            B = N;
        }
    }
    return rows;
}

// "    3 payments of $100/Interval of 1 months  + 0 days @ 12%/a": the
// fields as the grid shows them.
std::string SummaryLine(const TMemDataSet& variable, std::string_view unitWord) {
    const bool single = variable.FieldAsInteger("GrpSize") < 2;
    std::string size;
    Pad(4, variable.FieldAsString("GrpSize"), size);
    return size + (single ? " payment of  $" : " payments of $") +
           variable.FieldAsString("Payment") + "/Interval of " +
           variable.FieldAsString("Interval") + std::string(unitWord) + (single ? "  " : "s ") +
           " + " + variable.FieldAsString("AddDays") + " days @ " + variable.FieldAsString("Rate") +
           "%/a";
}

std::string PaymentLine(int k, const VarScheduleRow& row, const FormatSettings& fs) {
    std::string number, oldBal, interest, payment, newBal, rate, regPds, addDays;
    Pad(2, std::to_string(k), number);
    Pad3(11, oldBal, row.OldBal, fs);
    Pad3(9, interest, row.Interest, fs);
    Pad3(9, payment, row.Payment, fs);
    Pad3(11, newBal, row.NewBal, fs);
    Pad6(10, rate, row.Rate, fs);
    Pad(2, std::to_string(row.RegPds), regPds);
    Pad(2, std::to_string(row.AddDays), addDays);
    return number + " " + oldBal + "+" + interest + "-" + payment + "=" + newBal + " @" + rate +
           "% " + regPds + " " + addDays;
}

// Replaces the chart by the heading and the group summary.
void WriteSummary(TMemDataSet& variable, std::string_view unitWord, ChartText& chart) {
    chart = {"Unrounded Variable Rate Amortization, version  0.9992",
             "Note: decimal fractions below are actually c.17 significant digits,",
             "       though only displayed below rounded to 3 decimal places.", "",
             "Summary of Payment Schedule:"};
    TableWalk walk(variable);
    for (variable.MoveFirst(); !variable.AtEnd(); variable.MoveNext())
        chart.push_back(SummaryLine(variable, unitWord));
}

// Appends the header and one line per payment.
void WritePayments(TMemDataSet& schedule, std::string_view unitWord, ChartText& chart,
                   const FormatSettings& fs) {
    chart.emplace_back();
    chart.push_back("  #  Old Bal.+     Interest-   Payment=    New Bal. @ %/a        " +
                    std::string(unitWord) + "+Days");
    TableWalk walk(schedule);
    const VarScheduleFields fields(schedule);
    int k = 0;
    for (schedule.MoveFirst(); !schedule.AtEnd(); schedule.MoveNext())
        chart.push_back(PaymentLine(++k, fields.Read(schedule), fs));
}

}  // namespace

std::string BalanceOverflowText(std::int64_t payment) {
    return "Payment " + std::to_string(payment) +
           " makes the balance too large to compute;\n\rreduce the rates or check the payments.";
}

VaryAmortization AmortizeVaryList(double ContractPrincipal, Interval interval,
                                  TMemDataSet& variable, TMemDataSet& schedule,
                                  const FormatSettings& fs) {
    VaryAmortization r;
    std::vector<VarGroup> groups;
    try {
        if (variable.OrderBy() != "GrpID") variable.SetOrderBy("GrpID");
        groups = ReadVarGroups(variable);
    } catch (const EMemDatasetError& e) {
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }
    if (PaymentCount(groups) > kMaxVaryPayments) {
        r.messages.push_back(Info(kVaryListTooLong));
        return r;
    }

    std::int64_t overflowAt = 0;
    const std::vector<VarScheduleRow> rows =
        Amortize(ContractPrincipal, Describe(interval), groups, overflowAt);

    UpdateBatch batch(schedule);
    EmptyTable(schedule);
    if (schedule.OrderBy() != "Sequence") schedule.SetOrderBy("Sequence");
    if (overflowAt > 0 || !std::isfinite(ContractPrincipal)) {
        r.label = std::string(kBalanceNotComputable);
        r.messages.push_back(Info(BalanceOverflowText(overflowAt > 0 ? overflowAt : 1)));
        return r;
    }
    try {
        const VarScheduleFields fields(schedule);
        for (const VarScheduleRow& row : rows) fields.Append(schedule, row);
        schedule.MoveFirst();  // stores the last row
    } catch (const EMemDatasetError& e) {
        EmptyTable(schedule);
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }

    r.rows = static_cast<int>(rows.size());
    r.finalBalance = rows.empty() ? ContractPrincipal : rows.back().NewBal;
    r.label = FinalBalanceLabel(r.finalBalance, fs);
    if (rows.empty())
        r.messages.push_back(Info(kNoPaymentsToAmortize));
    else if (r.finalBalance > 1)
        r.messages.push_back(Info(kPositiveFinalBalance));
    else if (r.finalBalance < -1)
        r.messages.push_back(Info(kNegativeFinalBalance));
    return r;
}

VaryChart ChartVaryList(Interval interval, TMemDataSet& variable, TMemDataSet& schedule,
                        ChartText& chart, const FormatSettings& fs) {
    VaryChart r;
    try {
        std::string_view unitWord;
        if (variable.Count() > 0 || variable.HasPending()) {
            unitWord = Describe(interval).unitWord;
            WriteSummary(variable, unitWord, chart);
        } else {
            r.messages.push_back(Info(kNoVarySchedule));
        }
        if (schedule.Count() == 0) {
            r.messages.push_back(Info(kNoVaryAmortization));
            return r;
        }
        WritePayments(schedule, unitWord, chart, fs);
    } catch (const EMemDatasetError& e) {
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }
    r.showChartPage = true;
    r.messages.push_back(Info(kPrintVaryChart));
    return r;
}

std::string TooManyToMoveText(std::int64_t payments) {
    return "Oops. this Schedule has " + std::to_string(payments) +
           " payments, but Tab 5 holds no more than 485!";
}

MoveCheck CheckMoveToTab5(TMemDataSet& variable, const TMemDataSet& paySet) {
    MoveCheck c;
    std::vector<VarGroup> groups;
    try {
        groups = ReadVarGroups(variable);
    } catch (const EMemDatasetError& e) {
        return {MoveCheck::Next::Refuse, e.what()};
    }
    const std::int64_t payments = PaymentCount(groups);
    if (groups.empty()) return {MoveCheck::Next::Refuse, std::string(kNothingToMove)};
    if (payments > kMaxPayments) return {MoveCheck::Next::Refuse, TooManyToMoveText(payments)};
    if (paySet.Count() > 0 || paySet.HasPending())
        return {MoveCheck::Next::AskOverwrite, std::string(kOverwriteTab5)};
    return c;
}

TransformResult Transform(LoanTerms& loan, const VaryInputs& vary, TMemDataSet& variable,
                          TMemDataSet& paySet, Interval interval) {
    TransformResult r;
    std::vector<VarGroup> groups;
    try {
        groups = ReadVarGroups(variable);
    } catch (const EMemDatasetError& e) {
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }
    const std::int64_t payments = PaymentCount(groups);
    if (payments > kMaxPayments) {
        r.messages.push_back(Info(TooManyToMoveText(payments)));
        return r;
    }

    UpdateBatch batch(paySet);
    EmptyTable(paySet);
    try {
        if (paySet.OrderBy() != "Sequence") paySet.SetOrderBy("Sequence");
        std::int32_t a = 0;
        for (const VarGroup& g : groups)
            AppendPayGroup(paySet, {g.GrpSize, ++a, g.Payment, g.Interval, g.AddDays});
        paySet.MoveFirst();  // stores the last group
    } catch (const EMemDatasetError& e) {
        // Never a half-copied schedule.
        EmptyTable(paySet);
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }
    loan.AmtFin = vary.ContractPrincipal;
    r.edAmtFin = FloatToStrF(loan.AmtFin, FloatStyle::Fixed, 18, 2);
    r.moved = true;
    r.interval = interval;
    r.writeSchedule = paySet.Count() > 0;
    if (!r.writeSchedule) r.messages.push_back(Info(kNoMovedScheduleToSave));
    return r;
}

SaveOutcome SaveMovedSchedule(TMemDataSet& paySet, Interval interval, double AmtFin, UserPort& port,
                              const std::filesystem::path& file) {
    return SaveAsked(file, kOverwriteVPaySet, kVPaySetNotSaved, port, [&] {
        return SaveData(paySet, {interval, AmtFin}, file);
    });
}

MoveFinish FinishMoveToTab5(bool aprComputed, double APR, const FormatSettings& fs) {
    if (!aprComputed) return {false, std::string(kNoAprComputed)};
    return {true, "APR is " + FloatToStrF(APR, FloatStyle::Number, 17, 3, fs) + " %, see Tab 3"};
}

}  // namespace qv
