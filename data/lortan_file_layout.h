// lortan_file_layout.h: byte layout of the chromatogram container (header and chunks).
//
// All integers are little-endian whatever the host byte order. The header is "STG", the
// version byte, four zero bytes and the 64-bit offset of the XML text; each chunk header
// is the channel number byte, seven zero bytes, the two raw words and the 64-bit sample
// count, followed by the samples (32 bits each). Header-only helpers, no state, no cost
// beyond the bytes they touch.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace lortan_file {

inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::size_t kChunkHeaderSize = 32;
inline constexpr std::size_t kSampleSize = 4;
inline constexpr unsigned char kMagic[3] = {0x53, 0x54, 0x47};  // "STG"
inline constexpr std::uint8_t kNewestVersion = 1;

// Reads an unsigned little-endian integer of 8 bytes at bytes.
inline std::uint64_t LoadLe64(const unsigned char* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// Writes value as 8 little-endian bytes at bytes.
inline void StoreLe64(unsigned char* bytes, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Turns 32-bit samples between file order (little-endian) and host order, in place.
// Free on little-endian hosts.
inline void SwapSamplesIfBigEndian(std::int32_t* samples, std::size_t count) {
  if constexpr (std::endian::native == std::endian::big) {
    for (std::size_t i = 0; i < count; ++i) {
      auto u = static_cast<std::uint32_t>(samples[i]);
      u = (u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) | (u << 24);
      samples[i] = static_cast<std::int32_t>(u);
    }
  } else {
    (void)samples;
    (void)count;
  }
}

}  // namespace lortan_file
