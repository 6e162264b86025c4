#include "varrate/var_group.h"

#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {

void DefineVariableTable(TMemDataSet& table) {
    DefineTable(table,
                {"GrpID;3;0;0", "GrpSize;3;0;0", "Rate;6;0;0", "Payment;6;0;0", "Interval;3;0;0",
                 "AddDays;3;0;0"},
                "GrpID");
}

void DefineVarScheduleTable(TMemDataSet& table) {
    DefineTable(table,
                {"Sequence;3;0;0", "OldBal;6;0;0", "Rate;6;0;0", "RegPds;3;0;0", "AddDays;3;0;0",
                 "Interest;6;0;0", "Payment;6;0;0", "NewBal;6;0;0"},
                "Sequence");
}

VarGroup ReadVarGroup(const TMemDataSet& variable) {
    VarGroup g;
    g.GrpID = variable.FieldAsInteger("GrpID");
    g.GrpSize = variable.FieldAsInteger("GrpSize");
    g.Rate = variable.FieldAsFloat("Rate");
    g.Payment = variable.FieldAsFloat("Payment");
    g.Interval = variable.FieldAsInteger("Interval");
    g.AddDays = variable.FieldAsInteger("AddDays");
    return g;
}

void AppendVarGroup(TMemDataSet& variable, const VarGroup& group) {
    AppendRecord(variable, [&] {
        variable.SetFieldInteger("GrpID", group.GrpID);
        variable.SetFieldInteger("GrpSize", group.GrpSize);
        variable.SetFieldFloat("Rate", group.Rate);
        variable.SetFieldFloat("Payment", group.Payment);
        variable.SetFieldInteger("Interval", group.Interval);
        variable.SetFieldInteger("AddDays", group.AddDays);
    });
}

std::vector<VarGroup> ReadVarGroups(TMemDataSet& variable) {
    std::vector<VarGroup> groups;
    TableWalk walk(variable);
    for (variable.MoveFirst(); !variable.AtEnd(); variable.MoveNext())
        groups.push_back(ReadVarGroup(variable));
    return groups;
}

VarScheduleRow ReadVarScheduleRow(const TMemDataSet& schedule) {
    VarScheduleRow r;
    r.Sequence = schedule.FieldAsInteger("Sequence");
    r.OldBal = schedule.FieldAsFloat("OldBal");
    r.Rate = schedule.FieldAsFloat("Rate");
    r.RegPds = schedule.FieldAsInteger("RegPds");
    r.AddDays = schedule.FieldAsInteger("AddDays");
    r.Interest = schedule.FieldAsFloat("Interest");
    r.Payment = schedule.FieldAsFloat("Payment");
    r.NewBal = schedule.FieldAsFloat("NewBal");
    return r;
}

void AppendVarScheduleRow(TMemDataSet& schedule, const VarScheduleRow& row) {
    AppendRecord(schedule, [&] {
        schedule.SetFieldInteger("Sequence", row.Sequence);
        schedule.SetFieldFloat("OldBal", row.OldBal);
        schedule.SetFieldFloat("Rate", row.Rate);
        schedule.SetFieldInteger("RegPds", row.RegPds);
        schedule.SetFieldInteger("AddDays", row.AddDays);
        schedule.SetFieldFloat("Interest", row.Interest);
        schedule.SetFieldFloat("Payment", row.Payment);
        schedule.SetFieldFloat("NewBal", row.NewBal);
    });
}

}  // namespace qv
