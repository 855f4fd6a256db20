// run.h: one run of the linearity check, from the loaded chromatograms and mixtures to
// the curves per channel and component, the channel list and the run's messages.
//
// Synchronous; no state beyond the context and the module-wide message table and log.
// Cost: every peak searches the curve list and every area the curve's points linearly
// (curves and mixtures are few); the rest is linear in the peaks.
#pragma once

#include <memory>
#include <vector>

#include "calc/records.h"
#include "plugin/settings.h"

struct CalculationContext {
  Settings settings;                   // re-read at the start of every run
  const MixtureList* mixtures = nullptr;  // the lists of the last run that passed its precondition
  const AssayList* assays = nullptr;
  std::vector<std::unique_ptr<CalibrationCurve>> curves;  // ordinary curves, then partial ones
  std::vector<ChannelEntry> channels;                      // ascending by channel
};

inline constexpr char16_t kPreconditionMessage[] =
    u"Для расчет требуется по 5 анализов (посадок) пяти градуировочных смесей, "
    u"ГОСТ 31371.7 - 2020 (пунткы Б.1 и Б.4).";

// Rebuilds context.curves and context.channels and adds the run's messages to the system
// message log (the caller clears the log before and shows it after).
void RunCheck(CalculationContext& context, const MixtureList& mixtures, const AssayList& assays);

// A new curve opened by `first` (its peak gives name, nameId, channel and component), with
// one point per mixture sorted by concentration, those without one first.
std::unique_ptr<CalibrationCurve> MakeCurve(const AreaRef& first, const MixtureList& mixtures);

// Adds one area to every point of the curve whose mixture is the area's assay's mixture,
// and its retention time to the curve's mean; nothing for an area without peak or mixture.
void AddArea(CalibrationCurve& curve, const AreaRef& area);

// The post-run checks of mixture and analysis counts and coverage, then PublishMessages.
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
