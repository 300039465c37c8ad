#include "text/Utf16.h"

#include <cstdint>

namespace nomvarix {
namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

/// Length of the well-formed sequence starting at bytes[i], or 0 when it is not well-formed.
/// The bounds on the second byte follow the table of well-formed sequences in Unicode's chapter 3,
/// which rules out overlong forms, surrogates and values above U+10FFFF.
std::size_t WellFormedLength(std::string_view bytes, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
  const unsigned char lead = at(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  if (at(1) < low || at(1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (!IsContinuation(at(k))) return 0;
  }
  return length;
}

char32_t DecodeSequence(std::string_view bytes, std::size_t i, std::size_t length) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t cp = at(0) & kLeadMask[length];
  for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (at(k) & 0x3F);
  return cp;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

UnitSpan CharacterAt(std::u16string_view text, std::size_t column) {
  if (SplitsSurrogatePair(text, column)) return {column - 1, column + 1};
  if (SplitsSurrogatePair(text, column + 1)) return {column, column + 2};
  return {column, column + 1};
}

std::u16string WithoutLoneHighSurrogates(std::u16string_view text) {
  std::u16string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!IsHighSurrogate(out[i])) continue;
    if (i + 1 < out.size() && IsLowSurrogate(out[i + 1])) {
      ++i;
    } else {
      out[i] = u'\uFFFD';
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string out;
  AppendFromUtf8(out, bytes);
  return out;
}

void AppendFromUtf8(std::u16string& out, std::string_view bytes) {
  out.reserve(out.size() + bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {  // the common case, kept out of the general path
      out.push_back(b);
      ++i;
      continue;
    }
    const std::size_t length = WellFormedLength(bytes, i);
    if (length == 0) {
      out.push_back(static_cast<char16_t>(0xDC00 + b));
      ++i;
    } else {
      AppendUtf16(out, DecodeSequence(bytes, i, length));
      i += length;
    }
  }
}

void AppendUtf8(std::string& out, std::u16string_view text) {
  // The common case, ASCII, takes a byte a unit and is written in one pass; the rest of the text
  // from the first other unit on goes the general way.
  const std::size_t start = out.size();
  out.resize(start + text.size());
  char* const ascii = out.data() + start;
  std::size_t i = 0;
  for (; i < text.size() && text[i] < 0x80; ++i) ascii[i] = static_cast<char>(text[i]);
  if (i == text.size()) return;
  out.resize(start + i);
  for (; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      AppendCodePoint(out, cp);
      ++i;
    } else if (u >= kEscapedByteFirst && u <= kEscapedByteLast) {
      out.push_back(static_cast<char>(u - 0xDC00));
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      AppendCodePoint(out, 0xFFFD);
    } else {
      AppendCodePoint(out, u);
    }
  }
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  AppendUtf8(out, text);
  return out;
}

}  // namespace nomvarix
