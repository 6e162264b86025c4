#include "app/pages/figure_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/not_built_yet.h"
#include "app/session.h"

FigurePage::FigurePage(Session& app) : Page(app, kId) {
    Line(
        Text(QStringLiteral("First, to compute a payment schedule without knowing the payment "
                            "amount it must be regular")));
    Line(
        Text(QStringLiteral("(i.e. all the payment intervals and amounts except those for the "
                            "first and last payment must match).")));
    Line(
        Text(QStringLiteral("Click Reset All unless you have just done that, and enter the whole "
                            "REGULAR schedule on Tab 2.")));
    Line(
        Text(QStringLiteral("Include a guess at the common payment amount and return here for "
                            "the second and third steps.")));
    edMaxRate_ = Box("edMaxRate", QStringLiteral("10.00"), QString(), 8);
    Row({Label(QStringLiteral("Second, enter the Interest Rate you wish to use:")), edMaxRate_,
         Label(QStringLiteral("% per year"))});
    auto* butFind = Button("butFind", QStringLiteral("Adjust Payments"));
    Row({Label(QStringLiteral("Third, click Adjust Payments to get adjusted payments consistent "
                              "with that Interest Rate:")),
         butFind});
    Line(
        Text(QStringLiteral("Schedule at Tab 2 is unchanged, but each of its payments are "
                            "adjusted here by the same amount. ")));
    auto* cbxShowAmort =
        Check("cbxShowAmort", QStringLiteral("Show Amortization for these Payments"), true);
    auto* butMaxReset = Button("butMaxReset", QStringLiteral("Reset All"));
    auto* butPrintIt = Button("butPrintIt", QStringLiteral("Print Report"));
    NotBuiltYet({butFind, butMaxReset, butPrintIt}, session().Port());
    Row({cbxShowAmort, butMaxReset, butPrintIt});

    auto* redFound = Memo(
        "redFound",
        {QStringLiteral("After the amortizing payment has been computed, your schedule will show "
                        "here."),
         QString(),
         QStringLiteral("NOTE: If you want all payments to be the same size, be sure that"),
         QStringLiteral("all the payments you enter on TAB 2 are the same size, as the"),
         QStringLiteral("adjustment mechanism here reduces or increases each scheduled"),
         QStringLiteral("payment by the same amount until the most complete non-negative"),
         QStringLiteral("amortization is achieved.")});
    redFound->setReadOnly(true);
    redFound->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    redFound->setMinimumHeight(redFound->fontMetrics().height() * 10);
    Column()->addWidget(redFound, 1);

    for (auto [name, text] : {
             std::pair{"labMax8",
                       "An APR for these schedules may show slightly less than the rate "
                       "used, because these schedules"},
             std::pair{"labMax9",
                       "avoid ANY overpayment by adjusting the last scheduled payment, "
                       "which may make it irregular."},
             std::pair{"LabMax10",
                       "Quite irregular final payments may result in very long or "
                       "very large or high rate transactions."},
         }) {
        QLabel* note = Text(QString::fromLatin1(text), name);
        note->setVisible(false);
        Line(note);
    }
}

void FigurePage::ResetControls() {
    edMaxRate_->setText(QStringLiteral("10.00"));
}
