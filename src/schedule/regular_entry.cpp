#include "schedule/regular_entry.h"

#include <string>

#include "base/format.h"
#include "base/number_entry.h"
#include "core/pay_schedule.h"
#include "schedule/group_schedule.h"

namespace qv {

namespace {

constexpr bool IsAmountBox(RegularBox box) {
    return RegularBoxInfo(box).entry == RegularEntry::Decimal;
}

// The field name the entry checks put into their messages.
std::string_view FieldName(RegularBox box) {
    return RegularBoxInfo(box).field;
}

double& AmountTarget(LoanTerms& loan, RegularInputs& regular, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpAmtFin:
            return loan.AmtFin;
        case RegularBox::edSimpRegPay:
            return regular.RegPay;
        case RegularBox::edSimp1stPay:
            return regular.FirstPay;
        default:
            return regular.LastPay;
    }
}

std::int32_t& WholeTarget(LoanTerms& loan, RegularInputs& regular, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpInnerNoPay:
            return loan.PayCount;
        case RegularBox::edSimp1stNoPd:
            return regular.FirstPds;
        case RegularBox::edSimp1stExtra:
            return regular.FirstExtra;
        case RegularBox::edSimpLastNoPd:
            return regular.LastPds;
        default:
            return regular.LastExtra;
    }
}

const std::string& TextOf(const RegularTexts& t, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpAmtFin:
            return t.AmtFin;
        case RegularBox::edSimpInnerNoPay:
            return t.PayCount;
        case RegularBox::edSimpRegPay:
            return t.RegPay;
        case RegularBox::edSimp1stPay:
            return t.FirstPay;
        case RegularBox::edSimp1stNoPd:
            return t.FirstPds;
        case RegularBox::edSimp1stExtra:
            return t.FirstExtra;
        case RegularBox::edSimpLastPay:
            return t.LastPay;
        case RegularBox::edSimpLastNoPd:
            return t.LastPds;
        case RegularBox::edSimpLastExtra:
            return t.LastExtra;
    }
    return t.AmtFin;
}

// Runs the box's entry check and stores its value; false when refused (the
// focus then goes back into the box, and the summary counts the reset box).
bool CheckBox(LoanTerms& loan, RegularInputs& regular, RegularBox box, const RegularTexts& texts,
              RegularExit& exit) {
    const std::string& text = TextOf(texts, box);
    if (IsAmountBox(box)) {
        const Float2Check check = ValidateFloat2(FieldName(box), text);
        if (check.setTarget) AmountTarget(loan, regular, box) = check.value;
        exit.check = check;
    } else {
        const Integer2Check check = ValidateInteger2(FieldName(box), text);
        if (check.setTarget) WholeTarget(loan, regular, box) = check.value;
        exit.check = check;
    }
    if (exit.check.valid) return true;
    if (exit.check.focusBack) exit.focus = box;
    exit.refreshSummary = true;
    return false;
}

void Refuse(RegularExit& exit, std::string message, RegularBox focus) {
    exit.message = std::move(message);
    exit.focus = focus;
    exit.refreshSummary = false;
}

void Fill(RegularExit& exit, RegularBox box, std::string text) {
    exit.fills.push_back({box, std::move(text)});
}

// With payments, an amount financed under a cent is refused.
bool NoAmountFinancedWithPayments(const LoanTerms& loan, bool payments) {
    return loan.AmtFin < 0.01 && payments;
}

// A count of payments first entered with a common payment already there
// describes the first and last payments as common ones, one period apart.
void FillEndsFromCount(const LoanTerms& loan, const RegularInputs& regular,
                       const RegularTexts& texts, RegularExit& exit) {
    if (texts.RegPay == "0.0" || loan.PayCount <= 0) return;
    const std::string common = FloatToStr(regular.RegPay);
    const bool hasLast = loan.PayCount > 1;
    Fill(exit, RegularBox::edSimp1stPay, common);
    Fill(exit, RegularBox::edSimp1stNoPd, "1");
    Fill(exit, RegularBox::edSimp1stExtra, "0");
    Fill(exit, RegularBox::edSimpLastPay, hasLast ? common : "0.00");
    Fill(exit, RegularBox::edSimpLastNoPd, hasLast ? "1" : "0");
    Fill(exit, RegularBox::edSimpLastExtra, "0");
}

