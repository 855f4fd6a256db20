// unicode_map.cpp: the lookups of unicode_map.h over the generated tables.
//
// The tables (unicode_tables.cpp) are constant data laid out as detail::MapTable describes.
// Cost per unit: a range check and two indexed reads; nothing allocates, nothing is set up.
#include "platform/sys/unicode_map.h"

namespace sys::unicode {
namespace {

// The table of `mapping`; `mapping` must be one of the enumerators.
const detail::MapTable& TableOf(Mapping mapping) {
  return detail::kMapTables[static_cast<std::size_t>(mapping)];
}

// Positions [first, last) of the units `unit` maps to in table.units; empty for itself.
struct Range {
  std::uint16_t first = 0;
  std::uint16_t last = 0;
};

Range Find(const detail::MapTable& table, char16_t unit) {
  const std::size_t block = unit >> table.shift;
  if (block >= table.stageSize) return {};
  const std::size_t inBlock = unit & ((1u << table.shift) - 1);
  const std::uint16_t* entry = table.offsets + table.stage[block] + inBlock;
  return {entry[0], entry[1]};
}

}  // namespace

std::size_t MapUnit(Mapping mapping, char16_t unit, const char16_t** units) {
  const detail::MapTable& table = TableOf(mapping);
  const Range range = Find(table, unit);
  if (range.first == range.last) return 0;
  *units = table.units + range.first;
  return range.last - range.first;
}

char16_t MapSingle(Mapping mapping, char16_t unit) {
  const detail::MapTable& table = TableOf(mapping);
  const Range range = Find(table, unit);
  return range.first == range.last ? unit : table.units[range.first];
}

std::uint32_t CompareKey(std::uint32_t codePoint) {
  if (codePoint > 0xFFFF) return codePoint;
  auto unit = static_cast<char16_t>(codePoint);
  if (codePoint > 127) unit = MapSingle(Mapping::Unaccent, unit);
  return MapSingle(Mapping::Fold, unit);
}

const char* TablesVersion() { return "5.1.0.12"; }

}  // namespace sys::unicode
