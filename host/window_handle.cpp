// window_handle.cpp: host windows as window-layer handles (see window_handle.h).
#include "host/window_handle.h"

#include "platform/win/qt_bridge.h"

void* HostWindowHandle(QWidget* window) { return win::WrapWidget(window); }

QWidget* WidgetFromHandle(void* handle) { return win::WidgetOf(static_cast<HWND>(handle)); }
