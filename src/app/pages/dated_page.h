#pragma once
// tabDated: a loan entered by its dates (advances, payments or groups of
// payments stepped by a unit period), its exact rate, and the check of a
// disclosed APR and finance charge against it.
#include <QDateEdit>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "app/kept_file_dialog.h"
#include "app/pages/page.h"
#include "regz/dated_loan.h"
#include "regz/disclosure_check.h"

class QComboBox;
class QTableWidget;

// A date box that shows the user's short date format with the full year and
// also takes a date typed as YYYY-MM-DD. Text that is no date is kept as
// typed, so leaving the box can say what is wrong with it.
class DateBox : public QDateEdit {
    Q_OBJECT
  public:
    explicit DateBox(QWidget* parent = nullptr);
    // The date typed, when the text is one (in either form).
    std::optional<QDate> TypedDate() const;
    // The accessible name of the box and of the text box inside it.
    void Name(const QString& name);

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void fixup(QString& input) const override;
    // A date is typed whole, as on the documents, not section by section.
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class DatedPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabDated;
    explicit DatedPage(Session& app);

    void ResetControls() override;

    // The loan on the page, as its rows read; empty (and the user told, the
    // focus on the box at fault) when a row cannot be read.
    std::optional<qv::regz::DatedLoan> ReadLoan();
    void ShowLoan(const qv::regz::DatedLoan& loan);

    void butAddAdvanceClick();
    void butAddPaymentsClick();
    void butRemoveRowClick();
    void butComputeDatedClick();
    void butSaveDatedClick();
    void butLoadDatedClick();
    void butCheckDatedClick();
    void butCheckLastClick();

  private:
    void AddAdvanceRow(const QDate& date, const QString& amount);
    void AddPaymentRow(const QString& count, const QString& amount, const QDate& first,
                       int stepIndex);
    DateBox* DateIn(QTableWidget* table, int row) const;
    QLineEdit* BoxIn(QTableWidget* table, int row, int column) const;
    void WatchForChanges(QWidget* input);
    void ChainTabOrder();
    void DateBoxLeft(DateBox* box);
    void Refuse(QWidget* at, const std::string& text);

    // The schedule changed: results and verdict no longer belong to it.
    void ScheduleChanged();
    // The disclosed values changed: the verdict no longer belongs to them.
    void DisclosureChanged();
    void Check(const qv::regz::CheckedSchedule& schedule);
    std::optional<qv::regz::DisclosedTerms> ReadDisclosed();
    void ShowResult(const QStringList& lines);

    QPushButton* butAddAdvance_;
    std::vector<QWidget*> controlsAfterRows_;  // in tab order
    QTableWidget* advances_;
    QTableWidget* payments_;
    QComboBox* unit_;
    QPlainTextEdit* result_;
    QLineEdit* edDisclosedApr_;
    QLineEdit* edDisclosedCharge_;
    QLabel* labVerdict_;
    QPointer<QWidget> lastCell_;  // the row box last entered, for Remove Row
    QStringList scheduleLines_;   // the computed loan's lines, shown above a verdict
    std::optional<qv::regz::CheckedSchedule> computed_;
    // The groups this page last put on the irregular page: replacing them
    // again needs no question.
    std::vector<qv::PayGroup> handedOver_;
    KeptFileDialog saveDialog_{KeptFileDialog::Kind::Save, "Loan.dated.txt", "txt"};
    KeptFileDialog openDialog_{KeptFileDialog::Kind::Open, "", "txt"};
};
