// norms.h: the admissible ranges and norms of the natural-gas standard's Tables 1
// (method B) and 4, as two pure functions in double precision.
//
// Every bound is evaluated exactly as the tables write it (x + 0.0005 >= 0.005 and so on),
// because the additions decide the edge cases in double arithmetic. A NaN x is never in
// range. Names compare case-blind under the runtime locale.
#pragma once

#include "platform/sys/text.h"

// Table 1: U = absolute expanded uncertainty of the molar fraction x (mol%) for the
// component with canonical name `name`. U is set also when x is out of range; a name
// without a row gets U = kNoValue. Returns whether x lies in the component's range.
bool Table1Uncertainty(sys::TextView name, double x, double& U);

// Table 4: σk in per cent for molar fraction x (mol%); always set. Returns whether x lies
// in a range of the table.
bool Table4Sigma(double x, double& sigmaK);
