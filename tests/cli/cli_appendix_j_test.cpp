// The companion's exact Appendix J rate: the regulation's worked examples
// entered as its text gives them (by dates where it gives dates), the same
// loan by dates and by groups, and check's verdicts on either side of the
// tolerances against rates worked out apart from this program.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.h"
#include "data/temp_folder.h"

namespace qv::cli {
namespace {

using nlohmann::json;
using test::TempFolder;
using test::WriteFile;

constexpr const char* kHeader =
    "id,amount_financed,interval,unit_period,groups,advance_date,payments,disclosed_apr\n";

struct BatchRun {
    int status = -1;
    std::vector<json> records;
    std::string err;
};

// Runs the companion on a batch of lines after kHeader, as JSON Lines.
BatchRun Batch(const std::vector<std::string>& args, const std::string& lines) {
    TempFolder folder("qv_cli_regz_");
    const auto file = folder.path / "loans.csv";
    WriteFile(file, kHeader + lines);
    std::vector<std::string> argv{"quorvane-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.insert(argv.end(), {"--format", "json", file.string()});
    std::ostringstream out;
    std::ostringstream err;
    BatchRun run;
    run.status = RunCli(argv, out, err, CliEnvironment{false, 2});
    run.err = err.str();
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) run.records.push_back(json::parse(line));
    return run;
}

TEST(CliAppendixJ, EveryWorkedExampleGivesTheRegulationsRate) {
    struct Example {
        const char* id;
        const char* loan;  // amount_financed,interval,unit_period,groups,advance_date,payments
        double published;  // the APR printed in the regulation
        bool desktopApr;   // the desktop's estimate is there too
    };
    const Example examples[] = {
        {"c1i", "5000,monthly,,24:230,,", 9.69, true},
        {"c1ii", "6000,,month,,1978-02-10,36:200:1978-04-01", 11.82, false},
        {"c1iii", "5000,,semimonth,,1978-02-23,24:219.17:1978-03-01", 10.34, false},
        {"c1iv", "10000,,quarter,,1978-05-23,40:385:1978-10-01", 8.97, false},
        {"c1v", "500,,week,,1978-03-20,30:17.60:1978-04-21", 14.96, false},
        {"c2i", "5000,monthly,,1:250; 23:230,,", 10.08, true},
        {"c2ii", "400,,four weeks,,1978-03-18,1978-04-20:39.50; 11:38.31:1978-05-18", 28.50, false},
        {"c3i", "5000,monthly,,23:230; 1:280,,", 10.50, true},
        {"c3ii", "200,,two weeks,,1978-04-03,19:9.50:1978-04-11; 1979-01-02:30", 12.22, false},
        {"c4i", "5000,monthly,,1:250; 22:230; 1:280,,", 10.90, true},
        {"c4ii",
         "8000,,two months,,1978-01-10,1978-03-01:449.36; 18:465:1978-05-01; 1981-05-01:200", 7.30,
         false},
        {"c5i", "1000,,,,1978-01-03,1978-09-15:1080", 11.45, false},
        {"c5ii", "1000,,half year,1:1044,,", 8.80, false},
        {"c5iii", "1000,,,,1978-01-01,1979-07-01:1135.19", 8.76, false},
        {"c5iv", "1000,annually,,1:1240:2,,", 11.36, true},
        {"c6i",
         "2135,,four weeks,1:100:0:26; 8:100; 1:100:1:14; 5:100; 1:100:1:14; 5:100; "
         "1:100:1:14; 2:100,,",
         12.00, false},
        {"c6ii", "7350,,month,1:1000:6:12; 2:1000; 1:2000:4; 1:750:6; 2:750; 1:1000:2:17,,", 10.22,
         true},
    };
    std::string lines;
    for (const Example& e : examples) lines += std::string(e.id) + "," + e.loan + ",\n";
    const BatchRun run = Batch({"apr"}, lines);
    EXPECT_EQ(run.status, kExitOk) << run.err;
    ASSERT_EQ(run.records.size(), std::size(examples)) << run.err;
    for (std::size_t k = 0; k < run.records.size(); ++k) {
        const Example& e = examples[k];
        const json& r = run.records[k];
        ASSERT_EQ(r["id"], e.id);
        ASSERT_TRUE(r["apr_appendix_j"].is_number()) << e.id << ": " << r.dump();
        const double apr = r["apr_appendix_j"].get<double>();
        EXPECT_NEAR(std::round(apr * 100) / 100, e.published, 1e-9) << e.id << ": " << apr;
        EXPECT_EQ(r["apr"].is_number(), e.desktopApr) << e.id;
    }
}

// Dates and groups are two ways of writing one loan; a month-end series and
// a leap day must not move the rate.
TEST(CliAppendixJ, ALoanByDatesHasTheRateOfTheSameLoanByGroups) {
    struct Pair {
        const char* what;
        const char* byDates;
        const char* byGroups;
    };
    const Pair pairs[] = {
        {"long first month", "6000,,month,,1978-02-10,36:200:1978-04-01",
         "6000,monthly,,1:200:1:19; 35:200,,"},
        {"weekly, at 52 a year", "500,,week,,1978-03-20,30:17.60:1978-04-21",
         "500,weekly,,1:17.60:4:4; 29:17.60,,"},
        {"two-weekly, odd final payment",
         "200,,two weeks,,1978-04-03,19:9.50:1978-04-11; 1979-01-02:30",
         "200,twoweeks,,1:9.50:0:8; 18:9.50; 1:30,,"},
        {"month ends through a leap February", "3000,,month,,2023-12-31,12:260:2024-01-31",
         "3000,monthly,,12:260,,"},
    };
    std::string lines;
    for (const Pair& p : pairs)
        lines += std::string("d,") + p.byDates + ",\ng," + p.byGroups + ",\n";
    const BatchRun run = Batch({"apr", "--basis", "appendix-j"}, lines);
    ASSERT_EQ(run.records.size(), 2 * std::size(pairs)) << run.err;
    for (std::size_t k = 0; k < std::size(pairs); ++k) {
        const json& dated = run.records[2 * k];
        const json& grouped = run.records[2 * k + 1];
        ASSERT_TRUE(dated["apr_appendix_j"].is_number()) << pairs[k].what << dated.dump();
        ASSERT_TRUE(grouped["apr_appendix_j"].is_number()) << pairs[k].what << grouped.dump();
        EXPECT_NEAR(dated["apr_appendix_j"].get<double>(), grouped["apr_appendix_j"].get<double>(),
                    1e-9)
            << pairs[k].what;
        EXPECT_EQ(dated["unit_period"], grouped["unit_period"]) << pairs[k].what;
    }
}

// The exact rates were worked out with 60-digit decimal arithmetic by
// bisection on the general equation, apart from this program:
//   5000, 24 x 228.48 monthly                      9.024534543361 %
//   500, 30 x 17.60 weekly from 4 weeks 4 days     14.962222692846 % (52 a year)
//   1000, 5 x 100, 150, 5 x 100 monthly (irregular) 28.832246539724 %
//   1000, 1044 after six months                    8.8 % exactly
TEST(CliAppendixJ, CheckJudgesAgainstTheExactRateOnBothSidesOfTheTolerance) {
    struct Case {
        const char* loan;
        const char* disclosed;
        const char* verdict;
        bool near;
    };
    const char* car = "5000,monthly,,24:228.48,,";
    const char* weekly = "500,weekly,,1:17.60:4:4; 29:17.60,,";
    const char* irregular = "1000,monthly,,5:100; 1:150; 5:100,,";
    const char* halfYear = "1000,,half year,1:1044,,";
    const Case cases[] = {
        // The desktop's 9.025 would pass 9.15; the exact rate is 0.125465 away.
        {car, "9.15", "NOT ACCURATE", true},
        {car, "9.1495", "ACCURATE", true},
        {car, "9.1496", "NOT ACCURATE", true},
        {car, "8.8996", "ACCURATE", true},
        {car, "8.8995", "NOT ACCURATE", true},
        {car, "9.13", "ACCURATE", false},
        // At 365/7 a year the desktop's 15.004 calls these the other way.
        {weekly, "15.12", "NOT ACCURATE", false},
        {weekly, "14.86", "ACCURATE", false},
        {weekly, "15.0872", "ACCURATE", true},
        {weekly, "15.0873", "NOT ACCURATE", true},
        {irregular, "29.0822", "ACCURATE", true},
        {irregular, "29.0823", "NOT ACCURATE", true},
        {irregular, "28.5823", "ACCURATE", true},
        {irregular, "28.5822", "NOT ACCURATE", true},
        // Exactly on the boundary is accurate.
        {halfYear, "8.925", "ACCURATE", true},
        {halfYear, "8.675", "ACCURATE", true},
    };
    std::string lines;
    for (const Case& c : cases) lines += std::string("x,") + c.loan + "," + c.disclosed + "\n";
    const BatchRun run = Batch({"check"}, lines);
    EXPECT_EQ(run.status, kExitFailed);
    ASSERT_EQ(run.records.size(), std::size(cases)) << run.err;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        const json& r = run.records[k];
        const std::string what = std::string(c.loan) + " disclosed " + c.disclosed;
        EXPECT_EQ(r["apr_verdict"], c.verdict) << what << ": " << r.dump();
        EXPECT_EQ(r["near_boundary"] == "yes", c.near) << what;
    }
    EXPECT_EQ(run.records[0]["transaction"], "regular");
    EXPECT_EQ(run.records[10]["transaction"], "irregular");
    EXPECT_EQ(run.records[10]["apr_tolerance"].get<double>(), 0.25);
}

TEST(CliAppendixJ, LinesThatCannotPlaceALoanInTimeAreRefusedNamingWhy) {
    struct Case {
        const char* loan;
        const char* error;
    };
    const Case cases[] = {
        {"5000,monthly,,24:230,2024-01-01,", "go with \"payments\" by dates"},
        {"5000,monthly,,24:230,,12:230:2024-02-01", "give \"groups\" or \"payments\", not both"},
        {"5000,,,,,2024-02-01:230", "needs \"advance_date\" and \"amount_financed\""},
        {"5000,,fortnight,24:230,,", "\"unit_period\": \"fortnight\" is not a unit period"},
        {"5000,weekly,month,24:230,,", "name different unit periods"},
        {"5000,,,24:230,,", "no \"interval\" nor \"unit_period\""},
        {"5000,,,,2024-02-30,2024-03-01:5100", "\"advance_date\""},
        {"5000,,month,,2024-02-01,2024-01-01:5100", "before"},
        {"5000,,month,,2024-01-01,2024-02-01:4000", "no finance charge"},
        {"5000,,month,,2024-01-01,12:430.125:2024-02-01",
         "the payment on 2024-02-01 430.125 has a fraction of a cent"},
    };
    std::string lines;
    for (const Case& c : cases) lines += std::string("bad,") + c.loan + ",\n";
    const BatchRun run = Batch({"apr"}, lines);
    EXPECT_EQ(run.status, kExitSomeLoans) << run.err;
    ASSERT_EQ(run.records.size(), std::size(cases)) << run.err;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const std::string error = run.records[k]["error"].is_string()
                                      ? run.records[k]["error"].get<std::string>()
                                      : std::string();
        EXPECT_NE(error.find(cases[k].error), std::string::npos)
            << cases[k].loan << ": " << run.records[k].dump();
    }
}

}  // namespace
}  // namespace qv::cli
