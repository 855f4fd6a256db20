// main_window.cpp: the host's main window and its menu paths (see main_window.h).
#include "host/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

QStringList Levels(const QString& path) {
  QStringList levels;
  for (const QString& level : path.split(u'/')) {
    const QString trimmed = level.trimmed();
    if (!trimmed.isEmpty()) levels << trimmed;
  }
  return levels;
}

// The plain entry (not a submenu) titled `title` in `actions`.
QAction* FindEntry(const QList<QAction*>& actions, const QString& title, bool wantMenu) {
  for (QAction* a : actions)
    if (a->text() == title && (a->menu() != nullptr) == wantMenu) return a;
  return nullptr;
}

}  // namespace

HostMainWindow::HostMainWindow(CommandRunner runner) : runner_(std::move(runner)) {
  setWindowTitle(QStringLiteral("ПО Лортан"));
  resize(760, 420);
  fileMenu_ = menuBar()->addMenu(QStringLiteral("Файл"));
  fileMenu_->addAction(QStringLiteral("Выход"), this, [this] { close(); });
  helpMenu_ = menuBar()->addMenu(QStringLiteral("Справка"));
  information_ = new QLabel(this);
  information_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  information_->setMargin(16);
  information_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  information_->setWordWrap(true);
  setCentralWidget(information_);
}

QMenu* HostMainWindow::SubMenu(QMenu* parent, const QString& title, bool create) {
  const QList<QAction*> actions = parent ? parent->actions() : menuBar()->actions();
  if (QAction* existing = FindEntry(actions, title, true)) return existing->menu();
  if (!create) return nullptr;
  if (parent) return parent->addMenu(title);
  QMenu* menu = new QMenu(title, menuBar());
  menuBar()->insertMenu(helpMenu_->menuAction(), menu);
  return menu;
}

bool HostMainWindow::AddMenuEntry(const QString& path, const std::string& command) {
  const QStringList levels = Levels(path);
  if (levels.isEmpty()) return false;
  QMenu* menu = nullptr;
  for (int i = 0; i + 1 < levels.size(); ++i) menu = SubMenu(menu, levels[i], true);
  const QString& title = levels.back();
  const QList<QAction*> actions = menu ? menu->actions() : menuBar()->actions();
  if (FindEntry(actions, title, true)) return false;
  QAction* entry = FindEntry(actions, title, false);
  if (!entry) {
    entry = new QAction(title, menu ? static_cast<QObject*>(menu) : menuBar());
    if (menu)
      menu->addAction(entry);
    else
      menuBar()->insertAction(helpMenu_->menuAction(), entry);
    connect(entry, &QAction::triggered, this,
            [this, entry] { runner_(entry->property(kCommandProperty).toString().toStdString()); });
  }
  entry->setProperty(kCommandProperty, QString::fromStdString(command));
  return true;
}

QAction* HostMainWindow::FindMenuEntry(const QString& path) const {
  const QStringList levels = Levels(path);
  if (levels.isEmpty()) return nullptr;
  QMenu* menu = nullptr;
  for (int i = 0; i + 1 < levels.size(); ++i) {
    menu = const_cast<HostMainWindow*>(this)->SubMenu(menu, levels[i], false);
    if (!menu) return nullptr;
  }
  return FindEntry(menu ? menu->actions() : menuBar()->actions(), levels.back(), false);
}

void HostMainWindow::SetInformation(const QString& text) { information_->setText(text); }

void HostMainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  QApplication::quit();
}
