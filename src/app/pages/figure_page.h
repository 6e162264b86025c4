#pragma once
// tabMax: figure the common payment of a regular schedule at a known rate.
#include <optional>
#include <vector>

#include "app/pages/page.h"
#include "core/apr_engine.h"
#include "schedule/regular_schedule.h"

class FigurePage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabMax;
    explicit FigurePage(Session& app);

    void ResetControls() override;
    // tabMaxEnter: hides the three notes; a report figured from a schedule
    // that has changed since gives way to the start text.
    void Enter() override;

    // Exit handler of the rate box: the rate counts once the box is left.
    void edMaxRateExit();
    // "Adjust Payments": the search on the regular page's schedule, the
    // report in redFound and that page's summary refreshed.
    void butFindClick();
    // "Reset All": Reset, then the regular page to enter a schedule on.
    void butMaxResetClick();
    // "Print Report": the report on the current printer, without a dialog.
    void butPrintItClick();

  protected:
    // The rate box counts once it is left; after Reset its "10.00" is not a
    // rate until the user has been in it, so the page does not put the focus
    // there by itself.
    bool ComesBackToFirstBoxAfterReset() const override { return false; }

  private:
    // What a report was figured from: the regular page's schedule as its
    // boxes read, its interval, the rate and the rounding of interest.
    struct ReportBasis {
        qv::RegularTexts regular;
        int interval = 1;
        double rate = 0.0;
        double roundAdd = 0.5;
        bool operator==(const ReportBasis&) const = default;
    };
    ReportBasis BasisNow() const;

    void ShowReport(const qv::ChartText& lines);
    // The report box back to its start text, asking for a new search.
    void ReportPending();
    void ShowNotes(bool visible);

    QLineEdit* edMaxRate_;
    QCheckBox* cbxShowAmort_;
    QPlainTextEdit* redFound_;
    std::vector<QLabel*> notes_;
    // Set while redFound shows a report.
    std::optional<ReportBasis> reportBasis_;
};
