#pragma once
// TCSVImport: reads a text file line by line and appends one record per line.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "data/wctypes.h"

namespace qv {

class TCSVImport;

using TImportNotify = std::function<void(TCSVImport& Sender)>;
// After each line: the bytes of the line just read, counting 2 for its end.
using TImportEvent = std::function<void(TCSVImport& Sender, std::int64_t iBytes)>;

// Files are untrusted: a line longer than this, or a file larger than this,
// is not delimited text of any table, and the import stops with a message
// instead of reading without bound.
inline constexpr std::size_t kDefaultMaxLineLength = 64 * 1024;
inline constexpr std::int64_t kDefaultMaxFileSize = 64 * 1024 * 1024;

class TCSVImport : public TCSVComponent {
  public:
    std::string InputFile = "PaySet.txt";
    TImportType ImportType = impDelimited;
    std::size_t MaxLineLength = kDefaultMaxLineLength;  // characters, line end not counted
    std::int64_t MaxFileSize = kDefaultMaxFileSize;     // bytes

    TImportNotify OnBeginImport;
    TImportEvent OnImportRecord;
    TImportNotify OnFinishImport;

    // Reads InputFile into the table, appending one record per line that is
    // not blank. Lines end with a line feed, a carriage return and a line
    // feed, or a carriage return alone; a last line without an end is read;
    // a UTF-8 byte-order mark at the start is skipped. A line is split at
    // every separator (inside delimiters too), up to the table's field
    // count, further values ignored; one delimiter is removed from the start
    // of each value and one from its end. A value that does not convert to
    // its field's type leaves the field empty, without a message. Booleans
    // are true when the value is a piece of "TRUE1YES" (any case); amounts
    // keep only digits, "-" and "." ("$1,234.50"); dates, times, texts and
    // blobs read as the table reads them. A record the table refuses (a
    // required field empty) is dropped and counted in ErrorRecords.
    //
    // Returns the number of lines read (blank ones too) less ErrorRecords,
    // or -1 when the file or the table cannot be opened, the file cannot be
    // read, or a line or the file
    // is beyond the limits above (LastError says why; records stored before
    // the fault stay in the table). The cursor is left on the last record
    // stored.
    std::int64_t Execute();
    // The same from an open stream of `size` bytes (0 when not known);
    // `name` stands for the file in progress and messages.
    std::int64_t ExecuteStream(std::istream& in, std::int64_t size, const std::string& name);

    // Lines of the last run whose record could not be stored.
    std::int64_t ErrorRecords() const { return static_cast<std::int64_t>(errorLines_.size()); }
    // Their line numbers (1-based, blank lines counted), in file order.
    const std::vector<std::int64_t>& ErrorLines() const { return errorLines_; }
    // Lines of the last run that were stored with a value that did not
    // convert (its field left empty), in file order.
    const std::vector<std::int64_t>& UnreadableLines() const { return unreadableLines_; }

  private:
    // Splits a line into its values by the chosen layout.
    std::vector<std::string_view> Values(std::string_view line, int fieldCount) const;
    // Stores one line as a record; the record's fate goes into the lists.
    void StoreLine(std::string_view line, std::int64_t lineNumber);
    // Sets a field of the pending record from its value in the file; false
    // when the value does not convert (the field stays empty).
    bool SetFromFile(const FieldDef& field, std::string_view value);
    void Warn(std::string_view text) const;

    std::vector<std::int64_t> errorLines_;
    std::vector<std::int64_t> unreadableLines_;
};

}  // namespace qv
