// window_handle.h: the one place where the host turns its windows into the window handles
// that modules receive (the handle passed to command handlers) and back.
//
// Handles are the window layer's HWND: the host's main window is wrapped by the layer
// (win::WrapWidget), so module windows can be owned by it and are destroyed with it.
#pragma once

class QWidget;

// The handle given to modules for `window`; null for null. Wrapping twice gives the same
// handle; the handle lives as long as the widget.
void* HostWindowHandle(QWidget* window);

// The widget behind a window handle (the host's or a module's window), or null for 0 and
// destroyed windows.
QWidget* WidgetFromHandle(void* handle);
