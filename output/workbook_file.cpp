// workbook_file.cpp: the libxlsxwriter side of the workbook export.
#include "output/workbook_file.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>

#include "output/file_commit.h"
#include "platform/sys/format.h"

namespace {

constexpr std::size_t kMaxCellBytes = 10000 - 1;

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

sys::Text LibraryText(lxw_error error) { return sys::FromUtf8(lxw_strerror(error)); }

}  // namespace

std::string WorkbookPath(sys::TextView path) {
  constexpr sys::TextView kExtension = u".XLSX";
  if (path.size() <= kExtension.size()) return {};
  sys::Text full(path);
  const sys::TextView tail = sys::TextView(full).substr(full.size() - kExtension.size());
  if (tail.find(u".XLSX") == sys::TextView::npos && tail.find(u".xlsx") == sys::TextView::npos) full += kExtension;
  return sys::ToUtf8(full);
}

Workbook::Workbook(const std::string& utf8Path) : path_(utf8Path) {
  if (!CreateTemporaryBeside(path_, temporary_, createError_)) return;
  lxw_workbook_options options{};
  options.use_zip64 = LXW_FALSE;
  book_ = workbook_new_opt(temporary_.c_str(), &options);
  if (!book_) createError_ = "не удалось создать книгу";
}

Workbook::~Workbook() {
  // A workbook that was never saved is discarded; its temporary file goes with it.
  if (book_) lxw_workbook_free(book_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

lxw_worksheet* Workbook::SetSheetTitle(sys::TextView title, const ExportMessageSink& sink) {
  if (!book_) return nullptr;
  const std::string name = CutUtf8(sys::ToUtf8(title), kMaxCellBytes);
  const lxw_error check = workbook_validate_sheet_name(book_, name.c_str());
  lxw_worksheet* sheet = nullptr;
  if (check == LXW_NO_ERROR) {
    sheet = workbook_add_worksheet(book_, name.c_str());
  } else {
    if (sink)
      sink(sys::Format(u"При экспорте возникла ошибка:\r\n%s\r\nОжидаемое имя листа: %s", LibraryText(check), title));
    sheet = workbook_add_worksheet(book_, nullptr);
  }
  if (sheet) ++sheets_;
  return sheet;
}

bool Workbook::SaveWorkbook(const ExportMessageSink& sink) {
  const auto fail = [&](const sys::Text& reason) {
    if (sink) sink(sys::Format(u"При экспорте возникла ошибка:\r\n%s\r\n%s", reason, sys::FromUtf8(path_)));
    return false;
  };
  if (!book_) return fail(sys::FromUtf8(createError_));
  errno = 0;
  const lxw_error error = workbook_close(book_);  // frees the workbook, written or not
  const int reason = errno;
  book_ = nullptr;
  if (error != LXW_NO_ERROR) {
    // The library's text is generic ("Error creating output xlsx file"); the system's
    // reason (a full disk, a missing permission) is what the user can act on.
    sys::Text text = LibraryText(error);
    if (reason != 0) text = sys::FromUtf8(std::strerror(reason)) + u" (" + text + u")";
    return fail(text);
  }
  std::string placed, commitError;
  const bool committed = CommitWithoutReplacing(temporary_, path_, placed, commitError);
  temporary_.clear();
  if (!committed) return fail(sys::FromUtf8(commitError));
  path_ = placed;
  return true;
}

void WriteCell(lxw_worksheet* sheet, int column, int row, sys::TextView text) {
  if (!sheet || column < 1 || row < 1) return;
  const std::string utf8 = CutUtf8(sys::ToUtf8(text), kMaxCellBytes);
  worksheet_write_string(sheet, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1), utf8.c_str(),
                         nullptr);
}

void SetColumnWidth(lxw_worksheet* sheet, int column, double width) {
  if (!sheet || column < 1) return;
  const auto c = static_cast<lxw_col_t>(column - 1);
  worksheet_set_column(sheet, c, c, width, nullptr);
}
