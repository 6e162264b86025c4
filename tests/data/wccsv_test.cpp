#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/user_port.h"
#include "core/schedule_fixture.h"
#include "data/memdset.h"
#include "data/temp_folder.h"
#include "data/wccsvexp.h"
#include "data/wccsvimp.h"
#include "data/wcprgwnd.h"

namespace qv {
namespace {

using test::ReadFile;
using test::WriteFile;

// The table's rows in its order, cells joined by "|" so that an empty field
// shows as nothing between two bars.
std::vector<std::string> Rows(const TMemDataSet& t) {
    std::vector<std::string> out;
    for (int r = 0; r < t.RowCount(); ++r) {
        std::string row;
        for (int k = 0; k < t.FieldCount(); ++k) row += (k ? "|" : "") + t.CellText(r, k);
        out.push_back(row);
    }
    return out;
}

// Keeps every Start and Update a component reports.
struct RecordingProgress : ProgressObserver {
    void Start(ProgressKind, ProgressBasis, std::int64_t bytes, std::int64_t records,
               const std::string&) override {
        starts.push_back({bytes, records});
    }
    void Update(std::int64_t records, std::int64_t bytes) override {
        updates.push_back({records, bytes});
    }
    void Finish() override { ++finishes; }
    std::vector<std::pair<std::int64_t, std::int64_t>> starts, updates;
    int finishes = 0;
};

class CsvTest : public ::testing::Test {
  protected:
    CsvTest() {
        DefinePaySetTable(paySet);
        csx.DataSet = &paySet;
        csx.OutputFile = (folder.path / "PaySet.txt").string();
        csi.DataSet = &paySet;
        csi.InputFile = csx.OutputFile;
    }
    // Imports the text into the emptied table.
    std::int64_t Import(const std::string& text) {
        EmptyTable(paySet);
        std::istringstream in(text);
        return csi.ExecuteStream(in, static_cast<std::int64_t>(text.size()), "PaySet.txt");
    }

