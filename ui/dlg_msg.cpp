// dlg_msg.cpp: CDlgMSG, the system messages page: the module-wide message log shown as
// numbered text, filtered by the three level check boxes.
//
// Assumes template 151 is registered (RegisterDlgMsgTemplate) before the window is made.
// The texts come from MessagesText, which the headless check uses too. The page object
// is a function-local static, alive until the module is unloaded.
#include "ui/dlg_msg.h"

#include "calc/presentation.h"

MessageLog& SystemMessageLog() {
  static MessageLog log;
  return log;
}

CDlgMSG::CDlgMSG() : CDialog(kDlgMsgTemplate), log(SystemMessageLog()) {}

BOOL CDlgMSG::Create(CWnd* parent) { return CDialog::Create(kDlgMsgTemplate, parent); }

void CDlgMSG::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kMsgTextEdit, edit);
  DDX_Text(dx, kMsgTextEdit, shownText);
  DDX_Check(dx, kMsgErrorsCheck, showErrors);
  DDX_Check(dx, kMsgWarningsCheck, showWarnings);
  DDX_Check(dx, kMsgInfosCheck, showInfos);
}

void CDlgMSG::Clear() { log.Clear(); }

void CDlgMSG::AddMessage(MessageLevel level, sys::TextView text) { log.AddMessage(level, text); }

void CDlgMSG::ShowMessages() {
  shownText = MessagesText(log, showErrors > 0, showWarnings > 0, showInfos > 0);
  if (IsWindow(m_hWnd)) UpdateData(FALSE);
}

BOOL CDlgMSG::OnInitDialog() {
  CDialog::OnInitDialog();
  Clear();
  ShowMessages();
  return TRUE;
}

// A level check box was toggled: read the three values back and show again.
BOOL CDlgMSG::OnCommand(WPARAM wParam, LPARAM lParam) {
  int id = LOWORD(wParam);
  bool levelBox = id == kMsgErrorsCheck || id == kMsgWarningsCheck || id == kMsgInfosCheck;
  if (levelBox && HIWORD(wParam) == BN_CLICKED) {
    UpdateData(TRUE);
    ShowMessages();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

// A page inside a tab strip: Enter and Escape must neither close nor hide it.
void CDlgMSG::OnOK() {}
void CDlgMSG::OnCancel() {}

CDlgMSG& MessagesPage() {
  static CDlgMSG page;
  return page;
}
