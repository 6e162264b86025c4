#pragma once
// What a page does when the focus leaves one of its entry boxes, decided by
// the engine: the box's own entry check, other boxes to fill in, a rule's
// message and where the focus goes. The page only carries the decision out,
// through its side of PageBoxes.
#include <optional>
#include <string>
#include <vector>

#include "base/number_entry.h"
#include "base/user_port.h"

namespace qv {

template <class Box>
struct BoxFill {
    Box box;
    std::string text;
    bool operator==(const BoxFill&) const = default;
};

template <class Box>
struct BoxExit {
    // The entry check of the box left, to be carried out on it
    // (ApplyEntryCheck). Its value has already been stored in the state.
    EntryCheck check;
    // Other boxes to write, in order.
    std::vector<BoxFill<Box>> fills;
    // A rule's message after the check (information box); empty for none.
    std::string message;
    // Where the focus goes; nothing leaves it where the user sent it.
    std::optional<Box> focus;
    // Whether the page's running summary is to be recounted from its boxes
    // once the decision has been carried out.
    bool refreshSummary = false;
};

// The page's side of a decision: writing a box and moving the focus.
template <class Box>
class PageBoxes {
  public:
    virtual ~PageBoxes() = default;
    virtual void SetBoxText(Box box, const std::string& text) = 0;
    virtual void FocusBox(Box box) = 0;
};

// Carries out a decision on the box `left`: the check's box text and message
// in the check's order, the fills, the rule's message, then the focus.
template <class Box>
void CarryOutExit(const BoxExit<Box>& exit, Box left, UserPort& port, PageBoxes<Box>& boxes) {
    ApplyEntryCheck(exit.check, port,
                    [&boxes, left](const std::string& text) { boxes.SetBoxText(left, text); });
    for (const BoxFill<Box>& fill : exit.fills) boxes.SetBoxText(fill.box, fill.text);
    if (!exit.message.empty()) port.Inform(exit.message);
    if (exit.focus) boxes.FocusBox(*exit.focus);
}

}  // namespace qv
