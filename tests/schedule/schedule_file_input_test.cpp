// Schedule and list files are untrusted input: whatever a file holds, a load
// either takes it whole or changes nothing, says so, and never runs without
// bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "core/interval.h"
#include "core/pay_group.h"
#include "core/pay_schedule.h"
#include "core/schedule_fixture.h"
#include "data/memdset.h"
#include "data/wccsvimp.h"
#include "schedule/schedule_file.h"
#include "varrate/var_group.h"

namespace qv {
namespace {

const std::string kExample = "1,0,1000,0,0\r\n1,1,95,1,15\r\n10,2,88.85,1,0\r\n1,3,88.91,1,0\r\n";

// A stream of `size` bytes of one character (no line end), made as it is
// read: a 100 MB line without 100 MB in memory. Counts what was taken.
class EndlessBuf : public std::streambuf {
  public:
    EndlessBuf(std::string pattern, std::int64_t size) : pattern_(std::move(pattern)), left_(size) {
        while (block_.size() < 4096) block_ += pattern_;
    }
    std::int64_t taken = 0;

  protected:
    int_type underflow() override {
        if (left_ <= 0) return traits_type::eof();
        const auto n = static_cast<std::int64_t>(std::min<std::size_t>(
            block_.size(), static_cast<std::size_t>(std::min<std::int64_t>(left_, 1 << 30))));
        left_ -= n;
        taken += n;
        setg(block_.data(), block_.data(), block_.data() + n);
        return traits_type::to_int_type(block_[0]);
    }

  private:
    std::string pattern_;
    std::string block_;
    std::int64_t left_;
};

std::vector<PayGroup> Groups(TMemDataSet& paySet) {
    std::vector<PayGroup> out;
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext())
        out.push_back(ReadPayGroup(paySet));
    return out;
}

class ScheduleInputTest : public ::testing::Test {
  protected:
    ScheduleInputTest() {
        DefinePaySetTable(paySet);
        DefineVariableTable(variable);
        test::AddGroups(paySet, {{36, 100, 1, 0}});
        before = Groups(paySet);
    }
    ScheduleLoad Load(const std::string& text) {
        std::istringstream in(text);
        return LoadDataFromStream(state.loan, state.regular, paySet, in,
                                  static_cast<std::int64_t>(text.size()), "in.txt");
    }

