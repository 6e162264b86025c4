#pragma once
// "5:Save/Edit" (tabEdit): the schedule editor, and saving and loading
// schedule files.
#include <filesystem>
#include <optional>
#include <string>

#include "app/pages/page.h"

class EditorPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEdit;
    explicit EditorPage(Session& app);

    void ResetControls() override;

    // "Save This Schedule" and "Load a Schedule"; the File menu runs them too.
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

    QTableView* dbgPaySet2() const { return dbgPaySet2_; }

  signals:
    // The grid lost the focus after the user may have edited groups.
    void GroupsLeft();
    // A group was deleted.
    void GroupsChanged();
    // The schedule test took the groups' count and total as the loan's, and
    // the amount financed the user confirmed.
    void TotalsTaken(const QString& totPay, const QString& payCount);
    void AmountFinancedTaken(const QString& amtFin);

  private:
    // "Save This Schedule"; before a load, `loading` is the file the load is
    // about to read, which the save may not replace.
    void SaveSchedule(const std::optional<std::filesystem::path>& loading);
    // Asks to save the current groups, then loads `file` and shows what it
    // holds; false when the file could not be loaded (nothing changed).
    bool LoadSchedule(const std::string& file);

    QTableView* dbgPaySet2_;
};
