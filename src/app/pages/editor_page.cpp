#include "app/pages/editor_page.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "app/main_window.h"

EditorPage::EditorPage(TforMain& main) : Page(main, kId) {
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
    Column()->addWidget(Grid("dbgPaySet2", Main().mdsPaySet(),
                             {{"Sequence", QStringLiteral("GroupID")},
                              {"SetSize", QStringLiteral("#/Group")},
                              {"PaySize", QStringLiteral("$/Payment")},
                              {"PriorPds", QStringLiteral("Prior Reg.Intervals")},
                              {"AddDays", QStringLiteral("Prior Extra Days")}},
                             false, QStringLiteral("Click on a cell to edit it.")));
    Row({Button("butAddRow", QStringLiteral("Add blank Row")),
         Button("butKillRow", QStringLiteral("Delete Selected Row")),
         Button("butUpdateGlobals", QStringLiteral("Test Sched. Integrity")),
         Button("butEditTotPay", QStringLiteral("Test Total of Pay'ts")),
         Button("butEditReset", QStringLiteral("Reset All"))});

    connect(butLoad, &QPushButton::clicked, this, &EditorPage::butLoadClick);
    connect(butSave, &QPushButton::clicked, this, &EditorPage::butSaveClick);
}
