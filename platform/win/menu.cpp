// menu.cpp: popup menus as data, tracked with a QMenu (or answered by the popup menu
// hook), and the system menu of top-level windows.
//
// The chosen command is posted to the owner after the menu has closed, as WM_COMMAND
// (WM_SYSCOMMAND for the system menu) with the command in the low word of wParam.
#include <QAction>
#include <QMenu>
#include <QShortcut>

#include "handle.h"
#include "hooks_impl.h"
#include "menu_impl.h"

using namespace win::detail;

namespace {

bool ValidMenu(HMENU menu) { return menu != nullptr; }

// Index of an item by command or by position, -1 when absent.
int FindItem(HMENU menu, UINT idOrPosition, UINT flags) {
  if (!ValidMenu(menu)) return -1;
  if (flags & MF_BYPOSITION) return idOrPosition < menu->items.size() ? static_cast<int>(idOrPosition) : -1;
  for (std::size_t i = 0; i < menu->items.size(); ++i)
    if (!(menu->items[i].flags & MF_SEPARATOR) && menu->items[i].id == idOrPosition) return static_cast<int>(i);
  return -1;
}

void FillSystemMenu(HMENU menu) {
  menu->items.clear();
  menu->items.push_back({MF_STRING, SC_RESTORE, QStringLiteral("Восстановить")});
  menu->items.push_back({MF_STRING, SC_MINIMIZE, QStringLiteral("Свернуть")});
  menu->items.push_back({MF_STRING, SC_MAXIMIZE, QStringLiteral("Развернуть")});
  menu->items.push_back({MF_SEPARATOR, 0, {}});
  menu->items.push_back({MF_STRING, SC_CLOSE, QStringLiteral("Закрыть\tAlt+F4")});
}

UINT ExecMenu(HMENU menu, int x, int y, HWND owner) {
  QMenu popup(Alive(owner) ? owner->widget.data() : nullptr);
  for (const auto& item : menu->items) {
    if (item.flags & MF_SEPARATOR) {
      popup.addSeparator();
      continue;
    }
    QAction* action = popup.addAction(QString(item.text).replace(QLatin1Char('\t'), QLatin1Char(' ')));
    action->setData(QVariant::fromValue<qulonglong>(item.id));
    action->setCheckable((item.flags & MF_CHECKED) != 0);
    action->setChecked((item.flags & MF_CHECKED) != 0);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  }
  QAction* chosen = popup.exec(QPoint(x, y));
  return chosen ? static_cast<UINT>(chosen->data().toULongLong()) : 0;
}

}  // namespace

namespace win::detail {

std::vector<MenuItemInfo> DescribeMenu(HMENU menu) {
  std::vector<MenuItemInfo> items;
  if (!ValidMenu(menu)) return items;
  for (const auto& item : menu->items) {
    bool separator = (item.flags & MF_SEPARATOR) != 0;
    items.push_back({separator ? 0u : static_cast<UINT>(item.id), FromQt(item.text), (item.flags & MF_CHECKED) != 0,
                     (item.flags & (MF_GRAYED | MF_DISABLED)) != 0, separator});
  }
  return items;
}

UINT TrackMenu(HMENU menu, int x, int y, HWND owner, UINT flags, bool systemMenu) {
  if (!ValidMenu(menu)) return 0;
  if (const PopupMenuHook& hook = PopupHook()) {
    PopupMenuCall call{owner, x, y, flags, systemMenu, DescribeMenu(menu)};
    return hook(call);
  }
  return ExecMenu(menu, x, y, owner);
}

CMenu* SystemMenuObject(HWND h, BOOL revert) {
  if (!Alive(h) || IsChildWindow(h)) return nullptr;
  if (!h->systemMenu) {
    h->systemMenu = ::CreatePopupMenu();
    FillSystemMenu(h->systemMenu);
    h->systemMenuObject = std::make_unique<CMenu>();
    h->systemMenuObject->Attach(h->systemMenu);
    if (h->widget) {  // Alt+Space opens it, as on the desktop
      auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), h->widget);
      QObject::connect(shortcut, &QShortcut::activated, [h] {
        if (Alive(h)) ShowSystemMenu(h);
      });
    }
  } else if (revert) {
    FillSystemMenu(h->systemMenu);
  }
  return h->systemMenuObject.get();
}

