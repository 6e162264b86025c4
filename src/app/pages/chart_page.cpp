#include "app/pages/chart_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <algorithm>
#include <string_view>

#include "app/accessible.h"
#include "app/print_text_box.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "app/shell_texts.h"
#include "chart/amortization.h"
#include "chart/chart_file.h"
#include "chart/chart_page_texts.h"

using qv::ChartButton;

ChartPage::ChartPage(Session& app) : Page(app, kId) {
    for (std::string_view line : qv::kChartIntroLines) Line(Text(Q(line)));
    QTableView* dbgDetail = Grid("dbgDetail", session().Table(TableId::mdsDetail),
                                 ColumnsOf(qv::kChartDetailColumns), true);
    NameControl(dbgDetail, Q(qv::kChartDetailName));
    Column()->addWidget(dbgDetail);
    Line(Text(Q(qv::kChartDetailLine)));
    QPushButton* butGoToIrreg = MakeButton(ChartButton::butGoToIrreg);
    butReRx78_ = MakeButton(ChartButton::butReRx78);
    Row({butGoToIrreg, butReRx78_});

    QPushButton* butChartEst = MakeButton(ChartButton::butChartEst);
    labChart7_ = Label(QString(), "labChart7");
    Row({Label(Q(qv::kChartSecondLine)), butChartEst, labChart7_});

    redChart_ = Memo("redChart", {Q(qv::kChartStartText)}, true);
    redChart_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    redChart_->setMinimumHeight(redChart_->fontMetrics().height() * 8);
    NameControl(redChart_, Q(qv::kChartTextName));
    Column()->addWidget(redChart_, 1);

    Line(Text(Q(qv::kChartEditLine)));
    QPushButton* butPrint = MakeButton(ChartButton::butPrint);
    QPushButton* butSaveChart = MakeButton(ChartButton::butSaveChart);
    QPushButton* butClearIt = MakeButton(ChartButton::butClearIt);
    QPushButton* butAbout = MakeButton(ChartButton::butAbout);
    QPushButton* butChartReset = MakeButton(ChartButton::butChartReset);
    Row({Label(Q(qv::kChartThirdLine)), butPrint, butSaveChart, butClearIt, butAbout,
         butChartReset});

    ChartDocument& chart = session().Chart();
    connect(&chart, &ChartDocument::Replaced, this, &ChartPage::ShowChart);
    connect(&chart, &ChartDocument::Appended, this, &ChartPage::ShowAppended);
    connect(&chart, &ChartDocument::CaptionChanged, labChart7_, &QLabel::setText);
    connect(&chart, &ChartDocument::PrintRequested, this, &ChartPage::butPrintClick);
    connect(redChart_, &QPlainTextEdit::textChanged, this, &ChartPage::TakeEdit);
    // The warning button shows with the rebates it warns about.
    connect(&session().Settings(), &AppSettings::Changed, this, [this](Setting setting, bool on) {
        if (setting == Setting::ShowRebates) butReRx78_->setVisible(on);
    });
    butReRx78_->setVisible(session().Settings().Get(Setting::ShowRebates));
    labChart7_->setText(Q(chart.Caption()));
    ShowChart();
}

namespace {

// What the chart page's entry asks of the program: beep, send the user to
// the page that made a faulty schedule, keep the window still while the grid
// fills.
class EntryWindow : public qv::ChartEntryWindow {
  public:
    explicit EntryWindow(Session& session) : session_(session) {}
    void Beep() override { session_.Port().Beep(); }
    void ShowPage(qv::InputErrorRoute route) override { session_.ShowPage(PageFor(route)); }
    void SetWindowEnabled(bool enabled) override { session_.Port().SetWindowEnabled(enabled); }

  private:
    static PageId PageFor(qv::InputErrorRoute route) {
        switch (route) {
            case qv::InputErrorRoute::tabIntro:
                return PageId::tabIntro;
            case qv::InputErrorRoute::TabSimple:
                return PageId::TabSimple;
            case qv::InputErrorRoute::tabEstimate:
                return PageId::tabEstimate;
            case qv::InputErrorRoute::tabEdit:
                return PageId::tabEdit;
            case qv::InputErrorRoute::tabAbout:
            case qv::InputErrorRoute::CorrectErrorsMessage:
                break;
        }
        return PageId::tabAbout;
    }

