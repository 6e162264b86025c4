#include "app/pages/split_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/interval_group.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "app/session.h"

namespace {

using qv::SplitBox;

// The engine's control names are string literals, so their text ends in a
// null character as the page's builders expect.
const char* NameOf(SplitBox box) {
    return qv::SplitBoxInfo(box).name.data();
}

bool IsEntryBox(SplitBox box) {
    return qv::SplitBoxInfo(box).entry != qv::SplitEntry::Result;
}

// What the rate and cap boxes and the results hold, read after their names:
// the balloon hint they share describes the payment boxes, not them.
QString DescriptionOf(SplitBox box) {
    switch (box) {
        case SplitBox::edRate1:
        case SplitBox::edRate2:
        case SplitBox::edRate3:
        case SplitBox::edRate4:
            return QStringLiteral("Percent per common interval charged on this step's balance");
        case SplitBox::edCap1:
        case SplitBox::edCap2:
        case SplitBox::edCap3:
        case SplitBox::edCap4:
            return QStringLiteral("Dollar balance where this step ends and the next begins");
        case SplitBox::edSplitInterest:
            return QStringLiteral("Interest over the whole schedule, from the last computation");
        case SplitBox::edFinal:
            return QStringLiteral("Balance left after the last payment, from the last computation");
        default:
            return {};
    }
}

// The buttons' actions, in the order of the engine's list of buttons.
using Click = void (SplitPage::*)();
constexpr std::array<Click, qv::kSplitButtons.size()> kClicks{
    &SplitPage::butJustClick,           &SplitPage::butSplitRegPayClick,
    &SplitPage::butSplitPrincipalClick, &SplitPage::butSplitChartClick,
    &SplitPage::butSplitResetClick,     &SplitPage::butSplitPrintClick,
    &SplitPage::butMyTestClick,
};

}  // namespace

