#pragma once
// Expanding the payment groups of mdsPaySet into the payment matrix, and the
// consistency check of the groups before an APR command runs.
#include <string_view>

#include "base/format.h"
#include "base/user_port.h"
#include "core/loan_state.h"

namespace qv {

class TMemDataSet;

// The message when a total of payments cannot be held as currency.
inline constexpr std::string_view kTotalOutOfRange =
    "Error: the scheduled payments add up to more than can be computed.";

// Expands the groups of `paySet` (in Sequence order) into loan.PayMatrix and
// checks the expansion against PayCount and TotPay; true when both agree.
// Both disagreements are reported (warnings) and the matrix is filled in
// either case. A schedule the matrix cannot hold (more than 485 payments,
// a payment beyond 32-bit cents, a period count beyond 32 bits, a unit period
// of no days) is refused with its own warning and leaves no entry past 485.
bool SetPayArray(LoanTerms& loan, TMemDataSet& paySet, UserPort& port,
                 const FormatSettings& fs = FormatSettings{});

// Checks the groups of `paySet` before an APR command: payments above zero,
// no negative group sizes, every interval longer than zero days, and the
// scheduled total and count against TotPay and PayCount. Reports each kind of
// fault once, in a fixed order; true when the groups are usable. A scheduled
// total or a TotPay beyond the currency range is refused with
// kTotalOutOfRange.
bool IntegrityMdsPaySet(const LoanTerms& loan, TMemDataSet& paySet, UserPort& port,
                        const FormatSettings& fs = FormatSettings{});

}  // namespace qv
