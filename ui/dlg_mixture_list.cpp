// dlg_mixture_list.cpp: the mixture list page — the table of loaded mixtures and the
// components of a clicked one.
//
// Assumes the mixture information table (MixtureInfoTable) exists as a module-wide
// object; its window may be absent. The loaded mixtures list is the module-wide one.
#include "ui/dlg_mixture_list.h"

#include <algorithm>

#include "calc/presentation.h"
#include "platform/sys/format.h"
#include "platform/sys/local_time.h"
#include "plugin/settings.h"
#include "ui/dlg_out_table.h"

namespace {

struct TableColumn {
  const char16_t* header;
  int width;
};
constexpr TableColumn kColumns[] = {
    {u"№", 40}, {u"Имя", 400}, {u"Баллон", 180}, {u"Дата выпуска", 100}, {u"Действителен до", 120}};

// A certificate date as the table shows it: local date, "----" when there is none.
sys::Text MixtureDateText(std::int64_t date) {
  if (date <= 0) return u"----";
  return sys::FormatLocalTime(date, u"%d.%m.%Y");
}

// Whether an LVN_ITEMCHANGED note says a row gained or lost the selection.
bool SelectionChanged(LPARAM lParam) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
  return (change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED);
}

}  // namespace

DlgMixtureList::DlgMixtureList() : CDialogEx(IDD_MIXTURE_LIST), m_lists(Loaded()) {}

void DlgMixtureList::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, IDC_MIXTURE_TABLE, m_table);
}

// Binds the table and sets its styles and five columns. Returns TRUE.
BOOL DlgMixtureList::OnInitDialog() {
  CDialogEx::OnInitDialog();
  m_table.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
    m_table.InsertColumn(i, kColumns[i].header, LVCFMT_LEFT, kColumns[i].width);
  return TRUE;
}

BOOL DlgMixtureList::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  // A click, and every change of the selection (the arrows, Page Up/Down, Home/End, Shift
  // and Ctrl with them): the grid reports a row that became selected as GCN_ROWSELECTED,
  // one that lost it as LVN_ITEMCHANGED.
  const bool selection = header && header->idFrom == IDC_MIXTURE_TABLE &&
                         (header->code == NM_CLICK || header->code == GCN_ROWSELECTED ||
                          (header->code == LVN_ITEMCHANGED && SelectionChanged(lParam)));
  if (selection) {
    ShowClickedRow();
    *result = 0;
    return TRUE;
  }
  return CDialogEx::OnNotify(wParam, lParam, result);
}

void DlgMixtureList::ShowMixtures() {
  m_table.DeleteAllRows();
  MixtureInfoTable().table.DeleteAllRows();
  const MixtureList& mixtures = m_lists.mixtures;
  for (std::size_t i = 0; i < mixtures.size(); ++i) {
    const Mixture* mixture = mixtures[i].get();
    if (!mixture) continue;
    const int row = m_table.AppendRow();
    if (row < 0) continue;
    if (GridRowData* data = m_table.GetRowData(row)) data->key = mixture->id;
    m_table.SetItemText(row, 0, sys::Format(u"%d", i + 1));
    m_table.SetItemText(row, 1, mixture->name);
    m_table.SetItemText(row, 2, mixture->ballon);
    m_table.SetItemText(row, 3, MixtureDateText(mixture->release));
    m_table.SetItemText(row, 4, MixtureDateText(mixture->expiry));
  }
}

void DlgMixtureList::ShowClickedRow() {
  MixtureInfoTable().table.DeleteAllRows();
  if (m_table.GetSelectedCount() != 1) return;
  const int row = m_table.GetNextItem(-1, LVNI_SELECTED);
  if (const GridRowData* data = m_table.GetRowData(row)) ShowMixtureInfo(data->key);
}

void DlgMixtureList::ShowMixtureInfo(std::int32_t id) {
  const MixtureList& mixtures = m_lists.mixtures;
  auto it = std::find_if(mixtures.begin(), mixtures.end(), [id](const auto& m) { return m && m->id == id; });
  if (it == mixtures.end()) return;
  Settings settings;
  const int decimals = Settings::qtySymInProg;
  CGridCtrl& table = MixtureInfoTable().table;
  const auto& components = (*it)->components;
  for (std::size_t n = 0; n < components.size(); ++n) {
    const int row = table.AppendRow();
    if (row < 0) continue;
    table.SetItemText(row, 0, sys::Format(u"%d", n + 1));
    table.SetItemText(row, 1, components[n].name);
    table.SetItemText(row, 2, NumberCellText(components[n].concentration, decimals));
    table.SetItemText(row, 3, NumberCellText(components[n].deviation, decimals));
  }
}

void DlgMixtureList::RemoveMixture(std::int32_t id) {
  MixtureList& mixtures = m_lists.mixtures;
  auto it = std::find_if(mixtures.begin(), mixtures.end(), [id](const auto& m) { return m && m->id == id; });
  if (it != mixtures.end()) mixtures.erase(it);
}

void DlgMixtureList::ClearMixtures() {
  m_lists.mixtures.clear();
  m_table.DeleteAllRows();
  MixtureInfoTable().table.DeleteAllRows();
}

DlgMixtureList& MixtureListPage() {
  static DlgMixtureList page;
  return page;
}
