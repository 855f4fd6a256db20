// Area corrections, point statistics, the two fits and the verdicts.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/statistics.h"
#include "tests/calc/fixture.h"

namespace {

class Statistics : public EngineTest {
 protected:
  // A curve of `component` with one point per concentration; each point gets `areas`
  // scaled by its mean (mean · (1 + d) for every d).
  CalibrationCurve& MakeCurve(const char16_t* component, const std::vector<double>& concentrations,
                              const std::vector<double>& means, const std::vector<double>& spread) {
    curve = CalibrationCurve{};
    curve.name = component;
    curve.component = FindComponent(components, component);
    mixtures.clear();
    for (std::size_t i = 0; i < concentrations.size(); ++i) {
      auto m = std::make_unique<Mixture>();
      m->name = u"ГСО-" + sys::Text(1, static_cast<char16_t>(u'1' + i));
      auto p = std::make_unique<MixturePoint>();
      p->mixture = m.get();
      p->concentration = concentrations[i];
      for (double d : spread) {
        const double a = means[i] * (1 + d);
        p->areas.push_back({nullptr, nullptr, a});
        p->sumArea += a;
        p->count += 1;
      }
      curve.points.push_back(std::move(p));
      mixtures.push_back(std::move(m));
    }
    return curve;
  }

