#include "app/pages/regular_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/entry_box.h"
#include "app/focus_exit_filter.h"
#include "app/main_window.h"
#include "app/pages/chart_page.h"
#include "app/pages/one_pay_page.h"
#include "app/radio_group.h"
#include "core/apr_engine.h"
#include "core/format.h"
#include "core/number_entry.h"
#include "core/pay_schedule.h"

namespace {

const QString kStartStatus = QStringLiteral(
    "As you move among white data entry boxes above, you'll find Hints and other Information "
    "here.");

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string S(const QLineEdit* box) {
    return box->text().toStdString();
}

}  // namespace

RegularPage::RegularPage(TforMain& main) : Page(main, kId) {
    Line(
        Text(QStringLiteral("If payments (other than the first or last) are irregular, go to Tab "
                            "3. To edit a schedule go to Tab 5.")));

    Line(Label(QStringLiteral("First, enter the main values for this loan:  ")));
    edSimpAmtFin_ = Box("edSimpAmtFin", QStringLiteral("0.00"),
                        QStringLiteral("Amount Financed excludes the Finance Charge."), 12);
    QLabel* amtFinLabel = Label(QStringLiteral("Amount Financed,"));
    amtFinLabel->setToolTip(QStringLiteral("As TIL defines Amount Financed."));
    edSimpInnerNoPay_ =
        Box("edSimpInnerNoPay", QStringLiteral("0"), QStringLiteral("Positive Integer > 0"), 4);
    edSimpRegPay_ =
        Box("edSimpRegPay", QStringLiteral("0.00"),
            QStringLiteral("Only 1st and Last Payment may differ from this amount."), 10);
    Row({edSimpAmtFin_, amtFinLabel, edSimpInnerNoPay_, Label(QStringLiteral("installments &")),
         edSimpRegPay_, Label(QStringLiteral("$ per most Common Payment."))});
    Line(Text(
        QStringLiteral("But if you have varying payments besides the first or last, use Tab 3.")));

    rgpSimpInterval_ = Radio(
        "rgpSimpInterval",
        QStringLiteral(
            "Second, choose the MOST COMMON Interval between payments (* nominal duration in "
            "days):"),
        {QStringLiteral("Annually (1/a,365 days)"), QStringLiteral("Monthly (12/a,30*days)"),
         QStringLiteral("HalfMonthly (24/a,15*days)"), QStringLiteral("TwoWeekly (26+/a,14 days)"),
         QStringLiteral("Weekly (52+/a,7 days)")},
        3, QStringLiteral("Which Interval appears most often in the Payment Schedule."));
    Line(rgpSimpInterval_);

    Line(Label(QStringLiteral(
        "Third, if the FIRST Payment is different from the others, describe it here:")));
    edSimp1stPay_ = Box("edSimp1stPay", QStringLiteral("0.00"),
                        QStringLiteral("Any amount >0 and <= Total of Payments."), 10);
    edSimp1stNoPd_ = Box("edSimp1stNoPd", QStringLiteral("0"),
                         QStringLiteral("0 here only if short 1st Interval has Added Days > 0"), 4);
    edSimp1stExtra_ = Box("edSimp1stExtra", QStringLiteral("0"),
                          QStringLiteral("Must >0 if 1st Full Interval = 0"), 4);
    Row({edSimp1stPay_, Label(QStringLiteral(" $ 1st Payment Amt.")), edSimp1stNoPd_,
         Label(QStringLiteral("Common Intervals in 1st Interval,")), edSimp1stExtra_,
         Label(QStringLiteral("Added Days in 1st Interval."))});

    Line(Label(QStringLiteral(
        "Fourth, if the LAST Payment is different from the others, describe it here:")));
    edSimpLastPay_ =
        Box("edSimpLastPay", QStringLiteral("0.00"),
            QStringLiteral("= Total of Payments - all other payments, as shown above."), 10);
    edSimpLastNoPd_ =
        Box("edSimpLastNoPd", QStringLiteral("0"),
            QStringLiteral("0 here only if short Last interval has Added Days >0"), 4);
    edSimpLastExtra_ = Box("edSimpLastExtra", QStringLiteral("0"),
                           QStringLiteral("Must >0 if no Common Intervals in Last Interval"), 4);
    Row({edSimpLastPay_, Label(QStringLiteral(" $ Last Payment Amt.")), edSimpLastNoPd_,
         Label(QStringLiteral("Common Intervals in Last Interval,")), edSimpLastExtra_,
         Label(QStringLiteral("Added Days in Last Interval"))});

    labSimpToP_ = Text(QStringLiteral("Schedule above shows 0 Payments which Total $ 0.00, with $ "
                                      "0.00 Finance Charge "),
                       "labSimpToP");
    labSimpToP_->setToolTip(QStringLiteral("Recompute this by clicking on Last Payment amount."));
    labSimpToP_->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    Line(labSimpToP_);

    Line(Label(QStringLiteral(
        "Fifth, when you have the ENTIRE payment scheduled entered above, click below:")));
    // Created in the page's tab order: the result box before its button.
    edSimpAPR_ = ResultBox("edSimpAPR", QStringLiteral("Pending"));
    auto* butSimpleAPR = Button("butSimpleAPR", QStringLiteral("Compute APR"),
                                QStringLiteral("If the Schedule is complete, click here."));
    Row({butSimpleAPR, edSimpAPR_, Label(QStringLiteral("APR%"))});

    auto* butChartSimple = Button("butChartSimple", QStringLiteral("Print Amortization"));
    Row({Label(QStringLiteral("Sixth, Click here ")), butChartSimple,
         Label(QStringLiteral("or on Tab 4 to review an Amortization Chart before printing."))});

    auto* butResetSimple = Button("butResetSimple", QStringLiteral("Reset All"),
                                  QStringLiteral("Click to Start Over"));
    edStatusBar_ = new QLineEdit(this);
    edStatusBar_->setObjectName(QStringLiteral("edStatusBar"));
    edStatusBar_->setReadOnly(true);
    edStatusBar_->setToolTip(
        QStringLiteral("These Hints change as you move among data entry boxes."));
    edStatusBar_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    edStatusBar_->setText(kStartStatus);
    auto* butGoTolerances2 = Button("butGoTolerances2", QStringLiteral("About APR Tolerances"));
    auto* butMax = Button("butMax", QStringLiteral("Figure a Regular Schedule"));
    Row({butResetSimple, butGoTolerances2, butMax});
    Line(edStatusBar_);

    // An APR on screen belongs to the schedule on screen: any change to the
    // schedule makes it pending until the next "Compute APR".
    for (QLineEdit* input :
         {edSimpAmtFin_, edSimpInnerNoPay_, edSimpRegPay_, edSimp1stPay_, edSimp1stNoPd_,
          edSimp1stExtra_, edSimpLastPay_, edSimpLastNoPd_, edSimpLastExtra_}) {
        connect(input, &QLineEdit::textEdited, this, &RegularPage::AprPending);
    }
    connect(rgpSimpInterval_, &RadioGroup::ItemIndexChanged, this, &RegularPage::AprPending);

    connect(butSimpleAPR, &QPushButton::clicked, this, &RegularPage::butSimpleAPRClick);
    connect(butChartSimple, &QPushButton::clicked, this, &RegularPage::butChartSimpleClick);
    connect(butResetSimple, &QPushButton::clicked, this, &RegularPage::butResetSimpleClick);
    connect(butGoTolerances2, &QPushButton::clicked, this, &RegularPage::butGoTolerances2Click);
    connect(butMax, &QPushButton::clicked, this, &RegularPage::butMaxClick);

    OnExit(edSimpAmtFin_, &RegularPage::edSimpAmtFinExit);
    OnExit(edSimpInnerNoPay_, &RegularPage::edSimpInnerNoPayExit);
    OnExit(edSimpRegPay_, &RegularPage::edSimpRegPayExit);
    OnExit(rgpSimpInterval_, &RegularPage::rgpSimpIntervalExit);
    OnExit(edSimp1stPay_, &RegularPage::edSimp1stPayExit);
    OnExit(edSimp1stNoPd_, &RegularPage::edSimp1stNoPdExit);
    OnExit(edSimp1stExtra_, &RegularPage::edSimp1stExtraExit);
    OnExit(edSimpLastPay_, &RegularPage::edSimpLastPayExit);
    OnExit(edSimpLastNoPd_, &RegularPage::edSimpLastNoPdExit);
    OnExit(edSimpLastExtra_, &RegularPage::edSimpLastExtraExit);

    // Entering a control puts its hint into the status line.
    const std::pair<QWidget*, QString> hints[] = {
        {edSimpAmtFin_,
         QStringLiteral("Amount Financed is the principal paid at loan commencement. Hit the TAB "
                        "button to move to the next entry point.")},
        {edSimpInnerNoPay_, QStringLiteral("Enter the Total Number of Payments scheduled.")},
        {edSimpRegPay_, QStringLiteral("Enter the dollar size of the Most Common Payment amount.")},
        {rgpSimpInterval_, QStringLiteral("If there is no repeating interval, use Tab 2.")},
        {edSimp1stPay_, QStringLiteral("Describe only the FIRST Payment on this line.")},
        {edSimp1stNoPd_,
         QStringLiteral("The first interval may be zero or more than 1 regular payment long.")},
        {edSimp1stExtra_, QStringLiteral("If the first interval is zero Regular periods long, "
                                         "this entry must be >0.")},
        {edSimpLastNoPd_,
         QStringLiteral("The last interval maybe zero or more than one regular period long.")},
        {edSimpLastExtra_, QStringLiteral("If the last interval is zero regular periods long, "
                                          "this entry must be >0.")},
    };
    for (const auto& [control, hint] : hints) {
        Focus().OnEnter(control, [this, text = hint] { Status(text); });
    }
    // The summary is brought up to date as the user comes to the last payment,
    // which is meant to make the schedule add up.
    Focus().OnEnter(edSimpLastPay_, [this] {
        Status(
            QStringLiteral("The last payment maybe much larger than the regular payment amount."));
        UpdateSimpleSummary();
    });
}

