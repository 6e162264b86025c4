#include "schedule/schedule_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <tuple>
#include <vector>

#include "core/apr_engine.h"
#include "core/pay_group.h"
#include "core/pay_schedule.h"
#include "core/schedule_fixture.h"
#include "data/memdset.h"
#include "data/temp_folder.h"
#include "schedule/group_schedule.h"
#include "varrate/var_group.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::string kExampleFile =
    "1,0,1000,0,0\r\n1,1,95,1,15\r\n10,2,88.85,1,0\r\n1,3,88.91,1,0\r\n";

std::vector<PayGroup> Groups(TMemDataSet& paySet) {
    std::vector<PayGroup> out;
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext())
        out.push_back(ReadPayGroup(paySet));
    return out;
}

// The loan variables a schedule load may write.
auto Written(const LoanState& s) {
    return std::make_tuple(s.loan.AmtFin, s.loan.TotPay, s.loan.PayCount, s.regular.RegPay,
                           s.regular.FirstPay, s.regular.FirstPds, s.regular.FirstExtra,
                           s.regular.LastPay, s.regular.LastPds, s.regular.LastExtra,
                           s.loan.IrregularLoaded);
}

class ScheduleFileTest : public ::testing::Test {
  protected:
    ScheduleFileTest() {
        DefinePaySetTable(paySet);
        DefineVariableTable(variable);
    }
    ScheduleLoad LoadText(const std::string& text) {
        WriteFile(file, text);
        return LoadData(state.loan, state.regular, paySet, file);
    }
    void AddExampleGroups() {
        test::AddGroups(paySet, {{1, 95, 1, 15}, {10, 88.85, 1, 0}, {1, 88.91, 1, 0}});
    }

    test::TempFolder folder{"qv_schedule_file_"};
    fs::path file = folder.path / "myPaySet.txt";
    LoanState state;
    TMemDataSet paySet{"mdsPaySet"};
    TMemDataSet variable{"mdsVariable"};
};

// --- the example schedule ----------------------------------------------------

TEST_F(ScheduleFileTest, TheExampleIsSavedByteForByteAndLoadsBackIntoStateAndBoxes) {
    AddExampleGroups();
    paySet.MoveTo(2);
    const std::vector<PayGroup> groups = Groups(paySet);
    paySet.MoveTo(2);

    const FileSaveResult saved = SaveData(paySet, {Interval::Monthly, 1000.0}, file);
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(ReadFile(file), kExampleFile);
    EXPECT_EQ(paySet.Position(), 2);  // the table keeps its cursor and its groups
    EXPECT_EQ(Groups(paySet), groups);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"myPaySet.txt"}));

    EmptyTable(paySet);
    test::AddGroups(paySet, {{36, 100, 1, 0}});
    const ScheduleLoad load = LoadData(state.loan, state.regular, paySet, file);
    EXPECT_TRUE(load.loaded);
    EXPECT_FALSE(load.headerMissing);
    EXPECT_EQ(load.interval, Interval::Monthly);
    EXPECT_EQ(load.edAmtFin, "1000.00");
    EXPECT_EQ(load.edTotPay, "1072.41");
    EXPECT_EQ(load.edPayCount, "12");
    EXPECT_EQ(load.first, (RegularEndTexts{"95.00", "1", "15"}));
    EXPECT_EQ(load.last, (RegularEndTexts{"88.91", "1", "0"}));
    EXPECT_EQ(load.edSimpRegPay, "88.85");
    EXPECT_EQ(load.edSimpAmtFin, "1000.00");
    EXPECT_EQ(load.edSimpInnerNoPay, "12");
    EXPECT_TRUE(load.messages.empty());

    EXPECT_EQ(Written(state), std::make_tuple(1000.0, Currency{10'724'100}, 12, 888'500 * 0.0001,
                                              95.0, 1, 15, 88.91, 1, 0, false));
    EXPECT_EQ(Groups(paySet), groups);
    paySet.MoveFirst();
    EXPECT_EQ(paySet.FieldAsInteger("Sequence"), 1);
}

