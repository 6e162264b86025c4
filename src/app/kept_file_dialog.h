#pragma once
// A file dialog the window keeps for the whole run (dlgSavePayset,
// dlgOpenPaySet): the path the user chose last is what it proposes next, so a
// second save or load starts in the same folder with the same name.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/platform_port.h"

class KeptFileDialog {
  public:
    enum class Kind { Open, Save };

    KeptFileDialog(Kind kind, std::string_view fileName, std::string_view defaultExt)
        : kind_(kind) {
        request_.fileName = fileName;
        request_.defaultExt = defaultExt;
    }

    // Shows the dialog under `title`; the chosen path is kept for the next
    // use. Empty when the user cancels (the kept path stays as it was).
    std::optional<std::string> Execute(PlatformPort& port, std::string_view title) {
        request_.title = title;
        std::optional<std::string> chosen =
            kind_ == Kind::Open ? port.OpenFileDialog(request_) : port.SaveFileDialog(request_);
        if (chosen) request_.fileName = *chosen;
        return chosen;
    }

    const FileDialogRequest& Request() const { return request_; }
    // Puts back the path to propose next (a choice the command refused is
    // not offered again).
    void Keep(std::string path) { request_.fileName = std::move(path); }

  private:
    Kind kind_;
    FileDialogRequest request_;
};
