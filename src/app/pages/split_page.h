#pragma once
// "6:Split Rates" (tabSplit): debts charged at up to four rates, each up to a
// dollar cap.
#include <array>

#include "app/pages/page.h"

class SplitPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabSplit;
    explicit SplitPage(Session& app);

    void ResetControls() override;

  private:
    RadioGroup* rgpSplitPd_;
    QLineEdit* edSplitAmtFin_;
    QLineEdit* edSplitPayCount_;
    QLineEdit* edSplitRegPay_;
    QLineEdit* edSplit1stPay_;
    QLineEdit* edSplit1stNoPd_;
    QLineEdit* edSplit1stExtra_;
    QLineEdit* edSplitlastPay_;
    QLineEdit* edSplitlastNoPd_;
    QLineEdit* edSplitlastExtra_;
    std::array<QLineEdit*, 4> edRate_{};
    std::array<QLineEdit*, 4> edCap_{};
    QLineEdit* edSplitInterest_;
    QLineEdit* edFinal_;
};
