// Saving a file in one step: the new text is complete on the disk before it
// takes the old file's name, so an interrupted save leaves the old file.
#include "base/file_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <utility>

namespace qv {
namespace {

// Writes are gathered up to this size, so a file of many short lines costs
// few system calls.
constexpr std::size_t kWriteChunk = 64 * 1024;

bool WriteAll(int fd, std::string_view text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced does not
// make the save fail, the file is already complete under its name.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Saving over a link replaces the file it names, not the link.
std::filesystem::path FollowLink(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        auto real = std::filesystem::canonical(file, ec);
        if (!ec) return real;
    }
    return file;
}

// Why an existing target may not be replaced (0 when it may). Renaming a
// new file over it needs only the folder's permission, so the file's own is
// asked here: one the user may not write is refused, and so is one marked
// read-only for everybody, which a user the system lets write anything
// (root) would otherwise replace as well.
int ReplaceRefusal(const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return 0;
    if (::access(target.c_str(), W_OK) != 0) return errno;
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
    return 0;
}

// The new file takes the old one's owner, group and permissions, so that
// saving over a file changes its contents only. An owner or group the user
// may not give away stays the user's own.
void KeepOwnerAndMode(int fd, const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Neither could be given: the file is the user's, as a new one is.
        }
    }
    // After the owner: a change of owner clears the set-id bits.
    ::fchmod(fd, old.st_mode & 07777);
}

}  // namespace

std::string CannotSaveText(const std::filesystem::path& file, int err) {
    return "Cannot save \"" + file.string() + "\": " + std::generic_category().message(err);
}

AtomicFile::AtomicFile(std::filesystem::path file) : file_(std::move(file)) {}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

bool AtomicFile::Fail(int err) {
    error_ = CannotSaveText(file_, err);
    return false;
}

// A target that is there and is no regular file (a device such as /dev/null
// or /dev/full, a named pipe, a link to a descriptor like /dev/stdout) is
// written into as it stands: a new file renamed over it would replace the
// device or the pipe itself with a plain file, and the text would never reach
// the reader.
bool AtomicFile::OpenInPlace(const struct stat& target) {
    if (S_ISDIR(target.st_mode)) return Fail(EISDIR);
    fd_ = ::open(file_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) return Fail(errno);
    inPlace_ = true;
    return true;
}

bool AtomicFile::Open() {
    if (file_.filename().empty()) return Fail(EISDIR);
    if (struct stat existing{}; ::stat(file_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return OpenInPlace(existing);
    target_ = FollowLink(file_);
    if (const int refused = ReplaceRefusal(target_); refused != 0) return Fail(refused);
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%ld.%llx.tmp", static_cast<long>(::getpid()),
                      stamp + attempt);
        std::string name(1, '.');
        name.append(target_.filename().string());
        name.append(suffix);
        std::filesystem::path p = target_;
        p.replace_filename(name);
        fd_ = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            tempPath_ = p.string();
            KeepOwnerAndMode(fd_, target_);
            return true;
        }
        if (errno != EEXIST) return Fail(errno);
    }
    return Fail(EEXIST);
}

bool AtomicFile::Flush() {
    if (!WriteAll(fd_, buffer_)) return Fail(errno);
    buffer_.clear();
    return true;
}

bool AtomicFile::Write(std::string_view text) {
    if (fd_ < 0 || !error_.empty()) return false;
    buffer_.append(text);
    return buffer_.size() < kWriteChunk || Flush();
}

bool AtomicFile::Commit() {
    if (fd_ < 0 || !error_.empty()) return false;
    if (!Flush()) return false;
    // A device or a pipe has nothing to sync (some refuse fsync) and nothing
    // to rename: the text has gone where it was sent.
    if (!inPlace_ && ::fsync(fd_) != 0) return Fail(errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) return Fail(errno);  // a late write error
    if (inPlace_) return true;
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) return Fail(errno);
    tempPath_.clear();  // the file now stands under its final name
    SyncFolder(target_.parent_path());
    return true;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec) && !ec) return true;
    // Neither, or only one, is there: compare the paths as they would be
    // made. Folders that are there are resolved, so links to them count.
    const auto normal = [](const std::filesystem::path& p) {
        std::error_code error;
        std::filesystem::path made = std::filesystem::weakly_canonical(p, error);
        return error ? std::filesystem::absolute(p, error).lexically_normal() : made;
    };
    return normal(a) == normal(b);
}

std::string CannotSaveOverLoadText(const std::filesystem::path& file) {
    return "Cannot save \"" + file.string() + "\": it is the file chosen to be loaded";
}

FileSaveResult WriteFileAtomically(const std::filesystem::path& file, std::string_view text) {
    AtomicFile out(file);
    if (out.Open() && out.Write(text) && out.Commit()) return {true, std::string()};
    return {false, out.Error()};
}

std::string OverwriteQuestion(const std::filesystem::path& file) {
    return "Do you really want to overwrite " + file.filename().string() + "?";
}

SaveOutcome SaveAsked(const std::filesystem::path& file, std::string_view notSavedText,
                      UserPort& port, const std::function<FileSaveResult()>& save) {
    return SaveAsked(file, OverwriteQuestion(file), notSavedText, port, save);
}

SaveOutcome SaveAsked(const std::filesystem::path& file, std::string_view question,
                      std::string_view notSavedText, UserPort& port,
                      const std::function<FileSaveResult()>& save) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec) &&
        port.Show(MessageKind::WarningYesNo, question) != Answer::Yes) {
        port.Inform(notSavedText);
        return SaveOutcome::NotSaved;
    }
    const FileSaveResult saved = save();
    if (!saved.ok) {
        port.Warn(saved.error);
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

}  // namespace qv
