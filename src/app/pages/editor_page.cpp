#include "app/pages/editor_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <array>
#include <limits>
#include <string>

#include "app/accessible.h"
#include "app/grid_focus.h"
#include "app/qt_text.h"
#include "app/session.h"
#include "core/pay_group.h"
#include "data/table_walk.h"
#include "schedule/apr_estimate.h"
#include "schedule/editor_texts.h"
#include "schedule/group_schedule.h"
#include "schedule/schedule_file.h"

namespace {

using qv::EditorButton;

// The buttons' actions, in the order of the engine's list of buttons.
using Click = void (EditorPage::*)();
constexpr std::array<Click, qv::kEditorButtons.size()> kClicks{
    &EditorPage::butLoadClick,          &EditorPage::butSaveClick,
    &EditorPage::butAddRowClick,        &EditorPage::butKillRowClick,
    &EditorPage::butUpdateGlobalsClick, &EditorPage::butEditTotPayClick,
    &EditorPage::butEditResetClick,
};

}  // namespace

EditorPage::EditorPage(Session& app) : Page(app, kId) {
    QPushButton* butLoad = MakeButton(EditorButton::butLoad);
    Row({Label(Q(qv::kEditorLoadLine.text), qv::kEditorLoadLine.name.data()), butLoad});
    QPushButton* butSave = MakeButton(EditorButton::butSave);
    Row({Label(Q(qv::kEditorSaveLine.text), qv::kEditorSaveLine.name.data()), butSave});
    for (const qv::NamedText& line : qv::kEditorInstructionLines) {
        Line(Text(Q(line.text), line.name.data()));
    }
    dbgPaySet2_ = Grid("dbgPaySet2", session().Schedule().PaySet(), ColumnsOf(qv::kPayGroupColumns),
                       false, Q(qv::kPayGroupGridHint));
    NameControl(dbgPaySet2_, Q(qv::kPayGroupGridName));
    Column()->addWidget(dbgPaySet2_);
    Row({MakeButton(EditorButton::butAddRow), MakeButton(EditorButton::butKillRow),
         MakeButton(EditorButton::butUpdateGlobals), MakeButton(EditorButton::butEditTotPay),
         MakeButton(EditorButton::butEditReset)});

    // Leaving this grid recounts the irregular page's summary, as leaving
    // that page's grid does.
    OnGridExit(dbgPaySet2_, [this] { session().Schedule().NoteGroupsLeft(); });
}

QPushButton* EditorPage::MakeButton(EditorButton button) {
    const qv::ButtonText& info = qv::EditorButtonInfo(button);
    QPushButton* made = Button(info.name.data(), Q(info.caption), Q(info.hint));
    connect(made, &QPushButton::clicked, this, kClicks[std::size_t(button)]);
    return made;
}

void EditorPage::ResetControls() {
    DropGridFocus(dbgPaySet2_);
}

void EditorPage::butSaveClick() {
    session().Schedule().Save();
}

void EditorPage::butLoadClick() {
    session().Schedule().Load();
}

void EditorPage::butAddRowClick() {
    qv::TMemDataSet& paySet = session().Schedule().PaySet();
    try {
        // Returning to the row that was current stores the new one; on an
        // empty table there is no such row and the new one stays pending.
        qv::TableWalk walk(paySet);
        paySet.MoveLast();
        const std::int32_t last = paySet.Count() > 0 ? paySet.FieldAsInteger("Sequence") : 0;
        // Past the largest number the new group shares the last one's
        // number and sorts after it.
        qv::PayGroup blank;
        blank.Sequence = last < std::numeric_limits<std::int32_t>::max() ? last + 1 : last;
        blank.SetSize = 1;
        blank.PaySize = 0.01;
        blank.PriorPds = 1;
        qv::AppendPayGroup(paySet, blank);
    } catch (const qv::EMemDatasetError& error) {
        session().Port().Warn(error.what());
    }
}

void EditorPage::butKillRowClick() {
    qv::TMemDataSet& paySet = session().Schedule().PaySet();
    if (paySet.Count() == 0) {
        session().Port().Inform(qv::kNoRecordsText);
        return;
    }
    const std::string question =
        std::string(qv::kConfirmDeleteRowText) + std::to_string(paySet.Position());
    if (session().Port().Show(qv::MessageKind::WarningYesNo, question) != qv::Answer::Yes) return;
    try {
        paySet.Delete();
    } catch (const qv::EMemDatasetError& error) {
        session().Port().Warn(error.what());
        return;
    }
    session().Schedule().NoteGroupDeleted();
}

void EditorPage::butEditTotPayClick() {
    qv::GroupWalk walk;
    try {
        walk = qv::WalkGroups(session().Schedule().PaySet());
    } catch (const qv::EMemDatasetError& error) {
        session().Port().Warn(error.what());
        return;
    }
    if (!walk.totalInRange) {
        session().Port().Warn(qv::kTotalOutOfRange);
        return;
    }
    session().Port().Inform(qv::PaymentsTotalText(walk.count, walk.total));
}

void EditorPage::butUpdateGlobalsClick() {
    session().Schedule().Test();
}

void EditorPage::butEditResetClick() {
    session().Reset();
    session().Port().Inform(qv::kResetDoneText);
    session().ShowPage(PageId::tabEdit);
}
