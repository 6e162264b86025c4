#include "regz/dated_loan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <set>

#include "base/money.h"
#include "core/loan_state.h"
#include "data/line_reader.h"
#include "regz/regz_input.h"

namespace qv::regz {

namespace {

// The longest line a dated loan file holds is well under this; a longer one
// is no item of it.
constexpr std::size_t kMaxLineLength = 200;

std::string AmountText(double amount) {
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::fixed);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t begin = line.find_first_not_of(" \t", at);
        if (begin == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t", begin), line.size());
        words.push_back(line.substr(begin, end - begin));
        at = end;
    }
    return words;
}

// One "advance DATE AMOUNT" or "payment DATE AMOUNT" line, or the unit.
class LoanLines {
  public:
    // Empty when the line was taken; else why not.
    std::string Take(std::string_view line) {
        const std::vector<std::string_view> words = Words(line);
        if (words.empty()) return {};
        if (words.front() == "unit") return TakeUnit(line, words);
        if (words.front() != "advance" && words.front() != "payment") {
            return "\"" + std::string(words.front()) +
                   "\" is not \"advance\", \"payment\" or \"unit\"";
        }
        if (words.size() != 3) {
            return "an " + std::string(words.front()) + " line holds a date and an amount";
        }
        const DateParse date = ParseIsoDate(words[1]);
        if (!date.date) return date.error;
        const AmountParse amount = ParseAmount(words[2]);
        if (!amount.amount) return amount.error;
        auto& list = words.front() == "advance" ? loan_.advances : loan_.payments;
        if (static_cast<std::int64_t>(list.size()) >= kMaxLoanFlows) {
            return "more than " + std::to_string(kMaxLoanFlows) + " " + std::string(words.front()) +
                   "s";
        }
        list.push_back({*date.date, *amount.amount});
        return {};
    }

    DatedLoan& Loan() { return loan_; }

  private:
    std::string TakeUnit(std::string_view line, const std::vector<std::string_view>& words) {
        if (loan_.unit) return "the unit period is named twice";
        if (words.size() < 2) return "\"unit\" names no unit period";
        const std::size_t nameAt = static_cast<std::size_t>(words[1].data() - line.data());
        const UnitPeriodParse unit = ParseUnitPeriod(line.substr(nameAt));
        if (!unit.unit) return unit.error;
        loan_.unit = unit.unit;
        return {};
    }

    DatedLoan loan_;
};

std::string LineError(std::int64_t number, std::string_view why) {
    return "line " + std::to_string(number) + ": " + std::string(why);
}

// Odd days of a fraction of a unit period, when they are whole days.
std::optional<std::int32_t> WholeDays(double fraction, UnitPeriod unit) {
    const double days = fraction * Describe(unit).daysPerUnit;
    const double whole = std::round(days);
    if (std::fabs(days - whole) > 1e-6) return std::nullopt;
    return static_cast<std::int32_t>(whole);
}

// The program's schedules keep payments in cents and would drop a fraction
// of one without a word.
bool WholeCents(double amount) {
    const std::optional<Currency> currency = TryDollarsToCurrency(amount);
    return currency && *currency % (kCurrencyPerDollar / 100) == 0;
}

std::optional<Interval> IntervalOf(UnitPeriod unit) {
    for (const IntervalInfo& info : kIntervals) {
        if (UnitPeriodOfInterval(info.interval) == unit) return info.interval;
    }
    return std::nullopt;
}

std::string Ordinal(std::size_t k) {
    return "payment " + std::to_string(k + 1);
}

}  // namespace

std::optional<std::string> DatedLoanProblem(const DatedLoan& loan) {
    std::set<std::chrono::sys_days> days;
    for (const DatedAmount& advance : loan.advances) {
        if (!days.insert(std::chrono::sys_days(advance.date)).second) {
            return "two advances are dated " + FormatIsoDate(advance.date) +
                   ": enter one advance of their sum";
        }
    }
    const TimedLoanResult timed = TimeDatedLoan(loan);
    if (!timed.loan) return timed.error;
    return std::nullopt;
}

std::string DatedLoanText(const DatedLoan& loan) {
    std::string text(kDatedLoanHeader);
    text += '\n';
    if (loan.unit) text += "unit " + std::string(Describe(*loan.unit).name) + '\n';
    for (const DatedAmount& a : loan.advances) {
        text += "advance " + FormatIsoDate(a.date) + ' ' + AmountText(a.amount) + '\n';
    }
    for (const DatedAmount& p : loan.payments) {
        text += "payment " + FormatIsoDate(p.date) + ' ' + AmountText(p.amount) + '\n';
    }
    return text;
}

