// assay_chooser.h: "Main/OpenAssayIdDlgEx" — choosing chromatograms of the host database.
//
// The chooser lists the visible chromatograms (assay rows with ishidden = 0 and
// isdeleted = 0) with sample, analysis time and mixture, and answers the identifiers
// chosen, at most the buffer's capacity. Who chooses is pluggable: the modal dialog for a
// user, or a preset selection (batch mode and tests) that answers without showing
// anything. Database failures are reported, never thrown to the module.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sys/text.h"
#include "plugin/host_api.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

struct AssayChoice {
  std::int32_t id = 0;
  std::int64_t date = 0;  // seconds since 1970-01-01 UTC
  sys::Text sample;
  sys::Text mixture;
};

// The visible chromatograms of the database at `location`, by identifier. Throws
// DataBase::SqlException when the database cannot be read.
std::vector<AssayChoice> VisibleAssays(const sys::Text& location);

// Chooses from `assays`, at most `capacity`: the identifiers, or nullopt when cancelled.
using AssayChooser = std::function<std::optional<std::vector<std::int32_t>>(const std::vector<AssayChoice>& assays,
                                                                            int capacity, QWidget* owner)>;

// A chooser answering a fixed selection without a window: every listed chromatogram
// (`all`), or those of `ids` that are listed, in the order of `ids`; cut to the capacity.
AssayChooser PresetAssayChooser(bool all, std::vector<std::int32_t> ids);

// A chooser running AssayChooserDialog modally over the window given by the command's
// owner handle (the module's page), else over the active window.
AssayChooser DialogAssayChooser();

// Reports a failure of the command (a message box, or standard error in batch mode).
using FailureReporter = std::function<void(const std::string& text)>;

// The command: param1 an AssayIdBuffer, param2 the owner window handle or 0. Writes the chosen identifiers and answers
// how many; 0 for a missing buffer, a cancelled choice, no database location or a database failure (the last two are
// reported).
std::int32_t RunAssayChooserCommand(void* param1, void* param2, const sys::Text& databaseLocation,
                                    const AssayChooser& choose, const FailureReporter& report);

// The dialog: a table of the chromatograms, multiple selection, a filter, and "Выбрать"
// enabled for 1 to `capacity` chosen rows.
class AssayChooserDialog : public QDialog {
 public:
  AssayChooserDialog(const std::vector<AssayChoice>& assays, int capacity, QWidget* parent);

  // The identifiers of the selected rows, in the order shown.
  std::vector<std::int32_t> SelectedIds() const;
  QTableWidget* table() const { return table_; }
  QPushButton* chooseButton() const { return choose_; }
  QLineEdit* filter() const { return filter_; }

 private:
  void UpdateState();
  void ApplyFilter(const QString& text);

  int capacity_;
  QTableWidget* table_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QLabel* count_ = nullptr;
  QPushButton* choose_ = nullptr;
};
