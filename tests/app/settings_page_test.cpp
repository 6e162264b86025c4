// The settings page: its eight boxes, the hint switches, rounding and the
// Rule of 78s button, and what Reset does to them.
#include "app/pages/settings_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <map>

#include "app_fixture.h"

namespace {

// The controls whose hints each box switches.
const QStringList kRegularHinted{
    "butSimpleAPR",    "edSimp1stPay",     "edSimp1stNoPd", "edSimp1stExtra", "edSimpLastNoPd",
    "edSimpLastExtra", "edSimpInnerNoPay", "edSimpRegPay",  "edSimpAmtFin",   "rgpSimpInterval",
    "edStatusBar",     "butResetSimple",   "labSimpToP"};
const QStringList kIrregularHinted{"butEstAPR",     "dbgPaySet",    "edGroupPds", "edGroupExtra",
                                   "edAmtFin",      "edTotPay",     "edPayCount", "rgpBasePd",
                                   "labEstimate15", "labEstimate16"};
// Controls of the two pages that keep their hints whatever the boxes say.
const QStringList kRegularKept{"edSimpLastPay"};
const QStringList kIrregularKept{"edSizeGroup", "edGroupPay", "butDone", "butPayReset",
                                 "dbgPaySet2"};

// Clicks a check box on its square, as the user does; its caption may be
// narrower than the line the box stands on.
void Tick(QCheckBox* box) {
    for (QWidget* up = box->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            scroll->ensureWidgetVisible(box);
            break;
        }
    }
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, square.center());
}

struct SettingsApp : AppFixture {
    SettingsApp() {
        window->ShowPage(PageId::tabSettings);
        port->ClearRecords();
    }
    SettingsPage& Page() const { return window->GetPage<SettingsPage>(); }
    QCheckBox* Box(const char* name) const { return Find<QCheckBox>(name); }
    void Tick(const char* name) const { ::Tick(Box(name)); }
    QString Tip(const QString& name) const { return Find<QWidget>(qPrintable(name))->toolTip(); }
    std::map<QString, QString> Tips(const QStringList& names) const {
        std::map<QString, QString> out;
        for (const QString& name : names) out[name] = Tip(name);
        return out;
    }
};

constexpr const char* kAboutNearest =
    "Note: Amortization rounds to the nearest whole cent, but you can change that setting:";
constexpr const char* kAboutDown =
    "Note: Amortization rounds down to a whole cent, but you can change that setting:";

}  // namespace

class SettingsPageTest : public QObject {
    Q_OBJECT

  private slots:
    void eightBoxesWithCaptionsStatesAndTabOrder();
    void readersFollowTheBoxes();
    void roundDownThenResetAllReturnsToNearest();
    void regularHintsSwitchExactlyTheirControls();
    void irregularHintsSwitchTheirControlsAndTheCaption();
    void rebateBoxShowsTheRuleOf78sButton();
};

void SettingsPageTest::eightBoxesWithCaptionsStatesAndTabOrder() {
    SettingsApp app;
    const std::vector<std::pair<const char*, QString>> boxes{
        {"cbxHintsOff", "Uncheck to Turn off Yellow * \"Balloon\" Hints"},
        {"cbxShowRebates", "Show Rule of 78s Rebates on Amortization Chart."},
        {"cbxNoHint", "Yellow *  \"Balloon\" Hints Turned on"},
        {"cbxRoundDown",
         "Round fractional cents down when doing Amortizations instead of rounding nearest."},
        {"cbxLog", "Log Estimate Steps"},
        {"cbxShowFlip", "Debug Find Payment"},
        {"cbxFractionalInt", "Show Fractional Interest on Chart, but use whole cents"},
        {"cbxTenPass", "Use Ten Pass APR Estimation"}};
    QWidget* previous = nullptr;
    for (const auto& [name, caption] : boxes) {
        QCheckBox* box = app.Box(name);
        QVERIFY2(box != nullptr, name);
        QCOMPARE(box->text(), caption);
        // The boxes follow one another in the page's tab order.
        if (previous != nullptr) {
            QWidget* next = previous->nextInFocusChain();
            while (qobject_cast<QCheckBox*>(next) == nullptr) next = next->nextInFocusChain();
            QCOMPARE(next, box);
        }
        previous = box;
    }
    const std::vector<bool> checked{true, false, true, false, false, false, false, true};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QCOMPARE(app.Box(boxes[i].first)->isChecked(), bool(checked[i]));
    }
    QCOMPARE(app.Tip("cbxHintsOff"), QStringLiteral("This is a Yellow Balloon Hint!"));
    QCOMPARE(app.Tip("cbxNoHint"),
             QStringLiteral("Uncheck to turn off Balloon hints like this one!"));
    QVERIFY(app.Box("cbxLog")->isHidden());
    // Every box shown can be read: none is cut down to its bare square.
    for (const auto& [name, caption] : boxes) {
        const QCheckBox* box = app.Box(name);
        if (!box->isHidden()) QVERIFY2(box->width() >= box->sizeHint().width(), name);
    }
}

void SettingsPageTest::readersFollowTheBoxes() {
    SettingsApp app;
    const AppSettings& page = app.window->Settings();
    QVERIFY(page.Get(Setting::TenPass));
    QVERIFY(!page.Get(Setting::LogSteps) && !page.Get(Setting::ShowRebates) &&
            !page.Get(Setting::FractionalInterest) && !page.Get(Setting::RoundDown) &&
            !page.Get(Setting::DebugFindPayment));
    for (const char* name :
         {"cbxTenPass", "cbxShowRebates", "cbxFractionalInt", "cbxRoundDown", "cbxShowFlip"}) {
        app.Tick(name);
    }
    app.Box("cbxLog")->setChecked(true);
    QVERIFY(!page.Get(Setting::TenPass));
    QVERIFY(page.Get(Setting::LogSteps) && page.Get(Setting::ShowRebates) &&
            page.Get(Setting::FractionalInterest) && page.Get(Setting::RoundDown) &&
            page.Get(Setting::DebugFindPayment));
    const qv::AprSettings engine = app.window->Settings().Apr();
    QVERIFY(!engine.TenPass);
    QVERIFY(engine.Log);
    QVERIFY(app.port->messages.empty());
}

