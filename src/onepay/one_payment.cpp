#include "onepay/one_payment.h"

namespace qv {

bool IsWholeMonthsTerm(std::int32_t days) {
    switch (days) {
        case 29:
        case 30:
        case 31:
        case 60:
        case 61:
        case 62:
        case 90:
        case 91:
        case 92:
        case 93:
            return true;
        default:
            return false;
    }
}

OnePaymentReport ComputeOnePayment(double AmtFinOne, double PayOne, std::int32_t DayOne,
                                   const FormatSettings& fs) {
    OnePaymentReport report;
    if (DayOne > kOnePaymentMaxDays) {
        report.outcome = OnePaymentOutcome::OverAYear;
        return report;
    }
    if (DayOne < 1) {
        report.outcome = OnePaymentOutcome::NoTerm;
        return report;
    }
    if (!(AmtFinOne > 0.0)) {
        report.outcome = OnePaymentOutcome::NoAmountFinanced;
        return report;
    }

    const double rate = (PayOne - AmtFinOne) / AmtFinOne;
    const double yearFactor = 365.0 / static_cast<double>(DayOne);
    report.apr = 100.0 * yearFactor * rate;

    std::string amount;
    Pad2(amount, AmtFinOne, fs);
    std::string repaid;
    Pad2(repaid, PayOne, fs);
    const std::string days = std::to_string(DayOne);
    report.lines = {
        "$" + amount + " Amount Financed,",
        "$" + repaid + " Repaid " + days + " days after the borrowing",
        "Interest earned on last day but not the first, so " + days + " days earning:",
        "Per Diem uncompounded Interest = " +
            FloatToStrF(report.apr, FloatStyle::Number, 12, 2, fs) + "% per 365 day year = APR",
    };
    report.wholeMonths = IsWholeMonthsTerm(DayOne);
    return report;
}

}  // namespace qv