    test::TempFolder folder{"qv_csv_"};
    TMemDataSet paySet{"mdsPaySet"};
    TCSVExport csx;
    TCSVImport csi;
};

// --- export ---------------------------------------------------------------------

TEST_F(CsvTest, ExportWritesOneLinePerRecordInKeyOrderWithEmptyFieldsEmpty) {
    test::AddGroups(paySet, {{12, 88.85, 1, 0}, {1, 0.01, 2, 15}});
    paySet.AppendNew();  // left pending: the export stores it first
    paySet.SetFieldInteger("Sequence", 0);
    paySet.SetFieldInteger("SetSize", 3);

    EXPECT_EQ(csx.Execute(), 3);
    EXPECT_EQ(ReadFile(csx.OutputFile), "3,0,,,\r\n12,1,88.85,1,0\r\n1,2,0.01,2,15\r\n");
    EXPECT_TRUE(paySet.AtEnd());
    EXPECT_EQ(csx.LastError(), "");
}

TEST_F(CsvTest, ExportLayoutsFollowTheSettings) {
    test::AddGroups(paySet, {{12, 88.85, 1, 0}, {1, 12.5, 1, 0}});
    struct Case {
        const char* name;
        std::function<void(TCSVExport&)> set;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"pipe", [](TCSVExport& c) { c.FieldSeparator = fspPipe; },
         "12|1|88.85|1|0\r\n1|2|12.5|1|0\r\n"},
        {"tab", [](TCSVExport& c) { c.FieldSeparator = fspTab; },
         "12\t1\t88.85\t1\t0\r\n1\t2\t12.5\t1\t0\r\n"},
        {"custom, trimmed to one character",
         [](TCSVExport& c) {
             c.FieldSeparator = fspCustom;
             c.SetCustomSeparator("  ;x ");
         },
         "12;1;88.85;1;0\r\n1;2;12.5;1;0\r\n"},
        {"no separator", [](TCSVExport& c) { c.FieldSeparator = fspNone; },
         "12188.8510\r\n1212.510\r\n"},
        {"every value delimited", [](TCSVExport& c) { c.DelimitedFields = dfAll; },
         "'12','1','88.85','1','0'\r\n'1','2','12.5','1','0'\r\n"},
        {"double quotes",
         [](TCSVExport& c) {
             c.DelimitedFields = dfAll;
             c.FieldDelimiter = fdlDouble;
         },
         "\"12\",\"1\",\"88.85\",\"1\",\"0\"\r\n\"1\",\"2\",\"12.5\",\"1\",\"0\"\r\n"},
        {"included fields",
         [](TCSVExport& c) {
             c.FieldListAction = flaInclude;
             c.FieldList = {"paysize", "Sequence"};
         },
         "1,88.85\r\n2,12.5\r\n"},
        {"excluded fields",
         [](TCSVExport& c) {
             c.FieldListAction = flaExclude;
             c.FieldList = {"PaySize", "AddDays"};
         },
         "12,1,1\r\n1,2,1\r\n"},
        {"at most one record", [](TCSVExport& c) { c.MaxRecords = 1; }, "12,1,88.85,1,0\r\n"},
        {"fixed, numbers left",
         [](TCSVExport& c) {
             c.ExportType = expFixed;
             c.FieldListAction = flaInclude;
             c.FieldList = {"SetSize", "PaySize"};
         },
         "12         ,88.85                 \r\n1          ,12.5                  \r\n"},
        {"fixed, numbers right",
         [](TCSVExport& c) {
             c.ExportType = expFixed;
             c.NumericAlign = naRight;
             c.FieldSeparator = fspNone;
             c.FieldListAction = flaInclude;
             c.FieldList = {"SetSize", "PaySize"};
         },
         "         12                 88.85\r\n          1                  12.5\r\n"},
    };
    for (const Case& c : cases) {
        TCSVExport e;
        e.DataSet = &paySet;
        e.OutputFile = csx.OutputFile;
        c.set(e);
        e.Execute();
        EXPECT_EQ(ReadFile(e.OutputFile), c.text) << c.name;
    }
}

TEST_F(CsvTest, AnEmptyTableGivesAnEmptyFile) {
    WriteFile(csx.OutputFile, "old");
    EXPECT_EQ(csx.Execute(), 0);
    EXPECT_EQ(ReadFile(csx.OutputFile), "");
}

TEST_F(CsvTest, AFailedExportReportsWhyAndLeavesTheOldFile) {
    test::AddGroups(paySet, {{12, 88.85, 1, 0}});
    csx.OutputFile = (folder.path / "missing" / "PaySet.txt").string();
    EXPECT_EQ(csx.Execute(), -1);
    EXPECT_EQ(csx.LastError(), "Cannot save \"" + csx.OutputFile + "\": No such file or directory");

    // A record the table cannot store stops the export before anything is written.
    csx.OutputFile = (folder.path / "PaySet.txt").string();
    WriteFile(csx.OutputFile, "old");
    paySet.AppendNew();
    paySet.SetFieldInteger("SetSize", 3);
    EXPECT_EQ(csx.Execute(), -1);
    EXPECT_EQ(csx.LastError(), "Field 'Sequence' must have a value");
    EXPECT_EQ(ReadFile(csx.OutputFile), "old");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"PaySet.txt"}));
}

