#pragma once
// "5:Save/Edit" (tabEdit): the schedule editor, and saving and loading
// schedule files.

#include "app/pages/page.h"
#include "schedule/editor_texts.h"

class EditorPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEdit;
    explicit EditorPage(Session& app);

    void ResetControls() override;

    // "Save This Schedule" and "Load a Schedule", on the schedule.
    void butSaveClick();
    void butLoadClick();

    // "Add blank Row": a group of one payment of one cent after one period,
    // numbered after the last group.
    void butAddRowClick();
    // "Delete Selected Row", after the user confirms.
    void butKillRowClick();
    // "Test Total of Pay'ts": the count and total of the groups.
    void butEditTotPayClick();
    // "Test Sched. Integrity": reports groups that cannot be right, takes the
    // groups' count and total as the loan's, and offers to correct the amount
    // financed. Loading a schedule runs it too.
    void butUpdateGlobalsClick();
    // "Reset All", staying on this page.
    void butEditResetClick();

  private:
    // Makes the button of the engine's table and wires it to its action.
    QPushButton* MakeButton(qv::EditorButton button);

    QTableView* dbgPaySet2_;
};
