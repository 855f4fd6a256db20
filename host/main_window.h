// main_window.h: the host's main window "ПО Лортан": the menu bar into which modules add
// entries, and a panel telling which database, profile and modules are in use.
//
// Menu paths are levels separated by '/'; missing levels are created as submenus, the
// last level is the entry. Top-level menus of modules go before the host's "Справка".
// Choosing an entry calls the command runner with the entry's command name.
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>

class QAction;
class QLabel;
class QMenu;

class HostMainWindow : public QMainWindow {
 public:
  using CommandRunner = std::function<void(const std::string& command)>;

  explicit HostMainWindow(CommandRunner runner);

  // Adds the entry `path` running `command`. False for a path without a name or one that
  // names an existing submenu; an existing entry of that path is re-pointed at `command`.
  bool AddMenuEntry(const QString& path, const std::string& command);
  // The entry at `path`, or null.
  QAction* FindMenuEntry(const QString& path) const;

  // The text of the information panel.
  void SetInformation(const QString& text);
  // The host's own "Файл" menu (modules do not add here unless their path says so).
  QMenu* fileMenu() const { return fileMenu_; }
  QMenu* helpMenu() const { return helpMenu_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QMenu* SubMenu(QMenu* parent, const QString& title, bool create);

  CommandRunner runner_;
  QMenu* fileMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QLabel* information_ = nullptr;
};

inline constexpr char kCommandProperty[] = "lortanCommand";
