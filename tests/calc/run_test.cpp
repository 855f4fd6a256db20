// Whole check runs built from records: grouping, sorting, refits, splits and validation.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/split.h"
#include "calc/statistics.h"
#include "tests/calc/fixture.h"

namespace {

// Five mixtures of a natural-gas calibration with five analyses each: methane on a
// line with an offset (fails, kept), ethane with an offset (refitted), propane on a
// line, nitrogen with a steeper low range (split), and an unknown peak.
class CalibrationRun : public EngineTest {
 protected:
  static constexpr double kMethane[5] = {85, 88, 90, 92, 95};
  static constexpr double kEthane[5] = {1, 2, 3, 4, 5};
  static constexpr double kPropane[5] = {0.1, 0.2, 0.5, 1, 2};
  static constexpr double kNitrogen[5] = {0.005, 0.01, 0.025, 1, 5};
  static constexpr double kSpread[5] = {-0.002, -0.001, 0, 0.001, 0.002};

  void Build(std::size_t mixtureCount = 5) {
    for (std::size_t m = 0; m < mixtureCount; ++m) {
      lists.AddMixture(Name(m), {{u"Метан", kMethane[m]},
                                        {u"Этан", kEthane[m]},
                                        {u"Пропан", kPropane[m]},
                                        {u"Азот", kNitrogen[m]}});
    }
    for (std::size_t m = 0; m < mixtureCount; ++m) {
      for (int k = 0; k < 5; ++k) {
        const double f = 1 + kSpread[k];
        const double nitrogen = kNitrogen[m] <= 0.025 ? 150 * kNitrogen[m] : 100 * kNitrogen[m];
        lists.AddAssay(m, {{u"Азот", nitrogen * 1000 * f, 1, 0.8},
                           {u"Метан", (100 * kMethane[m] + 300) * f, 0, 1.0},
                           {u"Этан", (100 * kEthane[m] + 20) * f, 0, 2.0},
                           {u"Аргон", 50 * f, 0, 0.5},
                           {u"Пропан", 100 * kPropane[m] * f, 0, 3.0}});
      }
    }
  }
  static sys::Text MixtureName(std::size_t m) { return u"ГСО-" + sys::Text(1, static_cast<char16_t>(u'1' + m)); }
  static const char16_t* Name(std::size_t m) {
    static sys::Text names[5] = {MixtureName(0), MixtureName(1), MixtureName(2), MixtureName(3), MixtureName(4)};
    return names[m].c_str();
  }

