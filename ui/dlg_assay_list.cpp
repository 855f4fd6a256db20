// dlg_assay_list.cpp: the chromatogram list page — adding, removing, filtering, opening
// and showing chromatograms of the module-wide loaded-assay list.
//
// Assumes the chromatogram information table (ChromatogramInfoTable) and the mixture
// list page exist as module-wide objects; their windows may be absent (then their rows
// are simply not there). Database work opens one connection per user action.
#include "ui/dlg_assay_list.h"

#include <algorithm>

#include "calc/presentation.h"
#include "calc/run.h"
#include "data/loaders.h"
#include "platform/sys/format.h"
#include "platform/win/resources.h"
#include "plugin/host_api.h"
#include "plugin/host_bridge.h"
#include "ui/failure_box.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "ui/dlg_mixture_list.h"
#include "ui/dlg_out_table.h"

namespace {

constexpr UINT kAllCaptionString = 4015;
constexpr int kNoMixtureFilter = -1;  // item data of "Все"
constexpr std::int32_t kNoChannel = 2147483647;
constexpr char kHostAssayDialog[] = "Main/OpenAssayIdDlgEx";
constexpr std::int32_t kHostDialogCapacity = 256;

struct ListColumn {
  const char16_t* header;
  int width;
};
constexpr ListColumn kColumns[] = {
    {u"№", 40}, {u"Проба", 350}, {u"Время анализа", 130}, {u"Смесь", 250}};

sys::Text IdKey(std::size_t position) { return sys::Format(u"%d_Assay_ID", position); }

// Whether an LVN_ITEMCHANGED note says a row gained or lost the selection.
bool SelectionChanged(LPARAM lParam) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
  return (change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED);
}

}  // namespace

DlgAssayList::DlgAssayList() : CDialogEx(IDD_ASSAY_LIST), m_lists(Loaded()) {}

void DlgAssayList::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, IDC_ASSAY_FILTER, m_filter);
  DDX_Control(dx, IDC_ASSAY_LIST, m_list);
}

// Binds the controls, puts "Все" (item data -1) into the filter and sets up the list's
// styles and columns. Returns TRUE (the default focus).
BOOL DlgAssayList::OnInitDialog() {
  CDialogEx::OnInitDialog();
  m_allCaption = LoadString(kAllCaptionString);
  if (m_allCaption.empty()) m_allCaption = u"Все";
  const int all = m_filter.AddString(m_allCaption);
  m_filter.SetItemData(all, static_cast<DWORD_PTR>(kNoMixtureFilter));
  m_filter.SetCurSel(all);
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
    m_list.InsertColumn(i, kColumns[i].header, LVCFMT_LEFT, kColumns[i].width);
  return TRUE;
}

BOOL DlgAssayList::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_ASSAY_ADD: AddFromHost(); return TRUE;
      case IDC_ASSAY_REMOVE: Remove(false); return TRUE;
      case IDC_ASSAY_REMOVE_ALL: RemoveAllClicked(); return TRUE;
      case IDC_ASSAY_OPEN: OpenSelected(); return TRUE;
      default: break;
    }
  }
  if (id == IDC_ASSAY_FILTER && code == CBN_SELCHANGE) {
    FilterChanged();
    return TRUE;
  }
  if (FilterSettled(wParam)) return TRUE;
  if (id == IDC_ASSAY_FILTER && code == CBN_EDITCHANGE) {
    FilterTyped();
    return TRUE;
  }
  return CDialogEx::OnCommand(wParam, lParam);
}

BOOL DlgAssayList::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->idFrom == IDC_ASSAY_LIST) {
    // A click, and every change of the selection by keyboard or program.
    if (header->code == NM_CLICK || (header->code == LVN_ITEMCHANGED && SelectionChanged(lParam))) {
      ShowClickedRow();
      *result = 0;
      return TRUE;
    }
    if (header->code == NM_DBLCLK) {
      OpenSelected();
      *result = 0;
      return TRUE;
    }
  }
  return CDialogEx::OnNotify(wParam, lParam, result);
}

// ---- the list ----

bool DlgAssayList::PassesFilter(const Assay& assay) const {
  const std::int32_t key = FilterMixture();
  return key == kNoMixtureFilter || (assay.mixture && assay.mixture->id == key);
}