DatedLoanRead ReadDatedLoan(std::istream& in, std::int64_t size) {
    LineReader reader(in, size, kMaxLineLength, kMaxDatedLoanBytes);
    LoanLines lines;
    std::string line;
    for (std::int64_t number = 1;; ++number) {
        switch (reader.Next(line)) {
            case LineReader::Status::Line:
                break;
            case LineReader::Status::End:
                if (number == 1) return {std::nullopt, "the file is empty"};
                if (const auto problem = DatedLoanProblem(lines.Loan())) {
                    return {std::nullopt, *problem};
                }
                return {std::move(lines.Loan()), {}};
            case LineReader::Status::TooLong:
                return {std::nullopt, LineError(number, "the line is too long")};
            case LineReader::Status::TooLarge:
                return {std::nullopt, "the file is larger than a dated loan can be"};
            case LineReader::Status::ReadFailed:
                return {std::nullopt, "the file could not be read"};
        }
        if (number == 1) {
            if (line != kDatedLoanHeader) {
                return {std::nullopt, "this is not a dated loan (its first line is not \"" +
                                          std::string(kDatedLoanHeader) + "\")"};
            }
            continue;
        }
        if (const std::string why = lines.Take(line); !why.empty()) {
            return {std::nullopt, LineError(number, why)};
        }
    }
}

DatedLoanRead LoadDatedLoanFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {std::nullopt, "the file cannot be opened"};
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    return ReadDatedLoan(in, ec ? 0 : static_cast<std::int64_t>(size));
}

FileSaveResult SaveDatedLoanFile(const std::filesystem::path& file, const DatedLoan& loan) {
    return WriteFileAtomically(file, DatedLoanText(loan));
}

ProgramFit FitProgramIntervals(const TimedLoan& loan) {
    if (loan.termIsUnitPeriod) {
        return {std::nullopt, "a single payment makes the whole term the unit period (" +
                                  loan.basis + "); the program's intervals count it otherwise"};
    }
    const std::optional<Interval> interval = IntervalOf(loan.unit);
    if (!interval) {
        return {std::nullopt, "the unit period is " + std::string(Describe(loan.unit).name) +
                                  "; the program's intervals are a month, a semimonth, two "
                                  "weeks, a week and a year"};
    }
    ProgramSchedule schedule;
    schedule.interval = *interval;
    std::vector<const Flow*> payments;
    for (const Flow& flow : loan.flows) {
        if (flow.kind == FlowKind::Payment) {
            payments.push_back(&flow);
        } else if (schedule.amountFinanced > 0.0) {
            return {std::nullopt,
                    "the loan has more than one advance; the program's schedules "
                    "have one"};
        } else {
            schedule.amountFinanced = flow.amount;
        }
    }
    if (static_cast<std::int64_t>(payments.size()) > kMaxPayments) {
        return {std::nullopt, "the loan has " + std::to_string(payments.size()) +
                                  " payments; the program's schedules hold at most " +
                                  std::to_string(kMaxPayments)};
    }
    std::stable_sort(payments.begin(), payments.end(), [](const Flow* a, const Flow* b) {
        return a->periods != b->periods ? a->periods < b->periods : a->fraction < b->fraction;
    });
    const std::string unitName(Describe(loan.unit).name);
    const std::optional<std::int32_t> oddDays = WholeDays(payments.front()->fraction, loan.unit);
    if (!oddDays) {
        return {std::nullopt,
                "the first period is no whole number of days beyond whole " + unitName + "s"};
    }
    if (payments.front()->periods == 0 && *oddDays == 0) {
        return {std::nullopt, "the first payment is due on the day of the advance"};
    }
    for (std::size_t k = 0; k < payments.size(); ++k) {
        const Flow& p = *payments[k];
        if (!WholeCents(p.amount)) {
            return {std::nullopt, Ordinal(k) + " is not a whole number of cents"};
        }
        PayGroup group{1, 0, p.amount, static_cast<std::int32_t>(p.periods), *oddDays};
        if (k > 0) {
            const Flow& before = *payments[k - 1];
            if (std::fabs(p.fraction - before.fraction) > 1e-9) {
                return {std::nullopt, Ordinal(k) + " is not a whole number of " + unitName +
                                          "s after the one before it"};
            }
            if (p.periods == before.periods) {
                return {std::nullopt, Ordinal(k) + " falls on the same day as the one before it"};
            }
            group.PriorPds = static_cast<std::int32_t>(p.periods - before.periods);
            group.AddDays = 0;
        }
        std::vector<PayGroup>& groups = schedule.groups;
        // A group repeats its interval for every payment, so a payment joins
        // the group before it only on the same amount, periods and days.
        if (!groups.empty() && groups.back().PaySize == group.PaySize &&
            groups.back().PriorPds == group.PriorPds && groups.back().AddDays == group.AddDays) {
            ++groups.back().SetSize;
        } else {
            group.Sequence = static_cast<std::int32_t>(groups.size()) + 1;
            groups.push_back(group);
        }
    }
    return {std::move(schedule), {}};
}

std::optional<UnitPeriod> UnitPeriodOfDays(int daysPerPeriod) {
    for (const IntervalInfo& info : kIntervals) {
        const UnitPeriod unit = UnitPeriodOfInterval(info.interval);
        if (Describe(unit).daysPerUnit == daysPerPeriod) return unit;
    }
    return std::nullopt;
}

}  // namespace qv::regz
