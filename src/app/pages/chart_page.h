#pragma once
// "4:Chart/Rule of 78s" (tabChart): the payments of the last schedule and the
// chart document (its text in `redChart`, its caption in `labChart7`), which
// several pages write and this page shows.
#include "app/pages/page.h"
#include "chart/chart_page_texts.h"
#include "core/apr_engine.h"

class ChartPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabChart;
    explicit ChartPage(Session& app);

    // tabChartEnter: recomputes the current schedule's APR and refills the
    // payment grid.
    void Enter() override;

    // "Chart Amortization": appends the amortization chart to the chart
    // document, unless the text already ends with that very chart. False
    // when there was no schedule to chart (the user has been told).
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

  private:
    // What each of the page's buttons does.
    void Click(qv::ChartButton button);
    // Makes the button of the engine's table and wires it to its action.
    QPushButton* MakeButton(qv::ChartButton button);

    // The chart document shown: replaced, appended to, its caption.
    void ShowChart();
    void ShowAppended(const qv::ChartText& lines);
    // The user's edits of the text go into the document.
    void TakeEdit();

    QPlainTextEdit* redChart_;
    QLabel* labChart7_;
    QPushButton* butReRx78_;
};
