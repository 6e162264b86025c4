#pragma once
// The companion's own ends of its byte streams, so that it knows what became
// of every read and write: standard output or a file written in one step on
// one side, a file, a pipe or standard input read once on the other.
#include <cstdint>
#include <filesystem>
#include <streambuf>
#include <string>
#include <vector>

#include "base/file_save.h"

namespace qv::cli {

// Results on their way out. A failed write puts the stream it serves into a
// failed state and keeps the reason, so that the run can stop and say why.
class OutputBuf : public std::streambuf {
  public:
    // What went wrong, naming the output ("write error on standard output:
    // No space left on device"); empty while everything was written.
    virtual const std::string& Failure() const = 0;
    // Writes what is held back and completes the output; false on failure.
    virtual bool Close() = 0;
};

// A file descriptor that stays open (standard output), written in chunks.
class FdOutput : public OutputBuf {
  public:
    FdOutput(int fd, std::string name);
    ~FdOutput() override;
    const std::string& Failure() const override { return failure_; }
    bool Close() override;

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize n) override;
    int sync() override;

  private:
    bool Drain();

    int fd_;
    std::string name_;
    std::vector<char> buffer_;
    std::string failure_;
};

// A file given with -o: written beside its target and renamed over it only
// once complete, so a failed run leaves the old file (or none) behind.
class FileOutput : public OutputBuf {
  public:
    explicit FileOutput(std::filesystem::path file);
    // False (Failure says why) when the file cannot be created.
    bool Open();
    const std::string& Failure() const override { return failure_; }
    bool Close() override;
    // Where the text stands until Close (empty when written in place).
    const std::string& TempPath() const { return file_.TempPath(); }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize n) override;

  private:
    bool Take(std::string_view text);

    AtomicFile file_;
    std::string failure_;
};

// An input read once from its start: a file, a named pipe, a device, or
// standard input ("-"). A read error is kept and ends the stream, which then
// reports itself bad.
class InputBuf : public std::streambuf {
  public:
    // Standard input when `name` is "-".
    explicit InputBuf(std::filesystem::path name);
    ~InputBuf() override;
    InputBuf(const InputBuf&) = delete;
    InputBuf& operator=(const InputBuf&) = delete;

    // False (Failure says why) when the input cannot be opened.
    bool Open();
    bool IsStandardInput() const { return standardInput_; }
    // A regular file, whose size is known before it is read.
    bool IsRegularFile() const { return regular_; }
    std::int64_t Size() const { return size_; }
    // The first character that is not white space (or a byte-order mark),
    // read ahead without taking it; 0 when the input holds none.
    char FirstSignificant();
    // Why opening or reading failed, in the system's words; empty otherwise.
    const std::string& Failure() const { return failure_; }

  protected:
    int_type underflow() override;

  private:
    // Reads more after what the buffer holds; false at the end or on error.
    bool ReadMore();

    std::filesystem::path name_;
    bool standardInput_ = false;
    int fd_ = -1;
    bool regular_ = false;
    std::int64_t size_ = 0;
    std::vector<char> buffer_;
    std::string failure_;
};

}  // namespace qv::cli
