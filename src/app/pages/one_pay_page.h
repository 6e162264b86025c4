#pragma once
// tabOnePay: the APR of a loan with one advance and one repayment, per diem.
#include <cstdint>
#include <string_view>

#include "app/pages/page.h"

class OnePayPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabOnePay;
    explicit OnePayPage(Session& app);

    void ResetControls() override;

    // The regular page hands over a single payment due within a year: the
    // term in days, the amount financed and the repayment.
    void TakeOnePayment(std::int32_t days, double amtFin, double repayment);

    // Exit handlers: run when the focus leaves the box for another control
    // of the window.
    void edAmtFinOneExit();
    void edPayOneExit();
    void edDayOneExit();
    // The cross-checks of the three values.
    void UpdateOneSummary();
    // "Compute One Pay APR": the report in redShowOne.
    void butComputeOneClick();
    void butPerDiemInfoClick();

  private:
    // The report box back to its start text, asking for a computation.
    void ReportPending();
    bool CheckAmount(QLineEdit* box, const char* name, double& target);
    void Inform(std::string_view text);
    // A handler that moves the focus takes it from the control the user was
    // heading for; that control's own exit handler does not run then.
    void OnExit(QWidget* control, void (OnePayPage::*handler)());

    QLineEdit* edAmtFinOne_;
    QLineEdit* edDayOne_;
    QLineEdit* edPayOne_;
    QPlainTextEdit* redShowOne_;
};
