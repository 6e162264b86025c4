// Every page as a screen reader and a keyboard-only user meet it: names for
// the boxes and grids, Alt+letters of their own, legible texts, results that
// are spoken and grids out of sight that keep still.
#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <map>
#include <vector>

#include "app/accessible.h"
#include "app_fixture.h"

namespace {

// The controls a screen-reader user types into or reads results from.
bool IsReadable(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) != nullptr ||
           qobject_cast<QAbstractItemView*>(w) != nullptr ||
           qobject_cast<QPlainTextEdit*>(w) != nullptr;
}

QString Where(const Page& page, const QWidget* w) {
    return page.objectName() + QLatin1Char('/') + w->objectName() + QLatin1Char(' ') +
           QString::fromLatin1(w->metaObject()->className());
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setStyle(MnemonicStyle()); }
    void contrastRatio_data();
    void contrastRatio();
    void everyPageIsNamedKeyedAndLegible();
    void namesDoNotHangOnTheHints();
    void aComputedAprIsSpokenAndHiddenGridsKeepStill();
    void anAltLetterLeavesTheBoxBeforeItPresses();
    void theStripShowsOnlyWhatCanBeSeen();
};

void AccessibilityTest::contrastRatio_data() {
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("ratio");
    // Worked by hand from the relative luminances.
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("same colour") << QColor(0x12, 0x34, 0x56) << QColor(0x12, 0x34, 0x56) << 1.0;
    QTest::newRow("pure red on white") << QColor(Qt::red) << QColor(Qt::white) << 3.998;
    QTest::newRow("pure red on grey") << QColor(Qt::red) << QColor(0xEF, 0xEF, 0xEF) << 3.478;
    QTest::newRow("dark red on grey") << QColor(0xC0, 0, 0) << QColor(0xEF, 0xEF, 0xEF) << 5.634;
    QTest::newRow("order does not matter") << QColor(Qt::white) << QColor(Qt::blue) << 8.592;
}

void AccessibilityTest::contrastRatio() {
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(double, ratio);
    QVERIFY2(std::abs(ContrastRatio(text, background) - ratio) < 0.005,
             qPrintable(QString::number(ContrastRatio(text, background))));
}

