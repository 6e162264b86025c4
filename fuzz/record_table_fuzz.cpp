// Fuzz target: arbitrary sequences of record-table operations, watched by a
// grid-like observer.
//
// Input: one byte picks the table (one of the system's four, or fields
// defined from the input), then up to 2,000 operations, each an opcode byte
// and its arguments.
//
// Properties: no sanitizer finding and no error other than the table's own;
// an operation that fails leaves the table as it was (rows, cursor, state);
// the grid is never refreshed while an update is in progress, and the last
// EndUpdate refreshes it once; after every operation the row count is the
// stored records plus a pending new one, the cursor lies on a row or nowhere,
// Count moves only as storing and deleting say, the rows of the current
// order are sorted by its key, and every value the current row shows reads
// back as the same text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "chart/amortization.h"
#include "core/pay_group.h"
#include "data/field_text.h"
#include "data/field_value.h"
#include "data/memdset.h"
#include "fuzz_input.h"
#include "varrate/var_group.h"

namespace {

using namespace qv;
using fuzz::Check;
using fuzz::FuzzInput;

constexpr int kMaxOperations = 2000;
constexpr int kMaxUpdateNesting = 8;

// What a grid bound to the table does on every refresh: reads every cell of
// every row and the current row.
class Grid {
  public:
    explicit Grid(const TMemDataSet& table) : table_(table) {}

    void Refresh() {
        Check(table_.UpdateCount() == 0, "no refresh while an update is in progress");
        ++refreshes_;
        const int rows = table_.RowCount();
        for (int r = 0; r < rows; ++r)
            for (int f = 0; f < table_.FieldCount(); ++f) (void)table_.CellText(r, f);
        const int current = table_.CurrentRow();
        Check(current == -1 || (current >= 0 && current < rows), "the grid's current row is a row");
    }

    int Refreshes() const { return refreshes_; }