void RegularPage::ResetControls() {
    edSimpAmtFin_->setText(QStringLiteral("0.00"));
    edSimp1stPay_->setText(QStringLiteral("0.00"));
    edSimpLastPay_->setText(QStringLiteral("0.00"));
    edSimpRegPay_->setText(QStringLiteral("0.0"));
    for (QLineEdit* box :
         {edSimp1stNoPd_, edSimp1stExtra_, edSimpInnerNoPay_, edSimpLastNoPd_, edSimpLastExtra_}) {
        box->setText(QStringLiteral("0"));
    }
    edSimpAPR_->setText(QStringLiteral("Pending"));
    rgpSimpInterval_->SetItemIndex(1);
    labSimpToP_->setText(
        QStringLiteral("Above Schedule now shows 0 Payments which Total $ 0.00, with $ 0.00 "
                       "Finance Charge"));
    edStatusBar_->setText(kStartStatus);
}

// --- helpers -----------------------------------------------------------------

void RegularPage::OnExit(QWidget* control, void (RegularPage::*handler)()) {
    Focus().OnExit(control, [this, handler] { (this->*handler)(); });
}

// A refused entry resets its box; the summary then counts the box as it
// reads, not the value that was refused.
bool RegularPage::CheckAmount(QLineEdit* box, const char* name, double& target) {
    const bool valid = TakeEntry(box, qv::ValidateFloat2(name, S(box)), target, Main().Port());
    if (!valid) UpdateSimpleSummary();
    return valid;
}

