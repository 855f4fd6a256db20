// version_resource.cpp: the module's version block, compiled in (see module_identity.h).
#include "platform/sys/version_info.h"
#include "plugin/module_identity.h"

#ifndef VETRIX_VERSION_MAJOR
#define VETRIX_VERSION_MAJOR 1
#define VETRIX_VERSION_MINOR 0
#define VETRIX_VERSION_PATCH 0
#define VETRIX_VERSION_TEXT u"1.0.0.0"
#endif

namespace {

const sys::VersionString kRussianStrings[] = {
    {u"CompanyName", u"Vetrix"},
    {u"FileDescription", u"Проверка линейности сигнала детектора по ГОСТ 31371.7-2020 приложение Б."},
    {u"FileVersion", VETRIX_VERSION_TEXT},
    {u"InternalName", u"vetrix"},
    {u"LegalCopyright", u"© 2026 Vetrix. Все права защищены."},
    {u"OriginalFilename", u"libvetrix.so"},
    {u"ProductName", u"Vetrix"},
    {u"ProductVersion", VETRIX_VERSION_TEXT},
};

const sys::VersionTranslation kTranslations[] = {
    {0x0419, 0x04b0, kRussianStrings, sizeof kRussianStrings / sizeof kRussianStrings[0]},
};

const sys::VersionResource kResource = {
    {VETRIX_VERSION_MAJOR, VETRIX_VERSION_MINOR, VETRIX_VERSION_PATCH, 0},
    {VETRIX_VERSION_MAJOR, VETRIX_VERSION_MINOR, VETRIX_VERSION_PATCH, 0},
    kTranslations,
    1,
};

}  // namespace

void RegisterModuleVersionResource() {
  sys::RegisterVersionResource(reinterpret_cast<const void*>(&RegisterModuleVersionResource), &kResource);
}
