#include "data/line_reader.h"

#include <algorithm>

namespace qv {

LineReader::LineReader(std::istream& in, std::int64_t size, std::size_t maxLine,
                       std::int64_t maxBytes)
    : in_(in), maxLine_(maxLine), maxBytes_(maxBytes), chunk_(ChunkSize(size)) {}

LineReader::Status LineReader::Next(std::string& line) {
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
        const std::size_t end = LineEnd();
        line.append(chunk_.data() + pos_, end - pos_);
        any = true;
        if (line.size() > maxLine_) return Status::TooLong;
        if (PassTo(end)) return Status::Line;
    }
}

LineReader::Status LineReader::SkipLine() {
    for (;;) {
        if (pos_ == len_) {
            const Status filled = Fill();
            if (filled != Status::Line) return filled;
        }
        if (PassTo(LineEnd())) return Status::Line;
    }
}

std::size_t LineReader::LineEnd() const {
    std::size_t end = pos_;
    while (end < len_ && chunk_[end] != '\n' && chunk_[end] != '\r') ++end;
    return end;
}

bool LineReader::PassTo(std::size_t end) {
    if (end == len_) {
        pos_ = len_;
        return false;
    }
    // A carriage return may be followed by its line feed in the next chunk.
    skipLineFeed_ = chunk_[end] == '\r';
    pos_ = end + 1;
    return true;
}

std::size_t LineReader::ChunkSize(std::int64_t size) {
    constexpr std::int64_t kLargest = 64 * 1024;
    return static_cast<std::size_t>(size > 0 && size < kLargest ? size + 1 : kLargest);
}

LineReader::Status LineReader::Fill() {
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

void LineReader::SkipByteOrderMark() {
    if (len_ >= 3 && chunk_[0] == '\xEF' && chunk_[1] == '\xBB' && chunk_[2] == '\xBF') pos_ = 3;
}

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace qv
