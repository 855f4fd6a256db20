// dlg_assay_list_filter.cpp: the chromatogram page's filter — "Все" and the loaded
// mixtures, kept in step with the list, and text typed into its edit field.
//
// Assumes the combo box 1021 is sorted (so "Все" need not be the first entry: entries are
// told apart by their item data, -1 for "Все"). Costs: one refill per change of the list.
#include <algorithm>

#include "ui/dlg_assay_list.h"

namespace {
constexpr std::int32_t kEveryMixture = -1;  // item data of "Все"
}  // namespace

bool DlgAssayList::FilterSettled(WPARAM wParam) {
  if (LOWORD(wParam) != IDC_ASSAY_FILTER || HIWORD(wParam) != kFilterSettledCode) return false;
  m_filterReturning = kEveryMixture;
  return true;
}

std::int32_t DlgAssayList::FilterMixture() const {
  if (!m_filter.GetSafeHwnd()) return kEveryMixture;
  const int selection = m_filter.GetCurSel();
  if (selection == CB_ERR) return kEveryMixture;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(m_filter.GetItemData(selection)));
}

// A chosen mixture that is gone and back within one handler (Recalculate removes and
// reloads the filtered chromatograms) stays chosen; gone at the end of the handler, it is
// forgotten.
void DlgAssayList::RefreshFilter() {
  if (!m_filter.GetSafeHwnd()) return;
  std::int32_t chosen = FilterMixture();
  if (chosen == kEveryMixture) chosen = m_filterReturning;
  m_filter.ResetContent();
  int select = m_filter.AddString(m_allCaption);
  m_filter.SetItemData(select, static_cast<DWORD_PTR>(static_cast<std::uint32_t>(kEveryMixture)));
  for (const auto& mixture : m_lists.mixtures) {
    if (!mixture) continue;
    const int entry = m_filter.AddString(mixture->name);
    if (entry < 0) continue;
    m_filter.SetItemData(entry, static_cast<DWORD_PTR>(static_cast<std::uint32_t>(mixture->id)));
  }
  // AddString in a sorted box moves entries: find the chosen one by its data afterwards.
  bool found = chosen == kEveryMixture;
  for (int entry = 0; entry < m_filter.GetCount(); ++entry)
    if (static_cast<std::int32_t>(static_cast<std::uint32_t>(m_filter.GetItemData(entry))) == chosen) {
      select = entry;
      found = true;
    }
  m_filter.SetCurSel(select);
  m_filterReturning = found ? kEveryMixture : chosen;
  if (!found && m_hWnd) PostMessage(WM_COMMAND, MAKEWPARAM(IDC_ASSAY_FILTER, kFilterSettledCode), 0);
}

void DlgAssayList::FilterTyped() {
  const sys::Text typed = GetDlgItemText(IDC_ASSAY_FILTER);
  const int entry = typed.empty() ? CB_ERR : m_filter.FindStringExact(-1, typed.c_str());
  if (entry != CB_ERR) m_filter.SetCurSel(entry);
  FilterChanged();
}
