#pragma once
// "4:Chart/Rule of 78s" (tabChart): the payments of the last schedule and the
// amortization chart text `redChart`, shared by the pages that write charts.
#include "app/pages/page.h"
#include "core/apr_engine.h"

class ChartPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabChart;
    explicit ChartPage(Session& app);

    void ResetControls() override;
    // tabChartEnter: recomputes the current schedule's APR and refills the
    // payment grid.
    void Enter() override;

    // "Chart Amortization": appends the amortization chart to redChart,
    // unless the text already ends with that very chart. False when there
    // was no schedule to chart (the user has been told).
    bool butChartEstClick();
    // "Print Chart": the print dialog, then the chart text in 10-point
    // Courier New.
    void butPrintClick();
    void butSaveChartClick();
    void butClearItClick();
    // Prints the chart text on the current printer, without a dialog.
    void PrintChartText();

    void butGoToIrregClick();
    void butReRx78Click();
    void butAboutClick();
    void butChartResetClick();

    QPlainTextEdit* redChart() const { return redChart_; }
    // The chart box's text, one entry per line.
    qv::ChartText ChartLines() const;
    void SetChartLines(const qv::ChartText& lines);
    void AppendChartLines(const qv::ChartText& lines);
    QLabel* labChart7() const { return labChart7_; }
    QPushButton* butReRx78() const { return butReRx78_; }

  private:
    static bool EndsWith(const qv::ChartText& text, const qv::ChartText& tail);

    QPlainTextEdit* redChart_;
    QLabel* labChart7_;
    QPushButton* butReRx78_;
};
