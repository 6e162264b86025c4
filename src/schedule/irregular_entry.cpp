#include "schedule/irregular_entry.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/number_entry.h"
#include "schedule/group_schedule.h"

namespace qv {

namespace {

double& DecimalTarget(LoanState& s, IrregularBox box) {
    return box == IrregularBox::edAmtFin ? s.loan.AmtFin : s.group.GroupPay;
}

std::int32_t& WholeTarget(LoanState& s, IrregularBox box) {
    switch (box) {
        case IrregularBox::edPayCount:
            return s.loan.PayCount;
        case IrregularBox::edSizeGroup:
            return s.group.GroupSize;
        case IrregularBox::edGroupPds:
            return s.group.GroupPds;
        default:
            return s.group.GroupExtra;
    }
}

// Runs the box's entry check and stores its value where the check says so.
EntryCheck CheckBox(LoanState& s, IrregularBox box, std::string_view text) {
    const IrregularBoxText& info = IrregularBoxInfo(box);
    switch (info.entry) {
        case IrregularEntry::Decimal: {
            const Float2Check check = ValidateFloat2(info.field, text);
            if (check.setTarget) DecimalTarget(s, box) = check.value;
            return check;
        }
        case IrregularEntry::Total: {
            const Float4Check check = ValidateFloat4(info.field, text);
            if (check.setTarget) s.loan.TotPay = check.value;
            return check;
        }
        case IrregularEntry::Whole:
            break;
    }
    const Integer2Check check = ValidateInteger2(info.field, text);
    if (check.setTarget) WholeTarget(s, box) = check.value;
    return check;
}

// Before the first group, the whole schedule is offered as one group: the
// count's payments, one period apart, sharing the total evenly.
void OfferOneGroup(const LoanState& s, const IrregularTexts& texts, IrregularExit& exit) {
    const std::optional<std::string> pay =
        OneGroupSuggestion(texts[IrregularBox::edGroupPds], texts[IrregularBox::edGroupPay],
                           s.loan.TotPay, s.loan.PayCount);
    if (!pay) return;
    // The count as the box shows it once its check has been carried out.
    const std::string& count =
        exit.check.boxChanges ? exit.check.boxText : texts[IrregularBox::edPayCount];
    exit.fills.push_back({IrregularBox::edGroupPay, *pay});
    exit.fills.push_back({IrregularBox::edSizeGroup, count});
    exit.fills.push_back({IrregularBox::edGroupPds, "1"});
}

}  // namespace

IrregularExit LeaveIrregularBox(LoanState& s, IrregularBox box, const IrregularTexts& texts) {
    IrregularExit exit;
    exit.check = CheckBox(s, box, texts[box]);
    if (!exit.check.valid) {
        if (exit.check.focusBack) exit.focus = box;
        return exit;
    }
    if (box == IrregularBox::edTotPay) {
        if (auto warning = TotalOfPaymentsWarning(s.loan.TotPay, s.loan.AmtFin)) {
            exit.message = *warning;
        }
    } else if (box == IrregularBox::edPayCount) {
        OfferOneGroup(s, texts, exit);
    }
    return exit;
}

}  // namespace qv
