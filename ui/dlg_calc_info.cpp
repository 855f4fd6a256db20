// dlg_calc_info.cpp: the intermediate calculations page — the table of one mixture and
// one channel, and its column layout kept in the profile.
//
// Assumes the main window sets the context and fills both combo boxes after each run.
// The cells come from CalcInfoRows, the same texts the headless check prints. The layout
// is written only when it changed since the last write (one profile call per value).
#include "ui/dlg_calc_info.h"

#include <algorithm>
#include <array>

#include "calc/presentation.h"
#include "platform/sys/format.h"
#include "platform/win/menu.h"
#include "plugin/profile.h"
#include "plugin/settings.h"

namespace {

constexpr std::array<int, kCalcInfoColumnCount> kDefaultWidths = {40,  200, 80,  110, 80,  80,  140, 140,
                                                                   110, 120, 150, 90,  110, 110, 110};
constexpr int kStoredWidthDefault = 20;
constexpr int kSmallestSavedWidth = 2;

sys::Text Prefix(std::size_t position) { return sys::Format(u"%d_", position); }

// The item data of the selected entry (CB_ERR without a selection).
std::int32_t SelectedData(const CComboBox& combo) {
  if (!combo.GetSafeHwnd()) return CB_ERR;
  const int selection = combo.GetCurSel();
  if (selection == CB_ERR) return CB_ERR;
  return static_cast<std::int32_t>(combo.GetItemData(selection));
}

}  // namespace

DlgCalcInfo::DlgCalcInfo() : CDialogEx(IDD_CALC_INFO) {}

DlgCalcInfo::~DlgCalcInfo() { SaveColumns(); }

sys::Text DlgCalcInfo::Section() const { return m_sectionParent + u"\\" + m_sectionName; }

void DlgCalcInfo::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, IDC_CALC_INFO_TABLE, m_table);
  DDX_Control(dx, IDC_CALC_INFO_MIXTURE, m_mixtureCombo);
  DDX_Control(dx, IDC_CALC_INFO_CHANNEL, m_channelCombo);
}

// Binds the controls, reads the layout and inserts the fifteen columns with their
// persisted widths. Returns TRUE.
BOOL DlgCalcInfo::OnInitDialog() {
  CDialogEx::OnInitDialog();
  LoadColumns();
  m_table.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_columnMenu = true;
  const TextRow headers = CalcInfoHeader();
  for (int key = 0; key < kCalcInfoColumnCount; ++key)
    InsertColumnPersisted(key, headers[static_cast<std::size_t>(key)], kDefaultWidths[static_cast<std::size_t>(key)], key);
  return TRUE;
}

BOOL DlgCalcInfo::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if ((id == IDC_CALC_INFO_MIXTURE || id == IDC_CALC_INFO_CHANNEL) && code == CBN_SELCHANGE) {
    ShowCalcInfo();
    return TRUE;
  }
  if (code == 0 && id >= static_cast<int>(ID_CALC_INFO_COLUMN_FIRST) && id <= static_cast<int>(ID_CALC_INFO_COLUMN_LAST)) {
    ToggleColumn(id - static_cast<int>(ID_CALC_INFO_COLUMN_FIRST));
    return TRUE;
  }
  return CDialogEx::OnCommand(wParam, lParam);
}

BOOL DlgCalcInfo::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->idFrom == IDC_CALC_INFO_TABLE) {
    const auto* note = reinterpret_cast<const GridNotify*>(lParam);
    if (header->code == GCN_CONTEXTMENU) {
      if (m_columnMenu) ShowColumnMenu(note->first, note->second);
      *result = 1;
      return TRUE;
    }
    if (header->code == GCN_COLUMNRESIZED) {
      ColumnResized(note->first, note->second);
      *result = 1;
      return TRUE;
    }
  }
  return CDialogEx::OnNotify(wParam, lParam, result);
}

// ---- the table ----

void DlgCalcInfo::ShowCalcInfo() {
  m_table.DeleteAllRows();
  if (!m_context) return;
  Settings settings;
  const int decimals = Settings::qtySymInProg;
  const std::int32_t mixtureId = SelectedData(m_mixtureCombo);
  const std::int32_t channel = SelectedData(m_channelCombo);
  for (const TextRow& row : CalcInfoRows(m_context->curves, mixtureId, channel, decimals)) m_table.AppendRow(row);
}

// ---- the column layout ----

void DlgCalcInfo::LoadColumns() {
  const sys::Text section = Section();
  m_columns.clear();
  m_layoutChanged = false;  // what was just read is what the profile holds
  const std::int32_t count = GetInt(section, u"qtyCols", 0);
  for (std::int32_t i = 0; i < count; ++i) {
    const sys::Text prefix = Prefix(static_cast<std::size_t>(i));
    const std::int32_t key = GetInt(section, prefix + u"id", 0);
    const std::int32_t width = GetInt(section, prefix + u"width", kStoredWidthDefault);
    const bool visible = GetInt(section, prefix + u"visible", 0) != 0;
    if (key >= 0) m_columns.push_back({key, width, visible});
  }
}

void DlgCalcInfo::SaveColumns() {
  if (!m_layoutChanged) return;
  const sys::Text section = Section();
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    ColumnSetting& column = m_columns[i];
    const sys::Text prefix = Prefix(i);
    SetInt(section, prefix + u"id", column.key);
    if (column.width == 0) column.width = kSmallestSavedWidth;
    SetInt(section, prefix + u"width", column.width);
    SetInt(section, prefix + u"visible", column.visible ? 1 : 0);
  }
  SetInt(section, u"qtyCols", static_cast<std::int32_t>(m_columns.size()));
  m_layoutChanged = false;
}

void DlgCalcInfo::InsertColumnPersisted(int position, const sys::Text& header, int defaultWidth, std::int32_t key) {
  int width = defaultWidth;
  auto it = std::find_if(m_columns.begin(), m_columns.end(), [key](const ColumnSetting& c) { return c.key == key; });
  if (it != m_columns.end()) {
    width = it->visible ? it->width : 0;
  } else {
    m_columns.push_back({key, defaultWidth, true});
    m_layoutChanged = true;
  }
  m_table.InsertColumn(position, header.c_str(), LVCFMT_LEFT, width);
}

void DlgCalcInfo::ShowColumnMenu(int x, int y) {
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  CHeaderCtrl* header = m_table.GetHeaderCtrl();
  const int count = header ? header->GetItemCount() : 0;
  for (int i = 0; i < count; ++i) {
    char16_t text[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    header->GetItem(i, &item);
    const bool visible = static_cast<std::size_t>(i) < m_columns.size() && m_columns[static_cast<std::size_t>(i)].visible;
    menu.AppendMenu(MF_STRING | (visible ? MF_CHECKED : MF_UNCHECKED), ID_CALC_INFO_COLUMN_FIRST + static_cast<UINT>(i),
                    text);
  }
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, x, y, this);
  menu.DestroyMenu();
}

void DlgCalcInfo::ToggleColumn(int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= m_columns.size()) return;
  ColumnSetting& column = m_columns[static_cast<std::size_t>(position)];
  column.visible = !column.visible;
  m_layoutChanged = true;
  m_table.SetColumnWidth(position, column.visible ? column.width : 0);
}

void DlgCalcInfo::ColumnResized(int position, int width) {
  if (position < 0 || static_cast<std::size_t>(position) >= m_columns.size()) return;
  m_columns[static_cast<std::size_t>(position)].width = width;
  m_layoutChanged = true;
}

DlgCalcInfo& CalcInfoPage() {
  static DlgCalcInfo page;
  return page;
}
