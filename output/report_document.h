// report_document.h: the report's data document — the XML the host fills into its ODT
// template: the date, the header table, the mixture and chromatogram lists, the mixture
// data per component, the results, and the graph caption with its points and picture.
//
// Text is UTF-8 in the document (pugixml's narrow build). Numbers use the runtime decimal
// separator and `digits` decimals (qtySymInReport); "---" marks values never computed.
#pragma once

#include <pugixml.hpp>

#include <string>

#include "calc/run.h"

struct ReportContent {
  sys::Text deviceNumber;
  sys::Text operatorName;
  bool assayList = false;     // "table3"
  bool mixtureList = false;   // "table2"
  bool mixtureInfo = false;   // "table4"
  bool resultCheck = false;   // "table5"
};

// Items 1 to 6: "DateCreated" (local time `now`), "table1", and the tables the switches ask
// for, under a new "root" element of `doc` (which also gets the xml declaration).
pugi::xml_node BuildReportDocument(pugi::xml_document& doc, const ReportContent& content, const MixtureList& mixtures,
                                   const AssayList& assays, const CalculationContext& context, int digits,
                                   std::int64_t now);

// The graph items for `curve`: "graphComp", "graph_Ch", "graphFormula" ("---" without a
// slope, as "formula" of table5) and "table6" (its points with a mean area and a
// certified concentration, by concentration).
void AppendGraphItems(pugi::xml_node root, const CalibrationCurve& curve, int digits);

// "PictureGraph": the path of the saved picture.
void AppendPicture(pugi::xml_node root, const sys::Text& path);

// The calibration as outputs write it: "A = %.*f * x + %.*f", slope then intercept.
sys::Text FormulaText(const CalibrationCurve& curve, int digits);

// The message for a negative answer of the host's ODT export.
sys::Text ReportErrorText(std::int32_t rc);
