#pragma once
// "7:Variable Rates" (tabVary): schedules whose contract rate changes from one
// group of payments to the next, amortized without rounding.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/kept_file_dialog.h"
#include "app/pages/page.h"
#include "app/platform_port.h"
#include "varrate/vary_list.h"
#include "varrate/vary_texts.h"

class VaryPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabVary;
    explicit VaryPage(Session& app);

    void Enter() override { tabVaryEnter(); }
    // An empty list starts over: "Clear List".
    void tabVaryEnter();

    // "Add Group", "Clear List", "Save List", "Load List".
    void butVaryAddClick();
    void butVaryResetClick();
    void butVarSaveClick();
    void butVaryLoadClick();
    // "Amortize", "Chart", "Move to Tab 5", "Using Tab 7".
    void butMakeClick();
    void butVarPrintClick();
    void butVaryTransformClick();
    void butVaryEGClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* BoxOf(qv::VaryBox box) const;
    void SetBoxTexts(const std::vector<qv::VaryBoxText>& boxes);
    // The exit handler of each of the six boxes.
    void LeaveBox(qv::VaryBox box);
    // labVary14 as the running count and total of payments.
    void ShowSummary(const std::string& text, std::int64_t count, double total);
    // labVary14 as the running count and total stand now.
    void ShowRunningSummary();
    // The schedule and its final balance belong to the list, principal and
    // interval they were computed from; once any of them changes they go.
    void DropSchedule();
    // The user changed a cell of the list: the schedule goes and the summary
    // counts the list as it now stands.
    void ListEdited();
    // "Save List"; before a load, `loading` is the file the load is about to
    // read, which the save may not replace.
    void SaveList(const std::optional<std::filesystem::path>& loading);

    RadioGroup* rgpVary_;
    std::array<QLineEdit*, qv::kVaryBoxes.size()> boxes_{};
    QLabel* labVary7_;
    QLabel* labVary14_;
    QTableView* dbgVariable_;
    QTableView* dbgVarSchedule_;
    // What labVary14 shows: the running summary (and the count and total it
    // was made from), or a final balance.
    std::string summaryText_;
    std::int64_t summaryCount_ = 0;
    double summaryTotal_ = 0.0;
    bool showsBalance_ = false;
    // Each list dialog proposes the file chosen in it last: the save dialog
    // never offers the file last loaded, nor the load dialog the one saved.
    KeptFileDialog listSaveDialog_{KeptFileDialog::Kind::Save, qv::kProposedListFileName,
                                   qv::kListFileExtension};
    KeptFileDialog listOpenDialog_{KeptFileDialog::Kind::Open, qv::kProposedListFileName,
                                   qv::kListFileExtension};
};
