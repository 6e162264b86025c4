#pragma once
// tabOnePay: the APR of a loan with one advance and one repayment, per diem.
#include "app/pages/page.h"

class OnePayPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabOnePay;
    explicit OnePayPage(TforMain& main);

    void ResetControls() override;

    void butPerDiemInfoClick();

  private:
    QLineEdit* edAmtFinOne_;
    QLineEdit* edDayOne_;
    QLineEdit* edPayOne_;
};
