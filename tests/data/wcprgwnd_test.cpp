#include "data/wcprgwnd.h"

#include <gtest/gtest.h>

#include <chrono>

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

// A clock the test moves by hand.
struct HandClock {
    Clock::time_point now{};
    void Advance(double seconds) {
        now += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }
    ProgressClock Reader() {
        return [this] { return now; };
    }
};

TEST(ProgressWindowTexts, ShowsQuestionMarksUntilARunStarts) {
    ProgressWindowTexts w;
    EXPECT_EQ(w.Caption(), "Progress");
    EXPECT_EQ(w.lbFile() + w.lbRecords() + w.lbBytes() + w.lbTime(), "????");
    EXPECT_EQ(w.lbPercentage(), "0%");
    EXPECT_FALSE(w.Fraction());
}

TEST(ProgressWindowTexts, AnImportCountsBytesReadRateAndTimeLeft) {
    HandClock clock;
    ProgressWindowTexts w(clock.Reader());
    w.Start(ProgressKind::Import, ProgressBasis::Bytes, 2'048'000, 0, "myPaySet.txt");
    EXPECT_EQ(w.Caption(), "Import Progress");
    EXPECT_EQ(w.lbFile(), "myPaySet.txt");
    EXPECT_EQ(w.lbRecords(), "0 of 0");
    EXPECT_EQ(w.lbBytes(), "0K of 2,000.0K read");
    EXPECT_EQ(w.lbTime(), "00:00:00 remaining");
    EXPECT_EQ(w.BarMaximum(), 2'048'000);

    // Within the first second the elapsed time counts as one second.
    clock.Advance(0.4);
    w.Update(10, 0);
    EXPECT_EQ(w.lbRecords(), "10 records");
    EXPECT_EQ(w.lbBytes(), "0.0K of 2,000.0K read (0.0K/s)");
    EXPECT_EQ(w.lbTime(), "00:00:00 remaining");

    // A quarter after 50 s: 150 s left.
    clock.Advance(49.6);
    w.Update(500, 512'000);
    EXPECT_EQ(w.lbBytes(), "500.0K of 2,000.0K read (10.0K/s)");
    EXPECT_EQ(w.lbTime(), "00:02:30 remaining");
    EXPECT_EQ(w.lbPercentage(), "25%");
    EXPECT_EQ(w.BarPosition(), 512'000);
    EXPECT_DOUBLE_EQ(*w.Fraction(), 0.25);

    // Half a percent after 3 h 25 min: the hours go on past a day.
    clock.Advance(3 * 3600 + 25 * 60 - 50);
    w.Update(501, 10'240);
    EXPECT_EQ(w.lbTime(), "679:55:00 remaining");
    EXPECT_EQ(w.lbPercentage(), "1%");
}

TEST(ProgressWindowTexts, AnExportCountsRecordsWritten) {
    HandClock clock;
    ProgressWindowTexts w(clock.Reader());
    w.Start(ProgressKind::Export, ProgressBasis::Records, 0, 250, "PaySet.txt");
    EXPECT_EQ(w.Caption(), "Export Progress");
    EXPECT_EQ(w.lbRecords(), "0 of 250");
    EXPECT_EQ(w.lbBytes(), "0K written");
    clock.Advance(2.9);
    w.Update(125, 3072);
    EXPECT_EQ(w.lbRecords(), "125 of 250 records");
    EXPECT_EQ(w.lbBytes(), "3.0K written (1.5K/s)");
    EXPECT_EQ(w.lbPercentage(), "50%");
    EXPECT_EQ(w.lbTime(), "00:00:02 remaining");
}

// Nothing to measure against (an empty file, a size that could not be
// found, an empty table): the counts go on, the percentage and the time
// keep their start texts, and the bar has no fraction (a busy bar).
TEST(ProgressWindowTexts, ATotalOfZeroGivesNoPercentageAndNoTime) {
    HandClock clock;
    ProgressWindowTexts w(clock.Reader());
    w.Start(ProgressKind::Import, ProgressBasis::Bytes, 0, 0, "fifo");
    clock.Advance(5);
    w.Update(3, 4096);
    EXPECT_EQ(w.lbBytes(), "4.0K of 0.0K read (0.8K/s)");
    EXPECT_EQ(w.lbPercentage(), "0%");
    EXPECT_EQ(w.lbTime(), "00:00:00 remaining");
    EXPECT_FALSE(w.Fraction());

    // A file that grew while it was read stops at 100 %.
    w.Start(ProgressKind::Import, ProgressBasis::Bytes, 1000, 0, "grows");
    w.Update(3, 1500);
    EXPECT_EQ(w.lbPercentage(), "100%");
    EXPECT_EQ(w.lbTime(), "00:00:00 remaining");
    EXPECT_DOUBLE_EQ(*w.Fraction(), 1.0);
}

}  // namespace
}  // namespace qv
