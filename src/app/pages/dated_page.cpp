#include "app/pages/dated_page.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/accessible.h"
#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "base/format.h"
#include "data/table_walk.h"
#include "regz/appendix_j_check.h"
#include "regz/regz_input.h"
#include "schedule/schedule_file.h"

namespace {

namespace rz = qv::regz;

constexpr int kMonthStep = static_cast<int>(rz::UnitPeriod::Month);
// The listing shows as many payments as a program schedule holds; a longer
// loan is summed up in one line after them.
constexpr std::size_t kListedFlows = 500;

const QStringList kStartText{
    QStringLiteral("Enter the advance and the payments by their dates,"),
    QStringLiteral("then click [Compute APR]: the unit period, each payment's whole unit periods"),
    QStringLiteral("(t) and fraction (f) and the rates are shown here.")};

QDate ToQDate(const rz::Date& d) {
    return {static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
            static_cast<int>(static_cast<unsigned>(d.day()))};
}

rz::Date FromQDate(const QDate& d) {
    return rz::Date{std::chrono::year(d.year()),
                    std::chrono::month(static_cast<unsigned>(d.month())),
                    std::chrono::day(static_cast<unsigned>(d.day()))};
}

QString IsoText(const QDate& d) {
    return d.toString(Qt::ISODate);
}

QString AmountBoxText(double amount) {
    std::string text = qv::FloatToStrF(amount, qv::FloatStyle::Fixed, 15, 2);
    return Q(text);
}

// f as the regulation counts it: odd days over the days of a unit period
// when they are whole days ("19/30"), else the fraction itself.
std::string FractionText(double fraction, rz::UnitPeriod unit) {
    if (fraction == 0.0) return "0";
    const int per = rz::Describe(unit).daysPerUnit;
    const double days = fraction * per;
    if (std::fabs(days - std::round(days)) < 1e-6) {
        return std::to_string(static_cast<long long>(std::round(days))) + "/" + std::to_string(per);
    }
    return qv::FloatToStrF(fraction, qv::FloatStyle::Fixed, 15, 6);
}

std::vector<qv::PayGroup> GroupsIn(qv::TMemDataSet& paySet) {
    std::vector<qv::PayGroup> groups;
    qv::TableWalk walk(paySet);
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext())
        groups.push_back(qv::ReadPayGroup(paySet));
    return groups;
}

}  // namespace

// --- DateBox --------------------------------------------------------------------

namespace {

const QRegularExpression& IsoPattern() {
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return pattern;
}

}  // namespace

DateBox::DateBox(QWidget* parent) : QDateEdit(parent) {
    // Two-digit years are ambiguous on loan documents spanning centuries.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) format.replace(QLatin1String("yy"), "yyyy");
    setDisplayFormat(format);
    setDateRange(QDate(rz::kFirstYear, 1, 1), QDate(rz::kLastYear, 12, 31));
    setCalendarPopup(true);
    setDate(QDate::currentDate());
    setToolTip(QStringLiteral("Type the date as %1 or as YYYY-MM-DD, or pick it from the calendar")
                   .arg(format));
}

std::optional<QDate> DateBox::TypedDate() const {
    const QString text = lineEdit()->text().trimmed();
    if (IsoPattern().match(text).hasMatch()) {
        const QDate iso = QDate::fromString(text, Qt::ISODate);
        if (iso.isValid() && iso >= minimumDate() && iso <= maximumDate()) return iso;
        return std::nullopt;
    }
    const QDate local = QDate::fromString(text, displayFormat());
    if (local.isValid() && local >= minimumDate() && local <= maximumDate()) return local;
    return std::nullopt;
}

QValidator::State DateBox::validate(QString& input, int& /*pos*/) const {
    // Anything may be typed on the way to a date; leaving the box says
    // whether it is one.
    const QString text = input.trimmed();
    if (IsoPattern().match(text).hasMatch()) {
        return QDate::fromString(text, Qt::ISODate).isValid() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
    }
    return QDate::fromString(text, displayFormat()).isValid() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
}

