#pragma once
// "3:Irreg.Pay" (tabEstimate): the APR of any schedule, entered as groups of
// identical payments.
#include "app/pages/page.h"

class QGridLayout;

class IrregularPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEstimate;
    explicit IrregularPage(TforMain& main);

    void ResetControls() override;

    void butTolerancesClick();
    void butPayResetClick();

    // The total-of-payments box, where the redirect of a loaded irregular
    // schedule puts the focus.
    QLineEdit* TotalOfPaymentsBox() const { return edTotPay_; }
    // The group grid; read-only until the user asks to edit it.
    QTableView* dbgPaySet() const { return dbgPaySet_; }

  protected:
  private:
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
    QLineEdit* edAPR_;
    QTableView* dbgPaySet_;
};