bool RegularPage::CheckWhole(QLineEdit* box, const char* name, std::int32_t& target) {
    const bool valid = TakeEntry(box, qv::ValidateInteger2(name, S(box)), target, Main().Port());
    if (!valid) UpdateSimpleSummary();
    return valid;
}

void RegularPage::AprPending() {
    edSimpAPR_->setText(QStringLiteral("Pending"));
}

void RegularPage::Inform(std::string_view text) {
    Main().Port().Inform(text);
}

void RegularPage::Status(const QString& text) {
    edStatusBar_->setText(text);
}

qv::RegularTexts RegularPage::BoxTexts() const {
    qv::RegularTexts t;
    t.AmtFin = S(edSimpAmtFin_);
    t.PayCount = S(edSimpInnerNoPay_);
    t.RegPay = S(edSimpRegPay_);
    t.FirstPay = S(edSimp1stPay_);
    t.FirstPds = S(edSimp1stNoPd_);
    t.FirstExtra = S(edSimp1stExtra_);
    t.LastPay = S(edSimpLastPay_);
    t.LastPds = S(edSimpLastNoPd_);
    t.LastExtra = S(edSimpLastExtra_);
    return t;
}

std::int32_t RegularPage::PageDaysPerPd() const {
    if (auto period = qv::IntervalUnitPeriod(rgpSimpInterval_->ItemIndex())) {
        return period->DaysPerPd;
    }
    return Main().State().DaysPerPd;
}

