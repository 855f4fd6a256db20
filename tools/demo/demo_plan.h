// demo_plan.h: the natural-gas calibration the demo data describes.
//
// Five certified mixtures (ГСО-1 … ГСО-5) of 14 components with concentrations inside
// the admissible ranges of the standard, five analyses each, on two detector channels:
// channel 1 (thermal conductivity) for the permanent gases and methane, channel 2 (flame
// ionisation) for ethane and heavier. Deliberate cases: nitrogen answers 1.6 times more
// strongly up to 0,025 mol% (its single calibration fails and is split), ethane has an
// area offset (refitted with an intercept), and argon appears as a peak that the
// component list does not know.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sys/text.h"

namespace demo {

struct ComponentPlan {
  const char16_t* name;
  std::int32_t nameId;        // the host's identifier of the name
  std::int32_t channel;       // as stored: 0 or 1
  double retention;           // min
  double response;            // area per mol%
  double offset;              // area added to every peak
  double lowBoost;            // response factor at or below 0,025 mol%
  double noise;               // relative scatter of the areas between analyses
  bool certified;             // listed in the mixtures' certificates
  double concentration[5];    // mol% per mixture (methane: the balance)
};

const std::vector<ComponentPlan>& Components();

inline constexpr int kMixtures = 5;
inline constexpr int kAnalysesPerMixture = 5;

// Certified concentration of a component in mixture m (methane computed as the balance).
double Concentration(const ComponentPlan& c, int m);

}  // namespace demo
