// dlg_out_table_template.cpp: dialog template 150, the one-table page (a child page
// without caption, 338 x 90 dialog units) whose table grows with the page. Constant
// data; registering copies it into the window layer once.
#include "platform/win/resources.h"
#include "ui/dlg_out_table.h"

namespace {

constexpr DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT;
constexpr DWORD kTableStyle = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

constexpr win::DialogControl kControls[] = {
    {win::kListViewClass, kOutTableControl, nullptr, kTableStyle, 0, 7, 7, 324, 76},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {kOutTableControl, 0, 0, 100, 100},
};

}  // namespace

void RegisterDlgOutTableTemplate() {
  win::RegisterDialogTemplate(
      {kDlgOutTableTemplate, kPageStyle, 0, 338, 90, u"", u"MS Shell Dlg", 8, kControls, kLayout});
}
