// import_menu.h: the host's entry "Файл" → "Импорт из CSV...": peak areas and mixture
// certificates from two CSV files into a new host database, which the host then opens.
//
// The entry asks for the AREAS file and the CERTIFICATES file (two file pickers), imports
// them into the folder "<AREAS name>-lortan" next to the AREAS file (asking before it
// replaces a database there), tells the outcome (the counts, or every problem found), and
// on success asks the host to open the new database: the main window closes and the host
// starts again on it, with its modules loaded afresh, as if started with --db.
// The dialogs are replaceable so that tests and scripts can answer them.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QWidget;
class HostMainWindow;

struct ImportDialogs {
  // A file to open, or an empty text when the user cancels.
  std::function<QString(QWidget* parent, const QString& title)> pickFile;
  // Yes / no.
  std::function<bool(QWidget* parent, const QString& question)> confirm;
  // The outcome: a summary, or the problems found (failure).
  std::function<void(QWidget* parent, const QString& text, bool failure)> tell;
};

// File dialogs and message boxes.
ImportDialogs StandardImportDialogs();

// Replaces the dialogs that every import entry uses from now on (a test's or a script's
// answers); an empty ImportDialogs brings the standard ones back.
void SetImportDialogs(ImportDialogs dialogs);

// Adds the entry to the window's "Файл" menu, before "Выход". Returns the entry.
QAction* AddImportMenuEntry(HostMainWindow* window);

// The database that an import asked the host to open, taken once; nullopt when none.
std::optional<std::string> TakeDatabaseToOpen();

inline constexpr char kImportMenuTitle[] = "Импорт из CSV...";
