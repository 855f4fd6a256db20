// low_address_text.cpp: texts mapped below 2 GiB (see low_address_text.h).
#include "host/low_address_text.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

LowAddressText::LowAddressText(sys::TextView text) {
#ifdef MAP_32BIT
  bytes_ = (text.size() + 1) * sizeof(char16_t);
  void* memory = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
  if (memory == MAP_FAILED || reinterpret_cast<std::uintptr_t>(memory) + bytes_ > 0x7FFFFFFFu) {
    if (memory != MAP_FAILED) munmap(memory, bytes_);
    return;
  }
  text_ = static_cast<char16_t*>(memory);
  std::copy(text.begin(), text.end(), text_);
  text_[text.size()] = u'\0';
#else
  (void)text;
#endif
}

LowAddressText::~LowAddressText() {
  if (text_) munmap(text_, bytes_);
}

std::int32_t LowAddressText::AsResult() const {
  return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(text_));
}
