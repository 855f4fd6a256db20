// workbook_file.h: an XLSX workbook of text cells, over libxlsxwriter.
//
// The library takes the file name when the workbook is made and writes the file when it
// is closed; that file is a temporary one beside the final name, renamed into place only
// when complete and never over an existing file (file_commit.h), and a sheet's name when the sheet is added; so a sheet is added with its
// title at once (SetSheetTitle), and SaveWorkbook closes the workbook. Cells hold text
// only. A refused title goes to the message sink and the sheet takes the library's own
// name ("Sheet<n>").
#pragma once

#include <functional>
#include <string>

#include "platform/sys/text.h"

struct lxw_workbook;
struct lxw_worksheet;

// Receives the texts of the messages an export shows (error icon).
using ExportMessageSink = std::function<void(sys::TextView message)>;

// The workbook's path as the export writes it: longer than ".XLSX", ending in ".XLSX" or
// ".xlsx" (appended otherwise). Empty when the path is too short.
std::string WorkbookPath(sys::TextView path);

class Workbook {
 public:
  // Starts a workbook that SaveWorkbook will write to `utf8Path` (or, when that name is
  // taken by then, to "<stem>_2.XLSX", ...).
  explicit Workbook(const std::string& utf8Path);
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  bool ok() const { return book_ != nullptr; }
  int sheetCount() const { return sheets_; }

  // Adds a sheet titled `title`; a title the library refuses is reported through `sink`
  // ("При экспорте возникла ошибка:\r\n<library text>\r\nОжидаемое имя листа: <title>")
  // and the sheet keeps the library's name. Null when the workbook could not be made.
  lxw_worksheet* SetSheetTitle(sys::TextView title, const ExportMessageSink& sink);

  // Writes the file. False, with the system's reason (or the library's text) and the
  // path through `sink`, when it fails; then no file is left under the final name.
  [[nodiscard]] bool SaveWorkbook(const ExportMessageSink& sink);
  // The final path; after a successful SaveWorkbook, the name the file was given.
  const std::string& path() const { return path_; }

 private:
  lxw_workbook* book_ = nullptr;
  std::string path_;
  std::string temporary_;    // where the library writes; empty once renamed or removed
  std::string createError_;  // why the workbook could not be started
  int sheets_ = 0;
};

// Column `column` (1 = A), row `row` (1-based): the text as UTF-8, cut at a character
// boundary to fit 10000 bytes with the terminator. Column widths in character units.
void WriteCell(lxw_worksheet* sheet, int column, int row, sys::TextView text);
void SetColumnWidth(lxw_worksheet* sheet, int column, double width);
