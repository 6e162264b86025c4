#include "cli/records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <vector>

#include "base/format.h"
#include "cli/terminal_text.h"

namespace qv::cli {
namespace {

using Json = nlohmann::ordered_json;

// One value of a record, written differently by each format. A text is
// seen where it stands (in the record, or a constant) rather than copied:
// a batch writes a dozen of them for every loan.
struct Cell {
    enum class Kind { Text, Money, Rate, ExactRate, Count };
    Kind kind = Kind::Text;
    std::string_view seen;  // a text the record or the program holds
    std::string made;       // a text made for the cell alone
    std::optional<Currency> money;
    std::optional<double> rate;
    std::optional<std::int64_t> count;

    std::string_view Text() const { return made.empty() ? seen : std::string_view(made); }
};

Cell Text(std::string_view text) {
    return {Cell::Kind::Text, text, {}, {}, {}, {}};
}
Cell MadeText(std::string text) {
    return {Cell::Kind::Text, {}, std::move(text), {}, {}, {}};
}
Cell Money(std::optional<Currency> money) {
    return {Cell::Kind::Money, {}, {}, money, {}, {}};
}
Cell Rate(std::optional<double> rate) {
    return {Cell::Kind::Rate, {}, {}, {}, rate, {}};
}
// The Appendix J rate, unrounded in CSV and JSON and to six decimals in a
// table: an analyst compares it with a disclosure to the hundredth.
Cell ExactRate(std::optional<double> rate) {
    return {Cell::Kind::ExactRate, {}, {}, {}, rate, {}};
}
Cell Count(std::optional<std::int64_t> count) {
    return {Cell::Kind::Count, {}, {}, {}, {}, count};
}

bool Computed(const LoanRecord& r) {
    return r.status == LoanStatus::Computed;
}
// The amounts of a loan that was read, computed or not.
bool Read(const LoanRecord& r) {
    return r.status == LoanStatus::Computed || r.status == LoanStatus::NotComputed;
}

std::string_view StatusText(LoanStatus status) {
    switch (status) {
        case LoanStatus::Computed:
            return "computed";
        case LoanStatus::NotComputed:
            return "not computed";
        case LoanStatus::InputError:
        case LoanStatus::Unreadable:
            break;
    }
    return "input error";
}

std::string_view KindText(TransactionKind kind) {
    return kind == TransactionKind::Regular ? "regular" : "irregular";
}

// --- the columns ---------------------------------------------------------------------

struct Column {
    std::string_view key;    // CSV header and JSON name
    std::string_view title;  // table header; empty: not in the table
    bool number;             // right-aligned in the table
    Cell (*cell)(const LoanRecord&);
};

const DisclosureCheck* CheckOf(const LoanRecord& r) {
    return r.check ? &*r.check : nullptr;
}
const FinanceChargeVerdict* ChargeCheckOf(const LoanRecord& r) {
    return r.check && r.check->financeCharge ? &*r.check->financeCharge : nullptr;
}

const Column kId{"id", "ID", false, [](const LoanRecord& r) { return Text(r.id); }};
const Column kSource{"source", "", false, [](const LoanRecord& r) { return Text(r.source); }};
const Column kStatus{"status", "", false,
                     [](const LoanRecord& r) { return Text(StatusText(r.status)); }};
const Column kApr{
    "apr", "APR", true, [](const LoanRecord& r) {
        return Rate(Computed(r) && r.desktopApr ? std::optional(r.apr) : std::nullopt);
    }};
std::optional<double> ExactAprOf(const LoanRecord& r) {
    return Computed(r) && r.exact && r.exact->found ? std::optional(r.exact->apr) : std::nullopt;
}
// The Appendix J rate under three titles: beside the desktop's APR, as the
// APR itself (--basis appendix-j), and only in CSV and JSON.
const Column kExactApr{"apr_appendix_j", "APPENDIX J", true,
                       [](const LoanRecord& r) { return ExactRate(ExactAprOf(r)); }};
const Column kExactAsApr{"apr_appendix_j", "APR", true,
                         [](const LoanRecord& r) { return ExactRate(ExactAprOf(r)); }};
const Column kExactUntitled{"apr_appendix_j", "", true,
                            [](const LoanRecord& r) { return ExactRate(ExactAprOf(r)); }};
const Column kAprUntitled{
    "apr", "", true, [](const LoanRecord& r) {
        return Rate(Computed(r) && r.desktopApr ? std::optional(r.apr) : std::nullopt);
    }};
const Column kUnitPeriod{"unit_period", "", false, [](const LoanRecord& r) {
                             return Text(Computed(r) ? std::string_view(r.unitPeriod) : "");
                         }};
const Column kAmountFinanced{
    "amount_financed", "AMOUNT FINANCED", true, [](const LoanRecord& r) {
        return Money(Read(r) ? std::optional(DollarsToCurrency(r.amountFinanced)) : std::nullopt);
    }};
const Column kFinanceCharge{
    "finance_charge", "FINANCE CHARGE", true, [](const LoanRecord& r) {
        return Money(Read(r) ? std::optional(r.FinanceCharge()) : std::nullopt);
    }};
const Column kTotal{"total_of_payments", "TOTAL OF PAYMENTS", true, [](const LoanRecord& r) {
                        return Money(Read(r) ? std::optional(r.totalOfPayments) : std::nullopt);
                    }};
const Column kPayments{
    "payments", "", true, [](const LoanRecord& r) {
        return Count(Read(r) ? std::optional<std::int64_t>(r.payments) : std::nullopt);
    }};
const Column kBasis{"basis", "", false, [](const LoanRecord& r) {
                        if (!Computed(r)) return Text({});
                        return Text(r.perDiem ? "per diem" : "unit period");
                    }};
const Column kTransaction{"transaction", "TRANSACTION", false, [](const LoanRecord& r) {
                              const DisclosureCheck* c = CheckOf(r);
                              return Text(c ? KindText(c->shape.kind) : "");
                          }};
const Column kTransactionReason{"transaction_reason", "", false, [](const LoanRecord& r) {
                                    const DisclosureCheck* c = CheckOf(r);
                                    return Text(c ? std::string_view(c->shape.reason) : "");
                                }};
const Column kDisclosedApr{"disclosed_apr", "DISCLOSED", true, [](const LoanRecord& r) {
                               const DisclosureCheck* c = CheckOf(r);
                               return Rate(c ? std::optional(c->apr.disclosed) : std::nullopt);
                           }};
const Column kAprTolerance{"apr_tolerance", "TOLERANCE", true, [](const LoanRecord& r) {
                               const DisclosureCheck* c = CheckOf(r);
                               return Rate(c ? std::optional(c->apr.tolerance) : std::nullopt);
                           }};
const Column kAprVerdict{"apr_verdict", "", false, [](const LoanRecord& r) {
                             const DisclosureCheck* c = CheckOf(r);
                             return Text(c ? VerdictText(c->apr.accurate) : "");
                         }};
const Column kDisclosedCharge{"disclosed_finance_charge", "DISCLOSED FC", true,
                              [](const LoanRecord& r) {
                                  const FinanceChargeVerdict* c = ChargeCheckOf(r);
                                  return Money(c ? std::optional(c->disclosed) : std::nullopt);
                              }};
const Column kChargeTolerance{"finance_charge_tolerance", "", true, [](const LoanRecord& r) {
                                  const FinanceChargeVerdict* c = ChargeCheckOf(r);
                                  return Money(c ? std::optional(c->tolerance) : std::nullopt);
                              }};
const Column kChargeVerdict{"finance_charge_verdict", "", false, [](const LoanRecord& r) {
                                const FinanceChargeVerdict* c = ChargeCheckOf(r);
                                return Text(c ? VerdictText(c->accurate) : "");
                            }};
const Column kVerdict{"verdict", "VERDICT", false, [](const LoanRecord& r) {
                          const DisclosureCheck* c = CheckOf(r);
                          return Text(c ? VerdictText(c->Accurate()) : "");
                      }};
const Column kNearBoundary{"near_boundary", "NEAR BOUNDARY", false, [](const LoanRecord& r) {
                               const DisclosureCheck* c = CheckOf(r);
                               return Text(c && c->apr.nearBoundary ? "yes" : "");
                           }};
const Column kError{"error", "ERROR", false, [](const LoanRecord& r) { return Text(r.error); }};
const Column kNotes{"notes", "", false,
                    [](const LoanRecord& r) { return MadeText(Joined(r.notes)); }};

// The columns added with the Appendix J rate; CSV and JSON records carry
// them after the others, so that scripts reading columns by position read
// what they always did.
bool IsAppendixJColumn(const Column* c) {
    return c->key == kExactApr.key || c->key == kUnitPeriod.key || c->key == kNearBoundary.key;
}

std::vector<const Column*> TableColumnsOf(Command command, AprBasis basis) {
    if (command == Command::Apr) {
        const bool exact = basis == AprBasis::AppendixJ;
        return {&kId,
                &kSource,
                &kStatus,
                exact ? &kAprUntitled : &kApr,
                exact ? &kExactAsApr : &kExactUntitled,
                &kUnitPeriod,
                &kAmountFinanced,
                &kFinanceCharge,
                &kTotal,
                &kPayments,
                &kBasis,
                &kError,
                &kNotes};
    }
    return {&kId,
            &kSource,
            &kStatus,
            &kApr,
            &kExactApr,
            &kUnitPeriod,
            &kDisclosedApr,
            &kAprTolerance,
            &kTransaction,
            &kTransactionReason,
            &kAprVerdict,
            &kAmountFinanced,
            &kFinanceCharge,
            &kDisclosedCharge,
            &kChargeTolerance,
            &kChargeVerdict,
            &kTotal,
            &kPayments,
            &kBasis,
            &kVerdict,
            &kNearBoundary,
            &kError,
            &kNotes};
}

std::vector<const Column*> RecordColumnsOf(Command command, AprBasis basis) {
    std::vector<const Column*> columns = TableColumnsOf(command, basis);
    std::stable_partition(columns.begin(), columns.end(),
                          [](const Column* c) { return !IsAppendixJColumn(c); });
    return columns;
}

// --- the renderings ----------------------------------------------------------------

// A currency amount as a plain decimal, exactly: two decimals at least and
// the ten-thousandths where there are any ("520.00", "1072.415").
std::string PlainMoney(Currency amount) {
    const auto magnitude =
        amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    const auto perDollar = static_cast<std::uint64_t>(kCurrencyPerDollar);
    // Written in place: a sign, up to 20 digits of dollars, the point and
    // four decimals.
    char text[32];
    char* end = text;
    if (amount < 0) *end++ = '-';
    end = std::to_chars(end, text + sizeof text, magnitude / perDollar).ptr;
    *end++ = '.';
    // The ten-thousandths as four digits, with a leading 1 that is dropped.
    std::to_chars(end - 1, end + 4, magnitude % perDollar + perDollar);
    *(end - 1) = '.';
    end += 4;
    while (end[-1] == '0' && end[-3] != '.') --end;
    return std::string(text, end);
}

std::string ExactRateText(double rate) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%.6f", rate);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// The shortest decimal that reads back as the same double.
std::string ShortestText(double rate) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, rate);
    return ec == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace

std::string RateText(double rate) {
    // A double whose shortest round-trip digits number 15 or fewer has those
    // very digits as its 15 rounded ones, so between 0.001 and 1e14 (written
    // positionally by both) the shortest fixed text is FloatToStr's, got
    // without its trip through printf. Anything else is left to FloatToStr.
    const double magnitude = std::fabs(rate);
    if (magnitude >= 1e-3 && magnitude < 1e14) {
        char text[64];
        const auto [end, ec] =
            std::to_chars(text, text + sizeof text, rate, std::chars_format::fixed);
        if (ec == std::errc()) {
            const std::string_view written(text, static_cast<std::size_t>(end - text));
            const std::size_t first = written.find_first_of("123456789");
            const std::size_t last = written.find_last_of("123456789");
            std::size_t digits = last - first + 1;
            if (written.find('.') > first && written.find('.') < last) --digits;
            if (digits <= 15) return std::string(written);
        }
    }
    return FloatToStr(rate);
}

namespace {

std::string PlainText(const Cell& c) {
    switch (c.kind) {
        case Cell::Kind::Text:
            return std::string(c.Text());
        case Cell::Kind::Money:
            return c.money ? PlainMoney(*c.money) : std::string();
        case Cell::Kind::Rate:
            return c.rate ? RateText(*c.rate) : std::string();
        case Cell::Kind::ExactRate:
            return c.rate ? ShortestText(*c.rate) : std::string();
        case Cell::Kind::Count:
            return c.count ? std::to_string(*c.count) : std::string();
    }
    return {};
}

std::string TableText(const Cell& c) {
    switch (c.kind) {
        case Cell::Kind::Money:
            return c.money ? CurrencyText(CurrencyToDollars(*c.money)) : std::string();
        case Cell::Kind::Rate:
            return c.rate ? RateText(*c.rate) + "%" : std::string();
        case Cell::Kind::ExactRate:
            return c.rate ? ExactRateText(*c.rate) + "%" : std::string();
        case Cell::Kind::Text:
            return Escaped(c.Text());
        case Cell::Kind::Count:
            break;
    }
    return PlainText(c);
}

Json JsonValue(const Cell& c) {
    switch (c.kind) {
        case Cell::Kind::Text:
            return c.Text().empty() ? Json() : Json(c.Text());
        case Cell::Kind::Money:
            // Divided, not multiplied by 0.0001: the nearest double to the
            // decimal amount, which JSON then writes as the cents it is.
            return c.money ? Json(static_cast<double>(*c.money) / kCurrencyPerDollar) : Json();
        case Cell::Kind::Rate:
        case Cell::Kind::ExactRate:
            return c.rate ? Json(*c.rate) : Json();
        case Cell::Kind::Count:
            return c.count ? Json(*c.count) : Json();
    }
    return {};
}

// A record formatted on the worker that computed it is written as it stands;
// one that was not (a record error met before computing) is formatted here.
void AppendFormatted(const RecordWriter& writer, const LoanRecord& record, std::string& out) {
    if (record.formatted.empty())
        writer.Format(record, out);
    else
        out += record.formatted;
}

// One CSV line: a field per column, which `appendField` appends to `out`.
template <typename AppendField>
void AppendCsvLine(std::string& out, const std::vector<const Column*>& columns,
                   AppendField appendField) {
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k > 0) out += ',';
        appendField(*columns[k]);
    }
    out += '\n';
}

