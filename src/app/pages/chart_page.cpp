#include "app/pages/chart_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <algorithm>

#include "app/accessible.h"
#include "app/print_text_box.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "app/shell_texts.h"
#include "chart/amortization.h"
#include "chart/chart_file.h"

ChartPage::ChartPage(Session& app) : Page(app, kId) {
    Line(
        Text(QStringLiteral("FIRST, if this grid is empty, go to Tab 5 or the File Menu to load "
                            "any saved schedules.")));
    Line(
        Text(QStringLiteral("The Schedule of Payments below will make up the Amortization "
                            "Schedule.")));
    QTableView* dbgDetail = Grid("dbgDetail", session().Table(TableId::mdsDetail),
                                 {{"Sequence", QStringLiteral("Pay #")},
                                  {"PaySize", QStringLiteral("$ Paid")},
                                  {"PriorPds", QStringLiteral("Prior Pd(s)")},
                                  {"AddDays", QStringLiteral("Prior Extra Days")},
                                  {"UnEarnIn", QStringLiteral("UnEarn FC")},
                                  {"Rebate", QStringLiteral("Rx78 Rebate")}},
                                 true);
    NameControl(dbgDetail, QStringLiteral("Schedule of payments"));
    Column()->addWidget(dbgDetail);
    Line(
        Text(QStringLiteral("You cannot edit this grid, but you can edit this schedule at Tab "
                            "5.")));
    auto* butGoToIrreg = Button("butGoToIrreg", QStringLiteral("Goto Editable Schedule"));
    butReRx78_ = Button("butReRx78", QStringLiteral("Rule of 78s Warning"));
    Row({butGoToIrreg, butReRx78_});

    auto* butChartEst = Button("butChartEst", QStringLiteral("Chart Amortization"));
    labChart7_ = Label(QString(), "labChart7");
    Row({Label(QStringLiteral("SECOND, click:")), butChartEst, labChart7_});

    redChart_ = Memo("redChart", {QStringLiteral("Amortization Chart will Appear here")}, true);
    redChart_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    redChart_->setMinimumHeight(redChart_->fontMetrics().height() * 8);
    NameControl(redChart_, QStringLiteral("Chart text"));
    Column()->addWidget(redChart_, 1);

    Line(
        Text(QStringLiteral("You can add text or edit the Amortization Chart before printing: "
                            "Click Using the Chart button for info.")));
    auto* butPrint = Button("butPrint", QStringLiteral("Print Chart"));
    auto* butSaveChart = Button("butSaveChart", QStringLiteral("Save Chart Text"));
    auto* butClearIt = Button("butClearIt", QStringLiteral("Clear Chart"));
    auto* butAbout = Button("butAbout", QStringLiteral("Using the Chart"));
    auto* butChartReset = Button("butChartReset", QStringLiteral("Reset All"));
    Row({Label(QStringLiteral("THIRD, click:")), butPrint, butSaveChart, butClearIt, butAbout,
         butChartReset});

    connect(butChartEst, &QPushButton::clicked, this, &ChartPage::butChartEstClick);
    connect(butPrint, &QPushButton::clicked, this, &ChartPage::butPrintClick);
    connect(butSaveChart, &QPushButton::clicked, this, &ChartPage::butSaveChartClick);
    connect(butClearIt, &QPushButton::clicked, this, &ChartPage::butClearItClick);
    connect(butGoToIrreg, &QPushButton::clicked, this, &ChartPage::butGoToIrregClick);
    connect(butReRx78_, &QPushButton::clicked, this, &ChartPage::butReRx78Click);
    connect(butAbout, &QPushButton::clicked, this, &ChartPage::butAboutClick);
    connect(butChartReset, &QPushButton::clicked, this, &ChartPage::butChartResetClick);

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
