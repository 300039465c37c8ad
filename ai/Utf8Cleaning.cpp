#include "ai/Utf8Cleaning.h"

#include <cstddef>
#include <optional>

namespace nomvarix {
namespace {

/// The vowel a Latin-1 accented capital stands for, if the byte is one.
std::optional<char> VowelOf(unsigned char byte) {
  if (byte >= 0xC0 && byte <= 0xC5) return 'A';
  if (byte >= 0xC8 && byte <= 0xCB) return 'E';
  if (byte >= 0xCC && byte <= 0xCF) return 'I';
  if (byte >= 0xD2 && byte <= 0xD6) return 'O';
  if (byte >= 0xD9 && byte <= 0xDC) return 'U';
  return std::nullopt;
}

/// The length of the sequence a lead byte starts; 0 for a byte that is no lead byte.
std::size_t SequenceLength(unsigned char byte) {
  if (byte >= 0xC0 && byte <= 0xDF) return 2;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF7) return 4;
  return 0;
}

/// The length of the complete sequence at `at`, or 0 when none starts there.
std::size_t CompleteSequenceAt(std::string_view bytes, std::size_t at) {
  const std::size_t length = SequenceLength(static_cast<unsigned char>(bytes[at]));
  if (length == 0 || at + length > bytes.size()) return 0;
  for (std::size_t i = at + 1; i < at + length; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80 || byte > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string CleanUtf8(std::string_view bytes) {
  std::string clean;
  clean.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      clean.push_back(static_cast<char>(byte));
      ++i;
    } else if (const std::size_t length = CompleteSequenceAt(bytes, i)) {
      clean.append(bytes.substr(i, length));
      i += length;
    } else {
      clean.push_back(VowelOf(byte).value_or('?'));
      ++i;
    }
  }
  return clean;
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
    } else if (const std::size_t length = CompleteSequenceAt(bytes, i)) {
      i += length;
    } else {
      return false;
    }
  }
  return true;
}

std::string AsValidUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  // Only the invalid bytes are replaced: the valid characters around them stay as they are.
  std::string valid;
  valid.reserve(bytes.size() + 8);
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      valid.push_back(bytes[i++]);
    } else if (const std::size_t length = CompleteSequenceAt(bytes, i)) {
      valid.append(bytes.substr(i, length));
      i += length;
    } else {
      valid.append("\xEF\xBF\xBD");
      ++i;
    }
  }
  return valid;
}

}  // namespace nomvarix
