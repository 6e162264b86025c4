#pragma once
// "2:Reg.Pay" (TabSimple): the APR of a regular schedule.
#include "app/pages/page.h"

class RegularPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::TabSimple;
    explicit RegularPage(TforMain& main);

    void ResetControls() override;

    void butGoTolerances2Click();
    void butMaxClick();

  private:
    QLineEdit* edSimpAmtFin_;
    QLineEdit* edSimpInnerNoPay_;
    QLineEdit* edSimpRegPay_;
    RadioGroup* rgpSimpInterval_;
    QLineEdit* edSimp1stPay_;
    QLineEdit* edSimp1stNoPd_;
    QLineEdit* edSimp1stExtra_;
    QLineEdit* edSimpLastPay_;
    QLineEdit* edSimpLastNoPd_;
    QLineEdit* edSimpLastExtra_;
    QLineEdit* edSimpAPR_;
    QLineEdit* edStatusBar_;
    QLabel* labSimpToP_;
};
