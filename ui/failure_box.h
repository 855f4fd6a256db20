// failure_box.h: the module's message boxes for a failure that a window message caught —
// one for database failures, one for any other — so that no exception leaves a handler
// for the window layer or the host. Every box of the module has the same caption and the
// error icon, and is modal.
#pragma once

#include "data/database.h"
#include "platform/sys/text.h"
#include "platform/win/window.h"

inline constexpr char16_t kFailureCaption[] = u"Проверка линейности детектора";

// "Ошибка базы данных:\r\n<SQLite text>\r\nБаза данных: <location>", followed by
// "\r\nЗапрос: <statement>" when the failure names one. Assumes UTF-8 exception texts.
sys::Text DatabaseFailureText(const DataBase::SqlException& failure);

// The box of a database failure, owned by `owner` (may be null).
void ShowDatabaseFailure(HWND owner, const DataBase::SqlException& failure);

// The box of any other failure: "Ошибка:\r\n<what>" (UTF-8 `what`; null reads as empty).
void ShowFailure(HWND owner, const char* what);