void DlgAssayList::FillList() {
  DeleteAllGridRows(ChromatogramInfoTable().table);
  if (!m_list.GetSafeHwnd()) return;
  m_list.DeleteAllItems();
  int row = 0;
  for (const Assay& assay : m_lists.assays) {
    if (!PassesFilter(assay)) continue;
    const int item = m_list.InsertItem(row, sys::Format(u"%d", row + 1));
    if (item < 0) continue;
    m_list.SetItemText(item, 1, assay.sample);
    m_list.SetItemText(item, 2, AssayDateText(assay.date));
    m_list.SetItemText(item, 3, assay.mixture ? assay.mixture->name : sys::Text(kNoValueText));
    m_list.SetItemData(item, static_cast<DWORD_PTR>(static_cast<std::uint32_t>(assay.id)));
    ++row;
  }
}

void DlgAssayList::AssaysChanged() {
  SortAssays(m_lists.assays);
  RefreshFilter();
  FillList();
  // The main window is the parent of the tab control that holds this page.
  ++m_changes;
  if (m_hWnd) ::PostMessage(::GetParent(::GetParent(m_hWnd)), WM_ASSAYS_CHANGED, static_cast<WPARAM>(m_changes), 0);
}

void DlgAssayList::FilterChanged() {
  SortAssays(m_lists.assays);
  FillList();
}

std::vector<std::int32_t> DlgAssayList::SelectedIds() const {
  std::vector<std::int32_t> ids;
  if (!m_list.GetSafeHwnd()) return ids;
  for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
    ids.push_back(static_cast<std::int32_t>(m_list.GetItemData(row)));
  return ids;
}

// ---- loading and saving ----

int DlgAssayList::LoadIds(const std::vector<std::int32_t>& ids) {
  std::size_t next = 0;
  const auto forgetUnloaded = [&] {
    for (std::size_t i = 0; i < next; ++i) std::erase(m_unloaded, ids[i]);
  };
  try {
    const std::size_t listed = loadAssays(ids, m_lists, &next);
    forgetUnloaded();
    return static_cast<int>(listed);
  } catch (const DataBase::SqlException& error) {
    ShowDatabaseFailure(m_hWnd, error);
  } catch (const std::exception& error) {
    ShowFailure(m_hWnd, error.what());
  }
  forgetUnloaded();
  // Keep what the failure left unread, so that it is saved and tried again later.
  for (; next < ids.size(); ++next) {
    const std::int32_t id = ids[next];
    const bool listedNow = std::any_of(m_lists.assays.begin(), m_lists.assays.end(),
                                       [id](const Assay& a) { return a.id == id; });
    if (!listedNow && std::find(m_unloaded.begin(), m_unloaded.end(), id) == m_unloaded.end())
      m_unloaded.push_back(id);
  }
  // What was listed before the failure: the handled ids that the list now holds.
  return static_cast<int>(std::count_if(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(next), [&](std::int32_t id) {
    return std::any_of(m_lists.assays.begin(), m_lists.assays.end(), [id](const Assay& a) { return a.id == id; });
  }));
}

std::vector<std::int32_t> DlgAssayList::ListedIds() const {
  std::vector<std::int32_t> ids;
  ids.reserve(m_lists.assays.size() + m_unloaded.size());
  for (const Assay& assay : m_lists.assays) ids.push_back(assay.id);
  for (std::int32_t id : m_unloaded)
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  return ids;
}

void DlgAssayList::LoadSavedList() {
  const std::int32_t count = GetInt(m_section, u"qtyAssays", 0);
  std::vector<std::int32_t> ids;
  for (std::int32_t j = 0; j < count; ++j) ids.push_back(GetInt(m_section, IdKey(static_cast<std::size_t>(j)), 0));
  LoadIds(ids);
  AssaysChanged();
}

void DlgAssayList::SaveList() {
  const std::vector<std::int32_t> ids = ListedIds();
  SetInt(m_section, u"qtyAssays", static_cast<std::int32_t>(ids.size()));
  for (std::size_t j = 0; j < ids.size(); ++j) SetInt(m_section, IdKey(j), ids[j]);
}

void DlgAssayList::AddFromHost() {
  if (!HostHasCommand(kHostAssayDialog)) return;
  std::vector<std::int32_t> chosen(kHostDialogCapacity, 0);
  AssayIdBuffer buffer{chosen.data(), kHostDialogCapacity};
  const std::int32_t count = HostExecute(kHostAssayDialog, &buffer, m_hWnd);
  if (count <= 0 || count > kHostDialogCapacity) return;
  chosen.resize(static_cast<std::size_t>(count));
  const std::size_t before = m_lists.assays.size();
  // A partly failed load still shows (and announces) what did load.
  if (LoadIds(chosen) > 0 || m_lists.assays.size() != before) AssaysChanged();
}

