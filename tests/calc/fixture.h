// fixture.h: building the loaded lists of a check run in memory.
//
// Mixtures are added first, then assays (which point at them); nothing may be added once
// a run has taken references into the lists.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "calc/components.h"
#include "calc/messages.h"
#include "calc/records.h"
#include "calc/run.h"
#include "platform/sys/locale.h"

struct Certified {
  const char16_t* name;
  double concentration;
  double deviation = 1.0;
};

struct PeakSpec {
  const char16_t* name;
  double area;
  std::int32_t channel = 0;
  double time = 1.0;
};

class RunLists {
 public:
  MixtureList mixtures;
  AssayList assays;

  RunLists() { assays.reserve(1000); }

  Mixture& AddMixture(const char16_t* name, std::initializer_list<Certified> components) {
    auto m = std::make_unique<Mixture>();
    m->id = static_cast<std::int32_t>(mixtures.size()) + 1;
    m->name = name;
    for (const auto& c : components) m->components.push_back({u"", c.name, c.concentration, c.deviation});
    mixtures.push_back(std::move(m));
    return *mixtures.back();
  }

  Assay& AddAssay(std::size_t mixtureIndex, std::initializer_list<PeakSpec> peaks) {
    Assay a;
    a.id = static_cast<std::int32_t>(assays.size()) + 1;
    a.date = 1700000000 + a.id * 600;
    a.fileName = u"/data/chrom/a" + sys::Text(1, static_cast<char16_t>(u'0' + a.id % 10)) + u".stg";
    a.sample = u"проба";
    a.atmPressure = 101.325;
    a.airTemperature = 20.0;
    if (mixtureIndex < mixtures.size()) {
      a.mixture = mixtures[mixtureIndex].get();
      a.mixtureName = a.mixture->name;
    }
    for (const auto& p : peaks) a.peaks.push_back({u"", p.name, p.channel, p.area, p.time});
    assays.push_back(std::move(a));
    return assays.back();
  }
};

// What a run takes, as a freshly opened main window hands it over: Russian locale, the
// default component list, both corrections off. Each test owns its inputs and result.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { sys::SetRussianLocale(); }
  void TearDown() override { sys::ResetLocale(); }

  void Run(const RunLists& lists) { RunCheck(context, {lists.mixtures, lists.assays, components, corrections}); }

  const CalibrationCurve* Curve(sys::TextView name, std::int32_t channel = 0) const {
    for (const auto& c : context.curves)
      if (c->name == name && c->channel == channel) return c.get();
    return nullptr;
  }

  // The texts of the table's entries (index = id).
  const MessageTable kTable = MakeMessageTable();
  std::vector<ComponentName> components = DefaultComponents();
  CorrectionSwitches corrections;
  CalculationContext context;
};
