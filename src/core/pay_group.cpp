#include "core/pay_group.h"

#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {

void DefinePaySetTable(TMemDataSet& table) {
    DefineTable(
        table,
        {"SetSize;3;0;0", "Sequence;3;0;1", "PaySize;6;0;0", "PriorPds;3;0;0", "AddDays;3;0;0"},
        "Sequence");
}

PayGroup ReadPayGroup(const TMemDataSet& paySet) {
    return PayGroupFields(paySet).Read(paySet);
}

void WritePayGroup(TMemDataSet& paySet, const PayGroup& group) {
    PayGroupFields(paySet).Write(paySet, group);
}

PayGroupFields::PayGroupFields(const TMemDataSet& paySet)
    : setSize_(paySet.Field("SetSize")),
      sequence_(paySet.Field("Sequence")),
      paySize_(paySet.Field("PaySize")),
      priorPds_(paySet.Field("PriorPds")),
      addDays_(paySet.Field("AddDays")) {}

PayGroup PayGroupFields::Read(const TMemDataSet& paySet) const {
    PayGroup g;
    g.SetSize = paySet.FieldAsInteger(setSize_);
    g.Sequence = paySet.FieldAsInteger(sequence_);
    g.PaySize = paySet.FieldAsFloat(paySize_);
    g.PriorPds = paySet.FieldAsInteger(priorPds_);
    g.AddDays = paySet.FieldAsInteger(addDays_);
    return g;
}

void PayGroupFields::Write(TMemDataSet& paySet, const PayGroup& group) const {
    paySet.SetFieldInteger(setSize_, group.SetSize);
    paySet.SetFieldInteger(sequence_, group.Sequence);
    paySet.SetFieldFloat(paySize_, group.PaySize);
    paySet.SetFieldInteger(priorPds_, group.PriorPds);
    paySet.SetFieldInteger(addDays_, group.AddDays);
}

void AppendPayGroup(TMemDataSet& paySet, const PayGroup& group) {
    AppendRecord(paySet, [&] { WritePayGroup(paySet, group); });
}

}  // namespace qv
