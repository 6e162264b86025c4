#include "data/wccsvimp.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>

#include "base/user_port.h"
#include "data/line_reader.h"
#include "data/memdset.h"
#include "data/wcprgwnd.h"

namespace qv {
namespace {

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A boolean in a file is true when its text, trimmed and in capitals, is a
// piece of "TRUE1YES": "True", "1", "yes", "Y", "T" are true; "False", "0",
// "No" are false.
bool ImportedBoolean(std::string_view text) {
    std::string upper(TrimBlanks(text));
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return std::string_view("TRUE1YES").find(upper) != std::string_view::npos;
}

// An amount in a file may carry a currency sign and thousands separators:
// only digits, the minus sign and the decimal point are kept ("$1,234.50"
// reads as 1234.5).
std::string CurrencyDigits(std::string_view text) {
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') kept.push_back(c);
    return kept;
}

}  // namespace

bool TCSVImport::SetFromFile(const FieldDef& field, std::string_view value) {
    TMemDataSet& table = *DataSet;
    const FieldKind kind = KindOf(field.type);
    // The fixed layout pads every value to its column: text and bytes lose
    // the padding after them, and a column of blanks is an empty field (so
    // it is written), not an unreadable one.
    if (ImportType == impFixed) {
        const bool text = kind == FieldKind::Text || kind == FieldKind::Binary;
        while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
        if (!text) value = TrimBlanks(value);
        if (value.empty()) return true;
    }
    try {
        if (kind == FieldKind::Boolean) {
            // Blanks are a piece of any text, but they say neither yes nor no.
            if (TrimBlanks(value).empty()) return false;
            table.SetFieldBoolean(field.name, ImportedBoolean(value));
        } else if (kind == FieldKind::Money) {
            const std::string digits = CurrencyDigits(value);
            if (digits.empty()) return false;  // "$" holds no amount, not an empty one
            table.SetFieldString(field.name, digits);
        } else {
            table.SetFieldString(field.name, std::string(value));
        }
    } catch (const EMemDatasetError&) {
        return false;  // the field stays empty, as the user's contract says
    }
    return true;
}

void TCSVImport::Warn(std::string_view text) const {
    if (Port) Port->Warn(text);
}

std::vector<std::string_view> TCSVImport::Values(std::string_view line, int fieldCount) const {
    std::vector<std::string_view> values;
    const auto count = static_cast<std::size_t>(std::max(0, fieldCount));
    if (ImportType == impFixed) {
        std::size_t pos = 0;
        for (int k = 0; k < fieldCount && pos < line.size(); ++k) {
            const auto width = static_cast<std::size_t>(FixedWidth(DataSet->FieldDefAt(k)));
            values.push_back(line.substr(pos, width));
            pos += std::min(width, line.size() - pos);
        }
        return values;
    }
    const std::optional<char> separator = SeparatorChar();
    const std::optional<char> delimiter = DelimiterChar();
    std::size_t pos = 0;
    while (values.size() < count && pos < line.size()) {
        std::size_t end = separator ? line.find(*separator, pos) : std::string_view::npos;
        if (end == std::string_view::npos) end = line.size();
        std::string_view value = line.substr(pos, end - pos);
        if (delimiter) {
            if (!value.empty() && value.front() == *delimiter) value.remove_prefix(1);
            if (!value.empty() && value.back() == *delimiter) value.remove_suffix(1);
        }
        values.push_back(value);
        pos = end + 1;
    }
    return values;
}

void TCSVImport::StoreLine(std::string_view line, std::int64_t lineNumber) {
    TMemDataSet& table = *DataSet;
    const std::vector<std::string_view> values = Values(line, table.FieldCount());
    table.AppendNew();
    bool unreadable = false;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const FieldDef& field = table.FieldDefAt(static_cast<int>(k));
        if (values[k].empty() || !Admits(field.name)) continue;
        if (!SetFromFile(field, values[k])) unreadable = true;
    }
    try {
        table.Post();
    } catch (const EMemDatasetError&) {
        table.Cancel();
        errorLines_.push_back(lineNumber);
        return;
    }
    if (unreadable) unreadableLines_.push_back(lineNumber);
}

std::int64_t TCSVImport::Execute() {
    lastError_.clear();
    std::error_code ec;
    const std::filesystem::path path(InputFile);
    if (std::filesystem::is_directory(path, ec)) {
        lastError_ =
            "Cannot open " + Quoted(InputFile) + ": " + std::generic_category().message(EISDIR);
        return -1;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno != 0 ? errno : ENOENT;
        lastError_ =
            "Cannot open " + Quoted(InputFile) + ": " + std::generic_category().message(err);
        return -1;
    }
    std::int64_t size = 0;
    const auto bytes = std::filesystem::file_size(path, ec);
    if (ec)
        Warn("Error getting file information");
    else
        size = static_cast<std::int64_t>(std::min<std::uintmax_t>(bytes, INT64_MAX));
    return ExecuteStream(in, size, InputFile);
}

std::int64_t TCSVImport::ExecuteStream(std::istream& in, std::int64_t size,
                                       const std::string& name) {
    lastError_.clear();
    errorLines_.clear();
    unreadableLines_.clear();
    if (!DataSet) {
        lastError_ = "No table to import into.";
        return -1;
    }
    TMemDataSet& table = *DataSet;
    try {
        table.Open();
        table.SettlePending();
    } catch (const EMemDatasetError& e) {
        lastError_ = e.what();
        return -1;
    }
    if (table.FieldCount() == 0) {
        if (Port) Port->Show(MessageKind::Warning, "Data set does not allow addition of data!");
        lastError_ = "Data set does not allow addition of data!";
        return -1;
    }
    if (size > MaxFileSize) {
        lastError_ = "Cannot read " + Quoted(name) + ": it is larger than " +
                     std::to_string(MaxFileSize) + " bytes.";
        return -1;
    }

    ProgressRun progress(RunProgress());
    if (progress) progress->Start(ProgressKind::Import, ProgressBasis::Bytes, size, 0, name);
    if (OnBeginImport) OnBeginImport(*this);

    LineReader reader(in, size, MaxLineLength, MaxFileSize);
    std::string line;
    std::int64_t lines = 0;
    for (;;) {
        if (MaxRecords > 0 && lines >= MaxRecords) break;
        const LineReader::Status status = reader.Next(line);
        if (status == LineReader::Status::End) break;
        if (status != LineReader::Status::Line) {
            const std::string where = "Cannot read " + Quoted(name) + ": ";
            if (status == LineReader::Status::TooLong)
                lastError_ = where + "line " + std::to_string(lines + 1) + " is longer than " +
                             std::to_string(MaxLineLength) + " characters.";
            else if (status == LineReader::Status::TooLarge)
                lastError_ = where + "it is larger than " + std::to_string(MaxFileSize) + " bytes.";
            else
                lastError_ = where + std::generic_category().message(EIO);
            return -1;
        }
        ++lines;
        if (!IsBlankLine(line)) {
            if (ImportType != impDelimited && ImportType != impFixed) {
                Warn("Unrecognised import type!");
            } else {
                StoreLine(line, lines);
            }
        }
        if (progress) progress->Update(lines, reader.BytesRead());
        if (OnImportRecord) OnImportRecord(*this, static_cast<std::int64_t>(line.size()) + 2);
    }
    if (ErrorRecords() > 0 && ShowProgress)
        Warn("There were " + std::to_string(ErrorRecords()) +
             " records that could not be read due to errors");
    if (OnFinishImport) OnFinishImport(*this);
    return lines - ErrorRecords();
}

}  // namespace qv