TEST_F(ScheduleFileTest, TheRegularPassDecidesIrregularLoadedAndTheCommonPayment) {
    struct Case {
        const char* name;
        std::string groups;  // after the header 1,0,1000,0,0
        bool irregular;
        std::string regPay;
    };
    const std::vector<Case> cases = {
        {"the example", "1,1,95,1,15\r\n10,2,88.85,1,0\r\n1,3,88.91,1,0", false, "88.85"},
        {"middle groups of two payments",
         "1,1,95,1,15\r\n5,2,88.85,1,0\r\n5,3,88.86,1,0\r\n1,4,88.91,1,0", true, "88.85"},
        {"a middle group two periods apart", "1,1,95,1,0\r\n10,2,88.85,2,0\r\n1,3,88.91,1,0", true,
         "88.85"},
        {"a last group of two at another payment", "1,1,95,1,0\r\n10,2,88.85,1,0\r\n2,3,88.91,1,0",
         true, "88.85"},
        {"a larger last group sets the common payment",
         "1,1,95,1,0\r\n3,2,88.85,1,0\r\n10,3,90,1,0", true, "90.00"},
        {"one group of twelve with extra days", "12,1,50,1,15", true, "50.00"},
        {"one group of twelve, one period apart", "12,1,50,1,0", false, "50.00"},
        {"a first group of several at the common payment", "6,1,75,1,0\r\n6,2,75,1,0\r\n1,3,80,1,0",
         false, "75.00"},
    };
    for (const Case& c : cases) {
        state.loan.IrregularLoaded = false;
        const ScheduleLoad load = LoadText("1,0,1000,0,0\r\n" + c.groups);
        EXPECT_TRUE(load.loaded) << c.name;
        EXPECT_EQ(state.loan.IrregularLoaded, c.irregular) << c.name;
        EXPECT_EQ(load.edSimpRegPay, c.regPay) << c.name;
    }
}

// A schedule loaded over another leaves nothing of the old one behind: an
// irregular file's flag and its last payment would make Tab 2 redirect a
// regular loan, or total 36 x 100 as $3,889.25 and give a wrong APR.
TEST_F(ScheduleFileTest, ALoadLeavesNothingOfTheScheduleBefore) {
    LoadText("1,0,1000,0,0\r\n1,1,95,1,15\r\n10,2,88.85,2,0\r\n1,3,389.25,1,0\r\n");
    ASSERT_TRUE(state.loan.IrregularLoaded);
    const ScheduleLoad load = LoadText("1,0,3000,0,0\r\n36,1,100,1,0\r\n");
    ASSERT_TRUE(load.loaded);
    EXPECT_EQ(Written(state), std::make_tuple(3000.0, Currency{36'000'000}, 36, 100.0, 100.0, 1, 0,
                                              100.0, 1, 0, false));
    EXPECT_EQ(load.last, (RegularEndTexts{"100.00", "1", "0"}));
}

TEST_F(ScheduleFileTest, ASingleGroupFillsOnlyTheFirstPaymentBoxes) {
    state.regular.LastPay = 7.0;
    state.regular.LastPds = 2;
    state.regular.LastExtra = 3;
    const ScheduleLoad load = LoadText("4,0,100,0,0\r\n1,1,105,2,3\r\n");
    EXPECT_EQ(load.interval, Interval::Weekly);
    EXPECT_EQ(load.first, (RegularEndTexts{"105.00", "2", "3"}));
    EXPECT_FALSE(load.last);
    EXPECT_EQ(load.edTotPay, "105.00");
    EXPECT_EQ(load.edSimpRegPay, "0.00");
    EXPECT_EQ(
        std::make_tuple(state.regular.LastPay, state.regular.LastPds, state.regular.LastExtra),
        std::make_tuple(7.0, 2, 3));
}

TEST_F(ScheduleFileTest, AFileWithoutHeaderLoadsItsGroupsAndLeavesTheLoanAlone) {
    state.loan.AmtFin = 555.0;
    state.loan.PayCount = 9;
    const auto before = Written(state);
    const ScheduleLoad load = LoadText("12,1,88.85,1,0\r\n2,2,10,1,0\r\n");
    EXPECT_TRUE(load.loaded);
    EXPECT_TRUE(load.headerMissing);
    EXPECT_EQ(load.edAmtFin + load.edTotPay + load.edSimpRegPay, "");
    EXPECT_EQ(load.messages,
              (std::vector<RecordedMessage>{
                  {MessageKind::Information, "DataSet lacks Amt.Fin. and Common Interval"}}));
    EXPECT_EQ(Written(state), before);
    EXPECT_EQ(Groups(paySet), (std::vector<PayGroup>{{12, 1, 88.85, 1, 0}, {2, 2, 10, 1, 0}}));
}

