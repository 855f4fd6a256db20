// key_input.cpp: Qt key presses as WM_KEYDOWN and WM_CHAR, with the pre-translation
// walk, TranslateMessage and GetKeyState.
//
// Order for one key press: PreTranslateMessage of the focus window's object and its
// ancestors' (any may take the key); else WM_KEYDOWN, whose default handling is the
// widget's own Qt key handling; then one WM_CHAR per character the key types. A key
// nobody's default handling saw counts as used; one the Qt widget ignored goes on to
// the parent widget (so Enter and Escape reach the dialog).
#include <QGuiApplication>

#include <string>

#include "handle.h"

namespace win::detail {
namespace {

struct KeyScope {
  HWND h;
  QKeyEvent* event;
  KeyScope* outer;
};
KeyScope* g_key = nullptr;

class KeyScopeGuard {
 public:
  KeyScopeGuard(HWND h, QKeyEvent* e) : scope_{h, e, g_key} { g_key = &scope_; }
  ~KeyScopeGuard() { g_key = scope_.outer; }
  KeyScopeGuard(const KeyScopeGuard&) = delete;
  KeyScopeGuard& operator=(const KeyScopeGuard&) = delete;

 private:
  KeyScope scope_;
};

UINT VirtualKeyOf(const QKeyEvent* e) {
  int key = e->key();
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<UINT>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    default: return 0;
  }
}

LPARAM KeyLParam(const QKeyEvent* e) { return 1 | (e->isAutoRepeat() ? (LPARAM{1} << 30) : 0); }

// PreTranslateMessage from the window up to its top-level window.
bool PreTranslate(MSG* msg) {
  for (HWND w = msg->hwnd; Alive(w);) {
    if (w->wnd && w->wnd->PreTranslateMessage(msg)) return true;
    if (!Alive(w) || !IsChildWindow(w)) break;
    w = w->parent;
  }
  return false;
}

std::u16string CharsOf(WPARAM vk) {
  switch (vk) {
    case VK_RETURN: return u"\r";
    case VK_ESCAPE: return u"\x1b";
    case VK_BACK: return u"\b";
    case VK_TAB: return u"\t";
    default: return {};
  }
}

// The characters a key produces as WM_CHAR: with Ctrl held a letter is its control
// character (Ctrl+A is 1), whatever text the Qt event carries.
std::u16string CharsTyped(const QKeyEvent* e) {
  std::u16string chars;
  bool ctrl = e->modifiers() & Qt::ControlModifier;
  for (QChar ch : e->text()) {
    char16_t c = ch.unicode();
    if (!ctrl)
      chars.push_back(c);
    else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
      chars.push_back(static_cast<char16_t>(c & 0x1F));
    else if (c < 0x20)
      chars.push_back(c);
  }
  return chars;
}

}  // namespace

bool IsTypingKey(const QKeyEvent* e) {
  if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  QString text = e->text();
  return !text.isEmpty() && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7F;
}

QKeyEvent* CurrentKeyEvent(HWND h) {
  for (KeyScope* s = g_key; s; s = s->outer)
    if (s->h == h) return s->event;
  return nullptr;
}

void RouteKeyPress(WindowImpl* impl, QKeyEvent* event, const std::function<void()>& base) {
  HWND h = impl->handle;
  if (!h) {
    base();
    return;
  }
  KeyScopeGuard scope(h, event);
  MSG msg{h, WM_KEYDOWN, VirtualKeyOf(event), KeyLParam(event), 0, {}};
  event->accept();
  if (PreTranslate(&msg)) return;
  PendingDefault keyDefault(h, WM_KEYDOWN, base);
  Deliver(h, WM_KEYDOWN, msg.wParam, msg.lParam);
  if (!(event->modifiers() & Qt::AltModifier)) {
    for (char16_t ch : CharsTyped(event)) {
      if (!Alive(h)) break;
      Deliver(h, WM_CHAR, ch, msg.lParam);
    }
  }
  if (!keyDefault.Ran()) event->accept();
}

}  // namespace win::detail

using namespace win::detail;

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN || !Alive(msg->hwnd)) return FALSE;
  QKeyEvent* event = CurrentKeyEvent(msg->hwnd);
  std::u16string chars = event ? CharsTyped(event) : CharsOf(msg->wParam);
  for (char16_t ch : chars) PostMessage(msg->hwnd, WM_CHAR, ch, msg->lParam);
  return chars.empty() ? FALSE : TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  return msg ? Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

short GetKeyState(int virtualKey) {
  Qt::KeyboardModifiers mods = g_key ? g_key->event->modifiers() : QGuiApplication::keyboardModifiers();
  bool down = false;
  switch (virtualKey) {
    case VK_CONTROL: down = mods & Qt::ControlModifier; break;
    case VK_SHIFT: down = mods & Qt::ShiftModifier; break;
    case VK_MENU: down = mods & Qt::AltModifier; break;
    default: break;
  }
  return down ? static_cast<short>(0x8000) : 0;
}