SplitPage::SplitPage(Session& app) : Page(app, kId) {
    Line(Text(Q(qv::kSplitIntroLine)));
    rgpSplitPd_ = Radio("rgpSplitPd", Q(qv::kSplitIntervalCaption),
                        IntervalCaptions(&qv::IntervalInfo::splitCaption),
                        qv::kSplitIntervalColumns, Q(qv::kSplitIntervalHint));
    ShowInterval(*rgpSplitPd_, qv::kStartInterval);
    Line(rgpSplitPd_);

    QLabel* principalLabel = Label(Q(qv::kSplitPrincipalLabel));
    QLabel* countLabel = Label(Q(qv::kSplitCountLabel));
    Row({MakeBox(SplitBox::edSplitAmtFin, 12), principalLabel,
         MakeBox(SplitBox::edSplitPayCount, 4), countLabel, MakeBox(SplitBox::edSplitRegPay, 10)});
    TieLabel(principalLabel, BoxOf(SplitBox::edSplitAmtFin));
    TieLabel(countLabel, BoxOf(SplitBox::edSplitPayCount));

    Line(Text(Q(qv::kSplitSecondLine)));
    MakePaymentLine(SplitBox::edSplit1stPay, qv::kSplitFirstPayLabel, SplitBox::edSplit1stNoPd,
                    SplitBox::edSplit1stExtra);
    Line(Text(Q(qv::kSplitThirdLine)));
    MakePaymentLine(SplitBox::edSplitlastPay, qv::kSplitLastPayLabel, SplitBox::edSplitlastNoPd,
                    SplitBox::edSplitlastExtra);

    QLabel* warning = Text(Q(qv::kSplitRatesWarning));
    SetTextTone(warning, TextTone::Warning);
    Line(warning);
    Line(Text(Q(qv::kSplitFourthLine)));
    for (int step = 1; step <= 4; ++step) {
        const auto k = std::size_t(step - 1);
        QLabel* middle = Label(Q(qv::kSplitStepMiddles[k]));
        Row({MakeBox(qv::RateBox(step), 8), middle, MakeBox(qv::CapBox(step), 12),
             Label(Q(qv::kSplitStepEnds[k]))});
        TieLabel(middle, BoxOf(qv::RateBox(step)));
    }
    Line(Text(Q(qv::kSplitFifthLine)));

    // Created in the page's tab order: the buttons, then the result boxes.
    std::array<QPushButton*, qv::kSplitButtons.size()> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const qv::SplitButton& b = qv::kSplitButtons[i];
        buttons[i] = Button(std::string(b.name).c_str(), Q(b.caption));
        buttons[i]->setVisible(b.visible);
        connect(buttons[i], &QPushButton::clicked, this, kClicks[i]);
    }
    Line(Text(Q(qv::kSplitSixthLine)));
    Row({buttons[0], buttons[1], buttons[2]});
    Line(Text(Q(qv::kSplitSeventhLine)));
    Row({buttons[3], buttons[4], buttons[5], buttons[6]});

    for (SplitBox box : {SplitBox::edSplitInterest, SplitBox::edFinal}) {
        const qv::SplitBoxText& info = qv::SplitBoxInfo(box);
        QLineEdit* result = ResultBox(NameOf(box), Q(info.startText), 12);
        result->setToolTip(Q(info.hint));
        boxes_[std::size_t(box)] = result;
    }
    QLabel* interestLabel = Label(Q(qv::kSplitInterestLabel));
    QLabel* finalLabel = Label(Q(qv::kSplitFinalLabel));
    Row({interestLabel, BoxOf(SplitBox::edSplitInterest), finalLabel, BoxOf(SplitBox::edFinal)});
    TieLabel(interestLabel, BoxOf(SplitBox::edSplitInterest));
    TieLabel(finalLabel, BoxOf(SplitBox::edFinal));
    // Boxes are named as the messages name them, so what a screen reader says
    // and what a message says about a box agree.
    for (const qv::SplitBoxText& info : qv::kSplitBoxes) {
        QLineEdit* box = BoxOf(info.box);
        if (!info.label.empty()) box->setAccessibleName(Q(info.label).trimmed());
        const QString description = DescriptionOf(info.box);
        if (!description.isEmpty()) box->setAccessibleDescription(description);
    }
    NameControl(BoxOf(SplitBox::edSplitInterest), QStringLiteral("Computed Interest"));
    NameControl(BoxOf(SplitBox::edFinal), QStringLiteral("Final Balance"));

    Focus().OnExit(rgpSplitPd_, [this] { rgpSplitPdExit(); });
    connect(rgpSplitPd_, &RadioGroup::ItemIndexChanged, this, &SplitPage::ResultsPending);
    for (const qv::SplitBoxText& info : qv::kSplitBoxes) {
        if (!IsEntryBox(info.box)) continue;
        Focus().OnExit(BoxOf(info.box), [this, box = info.box] { Leave(box); });
        connect(BoxOf(info.box), &QLineEdit::textEdited, this, &SplitPage::ResultsPending);
    }
    // Results figured with the other rounding are no longer the debt's.
    connect(&session().Settings(), &AppSettings::Changed, this, [this](Setting setting) {
        if (setting == Setting::RoundDown) ResultsPending();
    });
}

void SplitPage::ResetControls() {
    WriteBoxes(qv::SplitStartTexts());
    ShowInterval(*rgpSplitPd_, qv::kStartInterval);
}

// --- builders --------------------------------------------------------------------

QLineEdit* SplitPage::MakeBox(SplitBox box, int widthInDigits) {
    const qv::SplitBoxText& info = qv::SplitBoxInfo(box);
    QLineEdit* made = Box(NameOf(box), Q(info.startText), Q(info.hint), widthInDigits);
    boxes_[std::size_t(box)] = made;
    return made;
}

Page::BoxInfo SplitPage::InfoOf(SplitBox box, std::string_view label) const {
    const qv::SplitBoxText& info = qv::SplitBoxInfo(box);
    return {NameOf(box), Q(info.startText), Q(info.hint), Q(label)};
}

