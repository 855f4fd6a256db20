// component_store.cpp: the module's component list and its names stored in the profile.
#include "plugin/component_store.h"

#include "platform/sys/format.h"
#include "plugin/profile.h"

namespace {

struct ComponentState {
  std::vector<ComponentName> list;
  std::int32_t lastDefaultId = -1;
  bool defaultsPending = true;
  bool profilePending = true;
  ComponentState() { list.reserve(64); }
};

ComponentState& State() {
  static ComponentState state;
  return state;
}

}  // namespace

std::vector<ComponentName>& ComponentList() { return State().list; }
std::int32_t LastDefaultComponentId() { return State().lastDefaultId; }

void BuildDefaultComponents() {
  ComponentState& s = State();
  if (!s.defaultsPending) return;
  for (ComponentName& entry : DefaultComponents()) s.list.push_back(std::move(entry));
  s.lastDefaultId = kLastDefaultComponentId;
  s.defaultsPending = false;
}

sys::Text ComponentNameKey(std::int32_t id) { return sys::Format(u"%d_", id) + u"name"; }
sys::Text ComponentAltNameKey(std::int32_t id) { return sys::Format(u"%d_", id) + u"altName"; }

void LoadComponentNames() {
  ComponentState& s = State();
  if (!s.profilePending) return;
  s.profilePending = false;
  const std::int32_t n = GetInt(kComponentsSection, u"qtyComps", 0);
  for (std::int32_t m = 0; m < n; ++m) {
    ComponentName* entry = nullptr;
    for (auto& c : s.list)
      if (c.id == m) { entry = &c; break; }
    sys::Text name = GetString(kComponentsSection, ComponentNameKey(m), u"");
    sys::Text altName = GetString(kComponentsSection, ComponentAltNameKey(m), u"");
    if (!entry) continue;
    if (!name.empty()) entry->name = name;
    if (!altName.empty()) entry->altName = altName;
  }
}

void ResetComponentList() { State() = ComponentState(); }
