#include "schedule/irregular_entry.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/number_entry.h"
#include "schedule/group_schedule.h"

namespace qv {

namespace {

double& DecimalTarget(LoanTerms& loan, GroupEntry& group, IrregularBox box) {
    return box == IrregularBox::edAmtFin ? loan.AmtFin : group.GroupPay;
}

std::int32_t& WholeTarget(LoanTerms& loan, GroupEntry& group, IrregularBox box) {
    switch (box) {
        case IrregularBox::edPayCount:
            return loan.PayCount;
        case IrregularBox::edSizeGroup:
            return group.GroupSize;
        case IrregularBox::edGroupPds:
            return group.GroupPds;
        default:
            return group.GroupExtra;
    }
}

// Runs the box's entry check and stores its value where the check says so.
EntryCheck CheckBox(LoanTerms& loan, GroupEntry& group, IrregularBox box, std::string_view text) {
    const IrregularBoxText& info = IrregularBoxInfo(box);
    switch (info.entry) {
        case IrregularEntry::Decimal: {
            const Float2Check check = ValidateFloat2(info.field, text);
            if (check.setTarget) DecimalTarget(loan, group, box) = check.value;
            return check;
        }
        case IrregularEntry::Total: {
            const Float4Check check = ValidateFloat4(info.field, text);
            if (check.setTarget) loan.TotPay = check.value;
            return check;
        }
        case IrregularEntry::Whole:
            break;
    }
    const Integer2Check check = ValidateInteger2(info.field, text);
    if (check.setTarget) WholeTarget(loan, group, box) = check.value;
    return check;
}

// Before the first group, the whole schedule is offered as one group: the
// count's payments, one period apart, sharing the total evenly.
void OfferOneGroup(const LoanTerms& loan, const IrregularTexts& texts, IrregularExit& exit) {
    const std::optional<std::string> pay =
        OneGroupSuggestion(texts[IrregularBox::edGroupPds], texts[IrregularBox::edGroupPay],
                           loan.TotPay, loan.PayCount);
    if (!pay) return;
    // The count as the box shows it once its check has been carried out.
    const std::string& count =
        exit.check.boxChanges ? exit.check.boxText : texts[IrregularBox::edPayCount];
    exit.fills.push_back({IrregularBox::edGroupPay, *pay});
    exit.fills.push_back({IrregularBox::edSizeGroup, count});
    exit.fills.push_back({IrregularBox::edGroupPds, "1"});
}

}  // namespace

IrregularExit LeaveIrregularBox(LoanTerms& loan, GroupEntry& group, IrregularBox box,
                                const IrregularTexts& texts) {
    IrregularExit exit;
    exit.check = CheckBox(loan, group, box, texts[box]);
    if (!exit.check.valid) {
        if (exit.check.focusBack) exit.focus = box;
        return exit;
    }
    if (box == IrregularBox::edTotPay) {
        if (auto warning = TotalOfPaymentsWarning(loan.TotPay, loan.AmtFin)) {
            exit.message = *warning;
        }
    } else if (box == IrregularBox::edPayCount) {
        OfferOneGroup(loan, texts, exit);
    }
    return exit;
}

}  // namespace qv