TEST_F(CsvTest, ExportReportsProgressEveryHundredthOfTheRecordsAndFiresItsEvents) {
    for (int k = 1; k <= 250; ++k) test::AddGroups(paySet, {{1, 10.0, 1, 0}});
    ProgressWindowTexts window([] { return std::chrono::steady_clock::time_point{}; });
    RecordingProgress seen;
    struct Both : ProgressObserver {
        ProgressObserver* a;
        ProgressObserver* b;
        void Start(ProgressKind k, ProgressBasis s, std::int64_t x, std::int64_t y,
                   const std::string& f) override {
            a->Start(k, s, x, y, f);
            b->Start(k, s, x, y, f);
        }
        void Update(std::int64_t r, std::int64_t x) override {
            a->Update(r, x);
            b->Update(r, x);
        }
        void Finish() override {
            a->Finish();
            b->Finish();
        }
    } both;
    both.a = &window;
    both.b = &seen;
    csx.ShowProgress = true;
    csx.Progress = &both;
    std::vector<std::string> events;
    csx.OnBeginExport = [&](TCSVExport&) { events.push_back("begin"); };
    csx.OnExportRecord = [&](TCSVExport&, std::int64_t r, std::int64_t) {
        if (r == 250) events.push_back("record 250");
    };
    csx.OnFinishExport = [&](TCSVExport&) { events.push_back("finish"); };

    EXPECT_EQ(csx.Execute(), 250);
    ASSERT_EQ(seen.updates.size(), 125u);
    EXPECT_EQ(seen.updates.front().first, 2);
    EXPECT_EQ(seen.updates[1].first, 4);
    EXPECT_EQ(seen.updates.back().first, 250);
    std::int64_t bytes = 0;
    for (int k = 1; k <= 250; ++k) bytes += 11 + static_cast<int>(std::to_string(k).size());
    EXPECT_EQ(seen.updates.back().second, bytes);  // the lines "1,k,10,1,0\r\n"
    EXPECT_EQ(seen.finishes, 1);
    EXPECT_EQ(window.lbRecords(), "250 of 250 records");
    EXPECT_EQ(window.lbPercentage(), "100%");
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "record 250", "finish"}));
}

// --- import ---------------------------------------------------------------------

TEST_F(CsvTest, ImportReadsEachLineAsARecordWithTheComponentsQuirks) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> rows;
        std::vector<std::int64_t> unreadable;
        std::vector<std::int64_t> dropped;
        std::int64_t returned = -2;  // lines read less dropped ones; -2: one per row
    };
    const std::vector<Case> cases = {
        {"the system's line", "12,1,88.85,1,0\r\n", {"12|1|88.85|1|0"}, {}, {}},
        {"a value that is no number leaves its field empty",
         "12,1,abc,1,0\r\n",
         {"12|1||1|0"},
         {1},
         {}},
        {"fewer values than fields", "12,1\r\n", {"12|1|||"}, {}, {}},
        {"more values than fields", "12,1,5,1,0,99,x\r\n", {"12|1|5|1|0"}, {}, {}},
        {"one delimiter off each side", "'12',1,''5'',1,0\r\n", {"12|1||1|0"}, {1}, {}},
        {"a separator inside delimiters still splits", "'1,5',2\r\n", {"1|5|2||"}, {}, {}},
        {"an empty Sequence drops the line",
         "12,,88.85,1,0\r\n7,2,1,1,0\r\n",
         {"7|2|1|1|0"},
         {},
         {1}},
        {"blank lines are skipped but counted",
         "\r\n  \t\r\n3,4,5,6,7\r\n",
         {"3|4|5|6|7"},
         {},
         {},
         3},
        {"a last line without a line end",
         "1,1,1,1,1\r\n2,2,2,2,2",
         {"1|1|1|1|1", "2|2|2|2|2"},
         {},
         {}},
        {"line feeds, carriage returns and both end lines",
         "1,1,1,1,1\n2,2,2,2,2\r3,3,3,3,3\r\n\r4,4,4,4,4",
         {"1|1|1|1|1", "2|2|2|2|2", "3|3|3|3|3", "4|4|4|4|4"},
         {},
         {},
         5},
        {"a byte-order mark",
         "\xEF\xBB\xBF"
         "1,2,3,4,5\r\n",
         {"1|2|3|4|5"},
         {},
         {}},
        {"NUL bytes, infinities, NaN, out-of-range counts",
         std::string("1,2,3\0"
                     "4,5,6\r\n",
                     13) +
             "1,3,nan,1,0\r\n1,4,1e999,1,0\r\n" + "2147483648,5,1e308,-0,0\r\n",
         {"1|2||5|6", "1|3||1|0", "1|4||1|0", "|5|1e+308|0|0"},
         {1, 2, 3, 4},
         {}},
    };
    for (const Case& c : cases) {
        const std::int64_t returned = Import(c.text);
        EXPECT_EQ(Rows(paySet), c.rows) << c.name;
        EXPECT_EQ(returned,
                  c.returned == -2 ? static_cast<std::int64_t>(c.rows.size()) : c.returned)
            << c.name;
        EXPECT_EQ(csi.UnreadableLines(), c.unreadable) << c.name;
        EXPECT_EQ(csi.ErrorLines(), c.dropped) << c.name;
        EXPECT_EQ(csi.ErrorRecords(), static_cast<std::int64_t>(c.dropped.size())) << c.name;
    }
}

