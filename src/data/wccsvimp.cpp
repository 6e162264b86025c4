#include "data/wccsvimp.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>

#include "core/user_port.h"
#include "data/memdset.h"
#include "data/wcprgwnd.h"

namespace qv {
namespace {

// Reads lines from a stream in chunks, never holding more than one chunk
// and one line, and never more than the limits allow.
class LineReader {
  public:
    enum class Status { Line, End, TooLong, TooLarge, ReadFailed };

    // `size` is the stream's size when known (0 otherwise): a small file
    // needs no large buffer.
    LineReader(std::istream& in, std::int64_t size, std::size_t maxLine, std::int64_t maxBytes)
        : in_(in), maxLine_(maxLine), maxBytes_(maxBytes), chunk_(ChunkSize(size)) {}

    // The next line without its end.
    Status Next(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == len_) {
                const Status filled = Fill();
                if (filled == Status::End) return any ? Status::Line : Status::End;
                if (filled != Status::Line) return filled;
            }
            if (skipLineFeed_) {
                skipLineFeed_ = false;
                if (chunk_[pos_] == '\n') {
                    ++pos_;
                    continue;
                }
            }
            std::size_t end = pos_;
            while (end < len_ && chunk_[end] != '\n' && chunk_[end] != '\r') ++end;
            line.append(chunk_.data() + pos_, end - pos_);
            any = true;
            if (line.size() > maxLine_) return Status::TooLong;
            if (end == len_) {
                pos_ = len_;
                continue;
            }
            skipLineFeed_ = chunk_[end] == '\r';
            pos_ = end + 1;
            return Status::Line;
        }
    }

    // Bytes taken from the stream so far.
    std::int64_t BytesRead() const { return read_ - static_cast<std::int64_t>(len_ - pos_); }

  private:
    static std::size_t ChunkSize(std::int64_t size) {
        constexpr std::int64_t kLargest = 64 * 1024;
        return static_cast<std::size_t>(size > 0 && size < kLargest ? size + 1 : kLargest);
    }

    Status Fill() {
        if (ended_) return Status::End;
        in_.read(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
        if (in_.bad()) return Status::ReadFailed;
        len_ = static_cast<std::size_t>(in_.gcount());
        pos_ = 0;
        if (len_ < chunk_.size()) ended_ = true;
        if (len_ == 0) return Status::End;
        read_ += static_cast<std::int64_t>(len_);
        if (read_ > maxBytes_) return Status::TooLarge;
        if (read_ == static_cast<std::int64_t>(len_)) SkipByteOrderMark();
        return Status::Line;
    }

    void SkipByteOrderMark() {
        if (len_ >= 3 && chunk_[0] == '\xEF' && chunk_[1] == '\xBB' && chunk_[2] == '\xBF')
            pos_ = 3;
    }

    std::istream& in_;
    std::size_t maxLine_;
    std::int64_t maxBytes_;
    std::vector<char> chunk_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    std::int64_t read_ = 0;
    bool ended_ = false;
    bool skipLineFeed_ = false;
};

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

}  // namespace

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
        const std::string& name = table.FieldDefAt(static_cast<int>(k)).name;
        if (values[k].empty() || !Admits(name)) continue;
        try {
            table.SetFieldString(name, std::string(values[k]));
        } catch (const EMemDatasetError&) {
            unreadable = true;  // the field stays empty, as the user's contract says
        }
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
    std::int64_t stored = 0;
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
                const std::int64_t errorsBefore = ErrorRecords();
                StoreLine(line, lines);
                if (ErrorRecords() == errorsBefore) ++stored;
            }
        }
        if (progress) progress->Update(lines, reader.BytesRead());
        if (OnImportRecord) OnImportRecord(*this, static_cast<std::int64_t>(line.size()) + 2);
    }
    if (ErrorRecords() > 0 && ShowProgress)
        Warn("There were " + std::to_string(ErrorRecords()) +
             " records that could not be read due to errors");
    if (OnFinishImport) OnFinishImport(*this);
    return stored;
}

}  // namespace qv
