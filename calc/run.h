// run.h: one run of the linearity check, from the loaded chromatograms and mixtures to
// the curves per channel and component, the channel list and the run's messages.
//
// The run reads nothing but its input: the caller (the module, vetrix-check, a test)
// gathers the loaded lists, the component list and the correction switches into a RunInput
// and gets the curves, channels and messages back in the CalculationContext. Synchronous;
// no module-wide state. Cost: every peak searches the curve list and every area the curve's points linearly
// (curves and mixtures are few); the rest is linear in the peaks.
#pragma once

#include <memory>
#include <vector>

#include "calc/messages.h"
#include "calc/records.h"

// What a run computes from. The lists and the component list must outlive the result
// (curves point into all three).
struct RunInput {
  const MixtureList& mixtures;                  // the loaded mixtures
  const AssayList& assays;                      // the loaded chromatograms, in list order
  const std::vector<ComponentName>& components; // the component list peaks are matched against
  CorrectionSwitches corrections;               // as the settings hold them right before the run
};

// The result of the last run (and, during a run, its working state).
struct CalculationContext {
  CorrectionSwitches corrections;         // the switches the last run applied
  const MixtureList* mixtures = nullptr;  // the lists of the last run that passed its precondition
  const AssayList* assays = nullptr;
  const std::vector<ComponentName>* components = nullptr;
  std::vector<std::unique_ptr<CalibrationCurve>> curves;  // ordinary curves, then partial ones
  std::vector<ChannelEntry> channels;                      // ascending by channel
  MessageTable messageTable = MakeMessageTable();          // the entries the last run raised
  MessageLog messages;                                     // the last run's messages as published
};

inline constexpr char16_t kPreconditionMessage[] =
    u"Для расчет требуется по 5 анализов (посадок) пяти градуировочных смесей, "
    u"ГОСТ 31371.7 - 2020 (пунткы Б.1 и Б.4).";

// Replaces everything in `context` with the result of a run on `input`: curves, channels,
// the raised message table and the published messages (context.messages; the module
// appends them to the log its messages page shows).
void RunCheck(CalculationContext& context, const RunInput& input);

// A new curve opened by `first` (its peak gives name, nameId, channel, and the component
// matched in `components`), with one point per mixture sorted by concentration, those
// without one first.
std::unique_ptr<CalibrationCurve> MakeCurve(const AreaRef& first, const MixtureList& mixtures,
                                            const std::vector<ComponentName>& components);

// Adds one area to every point of the curve whose mixture is the area's assay's mixture,
// and its retention time to the curve's mean; nothing for an area without peak or mixture.
void AddArea(CalibrationCurve& curve, const AreaRef& area);

// The post-run checks of mixture and analysis counts and coverage, raised in
// context.messageTable, then PublishMessages into context.messages.
void ValidateRun(CalculationContext& context);

// "файл: ...\<file name>, проба: <sample>, дата: <date>": how messages name a chromatogram.
sys::Text ChromatogramText(const Assay& assay);

// The analysis time as messages write it: "%d.%m.%Y  %H:%M" local time, "----" when <= 0.
sys::Text AssayDateText(std::int64_t date);

// The file name without its folders: the part after the last '\', '/' or ':'.
sys::TextView FileNameOnly(sys::TextView path);

// Canonical names with special handling of a failing curve.
bool IsSplitComponent(sys::TextView canonicalName);  // oxygen, nitrogen, carbon dioxide
bool IsMethane(sys::TextView canonicalName);
