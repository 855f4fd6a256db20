// dlg_components.cpp: the "Компоненты" dialog: a grid of the component list in which the
// additional names (and the names of entries beyond the default list) can be edited.
//
// Assumes the component list is built (plugin/component_store.h) and never reallocates, so rows
// may point at its entries. Only OK changes the list and the profile, and only the rows
// the user edited. Costs: one grid row per entry, rebuilt at every opening.
#include "ui/dlg_components.h"

#include "plugin/component_store.h"
#include "platform/sys/format.h"
#include "platform/win/resources.h"
#include "plugin/profile.h"

namespace {
constexpr int kOkButton = 1035;
constexpr int kCancelButton = 1036;
constexpr UINT kModuleIcon = 102;
constexpr int kNameColumn = 1;
constexpr int kAltNameColumn = 2;
}  // namespace

DlgComponents::DlgComponents(CWnd* parent) : CDialogEx(kComponentsTemplate, parent) {}

INT_PTR DlgComponents::DoModal() { return CDialogEx::DoModal(); }

void DlgComponents::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, kComponentsTable, table);
}

// Icon, table styles and columns, then a fresh working row per entry of the list.
BOOL DlgComponents::OnInitDialog() {
  CDialogEx::OnInitDialog();
  HICON icon = LoadIcon(kModuleIcon);
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  table.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  table.SetExtendedStyle(table.GetExtendedStyle() | 0x200);
  table.InsertColumn(0, u"№", LVCFMT_LEFT, 30);
  table.InsertColumn(kNameColumn, u"Имя", LVCFMT_LEFT, 200);
  table.InsertColumn(kAltNameColumn, u"Доп. имя", LVCFMT_LEFT, 200);
  rows.clear();
  for (ComponentName& entry : ComponentList()) rows.push_back({entry.id, {}, {}, &entry, false, false, false});
  FillTable();
  return TRUE;
}

// One grid row per working row, keyed by the entry's identifier.
void DlgComponents::FillTable() {
  table.DeleteAllRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ComponentEditRow& r = rows[i];
    const int row = table.AppendRow();
    if (row < 0) continue;
    if (GridRowData* data = table.GetRowData(row)) data->key = r.id;
    table.SetItemText(row, 0, sys::Format(u"%d", static_cast<int>(i) + 1));
    table.SetItemText(row, kNameColumn, r.nameEdited ? r.name : r.entry->name);
    table.SetItemText(row, kAltNameColumn, r.altNameEdited ? r.altName : r.entry->altName);
  }
}

ComponentEditRow* DlgComponents::RowWithId(std::int32_t id) {
  for (ComponentEditRow& r : rows)
    if (r.id == id) return &r;
  return nullptr;
}

// GCN_BEGINEDIT: the number column never, the name column only beyond the default
// entries, the additional name always. GCN_CELLCHANGED: the new text goes into the row
// with the cell's key, and stays in the cell.
BOOL DlgComponents::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header || header->idFrom != static_cast<UINT_PTR>(kComponentsTable))
    return CDialogEx::OnNotify(wParam, lParam, result);
  if (header->code != GCN_BEGINEDIT && header->code != GCN_CELLCHANGED)
    return CDialogEx::OnNotify(wParam, lParam, result);
  const auto* note = reinterpret_cast<const GridNotify*>(lParam);
  const GridRowData* data = table.GetRowData(note->first);
  const std::int32_t key = data ? data->key : -1;
  if (header->code == GCN_BEGINEDIT) {
    if (note->second == 0) *result = 0;
    else if (note->second == kNameColumn) *result = key > LastDefaultComponentId() ? 1 : 0;
    else *result = 1;
    return TRUE;
  }
  *result = 1;
  ComponentEditRow* row = data ? RowWithId(key) : nullptr;
  if (!row) return TRUE;
  const sys::Text text = table.GetItemText(note->first, note->second);
  if (note->second == kNameColumn) {
    row->name = text;
    row->nameEdited = true;
    row->modified = true;
  } else if (note->second == kAltNameColumn) {
    row->altName = text;
    row->altNameEdited = true;
    row->modified = true;
  }
  return TRUE;
}

// The edited rows go into their entries and the profile (failed writes are ignored:
// the entries change all the same); then the dialog ends with IDOK.
void DlgComponents::OnOK() {
  SetInt(kComponentsSection, u"qtyComps", static_cast<std::int32_t>(rows.size()));
  for (ComponentEditRow& r : rows) {
    if (!r.modified) continue;
    if (r.nameEdited) {
      r.entry->name = r.name;
      SetString(kComponentsSection, ComponentNameKey(r.id), r.name);
    }
    if (r.altNameEdited) {
      r.entry->altName = r.altName;
      SetString(kComponentsSection, ComponentAltNameKey(r.id), r.altName);
    }
    r.modified = false;
  }
  EndDialog(IDOK);
}

BOOL DlgComponents::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kOkButton) {
    OnOK();
    return TRUE;
  }
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kCancelButton) {
    OnCancel();
    return TRUE;
  }
  return CDialogEx::OnCommand(wParam, lParam);
}
