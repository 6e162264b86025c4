#pragma once
// "3:Irreg.Pay" (tabEstimate): the APR of any schedule, entered as groups of
// identical payments.
#include <cstdint>
#include <optional>

#include "app/apr_box.h"
#include "app/pages/page.h"
#include "core/apr_engine.h"
#include "schedule/schedule_file.h"

class QGridLayout;

class IrregularPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEstimate;
    explicit IrregularPage(Session& app);

    void ResetControls() override;
    void Enter() override { tabEstimateEnter(); }
    // Stores a pending group and says whether the grid can be edited.
    void tabEstimateEnter();

    void edAmtFinExit();
    void edTotPayExit();
    void edPayCountExit();
    void edSizeGroupExit();
    void edGroupPayExit();
    void edGroupPdsExit();
    void edGroupExtraExit();

    // "Add Group".
    void butDoneClick();
    // "Estimate APR"; the chart page and the schedule loader run it too.
    // Empty when the schedule's own checks stopped it before the engine ran.
    std::optional<qv::AprOutcome> butEstAPRClick();
    void butTolerancesClick();
    // "Print Amortization": chart on the chart page, then print or review.
    void butPrintIrregClick();
    void butPayResetClick();

    // Recounts the groups of mdsPaySet into GroupPayCount and GroupPayTotal
    // and shows the summary; false (after showing the table's refusal) when
    // a pending group cannot be stored.
    bool UpdateSummary();
    // Writes the summary label.
    void UpdateGroupSum(std::int64_t count, double total);
    // Either payment grid lost the focus: the summary is recounted and the
    // APR shown is no longer current.
    void dbgPaySetExit();

    // The group grid; read-only until a group is added or a schedule loaded.
    QTableView* dbgPaySet() const { return dbgPaySet_; }
    bool GridEditable() const;
    void MakeGridEditable();

    // The total-of-payments box, where the redirect of a loaded irregular
    // schedule puts the focus.
    QLineEdit* TotalOfPaymentsBox() const { return edTotPay_; }
    bool AprShowsInputError() const { return apr_.ShowsInputError(); }

    // --- what other pages change here (the window connects them) ----------
    // The interval chosen on the regular page, shown here too.
    void ShowBaseInterval(int item);
    int BaseIntervalItem() const;
    // The loan's count and total as a schedule test or a load took them.
    void ShowTotals(const QString& totPay, const QString& payCount);
    void ShowAmountFinanced(const QString& amtFin);
    // A loaded schedule's amount financed, total and count.
    void ShowLoadedSchedule(const qv::ScheduleLoad& load);
    // A failed APR computation on either page.
    void ShowAprInputError() { apr_.SetInputError(); }
    // A later run succeeded: "InputError" gives way to "Pending".
    void ClearAprInputError() {
        if (apr_.ShowsInputError()) apr_.SetPending();
    }
    // The settings page switched this page's balloon hints.
    void SwitchPageHints(bool on);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The APR box back to "Pending": the schedule it was estimated for has
    // changed.
    void AprPending();
    // The amount financed, total and count the estimate works with are the
    // loan's, which the regular page sets too: the boxes show them as they
    // stand. A box already showing its value keeps the text as typed.
    void ShowLoanAmounts();

    std::int64_t shownCount_ = 0;  // what the summary label shows
    double shownTotal_ = 0.0;
    RadioGroup* rgpBasePd_;
    QLineEdit* edAmtFin_;
    QLineEdit* edTotPay_;
    QLineEdit* edPayCount_;
    QLabel* labGroupCount_;
    QLineEdit* edSizeGroup_;
    QLineEdit* edGroupPay_;
    QLineEdit* edGroupPds_;
    QLineEdit* edGroupExtra_;
    QLabel* labEstimate15_;
    QLabel* labEstimate17_;
    QLineEdit* edAPR_;
    AprBox apr_{nullptr};
    QTableView* dbgPaySet_;
    QPushButton* butEstAPR_;
    QLabel* labEstimate16_;
};
