// report_evidence.cpp: the evidence part of the report's data document.
#include "output/report_evidence.h"

#include <algorithm>
#include <string>

#include "calc/presentation.h"
#include "platform/sys/format.h"

namespace {

constexpr double kSplitBorder = 0.025;  // mol%, the border of the two partial dependencies

void Item(pugi::xml_node parent, const char* name, sys::TextView text) {
  parent.append_child(name).text().set(sys::ToUtf8(text).c_str());
}

sys::Text Int(std::int64_t v) { return sys::Format(u"%d", v); }

// A verdict next to its norm: "---" when there was no norm to judge by, as the
// intermediate-values page shows it.
sys::Text JudgedText(double norm, bool ok) { return HasValue(norm) ? VerdictText(ok) : sys::Text(u"---"); }

// Column heads of the certified values. A column without a mixture gets no items and a
// mixture without a cylinder no cylinder item, so a template can leave out the words
// that would head nothing ("баллон" with no number after it).
void MixtureHeads(pugi::xml_node root, const MixtureList& mixtures) {
  const std::size_t m = std::min<std::size_t>(mixtures.size(), 5);
  for (std::size_t e = 0; e < m; ++e) {
    const std::string n = std::to_string(e + 1);
    Item(root, ("table4Mix" + n).c_str(), mixtures[e]->name);
    if (!mixtures[e]->ballon.empty()) Item(root, ("table4Balloon" + n).c_str(), mixtures[e]->ballon);
  }
}

void PointRow(pugi::xml_node table, const MixturePoint& p, int d) {
  pugi::xml_node r = table.append_child("row");
  Item(r, "ptMixture", p.mixture ? p.mixture->name : sys::Text());
  // The cylinder in brackets under the mixture's name; nothing when the mixture has none.
  const sys::Text ballon = p.mixture ? p.mixture->ballon : sys::Text();
  Item(r, "ptBalloon", ballon.empty() ? ballon : u"(" + ballon + u")");
  Item(r, "ptX", NumberCellText(p.concentration, d));
  Item(r, "ptU", NumberCellText(p.relUncertainty, d));
  Item(r, "ptN", Int(p.count));
  Item(r, "ptA", NumberCellText(p.meanArea, d));
  Item(r, "ptRsd", NumberCellText(p.rsd, d));
  Item(r, "ptRsdNorm", NumberCellText(p.rsdNorm, d));
  Item(r, "ptRsdOk", JudgedText(p.rsdNorm, p.rsdOk));
  Item(r, "ptCalc", NumberCellText(p.calcConcentration, d));
  Item(r, "ptDev", NumberCellText(p.relDeviation, d));
  Item(r, "ptDevNorm", NumberCellText(p.deviationNorm, d));
  Item(r, "ptDevOk", JudgedText(p.deviationNorm, p.deviationOk));
}

void Evidence(pugi::xml_node root, const CalculationContext& ctx, int d) {
  pugi::xml_node t = root.append_child("table7");
  for (std::size_t i = 0; i < ctx.curves.size(); ++i) {
    const CalibrationCurve& c = *ctx.curves[i];
    pugi::xml_node head = t.append_child("row");
    Item(head, "evNum", Int(static_cast<std::int64_t>(i) + 1));
    Item(head, "evComp", c.name);
    Item(head, "evChannel", Int(static_cast<std::int64_t>(c.channel) + 1));
    Item(head, "evModel", CurveModelText(c));
    Item(head, "evFormula", HasValue(c.slope) ? FormulaText(c, d) : sys::Text(u"---"));
    for (const auto& p : c.points)
      if (HasValue(p->meanArea)) PointRow(t, *p, d);
  }
}

// The messages in the page's order and numbering with every level shown.
void Messages(pugi::xml_node root, const MessageLog& log) {
  pugi::xml_node t = root.append_child("table8");
  if (log.nothingReported) {
    Item(t.append_child("row"), "msgText", kNoMessagesText);
    return;
  }
  int n = 0;
  auto add = [&](const std::vector<sys::Text>& list, const char16_t* level) {
    for (const sys::Text& message : list) {
      pugi::xml_node r = t.append_child("row");
      Item(r, "msgNum", Int(++n));
      Item(r, "msgLevel", level);
      Item(r, "msgText", message);
    }
  };
  add(log.errors, u"Ошибка!");
  add(log.warnings, u"Предупреждение!");
  add(log.infos, u"Информация!");
}

sys::Text SwitchText(bool on) { return on ? sys::Text(u"включена") : sys::Text(u"выключена"); }

}  // namespace

sys::Text CurveModelText(const CalibrationCurve& c) {
  if (!HasValue(c.slope)) return kModelNoFit;
  if (c.splitPart) {
    const bool high = std::any_of(c.points.begin(), c.points.end(), [](const auto& p) {
      return HasValue(p->concentration) && p->concentration > kSplitBorder;
    });
    return high ? kModelSplitHigh : kModelSplitLow;
  }
  if (c.splitDone) return kModelSplitParent;
  return c.intercept != 0.0 ? kModelWithIntercept : kModelThroughOrigin;
}

void AppendReportEvidence(pugi::xml_node root, const ReportContent& content, const MixtureList& mixtures,
                          const CalculationContext& context, const MessageLog& log, int digits) {
  if (content.mixtureInfo) MixtureHeads(root, mixtures);
  if (!content.resultCheck) return;
  Evidence(root, context, digits);
  Messages(root, log);
  Item(root, "PressureCorrection", SwitchText(context.corrections.pressure));
  Item(root, "TemperatureCorrection", SwitchText(context.corrections.temperature));
}
