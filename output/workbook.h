// workbook.h: the XLSX export of a run — the chromatogram list, the areas of every
// component, and one sheet per component curve with its calibration and point blocks.
//
// Every cell holds text in the runtime number format ("%.*f" with the program rounding;
// "---" for a value that was never computed). The file goes to the export folder of the
// settings as vetrix_export_<d><mm><yyyy>_<hh><mm><ss>.XLSX (local time).
#pragma once

#include <string>

#include "calc/run.h"
#include "output/workbook_file.h"

// What the export takes from the settings; the module reads them from its profile right
// before the export, vetrix-check from its command line.
struct WorkbookSettings {
  sys::Text folder;         // the export folder ("ExportFolder")
  std::int32_t digits = 3;  // decimals of every number ("qtySymInProg")
};

// Writes the workbook of `context` (its chromatogram list and curves). Returns false
// without a message when the export folder has 2 characters or fewer; false with a message
// through `sink` when the file cannot be written. `writtenPath` (optional) receives the
// file's path.
[[nodiscard]] bool ExportWorkbook(const CalculationContext& context, const WorkbookSettings& settings,
                                  const ExportMessageSink& sink, std::string* writtenPath = nullptr);

// The file name for local time `now`: "vetrix_export_%d%02d%d_%02d%02d%02d.XLSX".
sys::Text ExportFileName(std::int64_t now);