void RegularPage::TakeSimpleInterval() {
    const int item = rgpSimpInterval_->ItemIndex();
    if (auto* rgpBasePd = Main().findChild<RadioGroup*>(QStringLiteral("rgpBasePd"))) {
        rgpBasePd->SetItemIndex(item);
    }
    if (auto period = qv::IntervalUnitPeriod(item)) {
        Main().State().DaysPerPd = period->DaysPerPd;
        Main().State().PdsPerYear = period->PdsPerYear;
    }
}

// --- summary and groups --------------------------------------------------------

void RegularPage::UpdateSimpleSummary() {
    qv::LoanState& s = Main().State();
    const qv::SimpleSummary summary = qv::SummarizeRegular(qv::ReadRegularBoxes(BoxTexts()));
    s.PayCount = summary.PayCount;
    s.TotPay = summary.TotPay;
    s.AmtFin = summary.AmtFin;
    labSimpToP_->setText(Q(summary.text));
}

void RegularPage::SimplePaySet() {
    qv::SimplePaySet(Main().State(), Main().mdsPaySet(), qv::ReadRegularBoxes(BoxTexts()),
                     Main().Port());
}

// --- exit handlers ---------------------------------------------------------------

void RegularPage::edSimpAmtFinExit() {
    qv::LoanState& s = Main().State();
    if (!CheckAmount(edSimpAmtFin_, "Amount Financed", s.AmtFin)) return;
    if (s.AmtFin < 0.01 && (edSimpInnerNoPay_->text() != QLatin1String("0") || s.RegPay > 0)) {
        Inform(qv::kZeroAmountFinancedText);
        FocusForTyping(edSimpAmtFin_);
        return;
    }
    UpdateSimpleSummary();
}

void RegularPage::edSimpInnerNoPayExit() {
    qv::LoanState& s = Main().State();
    if (!CheckWhole(edSimpInnerNoPay_, "Number of Payments", s.PayCount)) return;
    if (edSimpRegPay_->text() != QLatin1String("0.0") && s.PayCount > 0) {
        const QString common = Q(qv::FloatToStr(s.RegPay));
        edSimp1stPay_->setText(common);
        edSimp1stNoPd_->setText(QStringLiteral("1"));
        edSimp1stExtra_->setText(QStringLiteral("0"));
        const bool hasLast = s.PayCount > 1;
        edSimpLastPay_->setText(hasLast ? common : QStringLiteral("0.00"));
        edSimpLastNoPd_->setText(hasLast ? QStringLiteral("1") : QStringLiteral("0"));
        edSimpLastExtra_->setText(QStringLiteral("0"));
    }
    UpdateSimpleSummary();
}

