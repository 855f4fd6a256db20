// host_commands.cpp: the host's commands (see host_commands.h for the table).
#include "host/host_commands.h"

#include <QString>
#include <cstdio>
#include <pugixml.hpp>

#include "host/assay_viewer.h"
#include "host/command_registry.h"
#include "host/main_window.h"
#include "host/profile_store.h"

namespace {

std::int32_t CreateMenu(HostServices& s, void* param2) {
  const auto* request = static_cast<const MenuItemRequest*>(param2);
  if (!request || request->size < sizeof(MenuItemRequest) || !request->menuPath || !request->command || !s.window)
    return 0;
  const QString path = QString::fromUtf16(request->menuPath);
  return s.window->AddMenuEntry(path, request->command) ? 1 : 0;
}

std::int32_t ConnectionUri(HostServices& s, void* param2) {
  if (!s.databaseUri) s.databaseUri = std::make_unique<LowAddressText>(s.databaseLocation);
  if (param2) *static_cast<const char16_t**>(param2) = s.databaseUri->address();
  return s.databaseUri->AsResult();
}

std::int32_t OpenAssayFile(HostServices& s, void* param2) {
  const auto* path = static_cast<const char16_t*>(param2);
  if (!path) return 0;
  std::string error;
  if (s.batch) {
    CLortanFile4 file;
    const std::int32_t rc = file.LoadFile(path);
    std::fprintf(stderr, "lortan: chromatogram %s: %s\n", sys::ToUtf8(path).c_str(),
                 rc == 0 ? "readable" : ("code " + std::to_string(rc)).c_str());
    return rc == 0 ? 1 : 0;
  }
  if (OpenAssayViewer(path, s.window, error)) return 1;
  if (s.report) s.report(error);
  return 0;
}

std::int32_t ExportToOdt(HostServices& s, void* param1, void* param2) {
  std::string detail;
  std::filesystem::path destination;  // what the chooser answered, to say where the report went
  const odt::DestinationChooser choose = [&] {
    destination = s.reportDestination ? s.reportDestination() : std::filesystem::path();
    return destination;
  };
  const std::int32_t rc =
      odt::ExportReport(static_cast<const pugi::xml_node*>(param1), static_cast<const OdtExportRequest*>(param2),
                        s.templateFolder, choose, detail);
  s.lastReportCode = rc;
  if (rc == 0 && !destination.empty() && s.reportWritten) s.reportWritten(destination);
  std::fprintf(stderr, "lortan: %s%s\n", rc < 0 ? ("ODT report failed (" + std::to_string(rc) + "): ").c_str() : "",
               detail.c_str());
  return rc;
}

std::int32_t GetInt(HostServices& s, void* key, void* out) {
  if (!s.profile || !key || !out) return 0;
  const auto value = s.profile->GetInt(static_cast<const char16_t*>(key));
  if (!value) return 0;
  *static_cast<std::int32_t*>(out) = *value;
  return 1;
}

std::int32_t SetInt(HostServices& s, void* key, void* value) {
  if (!s.profile || !key || !value) return 0;
  return s.profile->SetInt(static_cast<const char16_t*>(key), *static_cast<const std::int32_t*>(value)) ? 1 : 0;
}

std::int32_t GetString(HostServices& s, void* key, void* buffer) {
  if (!s.profile || !key || !buffer) return 0;
  const auto value = s.profile->GetString(static_cast<const char16_t*>(key));
  return value ? CopyToTextBuffer(*value, buffer) : 0;
}

std::int32_t SetString(HostServices& s, void* key, void* value) {
  if (!s.profile || !key || !value) return 0;
  return s.profile->SetString(static_cast<const char16_t*>(key), static_cast<const char16_t*>(value)) ? 1 : 0;
}

}  // namespace

std::int32_t CopyToTextBuffer(const sys::Text& text, void* buffer) {
  auto* target = static_cast<TextBuffer*>(buffer);
  if (!target || !target->text || target->capacity <= 0) return 0;
  std::size_t count = std::min(text.size(), static_cast<std::size_t>(target->capacity) - 1);
  // A high surrogate whose low half was cut off would leave a broken character.
  if (count > 0 && count < text.size() && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF) --count;
  std::copy_n(text.begin(), count, target->text);
  target->text[count] = u'\0';
  return 1;
}

void RegisterHostCommands(CommandRegistry& registry, HostServices& s) {
  registry.AddHostCommand("MainMenu/CreateNewMenu", [&s](void*, void* p2) { return CreateMenu(s, p2); });
  registry.AddHostCommand("DB/GetConnectionUri", [&s](void*, void* p2) { return ConnectionUri(s, p2); });
  registry.AddHostCommand("Main/OpenAssayIdDlgEx", [&s](void* p1, void* p2) {
    return RunAssayChooserCommand(p1, p2, s.databaseLocation, s.chooseAssays, s.report);
  });
  registry.AddHostCommand("Main/OpenAssayFile", [&s](void*, void* p2) { return OpenAssayFile(s, p2); });
  registry.AddHostCommand("Export/ExportToOdt", [&s](void* p1, void* p2) { return ExportToOdt(s, p1, p2); });
  registry.AddHostCommand("Profile/GetInt", [&s](void* p1, void* p2) { return GetInt(s, p1, p2); });
  registry.AddHostCommand("Profile/SetInt", [&s](void* p1, void* p2) { return SetInt(s, p1, p2); });
  registry.AddHostCommand("Profile/GetString", [&s](void* p1, void* p2) { return GetString(s, p1, p2); });
  registry.AddHostCommand("Profile/SetString", [&s](void* p1, void* p2) { return SetString(s, p1, p2); });
}
