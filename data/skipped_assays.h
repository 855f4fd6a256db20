// skipped_assays.h: the chosen chromatograms that did not reach the list, and the one line
// both headless programs print about them on standard error.
//
// A chosen identifier is skipped when the database has no visible, undeleted chromatogram
// of that identifier; the loaders leave such identifiers out without a failure, so the
// programs compare what was asked with what was listed. Costs: O(asked * listed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The identifiers of `asked` that `listed` does not hold, each once, in the order asked.
std::vector<std::int32_t> SkippedIds(const std::vector<std::int32_t>& asked, const std::vector<std::int32_t>& listed);

// "the chosen chromatogram 7 was skipped: …" or "the chosen chromatograms 7, 9 were
// skipped: …" (without a program prefix or line end). `skipped` must not be empty.
std::string SkippedLine(const std::vector<std::int32_t>& skipped);
