// failure_box.cpp: the module's failure message boxes (see failure_box.h).
#include "ui/failure_box.h"

#include "platform/sys/format.h"
#include "platform/win/messagebox.h"

sys::Text DatabaseFailureText(const DataBase::SqlException& failure) {
  sys::Text text = sys::Format(u"Ошибка базы данных:\r\n%s\r\nБаза данных: %s", sys::FromUtf8(failure.what()),
                               DataBaseConnectionBase::instance().location());
  if (!failure.sql.empty()) text += u"\r\nЗапрос: " + sys::FromUtf8(failure.sql);
  return text;
}

void ShowDatabaseFailure(HWND owner, const DataBase::SqlException& failure) {
  const sys::Text text = DatabaseFailureText(failure);
  ::MessageBox(owner, text.c_str(), kFailureCaption, MB_OK | MB_ICONERROR);
}

void ShowFailure(HWND owner, const char* what) {
  const sys::Text text = sys::Format(u"Ошибка:\r\n%s", sys::FromUtf8(what ? what : ""));
  ::MessageBox(owner, text.c_str(), kFailureCaption, MB_OK | MB_ICONERROR);
}
