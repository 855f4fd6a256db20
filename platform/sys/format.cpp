// format.cpp: the printf-style formatter of format.h.
//
// Numbers go through std::to_chars, which is locale-independent and exact (the same
// digits as printf in the "C" locale); the runtime separator then replaces the point.
// Cost: one pass over the format, one small buffer per conversion.
#include "platform/sys/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/sys/locale.h"

namespace sys {
namespace {

struct Conversion {
  bool left = false, zero = false, plus = false, space = false;
  int width = 0;
  int precision = -1;  // -1: none given
  char conv = 0;
};

void Pad(Text& out, std::string_view body, const Conversion& cv, bool numeric) {
  std::size_t len = body.size();
  std::size_t width = cv.width > 0 ? static_cast<std::size_t>(cv.width) : 0;
  std::size_t fill = width > len ? width - len : 0;
  auto append = [&out](std::string_view s) {
    for (char c : s) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  };
  if (cv.left) {
    append(body);
    out.append(fill, u' ');
  } else if (cv.zero && numeric && fill > 0) {
    std::size_t signLen = (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
    append(body.substr(0, signLen));
    out.append(fill, u'0');
    append(body.substr(signLen));
  } else {
    out.append(fill, u' ');
    append(body);
  }
}

std::string IntegerBody(std::uint64_t magnitude, bool negative, const Conversion& cv, int base, bool upper) {
  char digits[32];
  auto res = std::to_chars(digits, digits + sizeof digits, magnitude, base);
  std::string d(digits, res.ptr);
  if (upper)
    for (auto& c : d) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (cv.precision >= 0) {
    if (cv.precision == 0 && magnitude == 0) d.clear();
    if (d.size() < static_cast<std::size_t>(cv.precision)) d.insert(0, cv.precision - d.size(), '0');
  }
  if (negative) return "-" + d;
  if (cv.plus) return "+" + d;
  if (cv.space) return " " + d;
  return d;
}

std::string DoubleBody(double v, const Conversion& cv) {
  const int precision = cv.precision < 0 ? 6 : std::min(cv.precision, kMaxFractionDigits);
  std::string buf(static_cast<std::size_t>(precision) + 400, '\0');
  std::to_chars_result res;
  char conv = static_cast<char>(std::tolower(static_cast<unsigned char>(cv.conv)));
  if (conv == 'f') {
    res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, precision);
  } else if (conv == 'e') {
    res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::scientific, precision);
  } else {
    res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general,
                        precision == 0 ? 1 : precision);
  }
  buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
  if (std::isupper(static_cast<unsigned char>(cv.conv)))
    for (auto& c : buf) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const bool negative = !buf.empty() && buf[0] == '-';
  if (!negative && (cv.plus || cv.space)) return (cv.plus ? "+" : " ") + buf;
  return buf;
}

// Replaces the point of a formatted number by the runtime separator, in place in `out`
// from position `from` on.
void LocalizeSeparator(Text& out, std::size_t from) {
  char16_t sep = DecimalSeparator();
  if (sep == u'.') return;
  for (std::size_t i = from; i < out.size(); ++i)
    if (out[i] == u'.') out[i] = sep;
}

