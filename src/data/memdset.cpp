#include "data/memdset.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "data/field_text.h"
#include "data/field_value.h"

namespace qv {

// ---------------------------------------------------------------------------
// Errors

EMemDatasetError::EMemDatasetError(int code) : std::runtime_error(TextForCode(code)), code_(code) {}

EMemDatasetError::EMemDatasetError(int code, const std::string& text)
    : std::runtime_error(text), code_(code) {}

std::string EMemDatasetError::TextForCode(int code) {
    switch (code) {
        case 1:
            return "Unsupported function";
        case 3:
            return "Field to index not found";
        case 4:
            return "Index undefined";
        case 5:
            return "Field structure mismatch";
        case 6:
            return "Active range";
        case 7:
            return "Active filter";
        case 8:
            return "Dataset is indexed or filtered";
        case 9:
            return "System index: Internal use only";
        case 10:
            return "Index does not exist";
        default:
            return "Undefined error";
    }
}

namespace {

const char* const kOrderByPrefix = "@ORDERBY_";
const char* const kRangeIndex = "@RANGE_INDEX";
const char* const kFilterIndex = "@FILTER_INDEX";
const char* const kEmptyDataset = "Cannot perform this operation on an empty dataset";
const char* const kClosedDataset = "Cannot perform this operation on a closed dataset";
const char* const kNotEditMode = "Dataset not in edit or insert mode";

constexpr int kLastTypeCode = 22;
// Strings and byte arrays hold at most their size; a fixed-layout line holds
// the whole column, so the size stays well within a line the import reads.
constexpr int kMaxFieldSize = 32767;

using Cell = FieldValue;
using Cells = std::vector<Cell>;

struct RawDef {
    std::string name;
    int type = 1;
    int size = 1;
    int required = 0;
};

int ParseIntDefault(const std::string& text, int def) {
    auto v = ParseWholeInteger(text);
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return def;
    return static_cast<int>(*v);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const auto p = s.find(sep, start);
        if (p == std::string::npos) {
            out.push_back(s.substr(start));
            return out;
        }
        out.push_back(s.substr(start, p - start));
        start = p + 1;
    }
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (LowerAscii(a[k]) != LowerAscii(b[k])) return false;
    return true;
}

std::string Format1(const char* fmt, const std::string& a) {
    std::string out;
    for (const char* p = fmt; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            out += a;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string Format2(const char* fmt, const std::string& a, const std::string& b) {
    std::string out;
    int n = 0;
    for (const char* p = fmt; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            out += (n++ == 0) ? a : b;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string ViewNameFor(const std::string& orderBy) {
    std::string n = orderBy;
    std::replace(n.begin(), n.end(), ';', '_');
    return kOrderByPrefix + n;
}

// Grows a vector's capacity geometrically so that one more element fits
// without a reallocation (keeps the later insert non-throwing).
template <class T>
void EnsureRoom(std::vector<T>& v) {
    if (v.size() == v.capacity()) v.reserve(std::max<std::size_t>(16, v.size() * 2));
}

}  // namespace

// ---------------------------------------------------------------------------
// Implementation

struct TMemDataSet::Impl {
    struct Record {
        Cells cells;
    };

    struct View {
        std::string orderBy;
        std::vector<int> keys;
        bool descending = false;
        std::vector<Record*> rows;
    };

    std::string name;
    std::vector<RawDef> defs;
    std::vector<FieldDef> fields;
    MemDataSetOptions options{MemDataSetOption::UseFieldMappingOnLoadDataset};
    std::string orderBy;
    std::string curView;  // "" = insertion order
    std::map<std::string, View> views;
    // The view named curView, or none: looked up whenever either changes, so
    // that every cursor movement and field read is spared the lookup.
    View* current = nullptr;
    std::vector<Record*> ins;  // owns the records

    bool active = false;
    DataSetState state = DataSetState::Inactive;
    int cur = -1;
    bool eof = true;

    std::unique_ptr<Record> pending;  // Insert state
    Record* editRec = nullptr;        // Edit state
    Cells editBuf;
    bool anySet = false;

    // The highest value each auto-increment field has held since the table was
    // last emptied (0 for other fields); a new record stored with the field
    // empty gets the next number.
    std::vector<std::int64_t> autoIncTop;

    std::optional<int> mark;
    int updateCount = 0;
    std::map<int, Observer> observers;
    int nextHandle = 1;

    explicit Impl(std::string n) : name(std::move(n)) {}
    ~Impl() { DeleteAll(); }

    void DeleteAll() {
        for (Record* r : ins) delete r;
        ins.clear();
        for (auto& [n, v] : views) v.rows.clear();
        std::fill(autoIncTop.begin(), autoIncTop.end(), 0);
    }

    bool HasAutoInc() const {
        return std::any_of(fields.begin(), fields.end(),
                           [](const FieldDef& f) { return f.type == FieldType::AutoInc; });
    }

    // Gives every empty auto-increment field of a new record its number.
    void NumberAutoInc(Cells& cells) const {
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (fields[k].type != FieldType::AutoInc || cells[k].has) continue;
            if (autoIncTop[k] >= std::numeric_limits<std::int32_t>::max())
                throw EMemDatasetError(0, Format1("Field '%s' must have a value", fields[k].name));
            cells[k].i = autoIncTop[k] + 1;
            cells[k].has = true;
        }
    }

    void NoteAutoInc(const Cells& cells) noexcept {
        for (std::size_t k = 0; k < fields.size(); ++k)
            if (fields[k].type == FieldType::AutoInc && cells[k].has)
                autoIncTop[k] = std::max(autoIncTop[k], cells[k].i);
    }

    // --- helpers ---------------------------------------------------------
    void FindCurrentView() {
        const auto it = curView.empty() ? views.end() : views.find(curView);
        current = it == views.end() ? nullptr : &it->second;
    }

    std::vector<Record*>& Order() { return current ? current->rows : ins; }
    const std::vector<Record*>& Order() const { return const_cast<Impl*>(this)->Order(); }

    Record* Current() const {
        const auto& o = Order();
        if (!active || cur < 0 || cur >= static_cast<int>(o.size())) return nullptr;
        return o[static_cast<std::size_t>(cur)];
    }

    const Cells* ActiveCells() const {
        if (state == DataSetState::Insert && pending) return &pending->cells;
        if (state == DataSetState::Edit) return &editBuf;
        Record* r = Current();
        return r ? &r->cells : nullptr;
    }

    std::string TextOf(const Cells* c, int k) const {
        if (!c) return {};
        return ValueText(fields[static_cast<std::size_t>(k)], (*c)[static_cast<std::size_t>(k)]);
    }

    int FieldIndexOf(const std::string& n) const {
        for (std::size_t k = 0; k < fields.size(); ++k)
            if (SameName(fields[k].name, n)) return static_cast<int>(k);
        return -1;
    }

    int RequireField(const std::string& n) const {
        const int k = FieldIndexOf(n);
        if (k < 0) throw EMemDatasetError(0, Format2("%s: Field '%s' not found", name, n));
        return k;
    }

    void RequireActive() const {
        if (!active) throw EMemDatasetError(0, kClosedDataset);
    }

    Cell& WritableCell(int k) {
        if (state == DataSetState::Insert && pending)
            return pending->cells[static_cast<std::size_t>(k)];
        if (state == DataSetState::Edit) return editBuf[static_cast<std::size_t>(k)];
        throw EMemDatasetError(0, kNotEditMode);
    }

    int RequireField(FieldHandle h) const {
        if (h.index < 0 || h.index >= static_cast<int>(fields.size()))
            throw EMemDatasetError(
                0, Format2("%s: Field '%s' not found", name, "#" + std::to_string(h.index)));
        return h.index;
    }

    // The named field and its value in the current (or pending) record.
    template <class Name>
    std::pair<const FieldDef&, const Cell*> Read(const Name& n) const {
        const int k = RequireField(n);
        const auto at = static_cast<std::size_t>(k);
        const Cells* c = ActiveCells();
        const Cell* value = (c && (*c)[at].has) ? &(*c)[at] : nullptr;
        return {fields[at], value};
    }

    // Writes the value `convert` makes for the named field; when the field
    // cannot hold it, the field's message names `text()` and nothing changes.
    template <class Name, class Convert, class Text>
    void Write(const Name& n, Convert convert, Text text) {
        const int k = RequireField(n);
        Cell& cell = WritableCell(k);
        const FieldDef& f = fields[static_cast<std::size_t>(k)];
        std::optional<Cell> value = convert(f);
        if (!value) throw EMemDatasetError(0, InvalidValueMessage(f, text()));
        cell = std::move(*value);
        anySet = true;
        Notify();
    }

    int Compare(const Cells& a, const Cells& b, const View& v) const {
        for (int k : v.keys) {
            const auto at = static_cast<std::size_t>(k);
            const int c = CompareValues(KindOf(fields[at].type), a[at], b[at]);
            if (c != 0) return v.descending ? -c : c;
        }
        return 0;
    }

    // Place of the first record whose key is greater than the given values.
    std::size_t UpperBound(const View& v, const Cells& key) const {
        auto it = std::upper_bound(
            v.rows.begin(), v.rows.end(), &key,
            [&](const Cells* k, const Record* r) { return Compare(*k, r->cells, v) < 0; });
        return static_cast<std::size_t>(it - v.rows.begin());
    }

    std::vector<int> ResolveKeys(const std::string& text,
                                 const std::vector<std::string>& names) const {
        std::vector<int> keys;
        for (const auto& item : Split(text, ';')) {
            int found = -1;
            for (std::size_t k = 0; k < names.size(); ++k)
                if (SameName(names[k], item)) {
                    found = static_cast<int>(k);
                    break;
                }
            if (found < 0) throw EMemDatasetError(3);
            keys.push_back(found);
        }
        return keys;
    }

    std::vector<std::string> ActiveFieldNames() const {
        std::vector<std::string> out;
        for (const auto& f : fields) out.push_back(f.name);
        return out;
    }

    std::vector<std::string> DefNames() const {
        std::vector<std::string> out;
        for (const auto& d : defs) out.push_back(d.name);
        return out;
    }

    View BuildView(const std::string& text, std::vector<int> keys) const {
        View v;
        v.orderBy = text;
        v.keys = std::move(keys);
        v.descending = options.Has(MemDataSetOption::SetOrderByDescending);
        v.rows = ins;
        std::stable_sort(v.rows.begin(), v.rows.end(), [&](const Record* a, const Record* b) {
            return Compare(a->cells, b->cells, v) < 0;
        });
        return v;
    }

    int IndexIn(const std::vector<Record*>& rows, const Record* r) const {
        if (!r) return -1;
        auto it = std::find(rows.begin(), rows.end(), r);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }

    void Notify() {
        if (updateCount > 0) return;
        std::vector<Observer> copy;
        copy.reserve(observers.size());
        for (auto& [h, o] : observers) copy.push_back(o);
        for (auto& o : copy)
            if (o) o();
    }

    std::vector<FieldDef> BuildFields() const {
        std::vector<FieldDef> out;
        for (const auto& d : defs) {
            if (d.type <= 0)
                throw EMemDatasetError(0, Format1("Field '%s' is of unknown type", d.name));
            if (d.type == 13 || d.type == 21 || d.type > kLastTypeCode)
                throw EMemDatasetError(0, Format1("Field '%s' is of an unsupported type", d.name));
            FieldDef f;
            f.name = d.name;
            f.type = static_cast<FieldType>(d.type);
            f.size = d.size;
            f.required = d.required == 1;
            if (IsSized(f.type) && (f.size < 1 || f.size > kMaxFieldSize))
                throw EMemDatasetError(0, Format1("Field '%s' has an invalid size", d.name));
            out.push_back(std::move(f));
        }
        return out;
    }

    static bool SameStructure(const std::vector<FieldDef>& a, const std::vector<FieldDef>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t k = 0; k < a.size(); ++k)
            if (!SameName(a[k].name, b[k].name) || a[k].type != b[k].type ||
                (IsSized(a[k].type) && a[k].size != b[k].size))
                return false;
        return true;
    }

    void MoveToIndex(int idx) {
        const int n = static_cast<int>(Order().size());
        if (n == 0) {
            cur = -1;
            eof = true;
            return;
        }
        cur = std::clamp(idx, 0, n - 1);
        eof = false;
    }

    // --- storing -----------------------------------------------------------
    void CheckRequired(const Cells& cells) const {
        for (std::size_t k = 0; k < fields.size(); ++k)
            if (fields[k].required && !cells[k].has)
                throw EMemDatasetError(0, Format1("Field '%s' must have a value", fields[k].name));
    }

    void PostInsert() {
        // Numbers are given on a copy, so a refused record stays pending as it was.
        Cells numbered;
        const Cells* cells = &pending->cells;
        if (HasAutoInc()) {
            numbered = pending->cells;
            NumberAutoInc(numbered);
            cells = &numbered;
        }
        CheckRequired(*cells);
        // Find every place and make room first; nothing below throws.
        std::vector<std::pair<View*, std::size_t>> places;
        places.reserve(views.size());
        for (auto& [n, v] : views) places.emplace_back(&v, UpperBound(v, *cells));
        EnsureRoom(ins);
        for (auto& [v, p] : places) EnsureRoom(v->rows);
        if (cells == &numbered) pending->cells.swap(numbered);
        NoteAutoInc(pending->cells);

        const View* curV = current;
        Record* r = pending.release();
        ins.push_back(r);
        int newCur = static_cast<int>(ins.size()) - 1;
        for (auto& [v, p] : places) {
            v->rows.insert(v->rows.begin() + static_cast<std::ptrdiff_t>(p), r);
            if (v == curV) newCur = static_cast<int>(p);
        }
        state = DataSetState::Browse;
        anySet = false;
        cur = newCur;
        eof = false;
    }

    void PostEdit() {
        CheckRequired(editBuf);
        Record* r = editRec;
        struct Move {
            View* v;
            std::size_t from;
            std::size_t to;
        };
        std::vector<Move> moves;
        moves.reserve(views.size());
        for (auto& [n, v] : views) {
            const int i = IndexIn(v.rows, r);
            if (i < 0) continue;
            std::size_t j = UpperBound(v, editBuf);
            const auto from = static_cast<std::size_t>(i);
            if (from < j) --j;
            moves.push_back({&v, from, j});
        }
        // Commit: nothing below throws.
        r->cells.swap(editBuf);
        editBuf.clear();
        NoteAutoInc(r->cells);
        for (auto& m : moves) {
            auto b = m.v->rows.begin();
            const auto from = static_cast<std::ptrdiff_t>(m.from);
            const auto to = static_cast<std::ptrdiff_t>(m.to);
            if (from < to)
                std::rotate(b + from, b + from + 1, b + to + 1);
            else if (to < from)
                std::rotate(b + to, b + from, b + from + 1);
        }
        editRec = nullptr;
        state = DataSetState::Browse;
        anySet = false;
        cur = IndexIn(Order(), r);
        eof = false;
    }

    void CancelPending() {
        pending.reset();
        editRec = nullptr;
        editBuf.clear();
        anySet = false;
        if (active) state = DataSetState::Browse;
    }

    void Settle() {
        if (state != DataSetState::Insert && state != DataSetState::Edit) return;
        if (anySet) {
            if (state == DataSetState::Insert)
                PostInsert();
            else
                PostEdit();
        } else {
            CancelPending();
        }
    }
};

// ---------------------------------------------------------------------------
// TMemDataSet

TMemDataSet::TMemDataSet(std::string name) : impl_(std::make_unique<Impl>(std::move(name))) {}
TMemDataSet::~TMemDataSet() = default;

const std::string& TMemDataSet::Name() const {
    return impl_->name;
}

void TMemDataSet::SetFieldsDefinitionItems(std::vector<std::string> items) {
    std::vector<RawDef> defs;
    defs.reserve(items.size());
    for (const auto& item : items) {
        const auto parts = Split(item, ';');
        RawDef d;
        d.name = parts[0];
        d.type = parts.size() > 1 ? ParseIntDefault(parts[1], 1) : 1;
        d.size = parts.size() > 2 ? ParseIntDefault(parts[2], 1) : 1;
        d.required = parts.size() > 3 ? ParseIntDefault(parts[3], 0) : 0;
        defs.push_back(std::move(d));
    }
    impl_->defs = std::move(defs);
}

std::vector<std::string> TMemDataSet::FieldsDefinitionItems() const {
    std::vector<std::string> out;
    for (const auto& d : impl_->defs) {
        char buf[64];
        std::snprintf(buf, sizeof buf, ";%d;%d;%d", d.type, d.size, d.required == 1 ? 1 : 0);
        out.push_back(d.name + buf);
    }
    return out;
}

int TMemDataSet::FieldCount() const {
    return static_cast<int>(impl_->fields.size());
}

const FieldDef& TMemDataSet::FieldDefAt(int index) const {
    if (index < 0 || index >= FieldCount())
        throw std::out_of_range("FieldDefAt: index out of range");
    return impl_->fields[static_cast<std::size_t>(index)];
}

int TMemDataSet::FieldIndex(const std::string& name) const {
    return impl_->FieldIndexOf(name);
}

TMemDataSet::FieldHandle TMemDataSet::Field(const std::string& name) const {
    return FieldHandle{impl_->RequireField(name)};
}

MemDataSetOptions TMemDataSet::Options() const {
    return impl_->options;
}

void TMemDataSet::SetOptions(MemDataSetOptions options) {
    Impl& m = *impl_;
    const bool wasDesc = m.options.Has(MemDataSetOption::SetOrderByDescending);
    const bool desc = options.Has(MemDataSetOption::SetOrderByDescending);
    m.options = options;
    if (wasDesc == desc) return;
    // The order views follow the new direction; records with equal keys keep
    // their relative order.
    Impl::Record* r = m.Current();
    for (auto& entry : m.views) {
        // A named reference, not a structured binding: clang 14 cannot
        // capture a binding in the comparison below.
        Impl::View& v = entry.second;
        v.descending = desc;
        std::stable_sort(v.rows.begin(), v.rows.end(),
                         [&](const Impl::Record* a, const Impl::Record* b) {
                             return m.Compare(a->cells, b->cells, v) < 0;
                         });
    }
    if (r) m.cur = m.IndexIn(m.Order(), r);
    if (m.active) m.Notify();
}

const std::string& TMemDataSet::OrderBy() const {
    return impl_->orderBy;
}

void TMemDataSet::SetOrderBy(const std::string& orderBy) {
    Impl& m = *impl_;
    if (orderBy == m.orderBy) return;
    const std::string vname = orderBy.empty() ? std::string() : ViewNameFor(orderBy);
    std::vector<int> keys;
    if (!orderBy.empty())
        keys = m.ResolveKeys(orderBy, m.active ? m.ActiveFieldNames() : m.DefNames());
    const bool release = m.options.Has(MemDataSetOption::ReleaseAutoIndexes);

    if (!m.active) {
        // The view is built (or reused) at Open.
        m.orderBy = orderBy;
        m.curView = vname;
        if (release)
            for (auto it = m.views.begin(); it != m.views.end();)
                it = (it->first == vname) ? std::next(it) : m.views.erase(it);
        m.FindCurrentView();
        return;
    }

    Impl::Record* r = m.Current();
    if (!vname.empty() && m.views.find(vname) == m.views.end()) {
        Impl::View v = m.BuildView(orderBy, std::move(keys));
        m.views.emplace(vname, std::move(v));
    }
    m.orderBy = orderBy;
    m.curView = vname;
    if (release)
        for (auto it = m.views.begin(); it != m.views.end();)
            it = (it->first == vname) ? std::next(it) : m.views.erase(it);
    m.FindCurrentView();
    if (r) m.cur = m.IndexIn(m.Order(), r);
    m.Notify();
}

std::string TMemDataSet::CurrentIndexName() const {
    return impl_->curView;
}

void TMemDataSet::SetCurrentIndexName(const std::string& name) {
    Impl& m = *impl_;
    if (name == kRangeIndex || name == kFilterIndex) throw EMemDatasetError(9);
    if (name.empty()) {
        SetOrderBy(std::string());
        return;
    }
    auto it = m.views.find(name);
    if (it == m.views.end()) throw EMemDatasetError(10);
    if (name == m.curView) return;
    Impl::Record* r = m.Current();
    m.curView = name;
    m.orderBy = it->second.orderBy;
    m.FindCurrentView();
    if (r) m.cur = m.IndexIn(m.Order(), r);
    if (m.active) m.Notify();
}

// --- life cycle -------------------------------------------------------------

void TMemDataSet::Open() {
    Impl& m = *impl_;
    if (m.active) return;
    std::vector<FieldDef> newFields = m.BuildFields();
    const bool sameStructure = Impl::SameStructure(m.fields, newFields);
    if (!sameStructure && !m.ins.empty()) throw EMemDatasetError(5);

    std::vector<int> keys;
    if (!m.orderBy.empty()) {
        std::vector<std::string> names;
        for (const auto& f : newFields) names.push_back(f.name);
        keys = m.ResolveKeys(m.orderBy, names);
    }
    std::map<std::string, Impl::View> views;
    if (sameStructure) views = m.views;  // copy: commit below cannot fail
    std::swap(m.fields, newFields);
    try {
        if (!m.curView.empty() && views.find(m.curView) == views.end()) {
            Impl::View v = m.BuildView(m.orderBy, std::move(keys));
            views.emplace(m.curView, std::move(v));
        }
    } catch (...) {
        std::swap(m.fields, newFields);
        throw;
    }
    m.views = std::move(views);
    m.FindCurrentView();
    if (!sameStructure || m.autoIncTop.size() != m.fields.size())
        m.autoIncTop.assign(m.fields.size(), 0);
    m.active = true;
    m.state = DataSetState::Browse;
    m.MoveToIndex(0);
    m.Notify();
}

void TMemDataSet::Close() {
    Impl& m = *impl_;
    if (!m.active) return;
    m.CancelPending();
    m.active = false;
    m.state = DataSetState::Inactive;
    if (m.options.Has(MemDataSetOption::EmptyTableOnClose)) {
        m.DeleteAll();
        m.mark.reset();
    }
    m.cur = -1;
    m.eof = true;
    m.Notify();
}

bool TMemDataSet::Active() const {
    return impl_->active;
}
DataSetState TMemDataSet::State() const {
    return impl_->state;
}

void TMemDataSet::Clear() {
    Impl& m = *impl_;
    if (m.active) m.Settle();
    m.DeleteAll();
    m.mark.reset();
    m.cur = -1;
    m.eof = true;
    m.Notify();
}

// --- cursor -----------------------------------------------------------------

void TMemDataSet::MoveFirst() {
    Impl& m = *impl_;
    m.RequireActive();
    m.Settle();
    m.MoveToIndex(0);
    m.Notify();
}

void TMemDataSet::MoveLast() {
    Impl& m = *impl_;
    m.RequireActive();
    m.Settle();
    m.MoveToIndex(static_cast<int>(m.Order().size()) - 1);
    m.Notify();
}

void TMemDataSet::MoveNext() {
    Impl& m = *impl_;
    m.RequireActive();
    m.Settle();
    const int n = static_cast<int>(m.Order().size());
    if (n == 0) {
        m.cur = -1;
        m.eof = true;
    } else if (m.cur < 0) {
        m.cur = 0;
        m.eof = false;
    } else if (m.cur + 1 < n) {
        ++m.cur;
        m.eof = false;
    } else {
        m.eof = true;  // stays on the last record
    }
    m.Notify();
}

void TMemDataSet::MovePrior() {
    Impl& m = *impl_;
    m.RequireActive();
    m.Settle();
    const int n = static_cast<int>(m.Order().size());
    if (n == 0) {
        m.cur = -1;
        m.eof = true;
    } else {
        m.cur = m.cur <= 0 ? 0 : std::min(m.cur, n) - 1;
        m.eof = false;
    }
    m.Notify();
}

void TMemDataSet::MoveTo(int position) {
    Impl& m = *impl_;
    m.RequireActive();
    m.Settle();
    // Every place before the first is the first; std::max keeps INT_MIN - 1
    // from overflowing.
    m.MoveToIndex(std::max(position, 1) - 1);
    m.Notify();
}

bool TMemDataSet::AtEnd() const {
    const Impl& m = *impl_;
    if (!m.active) return true;
    if (m.state == DataSetState::Insert) return false;
    return m.eof;
}

int TMemDataSet::Count() const {
    return static_cast<int>(impl_->ins.size());
}

int TMemDataSet::Position() const {
    return CurrentRow() + 1;
}

void TMemDataSet::SavePosition() {
    Impl& m = *impl_;
    if (!m.active || m.ins.empty() || m.cur < 0) {
        m.mark.reset();
        return;
    }
    m.mark = m.cur + 1;
}

void TMemDataSet::RestorePosition() {
    Impl& m = *impl_;
    if (!m.mark) return;
    m.RequireActive();
    m.Settle();
    m.MoveToIndex(*m.mark - 1);
    m.Notify();
}

// --- editing ----------------------------------------------------------------

void TMemDataSet::AppendNew() {
    Impl& m = *impl_;
    m.RequireActive();
    m.Settle();
    auto r = std::make_unique<Impl::Record>();
    r->cells.resize(m.fields.size());
    m.pending = std::move(r);
    m.anySet = false;
    m.state = DataSetState::Insert;
    m.Notify();
}

void TMemDataSet::Edit() {
    Impl& m = *impl_;
    m.RequireActive();
    if (m.state == DataSetState::Insert || m.state == DataSetState::Edit) return;
    Impl::Record* r = m.Current();
    if (!r) throw EMemDatasetError(0, kEmptyDataset);
    m.editBuf = r->cells;
    m.editRec = r;
    m.anySet = false;
    m.state = DataSetState::Edit;
    m.Notify();
}

void TMemDataSet::Post() {
    Impl& m = *impl_;
    if (m.state == DataSetState::Insert)
        m.PostInsert();
    else if (m.state == DataSetState::Edit)
        m.PostEdit();
    else
        return;
    m.Notify();
}

void TMemDataSet::Cancel() {
    Impl& m = *impl_;
    if (m.state != DataSetState::Insert && m.state != DataSetState::Edit) return;
    m.CancelPending();
    m.Notify();
}

void TMemDataSet::Delete() {
    Impl& m = *impl_;
    m.RequireActive();
    if (m.state == DataSetState::Insert) {
        m.CancelPending();
        m.Notify();
        return;
    }
    Impl::Record* r = m.Current();
    if (!r) throw EMemDatasetError(0, kEmptyDataset);
    m.CancelPending();  // pending changes of this record go with it
    m.ins.erase(std::find(m.ins.begin(), m.ins.end(), r));
    for (auto& [n, v] : m.views) {
        auto it = std::find(v.rows.begin(), v.rows.end(), r);
        if (it != v.rows.end()) v.rows.erase(it);
    }
    delete r;
    m.MoveToIndex(m.cur);
    m.Notify();
}

void TMemDataSet::SettlePending() {
    Impl& m = *impl_;
    if (!m.active) return;
    const DataSetState before = m.state;
    m.Settle();
    if (before != m.state) m.Notify();
}

bool TMemDataSet::HasPending() const {
    return impl_->state == DataSetState::Insert || impl_->state == DataSetState::Edit;
}

bool TMemDataSet::PendingModified() const {
    return HasPending() && impl_->anySet;
}

// --- fields -------------------------------------------------------------------

std::int32_t TMemDataSet::FieldAsInteger(const std::string& name) const {
    const auto [field, value] = impl_->Read(name);
    return value ? ValueAsInteger(field, *value) : 0;
}

double TMemDataSet::FieldAsFloat(const std::string& name) const {
    const auto [field, value] = impl_->Read(name);
    return value ? ValueAsFloat(field, *value) : 0.0;
}

std::int32_t TMemDataSet::FieldAsInteger(FieldHandle field) const {
    const auto [def, value] = impl_->Read(field);
    return value ? ValueAsInteger(def, *value) : 0;
}

double TMemDataSet::FieldAsFloat(FieldHandle field) const {
    const auto [def, value] = impl_->Read(field);
    return value ? ValueAsFloat(def, *value) : 0.0;
}

std::string TMemDataSet::FieldAsString(const std::string& name) const {
    const auto [field, value] = impl_->Read(name);
    return value ? ValueText(field, *value) : std::string();
}

bool TMemDataSet::FieldAsBoolean(const std::string& name) const {
    const auto [field, value] = impl_->Read(name);
    return value && ValueAsBoolean(field, *value);
}

std::int64_t TMemDataSet::FieldAsCurrency(const std::string& name) const {
    const auto [field, value] = impl_->Read(name);
    return value ? ValueAsCurrency(field, *value) : 0;
}

std::int64_t TMemDataSet::FieldAsDateTime(const std::string& name) const {
    const auto [field, value] = impl_->Read(name);
    return value ? ValueAsDateTime(field, *value) : 0;
}

bool TMemDataSet::FieldIsNull(const std::string& name) const {
    return impl_->Read(name).second == nullptr;
}

void TMemDataSet::SetFieldInteger(const std::string& name, std::int32_t value) {
    impl_->Write(
        name, [&](const FieldDef& f) { return ValueFromInteger(f, value); },
        [&] { return std::to_string(value); });
}

void TMemDataSet::SetFieldFloat(const std::string& name, double value) {
    impl_->Write(
        name, [&](const FieldDef& f) { return ValueFromFloat(f, value); },
        [&] { return GeneralFloatText(value); });
}

void TMemDataSet::SetFieldInteger(FieldHandle field, std::int32_t value) {
    impl_->Write(
        field, [&](const FieldDef& f) { return ValueFromInteger(f, value); },
        [&] { return std::to_string(value); });
}

void TMemDataSet::SetFieldFloat(FieldHandle field, double value) {
    impl_->Write(
        field, [&](const FieldDef& f) { return ValueFromFloat(f, value); },
        [&] { return GeneralFloatText(value); });
}

void TMemDataSet::SetFieldBoolean(const std::string& name, bool value) {
    impl_->Write(
        name, [&](const FieldDef& f) { return ValueFromBoolean(f, value); },
        [&] { return std::string(value ? "True" : "False"); });
}

void TMemDataSet::SetFieldCurrency(const std::string& name, std::int64_t tenThousandths) {
    impl_->Write(
        name, [&](const FieldDef& f) { return ValueFromCurrency(f, tenThousandths); },
        [&] { return CurrencyValueText(tenThousandths); });
}

void TMemDataSet::SetFieldDateTime(const std::string& name, std::int64_t instant) {
    impl_->Write(
        name, [&](const FieldDef& f) { return ValueFromDateTime(f, instant); },
        [&] { return std::to_string(instant); });
}

void TMemDataSet::SetFieldString(const std::string& name, const std::string& text) {
    if (text.empty()) {
        impl_->Write(
            name, [](const FieldDef&) { return std::optional<FieldValue>(FieldValue{}); },
            [] { return std::string(); });
        return;
    }
    impl_->Write(
        name, [&](const FieldDef& f) { return ValueFromText(f, text); }, [&] { return text; });
}

// --- grid access ------------------------------------------------------------------

int TMemDataSet::RowCount() const {
    const Impl& m = *impl_;
    if (!m.active) return 0;
    return static_cast<int>(m.ins.size()) + (m.state == DataSetState::Insert ? 1 : 0);
}

std::string TMemDataSet::CellText(int row, int fieldIndex) const {
    const Impl& m = *impl_;
    if (fieldIndex < 0 || fieldIndex >= FieldCount())
        throw std::out_of_range("CellText: field index out of range");
    if (row < 0 || row >= RowCount()) throw std::out_of_range("CellText: row out of range");
    const auto& o = m.Order();
    const Cells* c = nullptr;
    if (m.state == DataSetState::Insert && row == static_cast<int>(o.size())) {
        c = &m.pending->cells;
    } else {
        const auto* r = o[static_cast<std::size_t>(row)];
        c = (m.state == DataSetState::Edit && r == m.editRec) ? &m.editBuf : &r->cells;
    }
    return m.TextOf(c, fieldIndex);
}

int TMemDataSet::CurrentRow() const {
    const Impl& m = *impl_;
    if (!m.active) return -1;
    if (m.state == DataSetState::Insert) return static_cast<int>(m.ins.size());
    return m.Current() ? m.cur : -1;
}

// --- notification -------------------------------------------------------------------

void TMemDataSet::BeginUpdate() {
    ++impl_->updateCount;
}

void TMemDataSet::EndUpdate() {
    Impl& m = *impl_;
    if (m.updateCount == 0) return;
    if (--m.updateCount == 0) m.Notify();
}

int TMemDataSet::UpdateCount() const {
    return impl_->updateCount;
}

int TMemDataSet::AddObserver(Observer observer) {
    const int h = impl_->nextHandle++;
    impl_->observers.emplace(h, std::move(observer));
    return h;
}

void TMemDataSet::RemoveObserver(int handle) {
    impl_->observers.erase(handle);
}

// ---------------------------------------------------------------------------
// The system's tables

void DefineTable(TMemDataSet& table, std::vector<std::string> items, const std::string& orderBy) {
    table.Close();
    table.Clear();
    table.SetOptions(MemDataSetOptions{MemDataSetOption::UseFieldMappingOnLoadDataset});
    table.SetOrderBy(std::string());
    table.SetFieldsDefinitionItems(std::move(items));
    table.SetOrderBy(orderBy);
    table.Open();
}

void EmptyTable(TMemDataSet& table) {
    table.Close();
    table.Clear();
    table.Open();
}

}  // namespace qv
