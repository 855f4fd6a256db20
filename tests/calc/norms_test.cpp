// Tables 1 and 4: every edge where double precision decides.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/norms.h"
#include "calc/records.h"
#include "platform/sys/locale.h"

namespace {

class Norms : public ::testing::Test {
 protected:
  void SetUp() override { sys::SetRussianLocale(); }
  void TearDown() override { sys::ResetLocale(); }
};

TEST_F(Norms, Table1RangesAndUncertainty) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char16_t* name;
    double x;
    bool inRange;
    double U;  // kNoValue: no row
  } cases[] = {
      {u"Метан", 39.5, true, 0.237},
      {u"Метан", 39.49, false, 0.006 * 39.49},
      {u"Метан", 99.975, true, 0.006 * 99.975},
      {u"Этан", 0.0045, false, 0.04 * 0.0045 + 0.001},  // 0.0045 + 0.0005 < 0.005 in doubles
      {u"Этан", 0.005, true, 0.0012},
      {u"ЭТАН", 15.5, true, 0.621},
      {u"азот", 0.025, true, 0.00365},   // lower half: the border belongs to it
      {u"Азот", 0.026, true, 0.00354},   // upper half
      {u"Азот", 15.6, false, 0.04 * 15.6 + 0.0025},
      {u"Азот", 0.004, false, 0.11 * 0.004 + 0.0009},
      {u"Кислород", 2.05, true, 0.07 * 2.05 + 0.002},
      {u"Кислород", 2.06, false, 0.07 * 2.06 + 0.002},
      {u"Диоксид углерода", 0.02, true, 0.18 * 0.02 + 0.0005},
      {u"Диоксид углерода", 10.5, true, 0.07 * 10.5 + 0.003},
      {u"н-Бутан", 4.05, true, 0.06 * 4.05 + 0.001},
      {u"Н-БУТАН", 4.06, false, 0.06 * 4.06 + 0.001},
      {u"Неопентан", 0.055, true, 0.1 * 0.055 + 0.0008},
      {u"С6+", 1.55, true, 0.15 * 1.55 + 0.0007},
      {u"C6+", 1.0, false, kNoValue},  // Latin C: no row
      {u"Гелий", 0.55, true, 0.09 * 0.55 + 0.0008},
      {u"Водород", 0.56, false, 0.09 * 0.56 + 0.0008},
      {u"Толуол", 0.055, true, 0.14 * 0.055 + 0.0006},
      {u"Метанол", 0.06, false, 0.12 * 0.06 + 0.0007},
      {u"Аргон", 1.0, false, kNoValue},
      {u"Метан ", 90.0, false, kNoValue},  // no trimming
      {u"Этан", nan, false, nan},
  };
  for (const auto& c : cases) {
    double U = 123.0;
    EXPECT_EQ(Table1Uncertainty(c.name, c.x, U), c.inRange) << sys::ToUtf8(c.name) << " " << c.x;
    if (std::isnan(c.U)) EXPECT_TRUE(std::isnan(U));
    else if (c.U == kNoValue) EXPECT_EQ(U, kNoValue) << sys::ToUtf8(c.name);
    else EXPECT_NEAR(U, c.U, 1e-15) << sys::ToUtf8(c.name) << " " << c.x;
  }
}

TEST_F(Norms, Table4Steps) {
  struct Case {
    double x;
    bool inRange;
    double sigma;
  } cases[] = {
      {0.0035, true, 16.5},   {0.003, false, 17},     {0.01, true, 10},      {0.011, true, 10 - 40 * 0.011},
      {0.1, true, 6},         {0.5, true, 4.5},       {1.0, true, 3},        {1.2, true, 3 - 0.12 * 1.2},
      {15.8, true, 1.104},    {15.81, false, 0.68 - 0.0063 * 15.81},          {20, false, 0.554},
      {38.7, false, 0.68 - 0.0063 * 38.7},            {38.75, true, 0.68 - 0.0063 * 38.75},
      {99.9, true, 0.05063},  {100.0, true, 0.05},    {100.1, false, 0.68 - 0.0063 * 100.1},
  };
  for (const auto& c : cases) {
    double s = 0;
    EXPECT_EQ(Table4Sigma(c.x, s), c.inRange) << c.x;
    EXPECT_NEAR(s, c.sigma, 1e-12) << c.x;
  }
  double s = 0;
  EXPECT_FALSE(Table4Sigma(std::nan(""), s));
  EXPECT_TRUE(std::isnan(s));
}

}  // namespace
