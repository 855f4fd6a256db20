// host_session.cpp: start and orderly end of the host (see host_session.h).
#include "host/host_session.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <cstdio>
#include <filesystem>

#include "host/batch_profile.h"
#include "host/command_registry.h"
#include "host/host_application.h"
#include "host/import_menu.h"
#include "host/main_window.h"
#include "host/profile_store.h"
#include "host/window_handle.h"

namespace {

sys::Text FromQ(const QString& s) {
  return sys::Text(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
}

void ReportToUser(const std::string& text) {
  std::fprintf(stderr, "lortan: %s\n", text.c_str());
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("ПО Лортан"), QString::fromStdString(text));
}

std::filesystem::path AskReportDestination() {
  QString file = QFileDialog::getSaveFileName(QApplication::activeWindow(), QStringLiteral("Сохранить отчет"),
                                              QDir::home().filePath(QStringLiteral("Отчет.odt")),
                                              QStringLiteral("Текстовый документ ODF (*.odt)"));
  if (file.isEmpty()) return {};
  if (!file.endsWith(QStringLiteral(".odt"), Qt::CaseInsensitive)) file += QStringLiteral(".odt");
  return std::filesystem::path(file.toStdString());
}

// After a report is written: where it is, with a button that opens it in the desktop's
// program for ODF text documents.
void ShowReportWritten(const std::filesystem::path& file) {
  const QString path = QString::fromStdString(file.string());
  QMessageBox box(QMessageBox::Information, QStringLiteral("Отчет"), QStringLiteral("Отчет сохранен:\n%1").arg(path),
                  QMessageBox::Ok, QApplication::activeWindow());
  QPushButton* open = box.addButton(QStringLiteral("Открыть"), QMessageBox::ActionRole);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
  if (box.clickedButton() == open && !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
    ReportToUser("Отчет " + file.string() + " не удалось открыть: нет программы для документов ODF.");
}

QString Version(std::uint32_t v) {
  return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

}  // namespace

// The build tree keeps plugins/ and templates/ next to the program; an installed tree keeps
// them under ../lib/vetrix and ../share/vetrix (cmake/packaging.cmake). The first that
// exists is taken, so the same program runs from the build folder, a prefix or the package.
namespace {

std::string NextToProgram(const char* buildTreeLeaf, const char* installedRelative) {
  const QString dir = QCoreApplication::applicationDirPath();
  const QString beside = dir + QLatin1Char('/') + QLatin1String(buildTreeLeaf);
  if (QDir(beside).exists()) return beside.toStdString();
  const QString installed = QDir::cleanPath(dir + QLatin1Char('/') + QLatin1String(installedRelative));
  return QDir(installed).exists() ? installed.toStdString() : beside.toStdString();
}

}  // namespace

std::string DefaultPluginFolder() { return NextToProgram("plugins", "../lib/vetrix/plugins"); }
std::string DefaultTemplateFolder() { return NextToProgram("templates", "../share/vetrix/templates"); }

HostSession::HostSession(HostOptions options) : options_(std::move(options)) {}

HostSession::~HostSession() { Shutdown(); }

bool HostSession::Start(std::string& error) {
  std::string profilePath = options_.profile.empty() ? DefaultProfilePath() : options_.profile;
  if (options_.batch && options_.profile.empty()) {
    // A script reads what the desktop user set but changes only its own copy.
    privateProfile_ = std::make_unique<PrivateProfile>();
    if (!privateProfile_->CopyFrom(profilePath, error)) return false;
    profilePath = privateProfile_->path();
  }
  profile_ = ProfileStore::Open(profilePath, error);
  if (!profile_) {
    error = "the profile store " + profilePath + " cannot be opened: " + error;
    return false;
  }
  services_.profile = profile_.get();
  if (HostApplication* app = RunningHostApplication()) app->SetProfile(profile_.get());
  std::error_code ec;
  const std::filesystem::path db =
      options_.db.empty() ? std::filesystem::path() : std::filesystem::absolute(options_.db, ec);
  services_.databaseLocation = sys::FromUtf8(ec ? options_.db : db.string());
  services_.templateFolder = options_.templateFolder.empty() ? DefaultTemplateFolder() : options_.templateFolder;
  services_.batch = options_.batch;
  if (options_.batch) {
    services_.chooseAssays = PresetAssayChooser(options_.selectAll, options_.selectIds);
    services_.report = [](const std::string& text) { std::fprintf(stderr, "lortan: %s\n", text.c_str()); };
    services_.reportDestination = [file = options_.reportFile] { return std::filesystem::path(file); };
  } else {
    services_.chooseAssays = DialogAssayChooser();
    services_.report = ReportToUser;
    services_.reportDestination = AskReportDestination;
    services_.reportWritten = ShowReportWritten;
  }
  window_ = new HostMainWindow([this](const std::string& command) { RunCommand(command); });
  services_.window = window_;
  BuildHostMenus();

  CommandRegistry& registry = CommandRegistry::Instance();
  RegisterHostCommands(registry, services_);
  registry.SetHostWindow(HostWindowHandle(window_));
  started_ = true;

  const std::string folder = options_.pluginFolder.empty() ? DefaultPluginFolder() : options_.pluginFolder;
  modules_.LoadFolder(folder, options_.hostVersion, registry.Api(), problems_);
  for (const std::string& problem : problems_) std::fprintf(stderr, "lortan: %s\n", problem.c_str());
  registry.Announce(kModulesLoadedEvent);
  window_->SetInformation(Information());
  return true;
}

void HostSession::Shutdown() {
  if (!started_) return;
  started_ = false;
  {
    // What the modules save on the way out reaches the profile as one transaction: their
    // Unload, then their windows, destroyed with the host's window tree.
    ProfileWriteGroup group(profile_.get());
    modules_.UnloadAll();
    delete window_;  // the window tree, with what modules parented to it
    window_ = nullptr;
    services_.window = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  CommandRegistry& registry = CommandRegistry::Instance();
  modules_.CloseAll(registry);
  registry.Clear();
  if (HostApplication* app = RunningHostApplication()) app->SetProfile(nullptr);
}

bool HostSession::RunMenuEntry(const QString& path) {
  QAction* entry = window_ ? window_->FindMenuEntry(path) : nullptr;
  if (!entry) return false;
  entry->trigger();
  return true;
}

void HostSession::RunCommand(const std::string& command) {
  if (!CommandRegistry::Instance().RunModuleCommand(command, HostWindowHandle(window_)))
    services_.report("Команда «" + command + "» недоступна: ни один модуль её не зарегистрировал.");
}

void HostSession::BuildHostMenus() {
  QMenu* file = window_->fileMenu();
  QAction* open = new QAction(QStringLiteral("Открыть хроматограмму..."), file);
  file->insertAction(file->actions().value(0), open);
  file->insertSeparator(file->actions().value(1));
  QObject::connect(open, &QAction::triggered, window_, [this] {
    const QString path = QFileDialog::getOpenFileName(window_, QStringLiteral("Открыть хроматограмму"));
    if (path.isEmpty()) return;
    const sys::Text text = FromQ(path);
    CommandRegistry::Instance().Execute("Main/OpenAssayFile", nullptr, const_cast<char16_t*>(text.c_str()));
  });
  AddImportMenuEntry(window_);
  window_->helpMenu()->addAction(QStringLiteral("Модули..."), window_, [this] { ShowModules(); });
  window_->helpMenu()->addAction(QStringLiteral("О программе"), window_, [this] {
    QMessageBox::about(window_, QStringLiteral("О программе"),
                       QStringLiteral("ПО Лортан — эталонный хост модулей обработки хроматограмм.\n"
                                      "Версия хоста: %1")
                           .arg(Version(options_.hostVersion)));
  });
}

void HostSession::ShowModules() {
  QString text;
  for (const LoadedModule& m : modules_.modules()) {
    text += QString::fromStdString(ModuleTitle(m));
    if (m.info) {
      text += QStringLiteral(" ") + Version(m.info->version);
      if (m.info->description) text += QStringLiteral("\n    ") + QString::fromUtf16(m.info->description);
      if (m.info->company) text += QStringLiteral("\n    ") + QString::fromUtf16(m.info->company);
    }
    text += QStringLiteral("\n    ") + QString::fromStdString(m.path) + QStringLiteral("\n\n");
  }
  QMessageBox::information(window_, QStringLiteral("Модули"),
                           text.isEmpty() ? QStringLiteral("Модули не загружены.") : text);
}

QString HostSession::Information() const {
  QString text =
      QStringLiteral("База данных: %1\nПрофиль: %2\nШаблоны отчетов: %3\n\nМодули:\n")
          .arg(options_.db.empty() ? QStringLiteral("не задана (--db FILE)") : QString::fromStdString(options_.db),
               QString::fromStdString(profile_->path()), QString::fromStdString(services_.templateFolder.string()));
  for (const LoadedModule& m : modules_.modules())
    text += QStringLiteral("  • ") + QString::fromStdString(ModuleTitle(m)) + u'\n';
  if (modules_.modules().empty()) text += QStringLiteral("  (нет)\n");
  for (const std::string& p : problems_) text += QStringLiteral("  ! ") + QString::fromStdString(p) + u'\n';
  return text;
}
