// records.cpp: the orderings shared by the loader and the run.
#include "calc/records.h"

#include <cmath>

namespace {
int Rank(double v) { return v == kNoValue ? 0 : std::isnan(v) ? 1 : 2; }
}  // namespace

bool LessWithNoValueFirst(double a, double b) {
  int ra = Rank(a), rb = Rank(b);
  if (ra != rb) return ra < rb;
  return ra == 2 && a < b;
}

bool PeakBefore(const Peak& a, const Peak& b) {
  if (a.channel != b.channel) return a.channel < b.channel;
  return LessWithNoValueFirst(a.time, b.time);
}