QDateTime DateBox::dateTimeFromText(const QString& text) const {
    const QString trimmed = text.trimmed();
    if (IsoPattern().match(trimmed).hasMatch()) {
        const QDate iso = QDate::fromString(trimmed, Qt::ISODate);
        if (iso.isValid()) return QDateTime(iso, QTime(0, 0));
    }
    return QDateEdit::dateTimeFromText(text);
}

void DateBox::fixup(QString& /*input*/) const {
    // A text that is no date stays as typed: the page names it and puts the
    // focus back rather than turning it silently into another date.
}

void DateBox::Name(const QString& name) {
    // A screen reader meets the text box inside as well as the box.
    NameControl(this, name);
    NameControl(lineEdit(), name);
}

void DateBox::focusInEvent(QFocusEvent* event) {
    QDateEdit::focusInEvent(event);
    // After the click that brought the focus has placed its cursor.
    QTimer::singleShot(0, this, [this] { lineEdit()->selectAll(); });
}

void DateBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        lineEdit()->selectAll();
        return;
    }
    // With the whole date selected a typed character starts a new date; the
    // section editing would put it into the day alone.
    if (lineEdit()->selectedText() == lineEdit()->text() && !event->text().isEmpty() &&
        event->text().front().isPrint()) {
        lineEdit()->setText(event->text());
        return;
    }
    QDateEdit::keyPressEvent(event);
}

// --- DatedPage ------------------------------------------------------------------

DatedPage::DatedPage(Session& app) : Page(app, kId) {
    Line(Heading(QStringLiteral("APR of a Loan by its Dates")));

    advances_ = new QTableWidget(0, 2, this);
    advances_->setObjectName(QStringLiteral("grdAdvances"));
    advances_->setHorizontalHeaderLabels(
        {QStringLiteral("Advance date"), QStringLiteral("Amount")});
    payments_ = new QTableWidget(0, 4, this);
    payments_->setObjectName(QStringLiteral("grdPayments"));
    payments_->setHorizontalHeaderLabels({QStringLiteral("Payments"), QStringLiteral("Amount"),
                                          QStringLiteral("First date"), QStringLiteral("Step")});
    for (QTableWidget* table : {advances_, payments_}) {
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 10);
        // The columns share the table's width, so no column hides behind a
        // scroll bar at the window's start size.
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setMinimumHeight(table->fontMetrics().height() * 4);
        // Tab goes from box to box of the rows (ChainTabOrder), not from cell
        // to cell of a table whose cells are those boxes.
        table->setTabKeyNavigation(false);
        table->setFocusPolicy(Qt::NoFocus);
    }
    NameControl(advances_, QStringLiteral("Advances"));
    NameControl(payments_, QStringLiteral("Payments"));
    auto* tables = new QWidget(this);
    auto* side = new QHBoxLayout(tables);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(advances_, 2);
    side->addWidget(payments_, 3);
    Column()->addWidget(tables, 1);

    butAddAdvance_ = Button("butAddAdvance", QStringLiteral("Add Advance"),
                            QStringLiteral("Another draw of the loan, with its date"));
    auto* butAddPayments =
        Button("butAddPayments", QStringLiteral("Add Payments"),
               QStringLiteral("A row of payments: one on a date, or a count of equal payments "
                              "a step apart"));
    auto* butRemoveRow = Button("butRemoveRow", QStringLiteral("Remove Row"),
                                QStringLiteral("Removes the selected advance or payment row"));
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("cbxUnitPeriod"));
    unit_->addItem(QStringLiteral("chosen from the dates"));
    for (const rz::UnitPeriodInfo& info : rz::kUnitPeriods) unit_->addItem(Q(info.name));
    QLabel* unitLabel = Label(QStringLiteral("Unit period:"));
    TieLabel(unitLabel, unit_);
    Row({butAddAdvance_, butAddPayments, butRemoveRow, unitLabel, unit_});

    auto* butCompute = Button("butComputeDated", QStringLiteral("Compute APR"));
    auto* butSave = Button("butSaveDated", QStringLiteral("Save Loan"));
    auto* butLoad = Button("butLoadDated", QStringLiteral("Load Loan"));
    Row({butCompute, butSave, butLoad});

    result_ = Memo("redDated", kStartText, true);
    result_->setReadOnly(true);
    // The listing's lines are short; a long reason wraps rather than hide.
    result_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    result_->setMinimumHeight(result_->fontMetrics().height() * 4);
    NameControl(result_, QStringLiteral("Dated loan report"));
    Column()->addWidget(result_, 2);

    edDisclosedApr_ = Box("edDisclosedApr", QString(),
                          QStringLiteral("The APR the disclosure states, in percent"), 7);
    QLabel* aprLabel = Label(QStringLiteral("Disclosed APR %"));
    TieLabel(aprLabel, edDisclosedApr_);
    edDisclosedCharge_ =
        Box("edDisclosedCharge", QString(),
            QStringLiteral("Optional: the finance charge the disclosure states"), 10);
    QLabel* chargeLabel = Label(QStringLiteral("Finance charge $ (optional)"));
    TieLabel(chargeLabel, edDisclosedCharge_);
    auto* butCheck = Button("butCheckDated", QStringLiteral("Check Disclosure"),
                            QStringLiteral("Judges the disclosure against this loan's exact rate"));
    auto* butCheckLast =
        Button("butCheckLast", QStringLiteral("Check Last APR Schedule"),
               QStringLiteral("Judges the disclosure against the schedule last computed on "
                              "Tab 2, 3 or 5"));
    Row({aprLabel, edDisclosedApr_, chargeLabel, edDisclosedCharge_});
    Row({butCheck, butCheckLast});
    labVerdict_ = Label(QString(), "labVerdict");
    labVerdict_->setWordWrap(true);
    Line(labVerdict_);

    controlsAfterRows_ = {
        butAddAdvance_, butAddPayments, butRemoveRow, unit_,           butCompute,
        butSave,        butLoad,        result_,      edDisclosedApr_, edDisclosedCharge_,
        butCheck,       butCheckLast};
    connect(butAddAdvance_, &QPushButton::clicked, this, &DatedPage::butAddAdvanceClick);
    connect(butAddPayments, &QPushButton::clicked, this, &DatedPage::butAddPaymentsClick);
    connect(butRemoveRow, &QPushButton::clicked, this, &DatedPage::butRemoveRowClick);
    connect(butCompute, &QPushButton::clicked, this, &DatedPage::butComputeDatedClick);
    connect(butSave, &QPushButton::clicked, this, &DatedPage::butSaveDatedClick);
    connect(butLoad, &QPushButton::clicked, this, &DatedPage::butLoadDatedClick);
    connect(butCheck, &QPushButton::clicked, this, &DatedPage::butCheckDatedClick);
    connect(butCheckLast, &QPushButton::clicked, this, &DatedPage::butCheckLastClick);
    connect(unit_, &QComboBox::currentIndexChanged, this, &DatedPage::ScheduleChanged);
    for (QLineEdit* box : {edDisclosedApr_, edDisclosedCharge_})
        connect(box, &QLineEdit::textEdited, this, &DatedPage::DisclosureChanged);

    ResetControls();
}

