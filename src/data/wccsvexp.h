#pragma once
// TCSVExport: writes every record of a table as one line of text.
#include <cstdint>
#include <functional>
#include <string>

#include "data/wctypes.h"

namespace qv {

class TCSVExport;

using TExportNotify = std::function<void(TCSVExport& Sender)>;
// After each record: records written so far, bytes written so far.
using TExportEvent =
    std::function<void(TCSVExport& Sender, std::int64_t Records, std::int64_t Bytes)>;

class TCSVExport : public TCSVComponent {
  public:
    std::string OutputFile = "PaySet.txt";  // an existing file is replaced
    TExportType ExportType = expDelimited;
    TNumericAlignment NumericAlign = naLeft;

    TExportNotify OnBeginExport;   // before the first line
    TExportEvent OnExportRecord;   // after each record
    TExportNotify OnFinishExport;  // after the last line

    // Writes the file: one line per record in the table's current order, at
    // most MaxRecords when that is above 0, each line ended by a carriage
    // return and a line feed (a line with nothing in it is not written).
    // A pending record is stored first; the cursor is left past the last
    // record. Values are never escaped: a separator or delimiter inside a
    // value is written as it is.
    //
    // The file is written under a temporary name and takes its own name
    // only once complete, so a failed export leaves an existing file as it
    // was. A table without records gives an empty file.
    //
    // A value is written as the table shows it (dates "MM/DD/YYYY", times
    // "hh:mm:ss", booleans "True"/"False", currency as a plain decimal);
    // plain memos, byte arrays, blobs, pictures and objects are written
    // empty. dfTextOnly puts only strings and memos between delimiters. In
    // the fixed layout every value fills its column (FixedWidth): numbers
    // aligned by NumericAlign, everything else on the left.
    //
    // Returns the number of records written, or -1 when the file cannot be
    // written, the table cannot be opened or its pending record stored, or a
    // value cannot be written ("Data conversion error!": a line break in a
    // text, a text longer than its fixed column). LastError says why.
    int Execute();

    // The text of the current record's line, without its line end; raises
    // EDataConversion for a value that cannot be written.
    std::string RecordLine() const;
};

}  // namespace qv
