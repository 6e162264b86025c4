#pragma once
// Leaving a grid, which the focus-exit filter cannot watch: its cell editors
// are widgets of their own that come and go.
#include <functional>

class QTableView;
class QWidget;

// Runs `handler` when the input focus leaves `grid` (or the cell editor open
// in it) for another control of the window `grid` is in. Focus going to a
// message box, another window or nowhere is no exit.
void OnGridExit(QTableView* grid, std::function<void()> handler);

// Takes the focus out of `grid` without counting as leaving it: Reset empties
// the table under it, and its exit would only recount what Reset has just
// written.
void DropGridFocus(QTableView* grid);
