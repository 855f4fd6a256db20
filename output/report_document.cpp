// report_document.cpp: building the report's data document.
#include "output/report_document.h"

#include <algorithm>

#include "calc/presentation.h"
#include "plugin/host_api.h"
#include "platform/sys/format.h"
#include "platform/sys/local_time.h"

namespace {

void Item(pugi::xml_node parent, const char* name, sys::TextView text) {
  parent.append_child(name).text().set(sys::ToUtf8(text).c_str());
}

sys::Text DateText(std::int64_t t) { return t <= 0 ? sys::Text(u"----") : sys::FormatLocalTime(t, u"%d.%m.%Y"); }
sys::Text Int(std::int64_t v) { return sys::Format(u"%d", v); }

void Table1(pugi::xml_node root, const ReportContent& c) {
  pugi::xml_node t = root.append_child("table1");
  auto row = [&](const char16_t* title, sys::TextView value) {
    pugi::xml_node r = t.append_child("row");
    Item(r, "title", title);
    Item(r, "DataString", value);
  };
  row(u"Нормативный документ", u"ГОСТ 31371.7-2020, приложение Б");
  if (!c.deviceNumber.empty()) row(u"Номер прибора", c.deviceNumber);
  if (!c.operatorName.empty()) row(u"Оператор", c.operatorName);
}

void Table2(pugi::xml_node root, const MixtureList& mixtures) {
  pugi::xml_node t = root.append_child("table2");
  int num = 0;
  for (const auto& m : mixtures) {
    pugi::xml_node r = t.append_child("row");
    Item(r, "num", Int(++num));
    Item(r, "MixtureName", m->name);
    Item(r, "NumBalloon", m->ballon);
    Item(r, "DateRelease", DateText(m->release));
    Item(r, "DateExpiry", DateText(m->expiry));
  }
}

void Table3(pugi::xml_node root, const AssayList& assays) {
  pugi::xml_node t = root.append_child("table3");
  int num = 0;
  for (const Assay& a : assays) {
    if (!a.mixture) continue;
    pugi::xml_node r = t.append_child("row");
    Item(r, "num", Int(++num));
    Item(r, "Sample", a.sample);
    Item(r, "AnDate", AssayDateText(a.date));
    Item(r, "Mixture", a.mixture->ballon);
  }
}

void Table4(pugi::xml_node root, const MixtureList& mixtures, const CalculationContext& ctx, int d) {
  pugi::xml_node t = root.append_child("table4");
  const std::size_t m = std::min<std::size_t>(mixtures.size(), 5);
  for (std::size_t i = 0; i < ctx.curves.size(); ++i) {
    const CalibrationCurve& c = *ctx.curves[i];
    if (c.splitPart || c.name.empty()) continue;
    pugi::xml_node r = t.append_child("row");
    Item(r, "num", Int(static_cast<std::int64_t>(i) + 1));
    Item(r, "Comp", c.name);
    for (std::size_t e = 0; e < m; ++e) {
      sys::Text conc = kNoValueText, deviation = kNoValueText;
      for (const auto& p : c.points) {
        if (p->mixture != mixtures[e].get() || !HasValue(p->concentration)) continue;
        conc = sys::Format(u"%.*f", d, p->concentration);
        deviation = HasValue(p->deviation) ? sys::Format(u"%.*f", d, p->deviation) : sys::Text();
        break;
      }
      const std::string n = std::to_string(e + 1);
      Item(r, ("Conc" + n).c_str(), conc);
      Item(r, ("Deviation" + n).c_str(), deviation);
    }
  }
}

void Table5(pugi::xml_node root, const CalculationContext& ctx, int d) {
  pugi::xml_node t = root.append_child("table5");
  bool first = true;
  std::int32_t channel = 0;
  for (std::size_t i = 0; i < ctx.curves.size(); ++i) {
    const CalibrationCurve& c = *ctx.curves[i];
    if (c.splitDone) continue;
    if (first || c.channel != channel) {
      first = false;
      channel = c.channel;
      Item(t.append_child("row"), "formula", sys::Format(u"-- Канал %d --", static_cast<std::int64_t>(channel) + 1));
    }
    const bool fitted = HasValue(c.slope);
    pugi::xml_node r = t.append_child("row");
    Item(r, "num", Int(static_cast<std::int64_t>(i) + 1));
    Item(r, "CompName", c.name);
    Item(r, "formula", fitted ? FormulaText(c, d) : sys::Text(kNoValueText));
    Item(r, "BB", NumberCellText(c.intercept, d));
    Item(r, "b", NumberCellText(c.slope, d));
    Item(r, "R", NumberCellText(c.correlation, d));
    Item(r, "R_norm", sys::Format(u"%.*f", 3, 0.999));
    Item(r, "b_OK", fitted ? VerdictText(c.linearityOk) : sys::Text(kNoValueText));
    Item(r, "R_OK", fitted ? VerdictText(c.correlationOk) : sys::Text(kNoValueText));
  }
}

}  // namespace

