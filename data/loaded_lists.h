// loaded_lists.h: the lists a check runs on, as loaded from the host database.
//
// The loaded-assay list (chromatograms by value), the loaded mixtures list (each mixture
// allocated by itself, so assays can point at it) and the mixture usage table (how many
// loaded chromatograms use each mixture, in order of first use). In the module the
// chromatogram list page and the mixture list page own them; Loaded() is that instance.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/records.h"

struct MixtureUse {
  std::int32_t mixtureId = 0;
  std::int32_t count = 0;
};

struct LoadedLists {
  AssayList assays;
  MixtureList mixtures;
  std::vector<MixtureUse> usage;

  void Clear() {
    assays.clear();
    mixtures.clear();
    usage.clear();
  }
};

// The module-wide lists.
LoadedLists& Loaded();

// The order of the chromatogram list: by key (0 without a mixture, mixture id + 1000
// with one, compared as unsigned 32-bit numbers), then analysis time. Stable.
void SortAssays(AssayList& assays);
