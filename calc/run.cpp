// run.cpp: the driver of a check run and its post-run validation.
#include "calc/run.h"

#include <algorithm>

#include "calc/components.h"
#include "calc/messages.h"
#include "calc/split.h"
#include "calc/statistics.h"
#include "platform/sys/format.h"
#include "platform/sys/local_time.h"
#include "platform/sys/locale.h"

namespace {

sys::Text ChannelText(std::int32_t channel) {
  return sys::Format(u"канал: %d", static_cast<std::int64_t>(channel) + 1);
}

CalibrationCurve* FindCurve(CalculationContext& context, const Peak& peak) {
  for (auto& c : context.curves)
    if (c->channel == peak.channel && sys::EqualNoCase(c->name, peak.name)) return c.get();
  return nullptr;
}

void NoteChannel(CalculationContext& context, std::int32_t channel) {
  for (const auto& e : context.channels)
    if (e.channel == channel) return;
  context.channels.push_back({channel, sys::Format(u"%d", static_cast<std::int64_t>(channel) + 1)});
}

// A correction that is switched on but cannot be applied to this assay lists the assay
// under entry 2 (pressure) or 3 (temperature).
void NoteMissingCorrections(CalculationContext& context, const Assay& assay) {
  const bool anyArea = std::any_of(assay.peaks.begin(), assay.peaks.end(),
                                   [](const Peak& p) { return HasValue(p.area); });
  if (!anyArea) return;
  if (context.corrections.pressure && !HasPressure(assay))
    RaiseDetail(context.messageTable, MessageId::PressureMissing, ChromatogramText(assay));
  if (context.corrections.temperature && !HasTemperature(assay))
    RaiseDetail(context.messageTable, MessageId::TemperatureMissing, ChromatogramText(assay));
}

void BuildCurves(CalculationContext& context, const RunInput& input) {
  for (const Assay& assay : input.assays) {
    if (!assay.mixture) continue;
    NoteMissingCorrections(context, assay);
    for (const Peak& peak : assay.peaks) {
      CalibrationCurve* curve = FindCurve(context, peak);
      const AreaRef ref{&peak, &assay, CorrectArea(peak.area, assay, input.corrections)};
      NoteChannel(context, peak.channel);
      if (!curve) {
        context.curves.push_back(MakeCurve(ref, input.mixtures, input.components));
        curve = context.curves.back().get();
      }
      if (HasValue(peak.area)) AddArea(*curve, ref);
    }
  }
  std::stable_sort(context.channels.begin(), context.channels.end(),
                   [](const ChannelEntry& a, const ChannelEntry& b) { return a.channel < b.channel; });
}

// By channel, then mean retention time with curves without a time first. Stable, so
// curves that tie keep the order in which their first peaks were met.
void SortCurves(CalculationContext& context) {
  for (auto& c : context.curves)
    if (c->timeCount > 0) c->meanTime = c->sumTime / c->timeCount;
  std::stable_sort(context.curves.begin(), context.curves.end(), [](const auto& a, const auto& b) {
    if (a->channel != b->channel) return a->channel < b->channel;
    return LessWithNoValueFirst(a->meanTime, b->meanTime);
  });
}

void ComputeAll(CalculationContext& context) {
  std::vector<std::unique_ptr<CalibrationCurve>> partial;
  for (auto& curve : context.curves) {
    ComputeCurve(*curve, context.messageTable);
    if (curve->linearityOk || !HasValue(curve->slope) || !curve->component) continue;
    const sys::Text& canonical = curve->component->name;
    if (IsSplitComponent(canonical)) {
      for (int side = 0; side < 2; ++side) {
        if (auto part = SplitCurve(context, *curve, side)) {
          ComputeCurve(*part, context.messageTable);
          partial.push_back(std::move(part));
        }
      }
    } else if (!IsMethane(canonical)) {
      RefitWithIntercept(*curve, context.messageTable);
    }
  }
  for (auto& p : partial) context.curves.push_back(std::move(p));
}

// The place of `mixture` in the mixtures list; the list's size when it is not there.
std::size_t MixtureIndex(const MixtureList& mixtures, const Mixture* mixture) {
  for (std::size_t i = 0; i < mixtures.size(); ++i)
    if (mixtures[i].get() == mixture) return i;
  return mixtures.size();
}

bool HasAreaOf(const MixturePoint& point, const Assay& assay) {
  return std::any_of(point.areas.begin(), point.areas.end(), [&](const AreaRef& a) { return a.assay == &assay; });
}

// Entry 7: each assay of the point's mixture that gave the curve no area.
void ReportMissingPeaks(CalculationContext& context, const CalibrationCurve& curve, const MixturePoint& point,
                        const sys::Text& channelText) {
  for (const Assay& assay : *context.assays) {
    if (assay.mixture != point.mixture || HasAreaOf(point, assay)) continue;
    RaiseMessage(context.messageTable, MessageId::NotInChromatograms, curve.name,
                 channelText + u", " + ChromatogramText(assay));
  }
}

}  // namespace

