#pragma once
// "3:Irreg.Pay" (tabEstimate): the APR of any schedule, entered as groups of
// identical payments.
#include <cstdint>
#include <functional>

#include "app/pages/page.h"

class QGridLayout;

// Runs `handler` when the input focus leaves `grid` (or the cell editor open
// in it) for another control of `window`. Focus going to a message box,
// another window or nowhere is no exit.
void OnGridExit(QTableView* grid, const QWidget* window, std::function<void()> handler);

// Takes the focus out of `grid` without counting as leaving it: Reset empties
// the table under it, and its exit would only recount what Reset has just
// written.
void DropGridFocus(QTableView* grid);

class IrregularPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEstimate;
    explicit IrregularPage(TforMain& main);

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
    void butEstAPRClick();
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
    QLineEdit* edAmtFin() const { return edAmtFin_; }
    QLineEdit* edTotPay() const { return edTotPay_; }
    QLineEdit* edPayCount() const { return edPayCount_; }
    QLineEdit* edAPR() const { return edAPR_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The APR box back to "Pending": the schedule it was estimated for has
    // changed.
    void AprPending();

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
    QTableView* dbgPaySet_;
};
