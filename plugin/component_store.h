// component_store.h: the module's component list, kept for the module's lifetime, and its
// names stored in profile section "Components".
//
// The list starts as the default one and is read from the profile once; afterwards the
// components dialog edits it in place (entries are never removed or reordered, and the
// capacity is reserved up front, so curves may keep pointers to its entries). The module
// hands the list to every run. No Qt; the profile is read through plugin/profile.h.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/components.h"

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

// Empties the list and re-arms both one-time steps. For tests of the module's windows: no
// curve may refer into the list when this runs.
void ResetComponentList();

// Profile key names of an entry: "%d_name" and "%d_altName".
sys::Text ComponentNameKey(std::int32_t id);
sys::Text ComponentAltNameKey(std::int32_t id);