class CsvWriter : public RecordWriter {
  public:
    CsvWriter(Command command, AprBasis basis) : columns_(RecordColumnsOf(command, basis)) {}
    void Write(const LoanRecord& record, std::string& out, std::string&) override {
        Header(out);
        AppendFormatted(*this, record, out);
    }
    bool FormatsEachAlone() const override { return true; }
    void Format(const LoanRecord& record, std::string& out) const override {
        AppendCsvLine(out, columns_, [&record, &out](const Column& c) {
            const Cell cell = c.cell(record);
            // A text is written from where it stands, without a copy.
            if (cell.kind == Cell::Kind::Text)
                AppendCsvField(out, cell.Text());
            else
                AppendCsvField(out, PlainText(cell));
        });
    }
    // A batch without a loan still gets its header line.
    void Finish(std::string& out) override { Header(out); }

  private:
    void Header(std::string& out) {
        if (headerWritten_) return;
        headerWritten_ = true;
        AppendCsvLine(out, columns_, [&out](const Column& c) { AppendCsvField(out, c.key); });
    }

    std::vector<const Column*> columns_;
    bool headerWritten_ = false;
};

class JsonLinesWriter : public RecordWriter {
  public:
    JsonLinesWriter(Command command, AprBasis basis) : columns_(RecordColumnsOf(command, basis)) {}
    void Write(const LoanRecord& record, std::string& out, std::string&) override {
        AppendFormatted(*this, record, out);
    }
    bool FormatsEachAlone() const override { return true; }
    void Format(const LoanRecord& record, std::string& out) const override {
        Json object = Json::object();
        for (const Column* c : columns_) object[std::string(c->key)] = JsonValue(c->cell(record));
        // Invalid UTF-8 (a file name, an id) is replaced, never a reason to stop.
        out += object.dump(-1, ' ', false, Json::error_handler_t::replace);
        out += '\n';
    }

