#pragma once
// "2:Reg.Pay" (TabSimple): the APR of a regular schedule.
#include <functional>

#include "app/app_settings.h"
#include "app/apr_box.h"
#include "app/pages/page.h"
#include "core/interval.h"
#include "schedule/regular_entry.h"
#include "schedule/regular_schedule.h"
#include "schedule/schedule_file.h"

class RegularPage : public Page, private qv::PageBoxes<qv::RegularBox> {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::TabSimple;
    explicit RegularPage(Session& app);

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
    // of the window. The engine decides what each does (LeaveRegularBox).
    void edSimpAmtFinExit() { Leave(qv::RegularBox::edSimpAmtFin); }
    void edSimpInnerNoPayExit() { Leave(qv::RegularBox::edSimpInnerNoPay); }
    void edSimpRegPayExit() { Leave(qv::RegularBox::edSimpRegPay); }
    void rgpSimpIntervalExit();
    void edSimp1stPayExit() { Leave(qv::RegularBox::edSimp1stPay); }
    void edSimp1stNoPdExit() { Leave(qv::RegularBox::edSimp1stNoPd); }
    void edSimp1stExtraExit() { Leave(qv::RegularBox::edSimp1stExtra); }
    void edSimpLastPayExit() { Leave(qv::RegularBox::edSimpLastPay); }
    void edSimpLastNoPdExit() { Leave(qv::RegularBox::edSimpLastNoPd); }
    void edSimpLastExtraExit() { Leave(qv::RegularBox::edSimpLastExtra); }

  private:
    // What the schedule and the settings publish, shown here.
    void ShowAprTaken(qv::AprOutcome outcome);
    void SwitchPageHints(Setting setting, bool on);
    void ShowLoadedSchedule(const qv::ScheduleLoad& load);
    // The boxes as they read.
    qv::RegularTexts BoxTexts() const;

    QLineEdit* BoxOf(qv::RegularBox box) const;
    // The page's side of the engine's decisions.
    void SetBoxText(qv::RegularBox box, const std::string& text) override;
    void FocusBox(qv::RegularBox box) override;
    // Carries out what leaving `box` does, then recounts the summary when
    // the decision asks for it.
    void Leave(qv::RegularBox box);
    // Applies the interval group's item to the unit period and shows the
    // same item on the irregular page.
    void TakeSimpleInterval();
    void Status(const QString& text);
    void AprPending();
    // Registers an exit handler. A handler that moves the focus makes Qt
    // take it from the control the user was heading for, which that
    // control never received; no second exit handler runs for that.
    void OnExit(QWidget* control, void (RegularPage::*handler)());
    void OnLeave(QWidget* control, qv::RegularBox box);

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
    AprBox apr_{nullptr};
    QPushButton* butSimpleAPR_;
    QPushButton* butResetSimple_;
    QLineEdit* edStatusBar_;
    QLabel* labSimpToP_;
};