sys::Text FormulaText(const CalibrationCurve& c, int d) {
  return sys::Format(u"A = %.*f * x + %.*f", d, c.slope, d, c.intercept);
}

pugi::xml_node BuildReportDocument(pugi::xml_document& doc, const ReportContent& content, const MixtureList& mixtures,
                                   const AssayList& assays, const CalculationContext& context, int digits,
                                   std::int64_t now) {
  pugi::xml_node decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "utf-8";
  pugi::xml_node root = doc.append_child("root");
  Item(root, "DateCreated", sys::FormatLocalTime(now, u"%d.%m.%Y, %H:%M"));
  Table1(root, content);
  if (content.mixtureList) Table2(root, mixtures);
  if (content.assayList) Table3(root, assays);
  if (content.mixtureInfo) Table4(root, mixtures, context, digits);
  if (content.resultCheck) Table5(root, context, digits);
  return root;
}

void AppendGraphItems(pugi::xml_node root, const CalibrationCurve& curve, int d) {
  Item(root, "graphComp", curve.name);
  Item(root, "graph_Ch", Int(static_cast<std::int64_t>(curve.channel) + 1));
  Item(root, "graphFormula", HasValue(curve.slope) ? FormulaText(curve, d) : sys::Text(u"---"));
  std::vector<const MixturePoint*> points;
  for (const auto& p : curve.points) points.push_back(p.get());
  std::stable_sort(points.begin(), points.end(), [](const MixturePoint* a, const MixturePoint* b) {
    return LessWithNoValueFirst(a->concentration, b->concentration);
  });
  pugi::xml_node t = root.append_child("table6");
  int num = 0;
  for (const MixturePoint* p : points) {
    // A point of a mixture without the component may still hold areas; it has no place
    // on the graph (the graph page leaves it out too).
    if (!HasValue(p->meanArea) || !HasValue(p->concentration)) continue;
    pugi::xml_node r = t.append_child("row");
    Item(r, "num", Int(++num));
    Item(r, "graph_x", sys::Format(u"%.*f", d, p->concentration));
    Item(r, "graph_A", sys::Format(u"%.*f", d, p->meanArea));
  }
}

void AppendPicture(pugi::xml_node root, const sys::Text& path) { Item(root, "PictureGraph", path); }

sys::Text ReportErrorText(std::int32_t rc) {
  // Codes -8 to -10 are left to a host's other failures while finishing the report; they
  // share kNotDelivered's reason.
  constexpr std::int32_t kLastFinishingCode = -10;
  sys::Text text = sys::Format(u"Ошибка формирования отчета! Код ошибки: %d \r\nВозможные причины:\r\n", rc);
  if (rc == kNoTemplate) text += u" - Не удалось найти шаблон отчета.\r\n - Отсутствует плагин формирования ODT отчетов.\r\n";
  else if (rc == kNoTemporaryFile) text += u" - Не удалось создать временный файл.\r\n";
  else if (rc >= kTemporaryNotWritten && rc <= kTemplateUnreadable) text += u" - Ошибка обработки временного файла.\r\n";
  else if (rc == kBadDataDocument) text += u" - Ошибка обработки данных отчета.\r\n";
  else if (rc >= kLastFinishingCode && rc <= kNotDelivered) text += u" - Ошибка окончания формирования отчета.\r\n";
  else if (rc < kLastFinishingCode) text += u" - Неизвестная ошибка.\r\n";
  return text;
}
