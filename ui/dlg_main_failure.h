// dlg_main_failure.h: the main window's guard around its handlers — an exception raised
// inside a window message is caught there and shown in a message box, never passed on
// to the window layer or the host.
#pragma once

#include <exception>
#include <utility>

#include "data/database.h"
#include "platform/win/window.h"

// "Ошибка базы данных:\r\n<SQLite text>\r\nБаза данных: <location>".
sys::Text DatabaseFailureText(const DataBase::SqlException& failure);

// Message boxes with the error icon, owned by `owner` (may be null).
void ShowDatabaseFailure(const CWnd* owner, const DataBase::SqlException& failure);
void ShowFailure(const CWnd* owner, const char* what);

// Runs `action`; what it throws is shown and swallowed.
template <class Action>
void GuardedCall(const CWnd* owner, Action&& action) {
  try {
    std::forward<Action>(action)();
  } catch (const DataBase::SqlException& failure) {
    ShowDatabaseFailure(owner, failure);
  } catch (const std::exception& failure) {
    ShowFailure(owner, failure.what());
  } catch (...) {
    ShowFailure(owner, "unknown exception");
  }
}