void DlgAssayList::OpenSelected() {
  const std::vector<std::int32_t> ids = SelectedIds();
  try {
    openAssayFilesInHost(ids);
  } catch (const DataBase::SqlException& error) {
    ShowDatabaseFailure(m_hWnd, error);
  } catch (const std::exception& error) {
    ShowFailure(m_hWnd, error.what());
  }
}

// ---- removing ----

void DlgAssayList::RemoveAt(std::size_t index) {
  const Assay& assay = m_lists.assays[index];
  if (assay.mixture) {
    const std::int32_t mixtureId = assay.mixture->id;
    if (releaseMixtureUse(mixtureId, m_lists)) MixtureListPage().RemoveMixture(mixtureId);
  }
  m_lists.assays.erase(m_lists.assays.begin() + static_cast<std::ptrdiff_t>(index));
}

bool DlgAssayList::RemoveFilterMixture(std::int32_t mixtureId) {
  bool changed = false;
  for (std::size_t i = 0; i < m_lists.assays.size();) {
    const Mixture* mixture = m_lists.assays[i].mixture;
    if (mixture && mixture->id == mixtureId) {
      RemoveAt(i);
      changed = true;
    } else {
      ++i;
    }
  }
  return changed;
}

bool DlgAssayList::RemoveSelectedRows() {
  bool changed = false;
  for (std::int32_t id : SelectedIds()) {
    auto it = std::find_if(m_lists.assays.begin(), m_lists.assays.end(), [id](const Assay& a) { return a.id == id; });
    if (it == m_lists.assays.end()) continue;
    RemoveAt(static_cast<std::size_t>(it - m_lists.assays.begin()));
    changed = true;
  }
  return changed;
}

void DlgAssayList::Remove(bool all) {
  DeleteAllGridRows(ChromatogramInfoTable().table);
  bool changed = false;
  if (all) {
    // What is removed is what the list shows: everything, or the filter's mixture.
    const std::int32_t key = FilterMixture();
    if (key == kNoMixtureFilter) {
      MixtureListPage().ClearMixtures();
      m_lists.assays.clear();
      m_lists.usage.clear();
      changed = true;
    } else {
      changed = RemoveFilterMixture(key);
    }
  }
  if (RemoveSelectedRows()) changed = true;
  if (changed) AssaysChanged();
}

// The user's "Удалить все": with the filter at "Все" the ids a failure kept from loading
// go as well, so nothing removed comes back from the profile.
void DlgAssayList::RemoveAllClicked() {
  const bool everything = FilterMixture() == kNoMixtureFilter;
  if (everything) m_unloaded.clear();
  Remove(true);
}

// ---- the chromatogram information table ----

void DlgAssayList::ShowClickedRow() {
  DeleteAllGridRows(ChromatogramInfoTable().table);
  if (m_list.GetSelectedCount() != 1) return;
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) ShowChromatogramInfo(static_cast<std::int32_t>(m_list.GetItemData(row)));
}

void DlgAssayList::ShowChromatogramInfo(std::int32_t id) {
  auto it = std::find_if(m_lists.assays.begin(), m_lists.assays.end(), [id](const Assay& a) { return a.id == id; });
  if (it == m_lists.assays.end() || it->peaks.empty()) return;
  Settings settings;
  const int decimals = Settings::qtySymInProg;
  CGridCtrl& table = ChromatogramInfoTable().table;
  std::int32_t channel = 0;
  for (std::size_t j = 0; j < it->peaks.size(); ++j) {
    const Peak& peak = it->peaks[j];
    if (peak.channel != channel) {
      channel = peak.channel;
      const int separator = table.AppendRow();
      if (separator >= 0) table.SetItemText(separator, 1, kChromatogramInfoSeparator);
    }
    const int row = table.AppendRow();
    if (row < 0) continue;
    table.SetItemText(row, 0, sys::Format(u"%d", j + 1));
    table.SetItemText(row, 1, peak.name);
    table.SetItemText(row, 2, peak.channel == kNoChannel ? sys::Text(kNoValueText) : sys::Format(u"%d", peak.channel + 1));
    table.SetItemText(row, 3, NumberCellText(peak.area, decimals));
    table.SetItemText(row, 4, NumberCellText(peak.time, decimals));
  }
}

DlgAssayList& AssayListPage() {
  static DlgAssayList page;
  return page;
}
