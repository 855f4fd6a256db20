// export_folder.h: whether an export folder can be kept in the profile. A profile text
// comes back through a 128-character buffer, so a folder of more than 127 characters
// (UTF-16 units) would be read back cut — a different folder — and is refused where it is
// entered: in the settings dialog, by vetrix-check --export and by lortan --batch --export.
// Header-only; depends on platform/sys.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/sys/format.h"
#include "platform/sys/text.h"

// The longest text the profile gives back whole.
inline constexpr std::size_t kProfileTextMaxChars = 127;

// Empty when `folder` fits; else the settings dialog's message.
inline sys::Text ExportFolderProblemText(sys::TextView folder) {
  if (folder.size() <= kProfileTextMaxChars) return {};
  return sys::Format(
      u"Путь к каталогу для экспорта слишком длинный: %u символов, а в настройках сохраняется не более %u.\n"
      u"Выберите каталог с более коротким путем.",
      folder.size(), kProfileTextMaxChars);
}

// Empty when `folder` (UTF-8) fits; else one line for a command line's error output.
inline std::string ExportFolderProblem(std::string_view option, std::string_view folder) {
  const std::size_t length = sys::FromUtf8(folder).size();
  if (length <= kProfileTextMaxChars) return {};
  return std::string(option) + ": the folder " + std::string(folder) + " is " + std::to_string(length) +
         " characters long; the settings keep at most " + std::to_string(kProfileTextMaxChars) +
         ", so choose a shorter path";
}