void DatedPage::ResetControls() {
    advances_->setRowCount(0);
    payments_->setRowCount(0);
    const QDate today = QDate::currentDate();
    AddAdvanceRow(today, QStringLiteral("0.00"));
    AddPaymentRow(QStringLiteral("12"), QStringLiteral("0.00"), today.addMonths(1), kMonthStep);
    unit_->setCurrentIndex(0);
    edDisclosedApr_->clear();
    edDisclosedCharge_->clear();
    handedOver_.clear();
    ScheduleChanged();
}

// --- rows -----------------------------------------------------------------------

void DatedPage::ChainTabOrder() {
    std::vector<QWidget*> chain;
    for (QTableWidget* table : {advances_, payments_}) {
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column)
                chain.push_back(table->cellWidget(row, column));
        }
    }
    // Every control after the rows, so that the first box of the rows is
    // also the first control of the page.
    chain.insert(chain.end(), controlsAfterRows_.begin(), controlsAfterRows_.end());
    for (std::size_t k = 0; k + 1 < chain.size(); ++k) setTabOrder(chain[k], chain[k + 1]);
}

void DatedPage::WatchForChanges(QWidget* input) {
    Focus().OnEnter(input, [this, input] { lastCell_ = input; });
    if (auto* date = qobject_cast<DateBox*>(input)) {
        connect(date, &QDateEdit::dateChanged, this, &DatedPage::ScheduleChanged);
        connect(date->findChild<QLineEdit*>(), &QLineEdit::textEdited, this,
                &DatedPage::ScheduleChanged);
        Focus().OnExit(date, [this, date] { DateBoxLeft(date); });
    } else if (auto* box = qobject_cast<QLineEdit*>(input)) {
        connect(box, &QLineEdit::textEdited, this, &DatedPage::ScheduleChanged);
    } else if (auto* combo = qobject_cast<QComboBox*>(input)) {
        connect(combo, &QComboBox::currentIndexChanged, this, &DatedPage::ScheduleChanged);
    }
}

