// controls.h (internal): creation of windows of the layer's classes.
//
// CreateWindowFrom makes the Qt widget of a class, its handle, attaches the object,
// places it, shows it when WS_VISIBLE, and sends WM_CREATE and the first WM_SIZE.
#pragma once

#include "handle.h"

namespace win::detail {

struct CreateRequest {
  LPCWSTR className = nullptr;
  QString text;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};  // child: parent's client coordinates; top-level: screen, frame included
  HWND parent = nullptr;
  int id = 0;
  CWnd* attach = nullptr;
  void* param = nullptr;
};

// Null when the class is unknown or OnCreate refused.
HWND CreateWindowFrom(const CreateRequest& request);
// The kind a class name stands for (case-blind); Plain for null or "".
bool KindOfClass(LPCWSTR className, WindowKind* kind);

// Widget makers of each class; parent is the Qt parent (null for top-level windows).
WindowImpl* MakePlainWindow(DWORD style, QWidget* parent);
WindowImpl* MakeButton(DWORD style, QWidget* parent);
WindowImpl* MakeEdit(DWORD style, DWORD exStyle, QWidget* parent);
WindowImpl* MakeStatic(DWORD style, QWidget* parent);
WindowImpl* MakeComboBox(DWORD style, QWidget* parent);
WindowImpl* MakeListView(DWORD style, DWORD exStyle, QWidget* parent);
WindowImpl* MakeTabControl(DWORD style, QWidget* parent);

// Kind of a control's widget class for stand-in objects (CWnd::FromHandle).
std::unique_ptr<CWnd> MakeStandIn(WindowKind kind);

}  // namespace win::detail
