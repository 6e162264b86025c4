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
    return VarScheduleFields(schedule).Read(schedule);
}

VarScheduleFields::VarScheduleFields(const TMemDataSet& schedule)
    : sequence_(schedule.Field("Sequence")),
      oldBal_(schedule.Field("OldBal")),
      rate_(schedule.Field("Rate")),
      regPds_(schedule.Field("RegPds")),
      addDays_(schedule.Field("AddDays")),
      interest_(schedule.Field("Interest")),
      payment_(schedule.Field("Payment")),
      newBal_(schedule.Field("NewBal")) {}

VarScheduleRow VarScheduleFields::Read(const TMemDataSet& schedule) const {
    VarScheduleRow r;
    r.Sequence = schedule.FieldAsInteger(sequence_);
    r.OldBal = schedule.FieldAsFloat(oldBal_);
    r.Rate = schedule.FieldAsFloat(rate_);
    r.RegPds = schedule.FieldAsInteger(regPds_);
    r.AddDays = schedule.FieldAsInteger(addDays_);
    r.Interest = schedule.FieldAsFloat(interest_);
    r.Payment = schedule.FieldAsFloat(payment_);
    r.NewBal = schedule.FieldAsFloat(newBal_);
    return r;
}

void VarScheduleFields::Append(TMemDataSet& schedule, const VarScheduleRow& row) const {
    AppendRecord(schedule, [&] {
        schedule.SetFieldInteger(sequence_, row.Sequence);
        schedule.SetFieldFloat(oldBal_, row.OldBal);
        schedule.SetFieldFloat(rate_, row.Rate);
        schedule.SetFieldInteger(regPds_, row.RegPds);
        schedule.SetFieldInteger(addDays_, row.AddDays);
        schedule.SetFieldFloat(interest_, row.Interest);
        schedule.SetFieldFloat(payment_, row.Payment);
        schedule.SetFieldFloat(newBal_, row.NewBal);
    });
}

}  // namespace qv
