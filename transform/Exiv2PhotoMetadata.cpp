// The photo reader through exiv2. exiv2 reads the file through a BasicIo of our own that reads
// through the file-system port, seeks where the format lets it, and sees at most the first
// kMaxPhotoBytes of the file: a large file is never read whole, and a damaged one cannot make it
// read past that bound.
// exiv2 0.27 hands out its objects in std::auto_ptr.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "text/Utf16.h"
#include "transform/DateTaken.h"
#include "transform/PhotoMetadata.h"

namespace nomvarix {
namespace {

/// The part of a file the photo reader sees: the metadata of every photo format lies well within
/// it (raw files keep theirs near the start), while a video or disk image is never read whole.
constexpr std::uint64_t kMaxPhotoBytes = 64ull << 20;

/// A read-only BasicIo over the head of a ReadableFile. Writing fails; mmap reads the head into
/// memory (the TIFF-based formats parse from there).
class HeadIo final : public Exiv2::BasicIo {
 public:
  explicit HeadIo(const ReadableFile& file) : file_(file), size_(std::min(file.Size(), kMaxPhotoBytes)) {}

  int open() override {
    position_ = 0;
    eof_ = false;
    return 0;
  }
  int close() override { return munmap(); }
  long write(const Exiv2::byte*, long) override { return 0; }
  long write(Exiv2::BasicIo&) override { return 0; }
  int putb(Exiv2::byte) override { return EOF; }
  Exiv2::DataBuf read(long count) override {
    Exiv2::DataBuf buffer(std::max(count, 0L));
    const long got = read(buffer.pData_, buffer.size_);
    buffer.size_ = got;
    return buffer;
  }
  long read(Exiv2::byte* out, long count) override {
    if (count <= 0) return 0;
    const std::uint64_t left = size_ - std::min(position_, size_);
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), left));
    if (wanted < static_cast<std::uint64_t>(count)) eof_ = true;
    if (wanted == 0) return 0;
    const std::optional<std::string> bytes = file_.ReadAt(position_, wanted);
    if (!bytes) {
      error_ = 1;
      return 0;
    }
    std::memcpy(out, bytes->data(), bytes->size());
    position_ += bytes->size();
    return static_cast<long>(bytes->size());
  }
  int getb() override {
    Exiv2::byte b = 0;
    return read(&b, 1) == 1 ? b : EOF;
  }
  void transfer(Exiv2::BasicIo&) override { throw Exiv2::Error(Exiv2::kerFunctionNotSupported, "transfer"); }
  int seek(long offset, Position from) override {
    std::int64_t base = 0;
    if (from == cur) base = static_cast<std::int64_t>(position_);
    if (from == end) base = static_cast<std::int64_t>(size_);
    const std::int64_t target = base + offset;
    if (target < 0 || static_cast<std::uint64_t>(target) > size_) return 1;
    position_ = static_cast<std::uint64_t>(target);
    eof_ = false;
    return 0;
  }
  Exiv2::byte* mmap(bool writeable) override {
    if (writeable) throw Exiv2::Error(Exiv2::kerFunctionNotSupported, "mmap");
    if (!mapped_) {
      std::optional<std::string> bytes = file_.ReadAt(0, static_cast<std::size_t>(size_));
      if (!bytes || bytes->size() != size_) throw Exiv2::Error(Exiv2::kerFailedToMapFileForReadWrite);
      mapped_ = std::move(bytes);
    }
    return reinterpret_cast<Exiv2::byte*>(mapped_->data());
  }
  int munmap() override {
    mapped_.reset();
    return 0;
  }
  long tell() const override { return static_cast<long>(position_); }
  size_t size() const override { return static_cast<size_t>(size_); }
  bool isopen() const override { return true; }
  int error() const override { return error_; }
  bool eof() const override { return eof_; }
  std::string path() const override { return {}; }
#ifdef EXV_UNICODE_PATH
  std::wstring wpath() const override { return {}; }
#endif
  void populateFakeData() override {}

 private:
  const ReadableFile& file_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  bool eof_ = false;
  int error_ = 0;
  std::optional<std::string> mapped_;
};

