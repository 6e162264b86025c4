#pragma once
// One payment group, the record of mdsPaySet: SetSize payments of PaySize
// dollars each, each due PriorPds whole unit periods plus AddDays days after
// the payment before it. Groups are taken in Sequence order.
#include <cstdint>

#include "data/memdset.h"

namespace qv {

// Members in the table's field order.
struct PayGroup {
    std::int32_t SetSize = 0;
    std::int32_t Sequence = 0;
    double PaySize = 0.0;
    std::int32_t PriorPds = 0;
    std::int32_t AddDays = 0;
    bool operator==(const PayGroup&) const = default;
};

// mdsPaySet: the payment groups in Sequence order, open and empty.
void DefinePaySetTable(TMemDataSet& table);

// The group held by the table's current record (empty fields read as 0).
PayGroup ReadPayGroup(const TMemDataSet& paySet);

// Writes the five fields of the record being appended or edited.
void WritePayGroup(TMemDataSet& paySet, const PayGroup& group);

// The five fields of a table of groups, looked up by name once for a walk
// over its records rather than once per record and field. A table without
// one of them raises its "not found" message here.
class PayGroupFields {
  public:
    explicit PayGroupFields(const TMemDataSet& paySet);
    // As ReadPayGroup and WritePayGroup, on the table the fields came from.
    PayGroup Read(const TMemDataSet& paySet) const;
    void Write(TMemDataSet& paySet, const PayGroup& group) const;

  private:
    TMemDataSet::FieldHandle setSize_, sequence_, paySize_, priorPds_, addDays_;
};

// Starts a new record holding the group and leaves it pending: the table's
// next movement (or Post) stores it. If the table refuses, no new record is
// left behind and the table's error passes on.
void AppendPayGroup(TMemDataSet& paySet, const PayGroup& group);

}  // namespace qv
