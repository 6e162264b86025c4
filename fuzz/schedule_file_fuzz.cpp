// libFuzzer target: schedule and variable-rate list files, and the
// delimited-text import beneath them, on untrusted bytes.
//
// The first byte chooses the import's settings for the raw import; the rest
// is the file. A load must either take the file whole or change nothing,
// and what it stores must export and read back to the same text.
//
// Built by CMake with QV_FUZZ (see README, "Fuzzing"); for example
//   build-fuzz/fuzz/schedule_file_fuzz -max_len=512 -max_total_time=3600
//     build-fuzz/corpus/schedule_file fuzz/corpus/schedule_file
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/loan_state.h"
#include "core/pay_group.h"
#include "data/memdset.h"
#include "data/wccsvexp.h"
#include "data/wccsvimp.h"
#include "schedule/schedule_file.h"
#include "varrate/var_group.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

// The table's lines as the export writes them.
std::string Exported(qv::TMemDataSet& table, qv::TCSVExport& csx) {
    std::string text;
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext()) text += csx.RecordLine() + "\r\n";
    return text;
}

void LoadSchedule(const std::string& text) {
    qv::TMemDataSet paySet("mdsPaySet");
    qv::DefinePaySetTable(paySet);
    qv::AppendPayGroup(paySet, {36, 1, 100.0, 1, 0});
    paySet.Post();
    qv::LoanState state;
    std::istringstream in(text);
    const qv::ScheduleLoad load = qv::LoadDataFromStream(
        state.loan, state.regular, paySet, in, static_cast<std::int64_t>(text.size()), "fuzz.txt");
    if (!load.loaded) {
        Require(load.messages.size() == 1 && paySet.Count() == 1 && state.loan.AmtFin == 0.0);
        return;
    }
    if (load.headerMissing) return;
    Require(qv::ItemOf(load.interval) >= 0 && qv::ItemOf(load.interval) < qv::kIntervalCount);
    Require(state.loan.AmtFin >= 0.0 && state.loan.AmtFin <= qv::kMaxCurrencyDollars);
    std::int64_t count = 0;
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext())
        count += qv::ReadPayGroup(paySet).SetSize;
    Require(count == state.loan.PayCount);
}

void LoadList(const std::string& text) {
    qv::TMemDataSet variable("mdsVariable");
    qv::DefineVariableTable(variable);
    std::istringstream in(text);
    const qv::VarListLoad load =
        qv::LoadVarDataFromStream(variable, in, static_cast<std::int64_t>(text.size()), "fuzz.txt");
    Require(load.loaded || (load.messages.size() == 1 && variable.Count() == 0));
}

// A raw import under the chosen settings; what it stored exports, imports
// and exports again to the same text.
void ImportRaw(std::uint8_t settings, const std::string& text) {
    qv::TMemDataSet table("mdsPaySet");
    qv::DefinePaySetTable(table);
    qv::TCSVImport csi;
    csi.DataSet = &table;
    csi.FieldSeparator = static_cast<qv::TFieldSeparator>(settings % 5);
    csi.SetCustomSeparator(std::string(1, static_cast<char>(';' + (settings >> 6))));
    csi.FieldDelimiter = static_cast<qv::TFieldDelimiter>((settings >> 3) % 3);
    csi.ImportType = (settings & 0x20) ? qv::impFixed : qv::impDelimited;
    std::istringstream in(text);
    const std::int64_t stored =
        csi.ExecuteStream(in, static_cast<std::int64_t>(text.size()), "fuzz.txt");
    Require(stored == table.Count());

    qv::TCSVExport csx;
    csx.DataSet = &table;
    const std::string once = Exported(table, csx);
    qv::TMemDataSet again("mdsPaySet");
    qv::DefinePaySetTable(again);
    qv::TCSVImport reread;
    reread.DataSet = &again;
    std::istringstream in2(once);
    Require(reread.ExecuteStream(in2, static_cast<std::int64_t>(once.size()), "again") == stored);
    csx.DataSet = &again;
    Require(Exported(again, csx) == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    LoadSchedule(text);
    LoadList(text);
    ImportRaw(data[0], text);
    return 0;
}
