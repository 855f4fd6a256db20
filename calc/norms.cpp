// norms.cpp: Tables 1 (method B) and 4, row by row, in table order.
#include "calc/norms.h"

#include <initializer_list>

#include "calc/records.h"
#include "platform/sys/locale.h"

namespace {

struct Linear {
  double a, b;  // U = a · x + b
  constexpr double at(double x) const { return a * x + b; }
};

// Bounds in the table's own form: x + lowAdd >= low and x − highSub <= high.
struct Bound {
  double add, limit;
};

struct Row {
  const char16_t* names[3];  // unused slots are null
  bool split;      // two halves meeting at 0.025 mol%, the border in the lower half
  Linear u;        // whole range, or the lower half
  Linear upperU;   // upper half (split rows)
  Bound low;       // x + low.add >= low.limit (whole range, or lower half only)
  Bound high;      // x − high.add <= high.limit (whole range, or upper half only)
};

constexpr Bound kCommonLow{0.0005, 0.005};

constexpr Row Single(std::initializer_list<const char16_t*> names, Linear u, Bound high, Bound low = kCommonLow) {
  Row row{{}, false, u, {}, low, high};
  std::size_t i = 0;
  for (const char16_t* n : names) row.names[i++] = n;
  return row;
}
constexpr Row Split(const char16_t* name, Linear lower, Linear upper, Bound high) {
  return {{name}, true, lower, upper, kCommonLow, high};
}

constexpr Row kTable1[] = {
    Single({u"Метан"}, {0.006, 0.0}, {0.005, 99.97}, {0.5, 40.0}),
    Single({u"Этан"}, {0.04, 0.001}, {0.5, 15}),
    Single({u"Пропан"}, {0.06, 0.001}, {0.05, 6}),
    Single({u"Изобутан", u"н-Бутан"}, {0.06, 0.001}, {0.05, 4}),
    Single({u"Изопентан", u"н-Пентан"}, {0.07, 0.0009}, {0.05, 2}),
    Single({u"Неопентан"}, {0.1, 0.0008}, {0.005, 0.05}),
    Single({u"Гексаны"}, {0.06, 0.001}, {0.05, 1}),
    Single({u"С6+"}, {0.15, 0.0007}, {0.05, 1.5}),  // the first letter is Cyrillic
    Single({u"Гептаны"}, {0.12, 0.0007}, {0.005, 0.25}),
    Single({u"Октаны", u"Бензол", u"Толуол"}, {0.14, 0.0006}, {0.005, 0.05}),
    Split(u"Диоксид углерода", {0.18, 0.0005}, {0.07, 0.003}, {0.5, 10}),
    Single({u"Гелий", u"Водород"}, {0.09, 0.0008}, {0.05, 0.5}),
    Split(u"Кислород", {0.11, 0.0009}, {0.07, 0.002}, {0.05, 2}),
    Split(u"Азот", {0.11, 0.0009}, {0.04, 0.0025}, {0.5, 15}),
    Single({u"Метанол"}, {0.12, 0.0007}, {0.005, 0.05}),
};

bool Names(const Row& row, sys::TextView name) {
  for (const char16_t* n : row.names)
    if (n && sys::EqualNoCase(name, n)) return true;
  return false;
}

bool Apply(const Row& row, double x, double& U) {
  const bool lowOk = x + row.low.add >= row.low.limit;
  const bool highOk = x - row.high.add <= row.high.limit;
  if (!row.split) {
    U = row.u.at(x);
    return lowOk && highOk;
  }
  if (x <= 0.025) {
    U = row.u.at(x);
    return lowOk;
  }
  U = row.upperU.at(x);
  return highOk;
}

}  // namespace

bool Table1Uncertainty(sys::TextView name, double x, double& U) {
  for (const Row& row : kTable1)
    if (Names(row, name)) return Apply(row, x, U);
  U = kNoValue;
  return false;
}

bool Table4Sigma(double x, double& sigmaK) {
  if (x + 0.0005 < 0.004) {
    sigmaK = 20 - 1000 * x;
    return false;
  }
  if (x <= 0.01) {
    sigmaK = 20 - 1000 * x;
    return true;
  }
  if (x + 0.005 > 0.01 && x <= 0.1) {
    sigmaK = 10 - 40 * x;
    return true;
  }
  if (x + 0.05 > 0.1 && x <= 1) {
    sigmaK = 6 - 3 * x;
    return true;
  }
  if (x + 0.5 > 1 && x - 0.5 <= 15.3) {
    sigmaK = 3 - 0.12 * x;
    return true;
  }
  sigmaK = 0.68 - 0.0063 * x;
  return x + 0.5 > 39.2 && x - 0.5 <= 99.5;
}
