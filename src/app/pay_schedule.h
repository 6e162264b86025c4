#pragma once
// The schedule the APR pages work on: the payment groups (mdsPaySet), the
// common interval, whether the groups may be edited in the grids, and the
// last successful APR computation. Load, save, the integrity test and the
// APR estimate work on it here, whichever page or menu asks; the pages that
// show the schedule follow its signals.
//
// The chart page's entry recomputes the schedule on the page that made it:
// each APR page registers its command for its schedule source, so the
// schedule never names a page.
#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/app_settings.h"
#include "app/chart_document.h"
#include "app/kept_file_dialog.h"
#include "app/platform_port.h"
#include "chart/amortization.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "data/memdset.h"
#include "schedule/apr_estimate.h"
#include "schedule/schedule_file.h"

// What an APR page offers for the schedule source it makes.
struct AprPageCommands {
    std::function<void()> recompute;        // its APR command, run again
    std::function<bool()> showsInputError;  // its APR box reads "InputError"
};

class PaySchedule : public QObject {
    Q_OBJECT
  public:
    PaySchedule(qv::LoanState& state, qv::TMemDataSet& paySet, AppSettings& settings,
                ChartDocument& chart, PlatformPort& port);
    ~PaySchedule() override;

    qv::TMemDataSet& PaySet() const { return paySet_; }

    // --- the common interval (the irregular page's choice; nothing while
    // its group has no item checked) -------------------------------------
    std::optional<qv::Interval> Interval() const { return interval_; }
    void SetInterval(std::optional<qv::Interval> interval);
    // A load or a move chose the interval: the regular page shows it too.
    void ChooseInterval(qv::Interval interval);

    // --- the groups -----------------------------------------------------------
    bool Editable() const { return editable_; }
    void SetEditable(bool editable);
    // A grid of the groups lost the focus after the user may have edited
    // them; a group was deleted.
    void NoteGroupsLeft() { emit GroupsLeft(); }
    void NoteGroupDeleted() { emit GroupDeleted(); }
    // The amount financed a move brought, as its box shows it.
    void TakeAmountFinanced(const QString& boxText) { emit AmountFinancedTaken(boxText); }
    // The user picked the regular page with an irregular schedule loaded:
    // the page that works on it takes the user.
    void RedirectLoaded() { emit LoadedRedirected(); }

    // Groups read with a header (from a file or handed over by another page)
    // replaced the table: the pages show the interval, amounts and
    // regular-schedule boxes they came with.
    void ShowLoaded(const qv::ScheduleLoad& load);

    // --- commands ---------------------------------------------------------------
    // "Save This Schedule" (the File menu's too).
    void Save();
    // "Load a Schedule": a chosen file replaces the groups; whether or not
    // one was chosen, the schedule is tested and its APR estimated.
    void Load();
    // "Test Sched. Integrity": recounts the groups into the loan's count and
    // total, reports them and offers to correct the amount financed.
    void Test();
    // The irregular page's "Estimate APR" on the groups in the common
    // interval; empty when the schedule's own checks stopped it before the
    // engine ran.
    std::optional<qv::AprOutcome> Estimate();
    // The APR engine on the groups as they stand (the regular page's).
    qv::AprOutcome RunGetAPR();

    // --- results ----------------------------------------------------------------
    // How a run of the APR engine ended: a computed rate's report replaces
    // the chart text and becomes the schedule the chart page charts; a
    // failure leaves the chart text saying there is no current report.
    void TakeAprResult(qv::AprOutcome outcome, const qv::ChartText& report);
    // The schedule on screen could not be computed: the chart text no longer
    // shows an earlier schedule's report as if it were this one's.
    void ReportNotCurrent();
    // "Chart Amortization" of the last computation, with the rounding and
    // chart settings in force now; false when there was no schedule to chart
    // (the user has been told).
    bool ChartAmortization() {
        return chart_.ChartAmortization(computed_.get(), state_.loan.RoundAdd, settings_.Chart(),
                                        port_);
    }
    // The last successful computation since Reset; nullptr when none.
    const qv::ComputedSchedule* LastComputed() const { return computed_.get(); }

    // --- the APR pages -----------------------------------------------------------
    void RegisterAprPage(std::int32_t source, AprPageCommands commands);
    // Runs the APR command of the page that makes `source`, if any.
    void Recompute(std::int32_t source);
    // Whether an APR page shows "InputError".
    bool AprShowsInputError() const;

    // Nothing computed, the start interval, groups not editable.
    void Reset();

  signals:
    void IntervalChanged(std::optional<qv::Interval> interval);
    void IntervalChosen(qv::Interval interval);
    void EditableChanged(bool editable);
    void GroupsLeft();
    void GroupDeleted();
    // A loaded schedule's amounts and regular-schedule boxes.
    void Loaded(const qv::ScheduleLoad& load);
    // The test took the groups' count and total as the loan's, and the
    // amount financed the user confirmed.
    void TotalsTaken(const QString& totPay, const QString& payCount);
    void AmountFinancedTaken(const QString& amtFin);
    void LoadedRedirected();
    // An APR computation ended; the pages showing APRs react.
    void AprTaken(qv::AprOutcome outcome);
    // The estimate's summary and rate, for the page that shows them.
    void Estimated(const qv::AprEstimate& estimate);

  private:
    // Before a load, `loading` is the file the load is about to read, which
    // the save may not replace.
    void SaveSchedule(const std::optional<std::filesystem::path>& loading);
    // Asks to save the current groups, then loads `file`; false when the
    // file could not be loaded (nothing changed).
    bool LoadSchedule(const std::string& file);

    qv::LoanState& state_;
    qv::TMemDataSet& paySet_;
    AppSettings& settings_;
    ChartDocument& chart_;
    PlatformPort& port_;
    KeptFileDialog saveDialog_;
    KeptFileDialog openDialog_;
    std::optional<qv::Interval> interval_ = qv::kStartInterval;
    bool editable_ = false;
    std::unique_ptr<qv::ComputedSchedule> computed_;
    std::map<std::int32_t, AprPageCommands> aprPages_;
};
