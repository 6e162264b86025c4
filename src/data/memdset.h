#pragma once
// TMemDataSet: a table of records held wholly in memory, with typed fields,
// a cursor, and order views kept sorted by a key (OrderBy).
//
// Every payment schedule, chart and variable-rate list of Quorvane lives in
// one of these tables; grids in the desktop application are bound to them
// through the observer hook and the const row accessors.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

// Raised by the table for every failure; the text is what the user sees.
// Codes 1..10 carry the texts of EMemDatasetError::TextForCode; the messages
// that name a field (required value, type, not found, edit mode) use code 0.
class EMemDatasetError : public std::runtime_error {
  public:
    explicit EMemDatasetError(int code);
    EMemDatasetError(int code, const std::string& text);
    int Code() const noexcept { return code_; }
    static std::string TextForCode(int code);

  private:
    int code_;
};

enum class MemDataSetOption : unsigned {
    ReleaseAutoIndexes = 1u << 0,
    ValidateFieldsOnLoadDataset = 1u << 1,
    EmptyTableOnClose = 1u << 2,
    AddIndexOnLocate = 1u << 3,
    UseFieldMappingOnLoadDataset = 1u << 4,
    SetOrderByDescending = 1u << 5,
};

class MemDataSetOptions {
  public:
    MemDataSetOptions() = default;
    MemDataSetOptions(std::initializer_list<MemDataSetOption> opts) {
        for (auto o : opts) bits_ |= static_cast<unsigned>(o);
    }
    bool Has(MemDataSetOption o) const { return (bits_ & static_cast<unsigned>(o)) != 0; }
    void Set(MemDataSetOption o, bool on) {
        if (on)
            bits_ |= static_cast<unsigned>(o);
        else
            bits_ &= ~static_cast<unsigned>(o);
    }
    bool operator==(const MemDataSetOptions&) const = default;

  private:
    unsigned bits_ = 0;
};

// Type codes of FieldsDefinitionItems. The program's own tables use only
// Integer and Float; the others are there for any table the components serve.
// Codes 13 and 21 (variable and typed byte arrays) and 23 on are refused.
enum class FieldType : int {
    String = 1,     // text of at most `size` bytes
    SmallInt = 2,   // 16-bit signed
    Integer = 3,    // 32-bit signed
    Word = 4,       // 16-bit unsigned
    Boolean = 5,    // "True" / "False"
    Float = 6,      // 64-bit IEEE double
    Money = 7,      // currency, exact: a 64-bit count of ten-thousandths of a dollar
    Bcd = 8,        // a decimal held like Money, four decimals exact
    Date = 9,       // a day number (data/field_text.h)
    Time = 10,      // milliseconds since midnight
    DateTime = 11,  // day number x 86,400,000 + milliseconds since midnight
    Bytes = 12,     // at most `size` bytes, not shown in files
    AutoInc = 14,   // 32-bit signed, numbered by the table when stored empty
    Blob = 15,
    Memo = 16,           // text of any length, not shown in files
    Picture = 17,        // bytes of an image
    FormattedMemo = 18,  // text of any length, shown in files
    EmbeddedObject = 19,
    LinkedObject = 20,
    OpaqueObject = 22,
};

// How a type's value is held, read and written; the types of one kind differ
// only in their range or in what files show of them.
enum class FieldKind { Integer, Boolean, Float, Money, Date, Time, DateTime, Text, Binary };
FieldKind KindOf(FieldType type);
// Integers, floats and money: what the fixed layout aligns as a number.
bool IsNumeric(FieldType type);
// Strings and byte arrays: the types whose size limits what they hold.
bool IsSized(FieldType type);

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Integer;
    int size = 1;
    bool required = false;
};

enum class DataSetState { Inactive, Browse, Insert, Edit };

class TMemDataSet {
  public:
    // name is the table's name, used in "%s: Field '%s' not found".
    explicit TMemDataSet(std::string name);
    ~TMemDataSet();
    TMemDataSet(const TMemDataSet&) = delete;
    TMemDataSet& operator=(const TMemDataSet&) = delete;

    const std::string& Name() const;

    // --- structure -------------------------------------------------------
    // One "name;type;size;required" string per field. Takes effect at Open,
    // which refuses type codes 0 and below ("unknown"), 13, 21 and above 22
    // ("unsupported"), and strings or byte arrays sized outside 1..32,767.
    void SetFieldsDefinitionItems(std::vector<std::string> items);
    // Written back as "%s;%d;%d;%d".
    std::vector<std::string> FieldsDefinitionItems() const;
    int FieldCount() const;
    const FieldDef& FieldDefAt(int index) const;
    int FieldIndex(const std::string& name) const;  // -1 when no such field
    // A field looked up once by name, for a loop that reads or writes it in
    // record after record. It stays good while the table keeps its fields;
    // used after they were redefined with fewer, it fails as an unknown name.
    struct FieldHandle {
        int index = -1;
    };
    // Raises "%s: Field '%s' not found" as the reads and writes by name do.
    FieldHandle Field(const std::string& name) const;

