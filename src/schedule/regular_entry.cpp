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

double& AmountTarget(LoanState& s, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpAmtFin:
            return s.loan.AmtFin;
        case RegularBox::edSimpRegPay:
            return s.regular.RegPay;
        case RegularBox::edSimp1stPay:
            return s.regular.FirstPay;
        default:
            return s.regular.LastPay;
    }
}

std::int32_t& WholeTarget(LoanState& s, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpInnerNoPay:
            return s.loan.PayCount;
        case RegularBox::edSimp1stNoPd:
            return s.regular.FirstPds;
        case RegularBox::edSimp1stExtra:
            return s.regular.FirstExtra;
        case RegularBox::edSimpLastNoPd:
            return s.regular.LastPds;
        default:
            return s.regular.LastExtra;
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
bool CheckBox(LoanState& s, RegularBox box, const RegularTexts& texts, RegularExit& exit) {
    const std::string& text = TextOf(texts, box);
    if (IsAmountBox(box)) {
        const Float2Check check = ValidateFloat2(FieldName(box), text);
        if (check.setTarget) AmountTarget(s, box) = check.value;
        exit.check = check;
    } else {
        const Integer2Check check = ValidateInteger2(FieldName(box), text);
        if (check.setTarget) WholeTarget(s, box) = check.value;
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
bool NoAmountFinancedWithPayments(const LoanState& s, bool payments) {
    return s.loan.AmtFin < 0.01 && payments;
}

// A count of payments first entered with a common payment already there
// describes the first and last payments as common ones, one period apart.
void FillEndsFromCount(const LoanState& s, const RegularTexts& texts, RegularExit& exit) {
    if (texts.RegPay == "0.0" || s.loan.PayCount <= 0) return;
    const std::string common = FloatToStr(s.regular.RegPay);
    const bool hasLast = s.loan.PayCount > 1;
    Fill(exit, RegularBox::edSimp1stPay, common);
    Fill(exit, RegularBox::edSimp1stNoPd, "1");
    Fill(exit, RegularBox::edSimp1stExtra, "0");
    Fill(exit, RegularBox::edSimpLastPay, hasLast ? common : "0.00");
    Fill(exit, RegularBox::edSimpLastNoPd, hasLast ? "1" : "0");
    Fill(exit, RegularBox::edSimpLastExtra, "0");
}

// The first and last payments default to the common payment, one period
// apart; with a single payment the last-payment line is cleared.
void FillEndsFromCommonPayment(LoanState& s, const RegularTexts& texts, RegularExit& exit) {
    const std::string common = FloatToStr(s.regular.RegPay);
    if (texts.FirstPay == "0.00") {
        Fill(exit, RegularBox::edSimp1stPay, common);
        s.regular.FirstPay = s.regular.RegPay;
    }
    if (texts.FirstPds == "0" && texts.FirstExtra == "0") {
        Fill(exit, RegularBox::edSimp1stNoPd, "1");
        Fill(exit, RegularBox::edSimp1stExtra, "0");
        s.regular.FirstPds = 1;
        s.regular.FirstExtra = 0;
    }
    if (s.loan.PayCount > 1) {
        if (texts.LastPay == "0.00") {
            Fill(exit, RegularBox::edSimpLastPay, common);
            s.regular.LastPay = s.regular.RegPay;
        }
        if (texts.LastPds == "0" && texts.LastExtra == "0") {
            Fill(exit, RegularBox::edSimpLastNoPd, "1");
            Fill(exit, RegularBox::edSimpLastExtra, "0");
            s.regular.LastPds = 1;
            s.regular.LastExtra = 0;
        }
        return;
    }
    Fill(exit, RegularBox::edSimpLastPay, "0.00");
    Fill(exit, RegularBox::edSimpLastNoPd, "0");
    Fill(exit, RegularBox::edSimpLastExtra, "0");
    s.regular.LastPay = 0;
    s.regular.LastPds = 0;
    s.regular.LastExtra = 0;
}

void CommonPaymentRules(LoanState& s, const RegularTexts& texts, RegularExit& exit) {
    const bool noCount = texts.PayCount == "0";
    if (s.regular.RegPay > 0 && noCount) {
        return Refuse(exit, ZeroPaymentsOfText(s.regular.RegPay), RegularBox::edSimpInnerNoPay);
    }
    if (!noCount && s.regular.RegPay == 0) {
        return Refuse(exit, PaymentsOfZeroText(texts.PayCount), RegularBox::edSimpRegPay);
    }
    if (NoAmountFinancedWithPayments(s, !noCount || s.regular.RegPay > 0)) {
        return Refuse(exit, std::string(kZeroAmountFinancedText), RegularBox::edSimpAmtFin);
    }
    if (s.regular.RegPay > 0 && s.loan.PayCount > 0 &&
        double(s.loan.PayCount) * s.regular.RegPay < s.loan.AmtFin) {
        return Refuse(exit, std::string(kAmountOverTotalText), RegularBox::edSimpAmtFin);
    }
    FillEndsFromCommonPayment(s, texts, exit);
}

// Extra days of a whole unit period or more move into the periods box.
void CarryDays(LoanState& s, bool first, const RegularTexts& texts, std::int32_t daysPerPd,
               RegularExit& exit) {
    std::int32_t& extra = first ? s.regular.FirstExtra : s.regular.LastExtra;
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

std::int32_t PageDaysPerPd(const LoanState& s, std::optional<Interval> interval) {
    return interval ? Describe(*interval).DaysPerPd : s.loan.DaysPerPd;
}

}  // namespace

RegularExit LeaveRegularBox(LoanState& s, RegularBox box, const RegularTexts& texts,
                            std::optional<Interval> interval) {
    RegularExit exit;
    if (!CheckBox(s, box, texts, exit)) return exit;
    exit.refreshSummary = true;
    switch (box) {
        case RegularBox::edSimpAmtFin:
            if (NoAmountFinancedWithPayments(s, texts.PayCount != "0" || s.regular.RegPay > 0)) {
                Refuse(exit, std::string(kZeroAmountFinancedText), RegularBox::edSimpAmtFin);
            }
            break;
        case RegularBox::edSimpInnerNoPay:
            FillEndsFromCount(s, texts, exit);
            break;
        case RegularBox::edSimpRegPay:
            CommonPaymentRules(s, texts, exit);
            break;
        case RegularBox::edSimp1stPay:
            if (s.regular.FirstPay > 0 && texts.FirstPds == "0" && texts.FirstExtra == "0") {
                Refuse(exit, std::string(kNonZeroIntervalText), RegularBox::edSimp1stNoPd);
            }
            break;
        case RegularBox::edSimp1stNoPd:
            if (s.regular.FirstPds <= 0 && BoxWhole(texts.FirstExtra) == 0) {
                Refuse(exit, std::string(kZeroPeriodsNeedDaysText), RegularBox::edSimp1stExtra);
            }
            break;
        case RegularBox::edSimpLastNoPd:
            // The summary is recounted even so: the last line is meant to
            // make the schedule add up.
            if (s.regular.LastPds == 0 && BoxWhole(texts.LastExtra) == 0) {
                exit.message = kLastNeedsDaysText;
                exit.focus = RegularBox::edSimpLastExtra;
            }
            break;
        case RegularBox::edSimp1stExtra:
        case RegularBox::edSimpLastExtra:
            CarryDays(s, box == RegularBox::edSimp1stExtra, texts, PageDaysPerPd(s, interval),
                      exit);
            break;
        case RegularBox::edSimpLastPay:
            break;
    }
    return exit;
}

RegularAprPlan PrepareRegularAPR(LoanState& s, TMemDataSet& paySet, const RegularTexts& texts,
                                 std::optional<Interval> interval, UserPort& port) {
    RegularAprPlan plan;
    // The schedule is computed on the interval the page shows, whichever
    // page set the unit period last.
    SetBasePeriod(s, interval);
    const RegularBoxes boxes = ReadRegularBoxes(texts);
    StoreRegularBoxes(s, boxes);
    s.loan.PayCount = boxes.PayCount;

    bool ok = !HasPaymentWithNoDuration(texts);
    if (s.loan.PayCount > kMaxPayments) {
        port.Inform(kTooManyRegularPaymentsText);
        ok = false;
    }
    if (ok) {
        SimplePaySet(s, paySet, boxes, port);
        ok = IntegrityMdsPaySet(s, paySet, port);
    }

    const SinglePaymentDecision single =
        RouteSinglePayment(s.loan.PayCount, texts, s.loan.DaysPerPd);
    switch (single.route) {
        case SinglePaymentRoute::NotSingle:
            s.loan.PerDiem = false;
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
            s.loan.PerDiem = true;
            port.Inform(kAnnualCompoundingText);
            break;
        case SinglePaymentRoute::OnePaymentPage:
            // The general computation that follows is on the unit-period
            // basis whatever an earlier schedule needed.
            s.loan.PerDiem = false;
            plan.onePayment = OnePaymentHandOver{single.days, boxes.AmtFin, s.regular.FirstPay};
            break;
    }
    plan.runEngine = ok;
    return plan;
}

}  // namespace qv
