// demo_plan.cpp: the component table of the demo calibration.
#include "tools/demo/demo_plan.h"

namespace demo {

const std::vector<ComponentPlan>& Components() {
  static const std::vector<ComponentPlan> plan = {
      // name, nameId, channel, retention, response, offset, lowBoost, noise, certified, concentrations
      {u"Гелий", 101, 0, 0.82, 9000, 0, 1, 0.004, true, {0.005, 0.01, 0.05, 0.1, 0.2}},
      {u"Водород", 102, 0, 0.95, 11000, 0, 1, 0.004, true, {0.005, 0.01, 0.05, 0.1, 0.3}},
      {u"Кислород", 103, 0, 1.62, 21000, 0, 1, 0.003, true, {0.005, 0.01, 0.05, 0.2, 0.5}},
      {u"Аргон", 0, 0, 1.74, 21500, 0, 1, 0.003, false, {0.01, 0.01, 0.01, 0.01, 0.01}},
      {u"Азот", 104, 0, 2.05, 20000, 0, 1.6, 0.002, true, {0.005, 0.01, 0.025, 1.5, 5.0}},
      {u"Метан", 105, 0, 3.10, 18000, 0, 1, 0.0003, true, {0, 0, 0, 0, 0}},
      {u"Диоксид углерода", 106, 0, 4.40, 24000, 0, 1, 0.002, true, {0.1, 0.5, 1.0, 2.0, 4.0}},
      {u"Этан", 201, 1, 1.85, 50000, 3000, 1, 0.001, true, {0.5, 1.0, 2.5, 5.0, 8.0}},
      {u"Пропан", 202, 1, 2.90, 75000, 0, 1, 0.001, true, {0.2, 0.5, 1.0, 2.0, 4.0}},
      {u"Изобутан", 203, 1, 4.10, 98000, 0, 1, 0.0015, true, {0.05, 0.1, 0.3, 0.6, 1.0}},
      {u"н-Бутан", 204, 1, 4.60, 99000, 0, 1, 0.0015, true, {0.05, 0.1, 0.3, 0.6, 1.0}},
      {u"Неопентан", 205, 1, 5.05, 120000, 0, 1, 0.002, true, {0.005, 0.01, 0.02, 0.03, 0.05}},
      {u"Изопентан", 206, 1, 6.20, 122000, 0, 1, 0.0015, true, {0.02, 0.05, 0.1, 0.2, 0.5}},
      {u"н-Пентан", 207, 1, 6.80, 123000, 0, 1, 0.0015, true, {0.02, 0.05, 0.1, 0.2, 0.5}},
      {u"Гексаны", 208, 1, 8.90, 145000, 0, 1, 0.002, true, {0.01, 0.02, 0.05, 0.1, 0.2}},
  };
  return plan;
}

double Concentration(const ComponentPlan& c, int m) {
  if (c.name != sys::TextView(u"Метан")) return c.concentration[m];
  double rest = 0;
  for (const auto& other : Components())
    if (other.certified && other.name != sys::TextView(u"Метан")) rest += other.concentration[m];
  return 100.0 - rest;
}

}  // namespace demo