  private:
    std::vector<const Column*> columns_;
};

// The table's widths come from its first rows; later rows keep them, and a
// wider value only pushes its own line out of line.
constexpr std::size_t kRowsMeasured = 1000;

class TableWriter : public RecordWriter {
  public:
    TableWriter(Command command, AprBasis basis) {
        for (const Column* c : TableColumnsOf(command, basis))
            if (!c->title.empty()) columns_.push_back(c);
        widths_.resize(columns_.size());
        held_.push_back(Titles());
    }
    void Write(const LoanRecord& record, std::string& out, std::string&) override {
        std::vector<std::string> row;
        for (const Column* c : columns_) row.push_back(TableText(c->cell(record)));
        if (measured_) {
            WriteRow(row, out);
            return;
        }
        held_.push_back(std::move(row));
        if (held_.size() > kRowsMeasured) Finish(out);
    }
    void Finish(std::string& out) override {
        if (measured_) return;
        measured_ = true;
        // Titles over no row at all say nothing the closing line does not.
        if (held_.size() == 1) {
            held_.clear();
            return;
        }
        for (const auto& row : held_)
            for (std::size_t k = 0; k < row.size(); ++k)
                widths_[k] = std::max(widths_[k], DisplayWidth(row[k]));
        for (const auto& row : held_) WriteRow(row, out);
        held_.clear();
    }

