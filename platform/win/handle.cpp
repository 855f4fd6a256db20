// handle.cpp: the registry of live windows, their destruction, message delivery with
// the current-message stack, pending defaults and the busy count.
//
// Assumes one user-interface thread. Handles are found by pointer in a hash map; the
// serial number guards posted messages against a handle freed and reused meanwhile.
#include "handle.h"

#include <QApplication>

#include <algorithm>
#include <unordered_map>

namespace win::detail {
namespace {

std::unordered_map<HWND, std::uint64_t>& LiveHandles() {
  static std::unordered_map<HWND, std::uint64_t> live;
  return live;
}
std::vector<HWND>& TopLevelList() {
  static std::vector<HWND> list;
  return list;
}
std::uint64_t g_nextSerial = 1;
int g_busy = 0;

struct CurrentMsg {
  HWND h;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  CurrentMsg* outer;
};
CurrentMsg* g_current = nullptr;
PendingDefault* g_pending = nullptr;

void Unlink(HWND h) {
  if (h->parent && IsChildWindow(h)) {
    auto& siblings = h->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), h), siblings.end());
  }
  auto& tops = TopLevelList();
  tops.erase(std::remove(tops.begin(), tops.end(), h), tops.end());
  LiveHandles().erase(h);
}

// Sends the closing messages of h and its descendants and frees the handles. The
// widgets are left to the caller.
void FinishHandle(HWND h) {
  if (h->destroying) return;
  h->destroying = true;
  Deliver(h, WM_DESTROY, 0, 0);
  std::vector<HWND> children = h->children;
  for (HWND child : children)
    if (Alive(child)) FinishHandle(child);
  // Owned top-level windows go with their owner, as the owner's Qt children do.
  std::vector<HWND> owned;
  for (HWND top : TopLevelList())
    if (top->parent == h) owned.push_back(top);
  for (HWND top : owned)
    if (Alive(top)) FinishHandle(top);
  Deliver(h, WM_NCDESTROY, 0, 0);
  if (h->wnd) {  // an object that did not detach in OnNcDestroy
    h->wnd->m_hWnd = nullptr;
    h->wnd = nullptr;
  }
  if (h->standIn) h->standIn->m_hWnd = nullptr;
  if (h->systemMenuObject) h->systemMenuObject->Detach();
  if (h->systemMenu) ::DestroyMenu(h->systemMenu);
  if (h->impl) h->impl->handle = nullptr;
  Unlink(h);
  delete h;
}

}  // namespace

LRESULT WindowImpl::Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  return CommonProc(h, message, wParam, lParam);
}
QString WindowImpl::Text() const {
  return const_cast<WindowImpl*>(this)->AsWidget()->windowTitle();
}
void WindowImpl::SetText(const QString& text) { AsWidget()->setWindowTitle(text); }

HWND NewHandle(WindowKind kind, WindowImpl* impl, HWND parent, int id, DWORD style, DWORD exStyle) {
  HWND h = new HWND__;
  h->kind = kind;
  h->impl = impl;
  h->widget = impl ? impl->AsWidget() : nullptr;
  h->parent = parent;
  h->id = id;
  h->style = style;
  h->exStyle = exStyle;
  h->serial = g_nextSerial++;
  if (impl) impl->handle = h;
  LiveHandles()[h] = h->serial;
  if (parent && (style & WS_CHILD))
    parent->children.push_back(h);
  else
    TopLevelList().push_back(h);
  return h;
}

bool Alive(HWND h) { return h && LiveHandles().count(h) != 0; }
std::uint64_t SerialOf(HWND h) { return Alive(h) ? h->serial : 0; }
bool AliveWithSerial(HWND h, std::uint64_t serial) {
  auto it = LiveHandles().find(h);
  return it != LiveHandles().end() && it->second == serial;
}
const std::vector<HWND>& TopLevels() { return TopLevelList(); }
bool IsChildWindow(HWND h) { return (h->style & WS_CHILD) != 0; }

HWND HandleOfWidget(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (auto* impl = dynamic_cast<const WindowImpl*>(w); impl && impl->handle) return impl->handle;
    for (HWND top : TopLevelList())  // wrapped foreign widgets
      if (top->kind == WindowKind::Foreign && top->widget == w) return top;
  }
  return nullptr;
}

void DestroyHandle(HWND h) {
  if (!Alive(h) || h->destroying) return;
  QPointer<QWidget> widget = h->widget;
  bool foreign = h->kind == WindowKind::Foreign;
  FinishHandle(h);
  if (!widget || foreign) return;
  widget->hide();
  // A widget whose event handler is on the stack must outlive this call.
  if (Busy())
    widget->deleteLater();
  else
    delete widget.data();
}

void WidgetDestroyed(WindowImpl* impl) {
  if (impl->handle && Alive(impl->handle)) FinishHandle(impl->handle);
}

LRESULT Deliver(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Alive(h)) return 0;
  CurrentMsg current{h, message, wParam, lParam, g_current};
  g_current = &current;
  LRESULT result = h->wnd ? h->wnd->WindowProc(message, wParam, lParam)
                          : ClassProc(h, message, wParam, lParam);
  g_current = current.outer;
  return result;
}

LRESULT ClassProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Alive(h)) return 0;
  if (!h->impl) return CommonProc(h, message, wParam, lParam);
  return h->impl->Proc(h, message, wParam, lParam);
}

bool CurrentMessage(HWND h, UINT* message, WPARAM* wParam, LPARAM* lParam) {
  for (CurrentMsg* c = g_current; c; c = c->outer) {
    if (c->h != h) continue;
    *message = c->message;
    *wParam = c->wParam;
    *lParam = c->lParam;
    return true;
  }
  return false;
}

LRESULT NotifyParent(HWND h, NMHDR* header, UINT code) {
  header->hwndFrom = h;
  header->idFrom = static_cast<UINT_PTR>(h->id);
  header->code = code;
  HWND parent = h->parent;
  if (!Alive(parent)) return 0;
  return Deliver(parent, WM_NOTIFY, static_cast<WPARAM>(h->id), reinterpret_cast<LPARAM>(header));
}

void CommandParent(HWND h, UINT code) {
  if (!Alive(h) || !Alive(h->parent)) return;
  Deliver(h->parent, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(h->id), code),
          reinterpret_cast<LPARAM>(h));
}

PendingDefault::PendingDefault(HWND h, UINT message, std::function<void()> run)
    : h_(h), message_(message), run_(std::move(run)), outer_(g_pending) {
  g_pending = this;
}
PendingDefault::~PendingDefault() { g_pending = outer_; }

bool RunPendingDefault(HWND h, UINT message) {
  for (PendingDefault* p = g_pending; p; p = p->outer_) {
    if (p->h_ != h || p->message_ != message) continue;
    if (p->ran_) return false;
    p->ran_ = true;
    p->run_();
    return true;
  }
  return false;
}

BusyScope::BusyScope() { ++g_busy; }
BusyScope::~BusyScope() { --g_busy; }
bool Busy() { return g_busy > 0; }

QString ToQt(LPCWSTR text) { return text ? QString::fromUtf16(text) : QString(); }
QString ToQt(const sys::Text& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
sys::Text FromQt(const QString& text) {
  return sys::Text(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}
int CopyOut(const QString& text, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  int n = std::min<int>(static_cast<int>(text.size()), capacity - 1);
  std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, buffer);
  buffer[n] = 0;
  return n;
}

}  // namespace win::detail
