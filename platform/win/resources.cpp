// resources.cpp: the registries of dialog templates, strings and icons.
//
// The layer keeps copies, keyed by identifier. Icons are decoded once when registered;
// each requested size is scaled once and then shared.
#include <QImage>

#include <map>
#include <tuple>
#include <unordered_map>

#include "handle.h"
#include "resources_impl.h"

namespace win::detail {
namespace {

sys::Text Copy(const char16_t* text) { return text ? sys::Text(text) : sys::Text(); }

std::unordered_map<UINT, TemplateData>& Templates() {
  static std::unordered_map<UINT, TemplateData> templates;
  return templates;
}
std::unordered_map<UINT, sys::Text>& Strings() {
  static std::unordered_map<UINT, sys::Text> strings;
  return strings;
}
std::unordered_map<UINT, QImage>& IconImages() {
  static std::unordered_map<UINT, QImage> images;
  return images;
}
struct IconKey {
  UINT id;
  int cx, cy;
  bool operator<(const IconKey& o) const { return std::tie(id, cx, cy) < std::tie(o.id, o.cx, o.cy); }
};
// Handles are never freed: they are shared, as icons loaded from resources are.
std::map<IconKey, HICON>& IconHandles() {
  static std::map<IconKey, HICON> handles;
  return handles;
}

}  // namespace

const TemplateData* FindTemplate(UINT id) {
  auto it = Templates().find(id);
  return it == Templates().end() ? nullptr : &it->second;
}

QIcon IconToQt(HICON icon) { return icon ? QIcon(icon->pixmap) : QIcon(); }

}  // namespace win::detail

namespace win {

void RegisterDialogTemplate(const DialogTemplate& t) {
  detail::TemplateData data{t.id, t.style, t.exStyle, t.cx, t.cy, detail::Copy(t.caption), detail::Copy(t.fontFace),
                            t.fontPoints, {}, {t.layout.begin(), t.layout.end()}};
  for (const DialogControl& c : t.controls)
    data.controls.push_back({detail::Copy(c.windowClass), c.id, detail::Copy(c.text), c.style, c.exStyle, c.x, c.y,
                             c.cx, c.cy});
  detail::Templates()[t.id] = std::move(data);
}

void RegisterStrings(std::span<const StringResource> strings) {
  for (const StringResource& s : strings) detail::Strings()[s.id] = detail::Copy(s.text);
}

BOOL RegisterIcon(UINT id, const unsigned char* png, std::size_t size) {
  QImage image;
  if (!png || !image.loadFromData(png, static_cast<int>(size), "PNG")) return FALSE;
  detail::IconImages()[id] = image;
  auto& handles = detail::IconHandles();
  for (auto it = handles.begin(); it != handles.end();) {  // stale sizes of an older image
    if (it->first.id == id) {
      detail::IconKey key = it->first;
      it->second->pixmap = key.cx > 0 && key.cy > 0
                               ? QPixmap::fromImage(image.scaled(key.cx, key.cy, Qt::IgnoreAspectRatio,
                                                                 Qt::SmoothTransformation))
                               : QPixmap::fromImage(image);
    }
    ++it;
  }
  return TRUE;
}

BOOL IsDialogTemplateRegistered(UINT id) { return detail::FindTemplate(id) ? TRUE : FALSE; }

}  // namespace win

sys::Text LoadString(UINT id) {
  auto it = win::detail::Strings().find(id);
  return it == win::detail::Strings().end() ? sys::Text() : it->second;
}

HICON LoadIcon(UINT id, int cx, int cy) {
  using namespace win::detail;
  auto image = IconImages().find(id);
  if (image == IconImages().end()) return nullptr;
  if (cx <= 0 || cy <= 0) cx = cy = 0;
  HICON& handle = IconHandles()[{id, cx, cy}];
  if (!handle) {
    handle = new HICON__;
    handle->pixmap = cx ? QPixmap::fromImage(image->second.scaled(cx, cy, Qt::IgnoreAspectRatio,
                                                                  Qt::SmoothTransformation))
                        : QPixmap::fromImage(image->second);
  }
  return handle;
}

HICON LoadImage(HINSTANCE, UINT id, UINT type, int cx, int cy, UINT) {
  return type == IMAGE_ICON ? LoadIcon(id, cx, cy) : nullptr;
}

BOOL DestroyIcon(HICON icon) { return icon ? TRUE : FALSE; }

SIZE GetIconSize(HICON icon) {
  if (!icon) return {0, 0};
  return {icon->pixmap.width(), icon->pixmap.height()};
}