    LoanState state;
    TMemDataSet paySet{"mdsPaySet"};
    TMemDataSet variable{"mdsVariable"};
    std::vector<PayGroup> before;
};

TEST_F(ScheduleInputTest, BadInputGetsAClearMessageAndNeverAHalfLoad) {
    const std::string unchanged = "\n\rThe schedule was not changed.";
    struct Case {
        const char* name;
        std::string text;
        bool loaded;
        double amtFin;
        std::vector<std::string> messages;
    };
    std::string tenThousand = "1,0,1000,0,0\r\n";
    for (int k = 1; k <= 10'000; ++k) tenThousand += "1," + std::to_string(k) + ",1.5,1,0\r\n";
    std::string cr = kExample;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    const std::vector<Case> cases = {
        {"line ends of a carriage return alone", cr, true, 1000, {}},
        {"a byte-order mark", "\xEF\xBB\xBF" + kExample, true, 1000, {}},
        {"a NUL byte in the amount",
         std::string("1,0,10") + '\0' + "00,0,0\r\n1,1,5,1,0\r\n",
         true,
         0,
         {"Not everything in in.txt could be read:\n\r1 line held a value that is not a number; "
          "it was taken as 0: line 1"}},
        {"nan and 2^31 payments",
         "1,0,100,0,0\r\n2147483648,1,nan,1,0\r\n",
         true,
         100,
         {"Not everything in in.txt could be read:\n\r1 line held a value that is not a number; "
          "it was taken as 0: line 2"}},
        {"minus zero", "1,-0,-0,0,0\r\n1,1,-0,-0,0\r\n", true, 0, {}},
        {"10,000 groups", tenThousand, true, 1000, {}},
        {"binary garbage",
         std::string("\x7f\x45\x4c\x46\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0\x3e\0", 20),
         false,
         0,
         {"Cannot load \"in.txt\": it holds no payment groups." + unchanged}},
    };
    for (const Case& c : cases) {
        EmptyTable(paySet);
        test::AddGroups(paySet, {{36, 100, 1, 0}});
        state = LoanState{};
        const ScheduleLoad load = Load(c.text);
        EXPECT_EQ(load.loaded, c.loaded) << c.name;
        EXPECT_EQ(state.loan.AmtFin, c.amtFin) << c.name;
        std::vector<std::string> texts;
        for (const auto& m : load.messages) texts.push_back(m.text);
        EXPECT_EQ(texts, c.messages) << c.name;
        if (!c.loaded) {
            EXPECT_EQ(Groups(paySet), before) << c.name;
        }
    }

    // The 10,000 groups loaded as they are; the matrix refuses them whole.
    Load(tenThousand);
    EXPECT_EQ(paySet.Count(), 10'000);
    EXPECT_EQ(state.loan.PayCount, 10'000);
    EXPECT_EQ(state.loan.TotPay, 150'000'000);
    RecordingUserPort port;
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    EXPECT_FALSE(port.messages.empty());
}

TEST_F(ScheduleInputTest, AnEndlessLineOrFileIsRefusedAfterTheLimitNotReadToItsEnd) {
    struct Case {
        const char* name;
        std::string pattern;
        std::int64_t knownSize;  // 0: a stream whose size cannot be found
        std::string message;
        std::int64_t mostTaken;
    };
    const std::string larger = "Cannot read \"in.txt\": it is larger than 2097152 bytes.";
    for (const Case& c :
         {Case{"a 100 MB line", "1", 0,
               "Cannot read \"in.txt\": line 1 is longer than 1024 characters.", 64 * 1024},
          Case{"100 MB of line ends", "\r\n", 0, larger, 2 * 1024 * 1024 + 64 * 1024},
          Case{"100 MB of groups, its size known", "1,1,1,1,1\r\n", 100'000'000, larger, 0}}) {
        EndlessBuf buf(c.pattern, 100'000'000);
        std::istream in(&buf);
        const ScheduleLoad load =
            LoadDataFromStream(state.loan, state.regular, paySet, in, c.knownSize, "in.txt");
        EXPECT_FALSE(load.loaded) << c.name;
        ASSERT_EQ(load.messages.size(), 1u) << c.name;
        EXPECT_EQ(load.messages[0].text, c.message + "\n\rThe schedule was not changed.") << c.name;
        EXPECT_LE(buf.taken, c.mostTaken) << c.name;
        EXPECT_EQ(Groups(paySet), before) << c.name;
    }
}

// Seeded random inputs, mostly mutations of good lines.
class RandomInput {
  public:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // The text with up to six random edits: a token put in, a few bytes
    // taken out, a byte changed, or the rest cut off.
    std::string Mutate(std::string text) {
        static const std::vector<std::string> tokens = {",",
                                                        "\r\n",
                                                        "\r",
                                                        "\n",
                                                        "'",
                                                        "\"",
                                                        "0",
                                                        "1",
                                                        "-",
                                                        ".",
                                                        "e",
                                                        " ",
                                                        "\t",
                                                        std::string(1, '\0'),
                                                        "1e308",
                                                        "nan",
                                                        "-0",
                                                        "-1",
                                                        "2147483648",
                                                        "7",
                                                        "\xEF\xBB\xBF",
                                                        "99999999999999999"};
        for (int edits = Pick(0, 6); edits > 0; --edits) {
            const auto at = static_cast<std::size_t>(Pick(0, static_cast<int>(text.size())));
            switch (Pick(0, 3)) {
                case 0:
                    text.insert(at, tokens[static_cast<std::size_t>(
                                        Pick(0, static_cast<int>(tokens.size()) - 1))]);
                    break;
                case 1:
                    text.erase(at, static_cast<std::size_t>(Pick(1, 8)));
                    break;
                case 2:
                    if (at < text.size()) text[at] = static_cast<char>(Pick(0, 255));
                    break;
                default:
                    text.resize(at);
            }
        }
        return text;
    }

  private:
    std::mt19937 rng_{20'241'002};
};

bool StrictlyRising(const std::vector<std::int64_t>& lines, std::int64_t last) {
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k] < 1 || lines[k] > last || (k > 0 && lines[k] <= lines[k - 1])) return false;
    return true;
}

// The importer under every setting: each line is stored, dropped or skipped
// as blank, and the line numbers it reports are real lines.
TEST_F(ScheduleInputTest, RandomInputsToTheImporterAreStoredDroppedOrSkipped) {
    RandomInput random;
    TCSVImport csi;
    csi.DataSet = &paySet;
    for (int n = 0; n < 90'000; ++n) {
        csi.FieldSeparator = static_cast<TFieldSeparator>(random.Pick(0, 4));
        csi.SetCustomSeparator(std::string(1, static_cast<char>(random.Pick(0, 127))));
        csi.FieldDelimiter = static_cast<TFieldDelimiter>(random.Pick(0, 2));
        csi.ImportType = static_cast<TImportType>(random.Pick(0, 1));
        csi.FieldListAction = static_cast<TFieldListAction>(random.Pick(0, 2));
        csi.FieldList = {"PaySize"};
        csi.MaxRecords = random.Pick(-1, 3);
        const std::size_t from = static_cast<std::size_t>(random.Pick(0, 3)) * 14;
        const std::string text = random.Mutate(kExample.substr(from, 30));

        paySet.Clear();
        std::istringstream in(text);
        const std::int64_t stored =
            csi.ExecuteStream(in, static_cast<std::int64_t>(text.size()), "in.txt");
        const auto lines = static_cast<std::int64_t>(
            std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }) +
            1);
        ASSERT_GE(stored, 0) << text;
        ASSERT_LE(paySet.Count(), stored) << text;  // blank lines count as read
        ASSERT_LE(stored + csi.ErrorRecords(), lines) << text;
        ASSERT_TRUE(StrictlyRising(csi.ErrorLines(), lines)) << text;
        ASSERT_TRUE(StrictlyRising(csi.UnreadableLines(), lines)) << text;
    }
}