// --- what a load refuses --------------------------------------------------------

TEST_F(ScheduleFileTest, AFileThatCannotBeUsedLeavesScheduleAndLoanAsTheyWere) {
    AddExampleGroups();
    state.loan.AmtFin = 1000.0;
    const std::vector<PayGroup> groups = Groups(paySet);
    const auto before = Written(state);
    const std::string name = "\"" + file.string() + "\"";
    const std::string unchanged = "\n\rThe schedule was not changed.";

    struct Case {
        const char* name;
        std::function<void()> make;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing", [&] { fs::remove(file); },
         "Cannot open " + name + ": No such file or directory"},
        {"a folder", [&] { fs::create_directory(file); },
         "Cannot open " + name + ": Is a directory"},
        {"empty", [&] { WriteFile(file, "\r\n \r\n"); },
         "Cannot load " + name + ": it holds no payment groups."},
        {"interval 7", [&] { WriteFile(file, "7,0,1000,0,0\r\n1,1,5,1,0\r\n"); },
         "Cannot load " + name +
             ": its Common Interval item is 7; only 0 (Annually) to 4 (Weekly) are known."},
        {"interval -1", [&] { WriteFile(file, "-1,0,1000,0,0\r\n"); },
         "Cannot load " + name +
             ": its Common Interval item is -1; only 0 (Annually) to 4 (Weekly) are known."},
        {"amount below zero", [&] { WriteFile(file, "1,0,-5,0,0\r\n1,1,5,1,0\r\n"); },
         "Cannot load " + name + ": its Amount Financed, -5, is below zero or too large."},
        {"amount too large", [&] { WriteFile(file, "1,0,1e308,0,0\r\n"); },
         "Cannot load " + name + ": its Amount Financed, 1E308, is below zero or too large."},
        {"payment too large", [&] { WriteFile(file, "1,0,5,0,0\r\n0,2,1e308,1,0\r\n"); },
         "Cannot load " + name + ": the payment of 1E308 in group 2 is too large."},
        {"2^31 payments", [&] { WriteFile(file, "2147483647,1,1,1,0\r\n1,2,1,1,0\r\n"); },
         "Cannot load " + name + ": its groups hold more payments than can be counted."},
        {"a total beyond currency", [&] { WriteFile(file, "2000000000,1,900000000,1,0\r\n"); },
         "Cannot load " + name + ": its payments add up to more than can be computed."},
        {"a long line", [&] { WriteFile(file, "1,0,1000,0,0\r\n1,1," + std::string(2000, '5')); },
         "Cannot read " + name + ": line 2 is longer than 1024 characters."},
        {"a large file",
         [&] {
             std::string text;
             while (text.size() <= 2u * 1024 * 1024) text += "1,1,1,1,1\r\n";
             WriteFile(file, text);
         },
         "Cannot read " + name + ": it is larger than 2097152 bytes."},
    };
    for (const Case& c : cases) {
        fs::remove_all(file);
        c.make();
        const ScheduleLoad load = LoadData(state.loan, state.regular, paySet, file);
        EXPECT_FALSE(load.loaded) << c.name;
        EXPECT_EQ(load.messages,
                  (std::vector<RecordedMessage>{{MessageKind::Warning, c.message + unchanged}}))
            << c.name;
        EXPECT_EQ(Groups(paySet), groups) << c.name;
        EXPECT_EQ(Written(state), before) << c.name;
    }
}

TEST_F(ScheduleFileTest, LinesReadOnlyInPartAreNamedInOneWarningAfterTheLoad) {
    const ScheduleLoad load =
        LoadText("1,0,1000,0,0\r\n12,1,abc,1,0\r\n1,,5,1,0\r\n1,2,x,y,0\r\n1,3,5,1,0\r\n");
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(load.messages,
              (std::vector<RecordedMessage>{
                  {MessageKind::Warning,
                   "Not everything in myPaySet.txt could be read:\n\r"
                   "2 lines held values that are not numbers; they were taken as 0: lines 2, 4\n\r"
                   "1 line was left out, as it has no Sequence number: line 3"}}));
    EXPECT_EQ(Groups(paySet),
              (std::vector<PayGroup>{{12, 1, 0, 1, 0}, {1, 2, 0, 0, 0}, {1, 3, 5, 1, 0}}));

    std::string many = "1,0,1000,0,0\r\n";
    for (int k = 0; k < 12; ++k) many += ",\r\n";
    const ScheduleLoad dropped = LoadText(many);
    ASSERT_EQ(dropped.messages.size(), 1u);
    EXPECT_EQ(dropped.messages[0].text,
              "Not everything in myPaySet.txt could be read:\n\r"
              "12 lines were left out, as they have no Sequence number: "
              "lines 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 and 2 more");
}

