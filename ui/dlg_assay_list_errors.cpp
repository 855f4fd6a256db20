// dlg_assay_list_errors.cpp: the message boxes by which a page reports a failed database
// operation instead of letting the exception reach the host.
//
// Assumes the runtime may be anywhere in a window message; the box is modal.
#include <string>

#include "platform/sys/text.h"
#include "platform/win/messagebox.h"
#include "ui/dlg_assay_list.h"

namespace {

constexpr char16_t kModuleCaption[] = u"Проверка линейности детектора";

}  // namespace

// Shows SQLite's text, the database location and the statement (when there was one).
void ShowDatabaseError(HWND owner, const DataBase::SqlException& error) {
  sys::Text text = u"Ошибка базы данных: " + sys::FromUtf8(error.what());
  text += u"\r\nБаза данных: " + DataBaseConnectionBase::instance().location();
  if (!error.sql.empty()) text += u"\r\nЗапрос: " + sys::FromUtf8(error.sql);
  ::MessageBox(owner, text.c_str(), kModuleCaption,
               MB_OK | MB_ICONERROR);
}

// Shows the failure's own text.
void ShowPageFailure(HWND owner, const std::exception& error) {
  const sys::Text text = u"Ошибка: " + sys::FromUtf8(error.what());
  ::MessageBox(owner, text.c_str(), kModuleCaption,
               MB_OK | MB_ICONERROR);
}
