// dialog_build.cpp: a dialog window from a registered template.
//
// Order as dialog creation has it: the dialog window (its font gives the dialog units),
// WM_SIZE, every control of the template in order, the dynamic layout from the controls'
// rectangles at that moment, WM_INITDIALOG, focus to the first tab stop when
// OnInitDialog answered non-zero (top-level dialogs), the tracking limits, and for a WS_VISIBLE modeless
// template the first show. Top-level dialogs are centred on their owner (or the screen).
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "controls.h"
#include "dialog_impl.h"
#include "resources_impl.h"

namespace win::detail {
namespace {

QFont DialogFont(const sys::Text& face, WORD points) {
  static const char* const kShellFaces[] = {"", "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif",
                                            "Microsoft Sans Serif", "Tahoma", "Segoe UI", "System"};
  QString name = ToQt(face);
  for (const char* shell : kShellFaces)
    if (name.compare(QLatin1String(shell), Qt::CaseInsensitive) == 0) name = QStringLiteral("Liberation Sans");
  QFont font(name);
  font.setPointSize(points ? points : 8);
  return font;
}

// Average character width and character height, the dialog base units of a font.
QSize BaseUnits(const QFont& font) {
  QFontMetrics metrics(font);
  int alphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return QSize((alphabet / 26 + 1) / 2, metrics.height());
}

// Centred on the owner (or the screen), then moved as little as needed to lie inside the
// work area of the screen it is centred on; a window larger than the work area keeps its
// top left corner there, as the desktop's own centring does.
void PlaceTopLevel(QWidget* w, HWND owner) {
  QRect area;
  if (Alive(owner) && owner->widget)
    area = owner->widget->window()->frameGeometry();
  else if (QGuiApplication::primaryScreen())
    area = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = w->frameGeometry();
  QPoint at = area.center() - QPoint(frame.width() / 2, frame.height() / 2);
  QScreen* screen = QGuiApplication::screenAt(area.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect work = screen->availableGeometry();
    at.setX(std::max(work.left(), std::min(at.x(), work.right() + 1 - frame.width())));
    at.setY(std::max(work.top(), std::min(at.y(), work.bottom() + 1 - frame.height())));
  }
  w->move(at);
}

HWND FirstTabStop(HWND dialog) {
  for (HWND child : dialog->children)
    if ((child->style & WS_TABSTOP) && !(child->style & WS_DISABLED)) return child;
  return nullptr;
}

void CreateControls(HWND h, DialogWidget* dialog, const TemplateData& t) {
  for (const ControlData& c : t.controls) {
    CreateRequest request;
    request.className = c.windowClass.c_str();
    request.text = ToQt(c.text);
    request.style = c.style | WS_CHILD | WS_VISIBLE;
    request.exStyle = c.exStyle;
    QRect r = dialog->MapDialogRect(QRect(c.x, c.y, c.cx, c.cy));
    request.rect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    request.parent = h;
    request.id = c.id;
    CreateWindowFrom(request);
  }
  dialog->SetInitialClientSize(dialog->ClientRect().size());
  for (const DynamicLayoutItem& item : t.layout)
    if (HWND control = ::GetDlgItem(h, item.id)) dialog->AddLayoutItem(control, item);
}

}  // namespace

HWND BuildDialog(UINT templateId, CWnd* object, HWND parent, bool modal) {
  const TemplateData* t = FindTemplate(templateId);
  if (!t || !object || object->m_hWnd) return nullptr;
  bool child = (t->style & WS_CHILD) != 0;
  if (child && (!Alive(parent) || !parent->impl)) return nullptr;
  QWidget* qtParent = child ? parent->impl->ClientArea()
                            : (Alive(parent) && parent->widget ? parent->widget->window() : nullptr);
  auto* dialog = new DialogWidget(qtParent, templateId);
  if (!child) dialog->setWindowFlags(Qt::Window | Qt::Dialog);
  if (modal) dialog->MakeModal();
  QFont font = DialogFont(t->fontFace, t->fontPoints);
  dialog->setFont(font);
  QSize units = BaseUnits(font);
  dialog->SetBaseUnits(units.width(), units.height());
  HWND h = NewHandle(WindowKind::Dialog, dialog, Alive(parent) ? parent : nullptr, 0, t->style & ~WS_VISIBLE, t->exStyle);
  object->m_hWnd = h;
  h->wnd = object;
  dialog->setWindowTitle(ToQt(t->caption));
  QSize client = dialog->MapDialogRect(QRect(0, 0, t->cx, t->cy)).size();
  dialog->resize(client);
  if (!child) {
    if (!(t->style & WS_THICKFRAME)) dialog->setFixedSize(client);
    dialog->winId();  // the frame is known from here on
    PlaceTopLevel(dialog, parent);
  }
  NotifyResized(h);
  if (!Alive(h)) return nullptr;
  CreateControls(h, dialog, *t);
  HWND focus = FirstTabStop(h);
  LRESULT setFocus = Deliver(h, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), 0);
  if (!Alive(h)) return nullptr;
  // Pages are made in their owner's OnInitDialog; only a window of its own takes the focus.
  if (setFocus && !child && Alive(focus)) ::SetFocus(focus);
  ApplyTrackLimits(h);
  if (!modal && (t->style & WS_VISIBLE)) ::ShowWindow(h, SW_SHOW);
  return h;
}

}  // namespace win::detail