  private:
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const Column* c : columns_) titles.emplace_back(c->title);
        return titles;
    }
    void WriteRow(const std::vector<std::string>& row, std::string& out) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k) {
            const bool numeric = columns_[k]->number;
            const std::size_t width = DisplayWidth(row[k]);
            const std::size_t pad = widths_[k] > width ? widths_[k] - width : 0;
            if (k > 0) line += "  ";
            if (numeric) line.append(pad, ' ');
            line += row[k];
            if (!numeric && k + 1 < row.size()) line.append(pad, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line;
        out += '\n';
    }

    std::vector<const Column*> columns_;
    std::vector<std::size_t> widths_;
    std::vector<std::vector<std::string>> held_;
    bool measured_ = false;
};

// --- schedule files named one by one ------------------------------------------

class LoanTextWriter : public RecordWriter {
  public:
    LoanTextWriter(Command command, std::string_view program, bool several, AprBasis basis)
        : command_(command), program_(program), several_(several), basis_(basis) {}

    void Write(const LoanRecord& r, std::string& out, std::string& err) override {
        for (const std::string& note : r.notes) Say(r, note, err);
        if (!Computed(r)) {
            Say(r, r.error, err);
            return;
        }
        if (several_) out += (written_++ > 0 ? "\n==> " : "==> ") + Escaped(r.id) + " <==\n";
        if (command_ == Command::Apr && basis_ == AprBasis::AppendixJ) {
            WriteExactRate(r, out);
        } else if (command_ == Command::Apr) {
            for (const std::string& line : r.report) {
                out += line;
                out += '\n';
            }
        } else {
            WriteVerdict(r, out);
        }
    }

