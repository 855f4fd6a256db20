// text.cpp: UTF-16 <-> UTF-8 conversion. Linear time, one allocation per call (reserve).
#include "platform/sys/text.h"

namespace sys {
namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(Text& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (cp >> 10));
    out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
  }
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Length of the sequence a lead byte announces, 0 for a byte that cannot lead.
int SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::string ToUtf8(TextView text) {
  std::string out;
  out.reserve(text.size() * 3 / 2 + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
      char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      AppendUtf8(out, cp);
      ++i;
    } else if (IsHigh(u) || IsLow(u)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

Text FromUtf8(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto b = static_cast<unsigned char>(utf8[i]);
    int len = SequenceLength(b);
    if (len == 1) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    char32_t cp = 0;
    bool ok = len > 0 && i + len <= utf8.size();
    if (ok) {
      cp = b & (0xFF >> (len + 1));
      for (int k = 1; k < len && ok; ++k) {
        auto c = static_cast<unsigned char>(utf8[i + k]);
        ok = (c & 0xC0) == 0x80;
        cp = (cp << 6) | (c & 0x3F);
      }
      // Overlong forms, surrogates and values past U+10FFFF are malformed.
      static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
      ok = ok && cp >= kMin[len] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    }
    if (!ok) {
      out += u'\xFFFD';
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += len;
  }
  return out;
}

std::size_t CharCount(TextView text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) ++i;
    ++n;
  }
  return n;
}

std::size_t Length(const char16_t* text) {
  if (!text) return 0;
  std::size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace sys
