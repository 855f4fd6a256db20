// module_identity.cpp: the version reader, PluginInfo and the host-version flag.
#include "plugin/module_identity.h"

#include <vector>

#include "platform/sys/format.h"
#include "platform/sys/version_info.h"

const char16_t* const ModuleVersionInfo::kKeys[kKeyCount] = {
    u"CompanyName",    u"FileDescription",  u"FileVersion", u"InternalName",
    u"LegalCopyright", u"OriginalFilename", u"ProductName", u"ProductVersion"};

namespace {

struct VersionState {
  int live = 0;
  int reads = 0;
  sys::Text values[ModuleVersionInfo::kKeyCount];
  std::uint32_t packed = 0;
  sys::Text fileVersion, productVersion, originalFilename;
};

VersionState& State() {
  static VersionState state;
  return state;
}

const sys::Text& Empty() {
  static const sys::Text empty;
  return empty;
}

// The translation sub-block "%04x%04x" of the first Russian entry, or empty.
sys::Text RussianBlock(const void* data) {
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!sys::VerQueryValueW(data, u"\\VarFileInfo\\Translation", &value, &length)) return {};
  const auto* pairs = static_cast<const std::uint16_t*>(value);
  for (std::uint32_t i = 0; i + 1 < length / 2; i += 2)
    if (pairs[i] == 25 || pairs[i] == 1049) return sys::Format(u"%04x%04x", pairs[i], pairs[i + 1]);
  return {};
}

void ReadResource(VersionState& s) {
  ++s.reads;
  const sys::Text file = sys::ModuleFileName(reinterpret_cast<const void*>(&RegisterModuleVersionResource));
  if (sys::GetFileVersionInfoSizeW(file) == 0) RegisterModuleVersionResource();
  const std::uint32_t size = sys::GetFileVersionInfoSizeW(file);
  std::vector<std::uint8_t> block(size);
  if (size == 0 || !sys::GetFileVersionInfoW(file, size, block.data())) return;
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (sys::VerQueryValueW(block.data(), u"\\", &value, &length)) {
    const auto* fixed = static_cast<const sys::FixedFileInfo*>(value);
    const std::uint32_t parts[4] = {fixed->productVersionMS >> 16, fixed->productVersionMS & 0xFFFF,
                                    fixed->productVersionLS >> 16, fixed->productVersionLS & 0xFFFF};
    s.packed = (parts[0] & 0xFF) << 24 | (parts[1] & 0xFF) << 16 | (parts[2] & 0xFF) << 8 | (parts[3] & 0xFF);
  }
  const sys::Text sub = RussianBlock(block.data());
  for (int i = 0; i < ModuleVersionInfo::kKeyCount; ++i) {
    const sys::Text path = u"\\StringFileInfo\\" + sub + u"\\" + ModuleVersionInfo::kKeys[i];
    s.values[i] = sys::VerQueryValueW(block.data(), path, &value, &length) ? sys::Text(static_cast<const char16_t*>(value))
                                                                           : sys::Text();
  }
  s.fileVersion = s.values[2];
  s.productVersion = s.values[7];
  s.originalFilename = s.values[5];
}

std::uint32_t g_hostVersion = 0;
bool g_currentHost = false;
ModuleVersionInfo* g_pluginVersion = nullptr;
PluginInfo g_info{};

constexpr char16_t kSupportEmail[] = u"support@vetrix.example";
constexpr char16_t kWebAddress[] = u"https://vetrix.example";
// {6A1C2E57-3B9D-4F0A-9E61-5C0D7B2A4F18}
constexpr PluginGuid kPluginId = {0x6A1C2E57, 0x3B9D, 0x4F0A, {0x9E, 0x61, 0x5C, 0x0D, 0x7B, 0x2A, 0x4F, 0x18}};

}  // namespace

ModuleVersionInfo::ModuleVersionInfo() {
  VersionState& s = State();
  if (s.live++ == 0) ReadResource(s);
}

ModuleVersionInfo::~ModuleVersionInfo() {
  VersionState& s = State();
  if (--s.live == 0)
    for (auto& v : s.values) v.clear();
}

const sys::Text& ModuleVersionInfo::Value(int i) const {
  return (i >= 0 && i < kKeyCount) ? State().values[i] : Empty();
}

const sys::Text& ModuleVersionInfo::Value(sys::TextView key) const {
  for (int i = 0; i < kKeyCount; ++i)
    if (key == kKeys[i]) return State().values[i];
  return Empty();
}

std::uint32_t ModuleVersionInfo::PackedProductVersion() const { return State().packed; }
int ModuleVersionInfo::ReadCount() { return State().reads; }

const sys::Text& ModuleFileVersion() { return State().fileVersion; }
const sys::Text& ModuleProductVersion() { return State().productVersion; }
const sys::Text& ModuleOriginalFilename() { return State().originalFilename; }

std::uint32_t HostVersionWord() { return g_hostVersion; }
void EvaluateHostVersion() { g_currentHost = g_hostVersion >= kCurrentHostVersion; }
bool CurrentHost() { return g_currentHost; }

PluginInfo* ModuleGetPluginInfo(std::uint32_t hostVersion) {
  g_hostVersion = hostVersion;
  if (!g_pluginVersion) {
    g_pluginVersion = new ModuleVersionInfo();
    g_info.size = sizeof(PluginInfo);
    g_info.name = g_pluginVersion->Value(u"ProductName").c_str();
    g_info.version = g_pluginVersion->PackedProductVersion();
    g_info.description = g_pluginVersion->Value(u"FileDescription").c_str();
    g_info.company = g_pluginVersion->Value(u"CompanyName").c_str();
    g_info.legalNotice = g_pluginVersion->Value(u"LegalCopyright").c_str();
  }
  g_info.supportEmail = kSupportEmail;
  g_info.webAddress = kWebAddress;
  g_info.id = kPluginId;
  return &g_info;
}

void ReleasePluginInfo() {
  delete g_pluginVersion;
  g_pluginVersion = nullptr;
}
