// presentation.h: the texts by which the pages show a run — the number cell, the results
// table, the intermediate values of a point and the numbered system messages.
//
// One source for the module's pages, the headless check and the batch host, so that all
// three write exactly the same cells. Decimals come from the caller (the program rounding
// qtySymInProg); numbers use the runtime decimal separator.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/messages.h"
#include "calc/records.h"

using TextRow = std::vector<sys::Text>;

// What every table, the workbook and the report show for a value that was never computed
// (kNoValue), an unknown channel or a missing mixture.
inline constexpr char16_t kNoValueText[] = u"---";

// "---" for kNoValue, else "%.*f" with `decimals`.
sys::Text NumberCellText(double value, int decimals);
// "---" for the smallest 32-bit integer, else "%d".
sys::Text IntegerCellText(std::int32_t value);
// "Да" / "Нет".
sys::Text VerdictText(bool ok);

// The separator row's text in the name column of the results table (34 hyphens).
inline constexpr char16_t kResultsSeparator[] = u"----------------------------------";

// Header of the results table: "№", "Пик", "Канал", "Коэфф. B", "Коэфф. b", "Соотв. b",
// "Коэфф. корреляции R²", "Норматив", "Соотв.".
TextRow ResultsHeader();
// Rows of the results table for `curves` in order, with a separator row wherever the
// channel changes (starting from channel 0).
std::vector<TextRow> ResultsRows(const std::vector<std::unique_ptr<CalibrationCurve>>& curves, int decimals);

// Header of the intermediate values ("№", "Пик", "Анализов", … "Соответствие").
TextRow CalcInfoHeader();
// The intermediate-values row of `point` of `curve`, numbered `number`.
TextRow CalcInfoRow(std::int32_t number, const CalibrationCurve& curve, const MixturePoint& point, int decimals);
// Rows of the intermediate-values page for mixture `mixtureId` and channel `channel`.
std::vector<TextRow> CalcInfoRows(const std::vector<std::unique_ptr<CalibrationCurve>>& curves,
                                  std::int32_t mixtureId, std::int32_t channel, int decimals);

// The system messages as the messages page shows them: numbered through the shown levels
// ("%i.  Ошибка! \r\n\t%s\r\n", "%i. Предупреждение! …", "%i. Информация! …"), or
// "Предупреждений и ошибок нет." when nothing was reported.
sys::Text MessagesText(const MessageLog& log, bool errors, bool warnings, bool infos);
inline constexpr char16_t kNoMessagesText[] = u"Предупреждений и ошибок нет.";
