// host_commands.h: the host's commands behind "Execute" and what they work on.
//
// Commands and their parameters (param1, param2 → answer):
//   "MainMenu/CreateNewMenu"  null, MenuItemRequest*            → 1 added, 0 refused
//   "DB/GetConnectionUri"     null, null or const char16_t**     → the database path (UTF-16,
//        NUL-terminated, valid for the host's life) as a zero-extended 32-bit address;
//        when param2 is given the full pointer is also written there
//   "Main/OpenAssayIdDlgEx"   AssayIdBuffer*, owner window or 0  → identifiers written
//   "Main/OpenAssayFile"      null, const char16_t* path         → 1 opened, 0 not
//   "Export/ExportToOdt"      pugi::xml_node* "root", OdtExportRequest* → odt::ExportCode
//   "Profile/GetInt"          const char16_t* key, int32_t*      → 1 found, 0 not
//   "Profile/SetInt"          const char16_t* key, const int32_t* → 1 stored, 0 not
//   "Profile/GetString"       const char16_t* key, TextBuffer*   → 1 found, 0 not
//   "Profile/SetString"       const char16_t* key, const char16_t* → 1 stored, 0 not
// A null pointer where a parameter is needed answers 0 (for the ODT export, its code).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/assay_chooser.h"
#include "host/low_address_text.h"
#include "host/odt/odt_report.h"
#include "platform/sys/text.h"

class CommandRegistry;
class HostMainWindow;
class ProfileStore;

struct HostServices {
  ProfileStore* profile = nullptr;
  sys::Text databaseLocation;
  std::unique_ptr<LowAddressText> databaseUri;
  HostMainWindow* window = nullptr;
  AssayChooser chooseAssays;
  FailureReporter report;                      // a failure the user must hear of
  std::filesystem::path templateFolder;        // holds "Vetrix/ReportTemplate.odt", ...
  odt::DestinationChooser reportDestination;   // where a filled report goes
  std::function<void(const std::filesystem::path&)> reportWritten;  // told where a report went
  bool batch = false;                          // batch mode: viewers print, do not open
  std::optional<std::int32_t> lastReportCode;  // the answer of the last ODT export
};

// Adds the commands above to `registry`, working on `services` (which must outlive them).
void RegisterHostCommands(CommandRegistry& registry, HostServices& services);

// "Profile/GetString": the stored text cut to the buffer (capacity − 1 units and the NUL,
// never half a surrogate pair).
std::int32_t CopyToTextBuffer(const sys::Text& text, void* buffer);
