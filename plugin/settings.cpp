// settings.cpp: loading the program settings from the profile.
#include "plugin/settings.h"

#include "plugin/profile.h"

void Settings::Load() {
  qtySymInProg = GetInt(kProgramSettingsSection, u"qtySymInProg", 3);
  qtySymInReport = GetInt(kProgramSettingsSection, u"qtySymInReport", 3);
  enPressCorrect = GetInt(kProgramSettingsSection, u"enPressCorrect", 0);
  enTempCorrect = GetInt(kProgramSettingsSection, u"enTempCorrect", 0);
  exportFolder = GetString(kProgramSettingsSection, u"ExportFolder", u"");
}
