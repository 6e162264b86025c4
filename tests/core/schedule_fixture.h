#pragma once
// Builds payment-group tables for engine tests.
#include <initializer_list>

#include "core/loan_state.h"
#include "core/pay_group.h"
#include "data/memdset.h"

namespace qv::test {

struct Group {
    int setSize;
    double paySize;
    int priorPds;
    int addDays;
};

// A defined, open, empty mdsPaySet.
inline void MakePaySet(TMemDataSet& table) {
    DefinePaySetTable(table);
}

// Appends the groups with Sequence 1, 2, ... in the order given.
inline void AddGroups(TMemDataSet& table, std::initializer_list<Group> groups) {
    int sequence = table.Count();
    for (const Group& g : groups) {
        AppendPayGroup(table, {g.setSize, ++sequence, g.paySize, g.priorPds, g.addDays});
        table.Post();
    }
}

// Sets the loan variables the way the APR pages do before computing.
inline void SetLoan(LoanState& state, double amtFin, double totPay, int payCount) {
    state.loan.AmtFin = amtFin;
    state.loan.TotPay = DollarsToCurrency(totPay);
    state.loan.PayCount = payCount;
}

inline void SetUnitPeriod(LoanState& state, int daysPerPd, double pdsPerYear) {
    state.loan.DaysPerPd = daysPerPd;
    state.loan.PdsPerYear = pdsPerYear;
}

}  // namespace qv::test