// Whole loads: every outcome is either a whole load or no change at all.
TEST_F(ScheduleInputTest, RandomFilesLoadWholeOrChangeNothing) {
    RandomInput random;
    const std::string varExample = "0,1,0,5000,0,0\r\n1,12,8.5,450,1,0\r\n2,24,9.25,460.5,1,0\r\n";
    for (int n = 0; n < 10'000; ++n) {
        const bool list = n % 4 == 3;
        const std::string text = random.Mutate(list ? varExample : kExample);
        std::istringstream in(text);
        const auto size = static_cast<std::int64_t>(text.size());
        if (list) {
            const int countBefore = variable.Count();
            const VarListLoad load = LoadVarDataFromStream(variable, in, size, "in.txt");
            if (!load.loaded) {
                ASSERT_EQ(load.messages.size(), 1u) << text;
                ASSERT_EQ(variable.Count(), countBefore) << text;
            } else if (!load.headerMissing) {
                ASSERT_GE(ItemOf(load.interval), 0) << text;
                ASSERT_LT(ItemOf(load.interval), kIntervalCount) << text;
            }
            continue;
        }
        state = LoanState{};
        const int countBefore = paySet.Count();
        const ScheduleLoad load =
            LoadDataFromStream(state.loan, state.regular, paySet, in, size, "in.txt");
        if (!load.loaded) {
            ASSERT_EQ(load.messages.size(), 1u) << text;
            ASSERT_EQ(state.loan.AmtFin, 0.0) << text;
            ASSERT_EQ(paySet.Count(), countBefore) << text;
        } else if (!load.headerMissing) {
            ASSERT_GE(ItemOf(load.interval), 0) << text;
            ASSERT_LT(ItemOf(load.interval), kIntervalCount) << text;
            ASSERT_GE(state.loan.AmtFin, 0.0) << text;
            std::int64_t count = 0;
            for (const PayGroup& g : Groups(paySet)) count += g.SetSize;
            ASSERT_EQ(state.loan.PayCount, count) << text;
        }
    }
}

}  // namespace
}  // namespace qv
