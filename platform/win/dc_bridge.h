// dc_bridge.h: how the window layer obtains a device context for owner drawing.
//
// Owner-drawn frames hand their parent a CDC (dc.h) that draws with the QPainter of
// the frame's paint event. The drawing layer implements these two functions; the
// window layer calls them around each WM_DRAWITEM. The CDC must not outlive Release.
#pragma once

#include "export.h"

class CDC;

// qpainter is a QPainter* that stays active until CDC_Release.
VETRIX_WIN_API CDC* CDC_FromPainter(void* qpainter);
VETRIX_WIN_API void CDC_Release(CDC* dc);
