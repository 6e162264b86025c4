#pragma once
// Reading untrusted text files line by line within limits: the delimited
// import and the command-line companion's batch files read through here.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Reads lines from a stream in chunks, never holding more than one chunk
// and one line, and never more than the limits allow. Lines end with a line
// feed, a carriage return and a line feed, or a carriage return alone; a
// last line without an end is read; a UTF-8 byte-order mark at the start is
// skipped.
class LineReader {
  public:
    enum class Status { Line, End, TooLong, TooLarge, ReadFailed };

    // `size` is the stream's size when known (0 otherwise): a small file
    // needs no large buffer.
    LineReader(std::istream& in, std::int64_t size, std::size_t maxLine, std::int64_t maxBytes);

    // The next line without its end. TooLong leaves the reader inside that
    // line: SkipLine goes on after it, anything else ends the reading.
    Status Next(std::string& line);

    // After TooLong: drops the rest of the line and its end, so that Next
    // reads the line after it. Returns Line, or what ended the stream.
    Status SkipLine();

    // Bytes taken from the stream so far.
    std::int64_t BytesRead() const { return read_ - static_cast<std::int64_t>(len_ - pos_); }

  private:
    static std::size_t ChunkSize(std::int64_t size);
    // Where the line at pos_ ends in the chunk: its end character, or len_.
    std::size_t LineEnd() const;
    // Moves past `end` and its end character; false when the line goes on
    // in the next chunk.
    bool PassTo(std::size_t end);
    Status Fill();
    void SkipByteOrderMark();

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

// Nothing but spaces and tabs.
bool IsBlankLine(std::string_view line);

}  // namespace qv
