// version_info.cpp: the registry of module version blocks and their flat copies.
//
// A copied block is laid out as: magic, FixedFileInfo, translation count and pairs, then
// string entries (path length, path, value length, value; UTF-16, each NUL-terminated).
// All fields are aligned to 4 bytes, so queries hand out pointers into the copy.
#include "platform/sys/version_info.h"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/sys/format.h"

namespace sys {
namespace {

constexpr std::uint32_t kMagic = 0x56455253;  // "VERS"

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}
std::map<Text, const VersionResource*>& Registry() {
  static std::map<Text, const VersionResource*> registry;
  return registry;
}

// Appends n bytes. Through resize and memcpy rather than a range insert: GCC 12 at -O3
// reports a range insert of a small object's bytes as a stringop overflow that is not one.
void PutBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t n) {
  const std::size_t at = out.size();
  out.resize(at + n);
  if (n != 0) std::memcpy(out.data() + at, data, n);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) { PutBytes(out, &v, sizeof v); }
void PutText(std::vector<std::uint8_t>& out, TextView t) {
  Put32(out, static_cast<std::uint32_t>(t.size() + 1));
  PutBytes(out, t.data(), t.size() * 2);
  out.push_back(0);
  out.push_back(0);
  while (out.size() % 4) out.push_back(0);
}

std::vector<std::uint8_t> Flatten(const VersionResource& r) {
  std::vector<std::uint8_t> out;
  Put32(out, kMagic);
  const FixedFileInfo fixed{static_cast<std::uint32_t>(r.fileVersion[0]) << 16 | r.fileVersion[1],
                            static_cast<std::uint32_t>(r.fileVersion[2]) << 16 | r.fileVersion[3],
                            static_cast<std::uint32_t>(r.productVersion[0]) << 16 | r.productVersion[1],
                            static_cast<std::uint32_t>(r.productVersion[2]) << 16 | r.productVersion[3]};
  PutBytes(out, &fixed, sizeof fixed);
  Put32(out, static_cast<std::uint32_t>(r.translationCount));
  std::size_t strings = 0;
  for (std::size_t i = 0; i < r.translationCount; ++i) {
    Put32(out, static_cast<std::uint32_t>(r.translations[i].language) |
                   static_cast<std::uint32_t>(r.translations[i].codePage) << 16);
    strings += r.translations[i].stringCount;
  }
  Put32(out, static_cast<std::uint32_t>(strings));
  for (std::size_t i = 0; i < r.translationCount; ++i) {
    const VersionTranslation& t = r.translations[i];
    const Text block = Format(u"\\StringFileInfo\\%04x%04x\\", t.language, t.codePage);
    for (std::size_t k = 0; k < t.stringCount; ++k) {
      PutText(out, block + t.strings[k].key);
      PutText(out, t.strings[k].value ? t.strings[k].value : u"");
    }
  }
  return out;
}

const VersionResource* Find(TextView fileName) {
  std::lock_guard<std::mutex> guard(RegistryLock());
  auto it = Registry().find(Text(fileName));
  return it == Registry().end() ? nullptr : it->second;
}

bool EqualsCaseBlindAscii(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

Text ModuleFileName(const void* address, std::size_t maxChars) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return {};
  Text name = FromUtf8(info.dli_fname);
  if (name.size() > maxChars) name.resize(maxChars);
  return name;
}

void RegisterVersionResource(const void* addressInModule, const VersionResource* resource) {
  const Text file = ModuleFileName(addressInModule, 4096);
  std::lock_guard<std::mutex> guard(RegistryLock());
  Registry()[file] = resource;
}

std::uint32_t GetFileVersionInfoSizeW(TextView fileName) {
  const VersionResource* r = Find(fileName);
  return r ? static_cast<std::uint32_t>(Flatten(*r).size()) : 0;
}

bool GetFileVersionInfoW(TextView fileName, std::uint32_t size, void* data) {
  const VersionResource* r = Find(fileName);
  if (!r || !data) return false;
  const std::vector<std::uint8_t> flat = Flatten(*r);
  if (size < flat.size()) return false;
  std::memcpy(data, flat.data(), flat.size());
  return true;
}

bool VerQueryValueW(const void* data, TextView subBlock, const void** value, std::uint32_t* length) {
  if (!data || !value) return false;
  const auto* p = static_cast<const std::uint8_t*>(data);
  auto get32 = [&p](std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, p + at, 4);
    return v;
  };
  if (get32(0) != kMagic) return false;
  std::size_t at = 4;
  if (subBlock == u"\\") {
    *value = p + at;
    if (length) *length = sizeof(FixedFileInfo);
    return true;
  }
  at += sizeof(FixedFileInfo);
  const std::uint32_t translations = get32(at);
  if (EqualsCaseBlindAscii(subBlock, u"\\VarFileInfo\\Translation")) {
    *value = p + at + 4;
    if (length) *length = translations * 4;
    return translations > 0;
  }
  at += 4 + translations * 4;
  const std::uint32_t strings = get32(at);
  at += 4;
  auto skipText = [&](std::size_t& pos, const char16_t** text) {
    const std::uint32_t chars = get32(pos);
    *text = reinterpret_cast<const char16_t*>(p + pos + 4);
    pos += 4 + (chars * 2 + 3) / 4 * 4;
    return chars;
  };
  for (std::uint32_t i = 0; i < strings; ++i) {
    const char16_t* path = nullptr;
    const char16_t* text = nullptr;
    const std::uint32_t pathChars = skipText(at, &path);
    const std::uint32_t textChars = skipText(at, &text);
    if (EqualsCaseBlindAscii(subBlock, TextView(path, pathChars - 1))) {
      *value = text;
      if (length) *length = textChars;
      return true;
    }
  }
  return false;
}

}  // namespace sys
