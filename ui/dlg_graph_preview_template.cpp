// dlg_graph_preview_template.cpp: dialog template 157, the graph page: the channel and
// component choosers above the points table on the left and the plot frame on the right.
// The table grows with the page's height, the plot with its width and height.
#include "platform/win/resources.h"
#include "ui/dlg_graph_preview.h"

namespace {

constexpr DWORD kTableStyle = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
constexpr DWORD kComboStyle = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

constexpr win::DialogControl kControls[] = {
    {win::kStaticClass, kGraphChannelLabel, u"Канал", SS_LEFT, 0, 7, 8, 30, 8},
    {win::kComboBoxClass, kGraphChannelCombo, nullptr, kComboStyle, 0, 40, 6, 50, 120},
    {win::kStaticClass, kGraphComponentLabel, u"Компонент", SS_LEFT, 0, 98, 8, 44, 8},
    {win::kComboBoxClass, kGraphComponentCombo, nullptr, kComboStyle, 0, 144, 6, 80, 160},
    {win::kListViewClass, kGraphPointsTable, nullptr, kTableStyle, 0, 7, 23, 217, 138},
    {win::kStaticClass, kGraphPlotFrame, nullptr, SS_BLACKFRAME, 0, 230, 6, 366, 155},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {kGraphPointsTable, 0, 0, 0, 100},
    {kGraphPlotFrame, 0, 0, 100, 100},
};

}  // namespace

void RegisterDlgGraphPreviewTemplate() {
  win::DialogTemplate t{kGraphPageTemplate, WS_CHILD | DS_CONTROL | DS_SETFONT, 0, 600, 166, u"",
                        u"MS Shell Dlg", 8, kControls, kLayout};
  win::RegisterDialogTemplate(t);
}
