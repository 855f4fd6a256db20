// The module's resources as registered with the window layer: the string table (texts
// only where the module defines one), the two icons decoding at their sizes, and every
// window's template.
#include <gtest/gtest.h>

#include "platform/win/resources.h"
#include "ui/module_resources.h"

namespace {

TEST(ModuleResources, StringsIconsAndTemplates) {
  RegisterModuleResources();
  const std::pair<UINT, const char16_t*> strings[] = {
      {4000, u"Сведения о плагине..."}, {4001, u"О плагине"},          {4002, u"Результаты расчета"},
      {4003, u"Смеси"},                 {4004, u"Хроматограммы"},      {4005, u"Инфо. о смеси."},
      {4006, u"Инфо. по хрм."},         {4007, u"Промежуточные расчеты"}, {4008, u"Системные сообщения"},
      {4015, u"Все"},                   {4020, u"Предупреждений и ошибок нет."}, {4027, u"График"}};
  for (const auto& [id, text] : strings) EXPECT_EQ(LoadString(id), text) << id;
  for (UINT id : {4009u, 4014u, 4016u, 4026u}) EXPECT_TRUE(LoadString(id).empty()) << id;

  EXPECT_TRUE(win::RegisterIcon(kModuleIcon, kCalibrationIconPng, kCalibrationIconPngSize));
  EXPECT_TRUE(win::RegisterIcon(kFolderIcon, kFolderIconPng, kFolderIconPngSize));
  const SIZE module = GetIconSize(LoadIcon(kModuleIcon));
  EXPECT_EQ(module.cx, 64);
  EXPECT_EQ(module.cy, 64);
  const SIZE folder = GetIconSize(LoadIcon(kFolderIcon));
  EXPECT_EQ(folder.cx, 20);
  EXPECT_EQ(folder.cy, 20);

  for (UINT id : {101u, 116u, 150u, 151u, 152u, 153u, 154u, 155u, 156u, 157u, 158u})
    EXPECT_TRUE(win::IsDialogTemplateRegistered(id)) << id;
}

}  // namespace
