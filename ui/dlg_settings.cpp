// dlg_settings.cpp: the settings dialog's opening, folder button, OK and Cancel.
//
// Assumes the layer's folder picker and profile access through plugin/profile.h; every
// profile write goes to the host at once. No cost beyond the five profile calls.
#include "ui/dlg_settings.h"

#include <algorithm>
#include <climits>

#include "platform/sys/format.h"
#include "platform/sys/parse.h"
#include "platform/win/button.h"
#include "platform/win/folder_picker.h"
#include "platform/win/messagebox.h"
#include "platform/win/resources.h"
#include "plugin/export_folder.h"
#include "plugin/profile.h"
#include "ui/module_resources.h"

DlgSettings::DlgSettings(CWnd* parent) : CDialogEx(kSettingsTemplate, parent) {}

void DlgSettings::Load() { m_settings.Load(); }

// Icons, the digit counts ("%d"), the switches and the folder.
BOOL DlgSettings::OnInitDialog() {
  CDialogEx::OnInitDialog();
  HICON icon = LoadIcon(kModuleIcon);
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  if (auto* button = dynamic_cast<CButton*>(GetDlgItem(kSettingsFolderButton)))
    button->SetIcon(LoadIcon(kFolderIcon, 20, 20));
  SetDlgItemText(kSettingsProgDigitsEdit, sys::Format(u"%d", Settings::qtySymInProg));
  SetDlgItemText(kSettingsReportDigitsEdit, sys::Format(u"%d", Settings::qtySymInReport));
  ShowSwitchesAndFolder();
  return TRUE;
}

// The check boxes and the folder edit from the values held (not from the controls).
void DlgSettings::ShowSwitchesAndFolder() {
  CheckDlgButton(kSettingsPressureCheck, Settings::enPressCorrect != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kSettingsTemperatureCheck, Settings::enTempCorrect != 0 ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemText(kSettingsFolderEdit, m_settings.exportFolder);
}

// The picker starts nowhere in particular; a chosen folder replaces the held one and
// the controls show the held values again (an unconfirmed tick is lost, as it always was).
void DlgSettings::PickFolder() {
  CFolderPickerDialog picker(nullptr, 0, this);
  if (picker.DoModal() != IDOK) return;
  m_settings.exportFolder = picker.GetPathName();
  ShowSwitchesAndFolder();
}

BOOL DlgSettings::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case kSettingsOk: OnOK(); return TRUE;
      case kSettingsCancel: OnCancel(); return TRUE;
      case kSettingsFolderButton: PickFolder(); return TRUE;
      default: break;
    }
  }
  return CDialogEx::OnCommand(wParam, lParam);
}

// A digit field as a 32-bit wcstol reads it: out-of-range values saturate at the 32-bit
// limits (never wrap to an unrelated count).
std::int32_t DlgSettings::ReadDigits(int editId) const {
  const long value = sys::ParseLong(GetDlgItemText(editId));
  return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

void DlgSettings::OnOK() {
  // A folder the profile cannot give back whole would later be a different folder: refused
  // here, with the dialog left open for a shorter one.
  const sys::Text folder = GetDlgItemText(kSettingsFolderEdit);
  if (const sys::Text problem = ExportFolderProblemText(folder); !problem.empty()) {
    ::MessageBox(m_hWnd, problem.c_str(), u"Настройки", MB_OK | MB_ICONERROR);
    return;
  }
  Settings::enPressCorrect = IsDlgButtonChecked(kSettingsPressureCheck) == BST_CHECKED ? 1 : 0;
  Settings::enTempCorrect = IsDlgButtonChecked(kSettingsTemperatureCheck) == BST_CHECKED ? 1 : 0;
  m_settings.exportFolder = GetDlgItemText(kSettingsFolderEdit);
  const std::int32_t prog = ReadDigits(kSettingsProgDigitsEdit);
  if (prog != Settings::qtySymInProg) {
    Settings::qtySymInProg = prog;
    SetInt(kProgramSettingsSection, u"qtySymInProg", prog);
  }
  const std::int32_t report = ReadDigits(kSettingsReportDigitsEdit);
  if (report != Settings::qtySymInReport) {
    Settings::qtySymInReport = report;
    SetInt(kProgramSettingsSection, u"qtySymInReport", report);
  }
  SetInt(kProgramSettingsSection, u"enPressCorrect", Settings::enPressCorrect);
  SetInt(kProgramSettingsSection, u"enTempCorrect", Settings::enTempCorrect);
  SetString(kProgramSettingsSection, u"ExportFolder", m_settings.exportFolder);
  EndDialog(1);
}

void DlgSettings::OnCancel() {
  Load();
  EndDialog(2);
}
