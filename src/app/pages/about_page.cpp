#include "app/pages/about_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/main_window.h"

namespace {

const char* const kTabList[][2] = {
    {"1:Intro", "this page; from here the APR tolerances and the settings."},
    {"2:Reg.Pay",
     "the APR of a regular schedule: payments of one amount at one interval, where only the "
     "first and the last payment may differ."},
    {"3:Irreg.Pay", "the APR of any schedule, entered as groups of identical payments."},
    {"4:Chart/Rule of 78s",
     "the amortization chart of the last schedule computed, with the unearned finance charge "
     "and the Rule of 78s rebates; print the chart or save it as text."},
    {"5:Save/Edit", "edit a schedule in a grid, save it to a file and load it again."},
    {"6:Split Rates",
     "amortize a debt whose balance is charged at up to four rates, each up to a dollar cap."},
    {"7:Variable Rates",
     "amortize a schedule whose contract rate changes from one group of payments to the next, "
     "without rounding."},
};

}  // namespace

AboutPage::AboutPage(TforMain& main) : Page(main, kId) {
    Line(Heading(QStringLiteral("Welcome to Quorvane")));
    Line(Text(QStringLiteral(
        "Quorvane computes the annual percentage rate (APR) of consumer credit as the Truth in "
        "Lending rules define it: from the amount financed and the schedule of payments, by the "
        "actuarial method. It shows the total of payments and the finance charge, and it charts "
        "the amortization of the schedule, with Rule of 78s rebates if you want them.")));
    Gap();
    Line(Heading(QStringLiteral("The tabs")));
    for (const auto& entry : kTabList) {
        QLabel* tab = Label(QString::fromLatin1(entry[0]));
        QFont font = tab->font();
        font.setBold(true);
        tab->setFont(font);
        tab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QLabel* what = Text(QString::fromLatin1(entry[1]));
        Row({tab, what})->setStretch(1, 1);
    }
    Line(Text(QStringLiteral(
        "More pages open from the menus and the buttons: the APR of a loan repaid in one "
        "payment, figuring the common payment of a regular schedule at a known rate, the "
        "settings, and help on the chart and on variable rates. Move between the tabs with the "
        "mouse, or with Ctrl+Tab and Ctrl+Shift+Tab.")));
    Gap();

    labAbout8_ = Label(QString(), "labAbout8");
    auto* butSet = Button("butSet", QStringLiteral("Settings"));
    Row({labAbout8_, butSet});

    auto* butGotoTolerance = Button("butGotoTolerance", QStringLiteral("Tolerances"));
    Row({Label(QStringLiteral(
             "A disclosed APR may differ a little from the true one and still be accurate:")),
         butGotoTolerance});

    auto* butGoOnePay = Button("butGoOnePay", QStringLiteral("1 Pay Loan"));
    Row({Label(QStringLiteral("A loan repaid in a single payment (a payday loan) has its own "
                              "page:")),
         butGoOnePay});

    connect(butSet, &QPushButton::clicked, this, &AboutPage::butSetClick);
    connect(butGotoTolerance, &QPushButton::clicked, this, &AboutPage::butGotoToleranceClick);
    connect(butGoOnePay, &QPushButton::clicked, this, &AboutPage::butGoOnePayClick);
}

void AboutPage::ResetControls() {
    labAbout8_->setText(QStringLiteral(
        "Note: Amortization rounds to the nearest whole cent, but you can change that setting:"));
}

void AboutPage::butSetClick() {
    Main().ShowPage(PageId::tabSettings);
}

void AboutPage::butGotoToleranceClick() {
    Main().State().ScheduleSource = qv::kSourceNone;
    Main().ShowPage(PageId::tabIntro);
}

void AboutPage::butGoOnePayClick() {
    Main().ShowPage(PageId::tabOnePay);
}
