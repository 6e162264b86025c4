#pragma once
// "2:Reg.Pay" (TabSimple): the APR of a regular schedule.
#include <array>

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

    // Leaving the interval group: applies its item to the unit period and
    // shows the same item on the irregular page.
    void rgpSimpIntervalExit();

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
    void TakeSimpleInterval();
    void Status(const QString& text);
    void AprPending();

    // Builders for the page's lines, from the engine's tables.
    QLineEdit* MakeBox(qv::RegularBox box, int widthInDigits);
    BoxInfo InfoOf(qv::RegularBox box) const;
    void MakePaymentLine(qv::RegularBox pay, qv::RegularBox periods, qv::RegularBox days);
    QPushButton* MakeButton(qv::RegularButton button);

    std::array<QLineEdit*, qv::kRegularBoxes.size()> boxes_{};
    RadioGroup* rgpSimpInterval_;
    QLineEdit* edSimpAPR_;
    AprBox apr_{nullptr};
    QPushButton* butSimpleAPR_;
    QPushButton* butResetSimple_;
    QLineEdit* edStatusBar_;
    QLabel* labSimpToP_;
};
