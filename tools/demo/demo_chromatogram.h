// demo_chromatogram.h: one synthetic analysis — its peaks and its chromatogram file.
#pragma once

#include <cstdint>
#include <vector>

#include "data/lortan_file.h"
#include "tools/demo/demo_plan.h"
#include "tools/demo/demo_random.h"

namespace demo {

struct DemoPeak {
  const ComponentPlan* component;
  double area;  // µV·s
  double time;  // min
};

// The peaks of one analysis of mixture m: each component's area from its response,
// offset, low-range boost and scatter; retention times jitter by a few thousandths.
std::vector<DemoPeak> AnalysePeaks(int m, Random& random);

// A chromatogram file of the analysis: per channel a 10-minute signal sampled at 20 Hz
// (a drifting baseline with noise and one Gaussian per peak) and its peak table.
CLortanFile4 MakeChromatogram(const std::vector<DemoPeak>& peaks, const sys::Text& sample,
                              const sys::Text& mixture, std::int64_t date, Random& random);

}  // namespace demo
