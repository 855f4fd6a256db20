// statistics.cpp: formulas of the check, each evaluated in the order written so that the
// results are reproducible to the last bit.
#include "calc/statistics.h"

#include <cmath>

#include "calc/messages.h"
#include "calc/norms.h"

namespace {

sys::TextView MixtureName(const MixturePoint& p) { return p.mixture ? sys::TextView(p.mixture->name) : sys::TextView(); }

// The first stage of ComputeCurve for one point: mean, RSD, Table 1 norms, and the fit sums.
void ComputePoint(CalibrationCurve& curve, MixturePoint& p, MessageTable& messages) {
  if (p.sumArea == 0 || p.count <= 0) return;
  p.meanArea = p.sumArea / p.count;
  double squares = 0.0;
  for (const AreaRef& a : p.areas) squares += (a.area - p.meanArea) * (a.area - p.meanArea);
  const double s = std::sqrt(squares / (p.count - 1));  // one area: 0 / 0, NaN
  // Relative to the size of the mean: negative peaks (hydrogen on a thermal-conductivity
  // detector with helium carrier) have a negative mean, and a negative RSD would pass any norm.
  p.rsd = s * (1 / std::fabs(p.meanArea)) * 100;
  if (!(p.concentration > 0)) return;
  if (curve.component) {
    if (!Table1Uncertainty(curve.component->name, p.concentration, p.absUncertainty))
      RaiseMessage(messages, MessageId::OutsideTable1, curve.name, MixtureName(p));
    if (HasValue(p.absUncertainty)) {
      p.relUncertainty = p.absUncertainty / p.concentration * 100;
      p.rsdNorm = p.relUncertainty * kRsdShare;
      p.rsdOk = p.rsd <= p.rsdNorm;
    }
  }
  curve.fitCount += 1;
  curve.sumXA += p.concentration * p.meanArea;
  curve.sumXX += p.concentration * p.concentration;
  curve.sumA += p.meanArea;
  curve.sumX += p.concentration;
}

struct Tally {
  int judged = 0;
  int passed = 0;
};

// Back-calculation of one fit point against the current slope and intercept, with its
// Table 4 norm; counts the point as judged and passed.
void JudgePoint(const CalibrationCurve& curve, MixturePoint& p, double calc, Tally& tally, MessageTable& messages) {
  p.calcConcentration = calc;
  p.relDeviation = std::fabs(p.concentration - p.calcConcentration) / p.concentration * 100;
  if (!Table4Sigma(p.concentration, p.sigmaK))
    RaiseMessage(messages, MessageId::OutsideTable4, curve.name, MixtureName(p));
  if (!HasValue(p.sigmaK)) return;
  p.deviationNorm = kSigmaFactor * p.sigmaK;
  p.deviationOk = p.relDeviation <= p.deviationNorm;
  tally.judged += 1;
  if (p.deviationOk && p.rsdOk && curve.points.size() >= static_cast<std::size_t>(kLeastPoints))
    tally.passed += 1;
}

// Ordinary curves need at least five judged points, all passed; a partial curve needs
// every judged point passed (none judged passes too).
bool LinearityVerdict(const CalibrationCurve& curve, const Tally& t) {
  bool ok = t.passed > kLeastPoints - 1;
  if (t.judged > kLeastPoints) ok = t.passed >= t.judged;
  if (curve.splitPart) ok = t.passed >= t.judged;
  return ok;
}

}  // namespace

bool IsFitPoint(const MixturePoint& p) { return HasValue(p.meanArea) && p.concentration > 0; }

bool HasPressure(const Assay& a) { return a.atmPressure > 0; }
bool HasTemperature(const Assay& a) { return a.airTemperatureKnown && kCelsiusOffset + a.airTemperature > 0; }

double CorrectArea(double area, const Assay& assay, CorrectionSwitches corrections) {
  if (!HasValue(area)) return area;
  double a = area;
  if (corrections.pressure && HasPressure(assay)) a = a / (assay.atmPressure / kReferencePressure);
  if (corrections.temperature && HasTemperature(assay))
    a = a / (kReferenceTemperature / (kCelsiusOffset + assay.airTemperature));
  return a;
}

void ComputeCurve(CalibrationCurve& curve, MessageTable& messages) {
  // The fit sums grow with every fit point, so a second computation would count each
  // point twice; fitCount > 0 is exactly "already computed with fit points" (without fit
  // points a second computation changes nothing).
  if (curve.fitCount > 0) return;
  for (auto& p : curve.points) ComputePoint(curve, *p, messages);

  if (curve.sumXA != 0 && curve.sumXX != 0) curve.slope = curve.sumXA / curve.sumXX;
  const bool haveMeans = curve.fitCount > 0 && curve.sumA != 0 && curve.sumX > 0;
  const double meanX = haveMeans ? curve.sumX / curve.fitCount : kNoValue;
  const double meanA = haveMeans ? curve.sumA / curve.fitCount : kNoValue;

  Tally tally;
  double sxy = 0, sxx = 0, syy = 0;
  if (HasValue(curve.slope)) {
    for (auto& p : curve.points) {
      if (!IsFitPoint(*p)) continue;
      JudgePoint(curve, *p, p->meanArea / curve.slope, tally, messages);
      if (HasValue(meanX) && HasValue(meanA)) {
        const double dx = p->concentration - meanX;
        const double dA = p->meanArea - meanA;
        sxy += dx * dA;
        sxx += dx * dx;
        syy += dA * dA;
      }
    }
  }
  curve.linearityOk = LinearityVerdict(curve, tally);
  if (sxy != 0) {
    curve.correlation = sxy / std::sqrt(sxx * syy);
    curve.correlationOk = curve.correlation + kCorrelationAllowance >= kCorrelationNorm;
  }
}

void RefitWithIntercept(CalibrationCurve& curve, MessageTable& messages) {
  const double n = curve.fitCount;
  const double slope = (n * curve.sumXA - curve.sumX * curve.sumA) / (n * curve.sumXX - curve.sumX * curve.sumX);
  const double intercept = (curve.sumA - slope * curve.sumX) / n;
  if (HasValue(intercept)) curve.intercept = intercept;
  if (!HasValue(slope)) return;
  curve.slope = slope;

  Tally tally;
  for (auto& p : curve.points)
    if (IsFitPoint(*p)) JudgePoint(curve, *p, (p->meanArea - curve.intercept) / curve.slope, tally, messages);
  curve.linearityOk = LinearityVerdict(curve, tally);
}
