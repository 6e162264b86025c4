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
    PayGroup g;
    g.SetSize = paySet.FieldAsInteger("SetSize");
    g.Sequence = paySet.FieldAsInteger("Sequence");
    g.PaySize = paySet.FieldAsFloat("PaySize");
    g.PriorPds = paySet.FieldAsInteger("PriorPds");
    g.AddDays = paySet.FieldAsInteger("AddDays");
    return g;
}

void WritePayGroup(TMemDataSet& paySet, const PayGroup& group) {
    paySet.SetFieldInteger("SetSize", group.SetSize);
    paySet.SetFieldInteger("Sequence", group.Sequence);
    paySet.SetFieldFloat("PaySize", group.PaySize);
    paySet.SetFieldInteger("PriorPds", group.PriorPds);
    paySet.SetFieldInteger("AddDays", group.AddDays);
}

void AppendPayGroup(TMemDataSet& paySet, const PayGroup& group) {
    AppendRecord(paySet, [&] { WritePayGroup(paySet, group); });
}

}  // namespace qv
