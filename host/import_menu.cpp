// import_menu.cpp: the import entry of the host's "Файл" menu (see import_menu.h). The
// import runs on the user-interface thread: 2000 analyses take about a second.
#include "host/import_menu.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <filesystem>
#include <utility>

#include "cli/import_run.h"
#include "host/main_window.h"

namespace {

std::optional<std::string>& DatabaseToOpen() {
  static std::optional<std::string> path;
  return path;
}

ImportDialogs& DialogsInUse() {
  static ImportDialogs dialogs;
  return dialogs;
}

std::string Local(const QString& path) { return path.toStdString(); }

void RunImportEntry(HostMainWindow* window) {
  const ImportDialogs dialogs = DialogsInUse().pickFile ? DialogsInUse() : StandardImportDialogs();
  const QString areas = dialogs.pickFile(window, QStringLiteral("Импорт: площади пиков (CSV)"));
  if (areas.isEmpty()) return;
  const QString certificates = dialogs.pickFile(window, QStringLiteral("Импорт: паспорта смесей (CSV)"));
  if (certificates.isEmpty()) return;
  const std::filesystem::path source(Local(areas));
  ImportRequest request;
  request.areas = Local(areas);
  request.certificates = Local(certificates);
  request.outDir = (source.parent_path() / (source.stem().string() + "-lortan")).string();
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::path(request.outDir) / "lortan.db", ec)) {
    const QString question = QStringLiteral("База данных %1 уже есть. Заменить ее?")
                                 .arg(QString::fromStdString(request.outDir + "/lortan.db"));
    if (!dialogs.confirm(window, question)) return;
    request.force = true;
  }
  ImportOutcome outcome;
  try {
    outcome = RunImport(request);
  } catch (const std::exception& e) {
    outcome.errors = {std::string("the import failed: ") + e.what()};
  }
  if (!outcome.ok) {
    QString text = QStringLiteral("Ничего не импортировано.\n\n");
    for (const std::string& line : outcome.errors) text += QString::fromStdString(line) + u'\n';
    dialogs.tell(window, text, true);
    return;
  }
  dialogs.tell(window, QString::fromStdString(ImportSummary(outcome)), false);
  DatabaseToOpen() = outcome.database;
  window->close();  // the host starts again on the new database
}

}  // namespace

ImportDialogs StandardImportDialogs() {
  ImportDialogs d;
  d.pickFile = [](QWidget* parent, const QString& title) {
    return QFileDialog::getOpenFileName(parent, title, QString(), QStringLiteral("CSV (*.csv *.txt);;Все файлы (*)"));
  };
  d.confirm = [](QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("ПО Лортан"), question) == QMessageBox::Yes;
  };
  d.tell = [](QWidget* parent, const QString& text, bool failure) {
    if (failure) QMessageBox::critical(parent, QStringLiteral("ПО Лортан"), text);
    else QMessageBox::information(parent, QStringLiteral("ПО Лортан"), text);
  };
  return d;
}

void SetImportDialogs(ImportDialogs dialogs) { DialogsInUse() = std::move(dialogs); }

QAction* AddImportMenuEntry(HostMainWindow* window) {
  QMenu* file = window->fileMenu();
  QAction* entry = new QAction(QString::fromUtf8(kImportMenuTitle), file);
  QAction* before = nullptr;
  for (QAction* a : file->actions())
    if (a->text() == QStringLiteral("Выход")) before = a;
  file->insertAction(before, entry);
  QObject::connect(entry, &QAction::triggered, window, [window] { RunImportEntry(window); });
  return entry;
}

std::optional<std::string> TakeDatabaseToOpen() { return std::exchange(DatabaseToOpen(), std::nullopt); }