/// Done once for the whole program, before the first photo is read on any thread: exiv2's XMP
/// parser must be set up before threads use it, the ISO media formats (HEIF, AVIF, CR3) are off
/// until enabled, and its warnings about damaged files would go to the standard error.
void PrepareExiv2() {
  static const bool prepared = [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
#ifdef EXV_ENABLE_BMFF
    Exiv2::enableBMFF(true);
#endif
    return true;
  }();
  (void)prepared;
}

/// An XMP or IPTC date as the EXIF form ParseExifDateTime reads. XMP writes
/// "2019-07-14T16:05:09+02:00", "2019-07-14T16:05Z" or "2019-07-14", and some writers the EXIF
/// form "2019:07:14 16:05:09"; the seconds default to 0 and a date alone is midnight. The zone is
/// dropped, as EXIF keeps none.
std::optional<FileClock::time_point> ParseXmpDateTime(std::string_view text) {
  if (text.size() < 10 || (text[4] != '-' && text[4] != ':') || text[7] != text[4]) return std::nullopt;
  std::string exif(text.substr(0, 10));
  exif[4] = exif[7] = ':';
  std::string_view time = text.substr(10);
  if (time.empty()) return ParseExifDateTime(exif + " 00:00:00");
  if (time[0] != 'T' && time[0] != ' ') return std::nullopt;
  time.remove_prefix(1);
  if (time.size() >= 8 && time[5] == ':') return ParseExifDateTime(exif + ' ' + std::string(time.substr(0, 8)));
  if (time.size() >= 5 && time[2] == ':') return ParseExifDateTime(exif + ' ' + std::string(time.substr(0, 5)) + ":00");
  return std::nullopt;
}

template <typename Data, typename Key>
auto Find(const Data& data, const char* key) -> decltype(&*data.begin()) {
  const auto it = data.findKey(Key(key));
  if (it == data.end() || it->count() == 0) return nullptr;
  return &*it;
}

/// IPTC's creation date ("2005-09-29") at its time ("16:51:00+00:00"); a date without a time is
/// often the day a picture was filed, not taken, and gives none.
std::optional<FileClock::time_point> IptcDateCreated(const Exiv2::IptcData& iptc) {
  const auto* date = Find<Exiv2::IptcData, Exiv2::IptcKey>(iptc, "Iptc.Application2.DateCreated");
  const auto* time = Find<Exiv2::IptcData, Exiv2::IptcKey>(iptc, "Iptc.Application2.TimeCreated");
  if (!date || !time) return std::nullopt;
  return ParseXmpDateTime(date->toString() + 'T' + time->toString());
}

/// EXIF's original date first, then its digitized one, then XMP's, then the creation dates of
/// IPTC and of Photoshop's XMP, which news and stock photos often carry alone.
std::optional<FileClock::time_point> DateTakenOf(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp,
                                                 const Exiv2::IptcData& iptc) {
  for (const char* key : {"Exif.Photo.DateTimeOriginal", "Exif.Image.DateTimeOriginal", "Exif.Photo.DateTimeDigitized"}) {
    if (const auto* datum = Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, key)) {
      if (const auto taken = ParseExifDateTime(datum->toString())) return taken;
    }
  }
  for (const char* key : {"Xmp.exif.DateTimeOriginal", "Xmp.xmp.CreateDate"}) {
    if (const auto* datum = Find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, key)) {
      if (const auto taken = ParseXmpDateTime(datum->toString())) return taken;
    }
  }
  if (const auto taken = IptcDateCreated(iptc)) return taken;
  if (const auto* datum = Find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, "Xmp.photoshop.DateCreated")) {
    return ParseXmpDateTime(datum->toString());
  }
  return std::nullopt;
}

std::u16string TextOf(const std::string& bytes) {
  std::string text = bytes.substr(0, bytes.find('\0'));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return FromUtf8(text);
}

using EasyAccess = Exiv2::ExifData::const_iterator (*)(const Exiv2::ExifData&);

const Exiv2::Exifdatum* Easy(const Exiv2::ExifData& exif, EasyAccess access) {
  const auto it = access(exif);
  if (it == exif.end() || it->count() == 0) return nullptr;
  return &*it;
}

