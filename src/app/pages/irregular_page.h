#pragma once
// "3:Irreg.Pay" (tabEstimate): the APR of any schedule, entered as groups of
// identical payments.
#include <cstdint>
#include <optional>

#include "app/app_settings.h"
#include "app/apr_box.h"
#include "app/pages/page.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "schedule/apr_estimate.h"
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
    // "Estimate APR" on the schedule; what it found comes back through the
    // schedule's signals.
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

    // Whether the group grid can be edited: once a group is added or a
    // schedule loaded.
    bool GridEditable() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // What the schedule publishes, shown here.
    void ShowBaseInterval(qv::Interval interval);
    void ShowTotals(const QString& totPay, const QString& payCount);
    void ShowAmountFinanced(const QString& amtFin);
    void ShowLoadedSchedule(const qv::ScheduleLoad& load);
    void ShowAprTaken(qv::AprOutcome outcome);
    void ShowEstimate(const qv::AprEstimate& estimate);
    void SwitchPageHints(Setting setting, bool on);

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
