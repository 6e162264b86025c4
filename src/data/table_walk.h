#pragma once
// Walking a record table from first to last while keeping the user's place:
// the cursor position is saved and restored, and bound grids are not
// refreshed row by row.
#include "data/memdset.h"

namespace qv {

class TableWalk {
  public:
    explicit TableWalk(TMemDataSet& table) : table_(table) {
        table_.SavePosition();
        table_.BeginUpdate();
    }
    ~TableWalk() {
        // Restoring can only fail on a pending record that cannot be stored,
        // and MoveFirst has already tried to store it; the grid must be
        // released in every case.
        try {
            if (restore_) table_.RestorePosition();
        } catch (const EMemDatasetError&) {
        }
        table_.EndUpdate();
    }
    TableWalk(const TableWalk&) = delete;
    TableWalk& operator=(const TableWalk&) = delete;

    // Leaves the cursor on the last record visited instead of the saved place.
    void KeepCursorAtEnd() { restore_ = false; }

  private:
    TMemDataSet& table_;
    bool restore_ = true;
};

// Starts a new record, lets `write` set its fields and leaves it pending: the
// table's next movement (or Post) stores it. If the table refuses a field, no
// new record is left behind and the table's error passes on.
template <class Write>
void AppendRecord(TMemDataSet& table, Write&& write) {
    table.AppendNew();
    try {
        write();
    } catch (...) {
        table.Cancel();
        throw;
    }
}

// Holds back a table's refreshes while it is refilled, however that ends, so
// bound grids refresh once.
class UpdateBatch {
  public:
    explicit UpdateBatch(TMemDataSet& table) : table_(table) { table_.BeginUpdate(); }
    ~UpdateBatch() { table_.EndUpdate(); }
    UpdateBatch(const UpdateBatch&) = delete;
    UpdateBatch& operator=(const UpdateBatch&) = delete;

  private:
    TMemDataSet& table_;
};

}  // namespace qv
