#pragma once
// The records of the variable-rate page's two tables: a payment group of the
// list (mdsVariable), which carries its own annual contract rate, and one
// payment of the unrounded amortization (mdsVarSchedule).
#include <cstdint>
#include <vector>

#include "data/memdset.h"

namespace qv {

// One group of the list: GrpSize payments of Payment dollars each, each due
// Interval common intervals plus AddDays days after the one before it, with
// interest at Rate percent a year. Members in the table's field order.
struct VarGroup {
    std::int32_t GrpID = 0;
    std::int32_t GrpSize = 0;
    double Rate = 0.0;
    double Payment = 0.0;
    std::int32_t Interval = 0;
    std::int32_t AddDays = 0;
    bool operator==(const VarGroup&) const = default;
};

// One payment of the amortization. Members in the table's field order.
struct VarScheduleRow {
    std::int32_t Sequence = 0;
    double OldBal = 0.0;
    double Rate = 0.0;
    std::int32_t RegPds = 0;
    std::int32_t AddDays = 0;
    double Interest = 0.0;
    double Payment = 0.0;
    double NewBal = 0.0;
    bool operator==(const VarScheduleRow&) const = default;
};

// mdsVariable and mdsVarSchedule as the window creates them: fields, order,
// open and empty.
void DefineVariableTable(TMemDataSet& table);
void DefineVarScheduleTable(TMemDataSet& table);

// The group held by the current record (empty fields read as 0).
VarGroup ReadVarGroup(const TMemDataSet& variable);
// Starts a new record holding the group and leaves it pending, as
// AppendPayGroup does; if the table refuses, nothing is left behind.
void AppendVarGroup(TMemDataSet& variable, const VarGroup& group);

// Every group in GrpID order, a pending group stored first; the cursor is
// put back where it was. Throws the table's EMemDatasetError when a pending
// group cannot be stored.
std::vector<VarGroup> ReadVarGroups(TMemDataSet& variable);

VarScheduleRow ReadVarScheduleRow(const TMemDataSet& schedule);

// The schedule table's fields looked up once, for a walk over many rows (a
// lookup by name costs more than the value it finds).
class VarScheduleFields {
  public:
    explicit VarScheduleFields(const TMemDataSet& schedule);
    // As ReadVarScheduleRow, on the table the fields came from.
    VarScheduleRow Read(const TMemDataSet& schedule) const;
    // Starts a new record holding the row and leaves it pending; if the
    // table refuses, nothing is left behind.
    void Append(TMemDataSet& schedule, const VarScheduleRow& row) const;

  private:
    TMemDataSet::FieldHandle sequence_, oldBal_, rate_, regPds_, addDays_, interest_, payment_,
        newBal_;
};

}  // namespace qv
