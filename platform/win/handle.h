// handle.h (internal): what an HWND is, the registry of live windows, delivery of
// messages, and the Win<> mixin that turns a Qt widget class into a window class.
//
// A handle is a heap record that lives from window creation to the end of WM_NCDESTROY.
// The Qt widget draws and takes input; its kind-specific behaviour (the "window class
// procedure") is WindowImpl::Proc. Qt events become messages in the mixin: resize to
// WM_SIZE, keys to WM_KEYDOWN/WM_CHAR, focus to WM_SETFOCUS/WM_KILLFOCUS, context menu
// requests to WM_CONTEXTMENU. Where a message's default handling is the Qt widget's own
// behaviour, the Qt base call is parked as a "pending default" that the class procedure
// runs when the message reaches it. Not thread-safe: user-interface thread only.
#pragma once

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "menu.h"
#include "window.h"

namespace win::detail {

enum class WindowKind { Plain, Dialog, Button, Edit, Static, ComboBox, ListView, Header, TabControl, Foreign };

// The window-class side of a window: implemented by each control's widget.
class WindowImpl {
 public:
  virtual ~WindowImpl() = default;
  virtual QWidget* AsWidget() = 0;
  // The class procedure; unhandled messages go to CommonProc.
  virtual LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
  virtual QString Text() const;
  virtual void SetText(const QString& text);
  // Called after GetStyle() bits changed through ModifyStyle.
  virtual void StyleChanged() {}
  // Called once the handle exists, before WM_CREATE (a list view makes its header here).
  virtual void Created(HWND) {}
  // Where child windows live and where client coordinate (0, 0) is in that widget.
  virtual QWidget* ClientArea() { return AsWidget(); }
  virtual QRect ClientRect() { return AsWidget()->contentsRect(); }

  HWND handle = nullptr;
};

struct HandleData;

}  // namespace win::detail

struct HWND__ {
  win::detail::WindowKind kind = win::detail::WindowKind::Plain;
  win::detail::WindowImpl* impl = nullptr;
  QPointer<QWidget> widget;
  CWnd* wnd = nullptr;                  // attached object
  std::unique_ptr<CWnd> standIn;        // FromHandle's object for unattached windows
  HWND parent = nullptr;                // parent of a child, owner of a top-level window
  std::vector<HWND> children;           // creation order
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::uint64_t serial = 0;
  QSize lastClientSize{-1, -1};
  bool destroying = false;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HMENU systemMenu = nullptr;
  std::unique_ptr<CMenu> systemMenuObject;
  std::unique_ptr<win::detail::WindowImpl> ownedImpl;  // Foreign windows only
};

namespace win::detail {

// Registry.
HWND NewHandle(WindowKind kind, WindowImpl* impl, HWND parent, int id, DWORD style, DWORD exStyle);
bool Alive(HWND h);
std::uint64_t SerialOf(HWND h);
bool AliveWithSerial(HWND h, std::uint64_t serial);
HWND HandleOfWidget(const QWidget* widget);  // innermost enclosing window
const std::vector<HWND>& TopLevels();
bool IsChildWindow(HWND h);
// Destroys a window and its descendants (WM_DESTROY, then children, then WM_NCDESTROY).
void DestroyHandle(HWND h);
// The widget of `impl` is being deleted by Qt: finish its window and descendants.
void WidgetDestroyed(WindowImpl* impl);

// Message delivery: to the attached object's WindowProc, else the class procedure.
LRESULT Deliver(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ClassProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
// Default handling shared by every class.
LRESULT CommonProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
// The message being handled right now (for CWnd::Default).
bool CurrentMessage(HWND h, UINT* message, WPARAM* wParam, LPARAM* lParam);
// Sends WM_NOTIFY from control h to its parent; fills hwndFrom, idFrom, code.
LRESULT NotifyParent(HWND h, NMHDR* header, UINT code);
// Sends WM_COMMAND with a notification code from control h to its parent.
void CommandParent(HWND h, UINT code);

// Pending defaults: the Qt behaviour behind a message, run by its class procedure.
class PendingDefault {
 public:
  PendingDefault(HWND h, UINT message, std::function<void()> run);
  ~PendingDefault();
  PendingDefault(const PendingDefault&) = delete;
  PendingDefault& operator=(const PendingDefault&) = delete;
  bool Ran() const { return ran_; }

 private:
  friend bool RunPendingDefault(HWND h, UINT message);
  HWND h_;
  UINT message_;
  std::function<void()> run_;
  bool ran_ = false;
  PendingDefault* outer_;
};
// Runs the pending default of (h, message) if there is one not yet run.
bool RunPendingDefault(HWND h, UINT message);

// Events on the stack: while non-zero, destroyed widgets are deleted later, not now.
struct BusyScope {
  BusyScope();
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};
bool Busy();

// Geometry helpers in the layer's coordinate conventions.
QPoint ClientToWidget(HWND h, QPoint client);  // into the ClientArea widget's coordinates
QRect ChildRectToQt(HWND parent, const RECT& rect);
void SetWindowGeometry(HWND h, int x, int y, int width, int height, bool move, bool size,
                       bool notify = true);
// Sends WM_SIZE when the client size differs from the last one sent.
void NotifyResized(HWND h);
// For a resizable top-level window: asks WM_GETMINMAXINFO and applies the limits.
void ApplyTrackLimits(HWND h);
QMargins FrameMargins(HWND h);

// Qt event routing used by the mixin (key_input.cpp, window_events.cpp).
void RouteKeyPress(WindowImpl* impl, QKeyEvent* event, const std::function<void()>& base);
void RouteFocus(WindowImpl* impl, bool gained);
void RouteContextMenu(WindowImpl* impl, QContextMenuEvent* event, const std::function<void()>& base);
// The key event being routed for h, if any (for TranslateMessage, GetKeyState).
QKeyEvent* CurrentKeyEvent(HWND h);
bool IsTypingKey(const QKeyEvent* event);

QString ToQt(LPCWSTR text);
QString ToQt(const sys::Text& text);
sys::Text FromQt(const QString& text);
// Copies text into a caller's buffer of `capacity` units with a NUL; returns the length
// copied without the NUL.
int CopyOut(const QString& text, LPWSTR buffer, int capacity);

// Turns a Qt widget class into a window class of the layer.
template <class Base>
class Win : public Base, public WindowImpl {
 public:
  template <class... A>
  explicit Win(A&&... args) : Base(std::forward<A>(args)...) {}
  ~Win() override { WidgetDestroyed(this); }
  QWidget* AsWidget() override { return this; }

 protected:
  bool event(QEvent* e) override {
    BusyScope busy;
    return Base::event(e);
  }
  void resizeEvent(QResizeEvent* e) override {
    Base::resizeEvent(e);
    if (handle) NotifyResized(handle);
  }
  void keyPressEvent(QKeyEvent* e) override {
    RouteKeyPress(this, e, [this, e] { Base::keyPressEvent(e); });
  }
  void focusInEvent(QFocusEvent* e) override {
    Base::focusInEvent(e);
    RouteFocus(this, true);
  }
  void focusOutEvent(QFocusEvent* e) override {
    Base::focusOutEvent(e);
    RouteFocus(this, false);
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    RouteContextMenu(this, e, [this, e] { Base::contextMenuEvent(e); });
  }
};

}  // namespace win::detail
