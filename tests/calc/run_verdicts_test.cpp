// Whole runs built from records where a verdict could pass a failure: negative peaks
// (their mean area is negative) and analysis counts of mixtures whose components do not
// share one concentration order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/calc/fixture.h"

namespace {

class RunVerdicts : public EngineTest {
 protected:
  static sys::Text MixtureName(std::size_t m) { return u"ГСО-" + sys::Text(1, static_cast<char16_t>(u'1' + m)); }

  bool EntryRaised(int entry) const {
    const sys::Text& text = kTable[entry].text;
    for (const auto* list : {&context.messages.errors, &context.messages.warnings})
      for (const sys::Text& m : *list)
        if (m.starts_with(text)) return true;
    return false;
  }

  RunLists lists;
};

// Hydrogen areas of five mixtures, five analyses each, with a sign (a thermal-conductivity
// detector with helium carrier gives negative peaks) and a scatter in the third mixture.
struct HydrogenCase {
  const char* label;
  double sign;
  double scatter;  // relative spread of the third mixture's areas
  bool rsdOk;      // of the third mixture
  bool linearityOk;
};

void PrintTo(const HydrogenCase& c, std::ostream* out) { *out << c.label; }

class HydrogenRun : public RunVerdicts, public ::testing::WithParamInterface<HydrogenCase> {};

TEST_P(HydrogenRun, RsdIsRelativeToTheSizeOfTheMean) {
  const HydrogenCase c = GetParam();
  const double x[5] = {0.01, 0.05, 0.1, 0.2, 0.4};
  const double spread[5] = {-0.002, -0.001, 0, 0.001, 0.002};
  for (std::size_t m = 0; m < 5; ++m) lists.AddMixture(MixtureName(m).c_str(), {{u"Водород", x[m]}});
  for (std::size_t m = 0; m < 5; ++m)
    for (int k = 0; k < 5; ++k) {
      const double d = m == 2 ? spread[k] / 0.002 * c.scatter : spread[k];
      lists.AddAssay(m, {{u"Водород", c.sign * 1000 * x[m] * (1 + d)}});
    }
  Run(lists);
  const CalibrationCurve* curve = Curve(u"Водород");
  ASSERT_NE(curve, nullptr);
  for (const auto& p : curve->points) {
    SCOPED_TRACE(sys::ToUtf8(p->mixture->name));
    ASSERT_TRUE(HasValue(p->rsd));
    EXPECT_GT(p->rsd, 0);
    EXPECT_EQ(std::signbit(p->meanArea), c.sign < 0) << "the mean keeps its sign";
  }
  const MixturePoint& third = *curve->points[2];
  // s of the five areas relative to |mean|: the spread (−2, −1, 0, 1, 2) · scatter / 2 · 100 %.
  EXPECT_NEAR(third.rsd, std::sqrt(2.5) * c.scatter / 2 * 100, 1e-9);
  EXPECT_EQ(third.rsdOk, c.rsdOk);
  EXPECT_EQ(curve->linearityOk, c.linearityOk);
  EXPECT_GT(curve->points[0]->calcConcentration, 0) << "back-calculation divides by a slope of the same sign";
  EXPECT_EQ(std::signbit(curve->slope), c.sign < 0);
}

INSTANTIATE_TEST_SUITE_P(Scatter, HydrogenRun,
                         ::testing::Values(HydrogenCase{"positive_small", +1, 0.002, true, true},
                                           HydrogenCase{"negative_small", -1, 0.002, true, true},
                                           HydrogenCase{"positive_large", +1, 0.3, false, false},
                                           HydrogenCase{"negative_large", -1, 0.3, false, false}),
                         [](const auto& info) { return std::string(info.param.label); });

// A natural gas calibration: methane falls while ethane and propane rise, so the point of
// methane at one position of the concentration order belongs to another mixture.
class FallingMethane : public RunVerdicts {
 protected:
  static constexpr double kMethane[5] = {99, 97, 95, 92, 88};
  static constexpr double kEthane[5] = {0.5, 1, 2, 4, 6};
  static constexpr double kPropane[5] = {0.1, 0.2, 0.5, 1, 2};

  void Build(const int analyses[5]) {
    for (std::size_t m = 0; m < 5; ++m)
      lists.AddMixture(MixtureName(m).c_str(),
                       {{u"Метан", kMethane[m]}, {u"Этан", kEthane[m]}, {u"Пропан", kPropane[m]}});
    for (std::size_t m = 0; m < 5; ++m)
      for (int k = 0; k < analyses[m]; ++k)
        lists.AddAssay(m, {{u"Метан", 100 * kMethane[m], 0, 1.0},
                           {u"Этан", 100 * kEthane[m], 0, 2.0},
                           {u"Пропан", 100 * kPropane[m], 0, 3.0}});
  }
};

TEST_F(FallingMethane, EveryMixtureAnalysedFiveTimesRaisesNothing) {
  const int analyses[5] = {5, 5, 5, 5, 5};
  Build(analyses);
  Run(lists);
  EXPECT_TRUE(context.messages.errors.empty());
  EXPECT_TRUE(Curve(u"Этан")->linearityOk);
}

TEST_F(FallingMethane, AMixtureAnalysedThreeTimesRaisesEntryOne) {
  for (std::size_t cut = 0; cut < 5; ++cut) {
    SCOPED_TRACE(cut);
    lists = RunLists();
    int analyses[5] = {5, 5, 5, 5, 5};
    analyses[cut] = 3;
    Build(analyses);
    Run(lists);
    EXPECT_TRUE(EntryRaised(1));
    EXPECT_FALSE(EntryRaised(0));
    EXPECT_FALSE(EntryRaised(7)) << "every analysis of the short mixture has every peak";
  }
}

TEST_F(FallingMethane, APeakMissingFromAnExtraAnalysisIsNamed) {
  // The first mixture has a sixth analysis that shows methane only: its mixture's largest
  // count is 6, so ethane and propane at 5 are short of that analysis.
  const int analyses[5] = {5, 5, 5, 5, 5};
  Build(analyses);
  Assay& extra = lists.AddAssay(0, {{u"Метан", 100 * kMethane[0], 0, 1.0}});
  extra.fileName = u"/data/extra.stg";
  Run(lists);
  const auto& errors = context.messages.errors;
  ASSERT_EQ(errors.size(), 1u);
  const sys::Text item = u", канал: 1, " + ChromatogramText(extra);
  EXPECT_EQ(errors[0], kTable[7].text + u"\r\n\t- Этан" + item + u"\r\n\t- Пропан" + item);
}

}  // namespace
