// dlg_assay_list_template.cpp: dialog template 153, the chromatogram list page.
//
// A child page without caption, in dialog units of its font: the four buttons stay in
// place, the filter grows by 40 % and the list by 100 % of the size change.
#include "platform/win/resources.h"
#include "ui/dlg_assay_list.h"

namespace {

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

constexpr win::DialogControl kControls[] = {
    {win::kButtonClass, IDC_ASSAY_ADD, u"Добавить", kButton, 0, 6, 7, 65, 14},
    {win::kButtonClass, IDC_ASSAY_REMOVE, u"Удалить", kButton, 0, 73, 7, 65, 14},
    {win::kButtonClass, IDC_ASSAY_REMOVE_ALL, u"Удалить все", kButton, 0, 140, 7, 65, 14},
    {win::kButtonClass, IDC_ASSAY_OPEN, u"Открыть", kButton, 0, 207, 7, 65, 14},
    {win::kComboBoxClass, IDC_ASSAY_FILTER, nullptr, CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
     277, 7, 152, 54},
    {win::kListViewClass, IDC_ASSAY_LIST, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 7, 25, 422,
     47},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {IDC_ASSAY_FILTER, 0, 0, 40, 0},
    {IDC_ASSAY_LIST, 0, 0, 100, 100},
};

}  // namespace

// Registers the template with the window layer (which copies it).
void RegisterDlgAssayListTemplate() {
  win::RegisterDialogTemplate({IDD_ASSAY_LIST, WS_CHILD | DS_CONTROL | DS_SETFONT, 0, 436, 79, nullptr, u"MS Shell Dlg", 8,
                               kControls, kLayout});
}
