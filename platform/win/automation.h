// automation.h: hooks that answer the layer's modal interactions, and lookup of
// windows and controls, for tests and for the host's unattended (batch) mode.
//
// Without hooks, modal dialogs, message boxes, popup menus and the folder picker wait
// for a user. A hook stands in for the user: the modal dialog hook runs from the
// dialog's event loop once the dialog is shown and active (it ends the dialog through
// its controls or EndDialog); the others answer at once and never show a window.
// Setting an empty function removes a hook. The Scoped* helpers set a hook for their
// lifetime and record the calls. Everything runs on the user-interface thread.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "export.h"
#include "win_types.h"

namespace win {

struct MessageBoxCall {
  HWND owner;
  sys::Text caption;
  sys::Text text;
  UINT type;  // MB_* flags as given
  UINT Icon() const { return type & 0x00F0u; }
  UINT Buttons() const { return type & 0x000Fu; }
};
// Returns the button the user would have chosen (IDOK, IDYES, ...).
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
VETRIX_WIN_API void SetMessageBoxHook(MessageBoxHook hook);

// dialog: the shown modal dialog; templateId: its template.
using ModalDialogHook = std::function<void(HWND dialog, UINT templateId)>;
VETRIX_WIN_API void SetModalDialogHook(ModalDialogHook hook);

struct MenuItemInfo {
  UINT id;  // 0 for a separator
  sys::Text text;
  bool checked;
  bool grayed;
  bool separator;
};
struct PopupMenuCall {
  HWND owner;
  int x, y;  // screen coordinates
  UINT flags;
  bool systemMenu;
  std::vector<MenuItemInfo> items;
};
// Returns the command chosen, 0 to dismiss the menu.
using PopupMenuHook = std::function<UINT(const PopupMenuCall&)>;
VETRIX_WIN_API void SetPopupMenuHook(PopupMenuHook hook);

// Returns the folder chosen, or nothing for Cancel.
using FolderPickerHook = std::function<std::optional<sys::Text>(HWND owner)>;
VETRIX_WIN_API void SetFolderPickerHook(FolderPickerHook hook);

// The first descendant of root (depth first, in creation order) with this control
// identifier; null when there is none.
VETRIX_WIN_API HWND FindControl(HWND root, int id);
// The child windows of a window, in creation order (a tab control's pages in the order
// they were made).
VETRIX_WIN_API std::vector<HWND> ChildWindows(HWND parent);
// Top-level windows of the layer, in creation order.
VETRIX_WIN_API std::vector<HWND> TopLevelWindows();
// The window created from this dialog template most recently and still alive, or null.
VETRIX_WIN_API HWND FindDialog(UINT templateId);
// The template a dialog window was made from, 0 for other windows.
VETRIX_WIN_API UINT DialogTemplateOf(HWND dialog);
// Clicks a button as the user would (BM_CLICK): check boxes toggle, BN_CLICKED is sent.
VETRIX_WIN_API BOOL ClickButton(HWND parent, int id);
// Runs the Qt event loop until no posted message or deferred deletion is pending.
VETRIX_WIN_API void ProcessPendingMessages();

// Records message boxes while alive and answers each with `answer`.
class VETRIX_WIN_API ScopedMessageBoxRecorder {
 public:
  explicit ScopedMessageBoxRecorder(int answer = 1);
  ~ScopedMessageBoxRecorder();
  ScopedMessageBoxRecorder(const ScopedMessageBoxRecorder&) = delete;
  ScopedMessageBoxRecorder& operator=(const ScopedMessageBoxRecorder&) = delete;
  const std::vector<MessageBoxCall>& Calls() const { return calls_; }

 private:
  std::vector<MessageBoxCall> calls_;
};

// Sets a modal dialog hook while alive.
class VETRIX_WIN_API ScopedModalDialogHook {
 public:
  explicit ScopedModalDialogHook(ModalDialogHook hook);
  ~ScopedModalDialogHook();
  ScopedModalDialogHook(const ScopedModalDialogHook&) = delete;
  ScopedModalDialogHook& operator=(const ScopedModalDialogHook&) = delete;
};

// Sets a popup menu hook while alive and records the menus shown.
class VETRIX_WIN_API ScopedPopupMenuHook {
 public:
  explicit ScopedPopupMenuHook(UINT answer);
  explicit ScopedPopupMenuHook(PopupMenuHook hook);
  ~ScopedPopupMenuHook();
  ScopedPopupMenuHook(const ScopedPopupMenuHook&) = delete;
  ScopedPopupMenuHook& operator=(const ScopedPopupMenuHook&) = delete;
  const std::vector<PopupMenuCall>& Calls() const { return calls_; }

 private:
  std::vector<PopupMenuCall> calls_;
};

}  // namespace win