void SplitPage::MakePaymentLine(SplitBox pay, std::string_view payLabel, SplitBox periods,
                                SplitBox days) {
    const PaymentBoxes made =
        PaymentRow(InfoOf(pay, payLabel), InfoOf(periods, qv::kSplitIntervalsLabel),
                   InfoOf(days, qv::kSplitAddedDaysLabel));
    boxes_[std::size_t(pay)] = made.pay;
    boxes_[std::size_t(periods)] = made.periods;
    boxes_[std::size_t(days)] = made.days;
}

// --- the engine's decisions ------------------------------------------------------

QLineEdit* SplitPage::BoxOf(SplitBox box) const {
    return boxes_[std::size_t(box)];
}

void SplitPage::SetBoxText(SplitBox box, const std::string& text) {
    SetText(BoxOf(box), text);
}

void SplitPage::FocusBox(SplitBox box) {
    FocusForTyping(BoxOf(box));
}

void SplitPage::WriteBoxes(const std::vector<qv::SplitBoxFill>& fills) {
    for (const qv::SplitBoxFill& fill : fills) SetBoxText(fill.box, fill.text);
}

void SplitPage::ResultsPending() {
    for (SplitBox box : {SplitBox::edSplitInterest, SplitBox::edFinal}) {
        SetText(BoxOf(box), qv::SplitBoxInfo(box).startText);
    }
}

void SplitPage::Leave(SplitBox box) {
    const qv::SplitExit exit = qv::LeaveSplitBox(session().State().split, box, TextOf(BoxOf(box)));
    qv::CarryOutExit<SplitBox>(exit, box, session().Port(), *this);
}

void SplitPage::Show(const qv::SplitRun& run) {
    if (run.chartReplaced) session().Chart().SetLines(run.chart);
    WriteBoxes(run.fills);
    QStringList results;
    for (const qv::SplitBoxFill& fill : run.fills) {
        if (IsEntryBox(fill.box)) continue;
        results << BoxOf(fill.box)->accessibleName() + QLatin1Char(' ') + Q(fill.text);
    }
    if (!results.isEmpty())
        AnnounceResult(BoxOf(SplitBox::edFinal), results.join(QStringLiteral(", ")));
}

// --- page entry and the interval group ---------------------------------------------

void SplitPage::tabSplitEnter() {
    qv::EnterSplitPage(session().State().loan);
}

void SplitPage::rgpSplitPdExit() {
    qv::TakeSplitInterval(session().State().split, ChosenInterval(*rgpSplitPd_));
}

// --- buttons -----------------------------------------------------------------------

// Every computation runs on the interval the group shows: its choice is
// taken before the button acts, however the button was reached.
void SplitPage::butJustClick() {
    rgpSplitPdExit();
    Show(qv::JustAmortize(session().State().split, session().State().loan.RoundAdd,
                          session().Port()));
}

// A search changes the amounts the results were computed from before it
// amortizes again, and its messages show in between.
void SplitPage::butSplitRegPayClick() {
    rgpSplitPdExit();
    ResultsPending();
    Show(qv::MatchCommonPayment(session().State().split, session().State().loan.RoundAdd,
                                session().Port()));
}

void SplitPage::butSplitPrincipalClick() {
    rgpSplitPdExit();
    ResultsPending();
    Show(qv::MatchPrincipal(session().State().split, session().State().loan.RoundAdd,
                            session().Port()));
}

void SplitPage::butSplitChartClick() {
    session().ShowPage(PageId::tabChart);
}

void SplitPage::butSplitPrintClick() {
    session().Chart().Print();
}

void SplitPage::butSplitResetClick() {
    session().ResetAndShowIntro();
}

void SplitPage::butMyTestClick() {
    WriteBoxes(qv::LoadSplitTestData(session().State().split));
    ShowInterval(*rgpSplitPd_, qv::kSplitTestInterval);
}
