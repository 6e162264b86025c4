#pragma once
// What a page may ask of the program it belongs to: the loan state, the
// platform port, the record tables, moving between pages, Reset, and the
// values that are current for the whole program (settings, chart document,
// payment schedule, regular schedule), each with its changed signals.
//
// Pages depend on this interface only, never on the main window or on each
// other: one page reacts to another by following those values' signals.
#include <QWidget>

#include "app/app_settings.h"
#include "app/chart_document.h"
#include "app/page_id.h"
#include "app/pay_schedule.h"
#include "app/platform_port.h"
#include "app/regular_inputs.h"
#include "core/loan_state.h"
#include "data/memdset.h"

// The record tables beside the payment groups (which are the schedule's).
enum class TableId {
    mdsDetail,       // the chart page's payments
    mdsVariable,     // the variable-rate list
    mdsVarSchedule,  // its amortization
};

class Session {
  public:
    virtual ~Session() = default;

    virtual qv::LoanState& State() = 0;
    virtual PlatformPort& Port() = 0;
    virtual qv::TMemDataSet& Table(TableId id) = 0;

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

    virtual AppSettings& Settings() = 0;
    virtual ChartDocument& Chart() = 0;
    virtual PaySchedule& Schedule() = 0;
    virtual RegularInputs& Regular() = 0;
};