TEST_F(CsvTest, FixedLayoutAndFieldListsReadWhatTheExportWrote) {
    csx.ExportType = expFixed;
    csx.FieldSeparator = fspNone;
    csi.ImportType = impFixed;
    csi.FieldListAction = flaExclude;
    csi.FieldList = {"AddDays"};
    for (TNumericAlignment align : {naLeft, naRight}) {
        EmptyTable(paySet);
        test::AddGroups(paySet, {{12, 88.85, 1, 0}, {1, 123456.789, 22, 15}});
        csx.NumericAlign = align;
        ASSERT_EQ(csx.Execute(), 2);
        Import(ReadFile(csx.OutputFile));
        EXPECT_EQ(Rows(paySet), (std::vector<std::string>{"12|1|88.85|1|", "1|2|123456.789|22|"}));
    }
}

TEST_F(CsvTest, ImportFromAFileReportsItsProgressEventsAndErrors) {
    // 10,240 bytes: 1,024 lines of "1,k,1,1\r\n" padded to ten bytes.
    std::string text;
    for (int k = 1; k <= 1024; ++k) {
        std::string line = std::to_string(k % 10) + "," + std::to_string(k);
        text += line + std::string(8 - line.size(), ' ') + "\r\n";
    }
    text.replace(text.size() - 10, 10, "9,,     \r\n");  // the last line has no Sequence
    ASSERT_EQ(text.size(), 10240u);
    WriteFile(csi.InputFile, text);

    ProgressWindowTexts window([] { return std::chrono::steady_clock::time_point{}; });
    RecordingUserPort port;
    csi.ShowProgress = true;
    csi.Progress = &window;
    csi.Port = &port;
    std::int64_t eventBytes = 0;
    int begins = 0, finishes = 0;
    csi.OnBeginImport = [&](TCSVImport&) {
        ++begins;
        EXPECT_EQ(window.lbBytes(), "0K of 10.0K read");
    };
    csi.OnImportRecord = [&](TCSVImport&, std::int64_t bytes) { eventBytes += bytes; };
    csi.OnFinishImport = [&](TCSVImport&) { ++finishes; };

    EXPECT_EQ(csi.Execute(), 1023);
    EXPECT_EQ(csi.ErrorRecords(), 1);
    EXPECT_EQ(csi.ErrorLines(), (std::vector<std::int64_t>{1024}));
    EXPECT_EQ(eventBytes, 10240);  // each line's characters and 2 for its end
    EXPECT_EQ(begins + finishes, 2);
    EXPECT_EQ(window.lbRecords(), "1024 records");
    EXPECT_EQ(window.lbPercentage(), "100%");
    EXPECT_EQ(
        port.messages,
        (std::vector<RecordedMessage>{
            {MessageKind::Warning, "There were 1 records that could not be read due to errors"}}));

    csi.MaxRecords = 3;
    EmptyTable(paySet);
    EXPECT_EQ(csi.Execute(), 3);
    EXPECT_EQ(paySet.Count(), 3);
}

