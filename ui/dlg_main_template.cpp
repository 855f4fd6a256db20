// dlg_main_template.cpp: dialog template 101, the main window (dialog units), with its
// dynamic layout: the buttons stay, the upper strip takes 20 % and the lower strip 80 %
// of a height change, both the whole width change. The tab controls come first so that
// the buttons, which sit on the upper strip's empty right end, stay on top of it.
#include "platform/win/resources.h"
#include "ui/dlg_main.h"

namespace {

using win::DialogControl;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

constexpr DialogControl kControls[] = {
    {win::kTabControlClass, kMainUpperTabs, nullptr, TCS_TABS | WS_TABSTOP, 0, 7, 7, 605, 139},
    {win::kTabControlClass, kMainLowerTabs, nullptr, TCS_TABS | WS_TABSTOP, 0, 7, 149, 605, 188},
    {win::kButtonClass, kMainRecalculate, u"Пересчитать", kButton, 0, 253, 2, 70, 16},
    {win::kButtonClass, kMainComponents, u"Компоненты", kButton, 0, 325, 2, 70, 16},
    {win::kButtonClass, kMainSettings, u"Настройки", kButton, 0, 397, 2, 70, 16},
    {win::kButtonClass, kMainReport, u"Отчет", kButton, 0, 469, 2, 70, 16},
    {win::kButtonClass, kMainExport, u"Экспорт", kButton, 0, 541, 2, 70, 16},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {kMainUpperTabs, 0, 0, 100, 20},
    {kMainLowerTabs, 0, 20, 100, 80},
};

}  // namespace

void RegisterDlgMainTemplate() {
  win::RegisterDialogTemplate(win::DialogTemplate{
      kMainTemplate, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT,
      0, 619, 344, u"MaindWindow", u"MS Shell Dlg", 8, kControls, kLayout});
}
