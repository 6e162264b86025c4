#pragma once
// What the delimited-text export (TCSVExport) and import (TCSVImport) share:
// their enumerations and the settings both have.
//
// Both work by field position: the k-th value of a line belongs to the k-th
// field of the table's definitions. Neither writes nor expects a line of
// field names. The defaults are the settings every component of the program
// uses: comma-separated, text values (strings and memos) between
// apostrophes (the program's tables hold only numbers, so its files have no
// delimiters), all fields, all records, no progress window.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class TMemDataSet;
class ProgressObserver;
class UserPort;
struct FieldDef;

enum TDelimitedFields { dfAll, dfTextOnly };
enum TExportType { expDelimited, expFixed };
enum TImportType { impDelimited, impFixed };
// fdlSingle is the apostrophe, fdlDouble the double-quote character.
enum TFieldDelimiter { fdlNone, fdlSingle, fdlDouble };
// fspCustom and fspNone both use the first character of CustomSeparator, or
// no separator when it is empty.
enum TFieldSeparator { fspPipe, fspTab, fspComma, fspCustom, fspNone };
// flaInclude: only the fields named in FieldList; flaExclude: all but those.
enum TFieldListAction { flaNone, flaInclude, flaExclude };
// Where a number stands in its column in the fixed layout.
enum TNumericAlignment { naLeft, naRight };

// The width of a field's column in the fixed layout, for writing and for
// reading alike. Strings, byte arrays, memos and blobs take their size;
// every other type the width its longest text needs ("-2147483648",
// "-1.23456789012345e+308", "12/31/9999 23:59:59.999"), whatever size the
// definition gives, so any value fits its column and reads back whole.
int FixedWidth(const FieldDef& field);

// A value that cannot be written as the line asks: a text holding a line
// break (it would split the record), or one longer than its fixed column.
class EDataConversion : public std::runtime_error {
  public:
    EDataConversion() : std::runtime_error("Data conversion error!") {}
};

class TCSVComponent {
  public:
    TMemDataSet* DataSet = nullptr;
    TFieldSeparator FieldSeparator = fspComma;
    TFieldDelimiter FieldDelimiter = fdlSingle;
    TDelimitedFields DelimitedFields = dfTextOnly;
    std::vector<std::string> FieldList;  // field names, compared without regard to case
    TFieldListAction FieldListAction = flaNone;
    int MaxRecords = 0;  // 0 or less: all
    bool ShowProgress = false;
    std::string Version = "2.0.1.0";

    // Where the progress goes while ShowProgress is set (the window), and
    // where the component's message boxes go; either may be left unset.
    ProgressObserver* Progress = nullptr;
    UserPort* Port = nullptr;

    // Trims the text and keeps only its first character (empty stays empty).
    void SetCustomSeparator(std::string_view text);
    const std::string& CustomSeparator() const { return customSeparator_; }

    // Why the last run returned -1, in words for the user; empty after a
    // run that succeeded.
    const std::string& LastError() const { return lastError_; }

  protected:
    TCSVComponent() = default;
    ~TCSVComponent() = default;
    TCSVComponent(const TCSVComponent&) = default;
    TCSVComponent& operator=(const TCSVComponent&) = default;

    std::optional<char> SeparatorChar() const;
    std::optional<char> DelimiterChar() const;
    // Whether the field list lets the field be written or read.
    bool Admits(const std::string& fieldName) const;
    // The progress observer of this run, when one is to be fed.
    ProgressObserver* RunProgress() const { return ShowProgress ? Progress : nullptr; }

    std::string lastError_;

  private:
    std::string customSeparator_;
};

}  // namespace qv