TEST_F(CsvTest, AFileThatCannotBeReadEndsTheImportWithAReason) {
    csi.InputFile = (folder.path / "none.txt").string();
    EXPECT_EQ(csi.Execute(), -1);
    EXPECT_EQ(csi.LastError(), "Cannot open \"" + csi.InputFile + "\": No such file or directory");
    csi.InputFile = folder.path.string();
    EXPECT_EQ(csi.Execute(), -1);
    EXPECT_EQ(csi.LastError(), "Cannot open \"" + csi.InputFile + "\": Is a directory");

    csi.MaxLineLength = 16;
    EXPECT_EQ(Import("1,1,1,1,1\r\n1,2,1,1,1234567890123\r\n"), -1);
    EXPECT_EQ(csi.LastError(), "Cannot read \"PaySet.txt\": line 2 is longer than 16 characters.");
    csi.MaxFileSize = 20;
    EXPECT_EQ(Import("1,1,1,1,1\r\n1,2,1,1,1\r\n"), -1);
    EXPECT_EQ(csi.LastError(), "Cannot read \"PaySet.txt\": it is larger than 20 bytes.");
}

// --- field types ------------------------------------------------------------------

// A table with a field of every kind the files treat differently, and its
// components writing and reading one file.
class TypedCsvTest : public ::testing::Test {
  protected:
    TypedCsvTest() {
        table.SetFieldsDefinitionItems({"Name;1;6", "Count;2", "Paid;5", "Amount;7", "Due;9",
                                        "At;10", "Stamp;11", "Note;16;4", "Rich;18;8", "Raw;15;3",
                                        "Rate;6"});
        table.Open();
        csx.DataSet = &table;
        csx.OutputFile = (folder.path / "typed.txt").string();
        csi.DataSet = &table;
        csi.InputFile = csx.OutputFile;
    }
    void Add(const std::vector<std::pair<std::string, std::string>>& values) {
        table.AppendNew();
        for (const auto& [field, text] : values) table.SetFieldString(field, text);
        table.Post();
    }
    // Exports, empties the table and imports the file again.
    std::vector<std::string> RoundTrip() {
        EXPECT_EQ(csx.Execute(), table.Count());
        EmptyTable(table);
        EXPECT_EQ(csi.Execute(), 2);
        return Rows(table);
    }
    void AddTwoRecords() {
        Add({{"Name", "Ann"},
             {"Count", "-5"},
             {"Paid", "True"},
             {"Amount", "1234.5"},
             {"Due", "2024-03-07"},
             {"At", "14:05"},
             {"Stamp", "3/7/2024 14:05:00.25"},
             {"Note", "memo"},
             {"Rich", "fmt"},
             {"Raw", "xyz"},
             {"Rate", "0.07"}});
        Add({{"Count", "0"}});  // every other field empty
    }

    test::TempFolder folder{"qv_csvtypes_"};
    TMemDataSet table{"T"};
    TCSVExport csx;
    TCSVImport csi;
};

TEST_F(TypedCsvTest, DelimitedFilesWrapOnlyTextAndLeaveMemosAndBlobsOut) {
    AddTwoRecords();
    ASSERT_EQ(csx.Execute(), 2);
    EXPECT_EQ(ReadFile(csx.OutputFile),
              "'Ann',-5,True,1234.5,03/07/2024,14:05:00,03/07/2024 14:05:00.250,'','fmt',,0.07\r\n"
              "'',0,,,,,,'','',,\r\n");
    EmptyTable(table);
    EXPECT_EQ(csi.Execute(), 2);
    EXPECT_EQ(Rows(table),
              (std::vector<std::string>{
                  "Ann|-5|True|1234.5|03/07/2024|14:05:00|03/07/2024 14:05:00.250||fmt||0.07",
                  "|0|||||||||"}));
}

TEST_F(TypedCsvTest, FixedLayoutFillsEveryColumnAndReadsBackWhatItWrote) {
    AddTwoRecords();
    csx.ExportType = expFixed;
    csx.NumericAlign = naRight;
    csx.FieldSeparator = csi.FieldSeparator = fspNone;
    csx.FieldDelimiter = csi.FieldDelimiter = fdlNone;
    csi.ImportType = impFixed;
    ASSERT_EQ(csx.Execute(), 2);
    const std::string first = std::string("Ann   ") + "    -5" + "True " + std::string(15, ' ') +
                              "1234.5" + "03/07/2024" + "14:05:00    " + "03/07/2024 14:05:00.250" +
                              "    " + "fmt     " + "   " + std::string(18, ' ') + "0.07";
    const std::string second =
        std::string(6, ' ') + "     0" + std::string(5 + 21 + 10 + 12 + 23 + 4 + 8 + 3 + 22, ' ');
    EXPECT_EQ(ReadFile(csx.OutputFile), first + "\r\n" + second + "\r\n");
    EmptyTable(table);
    EXPECT_EQ(csi.Execute(), 2);
    EXPECT_EQ(csi.UnreadableLines(), std::vector<std::int64_t>{});  // blank columns are empty
    EXPECT_EQ(Rows(table),
              (std::vector<std::string>{
                  "Ann|-5|True|1234.5|03/07/2024|14:05:00|03/07/2024 14:05:00.250||fmt||0.07",
                  "|0|||||||||"}));
}