    MemDataSetOptions Options() const;
    void SetOptions(MemDataSetOptions options);

    const std::string& OrderBy() const;
    void SetOrderBy(const std::string& orderBy);
    // Name of the current order view ("@ORDERBY_Sequence"), empty when none.
    std::string CurrentIndexName() const;
    // Makes a view current by name; reserved internal names raise code 9,
    // unknown names code 10.
    void SetCurrentIndexName(const std::string& name);

    // --- life cycle ------------------------------------------------------
    void Open();
    void Close();
    bool Active() const;
    DataSetState State() const;
    void Clear();

    // --- cursor ----------------------------------------------------------
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrior();
    // Moves to a 1-based place in the current order (the grids use it).
    void MoveTo(int position);
    bool AtEnd() const;
    int Count() const;     // stored records; a pending new record is not counted
    int Position() const;  // 1-based place of the current record, 0 when none

    void SavePosition();
    void RestorePosition();

    // --- editing ---------------------------------------------------------
    void AppendNew();
    // Starts changing the current record; on a table without records it
    // fails with "Cannot perform this operation on an empty dataset".
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Settles a pending record the way movements do: one in which any field
    // was set is stored (Post, which may raise the required-field message and
    // leave it pending), one in which nothing was set is dropped (Cancel).
    // Nothing happens in browse state or on a closed table. The delimited
    // export and import call it before they start.
    void SettlePending();
    // True while a pending new record or pending changes exist.
    bool HasPending() const;
    // True when the pending record has had any field set since AppendNew/Edit.
    bool PendingModified() const;

    // --- fields of the current record (or of the pending record) ----------
    // Every field reads in every form. Dates and date-times read as numbers
    // give their day number (FieldAsFloat: days and the fraction of a day),
    // times their milliseconds (FieldAsFloat: the fraction of a day); text
    // fields read as numbers give what their text says, or 0.
    std::int32_t FieldAsInteger(const std::string& name) const;
    double FieldAsFloat(const std::string& name) const;
    std::string FieldAsString(const std::string& name) const;
    bool FieldAsBoolean(const std::string& name) const;
    // Ten-thousandths of a dollar (core/money.h).
    std::int64_t FieldAsCurrency(const std::string& name) const;
    // A date-time count (data/field_text.h); a date gives its midnight, a
    // time its milliseconds, a text field what its text says, others 0.
    std::int64_t FieldAsDateTime(const std::string& name) const;
    bool FieldIsNull(const std::string& name) const;
    // The same reads of a field looked up before.
    std::int32_t FieldAsInteger(FieldHandle field) const;
    double FieldAsFloat(FieldHandle field) const;

    // A write the field cannot hold (out of its range, a number into a date,
    // text longer than its size) raises the field's type message and leaves
    // the field as it was. Writes a field's type does not take directly go
    // through text: SetFieldCurrency on a text field stores "12.5".
    void SetFieldInteger(const std::string& name, std::int32_t value);
    void SetFieldFloat(const std::string& name, double value);
    void SetFieldBoolean(const std::string& name, bool value);
    void SetFieldCurrency(const std::string& name, std::int64_t tenThousandths);
    // A date keeps the day, a time the time of day.
    void SetFieldDateTime(const std::string& name, std::int64_t instant);
    // Empty text empties the field; text the field's type cannot read raises
    // the type message and leaves the field as it was.
    void SetFieldString(const std::string& name, const std::string& text);
    // The same writes to a field looked up before.
    void SetFieldInteger(FieldHandle field, std::int32_t value);
    void SetFieldFloat(FieldHandle field, double value);

    // --- read access for grids, without moving the cursor -----------------
    // Rows the grid shows: the stored records in the current order, plus a
    // pending new record at its place while one exists.
    int RowCount() const;
    // Text of a cell of a row (0-based), as FieldAsString would read it.
    std::string CellText(int row, int fieldIndex) const;
    // 0-based row of the current record (or pending record), -1 when none.
    int CurrentRow() const;

    // --- change notification ---------------------------------------------
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const;
    using Observer = std::function<void()>;
    // Called after every change of records, order or cursor, unless an update
    // is in progress; the last EndUpdate notifies once. Returns a handle.
    int AddObserver(Observer observer);
    void RemoveObserver(int handle);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Defines a table of the system the way the window creates them: the fields
// ("name;type;size;required" each) and the order, open and empty.
void DefineTable(TMemDataSet& table, std::vector<std::string> items, const std::string& orderBy);

// Each of the system's four tables is defined next to the type of its
// records: mdsPaySet in core/pay_group.h, mdsDetail in chart/amortization.h,
// mdsVariable and mdsVarSchedule in varrate/var_group.h.

// Closes, clears and reopens a table: how Reset and the loaders empty one.
void EmptyTable(TMemDataSet& table);

}  // namespace qv
