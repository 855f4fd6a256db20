// json_output.cpp: building the JSON document with nlohmann::ordered_json (member order
// as inserted).
#include "cli/json_output.h"

#include <cmath>
#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {

Json Number(double v) {
  if (!HasValue(v)) return nullptr;
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
  return v;
}

Json Str(const sys::Text& t) { return sys::ToUtf8(t); }

Json Texts(const std::vector<sys::Text>& list) {
  Json a = Json::array();
  for (const auto& t : list) a.push_back(Str(t));
  return a;
}

Json Assays(const AssayList& assays) {
  Json a = Json::array();
  for (const Assay& x : assays)
    a.push_back({{"id", x.id},
                 {"sample", Str(x.sample)},
                 {"date", x.date},
                 {"mixture", x.mixture ? Str(x.mixture->name) : Json(nullptr)},
                 {"atmPressure", Number(x.atmPressure)},
                 {"airTemperature", Number(x.airTemperature)}});
  return a;
}

Json Mixtures(const MixtureList& mixtures) {
  Json a = Json::array();
  for (const auto& m : mixtures) {
    Json components = Json::array();
    for (const auto& c : m->components)
      components.push_back(
          {{"name", Str(c.name)}, {"concentration", Number(c.concentration)}, {"deviation", Number(c.deviation)}});
    a.push_back({{"id", m->id},
                 {"name", Str(m->name)},
                 {"ballon", Str(m->ballon)},
                 {"release", m->release},
                 {"expiry", m->expiry},
                 {"components", components}});
  }
  return a;
}

Json Point(const MixturePoint& p) {
  Json areas = Json::array();
  for (const AreaRef& a : p.areas)
    areas.push_back({{"assayId", a.assay ? Json(a.assay->id) : Json(nullptr)},
                     {"area", a.peak ? Number(a.peak->area) : Json(nullptr)},
                     {"corrected", Number(a.area)}});
  return {{"mixtureId", p.mixture ? Json(p.mixture->id) : Json(nullptr)},
          {"mixture", p.mixture ? Str(p.mixture->name) : Json(nullptr)},
          {"concentration", Number(p.concentration)},
          {"deviation", Number(p.deviation)},
          {"count", p.count},
          {"sumArea", Number(p.sumArea)},
          {"meanArea", Number(p.meanArea)},
          {"rsd", Number(p.rsd)},
          {"absUncertainty", Number(p.absUncertainty)},
          {"relUncertainty", Number(p.relUncertainty)},
          {"rsdNorm", Number(p.rsdNorm)},
          {"rsdOk", p.rsdOk},
          {"calcConcentration", Number(p.calcConcentration)},
          {"relDeviation", Number(p.relDeviation)},
          {"sigmaK", Number(p.sigmaK)},
          {"deviationNorm", Number(p.deviationNorm)},
          {"deviationOk", p.deviationOk},
          {"areas", areas}};
}

Json Curve(const CalibrationCurve& c) {
  Json points = Json::array();
  for (const auto& p : c.points) points.push_back(Point(*p));
  return {{"channel", c.channel},
          {"name", Str(c.name)},
          {"nameId", Str(c.nameId)},
          {"component", c.component ? Str(c.component->name) : Json(nullptr)},
          {"splitPart", c.splitPart},
          {"splitDone", c.splitDone},
          {"fitCount", c.fitCount},
          {"slope", Number(c.slope)},
          {"intercept", Number(c.intercept)},
          {"correlation", Number(c.correlation)},
          {"correlationOk", c.correlationOk},
          {"linearityOk", c.linearityOk},
          {"meanTime", Number(c.meanTime)},
          {"points", points}};
}

}  // namespace

std::string RunToJson(const LoadedLists& lists, const CalculationContext& context, const MessageLog& log) {
  Json doc;
  doc["assays"] = Assays(lists.assays);
  doc["mixtures"] = Mixtures(lists.mixtures);
  Json channels = Json::array();
  for (const auto& ch : context.channels) channels.push_back({{"channel", ch.channel}, {"title", Str(ch.title)}});
  doc["channels"] = channels;
  Json curves = Json::array();
  for (const auto& c : context.curves) curves.push_back(Curve(*c));
  doc["curves"] = curves;
  doc["messages"] = {{"errors", Texts(log.errors)}, {"warnings", Texts(log.warnings)}, {"infos", Texts(log.infos)}};
  return doc.dump(2) + "\n";
}
