#include "app/pages/chart_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "app/main_window.h"
#include "app/pages/irregular_page.h"
#include "app/pages/regular_page.h"
#include "app/pages/settings_page.h"
#include "app/shell_texts.h"
#include "chart/amortization.h"
#include "chart/chart_file.h"

namespace {

// What the chart page's entry needs from the window.
class WindowChartHost : public qv::ChartPageHost {
  public:
    explicit WindowChartHost(TforMain& main) : main_(main) {}

    void Beep() override { main_.Port().Beep(); }
    void RunRegularAPR() override { main_.GetPage<RegularPage>().butSimpleAPRClick(); }
    void RunIrregularAPR() override { main_.GetPage<IrregularPage>().butEstAPRClick(); }
    bool AprBoxShowsInputError() override {
        for (const char* box : {"edAPR", "edSimpAPR"}) {
            auto* edit = main_.findChild<QLineEdit*>(QString::fromLatin1(box));
            if (edit != nullptr && edit->text() == QLatin1String("InputError")) return true;
        }
        return false;
    }
    void ShowPage(qv::InputErrorRoute page) override { main_.ShowPage(PageFor(page)); }
    void SetWindowEnabled(bool enabled) override { main_.Port().SetWindowEnabled(enabled); }
    const qv::ComputedSchedule* LastComputed() override { return main_.LastComputed(); }

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

    TforMain& main_;
};

// Swaps the chart box to the printer's font while a job is printed and puts
// the screen font and the box back however the job ends.
class PrintFontSwap {
  public:
    explicit PrintFontSwap(QPlainTextEdit* box) : box_(box), screenFont_(box->font()) {
        box_->hide();
        QFont printFont(QString::fromLatin1(qv::kChartPrintFontName.data(),
                                            qsizetype(qv::kChartPrintFontName.size())));
        printFont.setStyleHint(QFont::TypeWriter);
        printFont.setPointSize(qv::kChartPrintFontPoints);
        box_->setFont(printFont);
    }
    ~PrintFontSwap() {
        box_->setFont(screenFont_);
        box_->show();
    }
    PrintFontSwap(const PrintFontSwap&) = delete;
    PrintFontSwap& operator=(const PrintFontSwap&) = delete;

  private:
    QPlainTextEdit* box_;
    QFont screenFont_;
};

std::string Std(std::string_view text) {
    return std::string(text);
}

}  // namespace

ChartPage::ChartPage(TforMain& main) : Page(main, kId) {
    Line(
        Text(QStringLiteral("FIRST, if this grid is empty, go to Tab 5 or the File Menu to load "
                            "any saved schedules.")));
    Line(
        Text(QStringLiteral("The Schedule of Payments below will make up the Amortization "
                            "Schedule.")));
    Column()->addWidget(Grid("dbgDetail", Main().mdsDetail(),
                             {{"Sequence", QStringLiteral("Pay #")},
                              {"PaySize", QStringLiteral("$ Paid")},
                              {"PriorPds", QStringLiteral("Prior Pd(s)")},
                              {"AddDays", QStringLiteral("Prior Extra Days")},
                              {"UnEarnIn", QStringLiteral("UnEarn FC")},
                              {"Rebate", QStringLiteral("Rx78 Rebate")}},
                             true));
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
    redChart_->setMinimumHeight(redChart_->fontMetrics().height() * 12);
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
    WindowChartHost host(Main());
    const bool showRebates = Main().GetPage<SettingsPage>().ShowRebates();
    qv::EnterChartPage(Main().State(), Main().mdsPaySet(), Main().mdsDetail(), showRebates, host,
                       Main().Port());
}

void ChartPage::butChartEstClick() {
    const SettingsPage& settings = Main().GetPage<SettingsPage>();
    qv::ChartOptions options;
    options.showRebates = settings.ShowRebates();
    options.fractionalInterest = settings.FractionalInterest();
    options.roundDown = settings.RoundDown();
    qv::ChartText lines;
    const qv::ChartResult result = qv::AppendAmortizationChart(
        Main().LastComputed(), Main().State().RoundAdd, options, lines, Main().Port());
    labChart7_->setText(QString::fromStdString(result.caption));
    AppendChartLines(lines);
}

void ChartPage::butPrintClick() {
    if (!Main().Port().PrintDialog()) return;
    PrintChartText();
}

void ChartPage::PrintChartText() {
    PrintFontSwap swap(redChart_);
    Main().Port().PrintText(redChart_->toPlainText().toStdString(), qv::kChartPrintFontName,
                            qv::kChartPrintFontPoints, qv::kChartPrintJobTitle);
}

void ChartPage::butSaveChartClick() {
    FileDialogRequest request;
    request.title = Std(qv::kSaveChartDialogTitle);
    request.fileName = Std(qv::kProposedChartFileName);
    request.defaultExt = Std(qv::kChartFileExtension);
    const std::optional<std::string> file = Main().Port().SaveFileDialog(request);
    if (!file) return;
    qv::SaveChartTextAsked(std::filesystem::u8path(*file), ChartLines(), Main().Port());
}

void ChartPage::butClearItClick() {
    redChart_->setPlainText(TforMain::kTitle);
}

void ChartPage::butGoToIrregClick() {
    Main().ShowPage(PageId::tabEdit);
}

void ChartPage::butReRx78Click() {
    Main().State().ScheduleSource = qv::kSourceChart;
    Main().ShowPage(PageId::tabIntro);
}

void ChartPage::butAboutClick() {
    Main().ShowPage(PageId::tabUsingChart);
}

void ChartPage::butChartResetClick() {
    Main().Reset();
    Main().ShowPage(PageId::tabAbout);
}

qv::ChartText ChartPage::ChartLines() const {
    qv::ChartText lines;
    const QStringList text = redChart_->toPlainText().split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(text.size()));
    for (const QString& line : text) lines.push_back(line.toStdString());
    return lines;
}

void ChartPage::SetChartLines(const qv::ChartText& lines) {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) text.push_back(QString::fromStdString(line));
    redChart_->setPlainText(text.join(QLatin1Char('\n')));
}

void ChartPage::AppendChartLines(const qv::ChartText& lines) {
    for (const std::string& line : lines) redChart_->appendPlainText(QString::fromStdString(line));
}
