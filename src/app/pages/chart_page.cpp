#include "app/pages/chart_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
    QTableView* dbgDetail = Grid("dbgDetail", session().mdsDetail(),
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
}

void ChartPage::ResetControls() {
    labChart7_->setText(QStringLiteral("Amortization rounds to nearest cent."));
    // Rebates start switched off, and with them the warning button.
    butReRx78_->setVisible(false);
    redChart_->setPlainText(QString::fromLatin1(shell_text::kNoChartText));
}

void ChartPage::Enter() {
    qv::EnterChartPage(session().State().loan, session().mdsPaySet(), session().mdsDetail(),
                       session().ChartOptionsNow().showRebates, session().ChartHost(),
                       session().Port());
}

bool ChartPage::butChartEstClick() {
    qv::ChartText lines;
    const qv::ChartResult result =
        qv::AppendAmortizationChart(session().LastComputed(), session().State().loan.RoundAdd,
                                    session().ChartOptionsNow(), lines, session().Port());
    labChart7_->setText(Q(result.caption));
    // A click more (the first one may seem lost behind the page's Rule of
    // 78s warning) must not give the same chart twice, in the text, its file
    // and its print: a chart the text already ends with stands for it.
    if (!EndsWith(ChartLines(), lines)) AppendChartLines(lines);
    return result.outcome == qv::ChartOutcome::Appended;
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
    qv::SaveChartTextAsked(std::filesystem::u8path(*file), ChartLines(), session().Port());
}

void ChartPage::butClearItClick() {
    redChart_->setPlainText(QString::fromUtf8(shell_text::kWindowTitle));
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

qv::ChartText ChartPage::ChartLines() const {
    qv::ChartText lines;
    const QStringList text = redChart_->toPlainText().split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(text.size()));
    for (const QString& line : text) lines.push_back(S(line));
    return lines;
}

void ChartPage::SetChartLines(const qv::ChartText& lines) {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) text.push_back(Q(line));
    redChart_->setPlainText(text.join(QLatin1Char('\n')));
}

bool ChartPage::EndsWith(const qv::ChartText& text, const qv::ChartText& tail) {
    return !tail.empty() && tail.size() <= text.size() &&
           std::equal(tail.rbegin(), tail.rend(), text.rbegin());
}

void ChartPage::AppendChartLines(const qv::ChartText& lines) {
    for (const std::string& line : lines) redChart_->appendPlainText(Q(line));
}