    Session& session_;
};

}  // namespace

void ChartPage::Enter() {
    qv::LoanState& s = session().State();
    PaySchedule& schedule = session().Schedule();
    const qv::ChartEntryStep step = qv::FirstChartEntryStep(s.loan, schedule.PaySet());
    // The schedule charted is the one on the page that made it, as it
    // stands now.
    if (step == qv::ChartEntryStep::RecomputeRegular ||
        step == qv::ChartEntryStep::RecomputeIrregular)
        schedule.Recompute(s.loan.ScheduleSource);
    EntryWindow window(session());
    qv::FinishChartEntry(step, s.loan, {schedule.AprShowsInputError(), schedule.LastComputed()},
                         session().Table(TableId::mdsDetail),
                         session().Settings().Get(Setting::ShowRebates), window, session().Port());
}

bool ChartPage::butChartEstClick() {
    return session().Schedule().ChartAmortization();
}

void ChartPage::Click(ChartButton button) {
    switch (button) {
        case ChartButton::butGoToIrreg:
            return butGoToIrregClick();
        case ChartButton::butReRx78:
            return butReRx78Click();
        case ChartButton::butChartEst:
            // Whether there was a schedule to chart, the user has been told.
            butChartEstClick();
            return;
        case ChartButton::butPrint:
            return butPrintClick();
        case ChartButton::butSaveChart:
            return butSaveChartClick();
        case ChartButton::butClearIt:
            return butClearItClick();
        case ChartButton::butAbout:
            return butAboutClick();
        case ChartButton::butChartReset:
            return butChartResetClick();
    }
}

QPushButton* ChartPage::MakeButton(ChartButton button) {
    const qv::ButtonText& info = qv::ChartButtonInfo(button);
    QPushButton* made = Button(info.name.data(), Q(info.caption), Q(info.hint));
    connect(made, &QPushButton::clicked, this, [this, button] { Click(button); });
    return made;
}

void ChartPage::butPrintClick() {
    if (!session().Port().PrintDialog()) return;
    PrintChartText();
}

void ChartPage::PrintChartText() {
    PrintTextBox(redChart_, session().Port(), qv::kChartPrintFontName, qv::kChartPrintFontPoints,
                 qv::kChartPrintJobTitle);
}

void ChartPage::butSaveChartClick() {
    FileDialogRequest request;
    request.title = std::string(qv::kSaveChartDialogTitle);
    request.fileName = std::string(qv::kProposedChartFileName);
    request.defaultExt = std::string(qv::kChartFileExtension);
    const std::optional<std::string> file = session().Port().SaveFileDialog(request);
    if (!file) return;
    qv::SaveChartTextAsked(std::filesystem::u8path(*file), session().Chart().Lines(),
                           session().Port());
}

void ChartPage::butClearItClick() {
    session().Chart().SetLines({shell_text::kWindowTitle});
}

void ChartPage::butGoToIrregClick() {
    session().ShowPage(PageId::tabEdit);
}

void ChartPage::butReRx78Click() {
    session().State().loan.ScheduleSource = qv::kSourceChart;
    session().ShowPage(PageId::tabIntro);
}

void ChartPage::butAboutClick() {
    session().ShowPage(PageId::tabUsingChart);
}

void ChartPage::butChartResetClick() {
    session().ResetAndShowIntro();
}

void ChartPage::ShowChart() {
    const QSignalBlocker shown(redChart_);
    QStringList text;
    for (const std::string& line : session().Chart().Lines()) text.push_back(Q(line));
    redChart_->setPlainText(text.join(QLatin1Char('\n')));
}

void ChartPage::ShowAppended(const qv::ChartText& lines) {
    const QSignalBlocker shown(redChart_);
    for (const std::string& line : lines) redChart_->appendPlainText(Q(line));
}

void ChartPage::TakeEdit() {
    qv::ChartText lines;
    const QStringList text = redChart_->toPlainText().split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(text.size()));
    for (const QString& line : text) lines.push_back(S(line));
    session().Chart().TakeEdit(lines);
}
