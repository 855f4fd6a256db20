// format.h: printf-style formatting of UTF-16 text with the runtime decimal separator.
//
// Covers the conversions the system uses: %d %i %u %s %f %g %x with flags '0' and '-',
// a width, a precision (".N" or ".*"), and %%. Semantics are those of C printf: a
// negative precision from '*' means "none" (6 for %f), "%.d" is precision 0, NaN and
// infinities print as "nan", "-nan", "inf", "-inf". The decimal separator follows
// sys::DecimalSeparator() (a point until the runtime locale switches to Russian, then a
// comma), never the C library's locale. Arguments are type-checked at run time: a
// mismatched or missing argument writes "(?)" in place of the conversion rather than
// reading garbage. The precision of a floating conversion (%f %e %g) is capped at
// kMaxFractionDigits: a double carries no more than 17 significant digits, and a digit
// count a user typed (a million decimals) must neither take memory and minutes nor fill a
// cell with zeros.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "text.h"

namespace sys {

// The most decimals any number is written with, whatever digit count is asked for.
inline constexpr int kMaxFractionDigits = 20;

class FormatArg {
 public:
  enum class Kind { Int, UInt, Double, String };
  template <class T>
    requires(std::is_integral_v<T> && std::is_signed_v<T>)
  FormatArg(T v) : kind_(Kind::Int), i_(v) {}
  template <class T>
    requires(std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T v) : kind_(Kind::UInt), u_(v) {}
  FormatArg(bool v) : kind_(Kind::Int), i_(v ? 1 : 0) {}
  FormatArg(double v) : kind_(Kind::Double), d_(v) {}
  FormatArg(float v) : kind_(Kind::Double), d_(v) {}
  FormatArg(TextView v) : kind_(Kind::String), s_(v) {}
  FormatArg(const Text& v) : kind_(Kind::String), s_(v) {}
  FormatArg(const char16_t* v) : kind_(Kind::String), s_(v ? TextView(v) : TextView()) {}

  Kind kind() const { return kind_; }
  std::int64_t asInt() const { return kind_ == Kind::UInt ? static_cast<std::int64_t>(u_) : i_; }
  std::uint64_t asUInt() const { return kind_ == Kind::Int ? static_cast<std::uint64_t>(i_) : u_; }
  double asDouble() const { return d_; }
  TextView asString() const { return s_; }

 private:
  Kind kind_;
  union {
    std::int64_t i_;
    std::uint64_t u_;
    double d_;
  };
  TextView s_;
};

Text FormatList(TextView format, std::initializer_list<FormatArg> args);

template <class... A>
Text Format(TextView format, const A&... args) {
  return FormatList(format, {FormatArg(args)...});
}


}  // namespace sys