void SettingsPageTest::roundDownThenResetAllReturnsToNearest() {
    SettingsApp app;
    auto* about = app.Find<QLabel>("labAbout8");
    auto* chart = app.Find<QLabel>("labChart7");
    QCOMPARE(about->text(), QString::fromLatin1(kAboutNearest));

    app.Tick("cbxRoundDown");
    QVERIFY(app.Box("cbxRoundDown")->isChecked());
    QCOMPARE(app.window->State().loan.RoundAdd, 0.0);
    QCOMPARE(about->text(), QString::fromLatin1(kAboutDown));
    QCOMPARE(chart->text(), QStringLiteral("Amortization rounds fractions down !"));

    app.Tick("cbxRoundDown");
    QCOMPARE(app.window->State().loan.RoundAdd, 0.5);
    QCOMPARE(chart->text(), QStringLiteral("Amortization rounds to nearest cent."));

    for (const char* reset : {"butEditReset", "butPayReset"}) {
        app.Tick("cbxRoundDown");
        app.Tick("cbxFractionalInt");
        QCOMPARE(app.window->State().loan.RoundAdd, 0.0);
        app.window->ShowPage(reset == std::string("butEditReset") ? PageId::tabEdit
                                                                  : PageId::tabEstimate);
        app.Click(reset);
        QVERIFY(!app.Box("cbxRoundDown")->isChecked());
        QCOMPARE(app.window->State().loan.RoundAdd, 0.5);
        QCOMPARE(about->text(), QString::fromLatin1(kAboutNearest));
        QCOMPARE(chart->text(), QStringLiteral("Amortization rounds to nearest cent."));
        // The other settings last for the run.
        QVERIFY(app.Box("cbxFractionalInt")->isChecked());
        app.window->ShowPage(PageId::tabSettings);
        app.Tick("cbxFractionalInt");
    }
}

void SettingsPageTest::regularHintsSwitchExactlyTheirControls() {
    SettingsApp app;
    const auto regular = app.Tips(kRegularHinted);
    const auto kept = app.Tips(kRegularKept + kIrregularHinted);
    for (const auto& [name, tip] : regular) QVERIFY2(!tip.isEmpty(), qPrintable(name));

    app.Tick("cbxHintsOff");
    for (const QString& name : kRegularHinted) QCOMPARE(app.Tip(name), QString());
    QCOMPARE(app.Tip("cbxHintsOff"), QString());
    QVERIFY(app.Tip("edSimpLastPay") != QString());
    QCOMPARE(app.Tips(kRegularKept + kIrregularHinted), kept);
    QCOMPARE(app.Box("cbxHintsOff")->text(),
             QStringLiteral("Uncheck to Turn off Yellow * \"Balloon\" Hints"));

    app.Tick("cbxHintsOff");
    QCOMPARE(app.Tips(kRegularHinted), regular);
    QCOMPARE(app.Tip("cbxHintsOff"), QStringLiteral("This is a Yellow Balloon Hint!"));
    // Reset leaves the hint switch alone.
    app.Tick("cbxHintsOff");
    app.Item("menClear")->trigger();
    QVERIFY(!app.Box("cbxHintsOff")->isChecked());
    QCOMPARE(app.Tip("butSimpleAPR"), QString());
}

void SettingsPageTest::irregularHintsSwitchTheirControlsAndTheCaption() {
    SettingsApp app;
    const auto irregular = app.Tips(kIrregularHinted);
    const auto kept = app.Tips(kIrregularKept + kRegularHinted);
    for (const auto& [name, tip] : irregular) QVERIFY2(!tip.isEmpty(), qPrintable(name));

    app.Tick("cbxNoHint");
    QCOMPARE(app.Box("cbxNoHint")->text(), QStringLiteral("Balloon Hints Off=Unchecked"));
    QCOMPARE(app.Tip("cbxNoHint"), QString());
    for (const QString& name : kIrregularHinted) QCOMPARE(app.Tip(name), QString());
    QCOMPARE(app.Tips(kIrregularKept + kRegularHinted), kept);

    app.Tick("cbxNoHint");
    // Not the caption the box started with.
    QCOMPARE(app.Box("cbxNoHint")->text(), QStringLiteral("Balloon Hints On=Checked"));
    QCOMPARE(app.Tips(kIrregularHinted), irregular);
    QCOMPARE(app.Tip("cbxNoHint"),
             QStringLiteral("Uncheck to turn off Balloon hints like this one!"));
}

void SettingsPageTest::rebateBoxShowsTheRuleOf78sButton() {
    SettingsApp app;
    auto* button = app.Find<QPushButton>("butReRx78");
    QVERIFY(button->isHidden());
    app.Tick("cbxShowRebates");
    QVERIFY(!button->isHidden());
    app.Tick("cbxShowRebates");
    QVERIFY(button->isHidden());
    app.Tick("cbxShowRebates");
    app.Item("menClear")->trigger();
    QVERIFY(!app.Box("cbxShowRebates")->isChecked());
    QVERIFY(button->isHidden());
}

QTEST_MAIN(SettingsPageTest)
#include "settings_page_test.moc"