void DatedPage::AddAdvanceRow(const QDate& date, const QString& amount) {
    const int row = advances_->rowCount();
    advances_->insertRow(row);
    auto* dateBox = new DateBox;
    dateBox->setDate(date);
    auto* amountBox = new QLineEdit(amount);
    dateBox->Name(QStringLiteral("Advance %1 date").arg(row + 1));
    NameControl(amountBox, QStringLiteral("Advance %1 amount").arg(row + 1));
    advances_->setCellWidget(row, 0, dateBox);
    advances_->setCellWidget(row, 1, amountBox);
    WatchForChanges(dateBox);
    WatchForChanges(amountBox);
    ChainTabOrder();
}

void DatedPage::AddPaymentRow(const QString& count, const QString& amount, const QDate& first,
                              int stepIndex) {
    const int row = payments_->rowCount();
    payments_->insertRow(row);
    auto* countBox = new QLineEdit(count);
    auto* amountBox = new QLineEdit(amount);
    auto* dateBox = new DateBox;
    dateBox->setDate(first);
    auto* step = new QComboBox;
    for (const rz::UnitPeriodInfo& info : rz::kUnitPeriods) step->addItem(Q(info.name));
    step->setCurrentIndex(stepIndex);
    NameControl(countBox, QStringLiteral("Row %1 number of payments").arg(row + 1));
    NameControl(amountBox, QStringLiteral("Row %1 payment amount").arg(row + 1));
    dateBox->Name(QStringLiteral("Row %1 first payment date").arg(row + 1));
    NameControl(step, QStringLiteral("Row %1 step between payments").arg(row + 1));
    payments_->setCellWidget(row, 0, countBox);
    payments_->setCellWidget(row, 1, amountBox);
    payments_->setCellWidget(row, 2, dateBox);
    payments_->setCellWidget(row, 3, step);
    for (QWidget* w : {static_cast<QWidget*>(countBox), static_cast<QWidget*>(amountBox),
                       static_cast<QWidget*>(dateBox), static_cast<QWidget*>(step)})
        WatchForChanges(w);
    ChainTabOrder();
}

DateBox* DatedPage::DateIn(QTableWidget* table, int row) const {
    return qobject_cast<DateBox*>(table->cellWidget(row, table == advances_ ? 0 : 2));
}

QLineEdit* DatedPage::BoxIn(QTableWidget* table, int row, int column) const {
    return qobject_cast<QLineEdit*>(table->cellWidget(row, column));
}

void DatedPage::butAddAdvanceClick() {
    const int last = advances_->rowCount() - 1;
    const QDate next =
        last >= 0 ? DateIn(advances_, last)->date().addMonths(1) : QDate::currentDate();
    AddAdvanceRow(next, QStringLiteral("0.00"));
    ScheduleChanged();
    FocusForTyping(DateIn(advances_, advances_->rowCount() - 1));
}

void DatedPage::butAddPaymentsClick() {
    const int last = payments_->rowCount() - 1;
    QDate next = QDate::currentDate().addMonths(1);
    if (last >= 0) next = DateIn(payments_, last)->date().addMonths(1);
    AddPaymentRow(QStringLiteral("1"), QStringLiteral("0.00"), next, kMonthStep);
    ScheduleChanged();
    FocusForTyping(BoxIn(payments_, payments_->rowCount() - 1, 0));
}

