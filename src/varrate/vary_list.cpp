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

EntryCheck CheckVaryBox(LoanState& state, VaryBox box, std::string_view text) {
    const std::string_view label = VaryBoxInfoOf(box).label;
    switch (box) {
        case VaryBox::ebxPrincipal:
            return Take(ValidateFloat2(label, text), state.ContractPrincipal);
        case VaryBox::ebxVaryPayCount:
            return Take(ValidateInteger2(label, text), state.VaryGroupSize);
        case VaryBox::ebxVaryPayment:
            return Take(ValidateFloat2(label, text), state.GroupPay);
        case VaryBox::ebxVaryRegPds:
            return Take(ValidateInteger2(label, text), state.GroupPds);
        case VaryBox::ebxVaryAddDays:
            return Take(ValidateInteger2(label, text), state.GroupExtra);
        case VaryBox::ebxVaryRate:
            return Take(ValidateFloat2(label, text), state.VaryRate);
    }
    return EntryCheck{};
}

VaryAddResult AddVaryGroup(LoanState& state, TMemDataSet& variable, const VaryGroupTexts& texts,
                           const FormatSettings& fs) {
    VaryAddResult r;
    const std::optional<std::int32_t> size = GroupTextAsInteger(texts.count);
    const std::optional<double> pay = GroupTextAsDecimal(texts.payment);
    const std::optional<std::int32_t> pds = GroupTextAsInteger(texts.regPds);
    const std::optional<std::int32_t> extra = GroupTextAsInteger(texts.addDays);
    const std::optional<double> rate = GroupTextAsDecimal(texts.rate);
    StoreIfRead(size, state.VaryGroupSize);
    StoreIfRead(pay, state.GroupPay);
    StoreIfRead(pds, state.GroupPds);
    StoreIfRead(extra, state.GroupExtra);
    StoreIfRead(rate, state.VaryRate);

    if (!size || !pay || !pds || !extra || !rate)
        r.messages.push_back({MessageKind::Information, std::string(kVaryGroupSyntaxError)});
    // The running count is 32 bits and shared with the irregular page; the
    // limit keeps it far from overflowing.
    if (size && std::int64_t{state.GroupPayCount} + *size > kMaxVaryPayments)
        r.messages.push_back({MessageKind::Information, std::string(kVaryTooManyPayments)});
    if (!r.messages.empty()) return r;

    const VarGroup group{state.VaryGroupNumber, *size, *rate, *pay, *pds, *extra};
    try {
        AppendVarGroup(variable, group);
    } catch (const EMemDatasetError& e) {
        // A pending grid edit the table cannot store: nothing is added.
        r.messages.push_back({MessageKind::Warning, e.what()});
        return r;
    }
    state.GroupPayCount += group.GrpSize;
    state.GroupPayTotal += group.GrpSize * group.Payment;
    if (state.VaryGroupNumber < std::numeric_limits<std::int32_t>::max()) ++state.VaryGroupNumber;

    r.added = true;
    r.groupLabel = GroupCountText(state.VaryGroupNumber);
    r.summary = VGroupSumText(state.GroupPayCount, state.GroupPayTotal, fs);
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

VaryClearResult ClearVaryList(LoanState& state, TMemDataSet& variable) {
    state.VaryGroupNumber = 1;
    state.GroupPayCount = 0;
    state.GroupPayTotal = 0.0;
    state.ContractPrincipal = 0.0;
    EmptyTable(variable);
    VaryClearResult r;
    r.boxes = {{VaryBox::ebxPrincipal, "00.00"}, {VaryBox::ebxVaryPayment, "0.00"},
               {VaryBox::ebxVaryRate, "12.0"},   {VaryBox::ebxVaryPayCount, "1"},
               {VaryBox::ebxVaryAddDays, "0"},   {VaryBox::ebxVaryRegPds, "1"}};
    return r;
}

std::string TakeVaryListEdit(LoanState& state, TMemDataSet& variable, const FormatSettings& fs) {
    std::int64_t count = 0;
    double total = 0.0;
    for (const VarGroup& g : ReadVarGroups(variable)) {
        count += g.GrpSize;
        total += g.GrpSize * g.Payment;
    }
    state.GroupPayCount = ClampedCount(count);
    state.GroupPayTotal = total;
    return VGroupSumText(count, total, fs);
}

void TakeVaryListLoad(LoanState& state, TMemDataSet& variable, const VarListLoad& load) {
    if (!load.loaded) return;
    if (!load.headerMissing) state.ContractPrincipal = load.ContractPrincipal;
    std::int32_t highest = 0;
    for (const VarGroup& g : ReadVarGroups(variable)) highest = std::max(highest, g.GrpID);
    state.VaryGroupNumber =
        highest < std::numeric_limits<std::int32_t>::max() ? highest + 1 : highest;
    state.GroupPayCount = ClampedCount(load.count);
    state.GroupPayTotal = load.sum;
}

}  // namespace qv
