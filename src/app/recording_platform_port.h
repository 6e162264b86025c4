#pragma once
// A platform port for tests: keeps every message in order with its kind,
// answers questions and dialogs from scripts, and captures print jobs as text.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/platform_port.h"

struct PrintedJob {
    std::string text;
    std::string fontFamily;
    int pointSize = 0;
    std::string jobTitle;
    bool operator==(const PrintedJob&) const = default;
};

struct RecordedDialog {
    enum class Kind { Open, Save } kind;
    FileDialogRequest request;
    bool operator==(const RecordedDialog&) const = default;
};

struct RecordedInput {
    std::string title;
    std::string prompt;
    std::string defaultText;
    bool operator==(const RecordedInput&) const = default;
};

class RecordingPlatformPort : public PlatformPort {
  public:
    qv::Answer Show(qv::MessageKind kind, std::string_view text) override {
        messages.push_back({kind, std::string(text)});
        if (whileShowing) whileShowing();
        if (kind == qv::MessageKind::Information || kind == qv::MessageKind::Warning) {
            return qv::Answer::Ok;
        }
        return Next(answers, defaultAnswer);
    }

    std::optional<std::string> InputBox(std::string_view title, std::string_view prompt,
                                        std::string_view defaultText) override {
        inputs.push_back({std::string(title), std::string(prompt), std::string(defaultText)});
        // With no script the user accepts what the box proposes.
        if (inputAnswers.empty()) return std::string(defaultText);
        return Next(inputAnswers, std::optional<std::string>{});
    }

    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        dialogs.push_back({RecordedDialog::Kind::Open, request});
        return Next(fileAnswers, std::optional<std::string>{});
    }

    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        dialogs.push_back({RecordedDialog::Kind::Save, request});
        return Next(fileAnswers, std::optional<std::string>{});
    }

    bool PrintDialog() override {
        ++printDialogs;
        return Next(printDialogAnswers, true);
    }

    bool PrintText(std::string_view text, std::string_view fontFamily, int pointSize,
                   std::string_view jobTitle) override {
        if (!printerWorks) return false;
        printed.push_back(
            {std::string(text), std::string(fontFamily), pointSize, std::string(jobTitle)});
        return true;
    }

    void Beep() override { ++beeps; }
    void SetWindowEnabled(bool enabled) override {
        windowEnabled.push_back(enabled);
        if (onWindowEnabled) onWindowEnabled(enabled);
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }
    void ClearRecords() {
        messages.clear();
        inputs.clear();
        dialogs.clear();
        printed.clear();
        windowEnabled.clear();
        printDialogs = 0;
        beeps = 0;
    }

    // What happened, in order.
    std::vector<qv::RecordedMessage> messages;
    std::vector<RecordedInput> inputs;
    std::vector<RecordedDialog> dialogs;
    std::vector<PrintedJob> printed;
    std::vector<bool> windowEnabled;
    int printDialogs = 0;
    int beeps = 0;

    // Scripts: the answers to the next questions and dialogs, in order.
    std::deque<qv::Answer> answers;
    qv::Answer defaultAnswer = qv::Answer::Yes;           // when `answers` has run out
    std::deque<std::optional<std::string>> inputAnswers;  // nullopt = Cancel
    std::deque<std::optional<std::string>> fileAnswers;   // run out = Cancel
    std::deque<bool> printDialogAnswers;                  // run out = OK
    bool printerWorks = true;
    // What a real desktop does meanwhile: a message box is modal and takes the
    // window's activation; disabling the window takes its focus.
    std::function<void()> whileShowing;
    std::function<void(bool)> onWindowEnabled;

  private:
    template <class T>
    static T Next(std::deque<T>& script, T fallback) {
        if (script.empty()) return fallback;
        T value = std::move(script.front());
        script.pop_front();
        return value;
    }
};
