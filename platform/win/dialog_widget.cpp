// dialog_widget.cpp: the dialog window class: default WM_SIZE applies the dynamic
// layout, WM_CLOSE becomes IDCANCEL, Enter and Escape become the default button's
// command and IDCANCEL, EndDialog ends the modal loop or hides a modeless dialog.
//
// The layout is computed from each control's rectangle at creation and the dialog's size
// change since then (never below the template size), so repeated sizing does not drift.
#include <QApplication>
#include <QCloseEvent>

#include "dialog_impl.h"

namespace win::detail {

DialogWidget::DialogWidget(QWidget* parent, UINT templateId) : Win<QWidget>(parent), templateId_(templateId) {}

DialogWidget::~DialogWidget() {
  if (modal_ && modal_->loop) modal_->loop->exit();
  WidgetDestroyed(this);
}

QRect DialogWidget::MapDialogRect(QRect u) const {
  auto mulDiv = [](int v, int m, int d) { return v >= 0 ? (v * m + d / 2) / d : -((-v * m + d / 2) / d); };
  int left = mulDiv(u.left(), baseX_, 4);
  int top = mulDiv(u.top(), baseY_, 8);
  int right = mulDiv(u.left() + u.width(), baseX_, 4);
  int bottom = mulDiv(u.top() + u.height(), baseY_, 8);
  return QRect(left, top, right - left, bottom - top);
}

void DialogWidget::AddLayoutItem(HWND control, const DynamicLayoutItem& item) {
  QRect initial(control->widget->geometry().topLeft() - ClientRect().topLeft(), control->widget->size());
  layout_.push_back({control, initial, item});
}

void DialogWidget::ApplyLayout() {
  QSize now = ClientRect().size();
  int dx = std::max(0, now.width() - initialClient_.width());
  int dy = std::max(0, now.height() - initialClient_.height());
  for (const LayoutEntry& e : layout_) {
    if (!Alive(e.control)) continue;
    QRect r = e.initial.translated(dx * e.item.moveX / 100, dy * e.item.moveY / 100);
    r.setSize(r.size() + QSize(dx * e.item.sizeX / 100, dy * e.item.sizeY / 100));
    SetWindowGeometry(e.control, r.x(), r.y(), r.width(), r.height(), true, true);
  }
}

void DialogWidget::End(INT_PTR result) {
  if (modal_) {
    modal_->ended = true;
    modal_->result = result;
    hide();
    if (modal_->loop) modal_->loop->exit();
  } else if (handle) {
    ::ShowWindow(handle, SW_HIDE);
  }
}

LRESULT DialogWidget::Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      ApplyLayout();
      return 0;
    case WM_CLOSE: {
      HWND cancel = ::GetDlgItem(h, IDCANCEL);
      Deliver(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    default:
      return CommonProc(h, message, wParam, lParam);
  }
}

int DialogWidget::DefaultButtonId(HWND* button) const {
  *button = nullptr;
  if (!handle) return IDOK;
  for (HWND child : handle->children) {
    if (child->kind == WindowKind::Button && (child->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      *button = child;
      return (child->style & WS_DISABLED) ? 0 : child->id;
    }
  }
  *button = ::GetDlgItem(handle, IDOK);
  return IDOK;
}

void DialogWidget::DialogKey(QKeyEvent* e) {
  HWND h = handle;
  bool plain = !(e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
  if (!h || !plain) {
    e->ignore();
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    HWND button;
    int id = DefaultButtonId(&button);
    if (id) Deliver(h, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    e->accept();
  } else if (e->key() == Qt::Key_Escape) {
    HWND cancel = ::GetDlgItem(h, IDCANCEL);
    Deliver(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    e->accept();
  } else {
    e->ignore();
  }
}

void DialogWidget::keyPressEvent(QKeyEvent* e) {
  // A key a control left unused arrives here by propagation: dialog navigation only.
  QWidget* focus = QApplication::focusWidget();
  if (focus && focus != this && isAncestorOf(focus)) {
    DialogKey(e);
    return;
  }
  RouteKeyPress(this, e, [this, e] { DialogKey(e); });
}

void DialogWidget::closeEvent(QCloseEvent* e) {
  e->ignore();
  if (handle) Deliver(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
}

DialogWidget* DialogOf(HWND h) {
  return Alive(h) && h->kind == WindowKind::Dialog ? static_cast<DialogWidget*>(h->impl) : nullptr;
}

}  // namespace win::detail
