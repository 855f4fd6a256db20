// qt_bridge.h: the window layer seen from Qt, for the host and for tests only.
//
// The module's own code never includes this header (it names Qt classes). The host
// wraps its main window in a handle so that module windows can be owned by it; tests
// find the widget behind a handle to drive it with real mouse and key events.
#pragma once

#include "export.h"
#include "win_types.h"

class QWidget;
class QPoint;

namespace win {

// A handle for a widget made outside the layer (the host's main window). The handle
// lives as long as the widget; wrapping a widget twice gives the same handle.
VETRIX_WIN_API HWND WrapWidget(QWidget* widget);
// The widget behind a handle, null for a destroyed handle.
VETRIX_WIN_API QWidget* WidgetOf(HWND hWnd);
// The innermost layer window containing a widget, null when none does.
VETRIX_WIN_API HWND HandleOf(const QWidget* widget);
// The deepest Qt widget under a point given in a window's client coordinates, with
// the point in that widget's coordinates: where a test sends its mouse events.
VETRIX_WIN_API QWidget* WidgetAt(HWND hWnd, POINT client, QPoint* local);

}  // namespace win