void DatedPage::butRemoveRowClick() {
    // The row of the box last worked in; a loan keeps at least one advance.
    for (QTableWidget* table : {advances_, payments_}) {
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column) {
                if (lastCell_ == nullptr || table->cellWidget(row, column) != lastCell_) continue;
                if (table == advances_ && table->rowCount() == 1) {
                    session().Port().Inform("A loan keeps at least one advance.");
                    return;
                }
                table->removeRow(row);
                lastCell_ = nullptr;
                ScheduleChanged();
                return;
            }
        }
    }
    session().Port().Inform("Click into the row to remove first.");
}

// --- leaving a date -------------------------------------------------------------

void DatedPage::Refuse(QWidget* at, const std::string& text) {
    session().Port().Warn(text);
    FocusForTyping(at);
}

void DatedPage::DateBoxLeft(DateBox* box) {
    const std::optional<QDate> typed = box->TypedDate();
    if (!typed) {
        const QString text = box->findChild<QLineEdit*>()->text().trimmed();
        Refuse(box, "\"" + S(text) + "\" is not a date that exists. Type it as " +
                        S(box->displayFormat()) + " or as YYYY-MM-DD (from " +
                        std::to_string(rz::kFirstYear) + " to " + std::to_string(rz::kLastYear) +
                        ").");
        return;
    }
    box->setDate(*typed);
    bool isAdvance = false;
    QDate firstAdvance = DateIn(advances_, 0)->date();
    for (int row = 0; row < advances_->rowCount(); ++row) {
        isAdvance |= DateIn(advances_, row) == box;
        firstAdvance = std::min(firstAdvance, DateIn(advances_, row)->date());
    }
    if (isAdvance) {
        for (int row = 0; row < advances_->rowCount(); ++row) {
            if (DateIn(advances_, row) != box && DateIn(advances_, row)->date() == *typed) {
                Refuse(box, "Two advances are dated " + S(IsoText(*typed)) +
                                ": enter one advance of their sum.");
                return;
            }
        }
    } else if (*typed < firstAdvance) {
        Refuse(box, "The payment on " + S(IsoText(*typed)) +
                        " falls before the first advance, on " + S(IsoText(firstAdvance)) + ".");
    }
}

// --- the loan -------------------------------------------------------------------

std::optional<rz::DatedLoan> DatedPage::ReadLoan() {
    rz::DatedLoan loan;
    if (unit_->currentIndex() > 0)
        loan.unit = rz::kUnitPeriods[std::size_t(unit_->currentIndex() - 1)].unit;
    for (int row = 0; row < advances_->rowCount(); ++row) {
        DateBox* date = DateIn(advances_, row);
        const std::optional<QDate> d = date->TypedDate();
        if (!d) {
            DateBoxLeft(date);
            return std::nullopt;
        }
        const rz::AmountParse amount = rz::ParseAmount(S(BoxIn(advances_, row, 1)->text()));
        if (!amount.amount) {
            Refuse(BoxIn(advances_, row, 1),
                   "Advance " + std::to_string(row + 1) + ": " + amount.error + ".");
            return std::nullopt;
        }
        loan.advances.push_back({FromQDate(*d), *amount.amount});
    }
    for (int row = 0; row < payments_->rowCount(); ++row) {
        const std::string where = "Payment row " + std::to_string(row + 1) + ": ";
        QLineEdit* countBox = BoxIn(payments_, row, 0);
        bool counted = false;
        const qlonglong count = countBox->text().trimmed().toLongLong(&counted);
        if (!counted || count < 1 || count > rz::kMaxLoanFlows) {
            Refuse(countBox, where + "the number of payments is a whole number from 1 to " +
                                 std::to_string(rz::kMaxLoanFlows) + ".");
            return std::nullopt;
        }
        const rz::AmountParse amount = rz::ParseAmount(S(BoxIn(payments_, row, 1)->text()));
        if (!amount.amount) {
            Refuse(BoxIn(payments_, row, 1), where + amount.error + ".");
            return std::nullopt;
        }
        DateBox* date = DateIn(payments_, row);
        const std::optional<QDate> first = date->TypedDate();
        if (!first) {
            DateBoxLeft(date);
            return std::nullopt;
        }
        auto* step = qobject_cast<QComboBox*>(payments_->cellWidget(row, 3));
        const rz::UnitPeriod unit = rz::kUnitPeriods[std::size_t(step->currentIndex())].unit;
        const std::vector<rz::Date> dates = rz::StepDates(FromQDate(*first), count, unit);
        if (static_cast<qlonglong>(dates.size()) != count) {
            Refuse(countBox,
                   where + "the payments run past " + std::to_string(rz::kLastYear) + ".");
            return std::nullopt;
        }
        if (static_cast<std::int64_t>(loan.payments.size()) + count > rz::kMaxLoanFlows) {
            Refuse(countBox,
                   "The loan has more than " + std::to_string(rz::kMaxLoanFlows) + " payments.");
            return std::nullopt;
        }
        for (const rz::Date& d : dates) loan.payments.push_back({d, *amount.amount});
    }
    return loan;
}

