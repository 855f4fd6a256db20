// dlg_out_table.cpp: CDlgOutTable, the one-table page of the lower tab strip, its number
// cell and the module's three instances.
//
// Assumes template 150 is registered (RegisterDlgOutTableTemplate) before a page window
// is made. The instances are function-local statics: made on first use, alive until
// the module is unloaded.
#include "ui/dlg_out_table.h"

CDlgOutTable::CDlgOutTable() : CDialog(kDlgOutTableTemplate) {}

BOOL CDlgOutTable::Create(CWnd* parent) { return CDialog::Create(kDlgOutTableTemplate, parent); }

void CDlgOutTable::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kOutTableControl, table);
}

// A page inside a tab strip: Enter and Escape must neither close nor hide it.
void CDlgOutTable::OnOK() {}
void CDlgOutTable::OnCancel() {}

CDlgOutTable& ChromatogramInfoTable() {
  static CDlgOutTable page;
  return page;
}

CDlgOutTable& MixtureInfoTable() {
  static CDlgOutTable page;
  return page;
}

CDlgOutTable& ResultsTable() {
  static CDlgOutTable page;
  return page;
}
