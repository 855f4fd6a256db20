// demo_chromatogram.cpp: synthetic peaks and signals of the demo analyses.
#include "tools/demo/demo_chromatogram.h"

#include <cmath>

namespace demo {
namespace {

constexpr double kMinutes = 10.0;
constexpr double kRateHz = 20.0;
constexpr int kSamples = static_cast<int>(kMinutes * 60 * kRateHz);
constexpr double kSqrt2Pi = 2.5066282746310002;

double PeakSigmaSeconds(double retentionMin) { return 1.2 + 0.35 * retentionMin; }

}  // namespace

std::vector<DemoPeak> AnalysePeaks(int m, Random& random) {
  std::vector<DemoPeak> peaks;
  for (const ComponentPlan& c : Components()) {
    const double x = Concentration(c, m);
    const double boost = x <= 0.025 ? c.lowBoost : 1.0;
    const double area = (c.response * boost * x + c.offset) * (1.0 + c.noise * random.Normal());
    const double time = c.retention + 0.002 * random.Normal();
    peaks.push_back({&c, area, time});
  }
  return peaks;
}

CLortanFile4 MakeChromatogram(const std::vector<DemoPeak>& peaks, const sys::Text& sample,
                              const sys::Text& mixture, std::int64_t date, Random& random) {
  CLortanFile4 file;
  file.passport.sample = sample;
  file.passport.mixture = mixture;
  file.passport.method = u"ГОСТ 31371.7-2020, метод В";
  file.passport.graduation = true;
  file.passport.andate = date;
  file.passport.date = date;
  file.passport.duration = kMinutes;
  for (std::int32_t ch = 0; ch < 2; ++ch) {
    std::vector<double> signal(kSamples);
    const double base = ch == 0 ? 1200.0 : 300.0;
    for (int i = 0; i < kSamples; ++i) signal[i] = base + 15.0 * i / kSamples + 1.5 * random.Normal();
    FileChannel channel(ch, {});
    for (const DemoPeak& p : peaks) {
      if (p.component->channel != ch) continue;
      const double sigma = PeakSigmaSeconds(p.time);
      const double height = p.area / (sigma * kSqrt2Pi);
      const double centre = p.time * 60 * kRateHz;
      const double spread = sigma * kRateHz;
      const int from = std::max(0, static_cast<int>(centre - 6 * spread));
      const int to = std::min(kSamples - 1, static_cast<int>(centre + 6 * spread));
      for (int i = from; i <= to; ++i) {
        const double z = (i - centre) / spread;
        signal[i] += height * std::exp(-0.5 * z * z);
      }
      FilePeak fp;
      fp.name = p.component->name;
      fp.time = p.time;
      fp.area = p.area;
      fp.height = height;
      fp.front = p.time - 3 * sigma / 60;
      fp.back = p.time + 3 * sigma / 60;
      fp.left = from;
      fp.right = to;
      channel.peaks.push_back(fp);
    }
    channel.samples.reserve(kSamples);
    for (double v : signal) channel.samples.push_back(static_cast<std::int32_t>(std::lround(v * 10)));
    file.channels.push_back(std::move(channel));
  }
  return file;
}

}  // namespace demo
