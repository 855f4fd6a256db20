// split.cpp: making the partial curves of a split component.
#include "calc/split.h"

#include "calc/messages.h"
#include "platform/sys/locale.h"

bool QualifiesForSide(double c, int side) {
  return side == 0 ? (kSplitLowest <= c && c <= kSplitBorder) : c > kSplitBorder;
}

namespace {

std::unique_ptr<CalibrationCurve> MakePartial(const CalculationContext& context, const CalibrationCurve& parent,
                                              int side) {
  auto part = std::make_unique<CalibrationCurve>();
  part->splitPart = true;
  part->name = parent.name + (side == 0 ? u" (до 0.025)" : u" (св. 0.025)");
  part->nameId = parent.nameId;
  part->channel = parent.channel;
  part->component = parent.component;
  part->meanTime = parent.meanTime;
  if (!context.mixtures) return part;
  for (const auto& mixture : *context.mixtures) {
    auto point = std::make_unique<MixturePoint>();
    point->mixture = mixture.get();
    for (const auto& c : mixture->components) {
      if (QualifiesForSide(c.concentration, side) && sys::EqualNoCase(c.name, parent.name)) {
        point->concentration = c.concentration;
        point->deviation = c.deviation;
        break;
      }
    }
    part->points.push_back(std::move(point));
  }
  return part;
}

}  // namespace

std::unique_ptr<CalibrationCurve> SplitCurve(CalculationContext& context, CalibrationCurve& parent, int side) {
  std::unique_ptr<CalibrationCurve> part;
  for (const auto& point : parent.points) {
    if (!HasValue(point->meanArea) || !QualifiesForSide(point->concentration, side)) continue;
    if (!part) part = MakePartial(context, parent, side);
    for (const AreaRef& area : point->areas)
      if (area.peak && HasValue(area.peak->area)) AddArea(*part, area);
  }
  parent.splitDone = true;
  RaiseMessage(context.messageTable, MessageId::SplitMade, parent.name, std::nullopt);
  return part;
}
