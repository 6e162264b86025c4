#include "splitrate/split_inputs.h"

#include "base/format.h"
#include "base/money.h"

namespace qv {
namespace {

double& DecimalTarget(SplitInputs& split, SplitBox box) {
    switch (box) {
        case SplitBox::edSplitAmtFin:
            return split.SplitPrincipal;
        case SplitBox::edSplitRegPay:
            return split.SplitRegPay;
        case SplitBox::edSplit1stPay:
            return split.SplitFirstPay;
        case SplitBox::edSplitlastPay:
            return split.SplitLastPay;
        default:
            break;
    }
    // The step boxes alternate rate, cap from edRate1 on.
    const int offset = static_cast<int>(box) - static_cast<int>(SplitBox::edRate1);
    SplitStep& step = split.SplitSteps[static_cast<std::size_t>(offset / 2)];
    return offset % 2 == 0 ? step.Rate : step.Cap;
}

std::int32_t& WholeTarget(SplitInputs& split, SplitBox box) {
    switch (box) {
        case SplitBox::edSplitPayCount:
            return split.SplitPayCount;
        case SplitBox::edSplit1stNoPd:
            return split.SplitFirstPds;
        case SplitBox::edSplit1stExtra:
            return split.SplitFirstExtra;
        case SplitBox::edSplitlastNoPd:
            return split.SplitLastPds;
        default:
            return split.SplitLastExtra;
    }
}

// Amounts come through the entry check, so they hold four decimals at most
// and compare exactly as currency; a value beyond the currency range
// compares by its sign.
bool BelowOneCent(double dollars) {
    const std::optional<Currency> c = TryDollarsToCurrency(dollars);
    return c ? *c < kCurrencyPerCent : !(dollars > 0);
}

// count x payment > principal, exactly (count is positive here).
bool TotalAbovePrincipal(std::int32_t count, double payment, double principal) {
    const std::optional<Currency> pay = TryDollarsToCurrency(payment);
    const std::optional<Currency> amount = TryDollarsToCurrency(principal);
    if (!pay || !amount) return static_cast<double>(count) * payment > principal;
    const std::optional<Currency> total = CheckedProduct(count, *pay);
    if (!total) return *pay > 0;
    return *total > *amount;
}

// The odd payments default to the common payment unless the user has
// entered them; a single payment has no last payment to fill.
void FillInOddPayments(SplitInputs& split, SplitExit& exit) {
    if (!(split.SplitRegPay > 0 && split.SplitPrincipal > 0 && split.SplitPayCount > 0)) return;
    if (!TotalAbovePrincipal(split.SplitPayCount, split.SplitRegPay, split.SplitPrincipal)) {
        exit.message = kSplitPrincipalNotBelowTotalText;
        return;
    }
    const std::string common = FloatToStr(split.SplitRegPay);
    if (split.SplitFirstPay == 0.0) {
        split.SplitFirstPay = split.SplitRegPay;
        exit.fills.push_back({SplitBox::edSplit1stPay, common});
    }
    if (split.SplitPayCount > 1 && split.SplitLastPay == 0.0) {
        split.SplitLastPay = split.SplitRegPay;
        exit.fills.push_back({SplitBox::edSplitlastPay, common});
    }
}

// An interval needs whole intervals or added days. Leaving the count box
// quietly moves on to the days box; leaving the days box says why.
void ZeroDurationRule(std::int32_t pds, std::int32_t extra, bool leavingDays, SplitBox pdsBox,
                      SplitBox extraBox, std::string_view message, SplitExit& exit) {
    if (pds != 0 || extra != 0) return;
    if (leavingDays) {
        exit.message = message;
        exit.focus = pdsBox;
    } else {
        exit.focus = extraBox;
    }
}

void ApplyBoxRule(SplitInputs& split, SplitBox box, SplitExit& exit) {
    switch (box) {
        case SplitBox::edSplitRegPay:
            FillInOddPayments(split, exit);
            break;
        case SplitBox::edSplit1stNoPd:
        case SplitBox::edSplit1stExtra:
            ZeroDurationRule(split.SplitFirstPds, split.SplitFirstExtra,
                             box == SplitBox::edSplit1stExtra, SplitBox::edSplit1stNoPd,
                             SplitBox::edSplit1stExtra, kSplitFirstZeroDurationText, exit);
            break;
        case SplitBox::edSplitlastNoPd:
        case SplitBox::edSplitlastExtra:
            ZeroDurationRule(split.SplitLastPds, split.SplitLastExtra,
                             box == SplitBox::edSplitlastExtra, SplitBox::edSplitlastNoPd,
                             SplitBox::edSplitlastExtra, kSplitLastZeroDurationText, exit);
            break;
        default:
            break;
    }
}

}  // namespace

SplitExit LeaveSplitBox(SplitInputs& split, SplitBox box, std::string_view text) {
    SplitExit exit;
    const SplitBoxText& info = SplitBoxInfo(box);
    if (info.entry == SplitEntry::Result) {
        exit.check.valid = true;
        return exit;
    }
    if (info.entry == SplitEntry::Decimal) {
        const Float2Check check = ValidateFloat2(info.label, text);
        DecimalTarget(split, box) = check.value;
        exit.check = check;
    } else {
        const Integer2Check check = ValidateInteger2(info.label, text);
        WholeTarget(split, box) = check.value;
        exit.check = check;
    }
    if (!exit.check.valid) {
        exit.focus = box;
        return exit;
    }
    ApplyBoxRule(split, box, exit);
    return exit;
}

void TakeSplitInterval(SplitInputs& split, std::optional<Interval> interval) {
    if (interval) split.SplitDaysPerPd = Describe(*interval).DaysPerPd;
}

std::optional<std::string> SplitIntegrityFailure(const SplitInputs& split) {
    // Each later failure replaces the reason found before.
    std::string reason;
    if (BelowOneCent(split.SplitPrincipal)) reason = "Principal is zero";
    if (BelowOneCent(split.SplitRegPay)) reason = "Common Payment Amount is zero";
    if (split.SplitPayCount < 1) reason = "Zero Payments scheduled";
    if (reason.empty()) return std::nullopt;
    return "Error: " + reason + "\n\r" + "... so no computation done";
}

bool SplitIntegrity(const SplitInputs& split, UserPort& port) {
    const std::optional<std::string> failure = SplitIntegrityFailure(split);
    if (failure) port.Inform(*failure);
    return !failure;
}

std::vector<SplitBoxFill> SplitStartTexts() {
    std::vector<SplitBoxFill> texts;
    for (const SplitBoxText& info : kSplitBoxes) {
        texts.push_back({info.box, std::string(info.startText)});
    }
    return texts;
}

void EnterSplitPage(LoanTerms& loan) {
    loan.ScheduleSource = kSourceSplit;
}

std::vector<SplitBoxFill> LoadSplitTestData(SplitInputs& split) {
    split.SplitPrincipal = 1000.0;
    split.SplitRegPay = split.SplitFirstPay = split.SplitLastPay = 46.0;
    split.SplitPayCount = 24;
    split.SplitFirstPds = split.SplitLastPds = 1;
    split.SplitFirstExtra = split.SplitLastExtra = 0;
    split.SplitDaysPerPd = Describe(kSplitTestInterval).DaysPerPd;
    split.SplitSteps = {{{1.0, 300.0}, {0.75, 600.0}, {0.5, 900.0}, {0.25, 999999.99}, {}, {}}};
    return {
        {SplitBox::edSplitAmtFin, "1000.00"}, {SplitBox::edSplitRegPay, "46.00"},
        {SplitBox::edSplitPayCount, "24"},    {SplitBox::edSplit1stPay, "46.00"},
        {SplitBox::edSplitlastPay, "46.00"},  {SplitBox::edSplit1stNoPd, "1"},
        {SplitBox::edSplitlastNoPd, "1"},     {SplitBox::edSplit1stExtra, "0"},
        {SplitBox::edSplitlastExtra, "0"},    {SplitBox::edRate1, "1.0"},
        {SplitBox::edCap1, "300.00"},         {SplitBox::edRate2, "0.75"},
        {SplitBox::edCap2, "600.00"},         {SplitBox::edRate3, "0.5"},
        {SplitBox::edCap3, "900.00"},         {SplitBox::edRate4, "0.25"},
        {SplitBox::edCap4, "999,999.99"},     {SplitBox::edSplitInterest, "Pending"},
        {SplitBox::edFinal, "Pending"},
    };
}

}  // namespace qv
