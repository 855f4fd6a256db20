// dlg_mixture_list.h: the mixture list page ("Смеси", dialog template 154).
//
// The page holds the module-wide loaded mixtures list (Loaded().mixtures, each mixture
// allocated by itself so chromatograms can point at it) and shows it as a table, rebuilt
// when the "Смеси" tab is selected (ShowMixtures) and not kept up to date in between.
// Selecting one mixture (by click or keyboard) shows its certified components in the
// mixture information table; several selected leave it empty.
// Costs: one table row per mixture, rebuilt whole.
#pragma once

#include <cstdint>

#include "data/loaded_lists.h"
#include "platform/win/dialog.h"
#include "ui/grid_ctrl.h"

inline constexpr UINT IDD_MIXTURE_LIST = 154;
inline constexpr int IDC_MIXTURE_TABLE = 1022;

class DlgMixtureList : public CDialogEx {
 public:
  DlgMixtureList();

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // Enter and Escape leave the page as it is: a page ends only with the main window.
  void OnOK() override {}
  void OnCancel() override {}

  // Rebuilds the mixture table from the loaded mixtures list and empties the mixture
  // information table.
  void ShowMixtures();
  // Fills the mixture information table with the components of mixture `id`; nothing
  // when it is not listed.
  void ShowMixtureInfo(std::int32_t id);
  // Deletes the first listed mixture with identifier `id`; the table keeps its rows
  // until the next ShowMixtures.
  void RemoveMixture(std::int32_t id);
  // Deletes every mixture and empties the mixture table and the mixture information table.
  void ClearMixtures();

  MixtureList& Mixtures() { return m_lists.mixtures; }
  CGridCtrl& Table() { return m_table; }

 private:
  void ShowClickedRow();

  CGridCtrl m_table;      // 1022; row keys = mixture identifiers
  LoadedLists& m_lists;   // the loaded mixtures list
};

// The module-wide page object.
DlgMixtureList& MixtureListPage();

// Registers dialog template 154.
void RegisterDlgMixtureListTemplate();
