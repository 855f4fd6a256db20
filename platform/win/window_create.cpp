// window_create.cpp: creating windows of the layer's classes, and the stand-in objects
// that CWnd::FromHandle hands out for windows without an object of their own.
//
// Order as the classic API has it: the handle and the object exist before WM_CREATE;
// a WS_VISIBLE window is shown before WM_CREATE so that it can take the focus there.
#include "controls.h"

#include "button.h"
#include "combobox.h"
#include "edit.h"
#include "listctrl.h"
#include "static.h"
#include "tabctrl.h"

namespace win::detail {
namespace {

class PlainWindow : public Win<QWidget> {
 public:
  explicit PlainWindow(QWidget* parent) : Win<QWidget>(parent) {}
  ~PlainWindow() override { WidgetDestroyed(this); }
};

WindowImpl* MakeImpl(WindowKind kind, DWORD style, DWORD exStyle, QWidget* parent) {
  switch (kind) {
    case WindowKind::Button: return MakeButton(style, parent);
    case WindowKind::Edit: return MakeEdit(style, exStyle, parent);
    case WindowKind::Static: return MakeStatic(style, parent);
    case WindowKind::ComboBox: return MakeComboBox(style, parent);
    case WindowKind::ListView: return MakeListView(style, exStyle, parent);
    case WindowKind::TabControl: return MakeTabControl(style, parent);
    default: return MakePlainWindow(style, parent);
  }
}

}  // namespace

WindowImpl* MakePlainWindow(DWORD, QWidget* parent) { return new PlainWindow(parent); }

bool KindOfClass(LPCWSTR className, WindowKind* kind) {
  QString name = ToQt(className);
  struct Entry {
    const char* name;
    WindowKind kind;
  };
  static const Entry kClasses[] = {
      {"", WindowKind::Plain},           {"Button", WindowKind::Button},
      {"Edit", WindowKind::Edit},        {"Static", WindowKind::Static},
      {"ComboBox", WindowKind::ComboBox}, {"SysListView32", WindowKind::ListView},
      {"SysTabControl32", WindowKind::TabControl},
  };
  for (const Entry& e : kClasses) {
    if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) {
      *kind = e.kind;
      return true;
    }
  }
  return false;
}

HWND CreateWindowFrom(const CreateRequest& r) {
  WindowKind kind;
  if (!KindOfClass(r.className, &kind)) return nullptr;
  bool child = (r.style & WS_CHILD) != 0;
  if (child && (!Alive(r.parent) || !r.parent->impl)) return nullptr;
  QWidget* qtParent = nullptr;
  if (child)
    qtParent = r.parent->impl->ClientArea();
  else if (Alive(r.parent) && r.parent->widget)
    qtParent = r.parent->widget->window();
  WindowImpl* impl = MakeImpl(kind, r.style, r.exStyle, qtParent);
  QWidget* widget = impl->AsWidget();
  if (!child) widget->setWindowFlags(Qt::Window | Qt::Dialog);
  HWND h = NewHandle(kind, impl, Alive(r.parent) ? r.parent : nullptr, r.id, r.style, r.exStyle);
  if (r.attach) {
    r.attach->m_hWnd = h;
    h->wnd = r.attach;
  }
  impl->Created(h);
  impl->SetText(r.text);
  if (r.style & WS_DISABLED) widget->setEnabled(false);
  SetWindowGeometry(h, r.rect.left, r.rect.top, r.rect.right - r.rect.left, r.rect.bottom - r.rect.top, true, true,
                    false);
  if (r.style & WS_VISIBLE) widget->show();
  sys::Text name = FromQt(r.text);
  CREATESTRUCTW create{r.param, nullptr, nullptr, r.parent, r.rect.bottom - r.rect.top, r.rect.right - r.rect.left,
                       r.rect.top, r.rect.left, static_cast<LONG>(r.style), name.c_str(), r.className, r.exStyle};
  if (Deliver(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyHandle(h);
    return nullptr;
  }
  if (!Alive(h)) return nullptr;
  NotifyResized(h);
  return h;
}

std::unique_ptr<CWnd> MakeStandIn(WindowKind kind) {
  switch (kind) {
    case WindowKind::Button: return std::make_unique<CButton>();
    case WindowKind::Edit: return std::make_unique<CEdit>();
    case WindowKind::Static: return std::make_unique<CStatic>();
    case WindowKind::ComboBox: return std::make_unique<CComboBox>();
    case WindowKind::ListView: return std::make_unique<CListCtrl>();
    case WindowKind::Header: return std::make_unique<CHeaderCtrl>();
    case WindowKind::TabControl: return std::make_unique<CTabCtrl>();
    default: return std::make_unique<CWnd>();
  }
}

}  // namespace win::detail
