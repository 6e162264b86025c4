#pragma once
// How the engine talks to the user without knowing any windowing toolkit.
// The desktop application implements this port with real message boxes;
// tests use RecordingUserPort.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class MessageKind {
    Information,         // plain message box with OK
    Warning,             // warning box with OK
    Confirmation,        // question with Yes and No
    WarningYesNo,        // warning with Yes and No
    WarningYesNoCancel,  // warning with Yes, No and Cancel
};

enum class Answer { Ok, Yes, No, Cancel };

class UserPort {
  public:
    virtual ~UserPort() = default;

    // Shows a message of the given kind and returns the button the user chose.
    // Information and Warning always return Answer::Ok. Texts are passed
    // exactly as the system words them, line-break pairs included.
    virtual Answer Show(MessageKind kind, std::string_view text) = 0;

    void Inform(std::string_view text) { Show(MessageKind::Information, text); }
    void Warn(std::string_view text) { Show(MessageKind::Warning, text); }
    // Only Yes proceeds.
    bool Confirm(std::string_view text) {
        return Show(MessageKind::Confirmation, text) == Answer::Yes;
    }
};

// A message an engine routine leaves for its page to show, once the page has
// written what the routine decided.
struct PendingMessage {
    MessageKind kind = MessageKind::Information;
    std::string text;
    bool operator==(const PendingMessage&) const = default;
};

// Shows the messages in order (none of them asks a question).
inline void ShowMessages(UserPort& port, const std::vector<PendingMessage>& messages) {
    for (const PendingMessage& m : messages) port.Show(m.kind, m.text);
}

struct RecordedMessage {
    MessageKind kind;
    std::string text;
    bool operator==(const RecordedMessage&) const = default;
};

// Keeps every message in order and answers questions from a script.
class RecordingUserPort : public UserPort {
  public:
    Answer Show(MessageKind kind, std::string_view text) override {
        messages.push_back({kind, std::string(text)});
        if (kind == MessageKind::Information || kind == MessageKind::Warning) return Answer::Ok;
        if (answers.empty()) return defaultAnswer;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }

    std::vector<RecordedMessage> messages;
    std::deque<Answer> answers;          // answers to the next questions, in order
    Answer defaultAnswer = Answer::Yes;  // when the script has run out
};

}  // namespace qv
