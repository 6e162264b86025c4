#include "app/pages/help_pages.h"

#include <QLabel>
#include <QPushButton>

#include "app/session.h"

namespace {

// Joins the lines of one paragraph; the label wraps it to the page's width.
QString Paragraph(std::initializer_list<const char*> lines) {
    QString text;
    for (const char* line : lines) {
        if (!text.isEmpty() && !text.endsWith(QLatin1Char(' '))) text += QLatin1Char(' ');
        text += QString::fromUtf8(line);
    }
    return text;
}

}  // namespace

TolerancePage::TolerancePage(Session& app) : Page(app, kId) {
    Line(Text(Paragraph({
                  "The mathematical equations here conform to Appendix J of FRB Regulation Z, "
                  "and ",
                  "its Official Commentary as of August, 1984. After years of use it is not "
                  "known to ",
                  "contain errors, but it does have compromises and imprecision in atypical "
                  "situations.",
              }),
              "labIntro1"));
    Gap();
    Line(Heading(QStringLiteral("APR Tolerance Rules:")));
    Line(Text(Paragraph({
                  "The disclosed APR is considered accurate if it is not more than 1/8th of 1%",
                  "above or below the true APR, except that for irregular transactions as "
                  "defined at Reg.Z 226.22 n.4",
                  "the discrepancy can be up to 1/4th of 1%",
              }),
              "labIntro2"));
    Line(Text(QStringLiteral("Whether a disclosed APR that is too high counts as a violation at "
                             "all is a question discussed in the literature on these rules."),
              "labIntro3"));
    Gap();
    Line(Heading(QStringLiteral("Special Exceptions:")));
    Line(Text(Paragraph({
                  "The following transactions have special exceptions to the APR accuracy "
                  "rules:",
                  "creditors that apply a single add-on interest rate to all transactions up to "
                  "60 months in duration may",
                  "disclose the highest possible APR; and creditors that impose a fixed dollar "
                  "finance charge on all ",
                  "balances within a specified range may in some circumstances disclose the APR "
                  "computed for the",
                  "median balance.",
              }),
              "labIntro4"));
    Gap();
    Line(Heading(QStringLiteral("Finance Charge: ")));
    Line(Text(Paragraph({
                  "Note that the accuracy of the APR calculation depends on the accuracy of the",
                  "finance charge. Charges that are counted in the amount financed when they "
                  "belong in the finance charge may be a violation even when the APR is correct "
                  "for the disclosed values. Separate tolerances, usually $10 but more for "
                  "mortgage transactions, apply to errors in the disclosed finance charge; a "
                  "finance charge within them is no violation, even if it moves the APR beyond "
                  "the APR tolerance.",
              }),
              "labIntro5"));
    Gap();
    Line(Heading(QStringLiteral("Rule of 78s:")));
    Line(Text(Paragraph({
                  "There are different ways to calculate the Rule of 78s for contracts that "
                  "have irregular",
                  "payments or payment periods. The computations at Tab 4 do not take these "
                  "irregularities into account",
                  "but provide an online warrning. State law or the contract may establish what "
                  "calculation method to use.",
              }),
              "labIntro6"));
}

UsersPage::UsersPage(Session& app) : Page(app, kId) {
    Line(Heading(QStringLiteral("Notices and terms of use")));
    Line(Text(QStringLiteral(
        "Quorvane is made by the Quorvane developers. You may use it, copy it and pass it on, "
        "for personal or business use, free of charge, as long as this notice goes with it.")));
    Line(Text(QStringLiteral(
        "It comes with no warranty of any kind. The computations follow the Truth in Lending "
        "rules as closely as the developers could make them, but you alone are responsible for "
        "the disclosures you make or check with it: confirm any result that matters before you "
        "rely on it.")));
    Gap();
    Line(Heading(QStringLiteral("Newer versions")));
    Line(Text(QStringLiteral(
        "Newer versions are announced on the project's home page, together with a list of what "
        "has changed.")));
    Gap();
    Line(Heading(QStringLiteral("Longer schedules")));
    Line(Text(QStringLiteral(
        "This version handles schedules of 480 payments and more (485 at the most), where "
        "earlier versions handled up to 360.")));
}

UsingChartPage::UsingChartPage(Session& app) : Page(app, kId) {
    Line(Heading(QStringLiteral("Using the Amortization Chart")));
    Line(Text(QStringLiteral(
        "The chart text on Tab 4 is an ordinary text box: before you print it you may edit it "
        "as in any plain text editor. Click where you want to change something and type; add a "
        "borrower's name or a note at the top, delete lines you do not need, or copy and paste "
        "parts of it elsewhere.")));
    Line(Text(QStringLiteral(
        "The chart is shown and printed in a fixed-pitch font, in which every character has the "
        "same width. That is what keeps its columns of figures lined up; if you paste the text "
        "into another program, choose a fixed-pitch font there too.")));
    Line(Text(QStringLiteral(
        "\"Save Chart Text\" saves the whole text, with your edits, as a plain text file that "
        "any editor or word processor can open. \"Print Chart\" prints it; \"Clear Chart\" "
        "empties it.")));
}

