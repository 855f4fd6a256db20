// dlg_components.h: the modal "Компоненты" dialog that edits the names of the component
// list: the canonical name of entries beyond the default list and every additional name.
//
// The dialog edits a working copy (one ComponentEditRow per entry, rebuilt at every
// opening); OK writes the edited rows into the list in place and into profile section
// "Components"; Cancel drops them. Entries stay where they are, so curves keep valid
// references. Made once by the main window and reused.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/records.h"
#include "platform/win/dialog.h"
#include "ui/grid_ctrl.h"

inline constexpr UINT kComponentsTemplate = 158;
inline constexpr int kComponentsTable = 1039;

struct ComponentEditRow {
  std::int32_t id = 0;
  sys::Text name;     // the edited name; meaningful when nameEdited
  sys::Text altName;  // the edited additional name; meaningful when altNameEdited
  ComponentName* entry = nullptr;
  bool modified = false;
  bool nameEdited = false;
  bool altNameEdited = false;
};

class DlgComponents : public CDialogEx {
 public:
  enum { IDD = kComponentsTemplate };
  explicit DlgComponents(CWnd* parent = nullptr);

  // IDOK after "ОК" (edits written), IDCANCEL after "Отмена" (edits dropped).
  INT_PTR DoModal() override;

  const std::vector<ComponentEditRow>& Rows() const { return rows; }

  CGridCtrl table;  // 1039

  BOOL OnInitDialog() override;
  void OnOK() override;
  // "ОК" (1035) and "Отмена" (1036) act as IDOK and IDCANCEL.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void DoDataExchange(CDataExchange* dx) override;

 private:
  ComponentEditRow* RowWithId(std::int32_t id);
  void FillTable();

  std::vector<ComponentEditRow> rows;
};

// Registers dialog template 158.
void RegisterDlgComponentsTemplate();
