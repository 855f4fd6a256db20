// dlg_main_failure.h: the main window's guard around its handlers — an exception raised
// inside a window message is caught there and shown in the module's failure box
// (ui/failure_box.h), never passed on to the window layer or the host.
#pragma once

#include <exception>
#include <utility>

#include "ui/failure_box.h"

// Runs `action`; what it throws is shown (owned by `owner`, may be null) and swallowed.
template <class Action>
void GuardedCall(const CWnd* owner, Action&& action) {
  const HWND window = owner ? owner->GetSafeHwnd() : nullptr;
  try {
    std::forward<Action>(action)();
  } catch (const DataBase::SqlException& failure) {
    ShowDatabaseFailure(window, failure);
  } catch (const std::exception& failure) {
    ShowFailure(window, failure.what());
  } catch (...) {
    ShowFailure(window, "unknown exception");
  }
}
