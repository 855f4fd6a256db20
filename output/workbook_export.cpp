// workbook_export.cpp: the sheets of the workbook export.
#include <xlsxwriter.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "calc/presentation.h"
#include "output/workbook.h"
#include "platform/sys/format.h"
#include "platform/sys/local_time.h"
#include "calc/run.h"

namespace {

// A number cell of the workbook: "%.*f", or "---" for a value that was never computed.
sys::Text Num(double v, int d) { return NumberCellText(v, d); }
sys::Text Int(std::int64_t v) { return sys::Format(u"%d", v); }

void WriteAssayList(Workbook& book, const AssayList& assays, const ExportMessageSink& sink) {
  if (assays.empty()) return;
  lxw_worksheet* s = book.SetSheetTitle(u"Список хрм.", sink);
  const std::pair<int, double> widths[] = {{2, 10}, {3, 20}, {4, 30}, {5, 25}, {6, 25}};
  for (auto [c, w] : widths) SetColumnWidth(s, c, w);
  const char16_t* header[] = {u"№", u"ID хроматограммы", u"Имя пробы", u"Дата и время анализа", u"Смесь"};
  for (int c = 0; c < 5; ++c) WriteCell(s, 2 + c, 2, header[c]);
  int k = 0;
  for (const Assay& a : assays) {
    const int row = 2 + ++k;
    WriteCell(s, 2, row, Int(k));
    WriteCell(s, 3, row, Int(a.id));
    WriteCell(s, 4, row, a.sample);
    WriteCell(s, 5, row, AssayDateText(a.date));
    WriteCell(s, 6, row, a.mixture ? sys::TextView(a.mixture->name) : sys::TextView(kNoValueText));
  }
}

void WriteAreas(Workbook& book, const CalculationContext& ctx, int d, const ExportMessageSink& sink) {
  if (ctx.curves.empty()) return;
  lxw_worksheet* s = book.SetSheetTitle(u"Площади.", sink);
  const int n = static_cast<int>(ctx.assays ? ctx.assays->size() : 0) + 2;
  WriteCell(s, 1, 2, u"Исходные площади");
  WriteCell(s, 1, n + 2, u"Скор. площади");
  SetColumnWidth(s, 2, 10);
  SetColumnWidth(s, 3, 20);
  for (int off : {0, n}) {
    WriteCell(s, 2, 3 + off, u"№");
    WriteCell(s, 3, 3 + off, u"Смесь");
  }
  int column = 4;
  for (const auto& curve : ctx.curves) {
    if (!curve->component || curve->splitPart) continue;
    SetColumnWidth(s, column, 20);
    WriteCell(s, column, 3, curve->name);
    WriteCell(s, column, 3 + n, curve->name);
    int r = 4;
    for (const auto& p : curve->points) {
      if (!p->areas.empty() && p->mixture) {
        WriteCell(s, 3, r, p->mixture->name);
        WriteCell(s, 3, r + n, p->mixture->name);
      }
      for (const AreaRef& a : p->areas) {
        WriteCell(s, 2, r, Int(r - 3));
        WriteCell(s, 2, r + n, Int(r - 3));
        WriteCell(s, column, r, Num(a.peak ? a.peak->area : kNoValue, d));
        WriteCell(s, column, r + n, Num(a.area, d));
        ++r;
      }
    }
    ++column;
  }
}

sys::Text CurveSheetTitle(const CalibrationCurve& c, int sheetCount) {
  if (c.name.size() > 1) return c.name + sys::Format(u"(кн-%d)", c.channel);
  return sys::Format(u"Без имени. Стр. %d", sheetCount);
}

// One block of a point starting at row a; returns the row of the next block.
int WritePointBlock(lxw_worksheet* s, const MixturePoint& p, int a, int d) {
  WriteCell(s, 1, a, p.mixture ? sys::TextView(p.mixture->name) : sys::TextView());
  const std::pair<int, double> widths[] = {{2, 8}, {3, 8}, {4, 16}, {5, 16}, {7, 25}, {8, 16}, {9, 25}, {10, 16}, {11, 25}, {12, 16}};
  for (auto [c, w] : widths) SetColumnWidth(s, c, w);
  const char16_t* header[] = {u"№", u"ID хрм.", u"Площадь", u"Скор. площадь"};
  for (int c = 0; c < 4; ++c) WriteCell(s, 2 + c, a + 1, header[c]);
  int j = 0;
  for (const AreaRef& r : p.areas) {
    const int row = a + 1 + ++j;
    WriteCell(s, 2, row, Int(j));
    WriteCell(s, 3, row, r.assay ? Int(r.assay->id) : sys::Text(kNoValueText));
    WriteCell(s, 4, row, Num(r.peak ? r.peak->area : kNoValue, d));
    WriteCell(s, 5, row, Num(r.area, d));
  }
  const std::pair<const char16_t*, sys::Text> g[] = {{u"Кол-во пиков:  ", sys::Format(u"%.d", p.count)},
                                                     {u"Сумма площадей:  ", Num(p.sumArea, d)},
                                                     {u"Уср. площадь:  ", Num(p.meanArea, d)}};
  const std::pair<const char16_t*, sys::Text> i[] = {{u"ОСКО:  ", Num(p.rsd, d)},
                                                     {u"Абс. расш. неопр.:  ", Num(p.absUncertainty, d)},
                                                     {u"Отн. расш. неопр.:  ", Num(p.relUncertainty, d)},
                                                     {u"Норматив ОСКО:  ", Num(p.rsdNorm, d)}};
  const std::pair<const char16_t*, sys::Text> k[] = {{u"Конц. пасп.:  ", Num(p.concentration, d)},
                                                     {u"Конц. расч.:  ", Num(p.calcConcentration, d)},
                                                     {u"Расх. отн.:  ", Num(p.relDeviation, d)},
                                                     {u"σk:  ", Num(p.sigmaK, d)},
                                                     {u"Норматив:  ", Num(p.deviationNorm, d)}};
  auto labels = [&](int column, const auto& list) {
    int row = a + 1;
    for (const auto& [label, value] : list) {
      WriteCell(s, column, row, label);
      WriteCell(s, column + 1, row, value);
      ++row;
    }
  };
  labels(7, g);
  labels(9, i);
  labels(11, k);
  return a + std::max(p.count, 6) + 3;
}

void WriteCurveSheet(Workbook& book, const CalibrationCurve& c, int d, const ExportMessageSink& sink) {
  lxw_worksheet* s = book.SetSheetTitle(CurveSheetTitle(c, book.sheetCount()), sink);
  WriteCell(s, 1, 1, u"Град. зависимость");
  SetColumnWidth(s, 7, 25);
  SetColumnWidth(s, 8, 16);
  WriteCell(s, 7, 2, u"Коэфф. B:  ");
  WriteCell(s, 8, 2, Num(c.intercept, d));
  WriteCell(s, 7, 3, u"Коэфф. b:  ");
  WriteCell(s, 8, 3, Num(c.slope, d));
  WriteCell(s, 7, 4, u"Коэфф. корреляции R²:  ");
  WriteCell(s, 8, 4, Num(c.correlation, d));
  int a = 7;
  for (const auto& p : c.points) a = WritePointBlock(s, *p, a, d);
}

}  // namespace

sys::Text ExportFileName(std::int64_t now) {
  sys::LocalTimeFields t;
  if (!sys::ToLocalTime(now, t)) t = {};  // a clock beyond the calendar: a name of zeros, still unique per commit
  return sys::Format(u"vetrix_export_%d%02d%d_%02d%02d%02d.XLSX", t.day, t.month, t.year, t.hour, t.minute, t.second);
}

bool ExportWorkbook(const CalculationContext& context, const WorkbookSettings& settings, const ExportMessageSink& sink,
                    std::string* writtenPath) {
  if (settings.folder.size() <= 2) return false;
  const int d = settings.digits;
  const std::filesystem::path folder(sys::ToUtf8(settings.folder));
  const std::string path =
      WorkbookPath(sys::FromUtf8((folder / sys::ToUtf8(ExportFileName(sys::Now()))).string()));
  Workbook book(path);
  static const AssayList kNone;
  WriteAssayList(book, context.assays ? *context.assays : kNone, sink);
  WriteAreas(book, context, d, sink);
  for (const auto& curve : context.curves)
    if (curve->component) WriteCurveSheet(book, *curve, d, sink);
  if (!book.SaveWorkbook(sink)) return false;
  if (writtenPath) *writtenPath = book.path();
  return true;
}
