// The module's identity: its version block, PluginInfo and the host-version flag. Each
// test runs in a process of its own (CTest), so module-wide state starts fresh.
#include <gtest/gtest.h>

#include "platform/sys/version_info.h"
#include "plugin/module_identity.h"

namespace {

TEST(PluginInfo, FilledOnceFromTheVersionBlock) {
  PluginInfo* first = ModuleGetPluginInfo(0x04090300);
  PluginInfo* second = ModuleGetPluginInfo(0x01000000);
  EXPECT_EQ(first, second);
  EXPECT_EQ(ModuleVersionInfo::ReadCount(), 1);
  EXPECT_EQ(first->size, sizeof(PluginInfo));
  EXPECT_EQ(sys::Text(first->name), u"Vetrix");
  EXPECT_EQ(sys::Text(first->description),
            u"Проверка линейности сигнала детектора по ГОСТ 31371.7-2020 приложение Б.");
  EXPECT_EQ(first->version, 0x01000000u);  // 1.0.0.0
  EXPECT_EQ(first->id.data1, 0x6A1C2E57u);
  EXPECT_NE(first->supportEmail, nullptr);
  EXPECT_EQ(HostVersionWord(), 0x01000000u) << "the last call's word counts";
  {
    ModuleVersionInfo about;  // the about box's reader shares the values, reads nothing
    EXPECT_EQ(about.Value(u"ProductVersion"), u"1.0.0.0");
    EXPECT_EQ(about.Value(7), ModuleProductVersion());
  }
  EXPECT_EQ(ModuleVersionInfo::ReadCount(), 1);
  EXPECT_EQ(sys::Text(first->name), u"Vetrix") << "values live while GetPluginInfo's reader lives";
  ReleasePluginInfo();
}

TEST(HostVersion, GateAt4930) {
  EvaluateHostVersion();
  EXPECT_FALSE(CurrentHost()) << "a host that never called GetPluginInfo is old";
  const std::pair<std::uint32_t, bool> cases[] = {{0x040902FF, false}, {0x04090300, true}, {0xFFFFFFFF, true}, {0, false}};
  for (auto [word, current] : cases) {
    ModuleGetPluginInfo(word);
    EvaluateHostVersion();
    EXPECT_EQ(CurrentHost(), current) << std::hex << word;
  }
  ReleasePluginInfo();
}

TEST(VersionBlock, WithoutRussianTranslationEverythingIsEmpty) {
  static const sys::VersionString strings[] = {{u"ProductName", u"Other"}};
  static const sys::VersionTranslation english[] = {{0x0409, 0x04b0, strings, 1}};
  static const sys::VersionResource resource = {{2, 3, 4, 5}, {6, 7, 300, 9}, english, 1};
  sys::RegisterVersionResource(reinterpret_cast<const void*>(&RegisterModuleVersionResource), &resource);
  PluginInfo* info = ModuleGetPluginInfo(0);
  EXPECT_EQ(info->size, sizeof(PluginInfo));
  EXPECT_EQ(sys::Text(info->name), u"");
  EXPECT_EQ(info->version, 0x06072C09u) << "each part cut to its low 8 bits";
  ReleasePluginInfo();
}

TEST(VersionBlock, QueriesBySubBlock) {
  static const sys::VersionString strings[] = {{u"ProductName", u"Имя"}, {u"Comments", nullptr}};
  static const sys::VersionTranslation both[] = {{0x0409, 1252, strings, 1}, {0x0419, 0x04b0, strings, 2}};
  static const sys::VersionResource resource = {{1, 2, 3, 4}, {1, 6, 0, 0}, both, 2};
  static int anchor = 0;
  sys::RegisterVersionResource(&anchor, &resource);
  const sys::Text file = sys::ModuleFileName(&anchor);
  ASSERT_FALSE(file.empty());
  const std::uint32_t size = sys::GetFileVersionInfoSizeW(file);
  std::vector<std::uint8_t> block(size);
  ASSERT_TRUE(sys::GetFileVersionInfoW(file, size, block.data()));
  EXPECT_FALSE(sys::GetFileVersionInfoW(file, size - 1, block.data()));
  const void* v = nullptr;
  std::uint32_t n = 0;
  ASSERT_TRUE(sys::VerQueryValueW(block.data(), u"\\", &v, &n));
  EXPECT_EQ(static_cast<const sys::FixedFileInfo*>(v)->productVersionMS, 0x00010006u);
  ASSERT_TRUE(sys::VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &v, &n));
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(static_cast<const std::uint16_t*>(v)[2], 0x0419);
  ASSERT_TRUE(sys::VerQueryValueW(block.data(), u"\\StringFileInfo\\041904b0\\ProductName", &v, &n));
  EXPECT_EQ(sys::Text(static_cast<const char16_t*>(v)), u"Имя");
  EXPECT_EQ(n, 4u);
  ASSERT_TRUE(sys::VerQueryValueW(block.data(), u"\\StringFileInfo\\041904b0\\Comments", &v, &n));
  EXPECT_EQ(sys::Text(static_cast<const char16_t*>(v)), u"");
  EXPECT_FALSE(sys::VerQueryValueW(block.data(), u"\\StringFileInfo\\040904e4\\Comments", &v, &n));
  EXPECT_EQ(sys::GetFileVersionInfoSizeW(u"/no/such/module.so"), 0u);
}

}  // namespace