  RunLists lists;
};

TEST_F(CalibrationRun, CurvesAreSortedByChannelAndRetentionTimeThenPartialCurves) {
  Build();
  Run(lists);
  std::vector<sys::Text> order;
  for (const auto& c : context.curves) order.push_back(c->name);
  const std::vector<sys::Text> want = {u"Аргон", u"Метан", u"Этан", u"Пропан", u"Азот",
                                       u"Азот (до 0.025)", u"Азот (св. 0.025)"};
  EXPECT_EQ(order, want);
  ASSERT_EQ(context.channels.size(), 2u);
  EXPECT_EQ(context.channels[1].title, u"2");
  EXPECT_DOUBLE_EQ(Curve(u"Этан")->meanTime, 2.0);
}

TEST_F(CalibrationRun, MethaneKeepsItsFitEthaneIsRefittedPropanePasses) {
  Build();
  Run(lists);
  const CalibrationCurve* methane = Curve(u"Метан");
  EXPECT_FALSE(methane->linearityOk);
  EXPECT_EQ(methane->intercept, 0);

  const CalibrationCurve* ethane = Curve(u"Этан");
  EXPECT_TRUE(ethane->linearityOk);
  EXPECT_NEAR(ethane->slope, 100, 1e-9);
  EXPECT_NEAR(ethane->intercept, 20, 1e-9);

  const CalibrationCurve* propane = Curve(u"Пропан");
  EXPECT_TRUE(propane->linearityOk);
  EXPECT_TRUE(propane->correlationOk);
  EXPECT_EQ(propane->intercept, 0);
  for (const auto& p : propane->points) {
    EXPECT_EQ(p->count, 5);
    for (const AreaRef& a : p->areas) EXPECT_EQ(a.assay->mixture, p->mixture);
  }
}

TEST_F(CalibrationRun, NitrogenIsSplitAtTheBorder) {
  Build();
  Run(lists);
  const CalibrationCurve* parent = Curve(u"Азот", 1);
  ASSERT_NE(parent, nullptr);
  EXPECT_TRUE(parent->splitDone);
  EXPECT_FALSE(parent->linearityOk);
  const CalibrationCurve* low = Curve(u"Азот (до 0.025)", 1);
  const CalibrationCurve* high = Curve(u"Азот (св. 0.025)", 1);
  ASSERT_TRUE(low && high);
  EXPECT_TRUE(low->splitPart && high->splitPart);
  ASSERT_EQ(low->points.size(), 5u);
  int lowWithAreas = 0, highWithAreas = 0;
  for (std::size_t i = 0; i < 5; ++i) {
    lowWithAreas += low->points[i]->count > 0;
    highWithAreas += high->points[i]->count > 0;
    // Partial curves keep mixture-list order; the other side has no concentration.
    EXPECT_EQ(low->points[i]->mixture->name, MixtureName(i));
    EXPECT_EQ(HasValue(low->points[i]->concentration), kNitrogen[i] <= 0.025);
    EXPECT_EQ(HasValue(high->points[i]->concentration), kNitrogen[i] > 0.025);
  }
  EXPECT_EQ(lowWithAreas, 3);
  EXPECT_EQ(highWithAreas, 2);
  EXPECT_NEAR(low->slope, 150000, 1e-6);
  EXPECT_NEAR(high->slope, 100000, 1e-6);
  EXPECT_TRUE(low->linearityOk);
  EXPECT_TRUE(high->linearityOk);
  EXPECT_EQ(low->component, parent->component);
}

TEST_F(CalibrationRun, MessagesOfACompleteRun) {
  Build();
  Run(lists);
  const auto& log = context.messages;
  // The unknown peak is in no list and in no mixture.
  ASSERT_EQ(log.errors.size(), 2u);
  EXPECT_EQ(log.errors[0], u"Следующие компоненты не найдены в списке копмонентов программы:\r\n\t- Аргон, канал: 1");
  EXPECT_EQ(log.errors[1], u"Следующие компоненты не найдены в смесях:\r\n\t- Аргон, канал: 1");
  ASSERT_EQ(log.warnings.size(), 1u);
  EXPECT_NE(log.warnings[0].find(u"\r\n\t- Азот"), sys::Text::npos);
  EXPECT_EQ(log.warnings[0].find(u"Азот,"), sys::Text::npos);
}

TEST_F(CalibrationRun, AMissingPeakNamesItsChromatogram) {
  Build();
  // Drop propane from the third analysis of the second mixture, and give it no date.
  Assay& a = lists.assays[7];
  std::erase_if(a.peaks, [](const Peak& p) { return p.name == u"Пропан"; });
  a.date = 0;
  a.fileName = u"C:\\Лортан\\data\\GSO2_3.stg";
  a.sample = u"ГСО-2 №3";
  Run(lists);
  const auto& errors = context.messages.errors;
  ASSERT_EQ(errors.size(), 3u);  // entries 4, 5 (the unknown peak) and 7
  EXPECT_EQ(errors[2],
            u"Следующие компоненты не найдены в указанных хроматограммах:\r\n\t- Пропан, канал: 1, "
            u"файл: ...\\GSO2_3.stg, проба: ГСО-2 №3, дата: ----");
  // Another analysis of the same point: a dated one, with the date in local time.
  lists.assays[8].peaks.clear();
  lists.assays[8].peaks.push_back({u"", u"Метан", 0, 100 * kMethane[1] + 300, 1.0});
  Run(lists);
  EXPECT_NE(context.messages.errors[2].find(u"дата: " + AssayDateText(lists.assays[8].date)), sys::Text::npos);
  EXPECT_EQ(AssayDateText(1700000000), u"15.11.2023  01:13");
}

TEST_F(CalibrationRun, FourMixturesRaiseTheCountEntries) {
  Build(4);
  Run(lists);
  const auto& errors = context.messages.errors;
  ASSERT_GE(errors.size(), 2u);
  EXPECT_EQ(errors[0], kTable[0].text);
  EXPECT_EQ(errors[1], kTable[1].text);
}

TEST_F(CalibrationRun, FourAnalysesPerMixtureRaiseEntryOneOnly) {
  Build();
  std::erase_if(lists.assays, [](const Assay& a) { return a.id % 5 == 0; });
  Run(lists);
  const auto& errors = context.messages.errors;
  ASSERT_EQ(errors.size(), 3u);  // entry 1, then 4 and 5 of the unknown peak
  EXPECT_EQ(errors[0], kTable[1].text);
  EXPECT_EQ(errors[1].find(kTable[4].text), 0u);
}

TEST_F(CalibrationRun, PreconditionWithoutMixturesOrAssays) {
  RunLists empty;
  Run(empty);
  ASSERT_EQ(context.messages.errors.size(), 1u);
  EXPECT_EQ(context.messages.errors[0],
            u"Для расчет требуется по 5 анализов (посадок) пяти градуировочных смесей, ГОСТ 31371.7 - 2020 "
            u"(пунткы Б.1 и Б.4).");
  EXPECT_TRUE(context.curves.empty() && context.channels.empty());
  EXPECT_EQ(context.mixtures, nullptr);
  Build();
  lists.assays.clear();
  Run(lists);
  EXPECT_EQ(context.messages.errors.size(), 1u);
}

TEST_F(CalibrationRun, MissingPressureAndTemperatureAreListedOnceAndNotApplied) {
  Build();
  corrections = {true, true};
  lists.assays[3].atmPressure = 0;
  lists.assays[3].fileName = u"/data/p0.stg";
  lists.assays[4].airTemperatureKnown = false;
  lists.assays[4].fileName = u"/data/t0.stg";
  Run(lists);
  const auto& errors = context.messages.errors;
  const sys::Text pressure = kTable[2].text + u"\r\n\t- " + ChromatogramText(lists.assays[3]);
  const sys::Text temperature = kTable[3].text + u"\r\n\t- " + ChromatogramText(lists.assays[4]);
  EXPECT_NE(std::find(errors.begin(), errors.end(), pressure), errors.end());
  EXPECT_NE(std::find(errors.begin(), errors.end(), temperature), errors.end());
  const CalibrationCurve* propane = Curve(u"Пропан");
  for (const auto& p : propane->points)
    for (const AreaRef& a : p->areas) {
      if (a.assay == &lists.assays[3]) {
        EXPECT_DOUBLE_EQ(a.area, a.peak->area / (293.15 / 293.15)) << "temperature only";
      }
      EXPECT_TRUE(std::isfinite(a.area));
    }
}

}  // namespace
