#include "app/pages/editor_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

#include "app/accessible.h"
#include "app/grid_focus.h"
#include "app/kept_file_dialog.h"
#include "app/qt_text.h"
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
    dbgPaySet2_ = Grid("dbgPaySet2", session().mdsPaySet(),
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
    OnGridExit(dbgPaySet2_, [this] { emit GroupsLeft(); });
}

void EditorPage::ResetControls() {
    DropGridFocus(dbgPaySet2_);
}

void EditorPage::butSaveClick() {
    SaveSchedule(std::nullopt);
}

void EditorPage::SaveSchedule(const std::optional<std::filesystem::path>& loading) {
    PlatformPort& port = session().Port();
    qv::TMemDataSet& paySet = session().mdsPaySet();
    if (qv::NothingToSave(paySet)) {
        port.Inform(qv::kNoScheduleToSave);
        return;
    }
    KeptFileDialog& dialog = session().dlgSavePayset();
    const std::string proposed = dialog.Request().fileName;
    const std::optional<std::string> file = dialog.Execute(port, qv::kSaveScheduleTitle);
    if (!file) return;
    const std::filesystem::path path = std::filesystem::u8path(*file);
    if (loading && qv::SameFile(path, *loading)) {
        port.Warn(qv::CannotSaveOverLoadText(path));
        dialog.Keep(proposed);
        return;
    }
    qv::SaveScheduleAsked(path, paySet,
                          {session().ScheduleIntervalItem(), session().State().AmtFin}, port);
}

void EditorPage::butLoadClick() {
    PlatformPort& port = session().Port();
    const std::optional<std::string> file =
        session().dlgOpenPaySet().Execute(port, qv::kLoadScheduleTitle);
    if (file && !LoadSchedule(*file)) return;
    // Whether or not a file was chosen, the schedule now in the table is
    // tested and its APR estimated.
    session().TestScheduleIntegrity();
    session().MakeScheduleGridEditable();
    const std::optional<qv::AprOutcome> outcome = session().EstimateIrregularAPR();
    port.Inform(qv::LoadedAprMessage(outcome, session().State().APR));
}

bool EditorPage::LoadSchedule(const std::string& file) {
    PlatformPort& port = session().Port();
    const std::filesystem::path path = std::filesystem::u8path(file);
    // The question comes before the file is read; whatever the save does,
    // even when its dialog is cancelled, the chosen file is loaded.
    if (!qv::NothingToSave(session().mdsPaySet()) &&
        port.Confirm(qv::kSaveCurrentScheduleQuestion)) {
        SaveSchedule(path);
    }
    const qv::ScheduleLoad load = qv::LoadData(session().State(), session().mdsPaySet(), path);
    if (load.loaded && !load.headerMissing) {
        session().ShowScheduleInterval(load.intervalIndex);
        session().ShowLoadedSchedule(load);
    }
    for (const qv::RecordedMessage& message : load.messages) port.Show(message.kind, message.text);
    return load.loaded;
}

void EditorPage::butAddRowClick() {
    qv::TMemDataSet& paySet = session().mdsPaySet();
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
    qv::TMemDataSet& paySet = session().mdsPaySet();
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
    emit GroupsChanged();
}

void EditorPage::butEditTotPayClick() {
    qv::GroupWalk walk;
    try {
        walk = qv::WalkGroups(session().mdsPaySet());
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
    qv::LoanState& s = session().State();
    PlatformPort& port = session().Port();
    const qv::ScheduleRecount recount = qv::RecountSchedule(s, session().mdsPaySet());
    qv::ShowMessages(port, recount.messages);
    if (!recount.counted) return;
    port.Inform(recount.totalText);
    emit TotalsTaken(
        Q(qv::FloatToStrF(qv::CurrencyToDollars(s.TotPay), qv::FloatStyle::Fixed, 18, 2)),
        QString::number(s.PayCount));

    // Asked until the user keeps the amount or gives one that reads.
    for (;;) {
        const std::string proposal = qv::AmountFinancedDefault(s.AmtFin);
        const std::optional<std::string> answer =
            port.InputBox(qv::kAmtFinTitle, qv::kAmtFinPrompt, proposal);
        const qv::AmountFinancedReply reply =
            qv::JudgeAmountFinancedReply(answer.value_or(proposal), proposal);
        if (reply.kind == qv::AmountFinancedReply::Kind::Keep) return;
        if (reply.kind == qv::AmountFinancedReply::Kind::Accept) {
            s.AmtFin = reply.amtFin;
            emit AmountFinancedTaken(Q(reply.boxText));
            return;
        }
        port.Inform(reply.message);
    }
}

void EditorPage::butEditResetClick() {
    session().Reset();
    session().Port().Inform("Reset Done!");
    session().ShowPage(PageId::tabEdit);
}