  private:
    const TMemDataSet& table_;
    int refreshes_ = 0;
};

// Everything a failed operation must leave as it was.
struct Snapshot {
    bool active;
    DataSetState state;
    int count;
    int currentRow;
    std::string orderBy;
    std::vector<std::string> cells;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const TMemDataSet& t) {
    Snapshot s{t.Active(), t.State(), t.Count(), t.CurrentRow(), t.OrderBy(), {}};
    for (int r = 0; r < t.RowCount(); ++r)
        for (int f = 0; f < t.FieldCount(); ++f) s.cells.push_back(t.CellText(r, f));
    return s;
}

void DefineTable(FuzzInput& in, TMemDataSet& t) {
    switch (in.Byte() % 5) {
        case 0:
            DefinePaySetTable(t);
            return;
        case 1:
            DefineDetailTable(t);
            return;
        case 2:
            DefineVariableTable(t);
            return;
        case 3:
            DefineVarScheduleTable(t);
            return;
        default:
            break;
    }
    // Fields of our own: "name;type;size;required", names the opcodes below
    // can address.
    static const char* const kNames[] = {"A", "B", "Seq", "a"};
    std::vector<std::string> items;
    const int fields = in.Byte() % 5;
    for (int k = 0; k < fields; ++k) {
        const std::string name = in.Pick(kNames);
        // The program's two types most of the time, any other now and then.
        static const char* const kOtherTypes[] = {"1",  "2",  "4",  "5",  "7",  "8",  "9",
                                                  "10", "11", "12", "14", "16", "18", "15"};
        const std::uint8_t pick = in.Byte();
        const char* type = pick < 96 ? "3" : pick < 192 ? "6" : in.Pick(kOtherTypes);
        static const int kSizes[] = {0, 1, 2, 8};
        const std::string size = std::to_string(in.Pick(kSizes));
        const char* required = in.Bool() ? "1" : "0";
        items.push_back(name + ";" + type + ";" + size + ";" + required);
    }
    if (in.Bool()) items.push_back(in.Text(16));
    t.SetFieldsDefinitionItems(items);
    try {
        t.SetOrderBy(in.Bool() ? "A" : "");
        t.Open();
    } catch (const EMemDatasetError&) {
        // A definition the table refuses is a case too: every operation
        // below must then fail cleanly.
    }
}

std::string FieldName(FuzzInput& in, const TMemDataSet& t) {
    if (t.FieldCount() > 0 && in.Byte() < 224)
        return t.FieldDefAt(static_cast<int>(in.Between(0, t.FieldCount() - 1))).name;
    static const char* const kOthers[] = {"", "Nope", "sequence", "SEQUENCE", "A;B"};
    return in.Pick(kOthers);
}

std::string OrderText(FuzzInput& in, const TMemDataSet& t) {
    switch (in.Byte() % 4) {
        case 0:
            return "";
        case 1:
            return FieldName(in, t);
        case 2: {
            const std::string first = FieldName(in, t);
            return first + ";" + FieldName(in, t);
        }
        default:
            return in.Text(12);
    }
}

std::string FieldText(FuzzInput& in) {
    static const char* const kTexts[] = {"",           "0",
                                         "-1",         "2147483647",
                                         "2147483648", "1.5",
                                         " 7 ",        "+3",
                                         "+-3",        "1e308",
                                         "1e309",      "nan",
                                         "-0",         "abc",
                                         ".5",         "True",
                                         "false",      "0.00005",
                                         "-32768",     "65536",
                                         "3/7/2024",   "2024-02-30",
                                         "12/31/9999", "23:59:59.999",
                                         "24:00",      "1/1/0001 0:00"};
    return in.Bool() ? std::string(in.Pick(kTexts)) : in.Text(12);
}

double FieldDouble(FuzzInput& in) {
    return in.Bool() ? static_cast<double>(in.Integral<std::int32_t>()) / 4.0 : in.AnyDouble();
}

// How Count may move: an operation that settles a pending record stores it
// when any field was set (Post always stores it).
struct CountRule {
    bool active;
    int before;
    bool pendingInsert;
    bool pendingInsertModified;
};

enum class Op : std::uint8_t {
    Open,
    Close,
    Clear,
    SetOrderBy,
    SetCurrentIndexName,
    MoveFirst,
    MoveLast,
    MoveNext,
    MovePrior,
    MoveTo,
    AppendNew,
    Edit,
    Post,
    Cancel,
    Delete,
    SettlePending,
    SetFieldInteger,
    SetFieldFloat,
    SetFieldString,
    ReadFields,
    SavePosition,
    RestorePosition,
    BeginUpdate,
    EndUpdate,
    SetOptions,
    NumberOfOps
};

// The Count an operation that succeeded leaves, or -1 when it is not fixed.
int ExpectedCount(Op op, const CountRule& c, const TMemDataSet& t) {
    const int settled = c.before + (c.pendingInsertModified ? 1 : 0);
    switch (op) {
        case Op::Clear:
            return 0;
        case Op::Close:
            // Closing a closed table does nothing at all.
            return c.active && t.Options().Has(MemDataSetOption::EmptyTableOnClose) ? 0 : c.before;
        case Op::MoveFirst:
        case Op::MoveLast:
        case Op::MoveNext:
        case Op::MovePrior:
        case Op::MoveTo:
        case Op::AppendNew:
        case Op::SettlePending:
            return settled;
        case Op::Post:
            return c.before + (c.pendingInsert ? 1 : 0);
        case Op::Delete:
            return c.pendingInsert ? c.before : c.before - 1;
        case Op::RestorePosition:
            return -1;  // without a mark nothing happens at all
        default:
            return c.before;
    }
}

void Apply(Op op, FuzzInput& in, TMemDataSet& t) {
    switch (op) {
        case Op::Open:
            t.Open();
            break;
        case Op::Close:
            t.Close();
            break;
        case Op::Clear:
            t.Clear();
            break;
        case Op::SetOrderBy:
            t.SetOrderBy(OrderText(in, t));
            break;
        case Op::SetCurrentIndexName: {
            static const char* const kNames[] = {"",           "@RANGE_INDEX",      "@FILTER_INDEX",
                                                 "@ORDERBY_A", "@ORDERBY_Sequence", "nothing"};
            t.SetCurrentIndexName(in.Bool() ? t.CurrentIndexName() : in.Pick(kNames));
            break;
        }
        case Op::MoveFirst:
            t.MoveFirst();
            break;
        case Op::MoveLast:
            t.MoveLast();
            break;
        case Op::MoveNext:
            t.MoveNext();
            break;
        case Op::MovePrior:
            t.MovePrior();
            break;
        case Op::MoveTo:
            t.MoveTo(in.Integral<std::int32_t>());
            break;
        case Op::AppendNew:
            t.AppendNew();
            break;
        case Op::Edit:
            t.Edit();
            break;
        case Op::Post:
            t.Post();
            break;
        case Op::Cancel:
            t.Cancel();
            break;
        case Op::Delete:
            t.Delete();
            break;
        case Op::SettlePending:
            t.SettlePending();
            break;
        case Op::SetFieldInteger: {
            const std::string name = FieldName(in, t);
            t.SetFieldInteger(name, in.Integral<std::int32_t>());
            break;
        }
        case Op::SetFieldFloat: {
            const std::string name = FieldName(in, t);
            t.SetFieldFloat(name, FieldDouble(in));
            break;
        }
        case Op::SetFieldString: {
            const std::string name = FieldName(in, t);
            t.SetFieldString(name, FieldText(in));
            break;
        }
        case Op::ReadFields: {
            const std::string name = FieldName(in, t);
            (void)t.FieldAsInteger(name);
            (void)t.FieldAsFloat(name);
            (void)t.FieldAsString(name);
            (void)t.FieldIsNull(name);
            break;
        }
        case Op::SavePosition:
            t.SavePosition();
            break;
        case Op::RestorePosition:
            t.RestorePosition();
            break;
        case Op::BeginUpdate:
            if (t.UpdateCount() < kMaxUpdateNesting) t.BeginUpdate();
            break;
        case Op::EndUpdate:
            t.EndUpdate();
            break;
        case Op::SetOptions: {
            MemDataSetOptions options;
            const std::uint8_t bits = in.Byte();
            for (int k = 0; k < 6; ++k)
                options.Set(static_cast<MemDataSetOption>(1u << k), ((bits >> k) & 1) != 0);
            t.SetOptions(options);
            break;
        }
        case Op::NumberOfOps:
            break;
    }
}

enum class KeyOrder { Less, Equal, Greater, Undecided };

template <class T>
KeyOrder Order(T a, T b) {
    return a < b ? KeyOrder::Less : (b < a ? KeyOrder::Greater : KeyOrder::Equal);
}

// Two shown values of a key field compared as the field orders them, an
// empty one counting as 0 or as empty text. Floats and amounts are read back
// through a double: values shown alike may differ in digits the double
// drops, which decide the order before the next key does.
KeyOrder CompareShown(const FieldDef& field, const std::string& a, const std::string& b) {
    const auto exact = [&](const std::string& text) -> std::int64_t {
        if (text.empty()) return 0;
        switch (KindOf(field.type)) {
            case FieldKind::Boolean:
                return text == "True" ? 1 : 0;
            case FieldKind::Date:
                return ParseDate(text).value_or(0);
            case FieldKind::Time:
                return ParseTime(text).value_or(0);
            case FieldKind::DateTime:
                return ParseDateTime(text).value_or(0);
            default:
                return std::strtoll(text.c_str(), nullptr, 10);
        }
    };
    const auto approximate = [](const std::string& text) {
        return text.empty() ? 0.0 : std::strtod(text.c_str(), nullptr);
    };
    switch (KindOf(field.type)) {
        case FieldKind::Text:
        case FieldKind::Binary:
            return Order(a, b);
        case FieldKind::Float:
        case FieldKind::Money: {
            const KeyOrder o = Order(approximate(a), approximate(b));
            return o == KeyOrder::Equal ? KeyOrder::Undecided : o;
        }
        default:
            return Order(exact(a), exact(b));
    }
}

// Every value of the current row reads back as the text it shows.
void CheckShownValuesReadBack(const TMemDataSet& t) {
    const int row = t.CurrentRow();
    if (row < 0) return;
    for (int k = 0; k < t.FieldCount(); ++k) {
        const FieldDef& field = t.FieldDefAt(k);
        const std::string text = t.CellText(row, k);
        if (text.empty()) continue;
        const std::optional<FieldValue> value = ValueFromText(field, text);
        Check(value && ValueText(field, *value) == text, "a shown value reads back as itself",
              field.name + " " + text);
    }
}

// The rows of the current order, read as the grid shows them, are sorted by
// its key (an empty value counting as 0). A pending new row comes last and
// a row being edited shows values not yet placed, so neither is judged.
void CheckOrder(const TMemDataSet& t) {
    if (!t.Active() || t.OrderBy().empty() || t.State() == DataSetState::Edit) return;
    std::vector<int> keys;
    std::string rest = t.OrderBy();
    for (std::size_t cut; !rest.empty();
         rest = cut == std::string::npos ? "" : rest.substr(cut + 1)) {
        cut = rest.find(';');
        const int k = t.FieldIndex(rest.substr(0, cut));
        if (k < 0) return;  // an order of a structure since redefined
        keys.push_back(k);
    }
    const bool descending = t.Options().Has(MemDataSetOption::SetOrderByDescending);
    for (int r = 1; r < t.Count(); ++r) {
        for (int k : keys) {
            const KeyOrder order =
                CompareShown(t.FieldDefAt(k), t.CellText(r - 1, k), t.CellText(r, k));
            if (order == KeyOrder::Undecided) break;
            if (order != KeyOrder::Equal) {
                Check(order == (descending ? KeyOrder::Greater : KeyOrder::Less),
                      "the rows follow the current order",
                      t.OrderBy() + " row " + std::to_string(r));
                break;
            }
        }
    }
}

void CheckInvariants(const TMemDataSet& t) {
    const bool inserting = t.State() == DataSetState::Insert;
    Check(t.Count() >= 0 && t.UpdateCount() >= 0, "counts are not negative");
    Check(t.RowCount() == (t.Active() ? t.Count() + (inserting ? 1 : 0) : 0),
          "the grid shows the stored records and a pending new one");
    const int current = t.CurrentRow();
    Check(
        (current == -1 || (current >= 0 && current < t.RowCount())) && t.Position() == current + 1,
        "the cursor lies on a row or nowhere");
    Check(t.Active() == (t.State() != DataSetState::Inactive), "open exactly when not inactive");
    CheckOrder(t);
    CheckShownValuesReadBack(t);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    TMemDataSet table("mdsFuzz");
    Grid grid(table);
    DefineTable(in, table);
    table.AddObserver([&grid] { grid.Refresh(); });

    for (int n = 0; n < kMaxOperations && !in.Empty(); ++n) {
        const auto op = static_cast<Op>(in.Byte() % static_cast<int>(Op::NumberOfOps));
        const Snapshot before = Take(table);
        const CountRule rule{table.Active(), table.Count(), table.State() == DataSetState::Insert,
                             table.State() == DataSetState::Insert && table.PendingModified()};
        const int updatesBefore = table.UpdateCount();
        const int refreshesBefore = grid.Refreshes();
        try {
            Apply(op, in, table);
        } catch (const EMemDatasetError& e) {
            Check(Take(table) == before, "a failed operation leaves the table as it was", e.what());
            continue;
        }
        if (updatesBefore > 0 && op != Op::EndUpdate)
            Check(grid.Refreshes() == refreshesBefore, "an update holds the grid's refreshes");
        if (op == Op::EndUpdate && updatesBefore == 1)
            Check(grid.Refreshes() == refreshesBefore + 1, "the last EndUpdate refreshes once");
        const int expected = ExpectedCount(op, rule, table);
        if (expected >= 0)
            Check(table.Count() == expected, "Count moves only as storing and deleting say",
                  std::to_string(table.Count()) + " after op " +
                      std::to_string(static_cast<int>(op)) + ", expected " +
                      std::to_string(expected));
        CheckInvariants(table);
    }
    return 0;
}