const QStringList& UsingVaryPage::Lines() {
    static const QStringList lines{
        QStringLiteral("Tab 7, for analyzing Variable Rate transactions has three features unlike "
                       "other amortizations:"),
        QStringLiteral("  (1) It works with annualized contract interest rates, not entirely "
                       "comparable to APRs."),
        QStringLiteral("  (2) It uses actuarial amortizations but the balances and periodic "
                       "interest are NOT ROUNDED"),
        QStringLiteral("   (3) There is no automatic adjusting, you must edit the schedule "
                       "manually until it amortizes to zero."),
        QStringLiteral("Unrounded values used here correspond to spreadsheet rate functions like "
                       "Internal Rate of Return."),
        QStringLiteral("Here are the steps you might follow to use this tool to get an accurate "
                       "amortization:"),
        QStringLiteral("  (1) Enter a payment schedule \"List,\" group by group like you would in "
                       "Tab 4 (Irregular Payments)"),
        QStringLiteral("  (2) However, each group also needs a contract interest rate that "
                       "applies to that group"),
        QStringLiteral("     (a) Enter each rate as an ANNUAL contract rate equivalent, NOT a per "
                       "period rate."),
        QStringLiteral("     (b) This rate may vary by group, indeed it alone may distinguish one "
                       "group from another "),
        QStringLiteral("     (c) In the upper grid, \"%/year equiv\" refers to this rate, as a "
                       "percent per annum equivalent."),
        QStringLiteral("  (3) When the schedule is complete, click the Amortize button, and look "
                       "at the lower grid:"),
        QStringLiteral("     (a) this shows the lines of the resulting amortization, and the "
                       "bottom, right cell the final balance."),
        QStringLiteral("     (b) Notice that the amounts for the Interest, Old Balance and New "
                       "Balance are unrounded"),
        QStringLiteral("     (c) You can inspect the rows by scrolling with the right hand scroll "
                       "bar."),
        QStringLiteral("     (d) The colums respectively show the payment #, the annualized rate "
                       "for that payment's interest, "),
        QStringLiteral("the # of regular periods before that payment, the # of odd days added "
                       "before that payment, "),
        QStringLiteral("the Old Balance, the new Interest added, the Payment deducted and the New "
                       "Balance."),
        QStringLiteral("  (4) If the Final Balance isn't zero you'll be advised, and told how to "
                       "edit the schedule to adjust it."),
        QStringLiteral("  (5) You can Save List before editing it, or Load another to try "
                       "alternatives without editing."),
        QStringLiteral("  (6) Edit the UPPER grid if you only need to revise a rate or an amount, "
                       "just  click in the cell(s)."),
        QStringLiteral("  (7) If you need to add or remove a payment group or rearrange them, "
                       "start over by clicking Clear List."),
        QStringLiteral("  (8) To get an APR or an Amortization with rounding from this Schedule, "
                       "click Move to Tab 5."),
        QStringLiteral("Note: Charts from this Tab are rounded only for display, the amortizing "
                       "math is NOT rounded."),
    };
    return lines;
}

UsingVaryPage::UsingVaryPage(Session& app) : Page(app, kId) {
    const QStringList& lines = Lines();
    for (int i = 0; i < int(lines.size()); ++i) {
        QLabel* line = Text(lines[i]);
        line->setObjectName(QStringLiteral("labUsingVary%1").arg(i + 1));
        // The two lines that continue item (d) stand indented under it.
        if (i == 16 || i == 17)
            line->setIndent(fontMetrics().horizontalAdvance(QStringLiteral("     (d) ")));
        Line(line);
    }
}

PerDiemPage::PerDiemPage(Session& app) : Page(app, kId) {
    Line(Heading(QStringLiteral("About One Repayment Loans")));
    Line(Text(QStringLiteral(
        "A one repayment loan, often called a payday or per diem loan, is a transaction with a "
        "single advance of money and a single repayment, due within a year. Such loans follow "
        "special rules: their APR is figured from a count of days and a year of 365 days, as "
        "simple interest that does not compound.")));
    Line(Text(QStringLiteral(
        "When the term is a whole number of months, less than a year, the lender may instead "
        "figure the APR on a monthly basis: enter the loan on Tab 2 (Reg.Pay) as one payment "
        "with a monthly interval and no extra days.")));
    Line(Text(QStringLiteral(
        "Every other one repayment loan belongs on the One Pay page, which figures the APR per "
        "day.")));
    Line(Text(QStringLiteral(
        "Counting the days of the term: count the day of the repayment, but not the day of the "
        "advance. A loan made on the 1st and repaid on the 15th of the same month runs 14 "
        "days.")));
    Gap();
    auto* butOnePay = Button("butOnePay", QStringLiteral("Goto One Pay"));
    Row({butOnePay});
    connect(butOnePay, &QPushButton::clicked, this, &PerDiemPage::butOnePayClick);
}

void PerDiemPage::butOnePayClick() {
    session().ShowPage(PageId::tabOnePay);
}
