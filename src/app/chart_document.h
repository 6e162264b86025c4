#pragma once
// The chart text and the caption beside "Chart Amortization": one document
// that the APR report, the amortization chart and the side tools' charts
// write, and that the chart page shows. What is saved, printed and compared
// is this text, never the box's.
#include <QObject>
#include <string>

#include "base/user_port.h"
#include "chart/amortization.h"
#include "core/apr_engine.h"

class ChartDocument : public QObject {
    Q_OBJECT
  public:
    ChartDocument();

    // One entry per line, as the box shows it: an empty text is one empty
    // line, and a line holding line breaks is as many lines.
    const qv::ChartText& Lines() const { return lines_; }
    void SetLines(const qv::ChartText& lines);
    void Append(const qv::ChartText& lines);
    // The user edited the text on screen: the document takes it without
    // showing it again.
    void TakeEdit(const qv::ChartText& lines);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // "Chart Amortization" on the last computation (nullptr: none), unless
    // the text already ends with that very chart: a click more (the first
    // may seem lost behind the Rule of 78s warning) gives no second copy in
    // the text, its file or its print. False when there was no schedule to
    // chart (the user has been told).
    bool ChartAmortization(const qv::ComputedSchedule* computed, double roundAdd,
                           const qv::ChartOptions& options, qv::UserPort& port);
    // "Print Chart": asks whoever shows the text to print it.
    void Print() { emit PrintRequested(); }

    // The start text and caption of every Reset.
    void Reset();

  signals:
    // The whole text changed.
    void Replaced();
    // `lines` were added at the end.
    void Appended(const qv::ChartText& lines);
    void CaptionChanged(const QString& caption);
    void PrintRequested();

  private:
    qv::ChartText lines_;
    std::string caption_;
};
