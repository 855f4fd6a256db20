// components.cpp: the default component list, its persisted names and name matching.
#include "calc/components.h"

#include "platform/sys/format.h"
#include "platform/sys/locale.h"
#include "plugin/profile.h"

namespace {

const char16_t* const kDefaultNames[] = {
    u"Метан",    u"Этан",    u"Пропан",  u"Изобутан", u"н-Бутан", u"Неопентан",        u"Изопентан",
    u"н-Пентан", u"Гексаны", u"Гептаны", u"Октаны",   u"Бензол",  u"Толуол",           u"Диоксид углерода",
    u"Гелий",    u"Водород", u"Кислород", u"Азот",    u"Метанол",
};
constexpr std::size_t kDefaultCount = sizeof kDefaultNames / sizeof kDefaultNames[0];

struct ComponentState {
  std::vector<ComponentName> list;
  std::int32_t nextId = 0;
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
  for (std::size_t i = 0; i < kDefaultCount; ++i) {
    s.list.push_back({s.nextId, kDefaultNames[i], kDefaultNames[i]});
    ++s.nextId;
  }
  s.lastDefaultId = s.nextId - 1;
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

const ComponentName* FindComponent(sys::TextView peakName) {
  for (const auto& c : State().list)
    if (sys::EqualNoCase(c.name, peakName) || sys::EqualNoCase(c.altName, peakName)) return &c;
  return nullptr;
}

const MixtureComponent* FindMixtureComponent(const Mixture& mixture, sys::TextView peakName) {
  for (const auto& c : mixture.components)
    if (sys::EqualNoCase(c.name, peakName)) return &c;
  return nullptr;
}
