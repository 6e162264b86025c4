// quorvane-cli as a script uses it: through pipes, named pipes, standard
// input and endless devices, with its output going nowhere, and with batch
// files that are wrong in the ways people get them wrong.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "cli/cli_app.h"
#include "data/temp_folder.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell script in `folder` with $Q standing for the program and $E
// for the examples folder.
Outcome Script(const fs::path& folder, const std::string& script) {
    const fs::path out = folder / ".out";
    const fs::path err = folder / ".err";
    const std::string command = "cd '" + folder.string() + "' && Q='" + QV_CLI_PROGRAM + "' E='" +
                                QV_EXAMPLES_DIR + "' sh -c '" + script + "' >'" + out.string() +
                                "' 2>'" + err.string() + "'";
    const int wait = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    o.out = ReadFile(out);
    o.err = ReadFile(err);
    return o;
}

Outcome InProcess(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    args.insert(args.begin(), "quorvane-cli");
    Outcome o;
    o.status = RunCli(args, out, err, CliEnvironment{false, 2});
    o.out = out.str();
    o.err = err.str();
    return o;
}

TEST(CliAsAScriptUsesIt, EveryInputIsReadOnceWhateverItIs) {
    TempFolder folder("qv_cli_script_");
    struct Case {
        const char* what;
        const char* script;
        int status;
        const char* out;  // found in standard output
        const char* err;  // found in standard error
    };
    const Case cases[] = {
        {"CSV on standard input", "$Q apr --format csv - < $E/loans.csv", kExitSomeLoans,
         "car-017,-:2,computed,9.686,", "-:8: too-long: 600 payments scheduled"},
        {"JSON Lines through a pipe",
         "printf \"%s\\n\" "
         "\"{\\\"id\\\":\\\"p\\\",\\\"amount_financed\\\":5000,\\\"interval\\\":\\\"monthly\\\","
         "\\\"groups\\\":[{\\\"count\\\":24,\\\"payment\\\":230}]}\" | $Q apr --format csv -",
         kExitOk, "p,-:1,computed,9.686,", "1 loan: 1 computed, 0 with errors"},
        {"a schedule file on standard input", "$Q apr --format csv - < $E/regular-odd-first.txt",
         kExitOk, ",10.289,12000.00,", ""},
        {"a named pipe, read once",
         "mkfifo f.csv; cat $E/loans.csv > f.csv & $Q apr --format csv f.csv", kExitSomeLoans,
         "weekly,f.csv:7,computed,15.004,", "7 loans: 6 computed, 1 with errors"},
        {"an ending in capitals", "cp $E/loans.csv LOANS.CSV; $Q apr --format csv LOANS.CSV",
         kExitSomeLoans, "odd-first,LOANS.CSV:4,computed,11.817,", ""},
        {"a .json file of one object per line",
         "printf "
         "\"{\\\"amount_financed\\\":5000,\\\"interval\\\":1,\\\"groups\\\":[{\\\"count\\\":24,"
         "\\\"payment\\\":230}]}\\n\" > l.json; $Q apr --format csv l.json",
         kExitOk, "l.json:1,l.json:1,computed,9.686,", ""},
        {"a .json file of one object over lines",
         "printf \"{\\n \\\"amount_financed\\\": 5000\\n}\\n\" > p.json; $Q apr p.json",
         kExitSomeLoans, "", "p.json:1: not JSON (a batch holds one object per line)"},
        {"--input-format over the ending",
         "cp $E/loans.csv loans.txt; $Q apr --input-format csv --format csv loans.txt",
         kExitSomeLoans, "balloon,loans.txt:5,computed,10.5,", ""},
        {"an endless line ends at once", "ln -s /dev/zero zero.csv; timeout 60 $Q apr zero.csv",
         kExitBadInput, "",
         "zero.csv:1: the line is longer than 65536 characters; the rest of the file is not read"},
        {"standard input named twice", "$Q apr - - < $E/loans.csv", kExitBadInput, "",
         "standard input (-) can be read only once"},
        {"a full disk under the records", "$Q apr --format csv $E/loans.csv > /dev/full",
         kExitBadInput, "",
         "quorvane-cli: write error on standard output: No space left on device"},
        {"a full disk under a long batch on two jobs",
         "(echo id,amount_financed,interval,groups; for i in $(seq 4000); do "
         "echo L$i,5000,monthly,24:230; done) > long.csv; "
         "$Q apr --jobs 2 --format csv long.csv > /dev/full",
         kExitBadInput, "",
         "quorvane-cli: write error on standard output: No space left on device"},
        {"a run stopped by a signal leaves the old -o file and no temporary one",
         "(echo id,amount_financed,interval,groups; for i in $(seq 20000); do "
         "echo L$i,50000,monthly,360:500; done) > big.csv; mkdir k; echo old > k/r.csv; "
         "$Q apr --jobs 2 --format csv -o k/r.csv big.csv & p=$!; "
         "for t in $(seq 1000); do ls -A k | grep -q tmp && break; sleep 0.01; done; "
         "kill -TERM $p; wait $p; echo \"status $?\"; ls -A k; cat k/r.csv",
         kExitOk, "status 143\nr.csv\nold\n", ""},
        {"a full disk under the chart", "$Q chart $E/irregular.txt > /dev/full", kExitBadInput, "",
         "write error on standard output: No space left on device"},
        {"a full disk under the help", "$Q apr --help > /dev/full", kExitBadInput, "",
         "write error on standard output"},
        {"chart -o - is standard output", "$Q chart -o - $E/irregular.txt", kExitOk,
         "Estimated APR = 9.34%\r\n", ""},
        {"-o leaves the old file when the run fails",
         "echo old > c.txt; $Q chart -o c.txt missing.txt; echo \"status $?\"; cat c.txt", kExitOk,
         "status 2\nold\n", "missing.txt: cannot open: No such file or directory"},
        {"-o leaves the old file when no loan is found",
         "echo old > r.csv; $Q apr --format csv -o r.csv missing.csv; echo \"status $?\"; "
         "cat r.csv",
         kExitOk, "status 2\nold\n", "no loans found in the input given"},
        {"-o holds exactly what standard output would",
         "$Q apr --format json -o r.json $E/loans.csv 2>/dev/null; "
         "$Q apr --format json $E/loans.csv 2>/dev/null | cmp - r.json && echo same",
         kExitOk, "same", ""},
        {"a folder of many schedule files holds few open",
         "mkdir many; for i in $(seq 300); do cp $E/irregular.txt many/$i.txt; done; "
         "ulimit -n 40; $Q apr --jobs 8 --format csv many | grep -c \",computed,\"",
         kExitOk, "300\n", "300 loans: 300 computed, 0 with errors"},
        {"-o into a named pipe writes to its reader and leaves the pipe",
         "mkfifo o; timeout 30 cat o > got & $Q apr -o o $E/irregular.txt; wait; "
         "test -p o && cat got",
         kExitOk, "Estimated APR = 9.34%", ""},
        {"-o into a link to a named pipe leaves link and pipe",
         "mkfifo p; ln -s p l; timeout 30 cat p > got2 & $Q chart -o l $E/irregular.txt; wait; "
         "test -L l && test -p p && cat got2",
         kExitOk, "Estimated APR = 9.34%\r\n", ""},
        {"-o naming an input leaves the input as it was",
         "cp $E/loans.csv l.csv; cp $E/irregular.txt s.txt; $Q apr --format csv -o l.csv l.csv; "
         "echo \"status $?\"; $Q chart -o ./s.txt s.txt; echo \"status $?\"; "
         "cmp l.csv $E/loans.csv && cmp s.txt $E/irregular.txt && echo same",
         kExitOk, "status 2\nstatus 2\nsame",
         "the output file l.csv is also an input: writing it would replace what it is read "
         "from"},
        {"an empty --jobs or -o, as from an unset variable, is refused",
         "$Q apr --jobs \"\" $E/loans.csv; echo \"status $?\"; "
         "$Q chart -o \"\" $E/irregular.txt; echo \"status $?\"",
         kExitOk, "status 2\nstatus 2\n", "--jobs wants a whole number from 1 to 1024, not \"\""},
        {"-o into a folder that is not there", "$Q apr -o no/such/r.csv $E/loans.csv",
         kExitBadInput, "", "Cannot save \"no/such/r.csv\": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome o = Script(folder.path, c.script);
        EXPECT_EQ(o.status, c.status) << o.err;
        EXPECT_NE(o.out.find(c.out), std::string::npos) << o.out;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        // Nothing half written is left behind.
        for (const auto& entry : fs::directory_iterator(folder.path))
            EXPECT_FALSE(entry.path().string().ends_with(".tmp")) << entry.path();
    }
}

// Batch lines as people get them wrong: each is a record error naming the
// field and value, in the companion's words, and the batch goes on.
TEST(CliAsAScriptUsesIt, BatchLinesAreReadStrictly) {
    TempFolder folder("qv_cli_strict_");
    struct Case {
        const char* line;  // after the header id,amount_financed,interval,groups
        const char* error;
    };
    const Case csv[] = {
        {"x1,5000,monthly,12:230,12:100", "5 fields, the header has 4"},
        {"x2,5000,monthly", "3 fields, the header has 4"},
        {"cent,5000,monthly,24:230.125",
         "group 1: payment 230.125 has a fraction of a cent (amounts are whole cents)"},
        {"af,5000.005,monthly,24:230", "the amount financed 5000.005 has a fraction of a cent"},
        {"neg,5000,monthly,-24:230", "group 1: count -24 is below zero"},
        {"zero,5000,monthly,24:0", "group 1: payment 0 is not above zero"},
        {"pds,5000,monthly,24:230:-1", "group 1: periods -1 is below zero"},
        {"due,5000,monthly,24:230:0:0", "group 1: a payment due 0 days after the one before"},
        {"none,5000,monthly,", "\"groups\" is empty"},
        {"nought,0,monthly,24:230", "the amount financed is 0"},
        {"count,5000,monthly,24.0:230", "\"group 1 count\": \"24.0\" is not a whole number"},
        {"big,5000,monthly,99999999999:230", "\"group 1 count\": \"99999999999\" is out of range"},
        {"tiny,5000,monthly,24:1e-320", "\"group 1 payment\": \"1e-320\" is out of range"},
    };
    std::string batch = "id,amount_financed,interval,groups\n";
    for (const Case& c : csv) batch += std::string(c.line) + "\n";
    batch += "good,5000,monthly,24:230\n";
    WriteFile(folder.path / "strict.csv", batch);
    const Outcome run =
        InProcess({"apr", "--format", "csv", (folder.path / "strict.csv").string()});
    EXPECT_EQ(run.status, kExitSomeLoans);
    const std::string where = (folder.path / "strict.csv").string();
    std::istringstream err(run.err);
    std::string line;
    for (std::size_t k = 0; k < std::size(csv); ++k) {
        std::getline(err, line);
        const std::string id =
            std::string(csv[k].line).substr(0, std::string(csv[k].line).find(','));
        const std::string start =
            "quorvane-cli: " + where + ":" + std::to_string(k + 2) + ": " + id + ": ";
        EXPECT_TRUE(line.starts_with(start)) << line;
        EXPECT_NE(line.find(csv[k].error), std::string::npos) << line;
    }
    std::getline(err, line);
    EXPECT_EQ(line, "quorvane-cli: 14 loans: 1 computed, 13 with errors");

    const std::string json = (folder.path / "strict.jsonl").string();
    const Case jsonLines[] = {
        {R"({"id":"k","amount_financed":5000,"interval":"monthly","groups":[{"count":24,"payment":230,"period":2}]})",
         "unknown key groups[0].period (did you mean periods?)"},
        {R"({"id":"c","amount_financed":5000,"interval":"monthly","groups":[{"count":24.0,"payment":230}]})",
         "\"groups[0].count\": 24.0 is not a whole number"},
        {R"({"id":"u","amount_financed":5000,"interval":"monthly","groups":[{"count":18446744073709551615,"payment":230}]})",
         "\"groups[0].count\": 18446744073709551615 is out of range"},
        {R"({"id":[1],"amount_financed":5000,"interval":"monthly","groups":[{"count":24,"payment":230}]})",
         "\"id\" must be a text or a number, not [1]"},
        {R"({"id":"t","amount_financed":"5000","interval":"monthly","groups":[{"count":24,"payment":230}]})",
         "\"amount_financed\" must be a number"},
        {R"({"id":"r","amount_financed":5000,"interval":"monthly","groups":[{"count":24,"payment":230,"count":12}]})",
         "\"count\" is given twice"},
        {R"({"id":"e","amount_financed":5000,"interval":"monthly","groups":[]})",
         "the schedule has no payments"},
        {R"({"id":"d","amount_financed":5000,"interval":"monthly","groups":[{"count":24,"payment":230}],"disclosed_apr":1e-320})",
         "\"disclosed_apr\": 1e-320 is out of range"},
    };
    std::string lines;
    for (const Case& c : jsonLines) lines += std::string(c.line) + "\n";
    WriteFile(fs::path(json), lines);
    const Outcome strict = InProcess({"check", "--disclosed-apr", "9.69", json});
    // An unknown key makes the input one this program cannot be sure to read.
    EXPECT_EQ(strict.status, kExitBadInput);
    for (std::size_t k = 0; k < std::size(jsonLines); ++k)
        EXPECT_NE(strict.err.find(json + ":" + std::to_string(k + 1) + ": "), std::string::npos);
    for (const Case& c : jsonLines)
        EXPECT_NE(strict.err.find(c.error), std::string::npos) << c.error;

    // Unknown names are left alone only when asked.
    WriteFile(folder.path / "fc.csv",
              "id,amount_financed,interval,groups,disclosed_fc\ncar,5000,monthly,24:230,380\n");
    const std::string fc = (folder.path / "fc.csv").string();
    const Outcome refused = InProcess({"check", "--disclosed-apr", "9.69", fc});
    EXPECT_EQ(refused.status, kExitBadInput);
    EXPECT_NE(refused.err.find("fc.csv:1: unknown column disclosed_fc (did you mean "
                               "disclosed_finance_charge?)"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(InProcess({"check", "--disclosed-apr", "9.69", "--ignore-unknown", fc}).status,
              kExitOk);
    const Outcome ignored =
        InProcess({"apr", "--ignore-unknown", "--format", "csv", "--input-format", "jsonl", json});
    EXPECT_NE(ignored.out.find("k," + json + ":1,computed,9.686,"), std::string::npos)
        << ignored.out;
}

// check takes each loan's own disclosure from a folder's batch file and the
// command line's only for loans that state none; exit status 1 for a
// disclosure off, 3 when a loan has nothing to check against.
TEST(CliAsAScriptUsesIt, CheckUsesEachLoansOwnDisclosure) {
    TempFolder folder("qv_cli_own_");
    fs::create_directories(folder.path / "loans");
    WriteFile(folder.path / "loans" / "a.csv",
              "id,amount_financed,interval,groups,disclosed_apr,disclosed_finance_charge\n"
              "own,5000,monthly,24:230,9.69,520\n"
              "fc-off,5000,monthly,24:230,9.69,140\n"
              "none,5000,monthly,24:230,,\n");
    const std::string loans = (folder.path / "loans").string();
    const Outcome own = InProcess({"check", "--format", "csv", loans});
    EXPECT_EQ(own.status, kExitSomeLoans) << own.err;
    EXPECT_NE(own.err.find("a.csv:4: none: no disclosed APR to check"), std::string::npos);
    EXPECT_NE(own.err.find("3 loans: 2 computed, 1 with errors, 1 not accurate"), std::string::npos)
        << own.err;
    const Outcome given = InProcess({"check", "--format", "csv", "--disclosed-apr", "9.5", loans});
    EXPECT_EQ(given.status, kExitFailed);
    EXPECT_NE(given.out.find("none,"), std::string::npos);
    EXPECT_NE(given.out.find(",9.69,0.125,regular,"), std::string::npos) << "own value kept";
}

// Ids are shown on a terminal as what they are: aligned by the columns they
// take, with control characters escaped rather than sent to the terminal.
TEST(CliAsAScriptUsesIt, TableIsAlignedByDisplayWidthAndEscaped) {
    TempFolder folder("qv_cli_width_");
    WriteFile(folder.path / "ids.csv",
              "id,amount_financed,interval,groups\n"
              "plain,5000,monthly,24:230\n"
              "Crédit-é,5000,monthly,24:230\n"
              "貸款,5000,monthly,24:230\n"
              "\"esc\x1b[31mred\tx\",5000,monthly,24:230\n");
    const Outcome run = InProcess({"apr", (folder.path / "ids.csv").string()});
    EXPECT_EQ(run.status, kExitOk);
    std::istringstream table(run.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(table, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 5u) << run.out;
    EXPECT_TRUE(rows[4].starts_with("esc\\x1b[31mred\\tx  ")) << rows[4];
    // The APR column ends in the same screen column on every row: bytes
    // before it differ by what the accents and CJK characters take.
    const auto aprEnd = [](const std::string& row, std::size_t extraBytes) {
        return row.find("9.686%") + 6 - extraBytes;
    };
    const std::size_t plain = aprEnd(rows[1], 0);
    EXPECT_EQ(aprEnd(rows[2], 2), plain) << rows[2];  // two é: 2 bytes, 1 column each
    EXPECT_EQ(aprEnd(rows[3], 2), plain) << rows[3];  // two CJK: 3 bytes, 2 columns each
    EXPECT_EQ(aprEnd(rows[4], 0), plain) << rows[4];
}

}  // namespace
}  // namespace qv::cli
