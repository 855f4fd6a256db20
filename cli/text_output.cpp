// text_output.cpp: the results, point tables and messages as the pages write them.
#include "cli/text_output.h"

#include "calc/presentation.h"
#include "platform/sys/format.h"
#include "platform/sys/text_table.h"

namespace {

// One table per curve: every point (mixture) with its certified concentration and the
// intermediate values as the intermediate calculations page writes them.
sys::Text PointsText(const CalculationContext& context, int d) {
  TextRow header = CalcInfoHeader();
  header[1] = u"Смесь";
  header.insert(header.begin() + 2, u"Концентрация, моль%");
  sys::Text out;
  for (const auto& curve : context.curves) {
    out += sys::Format(u"\n%s, канал %d: A = %s * x + %s\n", curve->name, static_cast<std::int64_t>(curve->channel) + 1,
                       NumberCellText(curve->slope, d), NumberCellText(curve->intercept, d));
    std::vector<TextRow> rows;
    std::int32_t number = 0;
    for (const auto& point : curve->points) {
      TextRow row = CalcInfoRow(++number, *curve, *point, d);
      row[1] = point->mixture ? point->mixture->name : sys::Text(kNoValueText);
      row.insert(row.begin() + 2, NumberCellText(point->concentration, d));
      rows.push_back(std::move(row));
    }
    out += sys::LayOutTable(header, rows);
  }
  return out;
}

}  // namespace

sys::Text RunToText(const CalculationContext& context, const MessageLog& log, int digits, bool points) {
  const sys::Text messages = MessagesText(log, true, true, true);
  sys::Text out = sys::LayOutTable(ResultsHeader(), ResultsRows(context.curves, digits));
  if (points) out += PointsText(context, digits);
  out += u'\n';
  out += sys::ToTerminalLines(messages);
  if (out.back() != u'\n') out += u'\n';
  return out;
}
