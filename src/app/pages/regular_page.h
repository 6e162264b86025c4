#pragma once
// "2:Reg.Pay" (TabSimple): the APR of a regular schedule.
#include <functional>

#include "app/pages/page.h"
#include "core/regular_schedule.h"

class RegularPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::TabSimple;
    explicit RegularPage(TforMain& main);

    void ResetControls() override;

    // Recomputes PayCount, TotPay and AmtFin from the boxes and rewrites the
    // summary label; the figure-a-schedule page calls it after filling the
    // boxes.
    void UpdateSimpleSummary();
    // Rebuilds mdsPaySet from the boxes.
    void SimplePaySet();
    // "Compute APR"; the chart page runs it again when the regular schedule
    // is the current one.
    void butSimpleAPRClick();
    void butResetSimpleClick();
    // "Print Amortization": charts the last computed schedule, then prints
    // the chart after the print dialog.
    void butChartSimpleClick();
    void butGoTolerances2Click();
    void butMaxClick();

    // Exit handlers: run when the focus leaves the control for another one
    // of the window.
    void edSimpAmtFinExit();
    void edSimpInnerNoPayExit();
    void edSimpRegPayExit();
    void rgpSimpIntervalExit();
    void edSimp1stPayExit();
    void edSimp1stNoPdExit();
    void edSimp1stExtraExit();
    void edSimpLastPayExit();
    void edSimpLastNoPdExit();
    void edSimpLastExtraExit();

  private:
    qv::RegularTexts BoxTexts() const;
    // Applies the interval group's item to the unit period and shows the
    // same item on the irregular page.
    void TakeSimpleInterval();
    // Days in the unit period the interval group shows.
    std::int32_t PageDaysPerPd() const;
    // The entry checks, carried out on a box: message, box text, target and
    // focus as the check prescribes. True when the text was valid.
    bool CheckAmount(QLineEdit* box, const char* name, double& target);
    bool CheckWhole(QLineEdit* box, const char* name, std::int32_t& target);
    void Inform(std::string_view text);
    // The APR box back to its start text: the schedule it was computed for
    // has changed.
    void AprPending();
    void Status(const QString& text);
    // Registers an exit handler. A handler that moves the focus makes Qt
    // take it from the control the user was heading for, which that
    // control never received; no second exit handler runs for that.
    void OnExit(QWidget* control, void (RegularPage::*handler)());

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
