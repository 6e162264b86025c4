#pragma once
// Loans given as lines of a batch file: CSV with a header line, or JSON
// Lines. A loan is what a schedule file holds (the amount financed, the
// common interval and the payment groups in order), with an id and,
// optionally, the APR and finance charge its disclosure states.
//
// CSV (the header names the columns, in any order; a column or key of
// another name is refused unless unknown names are to be ignored):
//     id,amount_financed,interval,groups,disclosed_apr,disclosed_finance_charge
//     car-17,5000,monthly,24:230,9.69,520
//     odd-first,6000,monthly,1:200:1:19; 35:200,11.82,
// JSON Lines (one object per line):
//     {"id":"car-17","amount_financed":5000,"interval":"monthly",
//      "groups":[{"count":24,"payment":230}],"disclosed_apr":9.69}
//
// A group is count:payment[:periods[:days]] in CSV and {"count","payment",
// "periods","days"} in JSON: `count` payments of `payment` dollars, each due
// `periods` unit periods (1 when left out) and `days` extra days (0) after
// the one before it; groups are separated by ";" in CSV. The interval is
// one of annually, monthly, halfmonth, twoweeks, weekly (any case) or its
// item 0 to 4.
//
// A line may instead name a `unit_period` (day, week, two weeks, semimonth,
// four weeks, month, two months, quarter, four months, half year, year or
// their adjectives) and give its groups in that unit, or place the loan by
// dates: `advance_date` with `amount_financed`, or `advances` as
// "date:amount; ..." items, and `payments` as "date:amount" items or
// "count:amount:first_date" groups a unit period apart (the unit period, or
// the interval, gives the step). Dates are YYYY-MM-DD. In JSON these are
// strings (or arrays of item strings).
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/money.h"
#include "core/interval.h"
#include "core/pay_group.h"
#include "regz/loan_timing.h"
#include "regz/unit_period.h"
#include "schedule/schedule_file.h"

namespace qv::cli {

// What a disclosure states about a loan, where it states anything.
struct Disclosed {
    std::optional<double> apr;  // percent
    std::optional<Currency> financeCharge;
};

struct BatchLoan {
    std::string id;  // empty when the line gave none
    ScheduleHeader header;
    std::vector<PayGroup> groups;  // Sequence 1, 2, ... in the order given
    Disclosed disclosed;
    // The unit period the groups are read in for the Appendix J rate; the
    // interval's when the line names none.
    regz::UnitPeriod unit = regz::UnitPeriod::Month;
    // False when the unit period is none of the desktop's intervals: the
    // loan then has only the Appendix J rate.
    bool desktopFits = true;
    // A loan placed by dates: only the Appendix J rate (header and groups
    // are left empty).
    std::optional<regz::DatedLoan> dated;
};

// A line read as a loan, or why it could not be.
struct LoanParse {
    std::optional<BatchLoan> loan;
    std::string id;     // the line's id when one could be read, even from a bad line
    std::string error;  // set when `loan` is empty
    // The line names a key the companion does not know: the input, not just
    // this loan, is in a form the companion cannot be sure to read right.
    bool unknownName = false;
};

// How strictly the names of a batch file are taken.
struct BatchReading {
    bool ignoreUnknown = false;  // columns and keys of other names are left alone
};

// "unknown column disclosed_fc (did you mean disclosed_finance_charge?)";
// `what` is "column" or "key".
std::string UnknownNameText(std::string_view what, std::string_view name,
                            std::span<const std::string_view> known);

// Why a schedule cannot be computed as given, in the companion's words,
// before the engine sees it: amounts with a fraction of a cent, payments of
// nothing, counts or periods below zero, a payment due no time after the one
// before, no payments, or more than a schedule holds. Empty when it can.
std::optional<std::string> ScheduleProblem(double amountFinanced, std::span<const PayGroup> groups);

// The first group whose payment is more than the desktop's schedule holds
// ($21,474,836.47), in the companion's words; empty when none is. Only the
// exact rate can be found for such a loan.
std::optional<std::string> PaymentBeyondSchedule(std::span<const PayGroup> groups);

// A disclosed APR in percent ("9.69", "9.69%") and a disclosed finance
// charge in dollars, read as their columns are; `name` stands for the value
// in `error` (a column, or a command-line option).
std::optional<double> ReadDisclosedApr(std::string_view name, std::string_view text,
                                       std::string& error);
std::optional<Currency> ReadDisclosedFinanceCharge(std::string_view name, std::string_view text,
                                                   std::string& error);

// The interval of a name or item number; empty when it is neither.
std::optional<Interval> IntervalNamed(std::string_view text);

// "count:payment[:periods[:days]]; ..." as groups numbered from 1; empty
// with `error` set when a group does not read.
std::optional<std::vector<PayGroup>> ParseGroups(std::string_view text, std::string& error);

// --- CSV -------------------------------------------------------------------------

// The fields of one CSV line (RFC 4180 quoting; a quoted field cannot span
// lines); empty when a quote is left open, text follows a closing quote, or
// a field that does not open with a quote holds one.
std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line);

// Where the known columns stand in a CSV line; -1 when absent.
struct CsvColumns {
    std::size_t fields = 0;  // the header's number of fields

    int id = -1;
    int amountFinanced = -1;
    int interval = -1;
    int groups = -1;
    int disclosedApr = -1;
    int disclosedFinanceCharge = -1;
    int unitPeriod = -1;
    int advanceDate = -1;
    int advances = -1;
    int payments = -1;
};

// Reads the header line; empty with `error` set when it can hold no loan
// (no groups nor payments column; groups without amount_financed and an
// interval or unit_period; payments without advances or an advance_date and
// amount_financed), names one twice or
// names an unknown one (unless `reading` ignores those).
std::optional<CsvColumns> ReadCsvHeader(std::string_view line, const BatchReading& reading,
                                        std::string& error);

LoanParse ParseCsvLoan(std::string_view line, const CsvColumns& columns);

// --- JSON Lines ----------------------------------------------------------------

LoanParse ParseJsonLoan(std::string_view line, const BatchReading& reading);

}  // namespace qv::cli