// Keys the editor grid lets through (0 and below) are groups like any other:
// the header is written first and recognised as the first line with key 0.
TEST_F(ScheduleFileTest, KeysOfZeroAndBelowNeverCostAGroup) {
    for (int key : {2, 0, -1, 0}) {
        AppendPayGroup(paySet, {1, key, 10.0 + key, 1, 0});
        paySet.Post();
    }
    const std::vector<PayGroup> groups = Groups(paySet);
    ASSERT_TRUE(SaveData(paySet, {Interval::TwoWeekly, 40.0}, file).ok);
    EXPECT_EQ(ReadFile(file),
              "3,0,40,0,0\r\n1,-1,9,1,0\r\n1,0,10,1,0\r\n1,0,10,1,0\r\n1,2,12,1,0\r\n");
    EXPECT_EQ(Groups(paySet), groups);

    EmptyTable(paySet);
    const ScheduleLoad load = LoadData(state.loan, state.regular, paySet, file);
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(load.interval, Interval::TwoWeekly);
    EXPECT_EQ(state.loan.AmtFin, 40.0);
    EXPECT_EQ(Groups(paySet), groups);

    // A header further down is found too.
    LoadText("1,1,95,1,15\r\n1,0,1000,0,0\r\n");
    EXPECT_EQ(state.loan.AmtFin, 1000.0);
    EXPECT_EQ(Groups(paySet), (std::vector<PayGroup>{{1, 1, 95, 1, 15}}));
}

// --- saving -------------------------------------------------------------------

TEST_F(ScheduleFileTest, AFailedSaveLeavesTheTableAndTheOldFile) {
    for (int k = 1; k <= 10'000; ++k) test::AddGroups(paySet, {{1, 88.85, 1, 0}});
    paySet.MoveTo(5);
    WriteFile(file, kExampleFile);

    // A write that fails part-way.
    FileSaveResult r;
    test::WithFileSizeLimit(4096, [&] { r = SaveData(paySet, {Interval::Monthly, 1000.0}, file); });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Cannot save \"" + file.string() + "\": File too large");

    // A group the table cannot store (no Sequence) stops the save before writing.
    paySet.AppendNew();
    paySet.SetFieldInteger("SetSize", 2);
    RecordingUserPort port;
    EXPECT_EQ(SaveScheduleAsked(file, paySet, {Interval::Monthly, 1000.0}, port),
              SaveOutcome::Failed);
    EXPECT_EQ(port.Texts(),
              (std::vector<std::string>{
                  "Do you really want to overwrite myPaySet.txt?",
                  "Cannot save \"" + file.string() + "\": Field 'Sequence' must have a value"}));
    paySet.Cancel();

    EXPECT_EQ(ReadFile(file), kExampleFile);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"myPaySet.txt"}));
    EXPECT_EQ(paySet.Count(), 10'000);
    EXPECT_EQ(paySet.Position(), 5);
    port.messages.clear();
    port.answers = {Answer::No};
    EXPECT_EQ(SaveScheduleAsked(file, paySet, {Interval::Monthly, 1000.0}, port),
              SaveOutcome::NotSaved);
    EXPECT_EQ(port.Texts().back(), "OK, Payment Schedule Not Saved");
}

