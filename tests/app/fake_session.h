#pragma once
// A session without a window, for building one page on its own: the values
// and tables are real, the port records, and moving between pages or
// resetting is only written down.
#include <vector>

#include "app/recording_platform_port.h"
#include "app/session.h"
#include "chart/amortization.h"
#include "core/pay_group.h"
#include "varrate/var_group.h"

class FakeSession : public Session {
  public:
    FakeSession() : schedule(state, paySet, settings, chart, port) {
        qv::ResetLoanState(state);
        qv::DefinePaySetTable(paySet);
        qv::DefineDetailTable(detail);
        qv::DefineVariableTable(variable);
        qv::DefineVarScheduleTable(varSchedule);
    }

    qv::LoanState& State() override { return state; }
    PlatformPort& Port() override { return port; }
    qv::TMemDataSet& Table(TableId id) override {
        switch (id) {
            case TableId::mdsDetail:
                return detail;
            case TableId::mdsVariable:
                return variable;
            case TableId::mdsVarSchedule:
                return varSchedule;
        }
        return detail;
    }
    void ShowPage(PageId id, QWidget* /*focusTarget*/ = nullptr) override {
        shown.push_back(id);
        active = id;
    }
    void ShowPageAsIs(PageId id) override {
        shownAsIs.push_back(id);
        active = id;
    }
    PageId ActivePage() const override { return active; }
    void Reset() override { ++resets; }
    void ResetAndShowIntro() override {
        ++resets;
        ShowPage(PageId::tabAbout);
    }
    AppSettings& Settings() override { return settings; }
    ChartDocument& Chart() override { return chart; }
    PaySchedule& Schedule() override { return schedule; }
    RegularInputs& Regular() override { return regular; }

    qv::LoanState state;
    RecordingPlatformPort port;
    qv::TMemDataSet paySet{"mdsPaySet"};
    qv::TMemDataSet detail{"mdsDetail"};
    qv::TMemDataSet variable{"mdsVariable"};
    qv::TMemDataSet varSchedule{"mdsVarSchedule"};
    AppSettings settings;
    ChartDocument chart;
    PaySchedule schedule;
    RegularInputs regular;

    std::vector<PageId> shown;      // ShowPage, in order
    std::vector<PageId> shownAsIs;  // ShowPageAsIs, in order
    PageId active = PageId::tabAbout;
    int resets = 0;
};