void RegularPage::edSimpRegPayExit() {
    qv::LoanState& s = Main().State();
    if (!CheckAmount(edSimpRegPay_, "Payment Amount", s.RegPay)) return;
    const QString countText = edSimpInnerNoPay_->text();
    const bool noCount = countText == QLatin1String("0");
    if (s.RegPay > 0 && noCount) {
        Inform(qv::ZeroPaymentsOfText(s.RegPay));
        FocusForTyping(edSimpInnerNoPay_);
        return;
    }
    if (!noCount && s.RegPay == 0) {
        Inform(qv::PaymentsOfZeroText(countText.toStdString()));
        FocusForTyping(edSimpRegPay_);
        return;
    }
    if (s.AmtFin < 0.01 && (!noCount || s.RegPay > 0)) {
        Inform(qv::kZeroAmountFinancedText);
        FocusForTyping(edSimpAmtFin_);
        return;
    }
    if (s.RegPay > 0 && s.PayCount > 0 && double(s.PayCount) * s.RegPay < s.AmtFin) {
        Inform(qv::kAmountOverTotalText);
        FocusForTyping(edSimpAmtFin_);
        return;
    }

    // The first and last payments default to the common payment, one
    // period apart.
    const QString common = Q(qv::FloatToStr(s.RegPay));
    const QString zero = QStringLiteral("0");
    if (edSimp1stPay_->text() == QLatin1String("0.00")) {
        edSimp1stPay_->setText(common);
        s.FirstPay = s.RegPay;
    }
    if (edSimp1stNoPd_->text() == zero && edSimp1stExtra_->text() == zero) {
        s.FirstPds = 1;
        edSimp1stNoPd_->setText(QStringLiteral("1"));
        edSimp1stExtra_->setText(zero);
        s.FirstExtra = 0;
    }
    if (s.PayCount > 1) {
        if (edSimpLastPay_->text() == QLatin1String("0.00")) {
            s.LastPay = s.RegPay;
            edSimpLastPay_->setText(common);
        }
        if (edSimpLastNoPd_->text() == zero && edSimpLastExtra_->text() == zero) {
            edSimpLastNoPd_->setText(QStringLiteral("1"));
            s.LastPds = 1;
            edSimpLastExtra_->setText(zero);
            s.LastExtra = 0;
        }
    } else {
        edSimpLastPay_->setText(QStringLiteral("0.00"));
        s.LastPay = 0;
        edSimpLastNoPd_->setText(zero);
        s.LastPds = 0;
        edSimpLastExtra_->setText(zero);
        s.LastExtra = 0;
    }
    UpdateSimpleSummary();
}

void RegularPage::rgpSimpIntervalExit() {
    TakeSimpleInterval();
}

void RegularPage::edSimp1stPayExit() {
    qv::LoanState& s = Main().State();
    if (!CheckAmount(edSimp1stPay_, "First Payment", s.FirstPay)) return;
    if (s.FirstPay > 0 && edSimp1stNoPd_->text() == QLatin1String("0") &&
        edSimp1stExtra_->text() == QLatin1String("0")) {
        Inform(qv::kNonZeroIntervalText);
        FocusForTyping(edSimp1stNoPd_);
        return;
    }
    UpdateSimpleSummary();
}

void RegularPage::edSimp1stNoPdExit() {
    qv::LoanState& s = Main().State();
    if (!CheckWhole(edSimp1stNoPd_, "First Number of Common Periods", s.FirstPds)) return;
    if (s.FirstPds > 0 || qv::BoxWhole(S(edSimp1stExtra_)) != 0) {
        UpdateSimpleSummary();
        return;
    }
    Inform(qv::kZeroPeriodsNeedDaysText);
    FocusForTyping(edSimp1stExtra_);
}

void RegularPage::edSimp1stExtraExit() {
    qv::LoanState& s = Main().State();
    if (!CheckWhole(edSimp1stExtra_, "First Number of Extra Days", s.FirstExtra)) return;
    // The carry goes by the interval this page shows; FirstPds takes the
    // periods box when that box is next left.
    const std::int32_t daysPerPd = PageDaysPerPd();
    const qv::ExtraDaysCarry carry =
        qv::CarryExtraDays(qv::BoxWhole(S(edSimp1stNoPd_)), s.FirstExtra, daysPerPd);
    if (carry.carried) {
        Inform(qv::FirstExtraDaysText(daysPerPd));
        edSimp1stNoPd_->setText(QString::number(carry.periods));
        s.FirstExtra = carry.days;
        edSimp1stExtra_->setText(QString::number(carry.days));
    }
    UpdateSimpleSummary();
}

void RegularPage::edSimpLastPayExit() {
    if (!CheckAmount(edSimpLastPay_, "Last Payment", Main().State().LastPay)) return;
    UpdateSimpleSummary();
}

