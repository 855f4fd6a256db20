// workbook.h: the XLSX export of a run — the chromatogram list, the areas of every
// component, and one sheet per component curve with its calibration and point blocks.
//
// Every cell holds text in the runtime number format ("%.*f" with qtySymInProg decimals;
// "---" for a value that was never computed). The file goes to the export folder of the
// settings as vetrix_export_<d><mm><yyyy>_<hh><mm><ss>.XLSX (local time).
#pragma once

#include <string>

#include "calc/run.h"
#include "output/workbook_file.h"

// Writes the workbook of `context` (its chromatogram list and curves). Settings are read
// afresh from the profile. Returns false without a message when the export folder has 2
// characters or fewer; false with a message through `sink` when the file cannot be
// written. `writtenPath` (optional) receives the file's path.
bool ExportWorkbook(const CalculationContext& context, const ExportMessageSink& sink,
                    std::string* writtenPath = nullptr);

// The file name for local time `now`: "vetrix_export_%d%02d%d_%02d%02d%02d.XLSX".
sys::Text ExportFileName(std::int64_t now);
