// odt_report.h: the host's side of "Export/ExportToOdt": a report template from the
// template folder, filled from the module's data document, written where the caller's
// chooser says.
//
// Assumes: the template path of a request is relative to the template folder, with '\'
// or '/' between folders ("Vetrix\ReportTemplate.odt"); the data document is pugixml's
// narrow build, so its text is UTF-8. The report is assembled in a private temporary
// folder and moved into place only when complete, so a failure never leaves a half
// report at the destination. Costs: the template and the pictures in memory, one write of
// the report plus one copy when the destination is on another file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "plugin/host_api.h"

namespace odt {

// The answers of "Export/ExportToOdt": the codes of the host interface (plugin/host_api.h),
// shared with the module.
using ExportCode = ::OdtExportCode;
using enum ::OdtExportCode;

// The template file for `relative` under `folder`, or an empty path when `relative` is
// empty, absolute, or steps out of the folder ("..").
std::filesystem::path ResolveTemplatePath(const std::filesystem::path& folder, std::u16string_view relative);

// Asked once the report is ready: where it goes; an empty path means nowhere.
using DestinationChooser = std::function<std::filesystem::path()>;

// Fills the template named by `request` from `root` and writes the report where `choose`
// says; returns an ExportCode. `detail` receives a line saying what failed (or where the
// report went). Never throws.
[[nodiscard]] std::int32_t ExportReport(const pugi::xml_node* root, const OdtExportRequest* request,
                          const std::filesystem::path& templateFolder, const DestinationChooser& choose,
                          std::string& detail);

}  // namespace odt
