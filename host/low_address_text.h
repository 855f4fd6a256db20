// low_address_text.h: a NUL-terminated UTF-16 copy of a text placed at an address below
// 2 GiB, for answers that the callback table returns through its 32-bit result.
//
// "DB/GetConnectionUri" answers a pointer, but Execute returns a 32-bit integer; on this
// 64-bit platform an ordinary heap address does not fit. The copy is mapped with
// MAP_32BIT, so the address survives the trip and the module gets it back by zero-extending
// the result. The copy stays valid until this object goes (the host keeps it for its whole
// life). Costs one page-rounded mapping.
#pragma once

#include <cstdint>

#include "platform/sys/text.h"

class LowAddressText {
 public:
  // Maps a copy of `text`; address() is null when no low mapping could be made (or the
  // platform has no way to ask for one).
  explicit LowAddressText(sys::TextView text);
  ~LowAddressText();
  LowAddressText(const LowAddressText&) = delete;
  LowAddressText& operator=(const LowAddressText&) = delete;

  const char16_t* address() const { return text_; }
  // The address as the 32-bit answer of Execute, 0 without a mapping.
  std::int32_t AsResult() const;

 private:
  char16_t* text_ = nullptr;
  std::size_t bytes_ = 0;
};
