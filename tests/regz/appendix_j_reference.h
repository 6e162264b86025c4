#pragma once
// The former Appendix J solver, the reference of appendix_j_equivalence_test.
#include <span>

#include "regz/appendix_j.h"

namespace qv::regz::reference {

AppendixJRate SolveAppendixJ(std::span<const Flow> flows, double unitPeriodsPerYear);

}  // namespace qv::regz::reference
