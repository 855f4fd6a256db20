// resources_impl.h (internal): registered templates and icons as the layer keeps them.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <vector>

#include "resources.h"

struct HICON__ {
  QPixmap pixmap;
};

namespace win::detail {

struct ControlData {
  sys::Text windowClass;
  int id;
  sys::Text text;
  DWORD style;
  DWORD exStyle;
  short x, y, cx, cy;
};

struct TemplateData {
  UINT id;
  DWORD style;
  DWORD exStyle;
  short cx, cy;
  sys::Text caption;
  sys::Text fontFace;
  WORD fontPoints;
  std::vector<ControlData> controls;
  std::vector<DynamicLayoutItem> layout;
};

// Null when the template is not registered.
const TemplateData* FindTemplate(UINT id);
QIcon IconToQt(HICON icon);

}  // namespace win::detail
