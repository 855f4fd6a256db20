// report_evidence.h: the part of the report's data document that comes after the standard
// items (date, tables 1 to 6, graph, picture): what a reader needs to tell the mixtures of
// the certified-values table apart, and the evidence behind every verdict — the model that
// decided each curve, every point's RSD and back-calculated concentration against their
// norms, the run's system messages and the corrections in force.
//
// Only new elements are written, after everything else, so a host that knows only the
// standard items fills its templates as before. Built from the run's records alone (the
// mixtures, the curves, the message log and the correction switches of the run's
// settings). Numbers use the report digits and the runtime decimal separator; "---" marks
// a value never computed. Cost: linear in curves × points plus the message texts.
#pragma once

#include <pugixml.hpp>

#include "calc/messages.h"
#include "calc/run.h"
#include "output/report_document.h"

// How the report's evidence names the model that decided a curve's verdict.
inline constexpr char16_t kModelThroughOrigin[] = u"через начало координат, A = b · x";
inline constexpr char16_t kModelWithIntercept[] =
    u"со свободным членом, A = b · x + B (после несоответствия зависимости через начало координат)";
inline constexpr char16_t kModelSplitLow[] =
    u"отдельная зависимость до 0,025 мольной доли % включительно, A = b · x";
inline constexpr char16_t kModelSplitHigh[] = u"отдельная зависимость свыше 0,025 мольной доли %, A = b · x";
inline constexpr char16_t kModelNoFit[] =
    u"не построена: нет точки с аттестованной концентрацией и средней площадью";
inline constexpr char16_t kModelSplitParent[] =
    u"через начало координат, A = b · x; не соответствует — заменена отдельными зависимостями "
    u"до и свыше 0,025 мольной доли %";

// The model text of `curve`: none without a slope. A refit with an intercept is told by
// the intercept it stored: a first fit never touches the intercept (0), and a refit whose
// intercept is exactly 0 is the same line as the fit through the origin. `ptU` below is
// the relative expanded uncertainty of the uncertainty table (method B) that sets the
// RSD norm, not the certificate's deviation that "table4" shows.
sys::Text CurveModelText(const CalibrationCurve& curve);

// Appends, under `root` and after whatever it holds:
//  - with content.mixtureInfo: per column pair e of "table4" (e = 1 to min(mixtures, 5))
//    the mixture's name "table4Mix" + e and, when it has one, its cylinder
//    "table4Balloon" + e (the templates head a column without them with nothing);
//  - with content.resultCheck: "table7" (per curve in list order a heading row "evNum",
//    "evComp", "evChannel", "evModel", "evFormula", then one row per point with a mean
//    area: "ptMixture", "ptBalloon" (the cylinder in brackets, empty without one), "ptX", "ptU", "ptN", "ptA", "ptRsd", "ptRsdNorm",
//    "ptRsdOk", "ptCalc", "ptDev", "ptDevNorm", "ptDevOk"), "table8" (the system messages:
//    "msgNum", "msgLevel", "msgText" per message, errors then warnings then information,
//    numbered as the messages page numbers them with every level shown; a single row with
//    only "msgText" = "Предупреждений и ошибок нет." when nothing was reported), and
//    "PressureCorrection" / "TemperatureCorrection" ("включена" / "выключена").
void AppendReportEvidence(pugi::xml_node root, const ReportContent& content, const MixtureList& mixtures,
                          const CalculationContext& context, const MessageLog& log, int digits);
