// dlg_calc_info_template.cpp: dialog template 155, the intermediate calculations page.
//
// A child page without caption: the mixture and channel combo boxes with their labels
// above the table; the channel box grows by 40 % of the width change, the table by
// 100 % of the size change, the rest stays in place.
#include "platform/win/resources.h"
#include "ui/dlg_calc_info.h"

namespace {

constexpr int kStaticId = -1;
constexpr DWORD kCombo = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

constexpr win::DialogControl kControls[] = {
    {win::kStaticClass, kStaticId, u"Смесь", SS_LEFT, 0, 7, 9, 24, 8},
    {win::kComboBoxClass, IDC_CALC_INFO_MIXTURE, nullptr, kCombo, 0, 32, 7, 160, 30},
    {win::kStaticClass, kStaticId, u"Канал", SS_LEFT, 0, 241, 9, 24, 8},
    {win::kComboBoxClass, IDC_CALC_INFO_CHANNEL, nullptr, kCombo, 0, 267, 7, 78, 30},
    {win::kListViewClass, IDC_CALC_INFO_TABLE, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 7,
     24, 358, 59},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {IDC_CALC_INFO_CHANNEL, 0, 0, 40, 0},
    {IDC_CALC_INFO_TABLE, 0, 0, 100, 100},
};

}  // namespace

// Registers the template with the window layer (which copies it).
void RegisterDlgCalcInfoTemplate() {
  win::RegisterDialogTemplate({IDD_CALC_INFO, WS_CHILD | DS_CONTROL | DS_SETFONT, 0, 372, 90, nullptr, u"MS Shell Dlg", 8,
                               kControls, kLayout});
}
