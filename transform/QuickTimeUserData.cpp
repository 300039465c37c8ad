#include "transform/QuickTimeUserData.h"

#include <optional>
#include <string_view>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The most top-level boxes passed over on the way to the movie box.
constexpr int kMaxTopBoxes = 1000;

/// The payload of the top-level "moov" box; empty when there is none or it is too large.
std::optional<std::string> MovieBox(const ReadBytesAt& readAt, std::uint64_t fileSize) {
  std::uint64_t at = 0;
  for (int i = 0; i < kMaxTopBoxes && at + 8 <= fileSize; ++i) {
    const std::optional<std::string> head = ReadExactly(readAt, at, 8);
    if (!head) return std::nullopt;
    std::uint64_t size = BigEndian(std::string_view(*head).substr(0, 4));
    std::uint64_t headerSize = 8;
    if (size == 1) {  // a 64-bit size follows the type
      const std::optional<std::string> large = ReadExactly(readAt, at + 8, 8);
      if (!large) return std::nullopt;
      size = (std::uint64_t{BigEndian(std::string_view(*large).substr(0, 4))} << 32) |
             BigEndian(std::string_view(*large).substr(4, 4));
      headerSize = 16;
    } else if (size == 0) {  // up to the end of the file
      size = fileSize - at;
    }
    if (size < headerSize || size > fileSize - at) return std::nullopt;
    if (head->substr(4, 4) == "moov") {
      if (size - headerSize > kMaxMovieBoxBytes) return std::nullopt;
      return ReadExactly(readAt, at + headerSize, static_cast<std::size_t>(size - headerSize));
    }
    at += size;
  }
  return std::nullopt;
}

/// The payload of the first box of that type among `boxes`.
std::optional<std::string_view> Child(std::string_view boxes, std::string_view type) {
  while (boxes.size() >= 8) {
    const std::uint32_t size = BigEndian(boxes.substr(0, 4));
    if (size < 8 || size > boxes.size()) return std::nullopt;
    if (boxes.substr(4, 4) == type) return boxes.substr(8, size - 8);
    boxes.remove_prefix(size);
  }
  return std::nullopt;
}

}  // namespace

std::map<std::string, std::u16string, std::less<>> QuickTimeUserTexts(const ReadBytesAt& readAt, std::uint64_t size) {
  std::map<std::string, std::u16string, std::less<>> texts;
  const std::optional<std::string> movie = MovieBox(readAt, size);
  if (!movie) return texts;
  std::optional<std::string_view> items = Child(*movie, "udta");
  if (!items) return texts;
  // Each item whose key starts with © holds texts: a 16-bit length, a 16-bit language, the text.
  while (items->size() >= 8) {
    const std::uint32_t itemSize = BigEndian(items->substr(0, 4));
    if (itemSize < 8 || itemSize > items->size()) break;
    const std::string_view key = items->substr(4, 4);
    const std::string_view payload = items->substr(8, itemSize - 8);
    if (key[0] == '\xA9' && payload.size() >= 4) {
      const std::uint32_t length = BigEndian(payload.substr(0, 2));
      if (length <= payload.size() - 4) texts.emplace(std::string(key), FromUtf8(payload.substr(4, length)));
    }
    items->remove_prefix(itemSize);
  }
  return texts;
}

}  // namespace nomvarix