  CalibrationCurve curve;
  MixtureList mixtures;
  MessageTable table = MakeMessageTable();
  MessageLog log;
  const std::vector<double> five = {-0.002, -0.001, 0, 0.001, 0.002};
};

TEST_F(Statistics, CorrectArea) {
  Assay a;
  struct Case {
    int press, temp;
    double p, t;
    bool tKnown;
    double want;
  } cases[] = {
      {0, 0, 100, 30, true, 1000},
      {1, 0, 100, 30, true, 1013.25},
      {0, 1, 100, 20, true, 1000},
      {0, 1, 100, 30, true, 1000 / (293.15 / 303.15)},
      {1, 1, 100, 30, true, 1000 / (100 / 101.325) / (293.15 / 303.15)},
      {1, 0, 0, 20, true, 1000},          // no pressure: left alone, no division by zero
      {1, 0, -5, 20, true, 1000},
      {0, 1, 100, 30, false, 1000},        // temperature unknown: left alone
      {0, 1, 100, -273.15, true, 1000},    // at or below absolute zero: missing
  };
  for (const auto& c : cases) {
    a.atmPressure = c.p;
    a.airTemperature = c.t;
    a.airTemperatureKnown = c.tKnown;
    EXPECT_DOUBLE_EQ(CorrectArea(1000, a, {c.press != 0, c.temp != 0}), c.want) << c.press << c.temp << " " << c.p << " " << c.t;
  }
  EXPECT_NEAR(1000 / (293.15 / (273.15 + 30)), 1034.1122, 1e-4);
  EXPECT_EQ(CorrectArea(kNoValue, a, {true, false}), kNoValue);
}

TEST_F(Statistics, IdealLineThroughOrigin) {
  MakeCurve(u"Этан", {1, 2, 3, 4, 5}, {100, 200, 300, 400, 500}, five);
  ComputeCurve(curve, table);
  ComputeCurve(curve, table);  // a second computation must not count the points twice
  EXPECT_DOUBLE_EQ(curve.slope, 100);
  EXPECT_EQ(curve.intercept, 0);
  EXPECT_EQ(curve.fitCount, 5);
  EXPECT_DOUBLE_EQ(curve.correlation, 1);
  EXPECT_TRUE(curve.correlationOk);
  EXPECT_TRUE(curve.linearityOk);
  for (const auto& p : curve.points) {
    EXPECT_DOUBLE_EQ(p->calcConcentration, p->concentration);
    EXPECT_NEAR(p->relDeviation, 0, 1e-12);
    EXPECT_TRUE(p->rsdOk);
    EXPECT_TRUE(p->deviationOk);
  }
  const MixturePoint& first = *curve.points[0];
  EXPECT_DOUBLE_EQ(first.absUncertainty, 0.041);
  EXPECT_DOUBLE_EQ(first.relUncertainty, 4.1);
  EXPECT_DOUBLE_EQ(first.rsdNorm, 1.025);
  EXPECT_DOUBLE_EQ(first.sigmaK, 3);
  EXPECT_DOUBLE_EQ(first.deviationNorm, 6);
  PublishMessages(table, log);
  EXPECT_TRUE(log.nothingReported) << "no entry raised";
}

TEST_F(Statistics, MeanAndRsdOfThreeAreas) {
  MakeCurve(u"Этан", {1}, {100}, {0, 0.02, -0.02});
  ComputeCurve(curve, table);
  const MixturePoint& p = *curve.points[0];
  EXPECT_DOUBLE_EQ(p.meanArea, 100);
  EXPECT_DOUBLE_EQ(p.rsd, 2);
}

TEST_F(Statistics, VerdictNeedsFiveJudgedPointsAllPassed) {
  MakeCurve(u"Этан", {1, 2, 3, 4}, {100, 200, 300, 400}, five);
  ComputeCurve(curve, table);
  EXPECT_FALSE(curve.linearityOk) << "four fit points";

  // Six points, the last 20 % off the line: its deviation fails, so the curve fails.
  MakeCurve(u"Этан", {1, 2, 3, 4, 5, 6}, {100, 200, 300, 400, 500, 720}, five);
  ComputeCurve(curve, table);
  EXPECT_FALSE(curve.points[5]->deviationOk);
  EXPECT_FALSE(curve.linearityOk);

  MakeCurve(u"Этан", {1, 2, 3, 4, 5, 6}, {100, 200, 300, 400, 500, 600}, five);
  ComputeCurve(curve, table);
  EXPECT_TRUE(curve.linearityOk) << "six good points";
}

TEST_F(Statistics, SingleAreaGivesNaNRsdThatFailsEveryComparison) {
  MakeCurve(u"Этан", {1, 2, 3, 4, 5}, {100, 200, 300, 400, 500}, {0});
  ComputeCurve(curve, table);
  for (const auto& p : curve.points) {
    EXPECT_TRUE(std::isnan(p->rsd));
    EXPECT_FALSE(p->rsdOk);
  }
  EXPECT_DOUBLE_EQ(curve.slope, 100);
  EXPECT_FALSE(curve.linearityOk);
}

TEST_F(Statistics, CurveWithoutComponentGetsNoRsdNorms) {
  MakeCurve(u"Аргон", {1, 2, 3, 4, 5}, {100, 200, 300, 400, 500}, five);
  ASSERT_EQ(curve.component, nullptr);
  ComputeCurve(curve, table);
  for (const auto& p : curve.points) {
    EXPECT_EQ(p->rsdNorm, kNoValue);
    EXPECT_FALSE(p->rsdOk);
    EXPECT_TRUE(p->deviationOk);
  }
  EXPECT_FALSE(curve.linearityOk);
  EXPECT_EQ(curve.fitCount, 5);
}

TEST_F(Statistics, PointWithoutConcentrationStaysOutOfTheFit) {
  MakeCurve(u"Этан", {kNoValue, 1, 2, 3, 4, 5}, {999, 100, 200, 300, 400, 500}, five);
  ComputeCurve(curve, table);
  const MixturePoint& p = *curve.points[0];
  EXPECT_DOUBLE_EQ(p.meanArea, 999);
  EXPECT_FALSE(std::isnan(p.rsd));
  EXPECT_EQ(p.calcConcentration, kNoValue);
  EXPECT_EQ(p.sigmaK, kNoValue);
  EXPECT_EQ(curve.fitCount, 5);
  EXPECT_DOUBLE_EQ(curve.slope, 100);
  EXPECT_TRUE(curve.linearityOk);
  PublishMessages(table, log);
  EXPECT_TRUE(log.nothingReported) << "no entry raised";
}

TEST_F(Statistics, EqualMeanAreasLeaveCorrelationWithoutValue) {
  MakeCurve(u"Этан", {1, 2, 3, 4, 5}, {300, 300, 300, 300, 300}, five);
  ComputeCurve(curve, table);
  EXPECT_EQ(curve.correlation, kNoValue);
  EXPECT_FALSE(curve.correlationOk);
}

TEST_F(Statistics, RefitWithInterceptRecoversAnOffsetLine) {
  MakeCurve(u"Этан", {1, 2, 3, 4, 5}, {120, 220, 320, 420, 520}, five);
  ComputeCurve(curve, table);
  EXPECT_FALSE(curve.linearityOk);
  const double r = curve.correlation;
  RefitWithIntercept(curve, table);
  EXPECT_NEAR(curve.slope, 100, 1e-9);
  EXPECT_NEAR(curve.intercept, 20, 1e-9);
  EXPECT_TRUE(curve.linearityOk);
  EXPECT_EQ(curve.correlation, r);  // not recomputed
  for (const auto& p : curve.points) EXPECT_NEAR(p->calcConcentration, p->concentration, 1e-9);
}

TEST_F(Statistics, RefitOverOneConcentrationIsNotFiniteAndFails) {
  MakeCurve(u"Этан", {2, 2, 2, 2, 2}, {200, 201, 199, 200, 200}, five);
  ComputeCurve(curve, table);
  RefitWithIntercept(curve, table);
  EXPECT_FALSE(std::isfinite(curve.slope));
  EXPECT_FALSE(curve.linearityOk);
  for (const auto& p : curve.points) EXPECT_FALSE(p->deviationOk);
}

TEST_F(Statistics, OutOfRangeConcentrationsRaiseTable1AndTable4Messages) {
  MakeCurve(u"Метан", {20, 30, 92, 94, 96}, {2000, 3000, 9200, 9400, 9600}, five);
  ComputeCurve(curve, table);
  EXPECT_TRUE(HasValue(curve.points[0]->rsdNorm)) << "out of range still gets its norm";
  PublishMessages(table, log);
  const auto& errors = log.errors;
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0],
            u"Концентрация следующих компонентов не попадает в допустимый диапазон ГОСТ 31371.7-2020, "
            u"таблица 1 (метод В):\r\n\t- Метан, ГСО-1\r\n\t- Метан, ГСО-2");
  EXPECT_EQ(errors[1],
            u"Концентрация следующих компонентов не попадает в допустимый диапазон ГОСТ 31371.7-2020, "
            u"таблица 4:\r\n\t- Метан, ГСО-1\r\n\t- Метан, ГСО-2");
}

}  // namespace
