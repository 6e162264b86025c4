#include "app/grid_focus.h"

#include <QApplication>
#include <QTableView>
#include <memory>

void DropGridFocus(QTableView* grid) {
    QWidget* focus = QApplication::focusWidget();
    // Focus going nowhere is no exit; an open cell editor hands its text to
    // the table as it closes.
    if (focus != nullptr && (focus == grid || grid->isAncestorOf(focus))) focus->clearFocus();
}

void OnGridExit(QTableView* grid, std::function<void()> handler) {
    // The grid's exit is read from the application's focus changes, which are
    // reported after a cell editor has handed its text to the table.
    auto running = std::make_shared<bool>(false);
    QObject::connect(
        qApp, &QApplication::focusChanged, grid,
        [grid, running, handler = std::move(handler)](QWidget* old, QWidget* now) {
            if (*running || old == nullptr || now == nullptr || now->window() != grid->window())
                return;
            const bool fromGrid = old == grid || grid->isAncestorOf(old);
            const bool toGrid = now == grid || grid->isAncestorOf(now);
            if (!fromGrid || toGrid) return;
            *running = true;
            handler();
            *running = false;
        });
}