void RegularPage::edSimpLastNoPdExit() {
    qv::LoanState& s = Main().State();
    if (!CheckWhole(edSimpLastNoPd_, "Last Number of Common Periods", s.LastPds)) return;
    if (s.LastPds == 0 && qv::BoxWhole(S(edSimpLastExtra_)) == 0) {
        Inform(qv::kLastNeedsDaysText);
        FocusForTyping(edSimpLastExtra_);
    }
    UpdateSimpleSummary();
}

void RegularPage::edSimpLastExtraExit() {
    qv::LoanState& s = Main().State();
    if (!CheckWhole(edSimpLastExtra_, "Last Number of Extra Days", s.LastExtra)) return;
    const std::int32_t daysPerPd = PageDaysPerPd();
    const qv::ExtraDaysCarry carry =
        qv::CarryExtraDays(qv::BoxWhole(S(edSimpLastNoPd_)), s.LastExtra, daysPerPd);
    if (carry.carried) {
        Inform(qv::LastExtraDaysText(daysPerPd));
        edSimpLastNoPd_->setText(QString::number(carry.periods));
        s.LastExtra = carry.days;
        edSimpLastExtra_->setText(QString::number(carry.days));
    }
    UpdateSimpleSummary();
}

// --- commands ------------------------------------------------------------------

void RegularPage::butSimpleAPRClick() {
    qv::LoanState& s = Main().State();
    // The schedule is computed on the interval this page shows, whichever
    // page set the unit period last.
    TakeSimpleInterval();
    const qv::RegularTexts texts = BoxTexts();
    const qv::RegularBoxes boxes = qv::ReadRegularBoxes(texts);
    qv::StoreRegularBoxes(s, boxes);
    s.PayCount = boxes.PayCount;

    bool ok = !qv::HasPaymentWithNoDuration(texts);
    if (s.PayCount > qv::kMaxPayments) {
        Inform(qv::kTooManyRegularPaymentsText);
        ok = false;
    }
    if (ok) {
        SimplePaySet();
        ok = qv::IntegrityMdsPaySet(s, Main().mdsPaySet(), Main().Port());
    }

    const qv::SinglePaymentDecision single = qv::RouteSinglePayment(s.PayCount, texts, s.DaysPerPd);
    switch (single.route) {
        case qv::SinglePaymentRoute::NotSingle:
            s.PerDiem = false;
            break;
        case qv::SinglePaymentRoute::PeriodsNotInteger:
            Inform(qv::kFirstPdsNotIntegerText);
            ok = false;
            break;
        case qv::SinglePaymentRoute::PeriodsNegative:
            Inform(qv::kFirstPdsNegativeText);
            ok = false;
            break;
        case qv::SinglePaymentRoute::PerDiemOverAYear:
            s.PerDiem = true;
            Inform(qv::kAnnualCompoundingText);
            break;
        case qv::SinglePaymentRoute::OnePaymentPage:
            // The general computation below is on the unit-period basis
            // whatever an earlier schedule needed.
            s.PerDiem = false;
            Main().GetPage<OnePayPage>().TakeOnePayment(single.days, boxes.AmtFin, s.FirstPay);
            Main().ShowPage(PageId::tabOnePay);
            break;
    }

    if (ok) {
        if (Main().RunGetAPR() == qv::AprOutcome::Computed) {
            edSimpAPR_->setText(Q(qv::FloatToStrF(s.APR, qv::FloatStyle::Number, 8, 3)) +
                                QLatin1Char('%'));
        }
    } else {
        Main().Port().Warn(qv::kNoDurationText);
        edSimpAPR_->setText(QStringLiteral("InputError"));
    }
    s.ScheduleSource = qv::kSourceRegular;
}

void RegularPage::butResetSimpleClick() {
    Main().Reset();
    Main().ShowPage(PageId::tabAbout);
}

void RegularPage::butGoTolerances2Click() {
    Main().State().ScheduleSource = qv::kSourceRegular;
    Main().ShowPage(PageId::tabIntro);
}

void RegularPage::butMaxClick() {
    Main().ShowPage(PageId::tabMax);
}

void RegularPage::butChartSimpleClick() {
    ChartPage& chart = Main().GetPage<ChartPage>();
    chart.butChartEstClick();
    chart.butPrintClick();
}