void DatedPage::ShowLoan(const rz::DatedLoan& loan) {
    advances_->setRowCount(0);
    payments_->setRowCount(0);
    for (const rz::DatedAmount& a : loan.advances)
        AddAdvanceRow(ToQDate(a.date), AmountBoxText(a.amount));
    // Payments of one amount a month (or another step) apart come back as
    // the group they were entered as.
    std::vector<rz::DatedAmount> payments = loan.payments;
    std::stable_sort(payments.begin(), payments.end(), [](const auto& a, const auto& b) {
        return std::chrono::sys_days(a.date) < std::chrono::sys_days(b.date);
    });
    for (std::size_t k = 0; k < payments.size();) {
        std::size_t best = 1;
        int bestStep = kMonthStep;
        for (const rz::UnitPeriodInfo& info : rz::kUnitPeriods) {
            std::size_t n = 1;
            while (k + n < payments.size() && payments[k + n].amount == payments[k].amount) ++n;
            const std::vector<rz::Date> stepped =
                rz::StepDates(payments[k].date, static_cast<std::int64_t>(n), info.unit);
            std::size_t run = 1;
            while (run < stepped.size() && stepped[run] == payments[k + run].date) ++run;
            if (run > best) {
                best = run;
                bestStep = static_cast<int>(info.unit);
            }
        }
        AddPaymentRow(QString::number(best), AmountBoxText(payments[k].amount),
                      ToQDate(payments[k].date), bestStep);
        k += best;
    }
    unit_->setCurrentIndex(loan.unit ? static_cast<int>(*loan.unit) + 1 : 0);
    ScheduleChanged();
}

// --- results --------------------------------------------------------------------

void DatedPage::ShowResult(const QStringList& lines) {
    result_->setPlainText(lines.join(QLatin1Char('\n')));
}

void DatedPage::ScheduleChanged() {
    computed_.reset();
    scheduleLines_.clear();
    ShowResult(kStartText);
    DisclosureChanged();
}

void DatedPage::DisclosureChanged() {
    labVerdict_->clear();
    if (!scheduleLines_.isEmpty()) ShowResult(scheduleLines_);
}

