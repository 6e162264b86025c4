#pragma once
// A loan as its documents give it: advances and payments by their dates.
// The desktop keeps it in a text file of its own, judges it against the
// program's intervals, and, where it fits them, turns it into the payment
// groups of the irregular page so the program's APR, chart and rebates work
// on it as on any schedule.
//
// The file is plain text, one item a line:
//
//   Quorvane dated loan 1
//   unit month                      (optional; without it the dates choose)
//   advance 1978-02-10 6000
//   payment 1978-04-01 200
//
// Advances and payments each stand in date order. Blank lines are allowed;
// anything else is refused with the number of the line.
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_save.h"
#include "core/interval.h"
#include "core/pay_group.h"
#include "regz/loan_timing.h"

namespace qv::regz {

inline constexpr std::string_view kDatedLoanHeader = "Quorvane dated loan 1";
// Far beyond a century of weekly payments written one a line; a file
// larger than this is no dated loan and is not read into memory.
inline constexpr std::int64_t kMaxDatedLoanBytes = 8 * 1024 * 1024;

// Why the loan cannot be computed as it stands, in the words of a message
// box: no advance or no payment, a payment before the first advance, two
// advances on one day, more items than a loan may have. Empty when it can.
std::optional<std::string> DatedLoanProblem(const DatedLoan& loan);

// The file's text: the header, the unit when one is named, the advances,
// then the payments, amounts in their shortest exact form.
std::string DatedLoanText(const DatedLoan& loan);

struct DatedLoanRead {
    std::optional<DatedLoan> loan;
    std::string error;  // "line 4: ..." or what is wrong with the whole file
};
// Reads a dated loan strictly: the header first, then items as written by
// DatedLoanText; the first fault ends the reading with its line number, and
// a loan that reads but cannot be computed (DatedLoanProblem) is refused.
DatedLoanRead ReadDatedLoan(std::istream& in, std::int64_t size);
DatedLoanRead LoadDatedLoanFile(const std::filesystem::path& file);
// Written through a temporary file beside the target, so a failure never
// leaves half a loan where the old file was.
FileSaveResult SaveDatedLoanFile(const std::filesystem::path& file, const DatedLoan& loan);

// The loan as the irregular page holds a schedule: the amount financed, the
// common interval and payment groups
// in order, the first group carrying the odd days of the first period.
struct ProgramSchedule {
    double amountFinanced = 0.0;
    Interval interval = kStartInterval;
    std::vector<PayGroup> groups;
};

struct ProgramFit {
    std::optional<ProgramSchedule> schedule;
    std::string reason;  // why the program's intervals cannot take the loan
};

// Whether the program's intervals can take the loan as the regulation
// places it in time: one advance; a unit period the program has (a month,
// a semimonth, two weeks, a week or a year); every payment after the first
// a whole number of unit periods after the one before it, the odd days of
// the first period whole days; payments in whole cents; at most 485 of them.
ProgramFit FitProgramIntervals(const TimedLoan& loan);

// The unit period of the program's interval that has `daysPerPeriod` days a
// unit period (365, 30, 15, 14, 7), as a computed schedule records it.
std::optional<UnitPeriod> UnitPeriodOfDays(int daysPerPeriod);

}  // namespace qv::regz
