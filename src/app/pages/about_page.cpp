#include "app/pages/about_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/qt_text.h"
#include "app/session.h"
#include "core/rounding_setting.h"

namespace {

const char* const kTabList[][2] = {
    {"1:Intro", "this page, with the way to the APR tolerances and the settings."},
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

AboutPage::AboutPage(Session& app) : Page(app, kId) {
    Line(Text(QStringLiteral(
        "Quorvane computes the annual percentage rate (APR) of consumer credit as the Truth in "
        "Lending rules define it, from the amount financed and the schedule of payments, and "
        "charts the amortization of the schedule, with Rule of 78s rebates if you want them.")));
    Gap();
    auto* list = new QGridLayout;
    list->setColumnStretch(1, 1);
    int row = 0;
    for (const auto& entry : kTabList) {
        QLabel* tab = Label(QString::fromLatin1(entry[0]));
        QFont font = tab->font();
        font.setBold(true);
        tab->setFont(font);
        list->addWidget(tab, row, 0, Qt::AlignLeft | Qt::AlignTop);
        list->addWidget(Text(QString::fromLatin1(entry[1])), row, 1);
        ++row;
    }
    Column()->addLayout(list);
    Line(Text(QStringLiteral(
        "The menus lead to more: the APR of a loan repaid in one payment, the payment of a "
        "regular schedule at a known rate, the settings and help. Ctrl+Tab steps through the "
        "tabs.")));
    // Each note with the button that goes with it, the notes wrapping.
    auto* notes = new QGridLayout;
    notes->setColumnStretch(0, 1);
    labAbout8_ = Text(QString(), "labAbout8");
    auto* butSet = Button("butSet", QStringLiteral("Settings"));
    notes->addWidget(labAbout8_, 0, 0);
    notes->addWidget(butSet, 0, 1);
    auto* butGotoTolerance = Button("butGotoTolerance", QStringLiteral("Tolerances"));
    notes->addWidget(
        Text(QStringLiteral(
            "A disclosed APR may differ a little from the true one and still be accurate:")),
        1, 0);
    notes->addWidget(butGotoTolerance, 1, 1);
    auto* butGoOnePay = Button("butGoOnePay", QStringLiteral("1 Pay Loan"));
    notes->addWidget(
        Text(QStringLiteral("A loan repaid in a single payment (a payday loan) has its own page:")),
        2, 0);
    notes->addWidget(butGoOnePay, 2, 1);
    Column()->addLayout(notes);

    connect(butSet, &QPushButton::clicked, this, &AboutPage::butSetClick);
    connect(butGotoTolerance, &QPushButton::clicked, this, &AboutPage::butGotoToleranceClick);
    connect(butGoOnePay, &QPushButton::clicked, this, &AboutPage::butGoOnePayClick);
    connect(&session().Settings(), &AppSettings::Changed, this, &AboutPage::ShowRoundingNote);
}

void AboutPage::ShowRoundingNote(Setting setting, bool on) {
    if (setting == Setting::RoundDown) labAbout8_->setText(Q(qv::RoundingFor(on).aboutNote));
}

void AboutPage::ResetControls() {
    labAbout8_->setText(QStringLiteral(
        "Note: Amortization rounds to the nearest whole cent, but you can change that setting:"));
}

void AboutPage::butSetClick() {
    session().ShowPage(PageId::tabSettings);
}

void AboutPage::butGotoToleranceClick() {
    session().State().loan.ScheduleSource = qv::kSourceNone;
    session().ShowPage(PageId::tabIntro);
}

void AboutPage::butGoOnePayClick() {
    session().ShowPage(PageId::tabOnePay);
}
