#pragma once
// A main window driven through the recording platform port, shown and active
// on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "app/recording_platform_port.h"

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
