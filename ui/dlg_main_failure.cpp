// dlg_main_failure.cpp: the message boxes by which the main window reports a failure that
// a handler caught. Assumes exception texts are UTF-8 (SQLite's are).
#include "ui/dlg_main_failure.h"

#include "platform/sys/format.h"
#include "platform/win/messagebox.h"

sys::Text DatabaseFailureText(const DataBase::SqlException& failure) {
  return sys::Format(u"Ошибка базы данных:\r\n%s\r\nБаза данных: %s", sys::FromUtf8(failure.what()),
                     DataBaseConnectionBase::instance().location());
}

void ShowDatabaseFailure(const CWnd* owner, const DataBase::SqlException& failure) {
  const sys::Text text = DatabaseFailureText(failure);
  ::MessageBox(owner ? owner->GetSafeHwnd() : nullptr, text.c_str(), u"Ошибка базы данных", MB_OK | MB_ICONERROR);
}

void ShowFailure(const CWnd* owner, const char* what) {
  const sys::Text text = sys::Format(u"Ошибка:\r\n%s", sys::FromUtf8(what ? what : ""));
  ::MessageBox(owner ? owner->GetSafeHwnd() : nullptr, text.c_str(), u"Ошибка", MB_OK | MB_ICONERROR);
}
