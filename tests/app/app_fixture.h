#pragma once
// A main window driven through the recording platform port, shown and active
// on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "app/recording_platform_port.h"

inline qv::RecordedMessage Info(const char* text) {
    return {qv::MessageKind::Information, text};
}
inline qv::RecordedMessage Warn(const char* text) {
    return {qv::MessageKind::Warning, text};
}

// Clicks a cell of a grid, after scrolling the page to it as the user would.
inline void ClickCell(QTableView* grid, const QModelIndex& index) {
    const QPoint centre = grid->visualRect(index).center();
    for (QWidget* up = grid->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            const QPoint inPage = grid->viewport()->mapTo(scroll->widget(), centre);
            scroll->ensureVisible(inPage.x(), inPage.y(), 20, 20);
            break;
        }
    }
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

inline void ClickCell(QTableView* grid, int row, int column) {
    ClickCell(grid, grid->model()->index(row, column));
}

// Clicks a cell, opens its editor with F2, types and commits with Return.
inline void EditCell(QTableView* grid, int row, int column, const QString& text) {
    const QModelIndex index = grid->model()->index(row, column);
    ClickCell(grid, index);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view hands the editor's text over once the key press is done.
    QCoreApplication::processEvents();
}

struct AppFixture {
    RecordingPlatformPort* port = nullptr;
    std::unique_ptr<TforMain> window;

    AppFixture() {
        auto recording = std::make_unique<RecordingPlatformPort>();
        port = recording.get();
        window = std::make_unique<TforMain>(std::move(recording));
        window->show();
        QApplication::setActiveWindow(window.get());
        (void)QTest::qWaitForWindowActive(window.get());
    }

    template <class W = QWidget>
    W* Find(const char* name) const {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    QAction* Item(const char* name) const { return Find<QAction>(name); }
    QTabBar* Strip() const { return Find<QTabBar>("pconMainTabs"); }
    QString Text(const char* box) const { return Find<QLineEdit>(box)->text(); }

    // Clicks a control as the user would, after scrolling its page to it.
    static void Click(QWidget* control) {
        for (QWidget* up = control->parentWidget(); up != nullptr; up = up->parentWidget()) {
            if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
                scroll->ensureWidgetVisible(control);
                break;
            }
        }
        QTest::mouseClick(control, Qt::LeftButton);
    }
    void Click(const char* name) const { Click(Find<QWidget>(name)); }

    // Clicks into a box and replaces its text as the user types, staying in
    // the box.
    void Type(const char* box, const QString& text) const {
        auto* edit = Find<QLineEdit>(box);
        Click(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    // The same, then leaves the box with Tab.
    void Enter(const char* box, const QString& text) const {
        Type(box, text);
        QTest::keyClick(Find<QLineEdit>(box), Qt::Key_Tab);
    }

    // The names of the controls the focus stands on as the user presses Tab
    // `steps` times, starting where it is; a radio button stands for its group.
    static QStringList TabWalk(int steps) {
        QStringList order;
        for (int i = 0; i < steps; ++i) {
            QWidget* at = QApplication::focusWidget();
            if (qobject_cast<QRadioButton*>(at) != nullptr) at = at->parentWidget();
            order << at->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return order;
    }

    // Clicks the tab with the given caption, as the user would.
    void PickTab(const QString& caption) const {
        QTabBar* strip = Strip();
        for (int i = 0; i < strip->count(); ++i) {
            if (strip->tabText(i) == caption && strip->isTabVisible(i)) {
                QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(i).center());
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no tab ") + caption));
    }
    // Caption of the highlighted tab; empty when no visible tab is.
    QString HighlightedTab() const {
        QTabBar* strip = Strip();
        const int i = strip->currentIndex();
        if (i < 0 || !strip->isTabVisible(i)) return {};
        return strip->tabText(i);
    }
};
