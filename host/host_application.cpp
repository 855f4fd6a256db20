// host_application.cpp: the write group around each dispatched event and Qt's own
// translations (see host_application.h).
#include "host/host_application.h"

#include <QAbstractEventDispatcher>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

#include "host/profile_store.h"

namespace {

// Qt's own dialogs (file and folder pickers, standard buttons) speak Russian like the rest
// of the program: the Qt translations of the system (Debian: qt6-translations-l10n).
void InstallQtTranslations(QCoreApplication* app) {
  auto* translator = new QTranslator(app);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                       folder)) {
    QCoreApplication::installTranslator(translator);
    return;
  }
  delete translator;
  std::fprintf(stderr, "lortan: no Russian Qt translations in %s; Qt's dialogs stay in English\n",
               folder.toLocal8Bit().constData());
}

}  // namespace

HostApplication::HostApplication(int& argc, char** argv) : QApplication(argc, argv) {
  InstallQtTranslations(this);
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
      if (profile_) profile_->CommitPending();
    });
}

bool HostApplication::notify(QObject* receiver, QEvent* event) {
  ProfileWriteGroup group(profile_);
  return QApplication::notify(receiver, event);
}

HostApplication* RunningHostApplication() { return dynamic_cast<HostApplication*>(QCoreApplication::instance()); }