bool IsSplitComponent(sys::TextView name) {
  return sys::EqualNoCase(name, u"Кислород") || sys::EqualNoCase(name, u"Азот") ||
         sys::EqualNoCase(name, u"Диоксид углерода");
}

bool IsMethane(sys::TextView name) { return sys::EqualNoCase(name, u"Метан"); }

sys::TextView FileNameOnly(sys::TextView path) {
  std::size_t cut = path.find_last_of(u"\\/:");
  return cut == sys::TextView::npos ? path : path.substr(cut + 1);
}

sys::Text AssayDateText(std::int64_t date) {
  if (date <= 0) return u"----";
  return sys::FormatLocalTime(date, u"%d.%m.%Y  %H:%M");
}

sys::Text ChromatogramText(const Assay& assay) {
  return u"файл: ...\\" + sys::Text(FileNameOnly(assay.fileName)) + u", проба: " + assay.sample + u", дата: " +
         AssayDateText(assay.date);
}

std::unique_ptr<CalibrationCurve> MakeCurve(const AreaRef& first, const MixtureList& mixtures,
                                            const std::vector<ComponentName>& components) {
  auto curve = std::make_unique<CalibrationCurve>();
  const Peak& peak = *first.peak;
  curve->name = peak.name;
  curve->nameId = peak.nameId;
  curve->channel = peak.channel;
  curve->component = FindComponent(components, peak.name);
  for (const auto& mixture : mixtures) {
    auto point = std::make_unique<MixturePoint>();
    point->mixture = mixture.get();
    if (const MixtureComponent* c = FindMixtureComponent(*mixture, peak.name)) {
      point->concentration = c->concentration;
      point->deviation = c->deviation;
    }
    curve->points.push_back(std::move(point));
  }
  std::stable_sort(curve->points.begin(), curve->points.end(), [](const auto& a, const auto& b) {
    return LessWithNoValueFirst(a->concentration, b->concentration);
  });
  return curve;
}

void AddArea(CalibrationCurve& curve, const AreaRef& area) {
  if (!area.peak || !area.assay || !area.assay->mixture) return;
  curve.sumTime += area.peak->time;
  curve.timeCount += 1;
  for (auto& point : curve.points) {
    if (point->mixture != area.assay->mixture) continue;
    point->sumArea += area.area;
    point->areas.push_back(area);
    point->count += 1;
  }
}

void RunCheck(CalculationContext& context, const RunInput& input) {
  context.mixtures = nullptr;
  context.assays = nullptr;
  context.components = nullptr;
  context.curves.clear();
  context.channels.clear();
  ResetMessages(context.messageTable);
  context.messages.Clear();
  context.corrections = input.corrections;
  if (input.mixtures.empty() || input.assays.empty()) {
    context.messages.AddMessage(MessageLevel::Error, kPreconditionMessage);
    return;
  }
  context.mixtures = &input.mixtures;
  context.assays = &input.assays;
  context.components = &input.components;
  BuildCurves(context, input);
  SortCurves(context);
  ComputeAll(context);
  ValidateRun(context);
}

void ValidateRun(CalculationContext& context) {
  const std::size_t n = context.mixtures ? context.mixtures->size() : 0;
  // maxCount is kept per mixture (by its place in the mixtures list), not per position in
  // concentration order: the points of one position belong to different mixtures on
  // curves whose concentrations fall while others rise, and would hide a short mixture.
  std::vector<std::int32_t> maxCount(n, 0);
  if (n != 5) {
    RaiseEntry(context.messageTable, MessageId::MixtureCount);
    RaiseEntry(context.messageTable, MessageId::AnalysisCount);
  } else {
    for (const auto& curve : context.curves) {
      if (curve->splitPart) continue;
      for (const auto& point : curve->points) {
        const std::size_t m = MixtureIndex(*context.mixtures, point->mixture);
        if (m < n) maxCount[m] = std::max(maxCount[m], point->count);
      }
    }
    if (std::any_of(maxCount.begin(), maxCount.end(), [](std::int32_t c) { return c < 5; }))
      RaiseEntry(context.messageTable, MessageId::AnalysisCount);
  }
  for (const auto& curve : context.curves) {
    if (curve->splitPart) continue;
    const sys::Text detail = ChannelText(curve->channel);
    MessageTable& table = context.messageTable;
    if (!curve->component) RaiseMessage(table, MessageId::NotInComponentList, curve->name, detail);
    if (curve->fitCount == 0) {
      RaiseMessage(table, MessageId::NotInMixtures, curve->name, detail);
      continue;
    }
    if (static_cast<std::size_t>(curve->fitCount) != curve->points.size()) {
      RaiseMessage(table, MessageId::NotInAllMixtures, curve->name, detail);
      continue;
    }
    for (std::size_t i = 0; i < n && i < curve->points.size(); ++i) {
      const MixturePoint& point = *curve->points[i];
      const std::size_t m = context.mixtures ? MixtureIndex(*context.mixtures, point.mixture) : n;
      const std::int32_t expected = m < n ? maxCount[m] : 0;
      if (point.mixture && point.count != expected && context.assays)
        ReportMissingPeaks(context, *curve, point, detail);
    }
  }
  PublishMessages(context.messageTable, context.messages);
}