TEST_F(TypedCsvTest, AValueALineCannotHoldEndsTheExportAndKeepsTheOldFile) {
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"a line break in a string",
         [&] {
             Add({{"Name", "a\nb"}});
         }},
        {"a carriage return in a formatted memo",
         [&] {
             Add({{"Rich", "a\rb"}});
         }},
        {"a formatted memo longer than its fixed column",
         [&] {
             Add({{"Rich", "123456789"}});
             csx.ExportType = expFixed;
         }},
    };
    for (const auto& [name, prepare] : cases) {
        EmptyTable(table);
        csx.ExportType = expDelimited;
        WriteFile(csx.OutputFile, "old");
        prepare();
        EXPECT_EQ(csx.Execute(), -1) << name;
        EXPECT_EQ(csx.LastError(), "Data conversion error!") << name;
        EXPECT_EQ(ReadFile(csx.OutputFile), "old") << name;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"typed.txt"}) << name;
    }
}

TEST_F(TypedCsvTest, ImportReadsBooleansAmountsAndDatesAsFilesWriteThem) {
    // {field, value in the file, text the field shows, whether the line is
    // reported as holding a value that did not convert}
    struct Case {
        std::string field;
        std::string value;
        std::string shown;
        bool unreadable;
    };
    const std::vector<Case> cases = {
        {"Paid", "TRUE", "True", false},
        {"Paid", "yes", "True", false},
        {"Paid", " y ", "True", false},
        {"Paid", "1", "True", false},
        {"Paid", "t", "True", false},
        {"Paid", "E1Y", "True", false},
        {"Paid", "0", "False", false},
        {"Paid", "No", "False", false},
        {"Paid", "FALSE", "False", false},
        {"Paid", "x", "False", false},
        {"Paid", "  ", "", true},
        {"Amount", "$1,234.50", "1234.5", false},
        {"Amount", "(5.00)", "5", false},
        {"Amount", "-$0.01", "-0.01", false},
        {"Amount", "USD 7", "7", false},
        {"Amount", "1-2", "", true},
        {"Amount", "$", "", true},
        {"Due", "2024-03-07", "03/07/2024", false},
        {"Due", "3/7/24", "", true},
        {"At", "7:30 pm", "", true},
        {"Stamp", "2024-03-07T23:59", "03/07/2024 23:59:00", false},
        {"Name", "toolong", "", true},
        {"Rich", " kept as is ", " kept as is ", false},
        {"Raw", "bytes", "bytes", false},
    };
    csi.FieldListAction = flaInclude;
    csi.FieldSeparator = fspPipe;  // amounts with thousands separators
    for (const Case& c : cases) {
        csi.FieldList = {c.field};
        // The field's value at its place on an otherwise empty line.
        std::string line;
        for (int k = 0; k < table.FieldCount(); ++k)
            line += (k ? "|" : "") + (table.FieldDefAt(k).name == c.field ? c.value : "");
        EmptyTable(table);
        std::istringstream in(line + "\r\n");
        EXPECT_EQ(csi.ExecuteStream(in, 0, "typed.txt"), 1) << c.value;
        table.MoveFirst();
        EXPECT_EQ(table.FieldAsString(c.field), c.shown) << c.value;
        EXPECT_EQ(csi.UnreadableLines().size(), c.unreadable ? 1u : 0u) << c.value;
    }
}

}  // namespace
}  // namespace qv
