// messagebox.h: message boxes with caption, text, icon and buttons (MB_* flags).
//
// Modal: returns the button chosen (IDOK, IDCANCEL, IDYES, ...). A message box hook
// (automation.h) answers in place of the user and records the call.
#pragma once

#include "export.h"
#include "win_messages.h"
#include "win_styles.h"
#include "win_types.h"

// owner may be null; caption null shows "Ошибка", as the system default caption does.
VETRIX_WIN_API int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// Owned by the active window of the layer.
VETRIX_WIN_API int AfxMessageBox(LPCWSTR text, UINT type = MB_OK);
