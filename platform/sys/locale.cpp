// locale.cpp: the runtime locale flag and the comparisons that depend on it.
#include "platform/sys/locale.h"

#include <atomic>

#include "platform/sys/unicode_map.h"

namespace sys {
namespace {
std::atomic<bool> g_russian{false};
}

void SetRussianLocale() { g_russian.store(true, std::memory_order_relaxed); }
void ResetLocale() { g_russian.store(false, std::memory_order_relaxed); }
bool IsRussianLocale() { return g_russian.load(std::memory_order_relaxed); }

char16_t DecimalSeparator() { return IsRussianLocale() ? u',' : u'.'; }

char16_t LocaleLower(char16_t unit) {
  if (IsRussianLocale()) return unicode::ToLower(unit);
  return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + 32) : unit;
}

Text LocaleLower(TextView text) {
  Text out(text);
  for (auto& u : out) u = LocaleLower(u);
  return out;
}

bool EqualNoCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && LocaleLower(a[i]) != LocaleLower(b[i])) return false;
  }
  return true;
}

}  // namespace sys
