#include "data/wccsvexp.h"

#include <algorithm>

#include "base/file_save.h"
#include "data/memdset.h"
#include "data/wcprgwnd.h"

namespace qv {

namespace {

// Plain memos, byte arrays, blobs, pictures and objects are not shown in
// files: a line of text has no room for many lines or for raw bytes.
bool ShownInFiles(FieldType type) {
    return KindOf(type) != FieldKind::Binary && type != FieldType::Memo;
}

// What dfTextOnly puts between delimiters.
bool IsTextField(FieldType type) {
    return KindOf(type) == FieldKind::Text;
}

}  // namespace

std::string TCSVExport::RecordLine() const {
    const TMemDataSet& table = *DataSet;
    const std::optional<char> separator = SeparatorChar();
    const std::optional<char> delimiter = DelimiterChar();
    std::string line;
    bool first = true;
    for (int k = 0; k < table.FieldCount(); ++k) {
        const FieldDef& field = table.FieldDefAt(k);
        if (!Admits(field.name)) continue;
        std::string value = ShownInFiles(field.type) ? table.FieldAsString(field.name) : "";
        if (value.find_first_of("\r\n") != std::string::npos) throw EDataConversion();
        if (ExportType == expFixed) {
            const std::size_t width = static_cast<std::size_t>(FixedWidth(field));
            if (value.size() > width) throw EDataConversion();
            const std::string pad(width - value.size(), ' ');
            value = IsNumeric(field.type) && NumericAlign == naRight ? pad + value : value + pad;
        }
        if (!first && separator) line.push_back(*separator);
        first = false;
        const bool wrap = delimiter && (DelimitedFields == dfAll || IsTextField(field.type));
        if (wrap) line.push_back(*delimiter);
        line += value;
        if (wrap) line.push_back(*delimiter);
    }
    return line;
}

int TCSVExport::Execute() {
    lastError_.clear();
    if (!DataSet) {
        lastError_ = "No table to export.";
        return -1;
    }
    TMemDataSet& table = *DataSet;
    AtomicFile out(OutputFile);
    if (!out.Open()) {
        lastError_ = out.Error();
        return -1;
    }
    try {
        table.Open();
        table.MoveFirst();  // stores a pending record first
    } catch (const EMemDatasetError& e) {
        lastError_ = e.what();
        return -1;
    }

    const std::int64_t total = table.Count();
    ProgressRun progress(RunProgress());
    if (progress)
        progress->Start(ProgressKind::Export, ProgressBasis::Records, 0, total, OutputFile);
    if (OnBeginExport) OnBeginExport(*this);

    const std::int64_t updateEvery = std::max<std::int64_t>(1, total / 100);
    std::int64_t records = 0;
    std::int64_t bytes = 0;
    while (!table.AtEnd() && (MaxRecords <= 0 || records < MaxRecords)) {
        std::string line;
        try {
            line = RecordLine();
        } catch (const EDataConversion& e) {
            lastError_ = e.what();  // the old file stays: nothing is committed
            return -1;
        }
        if (!line.empty()) {
            line += "\r\n";
            out.Write(line);
            bytes += static_cast<std::int64_t>(line.size());
        }
        table.MoveNext();
        ++records;
        if (progress && records % updateEvery == 0) progress->Update(records, bytes);
        if (OnExportRecord) OnExportRecord(*this, records, bytes);
    }
    if (!out.Commit()) {
        lastError_ = out.Error();
        return -1;
    }
    if (OnFinishExport) OnFinishExport(*this);
    return static_cast<int>(records);
}

}  // namespace qv
