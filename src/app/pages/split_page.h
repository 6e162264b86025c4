#pragma once
// "6:Split Rates" (tabSplit): debts charged at up to four rates, each up to a
// dollar cap. The page lays out the engine's texts and carries out what the
// engine decides (splitrate/split_inputs.h, splitrate/split_interest.h).
#include <array>

#include "app/pages/page.h"
#include "splitrate/split_inputs.h"
#include "splitrate/split_interest.h"

class SplitPage : public Page, private qv::SplitPageBoxes {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabSplit;
    explicit SplitPage(Session& app);

    void ResetControls() override;
    void Enter() override { tabSplitEnter(); }

    // Makes the split-rate schedule the current one.
    void tabSplitEnter();
    // Applies the interval group's item to the days of the common interval.
    void rgpSplitPdExit();

    void butJustClick();
    void butSplitRegPayClick();
    void butSplitPrincipalClick();
    void butSplitChartClick();
    void butSplitPrintClick();
    void butSplitResetClick();
    // "Load Test Data": the button stays hidden; the fixed test case.
    void butMyTestClick();

    // The two result boxes say "Pending" until the next computation: what
    // they showed belongs to inputs that have changed since (the rounding
    // setting among them).
    void ResultsPending();

  private:
    QLineEdit* BoxOf(qv::SplitBox box) const;
    // The page's side of the engine's decisions.
    void SetBoxText(qv::SplitBox box, const std::string& text) override;
    void FocusBox(qv::SplitBox box) override;
    void WriteBoxes(const std::vector<qv::SplitBoxFill>& fills);
    // Carries out what leaving `box` does.
    void Leave(qv::SplitBox box);
    // Shows what a computing button produced: its chart, then its boxes.
    void Show(const qv::SplitRun& run);

    // Builders for the page's lines, from the engine's table of boxes.
    QLineEdit* MakeBox(qv::SplitBox box, int widthInDigits);
    BoxInfo InfoOf(qv::SplitBox box, std::string_view label) const;
    void MakePaymentLine(qv::SplitBox pay, std::string_view payLabel, qv::SplitBox periods,
                         qv::SplitBox days);

    RadioGroup* rgpSplitPd_;
    std::array<QLineEdit*, qv::kSplitBoxes.size()> boxes_{};
};
