// components.h: the default component list and the matching of peak names.
//
// 19 natural-gas components with canonical names (which key the norms and the special
// rules) and additional names. The engine keeps no list of its own: the caller owns the
// list a run matches against (the module keeps one for its lifetime and fills in the names
// stored in its profile, plugin/component_store.h; vetrix-check builds one from its command
// line). Names match case-blind under the runtime locale, no trimming.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/records.h"

// Identifier of the last entry of the default list.
inline constexpr std::int32_t kLastDefaultComponentId = 18;

// The 19 default entries, identifiers 0 to 18 in table order, each with altName = name.
std::vector<ComponentName> DefaultComponents();

// The first entry of `list` whose name, or failing that altName, equals `peakName`; null
// if none. The pointer refers into `list`.
const ComponentName* FindComponent(const std::vector<ComponentName>& list, sys::TextView peakName);

// The first component of `mixture`, in stored order, named `peakName`; null if none.
const MixtureComponent* FindMixtureComponent(const Mixture& mixture, sys::TextView peakName);
