// Image sizes from file headers: PNG, BMP and GIF from the first bytes, JPEG from its first
// start-of-frame segment, WebP from its VP8, VP8L or VP8X chunk.
#include "transform/ImageSize.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "text/AsciiCase.h"
#include "transform/Crc32.h"

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
  std::string_view Slice(std::size_t at, std::size_t count) const { return data_.substr(at, count); }
  std::uint32_t BigEndian(std::size_t at, std::size_t count) const { return nomvarix::BigEndian(data_.substr(at, count)); }
  std::uint32_t LittleEndian(std::size_t at, std::size_t count) const {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = (value << 8) | At(at + i);
    return value;
  }

 private:
  std::string_view data_;
};

/// A PNG's size from its IHDR chunk, which must be whole and intact: a damaged header gives no size
/// rather than a made-up one. Sizes are 1 to 2^31 - 1 each way.
std::optional<ImageSize> Png(const Bytes& b) {
  constexpr std::size_t kIhdrAt = 12;  // the chunk's type, then its 13 bytes of data, then the CRC
  if (!b.Matches(0, std::string_view("\x89PNG\r\n\x1a\n", 8)) || !b.Has(kIhdrAt, 21) || b.BigEndian(8, 4) != 13 ||
      !b.Matches(kIhdrAt, "IHDR") || Crc32(b.Slice(kIhdrAt, 17)) != b.BigEndian(kIhdrAt + 17, 4)) {
    return std::nullopt;
  }
  const ImageSize size{b.BigEndian(16, 4), b.BigEndian(20, 4)};
  const auto valid = [](std::uint32_t side) { return side >= 1 && side <= 0x7FFFFFFF; };
  if (!valid(size.width) || !valid(size.height)) return std::nullopt;
  return size;
}

/// A BMP's size from its info header: the OS/2 1.x one of 12 bytes holds two unsigned 16-bit
/// sides; every later one two signed 32-bit sides, the height negative for rows stored top down.
std::optional<ImageSize> Bmp(const Bytes& b) {
  constexpr std::size_t kCoreHeaderBytes = 12;
  constexpr std::size_t kSmallestInfoHeaderBytes = 16;
  if (!b.Has(14, 4)) return std::nullopt;
  const std::uint32_t headerBytes = b.LittleEndian(14, 4);
  ImageSize size;
  if (headerBytes == kCoreHeaderBytes) {
    if (!b.Has(18, 4)) return std::nullopt;
    size = {b.LittleEndian(18, 2), b.LittleEndian(20, 2)};
  } else if (headerBytes >= kSmallestInfoHeaderBytes) {
    if (!b.Has(18, 8)) return std::nullopt;
    const auto width = static_cast<std::int32_t>(b.LittleEndian(18, 4));
    const auto height = static_cast<std::int32_t>(b.LittleEndian(22, 4));
    if (width < 0 || height == INT32_MIN) return std::nullopt;
    size = {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height < 0 ? -height : height)};
  } else {
    return std::nullopt;
  }
  if (size.width == 0 || size.height == 0) return std::nullopt;
  return size;
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

/// A JPEG's bytes, read in blocks: small ones where segment lengths lead, doubling while a scan over
/// fill bytes or junk goes on, so that neither a long segment skipped nor a long run scanned costs
/// much.
class JpegBytes {
 public:
  JpegBytes(std::uint64_t size, const ReadBytesAt& readAt) : size_(size), readAt_(readAt) {}

  /// The byte at `at`; empty past the end or when it cannot be read.
  std::optional<std::uint8_t> At(std::uint64_t at) {
    if (at >= size_) return std::nullopt;
    if (at < start_ || at - start_ >= block_.size()) {
      const bool continuing = !block_.empty() && at == start_ + block_.size();
      blockBytes_ = continuing ? std::min(blockBytes_ * 2, kMaxBlockBytes) : kMinBlockBytes;
      std::optional<std::string> block =
          ReadExactly(readAt_, at, static_cast<std::size_t>(std::min<std::uint64_t>(blockBytes_, size_ - at)));
      if (!block) return std::nullopt;
      block_ = std::move(*block);
      start_ = at;
    }
    return static_cast<std::uint8_t>(block_[at - start_]);
  }

  /// The two bytes at `at` as a big-endian number.
  std::optional<std::uint32_t> TwoBytesAt(std::uint64_t at) {
    const std::optional<std::uint8_t> high = At(at);
    const std::optional<std::uint8_t> low = At(at + 1);
    if (!high || !low) return std::nullopt;
    return (static_cast<std::uint32_t>(*high) << 8) | *low;
  }

 private:
  static constexpr std::size_t kMinBlockBytes = 16;
  static constexpr std::size_t kMaxBlockBytes = 65536;
  std::uint64_t size_;
  const ReadBytesAt& readAt_;
  std::string block_;
  std::uint64_t start_ = 0;
  std::size_t blockBytes_ = kMinBlockBytes;
};

/// Walks the segments from the first up to the start of frame, as image viewers do: bytes before a
/// marker's 0xFF are skipped as junk, 0xFF fill bytes before a marker code too, and markers without
/// a length (restart, TEM) stand alone. A scan or the image's end before any frame gives no size.
std::optional<ImageSize> Jpeg(std::uint64_t size, const ReadBytesAt& readAt) {
  if (!MeasurableSize(size, kJpegMinBytes)) return std::nullopt;
  JpegBytes b(size, readAt);
  if (b.At(0) != 0xFF || b.At(1) != 0xD8 || b.At(2) != 0xFF) return std::nullopt;
  std::uint64_t q = 2;
  for (int visited = 0; visited < kJpegMaxSegments;) {
    std::optional<std::uint8_t> byte;
    while ((byte = b.At(q)) && *byte != 0xFF) ++q;
    while ((byte = b.At(q)) && *byte == 0xFF) ++q;
    if (!byte) return std::nullopt;
    const std::uint8_t marker = *byte;
    ++q;
    if (marker == 0x00) continue;  // an escaped 0xFF among junk, no marker
    ++visited;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;
    if (marker >= 0xC0 && marker <= 0xC3) {
      // Length, precision, height, width.
      const std::optional<std::uint32_t> height = b.TwoBytesAt(q + 3);
      const std::optional<std::uint32_t> width = b.TwoBytesAt(q + 5);
      if (!height || !width || *height == 0 || *width == 0) return std::nullopt;
      return ImageSize{*width, *height};
    }
    const std::optional<std::uint32_t> length = b.TwoBytesAt(q);
    if (!length || *length < 2) return std::nullopt;
    q += *length;
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