// Root may write any file, so a file marked read-only is refused by its
// mode as well as by what the user may do.
TEST_F(ScheduleFileTest, AReadOnlyFileIsRefusedAndAReplacedOneKeepsModeAndGroup) {
    AddExampleGroups();
    const struct {
        mode_t mode;
        bool replaced;
    } cases[] = {{0444, false}, {0400, false}, {0555, false}, {0640, true}, {0604, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        WriteFile(file, "old\r\n");
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        // Another group, where the user may give one (root may).
        const gid_t group = ::getegid() + 1;
        const bool regrouped = ::chown(file.c_str(), static_cast<uid_t>(-1), group) == 0;
        RecordingUserPort port;
        EXPECT_EQ(SaveScheduleAsked(file, paySet, {Interval::Monthly, 1000.0}, port),
                  c.replaced ? SaveOutcome::Saved : SaveOutcome::Failed);
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        if (regrouped) {
            EXPECT_EQ(after.st_gid, group);
        }
        EXPECT_EQ(ReadFile(file), c.replaced ? kExampleFile : "old\r\n");
        const std::vector<std::string> said = {
            "Do you really want to overwrite myPaySet.txt?",
            "Cannot save \"" + file.string() + "\": Permission denied"};
        EXPECT_EQ(port.Texts(), c.replaced ? std::vector<std::string>{said[0]} : said);
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"myPaySet.txt"}));
        ::chmod(file.c_str(), 0644);
    }
}

TEST(LoadScheduleValues, LeavesTheBoxTextsAndDoesEverythingElseAsLoadSchedule) {
    struct Case {
        const char* what;
        ScheduleHeader header;
        std::vector<PayGroup> groups;
    };
    const Case cases[] = {
        {"in order",
         {Interval::Monthly, 1000.0},
         {{1, 1, 95, 1, 15}, {10, 2, 88.85, 1, 0}, {1, 3, 88.91, 1, 0}}},
        {"out of order, a key twice",
         {Interval::Weekly, 500.0},
         {{3, 2, 60, 1, 0}, {1, 1, 40, 2, 3}, {2, 1, 41, 1, 0}}},
        {"refused", {Interval::Monthly, 1000.0}, {{1, 1, 1e300, 1, 0}}},
    };
    for (const Case& c : cases) {
        LoanState withTexts;
        LoanState without;
        TMemDataSet tableWithTexts("mdsPaySet");
        TMemDataSet tableWithout("mdsPaySet");
        DefinePaySetTable(tableWithTexts);
        DefinePaySetTable(tableWithout);
        const ScheduleLoad full = LoadSchedule(withTexts.loan, withTexts.regular, tableWithTexts,
                                               c.header, c.groups, "x");
        const ScheduleLoad values = LoadScheduleValues(without.loan, without.regular, tableWithout,
                                                       c.header, c.groups, "x");
        EXPECT_EQ(values.loaded, full.loaded) << c.what;
        EXPECT_EQ(values.interval, full.interval) << c.what;
        EXPECT_EQ(values.messages, full.messages) << c.what;
        EXPECT_EQ(Written(without), Written(withTexts)) << c.what;
        EXPECT_EQ(Groups(tableWithout), Groups(tableWithTexts)) << c.what;
        EXPECT_TRUE(values.edAmtFin.empty() && values.edTotPay.empty() && !values.first &&
                    !values.last && values.edSimpRegPay.empty())
            << c.what;
    }
}

