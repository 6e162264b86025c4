#include "app/pages/vary_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "app/not_built_yet.h"
#include "app/radio_group.h"
#include "app/session.h"

VaryPage::VaryPage(Session& app) : Page(app, kId) {
    // Controls are made in the page's tab order (the group grid first, the
    // rate box after "Add Group", "Using Tab 7" last); the layout places them.
    QTableView* dbgVariable = Grid("dbgVariable", session().mdsVariable(),
                                   {{"GrpID", QStringLiteral("GroupID")},
                                    {"GrpSize", QStringLiteral("#/Group")},
                                    {"Rate", QStringLiteral("% / year eqv.")},
                                    {"Payment", QStringLiteral("$/Pay't")},
                                    {"Interval", QStringLiteral("RegPd/Interv")},
                                    {"AddDays", QStringLiteral("+Days/Interval")}},
                                   false);
    auto* rgpVary = Radio(
        "rgpVary",
        QStringLiteral("FIRST, enter the MOST COMMON interval in the Payment Schedule (*shows "
                       "nominal duration) :"),
        {QStringLiteral("Annually (1/a,365 days)"), QStringLiteral("Monthly (12/a,30* days)"),
         QStringLiteral("HalfMonth (24/a,15* days)   "), QStringLiteral("TwoWeeks (26+/a,14 days)"),
         QStringLiteral("Weekly (52/a,7 days)")},
        3, QStringLiteral("Which Interval appears most often in the Payment Schedule."));
    rgpVary->SetItemIndex(1);
    auto* ebxPrincipal = Box("ebxPrincipal", QStringLiteral("0.00"),
                             QStringLiteral("Amount Financed excludes the Finance Charge."), 12);
    auto* ebxVaryPayCount = Box("ebxVaryPayCount", QStringLiteral("1"),
                                QStringLiteral("# of Payments of same size and interval."), 4);
    auto* ebxVaryPayment = Box("ebxVaryPayment", QStringLiteral("0.00"),
                               QStringLiteral("Identical for all payments in this group."), 10);
    auto* ebxVaryRegPds = Box("ebxVaryRegPds", QStringLiteral("1"),
                              QStringLiteral("Identical for all in this group,"), 4);
    const QString sameInGroup =
        QStringLiteral("Identical for all in Group, >0 if 0 regular payments.");
    auto* ebxVaryAddDays = Box("ebxVaryAddDays", QStringLiteral("0"), sameInGroup, 4);
    auto* butVaryAdd = Button("butVaryAdd", QStringLiteral("Add Group"),
                              QStringLiteral("If Group details are correct, click here"));
    auto* ebxVaryRate = Box("ebxVaryRate", QStringLiteral("12.0"), sameInGroup, 6);
    auto* butVaryReset = Button("butVaryReset", QStringLiteral("Clear List"));
    auto* butVarSave = Button("butVarSave", QStringLiteral("Save List"));
    auto* butVaryLoad = Button("butVaryLoad", QStringLiteral("Load List"));
    QTableView* dbgVarSchedule = Grid("dbgVarSchedule", session().mdsVarSchedule(),
                                      {{"Sequence", QStringLiteral("#")},
                                       {"Rate", QStringLiteral("%/a.eqv.")},
                                       {"RegPds", QString()},
                                       {"AddDays", QStringLiteral("+Days:")},
                                       {"OldBal", QStringLiteral("$ OldBal")},
                                       {"Interest", QStringLiteral("+ Interest")},
                                       {"Payment", QStringLiteral("- Payment")},
                                       {"NewBal", QStringLiteral("=$NewBal")}},
                                      true);
    auto* butMake = Button("butMake", QStringLiteral("Amortize"));
    auto* butVarPrint = Button("butVarPrint", QStringLiteral("Chart"));
    auto* butVaryTransform = Button("butVaryTransform", QStringLiteral("Move to Tab 5"));
    auto* butVaryEG = Button("butVaryEG", QStringLiteral("Using Tab 7"));

    Line(Text(QStringLiteral("Any schedule can be entered here.")));
    Line(Text(QStringLiteral("This evaluates variable contract rates but does NOT compute APRs.")));
    Line(
        Text(QStringLiteral("It amortizes to a Final Balance using UNROUNDED contract rates & "
                            "fractional cents")));
    Row({Label(QStringLiteral("in dollars. Here, rounding is used only for display & printing. "
                              "Click here to learn more-->")),
         butVaryEG});
    Line(rgpVary);
    Row({Label(QStringLiteral("SECOND, enter not a Truth-in-Lending value but contract "
                              "principal:Contract Balance Owed $")),
         ebxPrincipal});
    Line(
        Text(QStringLiteral("THIRD, enter the payments in chronological order, in groups that "
                            "are identical in interval, rate and")));
    Line(
        Text(QStringLiteral("amount. Click on \"Add Group\" and then enter the next group of "
                            "identical payments until done:")));
    Row({Label(QStringLiteral("Payment Group # 1 has "), "labVary7"), ebxVaryPayCount,
         Label(QStringLiteral("Payment(s) of")), ebxVaryPayment,
         Label(QStringLiteral("$ per Payment per Interval, where"))});
    Row({Label(QStringLiteral("each Interval has")), ebxVaryRegPds,
         Label(QStringLiteral("Regular Pd(s) &")), ebxVaryAddDays,
         Label(QStringLiteral("Extra Day(s) at ")), ebxVaryRate,
         Label(QStringLiteral("% annualized interest. ")), butVaryAdd});
    auto* labVary14 = Label(QStringLiteral("0 Payments, Totalling $.00:"), "labVary14");
    labVary14->setToolTip(QStringLiteral("This summary changes as Groups are added."));
    Row({Label(QStringLiteral("FOURTH, click Amortize & check Final Balance:")), labVary14});
    Column()->addWidget(dbgVariable, 1);
    Row({butVaryReset, butVarSave, butVaryLoad});
    Line(
        Text(QStringLiteral("FIFTH, Edit grid above & amortize again until Final Balance nears "
                            "zero. LAST, click Chart.")));
    Column()->addWidget(dbgVarSchedule, 1);
    Row({butMake, butVarPrint});
    Row({butVaryTransform,
         Label(QStringLiteral("<-- Click here to move this Schedule into Tab 5, so you can figure "
                              "an APR."))});

    connect(butVaryEG, &QPushButton::clicked, this, &VaryPage::butVaryEGClick);
    NotBuiltYet(
        {butVaryAdd, butVaryReset, butVarSave, butVaryLoad, butMake, butVarPrint, butVaryTransform},
        session().Port());
}

void VaryPage::butVaryEGClick() {
    session().ShowPage(PageId::TabUsingVary);
}
