// dlg_assay_list.h: the chromatogram list page ("Хроматограммы", dialog template 153).
//
// The page shows the module-wide loaded-assay list (Loaded().assays) in a plain list view,
// keeps it sorted (SortAssays), adds chromatograms through the host's chromatogram dialog,
// removes them (releasing their mixtures in the usage table and on the mixture list page),
// opens them in the host and shows the peaks of the one selected row in the chromatogram
// information table. Every change of the list is announced to the main window (the parent of the
// page's tab control) by posting WM_ASSAYS_CHANGED. The identifiers are kept in the host
// profile, section "Assays". A database failure never leaves a handler: it is shown in a
// message box and the chromatograms loaded before it stay listed.
// Costs: every refill rebuilds the whole list view (a few thousand rows at most).
#pragma once

#include <cstdint>
#include <exception>
#include <vector>

#include "data/database.h"
#include "data/loaded_lists.h"
#include "platform/win/combobox.h"
#include "platform/win/dialog.h"
#include "platform/win/listctrl.h"

// Posted to the main window whenever the chromatogram list has changed; wParam, lParam 0.
inline constexpr UINT WM_ASSAYS_CHANGED = WM_USER + 11;

inline constexpr UINT IDD_ASSAY_LIST = 153;
inline constexpr int IDC_ASSAY_LIST = 1016;
inline constexpr int IDC_ASSAY_REMOVE = 1017;
inline constexpr int IDC_ASSAY_OPEN = 1018;
inline constexpr int IDC_ASSAY_REMOVE_ALL = 1019;
inline constexpr int IDC_ASSAY_ADD = 1020;
inline constexpr int IDC_ASSAY_FILTER = 1021;

// Rows of the chromatogram information table: separator text in the name column.
inline constexpr char16_t kChromatogramInfoSeparator[] = u"----------------------------------";

class DlgAssayList : public CDialogEx {
 public:
  DlgAssayList();

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // Enter and Escape (in the list or the filter) leave the page as it is: a page ends only
  // with the main window.
  void OnOK() override {}
  void OnCancel() override {}

  // Restores the list from the profile ("Assays": "qtyAssays", "%d_Assay_ID") and
  // announces it (AssaysChanged), also when it is empty. Database errors are shown.
  void LoadSavedList();
  // Writes the list's identifiers to the profile in list order.
  void SaveList();
  // "Удалить" (all = false): the selected rows; "Удалить все" and Recalculate (true):
  // everything with the filter at "Все" (or at typed text naming no entry), else the
  // filter's mixture, then the selected rows.
  // Announces the change when anything was removed. The unloaded ids (below) stay: only
  // the "Удалить все" button with the filter at "Все" drops them.
  void Remove(bool all);
  // Sorts the list, refills the list view and posts WM_ASSAYS_CHANGED to the main window,
  // its wParam the number of this change (ChangeCount).
  void AssaysChanged();
  // How many changes were announced so far; a run made after change n has shown every
  // change up to n.
  std::uint64_t ChangeCount() const { return m_changes; }
  // Rebuilds the list view from the loaded-assay list and the filter; empties the
  // chromatogram information table.
  void FillList();
  // Fills the chromatogram information table with the peaks of chromatogram `id`;
  // nothing when it is not listed or has no peaks.
  void ShowChromatogramInfo(std::int32_t id);

  // "Добавить": the host's chromatogram dialog, then loading what it chose.
  void AddFromHost();
  // "Открыть" / double click: the selected chromatograms' files in the host.
  void OpenSelected();
  // A filter selection change: sort and refill; nothing is posted.
  void FilterChanged();
  // Refills the filter after a change of the list: "Все" (item data -1) and each loaded
  // mixture by name (item data = its identifier), in the combo box's sorted order. The
  // chosen mixture stays chosen while it is loaded (also when one handler removes and
  // reloads it, as Recalculate does); otherwise "Все" is.
  void RefreshFilter();
  // Text typed into the filter's edit field: the entry it names (compared case-blind), or
  // no selection, which shows and removes like "Все"; then the list is refilled.
  void FilterTyped();
  // The mixture the filter lets through, or -1 for every chromatogram ("Все", or text that
  // names no entry).
  std::int32_t FilterMixture() const;

  // The loaded-assay list and the mixture usage table (module-wide, Loaded()).
  AssayList& Assays() { return m_lists.assays; }
  std::vector<MixtureUse>& MixtureUsage() { return m_lists.usage; }
  CComboBox& Filter() { return m_filter; }
  CListCtrl& List() { return m_list; }

  // Loads chromatograms `ids` in order on one connection (loadAssay; listed ones are not
  // reread) and returns how many are now listed or were already. A database failure is
  // shown in a message box; the failing id and those after it are kept as unloaded ids.
  // Does not announce anything (callers run AssaysChanged).
  int LoadIds(const std::vector<std::int32_t>& ids);
  // The identifiers the user has chosen: the listed ones in list order, then those a
  // database failure kept from loading. SaveList writes these; Recalculate should reload
  // these (LoadIds) rather than only the listed ones.
  std::vector<std::int32_t> ListedIds() const;
  const std::vector<std::int32_t>& UnloadedIds() const { return m_unloaded; }

  // Whether the filter lets chromatogram `assay` through ("Все" or no selection: all).
  bool PassesFilter(const Assay& assay) const;

 private:
  void RemoveAllClicked();
  void RemoveAt(std::size_t index);
  bool RemoveFilterMixture(std::int32_t mixtureId);
  bool RemoveSelectedRows();
  std::vector<std::int32_t> SelectedIds() const;
  void ShowClickedRow();

  // Posted to the page by RefreshFilter (WM_COMMAND from the filter with this code): the
  // handler that removed the chosen mixture has ended.
  static constexpr UINT kFilterSettledCode = 0x7F01;
  bool FilterSettled(WPARAM wParam);

  sys::Text m_allCaption;                 // "Все", the filter's first entry
  std::int32_t m_filterReturning = -1;    // a chosen mixture that left the list in this handler
  const sys::Text m_section = u"Assays";  // profile section
  CComboBox m_filter;                     // 1021
  CListCtrl m_list;                       // 1016; item data = chromatogram id
  LoadedLists& m_lists;                   // the loaded-assay list and the usage table
  std::vector<std::int32_t> m_unloaded;   // chosen, but kept out by a database failure
  std::uint64_t m_changes = 0;            // changes announced (AssaysChanged)
};

// The module-wide page object.
DlgAssayList& AssayListPage();

// Registers dialog template 153.
void RegisterDlgAssayListTemplate();
