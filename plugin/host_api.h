// host_api.h: the binary interface between the host and the module.
//
// Shared by the module and the reference host; plain C-layout records only. The field
// order is the host's; pointers have this platform's width, so every `size` field holds
// sizeof the record here. Host commands are narrow ASCII names ("Profile/GetInt"); text
// crossing the boundary is UTF-16 (char16_t), NUL-terminated.
#pragma once

#include <cstdint>

extern "C" {

using HostEventHandler = std::int32_t (*)();
using HostCommandHandler = std::int32_t (*)(void* hostWindow);

// The host's callback table. Entries 1 to 3 are the host's own; the module never calls them.
struct HostApi {
  void* reserved1;
  void* reserved2;
  void* reserved3;
  std::int32_t (*Subscribe)(const char* event, HostEventHandler handler);
  void (*Unsubscribe)(std::int32_t handle);
  std::int32_t (*RegisterCommand)(const char* command, HostCommandHandler handler);
  void (*UnregisterCommand)(std::int32_t handle);
  // Result meaning depends on the command; see the command table of the host bridge.
  std::int32_t (*Execute)(const char* command, void* param1, void* param2);
  std::int32_t (*CommandExists)(const char* command);
};

// "MainMenu/CreateNewMenu", param2.
struct MenuItemRequest {
  std::uint32_t size;            // sizeof(MenuItemRequest)
  const char16_t* menuPath;      // levels separated by '/'
  std::uint32_t reserved;        // 0
  const char* command;           // command to run when the entry is chosen
};

// "Main/OpenAssayIdDlgEx", param1: the host writes chosen chromatogram identifiers.
struct AssayIdBuffer {
  std::int32_t* ids;
  std::int32_t capacity;  // 256
};

// "Profile/GetString", param2: the host writes a NUL-terminated value.
struct TextBuffer {
  char16_t* text;
  std::int32_t capacity;  // characters, 128
};

// The answers of "Export/ExportToOdt" (the host's result; the module turns each failure
// into its list of likely reasons). Negative codes are failures.
enum OdtExportCode : std::int32_t {
  kReportWritten = 0,
  kReportNotWanted = 1,       // the chooser gave no destination (the user cancelled)
  kNoTemplate = -1,           // no request, no path, a path leaving the folder, no such file
  kNoTemporaryFile = -2,      // the temporary folder for the report could not be made
  kTemplateUnreadable = -3,   // the template is no zip package or lacks content.xml
  kTemplateXmlBroken = -4,    // content.xml or the manifest of the template does not parse
  kTemporaryNotWritten = -5,  // the filled package could not be written to the temporary file
  kBadDataDocument = -6,      // no data document, no "root" with what it needs, bad picture
  kNotDelivered = -7,         // the finished report could not be put at its destination
};

// "Export/ExportToOdt", param2.
struct OdtExportRequest {
  std::int32_t zero;             // 0
  std::uint32_t flag;            // one-byte flag = 1 in a 32-bit slot
  const char16_t* templatePath;  // relative: "Vetrix" + '\' + file name
};

struct PluginGuid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

// What GetPluginInfo returns; static storage for the module's life.
struct PluginInfo {
  std::uint32_t size;  // sizeof(PluginInfo)
  const char16_t* name;
  std::uint32_t version;  // major.minor.build.revision, one byte each, major highest
  const char16_t* description;
  const char16_t* company;
  const char16_t* supportEmail;
  const char16_t* legalNotice;
  const char16_t* webAddress;
  PluginGuid id;
};

}  // extern "C"

// Default host version word of the reference host and the gate of "current" hosts.
inline constexpr std::uint32_t kCurrentHostVersion = 0x04090300u;
