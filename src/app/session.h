#pragma once
// What a page may ask of the program it belongs to: the loan state and the
// four record tables, the platform port, moving between pages, Reset, the
// APR computation and the chart text box that several pages write into.
//
// Pages depend on this interface only, never on the main window or on each
// other: the window implements it, owns the pages and wires the signals by
// which one page reacts to another.
#include <QWidget>
#include <optional>

#include "app/kept_file_dialog.h"
#include "app/page_id.h"
#include "app/platform_port.h"
#include "chart/amortization.h"
#include "core/apr_engine.h"
#include "core/loan_state.h"
#include "data/memdset.h"
#include "schedule/regular_schedule.h"
#include "schedule/schedule_file.h"

class Session {
  public:
    virtual ~Session() = default;

    virtual qv::LoanState& State() = 0;
    virtual PlatformPort& Port() = 0;
    virtual qv::TMemDataSet& mdsPaySet() = 0;
    virtual qv::TMemDataSet& mdsDetail() = 0;
    virtual qv::TMemDataSet& mdsVariable() = 0;
    virtual qv::TMemDataSet& mdsVarSchedule() = 0;

    // Shows a page, with or without a tab in the strip. A page reached from
    // another runs its entry action and gets the input focus (on `focusTarget`
    // when given, else on the control that last had it there, else on its
    // first control).
    virtual void ShowPage(PageId id, QWidget* focusTarget = nullptr) = 0;
    // Shows a page without running its entry action: the chart page after a
    // side tool has written its own chart, which that page's entry (it
    // recomputes the last APR, whose report replaces the chart text) would
    // otherwise throw away.
    virtual void ShowPageAsIs(PageId id) = 0;
    virtual PageId ActivePage() const = 0;

    // Every variable, every page's controls and the payment tables back to
    // their start state. The page shown does not change.
    virtual void Reset() = 0;
    // "Reset && Clear" and the pages' "Reset All": Reset, then the
    // introduction page.
    virtual void ResetAndShowIntro() = 0;

    // The switches of the settings page, as the engine takes them.
    virtual qv::AprSettings AprSettingsNow() const = 0;
    virtual qv::ChartOptions ChartOptionsNow() const = 0;
    virtual bool DebugFindPayment() const = 0;

    // Runs the APR engine on mdsPaySet. A computed APR's report replaces the
    // chart text; a failure has been told through the port, and both APR
    // pages show "InputError".
    virtual qv::AprOutcome RunGetAPR() = 0;
    // How a run of the APR engine made elsewhere (the irregular page's
    // estimate) ended: a computed rate's report replaces the chart text and
    // becomes the schedule the chart page charts; a failure shows
    // "InputError" on both APR pages.
    virtual void TakeAprResult(qv::AprOutcome outcome, const qv::ChartText& report) = 0;
    // The schedule on screen could not be computed: the chart text no longer
    // shows an earlier schedule's report as if it were this one's.
    virtual void ReportNotCurrent() = 0;
    // The schedule and amounts of the last successful RunGetAPR since Reset;
    // nullptr when there is none.
    virtual const qv::ComputedSchedule* LastComputed() const = 0;
    // What the chart page's entry needs: recomputing the current schedule on
    // the page that made it, and whether that ended in an input error.
    virtual qv::ChartPageHost& ChartHost() = 0;
    // The irregular page's "Estimate APR" on the groups of mdsPaySet; empty
    // when the schedule's own checks stopped it before the engine ran.
    virtual std::optional<qv::AprOutcome> EstimateIrregularAPR() = 0;

    // The editor's "Test Sched. Integrity": recounts the groups into the
    // loan's count and total, reports them and offers to correct the amount
    // financed.
    virtual void TestScheduleIntegrity() = 0;
    // The irregular page's group grid becomes editable.
    virtual void MakeScheduleGridEditable() = 0;
    // The common interval of the irregular page (rgpBasePd) and of the
    // regular page (rgpSimpInterval), as a load or a move sets it.
    virtual void ShowScheduleInterval(int item) = 0;
    // The item of rgpBasePd, the interval a saved schedule carries.
    virtual int ScheduleIntervalItem() const = 0;
    // A loaded schedule's amounts and regular-schedule boxes.
    virtual void ShowLoadedSchedule(const qv::ScheduleLoad& load) = 0;
    // The save and open dialogs of schedule and list files; each proposes
    // the path chosen in it last.
    virtual KeptFileDialog& dlgSavePayset() = 0;
    virtual KeptFileDialog& dlgOpenPaySet() = 0;

    // The regular page's schedule as its boxes read, the interval it shows,
    // and its summary line, for the figure-a-schedule page.
    virtual qv::RegularTexts RegularScheduleTexts() const = 0;
    virtual int RegularIntervalItem() const = 0;
    virtual void ShowRegularSummary(const std::string& text) = 0;

    // The chart text box, which the APR report, the amortization chart and
    // the side tools' charts share.
    virtual qv::ChartText ChartLines() const = 0;
    virtual void SetChartLines(const qv::ChartText& lines) = 0;
    // The caption beside "Chart Amortization" (labChart7).
    virtual void SetChartCaption(const std::string& caption) = 0;
    // "Chart Amortization" on the chart page; false when there was no
    // schedule to chart (the user has been told).
    virtual bool ChartAmortization() = 0;
    // "Print Chart": the print dialog, then the chart text.
    virtual void PrintChart() = 0;
};
