// statistics.h: the arithmetic of the check — area corrections, point statistics, the
// calibration fits, back-calculation, norms, correlation and verdicts.
//
// Nothing is rounded and nothing throws: degenerate data gives infinite or NaN values,
// which fail every comparison. Findings raise message entries 9 and 10.
#pragma once

#include "calc/messages.h"
#include "calc/records.h"

inline constexpr double kReferencePressure = 101.325;    // kPa
inline constexpr double kReferenceTemperature = 293.15;  // K
inline constexpr double kCelsiusOffset = 273.15;
inline constexpr double kRsdShare = 0.25;                // share of relU allowed as RSD
inline constexpr double kSigmaFactor = 2.0;              // deviationNorm = 2 · σk
inline constexpr int kLeastPoints = 5;                   // points a curve needs to pass
inline constexpr double kCorrelationNorm = 0.999;
inline constexpr double kCorrelationAllowance = 0.0005;

// Whether the assay carries the quantity a correction needs: a pressure above 0 kPa; a
// temperature that was read and lies above absolute zero.
bool HasPressure(const Assay& assay);
bool HasTemperature(const Assay& assay);

// The area at 101.325 kPa and 20 °C: a / (p / 101.325) when the pressure correction is on,
// then a / (293.15 / (273.15 + t)) when the temperature correction is on. A correction
// whose quantity the assay lacks is not applied; kNoValue stays kNoValue.
double CorrectArea(double area, const Assay& assay, CorrectionSwitches corrections);

// Point statistics, Table 1 norms, the fit A = b · x through the origin, back-calculation,
// Table 4 norms, the linearity verdict and the correlation. Raises entries 9 and 10 of
// `messages`. Precondition: the curve is computed once (its fit sums start at 0); a
// second call on a curve with fit points changes nothing.
void ComputeCurve(CalibrationCurve& curve, MessageTable& messages);

// The least-squares line A = b · x + B over the fit points, back-calculation, Table 4
// norms and the linearity verdict again (raising entry 10 of `messages`); the correlation
// is kept. Precondition: ComputeCurve ran on the curve.
void RefitWithIntercept(CalibrationCurve& curve, MessageTable& messages);

// A point that enters the fit: it has a mean area and a concentration above 0.
bool IsFitPoint(const MixturePoint& point);
