#pragma once
// Saving a text file so that a failure never costs the user the old file:
// the text goes to a new file beside the target, is flushed to the disk, and
// only then takes the target's name in one step (rename). Every save of the
// program (chart texts, schedule files) goes through here.
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "base/user_port.h"

namespace qv {

struct FileSaveResult {
    bool ok = false;
    std::string error;  // what went wrong, in the system's words; empty on success
};

// "Cannot save \"<path>\": <reason>", the words every failed save uses.
std::string CannotSaveText(const std::filesystem::path& file, int err);

// A file being written under a temporary name beside its target. Nothing
// replaces the target before Commit; destroying an uncommitted file removes
// the temporary one. An existing target that the user may not write, or
// that is marked read-only (no write permission for anyone), is refused at
// Open; one that is replaced keeps its permissions, and its owner and group
// where the user may give them. A symbolic link is followed and the file it
// names is replaced. A target that is no regular file (a device, a named
// pipe) is written into directly, as it cannot be replaced in one step.
class AtomicFile {
  public:
    explicit AtomicFile(std::filesystem::path file);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false (with Error set) when it cannot be.
    bool Open();
    // Appends text (buffered); false once any write has failed.
    bool Write(std::string_view text);
    // Flushes, syncs, closes and renames over the target.
    bool Commit();
    // Why the last step failed ("Cannot save ...").
    const std::string& Error() const { return error_; }
    // The temporary file written until Commit; empty before Open, after
    // Commit, and for a target written into directly.
    const std::string& TempPath() const { return tempPath_; }

  private:
    bool OpenInPlace(const struct stat& target);
    bool Flush();
    bool Fail(int err);

    std::filesystem::path file_;    // as the caller named it (for messages)
    std::filesystem::path target_;  // the file that is replaced (links followed)
    std::string tempPath_;
    int fd_ = -1;
    bool inPlace_ = false;  // writing straight into a device or a pipe
    std::string buffer_;
    std::string error_;
};

// True when `a` and `b` name the same file: one file on the disk however
// its path is spelled (through links, "..", relative or absolute), or, for
// a file not there yet, the same path once made absolute and normal.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// "Cannot save \"<path>\": it is the file chosen to be loaded", the refusal
// of a save offered before a load that would overwrite the very file the
// load is about to read.
std::string CannotSaveOverLoadText(const std::filesystem::path& file);

// Writes the whole text to `file` through an AtomicFile.
FileSaveResult WriteFileAtomically(const std::filesystem::path& file, std::string_view text);

// "Do you really want to overwrite " + the file's name without its folder + "?"
std::string OverwriteQuestion(const std::filesystem::path& file);

enum class SaveOutcome {
    Saved,
    NotSaved,  // the user declined to overwrite; told so
    Failed,    // the file could not be written; the error was shown as a warning
};

// The end of every save command, after its dialog: when the file exists,
// asks OverwriteQuestion (a warning with Yes and No) and on anything but Yes
// shows `notSavedText` and stops; otherwise runs `save` and shows its error
// as a warning.
SaveOutcome SaveAsked(const std::filesystem::path& file, std::string_view notSavedText,
                      UserPort& port, const std::function<FileSaveResult()>& save);
// The same with a question of the command's own wording.
SaveOutcome SaveAsked(const std::filesystem::path& file, std::string_view question,
                      std::string_view notSavedText, UserPort& port,
                      const std::function<FileSaveResult()>& save);

}  // namespace qv
