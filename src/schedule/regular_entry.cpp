#include "schedule/regular_entry.h"

#include <string>

#include "base/format.h"
#include "base/number_entry.h"
#include "core/pay_schedule.h"

namespace qv {

namespace {

constexpr bool IsAmountBox(RegularBox box) {
    return box == RegularBox::edSimpAmtFin || box == RegularBox::edSimpRegPay ||
           box == RegularBox::edSimp1stPay || box == RegularBox::edSimpLastPay;
}

// The field name the entry checks put into their messages.
const char* FieldName(RegularBox box) {
    switch (box) {
        case RegularBox::edSimpAmtFin:
            return "Amount Financed";
        case RegularBox::edSimpInnerNoPay:
            return "Number of Payments";
        case RegularBox::edSimpRegPay:
            return "Payment Amount";
        case RegularBox::edSimp1stPay:
            return "First Payment";
        case RegularBox::edSimp1stNoPd:
            return "First Number of Common Periods";
        case RegularBox::edSimp1stExtra:
            return "First Number of Extra Days";
        case RegularBox::edSimpLastPay:
            return "Last Payment";
        case RegularBox::edSimpLastNoPd:
            return "Last Number of Common Periods";
        case RegularBox::edSimpLastExtra:
            return "Last Number of Extra Days";
    }
    return "";
}

double& AmountTarget(LoanState& s, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpAmtFin:
            return s.AmtFin;
        case RegularBox::edSimpRegPay:
            return s.RegPay;
        case RegularBox::edSimp1stPay:
            return s.FirstPay;
        default:
            return s.LastPay;
    }
}

std::int32_t& WholeTarget(LoanState& s, RegularBox box) {
    switch (box) {
        case RegularBox::edSimpInnerNoPay:
            return s.PayCount;
        case RegularBox::edSimp1stNoPd:
            return s.FirstPds;
        case RegularBox::edSimp1stExtra:
            return s.FirstExtra;
        case RegularBox::edSimpLastNoPd:
            return s.LastPds;
        default:
            return s.LastExtra;
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
    return s.AmtFin < 0.01 && payments;
}

// A count of payments first entered with a common payment already there
// describes the first and last payments as common ones, one period apart.
void FillEndsFromCount(const LoanState& s, const RegularTexts& texts, RegularExit& exit) {
    if (texts.RegPay == "0.0" || s.PayCount <= 0) return;
    const std::string common = FloatToStr(s.RegPay);
    const bool hasLast = s.PayCount > 1;
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
    const std::string common = FloatToStr(s.RegPay);
    if (texts.FirstPay == "0.00") {
        Fill(exit, RegularBox::edSimp1stPay, common);
        s.FirstPay = s.RegPay;
    }
    if (texts.FirstPds == "0" && texts.FirstExtra == "0") {
        Fill(exit, RegularBox::edSimp1stNoPd, "1");
        Fill(exit, RegularBox::edSimp1stExtra, "0");
        s.FirstPds = 1;
        s.FirstExtra = 0;
    }
    if (s.PayCount > 1) {
        if (texts.LastPay == "0.00") {
            Fill(exit, RegularBox::edSimpLastPay, common);
            s.LastPay = s.RegPay;
        }
        if (texts.LastPds == "0" && texts.LastExtra == "0") {
            Fill(exit, RegularBox::edSimpLastNoPd, "1");
            Fill(exit, RegularBox::edSimpLastExtra, "0");
            s.LastPds = 1;
            s.LastExtra = 0;
        }
        return;
    }
    Fill(exit, RegularBox::edSimpLastPay, "0.00");
    Fill(exit, RegularBox::edSimpLastNoPd, "0");
    Fill(exit, RegularBox::edSimpLastExtra, "0");
    s.LastPay = 0;
    s.LastPds = 0;
    s.LastExtra = 0;
}

void CommonPaymentRules(LoanState& s, const RegularTexts& texts, RegularExit& exit) {
    const bool noCount = texts.PayCount == "0";
    if (s.RegPay > 0 && noCount) {
        return Refuse(exit, ZeroPaymentsOfText(s.RegPay), RegularBox::edSimpInnerNoPay);
    }
    if (!noCount && s.RegPay == 0) {
        return Refuse(exit, PaymentsOfZeroText(texts.PayCount), RegularBox::edSimpRegPay);
    }
    if (NoAmountFinancedWithPayments(s, !noCount || s.RegPay > 0)) {
        return Refuse(exit, std::string(kZeroAmountFinancedText), RegularBox::edSimpAmtFin);
    }
    if (s.RegPay > 0 && s.PayCount > 0 && double(s.PayCount) * s.RegPay < s.AmtFin) {
        return Refuse(exit, std::string(kAmountOverTotalText), RegularBox::edSimpAmtFin);
    }
    FillEndsFromCommonPayment(s, texts, exit);
}

// Extra days of a whole unit period or more move into the periods box.
void CarryDays(LoanState& s, bool first, const RegularTexts& texts, std::int32_t daysPerPd,
               RegularExit& exit) {
    std::int32_t& extra = first ? s.FirstExtra : s.LastExtra;
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

std::int32_t PageDaysPerPd(const LoanState& s, int intervalItem) {
    if (auto period = IntervalUnitPeriod(intervalItem)) return period->DaysPerPd;
    return s.DaysPerPd;
}

}  // namespace

RegularExit LeaveRegularBox(LoanState& s, RegularBox box, const RegularTexts& texts,
                            int intervalItem) {
    RegularExit exit;
    if (!CheckBox(s, box, texts, exit)) return exit;
    exit.refreshSummary = true;
    switch (box) {
        case RegularBox::edSimpAmtFin:
            if (NoAmountFinancedWithPayments(s, texts.PayCount != "0" || s.RegPay > 0)) {
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
            if (s.FirstPay > 0 && texts.FirstPds == "0" && texts.FirstExtra == "0") {
                Refuse(exit, std::string(kNonZeroIntervalText), RegularBox::edSimp1stNoPd);
            }
            break;
        case RegularBox::edSimp1stNoPd:
            if (s.FirstPds <= 0 && BoxWhole(texts.FirstExtra) == 0) {
                Refuse(exit, std::string(kZeroPeriodsNeedDaysText), RegularBox::edSimp1stExtra);
            }
            break;
        case RegularBox::edSimpLastNoPd:
            // The summary is recounted even so: the last line is meant to
            // make the schedule add up.
            if (s.LastPds == 0 && BoxWhole(texts.LastExtra) == 0) {
                exit.message = kLastNeedsDaysText;
                exit.focus = RegularBox::edSimpLastExtra;
            }
            break;
        case RegularBox::edSimp1stExtra:
        case RegularBox::edSimpLastExtra:
            CarryDays(s, box == RegularBox::edSimp1stExtra, texts, PageDaysPerPd(s, intervalItem),
                      exit);
            break;
        case RegularBox::edSimpLastPay:
            break;
    }
    return exit;
}

RegularAprPlan PrepareRegularAPR(LoanState& s, TMemDataSet& paySet, const RegularTexts& texts,
                                 int intervalItem, UserPort& port) {
    RegularAprPlan plan;
    // The schedule is computed on the interval the page shows, whichever
    // page set the unit period last.
    if (auto period = IntervalUnitPeriod(intervalItem)) {
        s.DaysPerPd = period->DaysPerPd;
        s.PdsPerYear = period->PdsPerYear;
    }
    const RegularBoxes boxes = ReadRegularBoxes(texts);
    StoreRegularBoxes(s, boxes);
    s.PayCount = boxes.PayCount;

    bool ok = !HasPaymentWithNoDuration(texts);
    if (s.PayCount > kMaxPayments) {
        port.Inform(kTooManyRegularPaymentsText);
        ok = false;
    }
    if (ok) {
        SimplePaySet(s, paySet, boxes, port);
        ok = IntegrityMdsPaySet(s, paySet, port);
    }

    const SinglePaymentDecision single = RouteSinglePayment(s.PayCount, texts, s.DaysPerPd);
    switch (single.route) {
        case SinglePaymentRoute::NotSingle:
            s.PerDiem = false;
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
            s.PerDiem = true;
            port.Inform(kAnnualCompoundingText);
            break;
        case SinglePaymentRoute::OnePaymentPage:
            // The general computation that follows is on the unit-period
            // basis whatever an earlier schedule needed.
            s.PerDiem = false;
            plan.onePayment = OnePaymentHandOver{single.days, boxes.AmtFin, s.FirstPay};
            break;
    }
    plan.runEngine = ok;
    return plan;
}

}  // namespace qv
