#include "cli/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace qv::cli {
namespace {

constexpr std::size_t kChunk = 64 * 1024;
// Blank text before the first character of an input, read ahead to tell its
// kind; beyond this the input is taken for what its name says.
constexpr std::size_t kMostReadAhead = 1024 * 1024;

std::string Reason(int err) {
    return std::generic_category().message(err);
}

}  // namespace

// --- standard output ------------------------------------------------------------

FdOutput::FdOutput(int fd, std::string name) : fd_(fd), name_(std::move(name)), buffer_(kChunk) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutput::~FdOutput() {
    Drain();
}

bool FdOutput::Drain() {
    if (!failure_.empty()) return false;
    const char* p = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            failure_ = "write error on " + name_ + ": " + Reason(errno);
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return true;
}

FdOutput::int_type FdOutput::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize FdOutput::xsputn(const char* text, std::streamsize n) {
    std::streamsize done = 0;
    while (done < n) {
        if (pptr() == epptr() && !Drain()) return done;
        const std::streamsize room = epptr() - pptr();
        const std::streamsize part = n - done < room ? n - done : room;
        std::memcpy(pptr(), text + done, static_cast<std::size_t>(part));
        pbump(static_cast<int>(part));
        done += part;
    }
    return done;
}

int FdOutput::sync() {
    return Drain() ? 0 : -1;
}

bool FdOutput::Close() {
    return Drain();
}

// --- -o files -------------------------------------------------------------------------

FileOutput::FileOutput(std::filesystem::path file) : file_(std::move(file)) {}

bool FileOutput::Open() {
    if (file_.Open()) return true;
    failure_ = file_.Error();
    return false;
}

bool FileOutput::Take(std::string_view text) {
    if (!failure_.empty()) return false;
    if (file_.Write(text)) return true;
    failure_ = file_.Error();
    return false;
}

FileOutput::int_type FileOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char one = traits_type::to_char_type(c);
    return Take({&one, 1}) ? c : traits_type::eof();
}

std::streamsize FileOutput::xsputn(const char* text, std::streamsize n) {
    return Take({text, static_cast<std::size_t>(n)}) ? n : 0;
}

bool FileOutput::Close() {
    if (!failure_.empty()) return false;
    if (file_.Commit()) return true;
    failure_ = file_.Error();
    return false;
}

// --- inputs ------------------------------------------------------------------------------

InputBuf::InputBuf(std::filesystem::path name) : name_(std::move(name)) {
    standardInput_ = name_ == "-";
}

InputBuf::~InputBuf() {
    if (fd_ >= 0 && !standardInput_) ::close(fd_);
}

bool InputBuf::Open() {
    fd_ = standardInput_ ? STDIN_FILENO : ::open(name_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        failure_ = Reason(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            failure_ = Reason(EISDIR);
            return false;
        }
        regular_ = S_ISREG(st.st_mode);
        size_ = regular_ ? static_cast<std::int64_t>(st.st_size) : 0;
    }
    buffer_.reserve(kChunk);
    return true;
}

bool InputBuf::ReadMore() {
    if (fd_ < 0 || !failure_.empty()) return false;
    // What was taken already is dropped; what was only looked at stays.
    const std::size_t kept = static_cast<std::size_t>(egptr() - gptr());
    if (kept > 0 && gptr() != buffer_.data()) std::memmove(buffer_.data(), gptr(), kept);
    buffer_.resize(std::max(buffer_.capacity(), kept + kChunk));
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data() + kept, buffer_.size() - kept);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failure_ = Reason(errno);
        const std::size_t got = n > 0 ? static_cast<std::size_t>(n) : 0;
        setg(buffer_.data(), buffer_.data(), buffer_.data() + kept + got);
        return got > 0;
    }
}

InputBuf::int_type InputBuf::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!ReadMore()) return traits_type::eof();
    return traits_type::to_int_type(*gptr());
}

char InputBuf::FirstSignificant() {
    std::size_t at = 0;
    for (;;) {
        const std::size_t held = static_cast<std::size_t>(egptr() - gptr());
        for (; at < held; ++at) {
            const unsigned char c = static_cast<unsigned char>(gptr()[at]);
            const bool byteOrderMark = c == 0xEF || c == 0xBB || c == 0xBF;
            if (!byteOrderMark && c != ' ' && c != '\t' && c != '\r' && c != '\n')
                return static_cast<char>(c);
        }
        if (held >= kMostReadAhead || !ReadMore()) return 0;
    }
}

}  // namespace qv::cli
