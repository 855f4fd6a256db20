// dlg_calc_info.h: the intermediate calculations page ("Промежуточные расчеты", dialog
// template 155).
//
// For the mixture and channel chosen in its two combo boxes the page lists the
// intermediate values of the last run (CalcInfoRows of calc/presentation.h, so its cells
// are those of the headless check). Column widths and visibility live in the profile
// section "TablesSettings\CalcInfo"; a context menu on the table hides and shows columns.
// The layout is written only when it changed since the last write.
// Costs: one row per curve of the chosen channel, rebuilt whole.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/run.h"
#include "platform/win/combobox.h"
#include "platform/win/dialog.h"
#include "ui/grid_ctrl.h"

inline constexpr UINT IDD_CALC_INFO = 155;
inline constexpr int IDC_CALC_INFO_TABLE = 1023;
inline constexpr int IDC_CALC_INFO_CHANNEL = 1025;
inline constexpr int IDC_CALC_INFO_MIXTURE = 1051;
// Menu commands of the column menu: first + column position.
inline constexpr UINT ID_CALC_INFO_COLUMN_FIRST = 4024;
inline constexpr UINT ID_CALC_INFO_COLUMN_LAST = 4124;
inline constexpr int kCalcInfoColumnCount = 15;

// One table column's persisted layout.
struct ColumnSetting {
  std::int32_t key = 0;
  std::int32_t width = 0;  // pixels
  bool visible = true;
};

class DlgCalcInfo : public CDialogEx {
 public:
  DlgCalcInfo();
  // Writes a changed layout.
  ~DlgCalcInfo() override;

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // Enter and Escape inside the page do nothing.
  void OnOK() override {}
  void OnCancel() override {}

  // Rebuilds the table for the selected mixture and channel; only empties it without a
  // context.
  void ShowCalcInfo();
  // Reads the column settings from the profile, replacing the current ones (and
  // clearing the layout-changed flag).
  void LoadColumns();
  // Writes the column settings when the layout changed; clears the changed flag.
  void SaveColumns();
  // Inserts table column `position` with its persisted width (0 when hidden), appending
  // a default setting for a key the layout lacks.
  void InsertColumnPersisted(int position, const sys::Text& header, int defaultWidth, std::int32_t key);

  // Set or cleared (null) by the main window after each run.
  void SetMixtures(const MixtureList* mixtures) { m_mixtures = mixtures; }
  void SetContext(const CalculationContext* context) { m_context = context; }
  const MixtureList* Mixtures() const { return m_mixtures; }
  const CalculationContext* Context() const { return m_context; }

  CComboBox& MixtureCombo() { return m_mixtureCombo; }
  CComboBox& ChannelCombo() { return m_channelCombo; }
  CGridCtrl& Table() { return m_table; }
  const std::vector<ColumnSetting>& Columns() const { return m_columns; }
  bool LayoutChanged() const { return m_layoutChanged; }

 private:
  sys::Text Section() const;
  void ShowColumnMenu(int x, int y);
  void ToggleColumn(int position);
  void ColumnResized(int position, int width);

  const sys::Text m_sectionParent = u"TablesSettings";
  const sys::Text m_sectionName = u"CalcInfo";
  CGridCtrl m_table;            // 1023
  CComboBox m_mixtureCombo;     // 1051; item data = mixture identifier
  CComboBox m_channelCombo;     // 1025; item data = channel number
  std::vector<ColumnSetting> m_columns;  // entry i describes table column i
  bool m_columnMenu = false;
  bool m_layoutChanged = false;
  const MixtureList* m_mixtures = nullptr;
  const CalculationContext* m_context = nullptr;
};

// The module-wide page object.
DlgCalcInfo& CalcInfoPage();

// Registers dialog template 155.
void RegisterDlgCalcInfoTemplate();
