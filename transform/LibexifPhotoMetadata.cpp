// The photo reader where exiv2 is not built: the date taken alone, from the EXIF block of a JPEG or
// a Fuji raw file, parsed by libexif in memory (libexif never opens a file itself).
#include <libexif/exif-data.h>

#include <memory>

#include "transform/DateTaken.h"
#include "transform/PhotoMetadata.h"

namespace nomvarix {
namespace {

struct ExifDataRelease {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

/// The bytes of an ASCII entry of any IFD, its closing NUL included (ParseExifDateTime stops there).
std::optional<std::string_view> AsciiEntry(ExifData* data, ExifTag tag) {
  const ExifEntry* entry = exif_data_get_entry(data, tag);
  if (!entry || entry->format != EXIF_FORMAT_ASCII || !entry->data) return std::nullopt;
  return std::string_view(reinterpret_cast<const char*>(entry->data), entry->size);
}

}  // namespace

std::optional<FileClock::time_point> DateTakenOfExif(std::string_view block) {
  block = block.substr(0, kMaxExifBlockBytes);
  const std::unique_ptr<ExifData, ExifDataRelease> data(exif_data_new());
  if (!data) return std::nullopt;
  // Following the standard, libexif would add the entries the standard requires (the time of the
  // IFD0 among them, filled with the current time) and rewrite others: only what the camera wrote
  // is wanted here.
  exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.data()),
                      static_cast<unsigned>(block.size()));
  for (const ExifTag tag : {EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_TAG_DATE_TIME_DIGITIZED}) {
    const std::optional<std::string_view> text = AsciiEntry(data.get(), tag);
    if (!text) continue;
    if (const auto taken = ParseExifDateTime(*text)) return taken;
  }
  return std::nullopt;
}

std::optional<PhotoMetadata> ReadPhotoMetadata(const ReadableFile& file) {
  const std::optional<std::string> block = ExifBlockOfFile(file.Size(), ReaderOf(file));
  if (!block) return std::nullopt;
  PhotoMetadata photo;
  photo.dateTaken = DateTakenOfExif(*block);
  return photo;
}

}  // namespace nomvarix
