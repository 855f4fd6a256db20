// dlg_settings_template.cpp: dialog template 156, "Настройки" (dialog units).
#include "platform/win/resources.h"
#include "ui/dlg_settings.h"

namespace {

using win::DialogControl;
constexpr DWORD kEditStyle = ES_CENTER | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

constexpr DialogControl kControls[] = {
    {win::kButtonClass, -1, u"Округление значений", BS_GROUPBOX, 0, 7, 7, 196, 48},
    {win::kStaticClass, -1, u"В программе", SS_LEFT, 0, 16, 21, 90, 9},
    {win::kEditClass, kSettingsProgDigitsEdit, nullptr, kEditStyle, 0, 140, 19, 50, 13},
    {win::kStaticClass, -1, u"В отчете", SS_LEFT, 0, 16, 37, 90, 9},
    {win::kEditClass, kSettingsReportDigitsEdit, nullptr, kEditStyle, 0, 140, 35, 50, 13},
    {win::kButtonClass, kSettingsPressureCheck, u"Корректировка по давлению", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 9, 62, 190,
     10},
    {win::kButtonClass, kSettingsTemperatureCheck, u"Корректировка по температуре",
     BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED, 0, 9, 76, 190, 10},
    {win::kStaticClass, -1, u"Каталог для экспорта", SS_LEFT, 0, 7, 93, 190, 9},
    {win::kButtonClass, kSettingsFolderButton, nullptr, BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 0, 7, 104, 18, 15},
    {win::kEditClass, kSettingsFolderEdit, nullptr, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 29, 105, 174, 13},
    {win::kButtonClass, kSettingsOk, u"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 99, 128, 50, 14},
    {win::kButtonClass, kSettingsCancel, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, 0, 153, 128, 50, 14},
};

}  // namespace

void RegisterDlgSettingsTemplate() {
  win::RegisterDialogTemplate(win::DialogTemplate{kSettingsTemplate,
                                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                                  0, 210, 149, u"Настройки", u"MS Shell Dlg", 8, kControls, {}});
}
