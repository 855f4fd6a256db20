// dlg_settings.h: DlgSettings, the modal "Настройки" dialog (template 156) over the program
// settings of section "ProgramSettings": the two rounding digit counts, the pressure and
// temperature correction switches and the export folder.
//
// The dialog holds one Settings instance, loaded on construction. OK writes what the user
// entered to the profile (a digit count only when it changed) and ends with 1; Cancel
// reloads the instance from the profile and ends with 2. No range check on the digits.
#pragma once

#include <cstdint>

#include "plugin/settings.h"
#include "platform/win/dialog.h"

inline constexpr UINT kSettingsTemplate = 156;
inline constexpr int kSettingsProgDigitsEdit = 1032;
inline constexpr int kSettingsReportDigitsEdit = 1034;
inline constexpr int kSettingsPressureCheck = 1058;
inline constexpr int kSettingsTemperatureCheck = 1059;
inline constexpr int kSettingsFolderButton = 1060;
inline constexpr int kSettingsFolderEdit = 1061;
inline constexpr int kSettingsOk = 1035;
inline constexpr int kSettingsCancel = 1036;

class DlgSettings : public CDialogEx {
 public:
  enum { IDD = kSettingsTemplate };
  explicit DlgSettings(CWnd* parent = nullptr);

  // Reads the five keys from the profile (the digit counts and switches module-wide).
  void Load();

  std::int32_t QtySymInProg() const { return Settings::qtySymInProg; }
  std::int32_t QtySymInReport() const { return Settings::qtySymInReport; }
  std::int32_t PressureCorrection() const { return Settings::enPressCorrect; }
  std::int32_t TemperatureCorrection() const { return Settings::enTempCorrect; }
  const sys::Text& ExportFolder() const { return m_settings.exportFolder; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // "ОК" (1035, also Enter): stores the entries and ends with 1.
  void OnOK() override;
  // "Отмена" (1036, also Escape and the close box): reloads and ends with 2.
  void OnCancel() override;

 private:
  void ShowSwitchesAndFolder();
  void PickFolder();
  // The digit count typed into `editId`, parsed as wcstol does (no number: 0).
  std::int32_t ReadDigits(int editId) const;

  Settings m_settings;
};

// Registers dialog template 156.
void RegisterDlgSettingsTemplate();