// Reads flags, width, precision and length modifiers starting after '%'. Returns the
// position of the conversion character. '*' takes an int argument.
std::size_t ParseConversion(TextView f, std::size_t i, Conversion& cv, const FormatArg*& arg, const FormatArg* end,
                      bool& bad) {
  auto takeInt = [&]() -> int {
    if (arg == end || arg->kind() == FormatArg::Kind::Double || arg->kind() == FormatArg::Kind::String) {
      bad = true;
      if (arg != end) ++arg;
      return 0;
    }
    return static_cast<int>((arg++)->asInt());
  };
  for (; i < f.size(); ++i) {
    char16_t c = f[i];
    if (c == u'-') cv.left = true;
    else if (c == u'0') cv.zero = true;
    else if (c == u'+') cv.plus = true;
    else if (c == u' ') cv.space = true;
    else if (c == u'#') {}
    else break;
  }
  if (i < f.size() && f[i] == u'*') {
    cv.width = takeInt();
    if (cv.width < 0) { cv.left = true; cv.width = -cv.width; }
    ++i;
  } else {
    while (i < f.size() && f[i] >= u'0' && f[i] <= u'9') cv.width = cv.width * 10 + (f[i++] - u'0');
  }
  if (i < f.size() && f[i] == u'.') {
    ++i;
    if (i < f.size() && f[i] == u'*') {
      cv.precision = takeInt();
      if (cv.precision < 0) cv.precision = -1;  // C: a negative precision is taken as omitted
      ++i;
    } else {
      cv.precision = 0;
      while (i < f.size() && f[i] >= u'0' && f[i] <= u'9') cv.precision = cv.precision * 10 + (f[i++] - u'0');
    }
  }
  while (i < f.size() && (f[i] == u'l' || f[i] == u'h' || f[i] == u'z' || f[i] == u'j' || f[i] == u'L')) ++i;
  return i;
}

}  // namespace

Text FormatList(TextView f, std::initializer_list<FormatArg> args) {
  Text out;
  out.reserve(f.size() + 16);
  const FormatArg* arg = args.begin();
  const FormatArg* end = args.end();
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] != u'%') {
      out += f[i];
      continue;
    }
    if (i + 1 < f.size() && f[i + 1] == u'%') {
      out += u'%';
      ++i;
      continue;
    }
    Conversion cv;
    bool bad = false;
    i = ParseConversion(f, i + 1, cv, arg, end, bad);
    if (i >= f.size()) break;
    cv.conv = static_cast<char>(f[i]);
    const FormatArg* a = arg != end ? arg++ : nullptr;
    using K = FormatArg::Kind;
    bool isInt = a && (a->kind() == K::Int || a->kind() == K::UInt);
    switch (cv.conv) {
      case 'd': case 'i':
        if (bad || !isInt) break;
        Pad(out, IntegerBody(a->asInt() < 0 ? 0 - static_cast<std::uint64_t>(a->asInt()) : a->asInt(),
                             a->asInt() < 0, cv, 10, false), cv, cv.precision < 0);
        continue;
      case 'u': case 'x': case 'X': case 'o': {
        if (bad || !isInt) break;
        std::uint64_t v = a->kind() == K::Int && a->asInt() < 0 && a->asInt() >= INT32_MIN
                              ? static_cast<std::uint32_t>(a->asInt())  // C's view of a negative int
                              : a->asUInt();
        int base = cv.conv == 'u' ? 10 : cv.conv == 'o' ? 8 : 16;
        Conversion s = cv;
        s.plus = s.space = false;
        Pad(out, IntegerBody(v, false, s, base, cv.conv == 'X'), s, cv.precision < 0);
        continue;
      }
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': {
        if (bad || !a || a->kind() != K::Double) break;
        std::size_t from = out.size();
        Pad(out, DoubleBody(a->asDouble(), cv), cv, std::isfinite(a->asDouble()));
        LocalizeSeparator(out, from);
        continue;
      }
      case 's': case 'S': {
        if (bad || !a || a->kind() != K::String) break;
        TextView s = a->asString();
        if (cv.precision >= 0 && s.size() > static_cast<std::size_t>(cv.precision)) s = s.substr(0, cv.precision);
        std::size_t width = cv.width > 0 ? static_cast<std::size_t>(cv.width) : 0;
        std::size_t fill = width > s.size() ? width - s.size() : 0;
        if (!cv.left) out.append(fill, u' ');
        out += s;
        if (cv.left) out.append(fill, u' ');
        continue;
      }
      case 'c':
        if (bad || !isInt) break;
        out += static_cast<char16_t>(a->asInt());
        continue;
      default:
        break;
    }
    out += u"(?)";
  }
  return out;
}


}  // namespace sys