/// The EXIF text `access` finds, else the XMP one of `xmpKey` (files that keep their camera in
/// XMP alone, as scanners and converted photos do).
std::u16string TextOf(const Exiv2::ExifData& exif, EasyAccess access, const Exiv2::XmpData& xmp, const char* xmpKey) {
  if (const auto* datum = Easy(exif, access)) return TextOf(datum->toString());
  if (const auto* datum = Find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, xmpKey)) return TextOf(datum->toString());
  return {};
}

/// A positive number, or empty: 0/0 and negative values of damaged files stand for none.
std::optional<double> Positive(const Exiv2::Exifdatum* datum) {
  if (!datum) return std::nullopt;
  const Exiv2::Rational r = datum->toRational();
  if (r.first <= 0 || r.second <= 0) return std::nullopt;
  return static_cast<double>(r.first) / r.second;
}

template <typename Number>
std::optional<Number> Whole(const Exiv2::Exifdatum* datum, long most) {
  if (!datum) return std::nullopt;
  const long value = datum->toLong();
  if (value <= 0 || value > most) return std::nullopt;
  return static_cast<Number>(value);
}

PhotoMetadata MetadataOf(const Exiv2::Image& image) {
  const Exiv2::ExifData& exif = image.exifData();
  PhotoMetadata photo;
  const Exiv2::XmpData& xmp = image.xmpData();
  photo.dateTaken = DateTakenOf(exif, xmp, image.iptcData());
  photo.make = TextOf(exif, Exiv2::make, xmp, "Xmp.tiff.Make");
  photo.model = TextOf(exif, Exiv2::model, xmp, "Xmp.tiff.Model");
  if (const auto* lens = Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Photo.LensModel")) {
    photo.lens = TextOf(lens->toString());
  } else if (const auto* named = Easy(exif, Exiv2::lensName)) {
    photo.lens = TextOf(named->print(&exif));
  }
  photo.iso = Whole<std::uint32_t>(Easy(exif, Exiv2::isoSpeed), 10'000'000);
  photo.focalLength = Positive(Easy(exif, Exiv2::focalLength));
  photo.exposureTime = Positive(Easy(exif, Exiv2::exposureTime));
  photo.fNumber = Positive(Easy(exif, Exiv2::fNumber));
  photo.orientation = Whole<std::uint16_t>(Easy(exif, Exiv2::orientation), 8);
  if (image.pixelWidth() > 0 && image.pixelHeight() > 0) {
    photo.width = static_cast<std::uint32_t>(image.pixelWidth());
    photo.height = static_cast<std::uint32_t>(image.pixelHeight());
  } else {
    photo.width = Whole<std::uint32_t>(Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Photo.PixelXDimension"), 1L << 30);
    photo.height = Whole<std::uint32_t>(Find<Exiv2::ExifData, Exiv2::ExifKey>(exif, "Exif.Photo.PixelYDimension"), 1L << 30);
  }
  return photo;
}

}  // namespace

std::optional<PhotoMetadata> ReadPhotoMetadata(const ReadableFile& file) {
  PrepareExiv2();
  try {
    Exiv2::BasicIo::AutoPtr io(std::make_unique<HeadIo>(file).release());
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(io);
    // exiv2's video readers (RIFF, Matroska, QuickTime, ASF) write past their buffers on damaged
    // files, and videos are no photos: they are never parsed.
    if (!image.get() || image->mimeType().rfind("video/", 0) == 0) return std::nullopt;
    image->readMetadata();
    return MetadataOf(*image);
  } catch (...) {
    // exiv2 throws its own errors and std::bad_alloc or std::out_of_range on damaged files: each
    // one means no metadata.
    return std::nullopt;
  }
}

std::optional<FileClock::time_point> DateTakenOfExif(std::string_view block) {
  PrepareExiv2();
  block = block.substr(0, kMaxExifBlockBytes);
  constexpr std::string_view kExifHeader("Exif\0\0", 6);
  if (block.starts_with(kExifHeader)) block.remove_prefix(kExifHeader.size());
  try {
    Exiv2::ExifData exif;
    Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(block.data()), static_cast<uint32_t>(block.size()));
    return DateTakenOf(exif, Exiv2::XmpData(), Exiv2::IptcData());
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace nomvarix
