#include "app/pages/editor_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <limits>
#include <string>

#include "app/accessible.h"
#include "app/grid_focus.h"
#include "app/session.h"
#include "core/pay_group.h"
#include "data/table_walk.h"
#include "schedule/apr_estimate.h"
#include "schedule/group_schedule.h"
#include "schedule/schedule_file.h"

EditorPage::EditorPage(Session& app) : Page(app, kId) {
    auto* butLoad = Button("butLoad", QStringLiteral("Load a Schedule"));
    Row({Label(QStringLiteral("To LOAD a previously saved payment schedule, click-> "),
               "labEdit10"),
         butLoad});
    auto* butSave = Button("butSave", QStringLiteral("Save This Schedule"));
    Row({Label(QStringLiteral("To SAVE a payment schedule you have already entered (shown below), "
                              "click-> "),
               "labEdit9"),
         butSave});
    Line(Text(QStringLiteral("To REVISE a payment schedule you have already entered, it should "
                             "appear below."),
              "labEdit1"));
    Line(Text(QStringLiteral("(if not, enter one at Tab 3 or LOAD a saved schedule, as described "
                             "above.)"),
              "labEdit7"));
    Line(Text(QStringLiteral("Before editing, save this schedule, if you want to reuse it or undo "
                             "your edits."),
              "labEdit4"));
    Line(Text(QStringLiteral("To edit an existing cell, click on it, and type its new value "
                             "WITHOUT commas or dollar signs;"),
              "labEdit2"));
    Line(Text(QStringLiteral("To remove an existing group of payments, click on the row & then the "
                             "Delete Selected Row button."),
              "editLab5"));
    Line(Text(QStringLiteral("To add a new group of matched payments, click the Add Blank Row "
                             "button, then edit the cells."),
              "labEdit3"));
    Line(Text(QStringLiteral("To reorder the groups, change the row's \"Group #,\" WITHOUT "
                             "DUPLICATING any other Group #."),
              "labEdit6"));
    Line(Text(QStringLiteral("After editing SAVE this schedule again. A different file name is "
                             "recommended"),
              "labEdit8"));
    dbgPaySet2_ = Grid("dbgPaySet2", session().Schedule().PaySet(),
                       {{"Sequence", QStringLiteral("GroupID")},
                        {"SetSize", QStringLiteral("#/Group")},
                        {"PaySize", QStringLiteral("$/Payment")},
                        {"PriorPds", QStringLiteral("Prior Reg.Intervals")},
                        {"AddDays", QStringLiteral("Prior Extra Days")}},
                       false, QStringLiteral("Click on a cell to edit it."));
    NameControl(dbgPaySet2_, QStringLiteral("Payment groups"));
    Column()->addWidget(dbgPaySet2_);
    auto* butAddRow = Button("butAddRow", QStringLiteral("Add blank Row"));
    auto* butKillRow = Button("butKillRow", QStringLiteral("Delete Selected Row"));
    auto* butUpdateGlobals = Button("butUpdateGlobals", QStringLiteral("Test Sched. Integrity"));
    auto* butEditTotPay = Button("butEditTotPay", QStringLiteral("Test Total of Pay'ts"));
    auto* butEditReset = Button("butEditReset", QStringLiteral("Reset All"));
    Row({butAddRow, butKillRow, butUpdateGlobals, butEditTotPay, butEditReset});

    connect(butLoad, &QPushButton::clicked, this, &EditorPage::butLoadClick);
    connect(butSave, &QPushButton::clicked, this, &EditorPage::butSaveClick);
    connect(butAddRow, &QPushButton::clicked, this, &EditorPage::butAddRowClick);
    connect(butKillRow, &QPushButton::clicked, this, &EditorPage::butKillRowClick);
    connect(butUpdateGlobals, &QPushButton::clicked, this, &EditorPage::butUpdateGlobalsClick);
    connect(butEditTotPay, &QPushButton::clicked, this, &EditorPage::butEditTotPayClick);
    connect(butEditReset, &QPushButton::clicked, this, &EditorPage::butEditResetClick);
    // Leaving this grid recounts the irregular page's summary, as leaving
    // that page's grid does.
    OnGridExit(dbgPaySet2_, [this] { session().Schedule().NoteGroupsLeft(); });
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
        session().Port().Inform("No Records in this Grid");
        return;
    }
    const std::string question =
        "Please Confirm that you Want to Delete Row# " + std::to_string(paySet.Position());
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
    session().Port().Inform("Reset Done!");
    session().ShowPage(PageId::tabEdit);
}
