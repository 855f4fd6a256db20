// dlg_components_template.cpp: dialog template 158, "Компоненты": the names table above
// the "ОК" (default) and "Отмена" buttons, 333 x 236 dialog units, fixed size.
#include "platform/win/resources.h"
#include "ui/dlg_components.h"

namespace {

constexpr int kOkButton = 1035;
constexpr int kCancelButton = 1036;

constexpr win::DialogControl kControls[] = {
    {win::kListViewClass, kComponentsTable, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 7,
     7, 319, 204},
    {win::kButtonClass, kOkButton, u"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 222, 215, 50, 14},
    {win::kButtonClass, kCancelButton, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, 0, 275, 215, 50, 14},
};

}  // namespace

void RegisterDlgComponentsTemplate() {
  win::DialogTemplate t{kComponentsTemplate,
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                        0,
                        333,
                        236,
                        u"Компоненты",
                        u"MS Shell Dlg",
                        8,
                        kControls,
                        {}};
  win::RegisterDialogTemplate(t);
}
