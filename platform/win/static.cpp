// static.cpp: the "Static" class (labels, icons, frames, owner-drawn frames) and
// CStatic.
//
// An owner-drawn static (SS_OWNERDRAW, also when switched on later) paints by sending
// WM_DRAWITEM to its parent with a device context over the paint event's QPainter; a
// parent that does not draw leaves the frame empty.
#include <QLabel>
#include <QPainter>

#include "controls.h"
#include "dc_bridge.h"
#include "resources_impl.h"
#include "static.h"

namespace win::detail {
namespace {

class StaticWidget : public Win<QLabel> {
 public:
  StaticWidget(DWORD style, QWidget* parent) : Win<QLabel>(parent) { ApplyStyle(style); }
  ~StaticWidget() override { WidgetDestroyed(this); }

  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case STM_SETICON: {
        HICON previous = icon_;
        icon_ = reinterpret_cast<HICON>(wParam);
        ShowIcon();
        return reinterpret_cast<LRESULT>(previous);
      }
      case STM_GETICON:
        return reinterpret_cast<LRESULT>(icon_);
      default:
        return CommonProc(h, message, wParam, lParam);
    }
  }
  QString Text() const override { return text(); }
  void SetText(const QString& t) override {
    if (Type() != SS_ICON) setText(t);
  }
  void StyleChanged() override {
    ApplyStyle(handle->style);
    update();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (Type() != SS_OWNERDRAW) {
      QLabel::paintEvent(e);
      return;
    }
    if (!handle || !Alive(handle->parent)) return;
    QPainter painter(this);
    CDC* dc = CDC_FromPainter(&painter);
    QRect client = contentsRect();
    DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(handle->id), 0, ODA_DRAWENTIRE,
                        isEnabled() ? 0u : ODS_DISABLED, handle, dc,
                        {client.left(), client.top(), client.left() + client.width(), client.top() + client.height()},
                        0};
    Deliver(handle->parent, WM_DRAWITEM, static_cast<WPARAM>(handle->id), reinterpret_cast<LPARAM>(&item));
    CDC_Release(dc);
  }

 private:
  DWORD Type() const { return handle ? handle->style & SS_TYPEMASK : type_; }
  void ApplyStyle(DWORD style) {
    type_ = style & SS_TYPEMASK;
    Qt::Alignment horizontal = type_ == SS_CENTER ? Qt::AlignHCenter : type_ == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    setAlignment(horizontal | ((style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
    setWordWrap(type_ == SS_LEFT || type_ == SS_CENTER || type_ == SS_RIGHT);
    setTextFormat(Qt::PlainText);
    if (type_ == SS_BLACKFRAME || type_ == SS_ETCHEDFRAME)
      setFrameShape(QFrame::Box);
    else if (style & SS_SUNKEN)
      setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else
      setFrameShape(QFrame::NoFrame);
  }
  void ShowIcon() {
    if (!icon_) {
      clear();
      return;
    }
    setPixmap(icon_->pixmap);
    // An icon static takes the icon's size unless told to centre it in its rectangle.
    if (handle && !(handle->style & SS_CENTERIMAGE)) resize(icon_->pixmap.size());
  }

  DWORD type_ = SS_LEFT;
  HICON icon_ = nullptr;
};

}  // namespace

WindowImpl* MakeStatic(DWORD style, QWidget* parent) { return new StaticWidget(style, parent); }

}  // namespace win::detail

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, win::kStaticClass, text, style | WS_CHILD, rect, parent, id);
}
HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
}
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
