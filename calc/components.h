// components.h: the module's component list and the matching of peak names.
//
// 19 natural-gas components with canonical names (which key the norms and the special
// rules) and additional names stored in profile section "Components". The list is built
// once per module lifetime and only edited in place afterwards, so curves may keep
// pointers to its entries. Names match case-blind under the runtime locale, no trimming.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/records.h"

inline constexpr char16_t kComponentsSection[] = u"Components";

// The module-wide list (capacity reserved up front: it never reallocates).
std::vector<ComponentName>& ComponentList();

// Identifier of the last entry made by the default list (18 once built; -1 before).
std::int32_t LastDefaultComponentId();

// Appends the 19 default entries once (name = altName); later calls do nothing.
void BuildDefaultComponents();

// Reads "qtyComps" and the "%d_name" / "%d_altName" keys once; a non-empty stored value
// replaces the field of the entry with that identifier; unknown identifiers are skipped.
void LoadComponentNames();

// Empties the list and re-arms both one-time steps. For tests and tools only: no curve
// may refer into the list when this runs.
void ResetComponentList();

// The first entry whose name, or failing that altName, equals `peakName`; null if none.
const ComponentName* FindComponent(sys::TextView peakName);

// The first component of `mixture`, in stored order, named `peakName`; null if none.
const MixtureComponent* FindMixtureComponent(const Mixture& mixture, sys::TextView peakName);

// Profile key names of an entry: "%d_name" and "%d_altName".
sys::Text ComponentNameKey(std::int32_t id);
sys::Text ComponentAltNameKey(std::int32_t id);
