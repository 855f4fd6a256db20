// components.cpp: the default component list and name matching.
#include "calc/components.h"

#include "platform/sys/locale.h"

namespace {

const char16_t* const kDefaultNames[] = {
    u"Метан",    u"Этан",    u"Пропан",  u"Изобутан", u"н-Бутан", u"Неопентан",        u"Изопентан",
    u"н-Пентан", u"Гексаны", u"Гептаны", u"Октаны",   u"Бензол",  u"Толуол",           u"Диоксид углерода",
    u"Гелий",    u"Водород", u"Кислород", u"Азот",    u"Метанол",
};
constexpr std::size_t kDefaultCount = sizeof kDefaultNames / sizeof kDefaultNames[0];
static_assert(kDefaultCount == kLastDefaultComponentId + 1);

}  // namespace

std::vector<ComponentName> DefaultComponents() {
  std::vector<ComponentName> list;
  list.reserve(kDefaultCount);
  for (std::size_t i = 0; i < kDefaultCount; ++i)
    list.push_back({static_cast<std::int32_t>(i), kDefaultNames[i], kDefaultNames[i]});
  return list;
}

const ComponentName* FindComponent(const std::vector<ComponentName>& list, sys::TextView peakName) {
  for (const auto& c : list)
    if (sys::EqualNoCase(c.name, peakName) || sys::EqualNoCase(c.altName, peakName)) return &c;
  return nullptr;
}

const MixtureComponent* FindMixtureComponent(const Mixture& mixture, sys::TextView peakName) {
  for (const auto& c : mixture.components)
    if (sys::EqualNoCase(c.name, peakName)) return &c;
  return nullptr;
}
