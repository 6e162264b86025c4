// The focus-exit filter: which focus moves count as leaving a box.
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include "app/focus_exit_filter.h"
#include "app/qt_platform_port.h"
#include "app/radio_group.h"

namespace {

// A small form: two boxes, a radio group and a button, with a log of what ran.
struct Form {
    QWidget window;
    QLineEdit* first;
    QLineEdit* second;
    RadioGroup* group;
    QPushButton* button;
    FocusExitFilter* filter;
    QStringList log;

    Form() {
        auto* layout = new QVBoxLayout(&window);
        first = new QLineEdit(&window);
        second = new QLineEdit(&window);
        group = new RadioGroup(QStringLiteral("Interval"),
                               {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 3,
                               &window);
        button = new QPushButton(QStringLiteral("Go"), &window);
        for (QWidget* w : std::initializer_list<QWidget*>{first, second, group, button}) {
            layout->addWidget(w);
        }
        filter = new FocusExitFilter(&window);
        filter->OnExit(first, [this] { log << QStringLiteral("first exit"); });
        filter->OnEnter(first, [this] { log << QStringLiteral("first enter"); });
        filter->OnExit(group, [this] { log << QStringLiteral("group exit"); });
        QObject::connect(button, &QPushButton::clicked, [this] { log << QStringLiteral("click"); });
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }

    void SendFocus(QWidget* to, QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent event(type, reason);
        QApplication::sendEvent(to, &event);
    }
};

}  // namespace

class FocusExitTest : public QObject {
    Q_OBJECT

  private slots:
    void tabAndShiftTabLeaveTheBox() {
        Form f;
        f.first->setFocus(Qt::OtherFocusReason);
        f.log.clear();
        QTest::keyClick(f.first, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.second);
        QTest::keyClick(f.second, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.log, (QStringList{"first exit", "first enter"}));
    }

    void aRefusingExitPutsTheFocusBackWithoutRunningTheNextBoxesExit() {
        Form f;
        // The second box's exit is watched too; the first box's exit refuses
        // and takes the focus back, as an entry check does.
        f.filter->OnExit(f.second, [&f] { f.log << QStringLiteral("second exit"); });
        f.filter->OnExit(f.first, [&f] {
            f.log << QStringLiteral("first exit");
            f.first->setFocus(Qt::OtherFocusReason);
        });
        f.first->setFocus(Qt::OtherFocusReason);
        f.log.clear();
        QTest::keyClick(f.first, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.first);
        QCOMPARE(f.log, (QStringList{"first exit"}));
        // Once the handler has ended, the second box's exit runs as usual.
        f.filter->OnExit(f.first, [&f] { f.log << QStringLiteral("first exit"); });
        QTest::keyClick(f.first, Qt::Key_Tab);
        QTest::keyClick(f.second, Qt::Key_Tab);
        QCOMPARE(f.log, (QStringList{"first exit", "first exit", "second exit"}));
    }

    void clickOnAButtonRunsTheExitFirst() {
        Form f;
        f.first->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(f.first, QStringLiteral("12.50"));
        f.log.clear();
        QTest::mouseClick(f.button, Qt::LeftButton);
        QCOMPARE(f.log, (QStringList{"first exit", "click"}));
    }

    void activationAndPopupsAreNotExits() {
        Form f;
        f.first->setFocus(Qt::OtherFocusReason);
        f.log.clear();
        // What Qt sends when a message box or a menu takes over, and when the
        // window gets the activation back.
        f.SendFocus(f.first, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        f.SendFocus(f.first, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        f.SendFocus(f.first, QEvent::FocusOut, Qt::PopupFocusReason);
        f.SendFocus(f.first, QEvent::FocusIn, Qt::PopupFocusReason);
        QVERIFY(f.log.isEmpty());
    }

    void aRealMessageBoxFromTheHandlerDoesNotRunItAgain() {
        Form f;
        QtPlatformPort port(&f.window);
        int exits = 0;
        f.filter->OnExit(f.second, [&] {
            ++exits;
            // Close the message box once it is up; the handler then puts the
            // focus back into its box, as the entry checks do.
            QTimer::singleShot(0, [] {
                if (QWidget* box = QApplication::activeModalWidget()) box->close();
            });
            port.Warn("Bad number");
            f.second->setFocus(Qt::OtherFocusReason);
        });
        f.second->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(f.second, Qt::Key_Tab);
        QCOMPARE(exits, 1);
        // The box keeps the focus for when the window is active again.
        QCOMPARE(f.window.focusWidget(), f.second);
    }

    // A message from an exit handler that lets the move stand takes the
    // activation, and with it the release of the click or the selection a
    // tab gives: both are carried through once the window is active again.
    void aMoveCarriedOnPastAMessageEndsAsTheUserMeantIt() {
        for (const bool byMouse : {false, true}) {
            Form f;
            QtPlatformPort port(&f.window);
            f.filter->OnExit(f.first, [&] {
                QTimer::singleShot(0, [] {
                    QWidget* box = QApplication::activeModalWidget();
                    if (box == nullptr) return;
                    QTest::mouseRelease(box, Qt::LeftButton);  // the release the message takes
                    box->close();
                });
                port.Inform("Noted");
            });
            f.second->setText(QStringLiteral("123"));
            f.first->setFocus(Qt::OtherFocusReason);
            f.log.clear();
            if (byMouse)
                QTest::mousePress(f.button, Qt::LeftButton);
            else
                QTest::keyClick(f.first, Qt::Key_Tab);
            QApplication::setActiveWindow(&f.window);
            QTRY_VERIFY(f.window.isActiveWindow());
            QCoreApplication::processEvents();
            if (byMouse) {
                QCOMPARE(f.log, QStringList{"click"});
            } else {
                QCOMPARE(QApplication::focusWidget(), f.second);
                QCOMPARE(f.second->selectedText(), QStringLiteral("123"));
            }
        }
    }

    void movingWithinARadioGroupIsNoExit() {
        Form f;
        f.group->Item(0)->setFocus(Qt::OtherFocusReason);
        f.log.clear();
        f.group->Item(1)->setFocus(Qt::TabFocusReason);
        f.group->Item(2)->setFocus(Qt::TabFocusReason);
        QVERIFY(f.log.isEmpty());
        f.first->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f.log, (QStringList{"group exit", "first enter"}));
    }

    void focusGoingNowhereIsNoExit() {
        Form f;
        f.first->setFocus(Qt::OtherFocusReason);
        f.log.clear();
        f.first->clearFocus();
        QVERIFY(f.log.isEmpty());
    }

    void aHandlerMovingTheFocusIsNotReentered() {
        Form f;
        int exits = 0;
        // A handler that sends the focus on, away from the box, while it runs:
        // the second box's own exit runs, but not this one again.
        f.filter->OnExit(f.first, [&] {
            ++exits;
            f.first->setFocus(Qt::OtherFocusReason);
            f.button->setFocus(Qt::OtherFocusReason);
        });
        f.first->setFocus(Qt::OtherFocusReason);
        f.second->setFocus(Qt::TabFocusReason);
        QCOMPARE(exits, 1);
        QCOMPARE(QApplication::focusWidget(), f.button);
    }

    void disabledFilterRunsNothing() {
        Form f;
        f.first->setFocus(Qt::OtherFocusReason);
        f.log.clear();
        f.filter->Disable();
        f.second->setFocus(Qt::TabFocusReason);
        QVERIFY(f.log.isEmpty());
    }
};

QTEST_MAIN(FocusExitTest)
#include "focus_exit_test.moc"
