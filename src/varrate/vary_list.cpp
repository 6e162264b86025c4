#include "varrate/vary_list.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "data/memdset.h"
#include "schedule/group_schedule.h"
#include "varrate/var_group.h"

namespace qv {
namespace {

// Runs the check and stores its value where the check says to.
template <class Check, class Target>
EntryCheck Take(const Check& check, Target& target) {
    if (check.setTarget) target = check.value;
    return check;
}

template <class T>
void StoreIfRead(const std::optional<T>& value, T& target) {
    if (value) target = *value;
}

// The shared running count is 32 bits wide; a list's count is summed wider.
std::int32_t ClampedCount(std::int64_t count) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        count, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

const VaryBoxInfo& VaryBoxInfoOf(VaryBox box) {
    for (const VaryBoxInfo& info : kVaryBoxes)
        if (info.box == box) return info;
    return kVaryBoxes.front();  // not reached: every box has its entry
}

EntryCheck CheckVaryBox(VaryInputs& vary, GroupEntry& group, VaryBox box, std::string_view text) {
    const std::string_view label = VaryBoxInfoOf(box).label;
    switch (box) {
        case VaryBox::ebxPrincipal:
            return Take(ValidateFloat2(label, text), vary.ContractPrincipal);
        case VaryBox::ebxVaryPayCount:
            return Take(ValidateInteger2(label, text), vary.VaryGroupSize);
        case VaryBox::ebxVaryPayment:
            return Take(ValidateFloat2(label, text), group.GroupPay);
        case VaryBox::ebxVaryRegPds:
            return Take(ValidateInteger2(label, text), group.GroupPds);
        case VaryBox::ebxVaryAddDays:
            return Take(ValidateInteger2(label, text), group.GroupExtra);
        case VaryBox::ebxVaryRate:
            return Take(ValidateFloat2(label, text), vary.VaryRate);
    }
    return EntryCheck{};
}

VaryAddResult AddVaryGroup(VaryInputs& vary, GroupEntry& group, TMemDataSet& variable,
                           const VaryGroupTexts& texts, const FormatSettings& fs) {
    VaryAddResult r;
    const std::optional<std::int32_t> size = GroupTextAsInteger(texts.count);
    const std::optional<double> pay = GroupTextAsDecimal(texts.payment);
    const std::optional<std::int32_t> pds = GroupTextAsInteger(texts.regPds);
    const std::optional<std::int32_t> extra = GroupTextAsInteger(texts.addDays);
    const std::optional<double> rate = GroupTextAsDecimal(texts.rate);
    StoreIfRead(size, vary.VaryGroupSize);
    StoreIfRead(pay, group.GroupPay);
    StoreIfRead(pds, group.GroupPds);
    StoreIfRead(extra, group.GroupExtra);
    StoreIfRead(rate, vary.VaryRate);

    if (!size || !pay || !pds || !extra || !rate)
        r.messages.push_back({MessageKind::Information, std::string(kVaryGroupSyntaxError)});
    // The running count is 32 bits and shared with the irregular page; the
    // limit keeps it far from overflowing.
    if (size && std::int64_t{group.GroupPayCount} + *size > kMaxVaryPayments)
        r.messages.push_back({MessageKind::Information, std::string(kVaryTooManyPayments)});
    if (!r.messages.empty()) return r;

    const VarGroup added{vary.VaryGroupNumber, *size, *rate, *pay, *pds, *extra};
    try {
        AppendVarGroup(variable, added);
    } catch (const EMemDatasetError& e) {
        // A pending grid edit the table cannot store: nothing is added.
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }
    group.GroupPayCount += added.GrpSize;
    group.GroupPayTotal += added.GrpSize * added.Payment;
    if (vary.VaryGroupNumber < std::numeric_limits<std::int32_t>::max()) ++vary.VaryGroupNumber;

    r.added = true;
    r.groupLabel = GroupCountText(vary.VaryGroupNumber);
    r.summary = VGroupSumText(group.GroupPayCount, group.GroupPayTotal, fs);
    r.boxes = {{VaryBox::ebxVaryPayment, "0.00"},
               {VaryBox::ebxVaryPayCount, "1"},
               {VaryBox::ebxVaryAddDays, "0"},
               {VaryBox::ebxVaryRegPds, "1"}};
    return r;
}

std::string VGroupSumText(std::int64_t count, double total, const FormatSettings& fs) {
    // The same words as the irregular page's summary.
    return GroupSumText(count, total, fs);
}

VaryClearResult ClearVaryList(VaryInputs& vary, GroupEntry& group, TMemDataSet& variable) {
    vary.VaryGroupNumber = 1;
    group.GroupPayCount = 0;
    group.GroupPayTotal = 0.0;
    vary.ContractPrincipal = 0.0;
    EmptyTable(variable);
    VaryClearResult r;
    r.boxes = {{VaryBox::ebxPrincipal, "00.00"}, {VaryBox::ebxVaryPayment, "0.00"},
               {VaryBox::ebxVaryRate, "12.0"},   {VaryBox::ebxVaryPayCount, "1"},
               {VaryBox::ebxVaryAddDays, "0"},   {VaryBox::ebxVaryRegPds, "1"}};
    return r;
}

std::string TakeVaryListEdit(GroupEntry& group, TMemDataSet& variable, const FormatSettings& fs) {
    std::int64_t count = 0;
    double total = 0.0;
    for (const VarGroup& g : ReadVarGroups(variable)) {
        count += g.GrpSize;
        total += g.GrpSize * g.Payment;
    }
    group.GroupPayCount = ClampedCount(count);
    group.GroupPayTotal = total;
    return VGroupSumText(count, total, fs);
}

void TakeVaryListLoad(VaryInputs& vary, GroupEntry& group, TMemDataSet& variable,
                      const VarListLoad& load) {
    if (!load.loaded) return;
    if (!load.headerMissing) vary.ContractPrincipal = load.ContractPrincipal;
    std::int32_t highest = 0;
    for (const VarGroup& g : ReadVarGroups(variable)) highest = std::max(highest, g.GrpID);
    vary.VaryGroupNumber =
        highest < std::numeric_limits<std::int32_t>::max() ? highest + 1 : highest;
    group.GroupPayCount = ClampedCount(load.count);
    group.GroupPayTotal = load.sum;
}

}  // namespace qv
