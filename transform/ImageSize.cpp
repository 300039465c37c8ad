// Image sizes from file headers: PNG, BMP and GIF from the first bytes, JPEG from its first
// start-of-frame segment, WebP from its VP8, VP8L or VP8X chunk.
#include "transform/ImageSize.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

constexpr std::size_t kJpegMinBytes = 10;
constexpr std::size_t kWebpMinBytes = 30;

/// Bounds-checked little- and big-endian reads of `count` bytes at `at`.
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  std::size_t size() const { return data_.size(); }
  bool Has(std::size_t at, std::size_t count) const { return at <= data_.size() && count <= data_.size() - at; }
  std::uint8_t At(std::size_t at) const { return static_cast<std::uint8_t>(data_[at]); }
  bool Matches(std::size_t at, std::string_view text) const { return Has(at, text.size()) && data_.substr(at, text.size()) == text; }
  std::uint32_t BigEndian(std::size_t at, std::size_t count) const { return nomvarix::BigEndian(data_.substr(at, count)); }
  std::uint32_t LittleEndian(std::size_t at, std::size_t count) const {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = (value << 8) | At(at + i);
    return value;
  }

 private:
  std::string_view data_;
};

std::optional<ImageSize> Png(const Bytes& b) {
  if (!b.Has(16, 8)) return std::nullopt;
  return ImageSize{b.BigEndian(16, 4), b.BigEndian(20, 4)};
}

std::optional<ImageSize> Bmp(const Bytes& b) {
  if (!b.Has(18, 8)) return std::nullopt;
  return ImageSize{b.LittleEndian(18, 4), b.LittleEndian(22, 4)};
}

std::optional<ImageSize> Gif(const Bytes& b) {
  if (!b.Matches(0, "GIF8") || !b.Has(4, 6) || (b.At(4) != '7' && b.At(4) != '9') || b.At(5) != 'a') return std::nullopt;
  const ImageSize size{b.LittleEndian(6, 2), b.LittleEndian(8, 2)};
  if (size.width == 0 || size.height == 0) return std::nullopt;
  return size;
}

bool MeasurableSize(std::uint64_t size, std::uint64_t minBytes) {
  return size >= minBytes && size <= kMaxImageFileBytes;
}

/// Walks the segments from the first, reading each one's marker, length and, for a start of frame,
/// its size; the bytes between are never read.
std::optional<ImageSize> Jpeg(std::uint64_t size, const ReadBytesAt& readAt) {
  if (!MeasurableSize(size, kJpegMinBytes)) return std::nullopt;
  const std::optional<std::string> start = ReadExactly(readAt, 0, 3);
  if (!start || *start != std::string_view("\xFF\xD8\xFF", 3)) return std::nullopt;
  std::uint64_t q = 2;
  for (int visited = 0; visited < kJpegMaxSegments && q + 2 < size; ++visited) {
    // Marker, length, precision, height and width: 9 bytes, fewer where the file ends.
    const auto pieceBytes = static_cast<std::size_t>(std::min<std::uint64_t>(9, size - q));
    const std::optional<std::string> piece = ReadExactly(readAt, q, pieceBytes);
    if (!piece) return std::nullopt;
    const Bytes b(*piece);
    const std::uint32_t marker = b.BigEndian(0, 2);
    if (marker >= 0xFFC0 && marker <= 0xFFC3) {
      if (q + 9 >= size) return std::nullopt;
      const ImageSize found{b.BigEndian(7, 2), b.BigEndian(5, 2)};
      if (found.width == 0 || found.height == 0) return std::nullopt;
      return found;
    }
    if (q + 4 >= size) return std::nullopt;
    const std::uint32_t length = b.BigEndian(2, 2);
    if (length < 2) return std::nullopt;
    q += length + 2;
  }
  return std::nullopt;
}

/// Everything a WebP header holds lies in its first kWebpMinBytes bytes.
std::optional<ImageSize> Webp(std::uint64_t size, const ReadBytesAt& readAt) {
  if (!MeasurableSize(size, kWebpMinBytes)) return std::nullopt;
  const std::optional<std::string> header = ReadExactly(readAt, 0, kWebpMinBytes);
  if (!header) return std::nullopt;
  const Bytes b(*header);
  if (!b.Matches(0, "RIFF") || !b.Matches(8, "WEBP") || !b.Matches(12, "VP8")) return std::nullopt;
  switch (b.At(15)) {
    case ' ':
      return ImageSize{b.LittleEndian(26, 2) & 0x3FFF, b.LittleEndian(28, 2) & 0x3FFF};
    case 'L': {
      const std::uint32_t v = b.LittleEndian(21, 4);
      return ImageSize{(v & 0x3FFF) + 1, ((v >> 14) & 0x3FFF) + 1};
    }
    case 'X':
      return ImageSize{b.LittleEndian(24, 3) + 1, b.LittleEndian(27, 3) + 1};
    default:
      return std::nullopt;
  }
}

bool HasImageExtension(std::u16string_view path) {
  const std::size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string extension = FoldAscii(path.substr(dot + 1));
  for (const std::u16string_view known : {u"jpg", u"jpeg", u"png", u"bmp", u"webp", u"gif"}) {
    if (extension == known) return true;
  }
  return false;
}

}  // namespace

std::optional<ImageSize> ImageSizeOfFile(std::uint64_t size, const ReadBytesAt& readAt) {
  if (size == 0) return std::nullopt;
  const std::optional<std::string> header =
      ReadExactly(readAt, 0, static_cast<std::size_t>(std::min<std::uint64_t>(size, kImageHeaderBytes)));
  if (!header) return std::nullopt;
  const Bytes b(*header);
  if (b.size() < 2) return std::nullopt;
  switch (b.At(0)) {
    case 0xFF: return b.At(1) == 0xD8 ? Jpeg(size, readAt) : std::nullopt;
    case 0x89: return b.At(1) == 'P' ? Png(b) : std::nullopt;
    case 'B': return b.At(1) == 'M' ? Bmp(b) : std::nullopt;
    case 'R': return b.Matches(0, "RIFF") && b.Matches(8, "WEBP") ? Webp(size, readAt) : std::nullopt;
    case 'G': return Gif(b);
    default: return std::nullopt;
  }
}

std::optional<ImageSize> GetImageSize(const FileSystem& fileSystem, std::u16string_view path) {
  if (!HasImageExtension(path)) return std::nullopt;
  const std::unique_ptr<ReadableFile> file = fileSystem.OpenRegularFile(path);
  if (!file) return std::nullopt;
  return ImageSizeOfFile(file->Size(), ReaderOf(*file));
}

}  // namespace nomvarix