void DatedPage::butComputeDatedClick() {
    const std::optional<rz::DatedLoan> loan = ReadLoan();
    if (!loan) return;
    PlatformPort& port = session().Port();
    if (const auto problem = rz::DatedLoanProblem(*loan)) {
        port.Warn("Error: " + *problem + ".");
        return;
    }
    const rz::TimedLoan timed = *rz::TimeDatedLoan(*loan).loan;
    const rz::AppendixJRate rate = rz::SolveTimedLoan(timed);
    const rz::ProgramFit fit = rz::FitProgramIntervals(timed);

    std::optional<double> programApr;
    QStringList lines;
    lines << Q("Unit period: " + timed.basis + " (" +
               qv::FloatToStrF(timed.perYear, qv::FloatStyle::General, 6, 0) + " a year)");
    if (rate.found) {
        lines << Q("Appendix J rate: " + rz::FourDecimalRate(rate.apr) + " % (" +
                   qv::FloatToStrF(rate.apr, qv::FloatStyle::Fixed, 15, 2) + " % to two decimals)");
    } else {
        lines << Q("No Appendix J rate: " + rate.message + ".");
    }
    if (fit.schedule) {
        const rz::ProgramSchedule& s = *fit.schedule;
        qv::TMemDataSet& paySet = session().Schedule().PaySet();
        const bool othersGroups = !qv::NothingToSave(paySet) && GroupsIn(paySet) != handedOver_;
        if (!othersGroups || port.Confirm("Replace the payment groups on Tab 3 with this loan's "
                                          "payments, to compute the program's APR?")) {
            const qv::ScheduleLoad load =
                qv::LoadSchedule(session().State().loan, session().State().regular, paySet,
                                 {s.interval, s.amountFinanced}, s.groups, "the dated loan");
            for (const qv::RecordedMessage& m : load.messages) port.Show(m.kind, m.text);
            if (load.loaded) {
                handedOver_ = s.groups;
                session().Schedule().ShowLoaded(load);
                const std::optional<qv::AprOutcome> outcome = session().Schedule().Estimate();
                if (outcome == qv::AprOutcome::Computed) programApr = session().State().loan.APR;
            }
        }
        lines << (programApr ? Q("Program's APR: " +
                                 qv::FloatToStrF(*programApr, qv::FloatStyle::Fixed, 15, 3) +
                                 " % (its schedule is on Tab 3; chart it on Tab 4)")
                             : QStringLiteral("Program's APR: not computed"));
    } else {
        lines << Q("The program's intervals cannot take this loan: " + fit.reason +
                   ". Only the Appendix J rate applies.");
    }
    const qv::TransactionShape shape = rz::ClassifyTimedLoan(timed);
    lines << Q(std::string("Transaction: ") +
               (shape.kind == qv::TransactionKind::Regular ? "regular" : "irregular") + " (" +
               shape.reason + ")");
    lines << QString() << QStringLiteral("         Date              Amount        t  f");
    std::vector<rz::DatedAmount> advances = loan->advances;
    std::vector<rz::DatedAmount> payments = loan->payments;
    const auto byDate = [](const auto& a, const auto& b) {
        return std::chrono::sys_days(a.date) < std::chrono::sys_days(b.date);
    };
    std::stable_sort(advances.begin(), advances.end(), byDate);
    std::stable_sort(payments.begin(), payments.end(), byDate);
    std::size_t nextAdvance = 0;
    std::size_t nextPayment = 0;
    for (std::size_t k = 0; k < timed.flows.size() && k < kListedFlows; ++k) {
        const rz::Flow& flow = timed.flows[k];
        const bool advance = flow.kind == rz::FlowKind::Advance;
        const std::size_t n = advance ? nextAdvance++ : nextPayment++;
        const rz::DatedAmount& item = advance ? advances[n] : payments[n];
        std::string line = (advance ? "Adv " : "Pay ") + std::to_string(n + 1);
        line.resize(9, ' ');
        line += rz::FormatIsoDate(item.date);
        std::string amount = qv::CurrencyText(item.amount);
        line += std::string(amount.size() < 14 ? 14 - amount.size() : 1, ' ') + amount;
        std::string t = std::to_string(flow.periods);
        line += std::string(t.size() < 9 ? 9 - t.size() : 1, ' ') + t + "  " +
                FractionText(flow.fraction, timed.unit);
        lines << Q(line);
    }
    if (timed.flows.size() > kListedFlows) {
        lines << QStringLiteral("... and %1 more").arg(timed.flows.size() - kListedFlows);
    }
    scheduleLines_ = lines;
    ShowResult(lines);
    const rz::CheckedScheduleResult checked = rz::ScheduleOfTimedLoan(timed, programApr);
    computed_ = checked.schedule;
    if (!checked.schedule) port.Warn("Error: " + checked.error + ".");
    labVerdict_->clear();
}

// --- files ----------------------------------------------------------------------

void DatedPage::butSaveDatedClick() {
    const std::optional<rz::DatedLoan> loan = ReadLoan();
    if (!loan) return;
    PlatformPort& port = session().Port();
    const std::optional<std::string> file = saveDialog_.Execute(port, "Save the loan by its dates");
    if (!file) return;
    const std::filesystem::path path = std::filesystem::u8path(*file);
    qv::SaveAsked(path, "OK, the loan is not saved", port,
                  [&] { return rz::SaveDatedLoanFile(path, *loan); });
}