// The first and last payments default to the common payment, one period
// apart; with a single payment the last-payment line is cleared.
void FillEndsFromCommonPayment(const LoanTerms& loan, RegularInputs& regular,
                               const RegularTexts& texts, RegularExit& exit) {
    const std::string common = FloatToStr(regular.RegPay);
    if (texts.FirstPay == "0.00") {
        Fill(exit, RegularBox::edSimp1stPay, common);
        regular.FirstPay = regular.RegPay;
    }
    if (texts.FirstPds == "0" && texts.FirstExtra == "0") {
        Fill(exit, RegularBox::edSimp1stNoPd, "1");
        Fill(exit, RegularBox::edSimp1stExtra, "0");
        regular.FirstPds = 1;
        regular.FirstExtra = 0;
    }
    if (loan.PayCount > 1) {
        if (texts.LastPay == "0.00") {
            Fill(exit, RegularBox::edSimpLastPay, common);
            regular.LastPay = regular.RegPay;
        }
        if (texts.LastPds == "0" && texts.LastExtra == "0") {
            Fill(exit, RegularBox::edSimpLastNoPd, "1");
            Fill(exit, RegularBox::edSimpLastExtra, "0");
            regular.LastPds = 1;
            regular.LastExtra = 0;
        }
        return;
    }
    Fill(exit, RegularBox::edSimpLastPay, "0.00");
    Fill(exit, RegularBox::edSimpLastNoPd, "0");
    Fill(exit, RegularBox::edSimpLastExtra, "0");
    regular.LastPay = 0;
    regular.LastPds = 0;
    regular.LastExtra = 0;
}

void CommonPaymentRules(const LoanTerms& loan, RegularInputs& regular, const RegularTexts& texts,
                        RegularExit& exit) {
    const bool noCount = texts.PayCount == "0";
    if (regular.RegPay > 0 && noCount) {
        return Refuse(exit, ZeroPaymentsOfText(regular.RegPay), RegularBox::edSimpInnerNoPay);
    }
    if (!noCount && regular.RegPay == 0) {
        return Refuse(exit, PaymentsOfZeroText(texts.PayCount), RegularBox::edSimpRegPay);
    }
    if (NoAmountFinancedWithPayments(loan, !noCount || regular.RegPay > 0)) {
        return Refuse(exit, std::string(kZeroAmountFinancedText), RegularBox::edSimpAmtFin);
    }
    if (regular.RegPay > 0 && loan.PayCount > 0 &&
        double(loan.PayCount) * regular.RegPay < loan.AmtFin) {
        return Refuse(exit, std::string(kAmountOverTotalText), RegularBox::edSimpAmtFin);
    }
    FillEndsFromCommonPayment(loan, regular, texts, exit);
}

// Extra days of a whole unit period or more move into the periods box.
void CarryDays(RegularInputs& regular, bool first, const RegularTexts& texts,
               std::int32_t daysPerPd, RegularExit& exit) {
    std::int32_t& extra = first ? regular.FirstExtra : regular.LastExtra;
    const ExtraDaysCarry carry =
        CarryExtraDays(BoxWhole(first ? texts.FirstPds : texts.LastPds), extra, daysPerPd);
    if (!carry.carried) return;
    Fill(exit, first ? RegularBox::edSimp1stNoPd : RegularBox::edSimpLastNoPd,
         std::to_string(carry.periods));
    Fill(exit, first ? RegularBox::edSimp1stExtra : RegularBox::edSimpLastExtra,
         std::to_string(carry.days));
    extra = carry.days;
    exit.message = first ? FirstExtraDaysText(daysPerPd) : LastExtraDaysText(daysPerPd);
}

std::int32_t PageDaysPerPd(const LoanTerms& loan, std::optional<Interval> interval) {
    return interval ? Describe(*interval).DaysPerPd : loan.DaysPerPd;
}

}  // namespace

