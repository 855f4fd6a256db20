// about_dlg_template.cpp: dialog template 152, the about box (dialog units). The icon
// frame holds the 80 x 80 pixel icon; the value labels are filled at opening.
#include "platform/win/resources.h"
#include "ui/about_dlg.h"

namespace {

using win::DialogControl;

constexpr DialogControl kControls[] = {
    {win::kStaticClass, kAboutIcon, nullptr, SS_ICON | SS_CENTERIMAGE, 0, 7, 7, 58, 50},
    {win::kStaticClass, kAboutProduct, nullptr, SS_LEFT | SS_NOPREFIX, 0, 74, 8, 190, 10},
    {win::kStaticClass, -1, u"Версия:", SS_LEFT, 0, 74, 22, 40, 9},
    {win::kStaticClass, kAboutVersion, nullptr, SS_LEFT | SS_NOPREFIX, 0, 116, 22, 148, 9},
    {win::kStaticClass, kAboutDescription, nullptr, SS_LEFT | SS_NOPREFIX, 0, 74, 35, 190, 28},
    {win::kStaticClass, kAboutCompany, nullptr, SS_LEFT | SS_NOPREFIX, 0, 74, 66, 190, 9},
    {win::kStaticClass, kAboutCopyright, nullptr, SS_LEFT | SS_NOPREFIX, 0, 74, 79, 190, 9},
    {win::kButtonClass, IDOK, u"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 214, 96, 50, 14},
};

}  // namespace

void RegisterAboutDlgTemplate() {
  win::RegisterDialogTemplate(win::DialogTemplate{kAboutTemplate,
                                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                                  0, 271, 117, u"О плагине", u"MS Shell Dlg", 8, kControls, {}});
}
