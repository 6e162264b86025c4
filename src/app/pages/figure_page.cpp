#include "app/pages/figure_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/print_text_box.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "chart/chart_file.h"
#include "figure/figure_schedule.h"

namespace {

// One line of text per entry; an entry may hold line breaks of its own (the
// listing's heading starts with a carriage return and a line feed).
template <class Lines>
QString JoinLines(const Lines& lines) {
    QStringList text;
    for (const auto& line : lines) {
        text << Q(line).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    }
    return text.join(QLatin1Char('\n'));
}

}  // namespace

FigurePage::FigurePage(Session& app) : Page(app, kId) {
    for (std::string_view line : qv::kInstructionLines) Line(Text(Q(line)));
    edMaxRate_ = Box("edMaxRate", Q(qv::kMaxRateStartText), QString(), 8);
    QLabel* perYear = Label(Q(qv::kPerYearText));
    Row({Label(Q(qv::kRateStepText)), edMaxRate_, perYear});
    TieLabel(perYear, edMaxRate_);
    NameControl(edMaxRate_, QStringLiteral("Yearly rate"));
    auto* butFind = Button("butFind", QStringLiteral("Adjust Payments"));
    Row({Label(Q(qv::kAdjustStepText)), butFind});
    Line(Text(Q(qv::kUnchangedText)));

    cbxShowAmort_ =
        Check("cbxShowAmort", QStringLiteral("Show Amortization for these Payments"), true);
    auto* butMaxReset = Button("butMaxReset", QStringLiteral("Reset All"));
    auto* butPrintIt = Button("butPrintIt", QStringLiteral("Print Report"));
    Row({cbxShowAmort_, butMaxReset, butPrintIt});

    // The listing's columns line up only in a fixed-pitch face. The report
    // is the program's: it can be read, selected and copied, not typed into.
    redFound_ = Memo("redFound", {}, true);
    redFound_->setReadOnly(true);
    redFound_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    redFound_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    redFound_->setMinimumHeight(redFound_->fontMetrics().height() * 8);
    NameControl(redFound_, QStringLiteral("Figured schedule report"));
    Column()->addWidget(redFound_, 1);

    const char* noteNames[] = {"labMax8", "labMax9", "LabMax10"};
    for (std::size_t i = 0; i < qv::kNoteTexts.size(); ++i) {
        QLabel* note = Text(Q(qv::kNoteTexts[i]), noteNames[i]);
        notes_.push_back(note);
        Line(note);
    }

    // A report belongs to the rate it was figured at.
    connect(edMaxRate_, &QLineEdit::textEdited, this, &FigurePage::ReportPending);
    connect(butFind, &QPushButton::clicked, this, &FigurePage::butFindClick);
    connect(butMaxReset, &QPushButton::clicked, this, &FigurePage::butMaxResetClick);
    connect(butPrintIt, &QPushButton::clicked, this, &FigurePage::butPrintItClick);
    Focus().OnExit(edMaxRate_, [this] { edMaxRateExit(); });

    ReportPending();
}

void FigurePage::ResetControls() {
    SetText(edMaxRate_, qv::kMaxRateStartText);
    ReportPending();
}

void FigurePage::Enter() {
    ShowNotes(false);
    if (reportBasis_ && *reportBasis_ != BasisNow()) ReportPending();
}

FigurePage::ReportBasis FigurePage::BasisNow() const {
    const qv::LoanState& s = session().State();
    return {session().Regular().Texts(), session().Regular().Interval(), s.figure.MaxRate,
            s.loan.RoundAdd};
}

void FigurePage::ShowReport(const qv::ChartText& lines) {
    redFound_->setPlainText(JoinLines(lines));
    reportBasis_ = BasisNow();
}

void FigurePage::ReportPending() {
    redFound_->setPlainText(JoinLines(qv::kFoundStartLines));
    reportBasis_.reset();
    ShowNotes(false);
}

void FigurePage::ShowNotes(bool visible) {
    for (QLabel* note : notes_) note->setVisible(visible);
}

void FigurePage::edMaxRateExit() {
    TakeEntry(edMaxRate_, qv::CheckMaxRate(TextOf(edMaxRate_)), session().State().figure.MaxRate,
              session().Port());
}

void FigurePage::butFindClick() {
    qv::FigureInputs inputs;
    inputs.regular = session().Regular().Texts();
    inputs.interval = session().Regular().Interval();
    inputs.showFlip = session().Settings().Get(Setting::DebugFindPayment);
    inputs.showAmort = cbxShowAmort_->isChecked();
    const qv::FigureOutcome r =
        qv::AdjustPayments(session().State().loan, session().State().regular,
                           session().State().figure, inputs, session().Port());
    ShowNotes(r.notesVisible);
    if (r.found) ShowReport(*r.found);
    if (r.summaryText) session().Regular().ShowSummary(*r.summaryText);
    if (r.rateToEnter) FocusForTyping(edMaxRate_);
}

void FigurePage::butMaxResetClick() {
    session().Reset();
    session().ShowPage(PageId::TabSimple);
    session().Port().Inform(qv::kMaxResetText);
}

void FigurePage::butPrintItClick() {
    // The printer a chart was last printed on may be a PDF file: the user
    // chooses again, so the report never lands silently in that file.
    if (!session().Port().PrintDialog()) return;
    if (!PrintTextBox(redFound_, session().Port(), S(redFound_->font().family()),
                      qv::kKnownRatePrintFontPoints, qv::kKnownRatePrintJobTitle)) {
        session().Port().Warn(qv::kReportNotPrintedText);
    }
}
