// records.h: the records of a linearity check, from the host's chromatograms and
// certified mixtures to the calibration curves per channel and component.
//
// Plain data. Units: concentrations in mol%, areas in the host's area units, retention
// times in minutes, pressure in kPa, temperature in °C, relative quantities in per cent.
// References (raw const pointers) never own: they point into the loaded-assay list, the
// loaded mixtures list or the component list, which must not change while results that
// refer to them are read. Every computed double starts as kNoValue unless noted.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "platform/sys/text.h"

// The no-value marker: the lowest finite double. A value is present when it differs.
inline constexpr double kNoValue = std::numeric_limits<double>::lowest();
inline bool HasValue(double v) { return v != kNoValue; }

struct Mixture;

struct Peak {
  sys::Text nameId;          // host identifier of the component name, as text
  sys::Text name;            // component name as the host identified the peak
  std::int32_t channel = 0;  // detector channel as stored (shown + 1)
  double area = kNoValue;    // peak area; kNoValue: no area
  double time = 0.0;         // retention time, min
};

struct Assay {
  std::int32_t id = 0;
  std::int64_t date = 0;              // s since 1970-01-01 UTC; <= 0: no time
  sys::Text fileName;                 // full path of the chromatogram file
  sys::Text sample;
  sys::Text mixtureName;
  double atmPressure = 0.0;           // kPa; 0.0 when the loader has none
  double airTemperature = 0.0;        // °C; 0.0 when the loader has none
  bool airTemperatureKnown = true;    // false: file unreadable or temperature NULL
  const Mixture* mixture = nullptr;   // the loaded mixture named mixtureName
  std::vector<Peak> peaks;            // by channel, then retention time
};

struct MixtureComponent {
  sys::Text nameId;
  sys::Text name;
  double concentration = kNoValue;  // certified, mol%
  double deviation = kNoValue;      // uncertainty of the certified value, % relative
};

struct Mixture {
  std::int32_t id = 0;
  sys::Text name;
  sys::Text ballon;         // gas cylinder designation
  std::int64_t release = 0; // issue date, s since epoch
  std::int64_t expiry = 0;  // end of validity, s since epoch
  std::vector<MixtureComponent> components;
};

// The area corrections a run applies (the module's "enPressCorrect" and "enTempCorrect").
struct CorrectionSwitches {
  bool pressure = false;
  bool temperature = false;
};

struct ComponentName {
  std::int32_t id = 0;  // position in the component list, also its profile key number
  sys::Text name;       // canonical name: keys the norms and the special rules
  sys::Text altName;    // second name peaks may carry
};

struct AreaRef {
  const Peak* peak = nullptr;
  const Assay* assay = nullptr;
  double area = kNoValue;  // peak area after pressure and temperature correction
};

struct MixturePoint {
  const Mixture* mixture = nullptr;
  double concentration = kNoValue;   // mol%; kNoValue: the mixture lacks the component
  double deviation = kNoValue;       // % relative, copied with the concentration
  std::vector<AreaRef> areas;        // in the order added
  std::int32_t count = 0;            // "Анализов"
  double sumArea = 0.0;              // "Сум. площадей"
  double meanArea = kNoValue;        // sumArea / count                  "Ср. площадь"
  double rsd = kNoValue;             // s / |meanArea| · 100, %          "ОСКО"
  double absUncertainty = kNoValue;  // Table 1 U, mol%                  "Абс. расш. н. моль%"
  double relUncertainty = kNoValue;  // U / x · 100, %                   "Отн. расш. н, %"
  double rsdNorm = kNoValue;         // 0.25 · relUncertainty, %         "Норматив ОСКО"
  bool rsdOk = false;                // rsd <= rsdNorm                   "Соответствие ОСКО"
  double calcConcentration = kNoValue;  // (meanArea − B) / b, mol%      "Конц. расч. моль%"
  double relDeviation = kNoValue;    // |x − calc| / x · 100, %          "Расх. отн., %"
  double sigmaK = kNoValue;          // Table 4 σk, %                    "σk (табл. 4), %"
  double deviationNorm = kNoValue;   // 2 · σk, %                        "Норматив, %"
  bool deviationOk = false;          // relDeviation <= deviationNorm    "Соответствие"
};

struct CalibrationCurve {
  bool splitPart = false;            // one of the two partial curves of a split
  bool splitDone = false;            // this curve was split
  std::int32_t channel = -1;         // "Канал"
  sys::Text nameId;
  sys::Text name;                    // as in the first peak; partial curves add a suffix  "Пик"
  std::int32_t fitCount = 0;         // points in the sums below
  double sumX = 0.0, sumA = 0.0, sumXX = 0.0, sumXA = 0.0;
  double slope = kNoValue;           // b of A = b · x + B, area per mol%  "Коэфф. b"
  double intercept = 0.0;            // B, area units                      "Коэфф. B"
  double correlation = kNoValue;     // Pearson r of meanArea and x       "Коэфф. корреляции R²"
  bool correlationOk = false;        // r + 0.0005 >= 0.999                "Соотв."
  bool linearityOk = false;          // verdict from the point deviations  "Соотв. b"
  const ComponentName* component = nullptr;
  std::vector<std::unique_ptr<MixturePoint>> points;  // one per mixture
  double meanTime = kNoValue;        // sumTime / timeCount, min; the sort key
  double sumTime = 0.0;
  std::int32_t timeCount = 0;
};

struct ChannelEntry {
  std::int32_t channel = 0;
  sys::Text title;  // channel + 1, "%d"
};

// The loaded-assay list (by value) and the loaded mixtures list (each mixture allocated by
// itself so that its address stays fixed).
using AssayList = std::vector<Assay>;
using MixtureList = std::vector<std::unique_ptr<Mixture>>;

// Total order on doubles for sorting: kNoValue first, then NaN, then the numbers ascending.
// A strict weak ordering for every input, NaN included.
bool LessWithNoValueFirst(double a, double b);

// Peak order of an assay: by channel, then retention time (a strict weak ordering).
bool PeakBefore(const Peak& a, const Peak& b);