void DatedPage::butLoadDatedClick() {
    PlatformPort& port = session().Port();
    const std::optional<std::string> file = openDialog_.Execute(port, "Load a loan by its dates");
    if (!file) return;
    // The page keeps the loan it shows until the file has been read whole.
    const rz::DatedLoanRead read = rz::LoadDatedLoanFile(std::filesystem::u8path(*file));
    if (!read.loan) {
        port.Warn("Cannot load \"" + *file + "\": " + read.error +
                  ".\n\rThe loan on the page is unchanged.");
        return;
    }
    ShowLoan(*read.loan);
}

// --- the disclosure check -------------------------------------------------------

std::optional<rz::DisclosedTerms> DatedPage::ReadDisclosed() {
    rz::DisclosedTerms terms;
    PlatformPort& port = session().Port();
    if (!TakeEntry(edDisclosedApr_, qv::ValidateFloat2("Disclosed APR", TextOf(edDisclosedApr_)),
                   terms.apr, port)) {
        return std::nullopt;
    }
    if (!edDisclosedCharge_->text().trimmed().isEmpty()) {
        double charge = 0.0;
        const qv::Float2Check check =
            qv::ValidateFloat2("Disclosed finance charge", TextOf(edDisclosedCharge_));
        if (!TakeEntry(edDisclosedCharge_, check, charge, port)) return std::nullopt;
        terms.financeCharge = qv::DollarsToCurrency(charge);
    }
    return terms;
}

void DatedPage::Check(const rz::CheckedSchedule& schedule) {
    const std::optional<rz::DisclosedTerms> disclosed = ReadDisclosed();
    if (!disclosed) return;
    const rz::DisclosureCheck check = rz::CheckDisclosure(schedule, *disclosed);
    const std::vector<std::string> report = rz::DisclosureReportLines(check);
    // The verdict first, where the user looks; the loan's listing below it.
    QStringList lines;
    for (const std::string& line : report) lines << Q(line);
    if (!scheduleLines_.isEmpty()) lines << QString() << scheduleLines_;
    ShowResult(lines);
    labVerdict_->setText(Q(rz::VerdictWords(check)));
    switch (rz::ToneOf(check)) {
        case rz::VerdictTone::Accurate:
            SetTextTone(labVerdict_, TextTone::Good, true);
            break;
        case rz::VerdictTone::NearBoundary:
            SetTextTone(labVerdict_, TextTone::Caution, true);
            break;
        case rz::VerdictTone::NotAccurate:
        case rz::VerdictTone::NoVerdict:
            SetTextTone(labVerdict_, TextTone::Warning, true);
            break;
    }
    AnnounceResult(labVerdict_, labVerdict_->text());
    // The verdict is part of the record an analyst prints and files: it goes
    // under the chart text, once.
    qv::ChartText chart = session().Chart().Lines();
    // An earlier verdict is replaced, not repeated; whatever followed it (a
    // chart appended since) stays.
    const auto header = std::find(chart.begin(), chart.end(), report.front());
    if (header != chart.end()) {
        auto end = std::find_if(header, chart.end(), [&](const std::string& line) {
            return line.starts_with("Verdict:");
        });
        if (end != chart.end()) ++end;
        const auto begin =
            header != chart.begin() && std::prev(header)->empty() ? std::prev(header) : header;
        chart.erase(begin, end);
    }
    while (!chart.empty() && chart.back().empty()) chart.pop_back();
    if (!chart.empty()) chart.emplace_back();
    chart.insert(chart.end(), report.begin(), report.end());
    session().Chart().SetLines(chart);
}

void DatedPage::butCheckDatedClick() {
    if (!computed_) {
        session().Port().Inform("Compute the loan's APR first, then check its disclosure.");
        return;
    }
    Check(*computed_);
}

void DatedPage::butCheckLastClick() {
    const qv::ComputedSchedule* last = session().Schedule().LastComputed();
    if (!last) {
        session().Port().Inform("No APR has been computed on Tab 2, 3 or 5 yet.");
        return;
    }
    const rz::CheckedScheduleResult schedule =
        rz::ScheduleOfGroups(last->loan.AmtFin, last->groups, last->loan.DaysPerPd, last->loan.APR);
    if (!schedule.schedule) {
        session().Port().Warn("Error: " + schedule.error + ".");
        return;
    }
    scheduleLines_.clear();
    Check(*schedule.schedule);
}
