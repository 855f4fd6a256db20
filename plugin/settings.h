// settings.h: the program settings of section "ProgramSettings".
//
// The digit counts and the correction switches are module-wide; the export folder belongs
// to each instance. Construction loads all five keys; consumers make or reload an instance
// right before they format or compute, so a change saved a moment ago is seen.
#pragma once

#include <cstdint>

#include "calc/records.h"
#include "platform/sys/text.h"

inline constexpr char16_t kProgramSettingsSection[] = u"ProgramSettings";

struct Settings {
  inline static std::int32_t qtySymInProg = 3;    // decimals on the pages and in the workbook
  inline static std::int32_t qtySymInReport = 3;  // decimals in the report
  inline static std::int32_t enPressCorrect = 0;  // pressure correction on (0/1)
  inline static std::int32_t enTempCorrect = 0;   // temperature correction on (0/1)
  sys::Text exportFolder;                         // folder that receives workbook exports

  Settings() { Load(); }
  // Reads "qtySymInProg", "qtySymInReport", "enPressCorrect", "enTempCorrect" (defaults
  // 3, 3, 0, 0) and "ExportFolder" (empty) from the profile, overwriting the values above.
  void Load();
};

// The correction switches of the module-wide values, as a run takes them.
inline CorrectionSwitches CorrectionsOf(const Settings&) {
  return {Settings::enPressCorrect != 0, Settings::enTempCorrect != 0};
}
