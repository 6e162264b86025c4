#pragma once
// Writing the loans' records: the report or verdict of each schedule file
// named on the command line, or one record per loan as an aligned table,
// CSV or JSON Lines.
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "cli/loan_run.h"

namespace qv::cli {

enum class Command { Apr, Check };
enum class OutputFormat { Text, Csv, Json };
// The APR "apr" shows: the desktop program's estimate, or the exact rate of
// Appendix J (CSV and JSON records carry both either way).
enum class AprBasis { Desktop, AppendixJ };

// Writers append their text to strings the caller writes out, so that a
// record costs no stream formatting and the caller sees whether there is
// anything to write (and may take a progress bar off its line first).
class RecordWriter {
  public:
    virtual ~RecordWriter() = default;
    // The record's text for standard output (`out`) and for standard error
    // (`err`: what the program told on the way, for a terminal).
    virtual void Write(const LoanRecord& record, std::string& out, std::string& err) = 0;
    // What is still held back (the table's first rows).
    virtual void Finish(std::string& /*out*/) {}
    // True when a record's text depends on that record alone (CSV, JSON
    // Lines): it may then be formatted by Format on the thread that computed
    // it, into LoanRecord::formatted, which Write takes as it is.
    virtual bool FormatsEachAlone() const { return false; }
    virtual void Format(const LoanRecord& /*record*/, std::string& /*out*/) const {}
};

// A rate as the desktop writes it (FloatToStr: 15 significant digits,
// trailing zeros dropped), character for character, made quickly where it
// can be.
std::string RateText(double rate);

// One record per loan: an aligned table (its column widths taken from the
// first rows), CSV with a header line, or one JSON object per line. Nothing
// goes to standard error.
std::unique_ptr<RecordWriter> MakeRecordWriter(Command command, OutputFormat format,
                                               AprBasis basis = AprBasis::Desktop);

// For schedule files named one by one: "apr" prints each loan's report (the
// chart box's lines), "check" its verdict with the values and tolerances it
// rests on. What the program told on the way, and why a loan has no APR, go
// to standard error, each line starting with `program`: and the loan's id.
// With `several`, each loan's output is headed by its id.
std::unique_ptr<RecordWriter> MakeLoanTextWriter(Command command, std::string_view program,
                                                 bool several, AprBasis basis = AprBasis::Desktop);

// Fields of a CSV line: quoted when they hold a comma, a quote, a line
// break or spaces at either end, with quotes doubled.
std::string CsvField(std::string_view text);
void AppendCsvField(std::string& out, std::string_view text);

// "ACCURATE" / "NOT ACCURATE".
std::string_view VerdictText(bool accurate);

}  // namespace qv::cli
