// loaded_lists.cpp: the module-wide loaded lists.
#include "data/loaded_lists.h"

LoadedLists& Loaded() {
  static LoadedLists lists;
  return lists;
}

#include <algorithm>

namespace {
std::uint32_t AssayKey(const Assay& a) { return a.mixture ? static_cast<std::uint32_t>(a.mixture->id) + 1000u : 0u; }
}  // namespace

void SortAssays(AssayList& assays) {
  std::stable_sort(assays.begin(), assays.end(), [](const Assay& a, const Assay& b) {
    if (AssayKey(a) != AssayKey(b)) return AssayKey(a) < AssayKey(b);
    return a.date < b.date;
  });
}
