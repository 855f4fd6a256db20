// split.h: the two partial calibrations of oxygen, nitrogen and carbon dioxide, up to and
// above 0,025 mol%, made when a single calibration over the whole range fails.
#pragma once

#include <memory>

#include "calc/run.h"

inline constexpr double kSplitBorder = 0.025;   // mol%, belongs to side 0
inline constexpr double kSplitLowest = 0.005;   // mol%, lowest concentration of side 0

// Whether concentration c (mol%) belongs to side 0 (0.005 <= c <= 0.025) or 1 (c > 0.025).
bool QualifiesForSide(double c, int side);

// The partial curve of `parent` for `side` holding the areas of the parent's points on
// that side, or null when no point qualifies. Marks the parent as split and raises entry 8
// of context.messageTable with the parent's name in both cases.
std::unique_ptr<CalibrationCurve> SplitCurve(CalculationContext& context, CalibrationCurve& parent, int side);