void AccessibilityTest::everyPageIsNamedKeyedAndLegible() {
    AppFixture app;
    QStringList faults;
    for (int i = 0; i < kPageCount; ++i) {
        const auto id = PageId(i);
        app.window->ShowPage(id);
        Page& page = app.window->PageAt(id);
        std::map<QString, QString> keys;  // Alt+letter -> who has it
        for (QAction* menu : app.window->menuBar()->actions())
            keys[QKeySequence::mnemonic(menu->text()).toString()] = menu->text();
        auto claim = [&](const QKeySequence& key, const QString& who) {
            if (key.isEmpty()) return;
            auto [at, fresh] = keys.emplace(key.toString(), who);
            if (!fresh) faults << key.toString() + " twice: " + at->second + " and " + who;
        };
        for (QWidget* w : page.findChildren<QWidget*>()) {
            if (IsReadable(w) && qobject_cast<QAbstractItemView*>(w->parentWidget()) == nullptr) {
                QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
                if (reader == nullptr || reader->text(QAccessible::Name).trimmed().isEmpty())
                    faults << "no name: " + Where(page, w);
            }
            // The corner button of a grid is the grid's own, not a control of the page.
            auto* button = qobject_cast<QAbstractButton*>(w);
            if (button != nullptr &&
                qobject_cast<QAbstractItemView*>(w->parentWidget()) == nullptr) {
                if (button->shortcut().isEmpty()) faults << "no Alt+letter: " + Where(page, w);
                claim(button->shortcut(), Where(page, w));
            }
            if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
                claim(QKeySequence::mnemonic(label->text()), "label " + label->text());
            // Texts, as shown while the window is active.
            const bool showsText =
                qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || IsReadable(w);
            if (showsText && w->isVisible() && w->isEnabled()) {
                const QPalette& p = w->palette();
                const double ratio = ContrastRatio(p.color(QPalette::Active, w->foregroundRole()),
                                                   p.color(QPalette::Active, w->backgroundRole()));
                if (ratio < 4.5)
                    faults << "contrast " + QString::number(ratio, 'f', 2) + ": " + Where(page, w);
            }
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void AccessibilityTest::namesDoNotHangOnTheHints() {
    AppFixture app;
    auto name = [](QWidget* w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed();
    };
    // Named by hand, and by the label tied to the box (its ampersand gone).
    const std::vector<std::pair<const char*, QString>> boxes{
        {"edSimpAmtFin", "Amount Financed"}, {"edSimpAPR", "APR"},
        {"edAmtFin", "$ Amount Financed"},   {"edSimp1stExtra", "Added Days in 1st Interval."},
        {"dbgPaySet", "Payment groups"},     {"edRate1", "First Step Rate"},
        {"redChart", "Chart text"}};
    for (const auto& [box, expected] : boxes) QCOMPARE(name(app.Find(box)), expected);
    // The split-rate boxes share a hint that fits the payments, not them.
    QAccessibleInterface* rate = QAccessible::queryAccessibleInterface(app.Find("edRate1"));
    QVERIFY(!rate->text(QAccessible::Description).contains(QStringLiteral("Total of Payments")));

    for (const char* hints : {"cbxHintsOff", "cbxNoHint"}) app.Find<QCheckBox>(hints)->click();
    QVERIFY(app.Find("edSimpAmtFin")->toolTip().isEmpty());
    for (const auto& [box, expected] : boxes) QCOMPARE(name(app.Find(box)), expected);
}

void AccessibilityTest::aComputedAprIsSpokenAndHiddenGridsKeepStill() {
    AppFixture app;
    auto* hiddenGrid = app.Find<QTableView>("dbgPaySet2");
    app.window->ShowPage(PageId::TabSimple);
    app.Enter("edSimpAmtFin", QStringLiteral("3000"));
    app.Enter("edSimpInnerNoPay", QStringLiteral("36"));
    app.Enter("edSimpRegPay", QStringLiteral("100"));
    auto* compute = app.Find<QPushButton>("butSimpleAPR");
    app.Click(compute);
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("12.249%"));

    // A screen reader speaks a new description of the focused control: the
    // button just pressed keeps the focus and carries the result.
    QCOMPARE(QApplication::focusWidget(), compute);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(compute);
    QCOMPARE(button->text(QAccessible::Description), QStringLiteral("APR 12.249%"));
    // Leaving the button gives it back its own description (its hint).
    QTest::keyClick(compute, Qt::Key_Tab);
    QCOMPARE(button->text(QAccessible::Description),
             QStringLiteral("If the Schedule is complete, click here."));

    // The computation filled the payment table; the editor's grid, out of
    // sight, did not move to it (which would announce a cell no one sees)
    // and catches up once its page shows.
    QVERIFY(app.window->Schedule().PaySet().CurrentRow() >= 0);
    QVERIFY(!hiddenGrid->currentIndex().isValid());
    app.window->ShowPage(PageId::tabEdit);
    QCOMPARE(hiddenGrid->currentIndex().row(), app.window->Schedule().PaySet().CurrentRow());
}

void AccessibilityTest::anAltLetterLeavesTheBoxBeforeItPresses() {
    AppFixture app;
    app.window->ShowPage(PageId::TabSimple);
    auto* compute = app.Find<QPushButton>("butSimpleAPR");
    const QChar letter = MnemonicOf(compute);
    QVERIFY(!letter.isNull());
    const auto altKey = Qt::Key(Qt::Key_A + (letter.unicode() - 'A'));

    // The payment typed last is taken by the box's exit before the button runs.
    app.Enter("edSimpAmtFin", QStringLiteral("3000"));
    app.Enter("edSimpInnerNoPay", QStringLiteral("36"));
    app.Type("edSimpRegPay", QStringLiteral("100"));
    QTest::keyClick(app.Find("edSimpRegPay"), altKey, Qt::AltModifier);
    // The button shows itself pressed for a moment before it acts.
    QTRY_COMPARE(app.Text("edSimpAPR"), QStringLiteral("12.249%"));
    QCOMPARE(QApplication::focusWidget(), compute);

    // A box that refuses its text keeps the focus, and the button stays unpressed.
    app.port->ClearRecords();
    app.Type("edSimpAmtFin", QStringLiteral("abc"));
    QTest::keyClick(app.Find("edSimpAmtFin"), altKey, Qt::AltModifier);
    QCOMPARE(app.port->messages.size(), std::size_t(1));
    QCOMPARE(QApplication::focusWidget(), app.Find("edSimpAmtFin"));
    QTest::qWait(300);
    QCOMPARE(app.Text("edSimpAPR"), QStringLiteral("Pending"));
}

void AccessibilityTest::theStripShowsOnlyWhatCanBeSeen() {
    AppFixture app;
    QTabBar* strip = app.Strip();
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(strip);
    QCOMPARE(tabs->role(), QAccessible::PageTabList);
    // The hidden tab that stands for "no tab" is no child a reader can reach.
    QCOMPARE(tabs->childCount(), 7);
    auto selected = [&] {
        QStringList names;
        for (int i = 0; i < tabs->childCount(); ++i) {
            if (tabs->child(i)->state().selected) names << tabs->child(i)->text(QAccessible::Name);
        }
        return names;
    };
    app.window->ShowPage(PageId::tabChart);
    QCOMPARE(selected(), QStringList{QStringLiteral("4:Chart/Rule of 78s")});
    QVERIFY(strip->focusPolicy() & Qt::TabFocus);

    // A page without a tab: nothing is current, and Tab does not stop on the strip.
    app.window->ShowPage(PageId::tabIntro);
    QCOMPARE(selected(), QStringList());
    QVERIFY(!(strip->focusPolicy() & Qt::TabFocus));

    // Pressing a tab as a reader does shows its page.
    tabs->child(5)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(app.window->ActivePage(), PageId::tabSplit);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
