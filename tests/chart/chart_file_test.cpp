#include "chart/chart_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/temp_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class ChartFileTest : public ::testing::Test {
  protected:
    ChartFileTest() {
        folder = fs::temp_directory_path() /
                 ("qv_chart_file_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~ChartFileTest() override { fs::remove_all(folder); }

    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    // Names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path folder;
    const ChartText lines = {"APR evaluated by Quorvane version 0.9992", "",
                             "   1  $1,100.00     $15.01    $100.00  $1,015.01 "};
};

TEST_F(ChartFileTest, EachLineEndsWithCarriageReturnAndLineFeed) {
    const fs::path file = folder / "MyChart.txt";
    const ChartSaveResult r = SaveChartText(file, lines);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(Read(file),
              "APR evaluated by Quorvane version 0.9992\r\n\r\n"
              "   1  $1,100.00     $15.01    $100.00  $1,015.01 \r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"MyChart.txt"}));
}

TEST_F(ChartFileTest, AnEmptyChartMakesAnEmptyFile) {
    const fs::path file = folder / "empty.txt";
    Write(file, "old text");
    ASSERT_TRUE(SaveChartText(file, {}).ok);
    EXPECT_EQ(Read(file), "");
}

TEST_F(ChartFileTest, AnExistingFileIsReplacedWholeAndKeepsItsPermissions) {
    const fs::path file = folder / "MyChart.txt";
    Write(file, std::string(10000, 'x'));
    ::chmod(file.c_str(), 0600);
    ASSERT_TRUE(SaveChartText(file, {"short"}).ok);
    EXPECT_EQ(Read(file), "short\r\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Names(), (std::vector<std::string>{"MyChart.txt"}));
}

TEST_F(ChartFileTest, SavingThroughALinkReplacesTheFileItNames) {
    const fs::path file = folder / "real.txt";
    const fs::path link = folder / "link.txt";
    Write(file, "old");
    fs::create_symlink(file, link);
    ASSERT_TRUE(SaveChartText(link, {"new"}).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(file), "new\r\n");
}

// A write that fails part-way (here: the file size limit of the process,
// which holds even for the superuser) must leave the old file as it was.
TEST_F(ChartFileTest, AWriteThatFailsHalfWayLeavesTheOldFileIntact) {
    const fs::path file = folder / "MyChart.txt";
    Write(file, "the old chart\r\n");
    const ChartText big(200, std::string(70, '-'));

    ChartSaveResult r;
    test::WithFileSizeLimit(4096, [&] { r = SaveChartText(file, big); });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Cannot save \"" + file.string() + "\": File too large");
    EXPECT_EQ(Read(file), "the old chart\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"MyChart.txt"}));
}

TEST_F(ChartFileTest, AFolderThatDoesNotExistIsReportedInTheSystemsWords) {
    const fs::path file = folder / "missing" / "MyChart.txt";
    const ChartSaveResult r = SaveChartText(file, lines);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Cannot save \"" + file.string() + "\": No such file or directory");
}

TEST_F(ChartFileTest, AFolderInPlaceOfTheFileIsRefusedAndKept) {
    const fs::path file = folder / "MyChart.txt";
    fs::create_directory(file);
    Write(file / "inside.txt", "kept");
    const ChartSaveResult r = SaveChartText(file, lines);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error, "");
    EXPECT_EQ(Read(file / "inside.txt"), "kept");
    EXPECT_EQ(Names(), (std::vector<std::string>{"MyChart.txt"}));
    EXPECT_FALSE(SaveChartText(folder / "", lines).ok);
}

TEST_F(ChartFileTest, TheOverwriteQuestionNamesTheFileWithoutItsFolder) {
    EXPECT_EQ(OverwriteChartQuestion("/home/user/charts/MyChart.txt"),
              "Do you really want to overwrite MyChart.txt?");
}

TEST_F(ChartFileTest, AnExistingFileIsOverwrittenOnlyAfterYes) {
    const fs::path file = folder / "MyChart.txt";
    Write(file, "old");
    RecordingUserPort port;
    port.answers = {Answer::No, Answer::Yes};

    EXPECT_EQ(SaveChartTextAsked(file, lines, port), ChartSaveOutcome::NotSaved);
    EXPECT_EQ(Read(file), "old");
    EXPECT_EQ(port.messages,
              (std::vector<RecordedMessage>{
                  {MessageKind::WarningYesNo, "Do you really want to overwrite MyChart.txt?"},
                  {MessageKind::Information, "OK, Amortization Chart Text Not Saved"}}));

    port.messages.clear();
    EXPECT_EQ(SaveChartTextAsked(file, {"new"}, port), ChartSaveOutcome::Saved);
    EXPECT_EQ(Read(file), "new\r\n");
    EXPECT_EQ(port.messages.size(), 1u);
}

TEST_F(ChartFileTest, ANewFileIsSavedWithoutAQuestionAndAFailureIsShown) {
    RecordingUserPort port;
    EXPECT_EQ(SaveChartTextAsked(folder / "new.txt", lines, port), ChartSaveOutcome::Saved);
    EXPECT_TRUE(port.messages.empty());

    const fs::path missing = folder / "missing" / "new.txt";
    EXPECT_EQ(SaveChartTextAsked(missing, lines, port), ChartSaveOutcome::Failed);
    EXPECT_EQ(port.messages, (std::vector<RecordedMessage>{
                                 {MessageKind::Warning, "Cannot save \"" + missing.string() +
                                                            "\": No such file or directory"}}));
}

}  // namespace
}  // namespace qv
