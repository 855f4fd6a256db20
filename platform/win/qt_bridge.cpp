// qt_bridge.cpp: handles for widgets made outside the layer, and the way from a handle
// to its widgets, for the host and for tests.
#include "qt_bridge.h"

#include <QPoint>

#include "handle.h"

namespace win {
namespace {

// A widget the layer did not make: only the common window behaviour.
class ForeignImpl : public detail::WindowImpl {
 public:
  explicit ForeignImpl(QWidget* widget) : widget_(widget) {}
  QWidget* AsWidget() override { return widget_; }

 private:
  QWidget* widget_;
};

}  // namespace

HWND WrapWidget(QWidget* widget) {
  if (!widget) return nullptr;
  if (HWND existing = detail::HandleOfWidget(widget); existing && existing->widget == widget) return existing;
  auto impl = std::make_unique<ForeignImpl>(widget);
  HWND h = detail::NewHandle(detail::WindowKind::Foreign, impl.get(), nullptr, 0, WS_VISIBLE | WS_THICKFRAME, 0);
  h->ownedImpl = std::move(impl);
  std::uint64_t serial = h->serial;
  QObject::connect(widget, &QObject::destroyed, [h, serial] {
    if (detail::AliveWithSerial(h, serial)) detail::DestroyHandle(h);
  });
  return h;
}

QWidget* WidgetOf(HWND hWnd) { return detail::Alive(hWnd) ? hWnd->widget.data() : nullptr; }

HWND HandleOf(const QWidget* widget) { return detail::HandleOfWidget(widget); }

QWidget* WidgetAt(HWND hWnd, POINT client, QPoint* local) {
  if (!detail::Alive(hWnd) || !hWnd->impl) return nullptr;
  QWidget* area = hWnd->impl->ClientArea();
  QPoint inArea = detail::ClientToWidget(hWnd, QPoint(client.x, client.y));
  QWidget* target = area->childAt(inArea);
  if (!target) target = area;
  if (local) *local = target->mapFrom(area, inArea);
  return target;
}

}  // namespace win
