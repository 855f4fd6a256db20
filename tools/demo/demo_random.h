// demo_random.h: a portable, seeded source of normal deviates (mt19937 is specified bit
// for bit by the standard; the Box–Muller transform is ours, so the demo data is the same
// on every standard library).
#pragma once

#include <cmath>
#include <cstdint>
#include <random>

namespace demo {

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  // Uniform on (0, 1).
  double Uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }
  // Standard normal.
  double Normal() {
    const double u1 = Uniform(), u2 = Uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  }

 private:
  std::mt19937 engine_;
};

}  // namespace demo