RegularExit LeaveRegularBox(LoanTerms& loan, RegularInputs& regular, RegularBox box,
                            const RegularTexts& texts, std::optional<Interval> interval) {
    RegularExit exit;
    if (!CheckBox(loan, regular, box, texts, exit)) return exit;
    exit.refreshSummary = true;
    switch (box) {
        case RegularBox::edSimpAmtFin:
            if (NoAmountFinancedWithPayments(loan, texts.PayCount != "0" || regular.RegPay > 0)) {
                Refuse(exit, std::string(kZeroAmountFinancedText), RegularBox::edSimpAmtFin);
            }
            break;
        case RegularBox::edSimpInnerNoPay:
            FillEndsFromCount(loan, regular, texts, exit);
            break;
        case RegularBox::edSimpRegPay:
            CommonPaymentRules(loan, regular, texts, exit);
            break;
        case RegularBox::edSimp1stPay:
            if (regular.FirstPay > 0 && texts.FirstPds == "0" && texts.FirstExtra == "0") {
                Refuse(exit, std::string(kNonZeroIntervalText), RegularBox::edSimp1stNoPd);
            }
            break;
        case RegularBox::edSimp1stNoPd:
            if (regular.FirstPds <= 0 && BoxWhole(texts.FirstExtra) == 0) {
                Refuse(exit, std::string(kZeroPeriodsNeedDaysText), RegularBox::edSimp1stExtra);
            }
            break;
        case RegularBox::edSimpLastNoPd:
            // The summary is recounted even so: the last line is meant to
            // make the schedule add up.
            if (regular.LastPds == 0 && BoxWhole(texts.LastExtra) == 0) {
                exit.message = kLastNeedsDaysText;
                exit.focus = RegularBox::edSimpLastExtra;
            }
            break;
        case RegularBox::edSimp1stExtra:
        case RegularBox::edSimpLastExtra:
            CarryDays(regular, box == RegularBox::edSimp1stExtra, texts,
                      PageDaysPerPd(loan, interval), exit);
            break;
        case RegularBox::edSimpLastPay:
            break;
    }
    return exit;
}

RegularAprPlan PrepareRegularAPR(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                 const RegularTexts& texts, std::optional<Interval> interval,
                                 UserPort& port) {
    RegularAprPlan plan;
    // The schedule is computed on the interval the page shows, whichever
    // page set the unit period last.
    SetBasePeriod(loan, interval);
    const RegularBoxes boxes = ReadRegularBoxes(texts);
    StoreRegularBoxes(regular, boxes);
    loan.PayCount = boxes.PayCount;

    bool ok = !HasPaymentWithNoDuration(texts);
    if (loan.PayCount > kMaxPayments) {
        port.Inform(kTooManyRegularPaymentsText);
        ok = false;
    }
    if (ok) {
        SimplePaySet(loan, paySet, boxes, port);
        ok = IntegrityMdsPaySet(loan, paySet, port);
    }

    const SinglePaymentDecision single = RouteSinglePayment(loan.PayCount, texts, loan.DaysPerPd);
    switch (single.route) {
        case SinglePaymentRoute::NotSingle:
            loan.PerDiem = false;
            break;
        case SinglePaymentRoute::PeriodsNotInteger:
            port.Inform(kFirstPdsNotIntegerText);
            ok = false;
            break;
        case SinglePaymentRoute::PeriodsNegative:
            port.Inform(kFirstPdsNegativeText);
            ok = false;
            break;
        case SinglePaymentRoute::PerDiemOverAYear:
            loan.PerDiem = true;
            port.Inform(kAnnualCompoundingText);
            break;
        case SinglePaymentRoute::OnePaymentPage:
            // The general computation that follows is on the unit-period
            // basis whatever an earlier schedule needed.
            loan.PerDiem = false;
            plan.onePayment = OnePaymentHandOver{single.days, boxes.AmtFin, regular.FirstPay};
            break;
    }
    plan.runEngine = ok;
    return plan;
}

}  // namespace qv
