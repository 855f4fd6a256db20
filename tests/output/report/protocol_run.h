// protocol_run.h: a check run whose report shows every kind of value a protocol holds at
// its widest: areas up to 10^8, concentrations from 0,0001 to 100 mol%, a negative
// intercept, every model that can decide a verdict, points without norms and messages of
// both levels.
//
// Five mixtures of five analyses each. Channel 0: methane 90 to 100 mol% with an offset
// (fails, keeps its fit through the origin), ethane with a negative offset (fails, refitted
// with an intercept), nitrogen with a step below 0,025 mol% (split). Channel 1: propane
// from 0,0001 mol% (an uncertainty over 1000 %), and a peak no list or mixture knows (no
// fit, no norms).
#pragma once

#include "tests/calc/fixture.h"

inline void BuildProtocolLists(RunLists& lists) {
  static const double kMethane[5] = {90.0, 92.5, 95.0, 97.5, 100.0};
  static const double kEthane[5] = {0.5, 1.0, 2.0, 4.0, 8.0};
  static const double kNitrogen[5] = {0.005, 0.01, 0.025, 1.0, 5.0};
  static const double kPropane[5] = {0.0001, 0.001, 0.01, 0.1, 1.0};
  static const char16_t* const kNames[5] = {u"ГСО 10540-2014", u"ГСО 10541-2014", u"ГСО 10542-2014",
                                            u"ГСО 10543-2014", u"ГСО 10544-2014"};
  for (int m = 0; m < 5; ++m) {
    Mixture& mixture = lists.AddMixture(kNames[m], {{u"Метан", kMethane[m], 0.05},
                                                    {u"Этан", kEthane[m], 0.8},
                                                    {u"Азот", kNitrogen[m], 2.5},
                                                    {u"Пропан", kPropane[m], 10.0}});
    mixture.ballon = u"№ 40-1870" + sys::Text(1, static_cast<char16_t>(u'1' + m));
    mixture.release = 1690000000;
    mixture.expiry = 1760000000;
  }
  for (int m = 0; m < 5; ++m) {
    for (int k = 0; k < 5; ++k) {
      const double f = 1 + 0.0008 * (k - 2);
      const double step = kNitrogen[m] <= 0.025 ? 1.6 : 1.0;
      lists.AddAssay(m, {{u"Метан", (0.9e6 * kMethane[m] + 1.0e7) * f, 0, 1.1},
                         {u"Этан", (40000 * kEthane[m] - 5000) * f, 0, 2.3},
                         {u"Азот", 20000 * kNitrogen[m] * step * f, 0, 0.8},
                         {u"Пропан", 3.0e6 * kPropane[m] * f, 1, 3.4},
                         {u"Пик 7", 1234.5 * f, 1, 5.2}});
    }
  }
}
