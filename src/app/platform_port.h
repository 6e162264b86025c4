#pragma once
// Everything the application asks of the desktop platform: message boxes (the
// engine's UserPort), the input box, file dialogs, printing, the beep and
// enabling the window. QtPlatformPort shows real dialogs; tests drive the
// application through RecordingPlatformPort.
#include <optional>
#include <string>
#include <string_view>

#include "base/user_port.h"

struct FileDialogRequest {
    std::string title;
    std::string fileName;            // proposed file name, may be empty
    std::string defaultExt = "txt";  // added when the user types a name without one
    bool operator==(const FileDialogRequest&) const = default;
};

class PlatformPort : public qv::UserPort {
  public:
    // Asks for a line of text; nullopt when the user cancels.
    virtual std::optional<std::string> InputBox(std::string_view title, std::string_view prompt,
                                                std::string_view defaultText) = 0;
    // Full path of the chosen file; nullopt when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
    // The print dialog; true when the user confirms. The printer chosen there
    // stays the current printer for the rest of the run.
    virtual bool PrintDialog() = 0;
    // Prints the whole text on the current printer as one job, across as many
    // pages as it needs; false when the platform could not print it (it has
    // already reported why, if it had anything to say).
    virtual bool PrintText(std::string_view text, std::string_view fontFamily, int pointSize,
                           std::string_view jobTitle) = 0;
    virtual void Beep() = 0;
    // Disables (and enables again) the whole main window.
    virtual void SetWindowEnabled(bool enabled) = 0;
};
