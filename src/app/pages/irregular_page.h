#pragma once
// "3:Irreg.Pay" (tabEstimate): the APR of any schedule, entered as groups of
// identical payments.
#include <array>
#include <cstdint>
#include <optional>

#include "app/app_settings.h"
#include "app/apr_box.h"
#include "app/pages/page.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "schedule/apr_estimate.h"
#include "schedule/irregular_entry.h"
#include "schedule/schedule_file.h"

class QGridLayout;

class IrregularPage : public Page, private qv::PageBoxes<qv::IrregularBox> {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEstimate;
    explicit IrregularPage(Session& app);

    void ResetControls() override;
    void Enter() override { tabEstimateEnter(); }
    // Stores a pending group and says whether the grid can be edited.
    void tabEstimateEnter();

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

    QLineEdit* BoxOf(qv::IrregularBox box) const;
    // The page's side of the engine's decisions.
    void SetBoxText(qv::IrregularBox box, const std::string& text) override;
    void FocusBox(qv::IrregularBox box) override;
    // Carries out what leaving `box` does.
    void Leave(qv::IrregularBox box);
    // The group's boxes back to their start texts, ready for the next group.
    void ClearGroupBoxes();

    // Builders for the page's lines, from the engine's tables.
    QLineEdit* MakeBox(qv::IrregularBox box, int widthInDigits);
    QLabel* MakeLabel(qv::IrregularBox box);
    QPushButton* MakeButton(qv::IrregularButton button);

    std::int64_t shownCount_ = 0;  // what the summary label shows
    double shownTotal_ = 0.0;
    std::array<QLineEdit*, qv::kIrregularBoxes.size()> boxes_{};
    RadioGroup* rgpBasePd_;
    QLabel* labGroupCount_;
    QLabel* labEstimate15_;
    QLabel* labEstimate17_;
    QLineEdit* edAPR_;
    AprBox apr_{nullptr};
    QTableView* dbgPaySet_;
    QPushButton* butEstAPR_;
    QLabel* labEstimate16_;
};
