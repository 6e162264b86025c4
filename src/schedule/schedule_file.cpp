#include "schedule/schedule_file.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <utility>

#include "base/money.h"
#include "core/pay_group.h"
#include "data/memdset.h"
#include "data/table_walk.h"
#include "data/wccsvexp.h"
#include "data/wccsvimp.h"
#include "schedule/group_schedule.h"

namespace qv {
namespace {

// How many line numbers a warning lists before it only counts the rest.
constexpr std::size_t kListedLines = 10;

std::string Fixed2(double dollars) {
    return FloatToStrF(dollars, FloatStyle::Fixed, 18, 2);
}

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

// --- saving ----------------------------------------------------------------

// A table with the same fields as `like`, kept in the order records are
// stored, so the header stays first whatever the keys of the groups.
void DefineStagingLike(const TMemDataSet& like, TMemDataSet& staging) {
    staging.SetFieldsDefinitionItems(like.FieldsDefinitionItems());
    staging.Open();
}

// Stores a copy of the current record of `from` in `to`; empty fields stay
// empty.
void CopyRecord(const TMemDataSet& from, TMemDataSet& to) {
    to.AppendNew();
    for (int k = 0; k < from.FieldCount(); ++k) {
        const FieldDef& field = from.FieldDefAt(k);
        if (from.FieldIsNull(field.name)) continue;
        if (field.type == FieldType::Integer)
            to.SetFieldInteger(field.name, from.FieldAsInteger(field.name));
        else
            to.SetFieldFloat(field.name, from.FieldAsFloat(field.name));
    }
    to.Post();
}

// The header first, then every record of `table` in its order, exported to
// `file`. The table's groups and cursor stay as they were.
FileSaveResult SaveWithHeader(TMemDataSet& table, const std::filesystem::path& file,
                              const std::function<void(TMemDataSet&)>& appendHeader,
                              const std::function<void(TMemDataSet&, TMemDataSet&)>& copyGroup) {
    TMemDataSet staging(table.Name());
    try {
        DefineStagingLike(table, staging);
        appendHeader(staging);
        TableWalk walk(table);
        for (table.MoveFirst(); !table.AtEnd(); table.MoveNext()) copyGroup(table, staging);
        staging.SettlePending();
    } catch (const EMemDatasetError& e) {
        return {false, "Cannot save " + Quoted(file.string()) + ": " + e.what()};
    }
    TCSVExport csx;
    csx.DataSet = &staging;
    csx.OutputFile = file.string();
    if (csx.Execute() < 0) return {false, csx.LastError()};
    return {true, std::string()};
}

// The header line as a record of mdsPaySet: key 0, the interval item in
// SetSize and the amount financed in PaySize.
PayGroup HeaderGroup(const ScheduleHeader& header) {
    PayGroup head;
    head.SetSize = ItemOf(header.interval);
    head.Sequence = 0;
    head.PaySize = header.amount;
    return head;
}

// --- loading ----------------------------------------------------------------

// The loaders' importer: the program's settings, the limits of schedule
// files, into a staging table like `table` kept in file order.
void PrepareImport(TCSVImport& csi, const TMemDataSet& table, TMemDataSet& staging) {
    DefineStagingLike(table, staging);
    csi.DataSet = &staging;
    csi.MaxLineLength = kMaxScheduleLineLength;
    csi.MaxFileSize = kMaxScheduleFileSize;
}

std::string LineList(const std::vector<std::int64_t>& lines) {
    std::string out = lines.size() == 1 ? "line " : "lines ";
    for (std::size_t k = 0; k < lines.size() && k < kListedLines; ++k) {
        if (k > 0) out += ", ";
        out += std::to_string(lines[k]);
    }
    if (lines.size() > kListedLines)
        out += " and " + std::to_string(lines.size() - kListedLines) + " more";
    return out;
}

// One warning for everything a load read only in part; empty when all was read.
std::string PartlyReadWarning(const std::string& name, const TCSVImport& csi,
                              std::string_view keyField) {
    const auto& unreadable = csi.UnreadableLines();
    const auto& dropped = csi.ErrorLines();
    if (unreadable.empty() && dropped.empty()) return {};
    std::string text =
        "Not everything in " + std::filesystem::path(name).filename().string() + " could be read:";
    if (!unreadable.empty()) {
        text += "\n\r" + std::to_string(unreadable.size()) +
                (unreadable.size() == 1
                     ? " line held a value that is not a number; it was taken as 0: "
                     : " lines held values that are not numbers; they were taken as 0: ") +
                LineList(unreadable);
    }
    if (!dropped.empty()) {
        text +=
            "\n\r" + std::to_string(dropped.size()) +
            (dropped.size() == 1
                 ? " line was left out, as it has no " + std::string(keyField) + " number: "
                 : " lines were left out, as they have no " + std::string(keyField) + " number: ") +
            LineList(dropped);
    }
    return text;
}

// The messages of a load that was taken: the missing header (information),
// then the lines read only in part (warning).
void NoteLoaded(std::vector<RecordedMessage>& messages, bool headerMissing,
                std::string_view missingText, const std::string& name, const TCSVImport& csi,
                std::string_view keyField) {
    if (headerMissing) messages.push_back({MessageKind::Information, std::string(missingText)});
    if (std::string warning = PartlyReadWarning(name, csi, keyField); !warning.empty())
        messages.push_back({MessageKind::Warning, std::move(warning)});
}

// Refusals: the reason, then that nothing changed.
RecordedMessage Refusal(const std::string& reason, std::string_view what) {
    return {MessageKind::Warning, reason + "\n\rThe " + std::string(what) + " was not changed."};
}

std::string CannotLoad(const std::string& name, const std::string& why) {
    return "Cannot load " + Quoted(name) + ": " + why;
}

std::optional<std::string> HeaderFault(const std::string& name, std::int64_t intervalItem,
                                       double amount, std::string_view amountName) {
    if (!IntervalOfItem(intervalItem))
        return CannotLoad(name, "its Common Interval item is " + std::to_string(intervalItem) +
                                    "; only 0 (Annually) to 4 (Weekly) are known.");
    if (!(amount >= 0.0) || !TryDollarsToCurrency(amount))
        return CannotLoad(name, "its " + std::string(amountName) + ", " + FloatToStr(amount) +
                                    ", is below zero or too large.");
    return std::nullopt;
}

std::string PaymentTooLarge(const std::string& name, double payment, std::int64_t group) {
    return CannotLoad(name, "the payment of " + FloatToStr(payment) + " in group " +
                                std::to_string(group) + " is too large.");
}

// The loaded groups' count of payments and total of payments.
struct ScheduleCounts {
    std::int32_t count = 0;
    Currency total = 0;
};

// Counts as the loan state holds them: the total grows by each group's
// payments, rounded to currency at every step. Refuses what cannot be held.
std::optional<std::string> CountGroups(const std::string& name, const std::vector<PayGroup>& groups,
                                       ScheduleCounts& counts) {
    std::int64_t count = 0;
    Currency total = 0;
    for (const PayGroup& g : groups) {
        if (!TryDollarsToCurrency(g.PaySize)) return PaymentTooLarge(name, g.PaySize, g.Sequence);
        count += g.SetSize;
        const auto sum =
            TryRoundToCurrency(g.PaySize * g.SetSize * 10000.0 + static_cast<double>(total));
        if (!sum) return CannotLoad(name, "its payments add up to more than can be computed.");
        total = *sum;
    }
    if (count > std::numeric_limits<std::int32_t>::max() ||
        count < std::numeric_limits<std::int32_t>::min())
        return CannotLoad(name, "its groups hold more payments than can be counted.");
    counts.count = static_cast<std::int32_t>(count);
    counts.total = total;
    return std::nullopt;
}

// What the groups tell the regular page: its common payment, its first and
// last payments, and whether the schedule is more than a regular one.
struct RegularPass {
    Currency reg = 0;
    bool irregular = false;
    std::optional<PayGroup> first;
    std::optional<PayGroup> last;
};

bool HasRegularInterval(const PayGroup& g) {
    return g.PriorPds == 1 && g.AddDays == 0;
}

// The common payment is that of the largest group (the first's counting one
// payment less, as its first payment is its own); every group between the
// first and the last must be paid at the regular interval and, once a
// payment has been seen, at that same payment.
RegularPass PassRegular(const std::vector<PayGroup>& groups) {
    RegularPass pass;
    std::int64_t regCount = 0;
    Currency current = 0;
    const std::size_t count = groups.size();
    for (std::size_t d = 1; d <= count; ++d) {
        const PayGroup& g = groups[d - 1];
        const Currency pay = DollarsToCurrency(g.PaySize);
        if (d == 1) {
            if (g.SetSize > 1) {
                pass.reg = pay;
                regCount = g.SetSize - 1;
                if (!HasRegularInterval(g)) pass.irregular = true;
                current = pass.reg;
            }
            pass.first = g;
            // A lone group of several payments ends with one of its own: the
            // last payment is the group's, not what an earlier schedule left.
            if (count == 1 && g.SetSize > 1) pass.last = g;
        } else if (d < count) {
            if (g.SetSize > regCount) {
                regCount = g.SetSize;
                pass.reg = pay;
            }
            if (!HasRegularInterval(g)) pass.irregular = true;
            if (current > 0 && current != pay) pass.irregular = true;
            if (current == 0) current = pay;
        } else {
            if (g.SetSize > 1) {
                if (g.SetSize > regCount) {
                    regCount = g.SetSize;
                    pass.reg = pay;
                }
                if (!HasRegularInterval(g)) pass.irregular = true;
                if (current > 0 && current != pay) pass.irregular = true;
            }
            pass.last = g;
        }
    }
    return pass;
}

RegularEndTexts EndTexts(const PayGroup& g) {
    return {Fixed2(g.PaySize), std::to_string(g.PriorPds), std::to_string(g.AddDays)};
}

// Empties an open table, dropping a pending record unstored (as closing
// it would), and keeps its fields and order.
void EmptyOpenTable(TMemDataSet& table) {
    table.Open();
    table.Cancel();
    table.Clear();
}

void ReplacePayGroups(TMemDataSet& paySet, const std::vector<PayGroup>& groups) {
    UpdateBatch batch(paySet);
    EmptyOpenTable(paySet);
    for (const PayGroup& g : groups) AppendPayGroup(paySet, g);
    paySet.MoveFirst();
}

// The header's values into the loan state and, when a page shows them, the
// boxes, then the counts and the regular-schedule pass.
void TakeSchedule(LoanTerms& loan, RegularInputs& regular, const PayGroup& header,
                  const std::vector<PayGroup>& groups, const ScheduleCounts& counts, BoxTexts texts,
                  ScheduleLoad& out) {
    const bool withTexts = texts == BoxTexts::Written;
    loan.AmtFin = header.PaySize;
    // HeaderFault has refused any item that names no interval.
    if (const std::optional<Interval> interval = IntervalOfItem(header.SetSize))
        out.interval = *interval;
    if (withTexts) out.edAmtFin = Fixed2(loan.AmtFin);

    loan.PayCount = counts.count;
    loan.TotPay = counts.total;
    if (withTexts) {
        out.edTotPay = Fixed2(CurrencyToDollars(counts.total));
        out.edPayCount = std::to_string(counts.count);
    }

    const RegularPass pass = PassRegular(groups);
    if (pass.first) {
        regular.FirstPay = pass.first->PaySize;
        regular.FirstPds = pass.first->PriorPds;
        regular.FirstExtra = pass.first->AddDays;
        if (withTexts) out.first = EndTexts(*pass.first);
    }
    if (pass.last) {
        regular.LastPay = pass.last->PaySize;
        regular.LastPds = pass.last->PriorPds;
        regular.LastExtra = pass.last->AddDays;
        if (withTexts) out.last = EndTexts(*pass.last);
    }
    // The flag describes the schedule now in the table: a regular schedule
    // loaded over an irregular one must not be sent to Tab 3 for the old one.
    loan.IrregularLoaded = pass.irregular;
    regular.RegPay = CurrencyToDollars(pass.reg);
    if (!withTexts) return;
    out.edSimpRegPay = Fixed2(regular.RegPay);
    out.edSimpAmtFin = out.edAmtFin;
    out.edSimpInnerNoPay = out.edPayCount;
}

// Groups are taken in key order; groups of equal keys keep their order.
void SortBySequence(std::vector<PayGroup>& groups) {
    std::stable_sort(groups.begin(), groups.end(),
                     [](const PayGroup& a, const PayGroup& b) { return a.Sequence < b.Sequence; });
}

// The groups of the staging table in file order; the header (the first
// group with key 0) is taken out.
std::vector<PayGroup> StagedPayGroups(TMemDataSet& staging, std::optional<PayGroup>& header) {
    std::vector<PayGroup> groups;
    for (staging.MoveFirst(); !staging.AtEnd(); staging.MoveNext()) {
        const PayGroup g = ReadPayGroup(staging);
        if (!header && g.Sequence == 0)
            header = g;
        else
            groups.push_back(g);
    }
    SortBySequence(groups);
    return groups;
}

constexpr std::string_view kScheduleWhat = "schedule";

// Checks a schedule's header and groups and, when they can be used, takes
// them into the table and the loan state. `out.messages` gets the refusal.
void TakeScheduleIfUsable(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                          const std::optional<PayGroup>& header,
                          const std::vector<PayGroup>& groups, const std::string& name,
                          BoxTexts texts, ScheduleLoad& out) {
    std::optional<std::string> fault;
    if (!header && groups.empty()) fault = CannotLoad(name, "it holds no payment groups.");
    if (!fault && header)
        fault = HeaderFault(name, header->SetSize, header->PaySize, "Amount Financed");
    ScheduleCounts counts;
    if (!fault) fault = CountGroups(name, groups, counts);
    if (fault) {
        out.messages.push_back(Refusal(*fault, kScheduleWhat));
        return;
    }

    ReplacePayGroups(paySet, groups);
    out.loaded = true;
    out.headerMissing = !header;
    if (header) TakeSchedule(loan, regular, *header, groups, counts, texts, out);
}

ScheduleLoad FinishScheduleLoad(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                TMemDataSet& staging, const TCSVImport& csi, bool read,
                                const std::string& name) {
    ScheduleLoad out;
    if (!read) {
        out.messages.push_back(Refusal(csi.LastError(), kScheduleWhat));
        return out;
    }
    std::optional<PayGroup> header;
    const std::vector<PayGroup> groups = StagedPayGroups(staging, header);
    TakeScheduleIfUsable(loan, regular, paySet, header, groups, name, BoxTexts::Written, out);
    if (out.loaded)
        NoteLoaded(out.messages, out.headerMissing, kScheduleLacksHeader, name, csi, "Sequence");
    return out;
}

// --- variable-rate lists ----------------------------------------------------

VarListLoad FinishVarListLoad(TMemDataSet& variable, TMemDataSet& staging, const TCSVImport& csi,
                              bool read, const std::string& name, const FormatSettings& fs) {
    constexpr std::string_view kWhat = "list";
    VarListLoad out;
    if (!read) {
        out.messages.push_back(Refusal(csi.LastError(), kWhat));
        return out;
    }
    // Find the header (the first record with GrpID 0) and check every amount.
    int headerRow = 0;  // 1-based place in file order, 0 when none
    std::optional<std::string> fault;
    std::int64_t count = 0;
    double sum = 0.0;
    int row = 0;
    for (staging.MoveFirst(); !staging.AtEnd() && !fault; staging.MoveNext()) {
        ++row;
        const double payment = staging.FieldAsFloat("Payment");
        if (headerRow == 0 && staging.FieldAsInteger("GrpID") == 0) {
            headerRow = row;
            const std::int64_t item = staging.FieldAsInteger("GrpSize");
            out.ContractPrincipal = payment;
            fault = HeaderFault(name, item, payment, "Contract Principal");
            if (const std::optional<Interval> interval = IntervalOfItem(item))
                out.interval = *interval;
            continue;
        }
        if (!TryDollarsToCurrency(payment))
            fault = PaymentTooLarge(name, payment, staging.FieldAsInteger("GrpID"));
        count += staging.FieldAsInteger("GrpSize");
        sum += staging.FieldAsInteger("GrpSize") * payment;
    }
    if (!fault && row == 0) fault = CannotLoad(name, "it holds no payment groups.");
    if (fault) {
        out.messages.push_back(Refusal(*fault, kWhat));
        return out;
    }

    {
        UpdateBatch batch(variable);
        EmptyOpenTable(variable);
        row = 0;
        for (staging.MoveFirst(); !staging.AtEnd(); staging.MoveNext())
            if (++row != headerRow) CopyRecord(staging, variable);
        variable.MoveFirst();
    }
    out.loaded = true;
    out.count = count;
    out.sum = sum;
    out.labVary14 = GroupSumText(count, sum, fs);
    out.headerMissing = headerRow == 0;
    if (!out.headerMissing) out.ebxPrincipal = Fixed2(out.ContractPrincipal);
    NoteLoaded(out.messages, out.headerMissing, kVariableHeaderMissing, name, csi, "GrpID");
    return out;
}

}  // namespace

// --- saving ----------------------------------------------------------------

bool NothingToSave(const TMemDataSet& table) {
    return table.Count() == 0 && !table.PendingModified();
}

FileSaveResult SaveData(TMemDataSet& paySet, const ScheduleHeader& header,
                        const std::filesystem::path& file) {
    const PayGroup head = HeaderGroup(header);
    return SaveWithHeader(
        paySet, file, [&head](TMemDataSet& staging) { AppendPayGroup(staging, head); },
        [](TMemDataSet& from, TMemDataSet& to) { AppendPayGroup(to, ReadPayGroup(from)); });
}

FileSaveResult SaveVarData(TMemDataSet& variable, const ScheduleHeader& header,
                           const std::filesystem::path& file) {
    return SaveWithHeader(
        variable, file,
        [&header](TMemDataSet& staging) {
            staging.AppendNew();
            staging.SetFieldInteger("GrpID", 0);
            staging.SetFieldInteger("GrpSize", ItemOf(header.interval));
            staging.SetFieldFloat("Rate", 0.0);
            staging.SetFieldFloat("Payment", header.amount);
            staging.SetFieldInteger("Interval", 0);
            staging.SetFieldInteger("AddDays", 0);
            staging.Post();
        },
        CopyRecord);
}

SaveOutcome SaveScheduleAsked(const std::filesystem::path& file, TMemDataSet& paySet,
                              const ScheduleHeader& header, UserPort& port) {
    return SaveAsked(file, kScheduleNotSaved, port, [&] { return SaveData(paySet, header, file); });
}

SaveOutcome SaveVarListAsked(const std::filesystem::path& file, TMemDataSet& variable,
                             const ScheduleHeader& header, UserPort& port) {
    return SaveAsked(file, kVariableNotSaved, port,
                     [&] { return SaveVarData(variable, header, file); });
}

// --- loading ----------------------------------------------------------------

ScheduleLoad LoadData(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                      const std::filesystem::path& file) {
    TMemDataSet staging(paySet.Name());
    TCSVImport csi;
    PrepareImport(csi, paySet, staging);
    csi.InputFile = file.string();
    const bool read = csi.Execute() >= 0;
    return FinishScheduleLoad(loan, regular, paySet, staging, csi, read, file.string());
}

ScheduleLoad LoadDataFromStream(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                std::istream& in, std::int64_t size, const std::string& name) {
    TMemDataSet staging(paySet.Name());
    TCSVImport csi;
    PrepareImport(csi, paySet, staging);
    const bool read = csi.ExecuteStream(in, size, name) >= 0;
    return FinishScheduleLoad(loan, regular, paySet, staging, csi, read, name);
}

ScheduleLoad LoadSchedule(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                          const ScheduleHeader& header, std::vector<PayGroup> groups,
                          const std::string& name) {
    SortBySequence(groups);
    ScheduleLoad out;
    TakeScheduleIfUsable(loan, regular, paySet, HeaderGroup(header), groups, name,
                         BoxTexts::Written, out);
    return out;
}

ScheduleLoad LoadScheduleValues(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                const ScheduleHeader& header, const std::vector<PayGroup>& groups,
                                const std::string& name) {
    ScheduleLoad out;
    const auto bySequence = [](const PayGroup& a, const PayGroup& b) {
        return a.Sequence < b.Sequence;
    };
    if (std::is_sorted(groups.begin(), groups.end(), bySequence)) {
        TakeScheduleIfUsable(loan, regular, paySet, HeaderGroup(header), groups, name,
                             BoxTexts::Left, out);
        return out;
    }
    std::vector<PayGroup> sorted = groups;
    SortBySequence(sorted);
    TakeScheduleIfUsable(loan, regular, paySet, HeaderGroup(header), sorted, name, BoxTexts::Left,
                         out);
    return out;
}

VarListLoad LoadVarData(TMemDataSet& variable, const std::filesystem::path& file,
                        const FormatSettings& fs) {
    TMemDataSet staging(variable.Name());
    TCSVImport csi;
    PrepareImport(csi, variable, staging);
    csi.InputFile = file.string();
    const bool read = csi.Execute() >= 0;
    return FinishVarListLoad(variable, staging, csi, read, file.string(), fs);
}

VarListLoad LoadVarDataFromStream(TMemDataSet& variable, std::istream& in, std::int64_t size,
                                  const std::string& name, const FormatSettings& fs) {
    TMemDataSet staging(variable.Name());
    TCSVImport csi;
    PrepareImport(csi, variable, staging);
    const bool read = csi.ExecuteStream(in, size, name) >= 0;
    return FinishVarListLoad(variable, staging, csi, read, name, fs);
}

std::string LoadedAprMessage(std::optional<AprOutcome> outcome, double APR,
                             const FormatSettings& fs) {
    if (outcome != AprOutcome::Computed) return std::string(kNoAprAfterLoad);
    return "APR is " + FloatToStrF(APR, FloatStyle::Number, 17, 3, fs) + " %, see Tab 4";
}

}  // namespace qv
