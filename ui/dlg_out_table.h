// dlg_out_table.h: CDlgOutTable, a page of the main window's lower tab strip that holds
// one table, and the module's three instances of it (chromatogram information, mixture
// information, results).
//
// The page is a child dialog without caption made from template 150; its table is the
// CGridCtrl on control 1023 and grows with the page. The main window sets the columns;
// the pages write the rows, number cells with NumberCellText (calc/presentation.h), the
// one rule by which the module writes a value. Enter and Escape do nothing on the page.
#pragma once

#include "platform/win/dialog.h"
#include "ui/grid_ctrl.h"

inline constexpr UINT kDlgOutTableTemplate = 150;
inline constexpr int kOutTableControl = 1023;

class CDlgOutTable : public CDialog {
 public:
  CDlgOutTable();

  // Creates the page window from template 150 as a child of `parent`; FALSE when the
  // template is not registered.
  using CDialog::Create;
  BOOL Create(CWnd* parent);

  CGridCtrl table;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnCancel() override;
};

// The module-wide instances (lower tabs 0, 1 and 3 of the main window).
CDlgOutTable& ChromatogramInfoTable();
CDlgOutTable& MixtureInfoTable();
CDlgOutTable& ResultsTable();

// Registers dialog template 150 with the window layer.
void RegisterDlgOutTableTemplate();
