#pragma once
// "5:Save/Edit" (tabEdit): the schedule editor, and saving and loading
// schedule files.
#include "app/pages/page.h"

class EditorPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabEdit;
    explicit EditorPage(TforMain& main);

    // "Save This Schedule" and "Load a Schedule"; the File menu runs them too.
    void butSaveClick() {}
    void butLoadClick() {}
};
