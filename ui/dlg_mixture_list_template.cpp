// dlg_mixture_list_template.cpp: dialog template 154, the mixture list page.
//
// A child page without caption holding one table that grows with the page.
#include "platform/win/resources.h"
#include "ui/dlg_mixture_list.h"

namespace {

constexpr win::DialogControl kControls[] = {
    {win::kListViewClass, IDC_MIXTURE_TABLE, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 7, 7,
     346, 65},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {IDC_MIXTURE_TABLE, 0, 0, 100, 100},
};

}  // namespace

// Registers the template with the window layer (which copies it).
void RegisterDlgMixtureListTemplate() {
  win::RegisterDialogTemplate({IDD_MIXTURE_LIST, WS_CHILD | DS_CONTROL | DS_SETFONT, 0, 360, 79, nullptr, u"MS Shell Dlg",
                               8, kControls, kLayout});
}
