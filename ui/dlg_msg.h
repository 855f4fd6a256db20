// dlg_msg.h: CDlgMSG, the system messages page of the main window's lower tab strip.
//
// The page shows the messages of the last run, numbered through the shown levels, in a
// read-only text box; three check boxes choose the levels (errors, warnings,
// information). The messages live in the module-wide SystemMessageLog(); the main window
// clears it before a run and appends the run's messages to it afterwards, and the page
// shows it. The check values survive runs. Enter and Escape do nothing on the page.
#pragma once

#include "calc/messages.h"
#include "platform/win/dialog.h"
#include "platform/win/edit.h"

inline constexpr UINT kDlgMsgTemplate = 151;
inline constexpr int kMsgErrorsCheck = 1010;
inline constexpr int kMsgWarningsCheck = 1011;
inline constexpr int kMsgInfosCheck = 1014;
inline constexpr int kMsgTextEdit = 1015;

class CDlgMSG : public CDialog {
 public:
  CDlgMSG();

  // Creates the page window from template 151 as a child of `parent`; FALSE when the
  // template is not registered.
  using CDialog::Create;
  BOOL Create(CWnd* parent);

  // The operations of the message log (SystemMessageLog()).
  void Clear();
  void AddMessage(MessageLevel level, sys::TextView text);
  // Builds the shown text from the log and the check values and puts it into the edit
  // box (when the window exists).
  void ShowMessages();

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  sys::Text shownText;
  CEdit edit;
  MessageLog& log;  // SystemMessageLog()
  int showErrors = 1;
  int showWarnings = 1;
  int showInfos = 1;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnCancel() override;
};

// The module-wide message log of the last run (held by the messages page).
MessageLog& SystemMessageLog();

// The module-wide messages page (lower tab 5 of the main window).
CDlgMSG& MessagesPage();

// Registers dialog template 151 with the window layer.
void RegisterDlgMsgTemplate();
