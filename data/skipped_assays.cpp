// skipped_assays.cpp: see skipped_assays.h.
#include "data/skipped_assays.h"

#include <algorithm>

std::vector<std::int32_t> SkippedIds(const std::vector<std::int32_t>& asked, const std::vector<std::int32_t>& listed) {
  std::vector<std::int32_t> skipped;
  for (std::int32_t id : asked)
    if (std::find(listed.begin(), listed.end(), id) == listed.end() &&
        std::find(skipped.begin(), skipped.end(), id) == skipped.end())
      skipped.push_back(id);
  return skipped;
}

std::string SkippedLine(const std::vector<std::int32_t>& skipped) {
  std::string line = skipped.size() == 1 ? "the chosen chromatogram " : "the chosen chromatograms ";
  for (std::size_t i = 0; i < skipped.size(); ++i) {
    if (i) line += ", ";
    line += std::to_string(skipped[i]);
  }
  line += skipped.size() == 1 ? " was" : " were";
  line += " skipped: absent, hidden or deleted";
  return line;
}