void ShowSystemMenu(HWND h) {
  if (!SystemMenuObject(h, FALSE)) return;
  RECT rect{};
  ::GetWindowRect(h, &rect);
  UINT command = TrackMenu(h->systemMenu, rect.left, rect.top, h, TPM_LEFTBUTTON, true);
  if (command) ::PostMessage(h, WM_SYSCOMMAND, command, MAKELPARAM(rect.left, rect.top));
}

}  // namespace win::detail

HMENU CreatePopupMenu() { return new HMENU__; }

BOOL DestroyMenu(HMENU menu) {
  if (!ValidMenu(menu)) return FALSE;
  delete menu;
  return TRUE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
  if (!ValidMenu(menu)) return FALSE;
  menu->items.push_back({flags, (flags & MF_SEPARATOR) ? 0 : id, ToQt(text)});
  return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT) {
  if (!ValidMenu(menu)) return FALSE;
  UINT command = TrackMenu(menu, x, y, owner, flags, false);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (command && !(flags & TPM_NONOTIFY)) ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return TRUE;
}

HMENU GetSystemMenu(HWND hWnd, BOOL revert) {
  CMenu* menu = SystemMenuObject(hWnd, revert);
  return menu ? menu->m_hMenu : nullptr;
}

CMenu::CMenu() = default;
CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::CreatePopupMenu() {
  if (m_hMenu) return FALSE;
  m_hMenu = ::CreatePopupMenu();
  return TRUE;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  ::DestroyMenu(Detach());
  return TRUE;
}

BOOL CMenu::Attach(HMENU menu) {
  if (m_hMenu || !menu) return FALSE;
  m_hMenu = menu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  m_hMenu = nullptr;
  return menu;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text) { return ::AppendMenu(m_hMenu, flags, id, text); }

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  int index = FindItem(m_hMenu, position, flags);
  if (index < 0) return FALSE;
  m_hMenu->items.erase(m_hMenu->items.begin() + index);
  return TRUE;
}

UINT CMenu::CheckMenuItem(UINT idOrPosition, UINT check) {
  int index = FindItem(m_hMenu, idOrPosition, check);
  if (index < 0) return static_cast<UINT>(-1);
  UINT& flags = m_hMenu->items[static_cast<std::size_t>(index)].flags;
  UINT previous = flags & MF_CHECKED;
  flags = (flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT enable) {
  int index = FindItem(m_hMenu, idOrPosition, enable);
  if (index < 0) return static_cast<UINT>(-1);
  UINT& flags = m_hMenu->items[static_cast<std::size_t>(index)].flags;
  UINT previous = flags & (MF_GRAYED | MF_DISABLED);
  flags = (flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

int CMenu::GetMenuItemCount() const { return m_hMenu ? static_cast<int>(m_hMenu->items.size()) : -1; }

UINT CMenu::GetMenuItemID(int position) const {
  if (!m_hMenu || position < 0 || static_cast<std::size_t>(position) >= m_hMenu->items.size())
    return static_cast<UINT>(-1);
  return static_cast<UINT>(m_hMenu->items[static_cast<std::size_t>(position)].id);
}

sys::Text CMenu::GetMenuString(UINT idOrPosition, UINT flags) const {
  int index = FindItem(m_hMenu, idOrPosition, flags);
  return index < 0 ? sys::Text() : FromQt(m_hMenu->items[static_cast<std::size_t>(index)].text);
}

UINT CMenu::GetMenuState(UINT idOrPosition, UINT flags) const {
  int index = FindItem(m_hMenu, idOrPosition, flags);
  return index < 0 ? static_cast<UINT>(-1) : m_hMenu->items[static_cast<std::size_t>(index)].flags;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}