TEST(SameFile, KnowsAFileHoweverItsPathIsSpelled) {
    test::TempFolder folder{"qv_same_file_"};
    const fs::path real = folder.path / "keep.txt";
    WriteFile(real, "x");
    fs::create_directory(folder.path / "sub");
    fs::create_symlink(real, folder.path / "link.txt");
    const struct {
        fs::path other;
        bool same;
    } cases[] = {
        {real, true},
        {folder.path / "sub" / ".." / "keep.txt", true},
        {folder.path / "link.txt", true},
        {folder.path / "Keep.txt", false},
        {folder.path / "sub" / "keep.txt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(SameFile(real, c.other), c.same) << c.other;
    // Not there yet: the same path, however it is spelled.
    const fs::path missing = folder.path / "new.txt";
    EXPECT_TRUE(SameFile(missing, folder.path / "sub" / ".." / "new.txt"));
    EXPECT_FALSE(SameFile(missing, real));
}

TEST_F(ScheduleFileTest, NothingToSaveMeansNoGroupStoredOrTyped) {
    EXPECT_TRUE(NothingToSave(paySet));
    paySet.AppendNew();
    EXPECT_TRUE(NothingToSave(paySet));
    paySet.SetFieldInteger("Sequence", 1);
    EXPECT_FALSE(NothingToSave(paySet));
}

// --- round trips ----------------------------------------------------------------

TEST_F(ScheduleFileTest, RandomSchedulesComeBackIdentical) {
    std::mt19937_64 rng(20240611);
    auto pick = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    // Plain cents in even rounds, 15 significant digits in odd ones.
    bool cents = true;
    auto amount = [&]() -> double {
        if (cents) return static_cast<double>(pick(0, 10'000'000'00)) / 100.0;
        std::string digits = std::to_string(pick(100'000'000'000'000, 999'999'999'999'999));
        digits.insert(static_cast<std::size_t>(pick(1, 11)), ".");  // totals stay in range
        return std::stod(digits);
    };
    for (int round = 0; round < 60; ++round) {
        cents = round % 2 == 0;
        EmptyTable(paySet);
        const int count = static_cast<int>(pick(1, 40));
        for (int g = 1; g <= count; ++g) {
            AppendPayGroup(paySet, {static_cast<std::int32_t>(pick(0, 12)), g, amount(),
                                    static_cast<std::int32_t>(pick(0, 12)),
                                    static_cast<std::int32_t>(pick(0, 60))});
        }
        const std::vector<PayGroup> groups = Groups(paySet);
        const ScheduleHeader header{*IntervalOfItem(pick(0, 4)), amount()};
        ASSERT_TRUE(SaveData(paySet, header, file).ok);

        EmptyTable(paySet);
        LoanState loaded;
        const ScheduleLoad load = LoadData(loaded.loan, loaded.regular, paySet, file);
        ASSERT_TRUE(load.loaded) << ReadFile(file);
        EXPECT_EQ(Groups(paySet), groups);
        EXPECT_EQ(load.interval, header.interval);
        EXPECT_EQ(loaded.loan.AmtFin, header.amount);
        const GroupWalk walk = WalkGroups(paySet);
        EXPECT_EQ(loaded.loan.PayCount, walk.count);
        // The total is rounded to ten-thousandths once per group; the walk
        // rounds each payment first, which differs only past the cents.
        if (cents) {
            EXPECT_EQ(loaded.loan.TotPay, walk.total);
        } else {
            EXPECT_NEAR(static_cast<double>(loaded.loan.TotPay), static_cast<double>(walk.total),
                        6.0 * count);
        }
        EXPECT_EQ(loaded.regular.FirstPay, groups.front().PaySize);
        if (count > 1) {
            EXPECT_EQ(loaded.regular.LastPay, groups.back().PaySize);
        }

        // What was loaded saves as the same bytes.
        const fs::path again = folder.path / "again.txt";
        ASSERT_TRUE(SaveData(paySet, {load.interval, loaded.loan.AmtFin}, again).ok);
        EXPECT_EQ(ReadFile(again), ReadFile(file));
    }
}

TEST_F(ScheduleFileTest, VariableRateListsSaveAndLoadWithTheirPrincipal) {
    auto addVar = [this](int id, int size, double rate, double payment) {
        variable.AppendNew();
        variable.SetFieldInteger("GrpID", id);
        variable.SetFieldInteger("GrpSize", size);
        variable.SetFieldFloat("Rate", rate);
        variable.SetFieldFloat("Payment", payment);
        variable.SetFieldInteger("Interval", 1);
        variable.SetFieldInteger("AddDays", 0);
        variable.Post();
    };
    addVar(2, 24, 9.25, 460.5);
    addVar(1, 12, 8.5, 450);
    ASSERT_TRUE(SaveVarData(variable, {Interval::Monthly, 5000.0}, file).ok);
    EXPECT_EQ(ReadFile(file), "0,1,0,5000,0,0\r\n1,12,8.5,450,1,0\r\n2,24,9.25,460.5,1,0\r\n");
    EXPECT_EQ(variable.Count(), 2);

    EmptyTable(variable);
    addVar(7, 1, 1, 1);
    VarListLoad load = LoadVarData(variable, file);
    EXPECT_TRUE(load.loaded);
    EXPECT_FALSE(load.headerMissing);
    EXPECT_EQ(load.interval, Interval::Monthly);
    EXPECT_EQ(load.ContractPrincipal, 5000.0);
    EXPECT_EQ(load.ebxPrincipal, "5000.00");
    EXPECT_EQ(load.count, 36);
    EXPECT_EQ(load.labVary14, "36 Payments, Total= $16,452.00");
    EXPECT_TRUE(load.messages.empty());
    EXPECT_EQ(variable.Count(), 2);
    variable.MoveFirst();
    EXPECT_EQ(variable.FieldAsInteger("GrpID"), 1);

    // Without a header the groups and their summary still load.
    WriteFile(file, "1,12,8.5,450,1,0\r\n");
    load = LoadVarData(variable, file);
    EXPECT_TRUE(load.headerMissing);
    EXPECT_EQ(load.labVary14, "12 Payments, Total= $5,400.00");
    EXPECT_EQ(load.ebxPrincipal, "");
    EXPECT_EQ(load.messages,
              (std::vector<RecordedMessage>{
                  {MessageKind::Information, "Variable Payment Set Header Missing!"}}));

    // A list that cannot be used changes nothing.
    WriteFile(file, "0,9,0,5000,0,0\r\n1,12,8.5,450,1,0\r\n2,1,1,1,1,1\r\n");
    load = LoadVarData(variable, file);
    EXPECT_FALSE(load.loaded);
    ASSERT_EQ(load.messages.size(), 1u);
    EXPECT_EQ(load.messages[0].text, "Cannot load \"" + file.string() +
                                         "\": its Common Interval item is 9; only 0 (Annually) "
                                         "to 4 (Weekly) are known.\n\rThe list was not changed.");
    EXPECT_EQ(variable.Count(), 1);
}

// --- after the load ---------------------------------------------------------------

TEST(LoadedAprMessage, TheOutcomeDecidesNotTheBoxText) {
    EXPECT_EQ(LoadedAprMessage(AprOutcome::Computed, 12.683), "APR is 12.683 %, see Tab 4");
    EXPECT_EQ(LoadedAprMessage(AprOutcome::Computed, 20.0), "APR is 20.000 %, see Tab 4");
    EXPECT_EQ(LoadedAprMessage(AprOutcome::Computed, 1234.5), "APR is 1,234.500 %, see Tab 4");
    for (auto outcome :
         {std::optional<AprOutcome>{}, std::optional{AprOutcome::NoRate},
          std::optional{AprOutcome::AmountTooLow}, std::optional{AprOutcome::ScheduleRejected}})
        EXPECT_EQ(LoadedAprMessage(outcome, 20.0),
                  "No APR computed, as data inconsistency detected");
}

// --- the example files ---------------------------------------------------------------

fs::path ExamplesFolder() {
    return fs::path(QV_SOURCE_DIR) / "examples";
}

TEST(ExampleFiles, LoadAndGiveTheirApr) {
    struct Case {
        const char* file;
        double apr;
        bool irregular;
    };
    for (const Case& c :
         {Case{"regular-odd-first.txt", 10.289, false}, Case{"irregular.txt", 9.34, true}}) {
        const std::string text = ReadFile(ExamplesFolder() / c.file);
        for (std::size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + 1))
            EXPECT_TRUE(at > 0 && text[at - 1] == '\r') << c.file;  // CRLF lines
        LoanState state;
        TMemDataSet paySet("mdsPaySet");
        DefinePaySetTable(paySet);
        const ScheduleLoad load =
            LoadData(state.loan, state.regular, paySet, ExamplesFolder() / c.file);
        ASSERT_TRUE(load.loaded) << c.file;
        EXPECT_TRUE(load.messages.empty()) << c.file;
        EXPECT_EQ(state.loan.IrregularLoaded, c.irregular) << c.file;

        RecordingUserPort port;
        ASSERT_TRUE(IntegrityMdsPaySet(state.loan, paySet, port)) << c.file;
        SetBasePeriod(state.loan, load.interval);
        ChartText chart;
        EXPECT_EQ(GetAPR(state.loan, paySet, AprSettings{}, chart, port), AprOutcome::Computed);
        EXPECT_EQ(state.loan.APR, c.apr) << c.file;
    }

    TMemDataSet variable("mdsVariable");
    DefineVariableTable(variable);
    const VarListLoad list = LoadVarData(variable, ExamplesFolder() / "variable-rate-list.txt");
    ASSERT_TRUE(list.loaded);
    EXPECT_TRUE(list.messages.empty());
    EXPECT_EQ(list.labVary14, "24 Payments, Total= $5,456.21");
    EXPECT_EQ(list.ebxPrincipal, "5000.00");
}

}  // namespace
}  // namespace qv