  private:
    void Say(const LoanRecord& r, const std::string& text, std::string& err) const {
        err += program_ + ": " + Escaped(r.id) + ": " + Escaped(text) + '\n';
    }

    static void WriteExactRate(const LoanRecord& r, std::string& out) {
        if (const std::optional<double> apr = ExactAprOf(r)) {
            out += "Annual percentage rate (Appendix J): " + ExactRateText(*apr) +
                   "%  unit period: " + r.unitPeriod + '\n';
        } else {
            out += "Annual percentage rate (Appendix J): none\n";
        }
    }

    void WriteVerdict(const LoanRecord& r, std::string& out) const {
        const DisclosureCheck& c = *r.check;
        const auto line = [&out](std::string_view label, const std::string& text) {
            out += "  ";
            out += label;
            out.append(21 - label.size(), ' ');
            out += text;
            out += '\n';
        };
        if (!several_) out += Escaped(r.id) + '\n';
        line("Amount financed:", CurrencyText(r.amountFinanced));
        line("Total of payments:", CurrencyText(CurrencyToDollars(r.totalOfPayments)));
        std::string charge = CurrencyText(CurrencyToDollars(r.FinanceCharge()));
        if (c.financeCharge) {
            charge += "  disclosed " + CurrencyText(CurrencyToDollars(c.financeCharge->disclosed)) +
                      ", tolerance " + CurrencyText(CurrencyToDollars(c.financeCharge->tolerance)) +
                      ": " + std::string(VerdictText(c.financeCharge->accurate));
        }
        line("Finance charge:", charge);
        std::string apr = FloatToStr(r.apr) + "%";
        if (const std::optional<double> exact = ExactAprOf(r))
            apr += ", Appendix J " + ExactRateText(*exact) + "% (" + r.unitPeriod + ")";
        apr += "  disclosed " + FloatToStr(c.apr.disclosed) + "%, tolerance " +
               FloatToStr(c.apr.tolerance) +
               " percentage points: " + std::string(VerdictText(c.apr.accurate));
        if (c.apr.nearBoundary) apr += " (within 0.01 of the tolerance: look twice)";
        line("APR:", apr);
        line("Transaction:", std::string(KindText(c.shape.kind)) + " (" + c.shape.reason +
                                 "): the APR may be " +
                                 (c.shape.kind == TransactionKind::Regular ? "1/8" : "1/4") +
                                 " of one percentage point off");
        line("Verdict:", std::string(VerdictText(c.Accurate())));
    }

    Command command_;
    std::string program_;
    bool several_;
    AprBasis basis_;
    int written_ = 0;
};

}  // namespace

std::unique_ptr<RecordWriter> MakeRecordWriter(Command command, OutputFormat format,
                                               AprBasis basis) {
    switch (format) {
        case OutputFormat::Csv:
            return std::make_unique<CsvWriter>(command, basis);
        case OutputFormat::Json:
            return std::make_unique<JsonLinesWriter>(command, basis);
        case OutputFormat::Text:
            break;
    }
    return std::make_unique<TableWriter>(command, basis);
}

std::unique_ptr<RecordWriter> MakeLoanTextWriter(Command command, std::string_view program,
                                                 bool several, AprBasis basis) {
    return std::make_unique<LoanTextWriter>(command, program, several, basis);
}

void AppendCsvField(std::string& out, std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string CsvField(std::string_view text) {
    std::string field;
    AppendCsvField(field, text);
    return field;
}

std::string_view VerdictText(bool accurate) {
    return accurate ? "ACCURATE" : "NOT ACCURATE";
}

}  // namespace qv::cli
