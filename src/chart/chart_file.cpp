// Saving the chart text. The file is replaced in one step (rename) after the
// new text is safely on the disk, so an interrupted save leaves the old file.
#include "chart/chart_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

namespace qv {
namespace {

std::string ErrorText(const std::filesystem::path& file, int err) {
    return "Cannot save \"" + file.string() + "\": " + std::generic_category().message(err);
}

// Closes the descriptor and removes the half-made file unless released.
class TempFile {
  public:
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    // Creates a new file next to `target`; false with errno set on failure.
    bool Create(const std::filesystem::path& target) {
        const auto stamp = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            char suffix[48];
            std::snprintf(suffix, sizeof suffix, ".%ld.%llx.tmp", static_cast<long>(::getpid()),
                          stamp + attempt);
            std::string name(1, '.');
            name.append(target.filename().string());
            name.append(suffix);
            std::filesystem::path p = target;
            p.replace_filename(name);
            fd_ = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = p.string();
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    // Closes the file, reporting a failed close (a late write error).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    // The file now stands under its final name; nothing to remove.
    void Release() { path_.clear(); }

  private:
    int fd_ = -1;
    std::string path_;
};

bool WriteAll(int fd, const std::string& text) {
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

}  // namespace

std::string OverwriteChartQuestion(const std::filesystem::path& file) {
    return "Do you really want to overwrite " + file.filename().string() + "?";
}

ChartSaveResult SaveChartText(const std::filesystem::path& file, const ChartText& lines) {
    if (file.filename().empty()) return {false, ErrorText(file, EISDIR)};

    // Saving over a link replaces the file it names, not the link.
    std::filesystem::path target = file;
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        auto real = std::filesystem::canonical(file, ec);
        if (!ec) target = real;
    }

    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }

    TempFile temp;
    if (!temp.Create(target)) return {false, ErrorText(file, errno)};
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(temp.Fd(), old.st_mode & 07777);
    if (!WriteAll(temp.Fd(), text) || ::fsync(temp.Fd()) != 0)
        return {false, ErrorText(file, errno)};
    if (!temp.Close()) return {false, ErrorText(file, errno)};
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) return {false, ErrorText(file, errno)};
    temp.Release();
    SyncFolder(target.parent_path());
    return {true, std::string()};
}

ChartSaveOutcome SaveChartTextAsked(const std::filesystem::path& file, const ChartText& lines,
                                    UserPort& port) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec) &&
        port.Show(MessageKind::WarningYesNo, OverwriteChartQuestion(file)) != Answer::Yes) {
        port.Inform(kChartNotSavedText);
        return ChartSaveOutcome::NotSaved;
    }
    const ChartSaveResult saved = SaveChartText(file, lines);
    if (!saved.ok) {
        port.Warn(saved.error);
        return ChartSaveOutcome::Failed;
    }
    return ChartSaveOutcome::Saved;
}

}  // namespace qv
