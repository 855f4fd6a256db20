// presentation.cpp: cell texts of the results, intermediate values and messages.
#include "calc/presentation.h"

#include <climits>

#include "platform/sys/format.h"

sys::Text NumberCellText(double value, int decimals) {
  if (!HasValue(value)) return kNoValueText;
  return sys::Format(u"%.*f", decimals, value);
}

sys::Text IntegerCellText(std::int32_t value) {
  if (value == INT32_MIN) return kNoValueText;
  return sys::Format(u"%d", value);
}

sys::Text VerdictText(bool ok) { return ok ? u"Да" : u"Нет"; }

TextRow ResultsHeader() {
  return {u"№", u"Пик", u"Канал", u"Коэфф. B", u"Коэфф. b", u"Соотв. b", u"Коэфф. корреляции R²", u"Норматив", u"Соотв."};
}

std::vector<TextRow> ResultsRows(const std::vector<std::unique_ptr<CalibrationCurve>>& curves, int decimals) {
  std::vector<TextRow> rows;
  std::int32_t channel = 0;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const CalibrationCurve& c = *curves[i];
    if (c.channel != channel) {
      channel = c.channel;
      TextRow separator(9);
      separator[1] = kResultsSeparator;
      rows.push_back(std::move(separator));
    }
    const bool fitted = HasValue(c.slope);
    rows.push_back({sys::Format(u"%d", static_cast<std::int64_t>(i) + 1), c.name,
                    sys::Format(u"%d", static_cast<std::int64_t>(c.channel) + 1), NumberCellText(c.intercept, decimals),
                    NumberCellText(c.slope, decimals), fitted ? VerdictText(c.linearityOk) : kNoValueText,
                    NumberCellText(c.correlation, decimals), NumberCellText(0.999, 3),
                    fitted ? VerdictText(c.correlationOk) : kNoValueText});
  }
  return rows;
}

TextRow CalcInfoHeader() {
  return {u"№",          u"Пик",        u"Анализов",         u"Сум. площадей",    u"Ср. площадь",
          u"ОСКО",       u"Абс. расш. н. моль%", u"Отн. расш. н, %", u"Норматив ОСКО", u"Соответствие ОСКО",
          u"Конц. расч. моль%", u"Расх. отн., %", u"σk (табл. 4), %", u"Норматив, %",    u"Соответствие"};
}

TextRow CalcInfoRow(std::int32_t number, const CalibrationCurve& curve, const MixturePoint& p, int d) {
  TextRow row = {IntegerCellText(number), curve.name, IntegerCellText(p.count), NumberCellText(p.sumArea, d),
                 NumberCellText(p.meanArea, d), NumberCellText(p.rsd, d)};
  if (!HasValue(p.absUncertainty)) {
    row.insert(row.end(), 4, kNoValueText);
  } else {
    row.push_back(NumberCellText(p.absUncertainty, d));
    row.push_back(NumberCellText(p.relUncertainty, d));
    row.push_back(NumberCellText(p.rsdNorm, d));
    row.push_back(VerdictText(p.rsdOk));
  }
  row.push_back(NumberCellText(p.calcConcentration, d));
  row.push_back(NumberCellText(p.relDeviation, d));
  if (!HasValue(p.deviationNorm)) {
    row.insert(row.end(), 3, kNoValueText);
  } else {
    row.push_back(NumberCellText(p.sigmaK, d));
    row.push_back(NumberCellText(p.deviationNorm, d));
    row.push_back(VerdictText(p.deviationOk));
  }
  return row;
}

std::vector<TextRow> CalcInfoRows(const std::vector<std::unique_ptr<CalibrationCurve>>& curves,
                                  std::int32_t mixtureId, std::int32_t channel, int decimals) {
  std::vector<TextRow> rows;
  std::int32_t number = 0;
  for (const auto& curve : curves) {
    const MixturePoint* point = nullptr;
    for (const auto& p : curve->points) {
      if (p->mixture && p->mixture->id == mixtureId) {
        point = p.get();
        break;
      }
    }
    if (!point || point->count <= 0 || curve->channel != channel) continue;
    rows.push_back(CalcInfoRow(++number, *curve, *point, decimals));
  }
  return rows;
}

sys::Text MessagesText(const MessageLog& log, bool errors, bool warnings, bool infos) {
  if (log.nothingReported) return kNoMessagesText;
  sys::Text text;
  int n = 0;
  auto add = [&](bool shown, const std::vector<sys::Text>& list, const char16_t* format) {
    if (!shown) return;
    for (const auto& message : list) text += sys::Format(format, ++n, message);
  };
  add(errors, log.errors, u"%i.  Ошибка! \r\n\t%s\r\n");
  add(warnings, log.warnings, u"%i. Предупреждение! \r\n\t%s\r\n");
  add(infos, log.infos, u"%i. Информация! \r\n\t%s\r\n");
  return text;
}
