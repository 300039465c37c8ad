// The date a photo was taken: its EXIF block found in a JPEG or Fuji raw file, and the EXIF form of
// a date and time. The block itself is parsed by the photo reader's library.
#include "transform/DateTaken.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "text/AsciiCase.h"
#include "transform/PhotoMetadata.h"

namespace nomvarix {
namespace {

constexpr std::string_view kExifHeader("Exif\0\0", 6);
constexpr std::string_view kFujiRawHeader = "FUJIFILMCCD-RAW ";
/// Where a Fuji raw file keeps the offset of the JPEG it holds.
constexpr std::uint64_t kFujiJpegOffsetAt = 84;

/// Walks the JPEG that starts at `start` to its first APP1 segment holding EXIF. Scan data
/// follows the start-of-scan segment, and the EXIF segment must come before it, so the walk stops
/// there.
std::optional<std::string> ExifOfJpeg(std::uint64_t size, std::uint64_t start, const ReadBytesAt& readAt) {
  const std::optional<std::string> soi = ReadExactly(readAt, start, 2);
  if (!soi || *soi != "\xFF\xD8") return std::nullopt;
  std::uint64_t q = start + 2;
  for (int visited = 0; visited < kJpegMaxSegments && q < size && size - q >= 4; ++visited) {
    const std::optional<std::string> head = ReadExactly(readAt, q, 4);
    if (!head || static_cast<std::uint8_t>((*head)[0]) != 0xFF) return std::nullopt;
    const auto marker = static_cast<std::uint8_t>((*head)[1]);
    if (marker == 0xFF) {  // a fill byte before the marker
      q += 1;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
      q += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // end of image, start of scan
    const std::uint32_t length = BigEndian(std::string_view(*head).substr(2));
    if (length < 2) return std::nullopt;
    if (marker == 0xE1 && length - 2 >= kExifHeader.size()) {
      std::optional<std::string> payload = ReadExactly(readAt, q + 4, length - 2);
      if (!payload) return std::nullopt;
      if (payload->starts_with(kExifHeader)) return payload;
    }
    q += 2 + std::uint64_t{length};
  }
  return std::nullopt;
}

std::optional<std::string> ExifOfFujiRaw(std::uint64_t size, const ReadBytesAt& readAt) {
  const std::optional<std::string> offset = ReadExactly(readAt, kFujiJpegOffsetAt, 4);
  if (!offset) return std::nullopt;
  return ExifOfJpeg(size, BigEndian(*offset), readAt);
}

bool IsDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return IsAsciiDigit(static_cast<unsigned char>(c)); });
}

unsigned Number(std::string_view digits) {
  unsigned value = 0;
  for (const char c : digits) value = value * 10 + static_cast<unsigned>(c - '0');
  return value;
}

}  // namespace

std::optional<std::string> ExifBlockOfFile(std::uint64_t size, const ReadBytesAt& readAt) {
  const std::optional<std::string> head =
      ReadExactly(readAt, 0, static_cast<std::size_t>(std::min<std::uint64_t>(size, kFujiRawHeader.size())));
  if (!head) return std::nullopt;
  if (head->starts_with("\xFF\xD8")) return ExifOfJpeg(size, 0, readAt);
  if (*head == kFujiRawHeader) return ExifOfFujiRaw(size, readAt);
  if (head->starts_with(kExifHeader)) {
    return ReadExactly(readAt, 0, static_cast<std::size_t>(std::min<std::uint64_t>(size, kMaxExifBlockBytes)));
  }
  return std::nullopt;
}

std::optional<FileClock::time_point> ParseExifDateTime(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  // YYYY:MM:DD HH:MM:SS
  if (text.size() != 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const std::string_view fields[] = {text.substr(0, 4),  text.substr(5, 2),  text.substr(8, 2),
                                     text.substr(11, 2), text.substr(14, 2), text.substr(17, 2)};
  if (!std::all_of(std::begin(fields), std::end(fields), IsDigits)) return std::nullopt;
  using namespace std::chrono;
  const year_month_day date{year{static_cast<int>(Number(fields[0]))}, month{Number(fields[1])},
                            day{Number(fields[2])}};
  const unsigned hour = Number(fields[3]);
  const unsigned minute = Number(fields[4]);
  const unsigned second = Number(fields[5]);
  if (!date.ok() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  // The clock counts nanoseconds: years outside about 1678 to 2261 would overflow it.
  if (date.year() < year{1678} || date.year() > year{2261}) return std::nullopt;
  return sys_days{date} + hours{hour} + minutes{minute} + seconds{second};
}

std::optional<FileClock::time_point> GetDateTaken(const FileSystem& fileSystem, std::u16string_view path) {
  const std::unique_ptr<ReadableFile> file = fileSystem.OpenRegularFile(path);
  if (!file) return std::nullopt;
  // Most photos are JPEGs whose EXIF segment holds the date: that segment alone is read. The
  // other formats, and dates kept only in XMP, take the whole photo reader.
  if (const std::optional<std::string> block = ExifBlockOfFile(file->Size(), ReaderOf(*file))) {
    if (const auto taken = DateTakenOfExif(*block)) return taken;
  }
  const std::optional<PhotoMetadata> photo = ReadPhotoMetadata(*file);
  if (!photo) return std::nullopt;
  return photo->dateTaken;
}

}  // namespace nomvarix
