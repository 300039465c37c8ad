// The photo and audio readers on files made here: photos tagged through exiv2's own API, sounds
// built by hand and tagged through TagLib's (both in memory, so that the files may have any name);
// then files meant to hurt a reader.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // exiv2 0.27 hands out std::auto_ptr
#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>
#include <taglib/fileref.h>
#include <taglib/apetag.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/ExifBytes.h"
#include "support/HeicBytes.h"
#include "support/PngBytes.h"
#include "support/SoundBytes.h"
#include "support/TempFolder.h"
#ifndef _WIN32
#include <unistd.h>

#include "support/WaitingFifo.h"
#endif
#include "text/Utf16.h"
#include "transform/AudioMetadata.h"
#include "transform/DateTaken.h"
#include "transform/MetadataRecord.h"
#include "transform/PhotoMetadata.h"

namespace nomvarix {
namespace {

std::string Shown(const std::optional<FileClock::time_point>& time) {
  using namespace std::chrono;
  if (!time) return "none";
  const auto second = floor<seconds>(*time);
  const auto day = floor<days>(second);
  const year_month_day date(day);
  const hh_mm_ss clock(second - day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

/// A sound of a few silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, 417 bytes each).
std::string SilentMp3(int frames) {
  std::string frame("\xFF\xFB\x90\x64", 4);
  frame.resize(417, '\0');
  std::string sound;
  for (int i = 0; i < frames; ++i) sound += frame;
  return sound;
}

/// A WAV of `seconds` of 8 kHz 8-bit mono silence.
std::string SilentWav(std::uint32_t seconds) {
  const auto le = [](std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
    return s;
  };
  const std::uint32_t data = 8000 * seconds;
  return "RIFF" + le(36 + data, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) +
         le(1, 2) + le(8, 2) + "data" + le(data, 4) + std::string(data, '\x80');
}

/// The photo `bytes` with tags written into them through exiv2.
std::string WithPhotoTags(const std::string& bytes, bool xmpDateOnly) {
  Exiv2::Image::AutoPtr image =
      Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
  image->readMetadata();
  Exiv2::ExifData exif;
  exif["Exif.Image.Make"] = "Fábrica";
  exif["Exif.Image.Model"] = "Model 日記 ";
  exif["Exif.Photo.LensModel"] = "24-70mm";
  exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(400);
  exif["Exif.Photo.FocalLength"] = Exiv2::URational(50, 1);
  exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
  exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
  exif["Exif.Image.Orientation"] = uint16_t(6);
  if (!xmpDateOnly) exif["Exif.Photo.DateTimeDigitized"] = "2021:03:04 05:06:07";
  image->setExifData(exif);
  Exiv2::XmpData xmp;
  xmp["Xmp.xmp.CreateDate"] = "2018-01-02T03:04:05+02:00";
  image->setXmpData(xmp);
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  io.seek(0, Exiv2::BasicIo::beg);
  const Exiv2::DataBuf tagged = io.read(static_cast<long>(io.size()));
  return std::string(reinterpret_cast<const char*>(tagged.pData_), static_cast<std::size_t>(tagged.size_));
}

/// The sound `bytes` with tags written into them through TagLib.
std::string WithSoundTags(const std::string& bytes) {
  TagLib::ByteVectorStream stream(TagLib::ByteVector(bytes.data(), static_cast<unsigned int>(bytes.size())));
  TagLib::FileRef ref(&stream);
  TagLib::PropertyMap properties;
  properties["ARTIST"] = TagLib::String("Sigur Rós 😀", TagLib::String::UTF8);
  properties["ALBUMARTIST"] = TagLib::String("Various", TagLib::String::UTF8);
  properties["ALBUM"] = TagLib::String("日記", TagLib::String::UTF8);
  properties["TITLE"] = TagLib::String("Intro/Outro", TagLib::String::UTF8);
  properties["TRACKNUMBER"] = TagLib::String("3/12");
  properties["DISCNUMBER"] = TagLib::String("2/2");
  properties["DATE"] = TagLib::String("2001-05-04");
  properties["GENRE"] = TagLib::String("Post-rock");
  if (ref.isNull()) {
    ADD_FAILURE() << "TagLib knows no such sound";
    return bytes;
  }
  ref.file()->setProperties(properties);
  EXPECT_TRUE(ref.save());
  const TagLib::ByteVector& tagged = *stream.data();
  return std::string(tagged.data(), tagged.size());
}

TEST(MetadataReaderTest, PhotosOfEachFormatGiveTheirFields) {
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  folder.AddFile("Fête 日記 😀.jpg", WithPhotoTags(test::Jpeg(""), false));
  folder.AddFile("b.png", WithPhotoTags(test::PngHeader(3, 2) + std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12), true));
  // Little-endian TIFF, one IFD of one entry: ImageWidth 5.
  const std::string tiffBytes("II*\0\x08\0\0\0\x01\0\x00\x01\x03\0\x01\0\0\0\x05\0\0\0\0\0\0\0", 26);
  folder.AddFile("c.tif", WithPhotoTags(tiffBytes, false));
  const std::u16string tiff = folder.Path16() + u"c.tif";

  const std::optional<PhotoMetadata> a = GetPhotoMetadata(*fs, folder.Path16() + u"Fête 日記 😀.jpg");
  ASSERT_TRUE(a);
  EXPECT_EQ(Shown(a->dateTaken), "2021-03-04 05:06:07");  // EXIF before XMP
  EXPECT_EQ(a->make, u"Fábrica");
  EXPECT_EQ(a->model, u"Model 日記");
  EXPECT_EQ(a->lens, u"24-70mm");
  EXPECT_EQ(a->iso, 400u);
  EXPECT_EQ(a->focalLength, 50.0);
  EXPECT_EQ(a->exposureTime, 0.004);
  EXPECT_EQ(a->fNumber, 2.8);
  EXPECT_EQ(a->orientation, 6);

  const std::optional<PhotoMetadata> b = GetPhotoMetadata(*fs, folder.Path16() + u"b.png");
  ASSERT_TRUE(b);
  EXPECT_EQ(Shown(b->dateTaken), "2018-01-02 03:04:05");  // XMP, its zone dropped
  EXPECT_EQ(b->width, 3u);
  EXPECT_EQ(b->height, 2u);
  EXPECT_EQ(b->model, u"Model 日記");

  EXPECT_EQ(Shown(GetDateTaken(*fs, tiff)), "2021-03-04 05:06:07");

  folder.AddFile("d.heic", test::Heic(test::ExifBlock({{test::kDateTimeOriginal, "2020:02:03 04:05:06"}})));
  EXPECT_EQ(Shown(GetDateTaken(*fs, folder.Path16() + u"d.heic")), "2020-02-03 04:05:06");
}

TEST(MetadataReaderTest, PhotosWithoutExifFallBackToXmpAndIptc) {
  struct Case {
    std::map<std::string, std::string> xmp;
    std::map<std::string, std::string> iptc;
    std::string taken;
    std::u16string make;
  };
  const Case cases[] = {
      {{{"Xmp.exif.DateTimeOriginal", "2021:08:19 18:48:53"}}, {}, "2021-08-19 18:48:53", u""},
      {{{"Xmp.xmp.CreateDate", "2019-07-14T16:05+02:00"}, {"Xmp.photoshop.DateCreated", "2001-01-01"}},
       {{"Iptc.Application2.DateCreated", "2005-09-29"}, {"Iptc.Application2.TimeCreated", "16:51:00+00:00"}},
       "2019-07-14 16:05:00",
       u""},
      {{{"Xmp.photoshop.DateCreated", "2001-01-01"}},
       {{"Iptc.Application2.DateCreated", "2005-09-29"}, {"Iptc.Application2.TimeCreated", "16:51:00+00:00"}},
       "2005-09-29 16:51:00",
       u""},
      {{{"Xmp.photoshop.DateCreated", "2004-06-21"}, {"Xmp.tiff.Make", "Fábrica 日記"}},
       {{"Iptc.Application2.DateCreated", "2005-09-29"}},
       "2004-06-21 00:00:00",
       u"Fábrica 日記"},
      {{{"Xmp.exif.DateTimeOriginal", "2019-07"}, {"Xmp.tiff.Make", " "}}, {}, "none", u""},
  };
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string path = folder.AddFile(std::to_string(i) + ".jpg", test::Jpeg(""));
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    for (const auto& [key, value] : cases[i].xmp) image->xmpData()[key] = value;
    for (const auto& [key, value] : cases[i].iptc) image->iptcData()[key] = value;
    image->writeMetadata();
    const std::optional<PhotoMetadata> photo = GetPhotoMetadata(*fs, FromUtf8(path));
    ASSERT_TRUE(photo) << i;
    EXPECT_EQ(Shown(photo->dateTaken), cases[i].taken) << i;
    EXPECT_EQ(photo->make, cases[i].make) << i;
  }
}

TEST(MetadataReaderTest, SoundsGiveTheirTags) {
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  folder.AddFile("Sigur Rós 日記 😀.mp3", WithSoundTags(SilentMp3(200)));
  folder.AddFile("b.wav", WithSoundTags(SilentWav(3)));
  for (const auto* name : {u"Sigur Rós 日記 😀.mp3", u"b.wav"}) {
    const std::optional<AudioMetadata> audio = GetAudioMetadata(*fs, folder.Path16() + name);
    ASSERT_TRUE(audio) << ToUtf8(name);
    EXPECT_EQ(audio->artist, u"Sigur Rós 😀");
    EXPECT_EQ(audio->albumArtist, u"Various");
    EXPECT_EQ(audio->album, u"日記");
    EXPECT_EQ(audio->title, u"Intro/Outro");
    EXPECT_EQ(audio->track, 3u);
    EXPECT_EQ(audio->trackTotal, 12u);
    EXPECT_EQ(audio->disc, 2u);
    EXPECT_EQ(audio->year, 2001u);
    EXPECT_EQ(audio->genre, u"Post-rock");
    EXPECT_TRUE(audio->duration) << ToUtf8(name);
  }
  EXPECT_EQ(GetAudioMetadata(*fs, folder.Path16() + u"b.wav")->duration, std::chrono::seconds(3));
}

/// `head`, then zeros up to `size` bytes: a large file that takes no room.
class PaddedFile final : public ReadableFile {
 public:
  PaddedFile(std::string head, std::uint64_t size) : head_(std::move(head)), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const override {
    if (offset >= size_) return std::string();
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset)), '\0');
    if (offset < head_.size()) head_.copy(bytes.data(), bytes.size(), static_cast<std::size_t>(offset));
    return bytes;
  }

 private:
  std::string head_;
  std::uint64_t size_;
};

TEST(MetadataReaderTest, SoundsLargerThanALongGiveTheTagsOfTheirHead) {
  const std::string wav = WithSoundTags(SilentWav(1));
  for (const std::uint64_t size : {3ull << 30, 6ull << 30}) {
    const std::optional<AudioMetadata> audio = ReadAudioMetadata(PaddedFile(wav, size), u"日記.wav");
    ASSERT_TRUE(audio) << size;
    EXPECT_EQ(audio->title, u"Intro/Outro") << size;
  }
}

TEST(MetadataReaderTest, EachSoundFormatGivesItsTags) {
  enum class Writer { Properties, Id3v23, Id3v1, Ape, WavInfo };
  struct Case {
    const char* name;
    std::string bytes;
    Writer writer;
  };
  const Case cases[] = {
      {"v23.mp3", SilentMp3(20), Writer::Id3v23}, {"v1.mp3", SilentMp3(20), Writer::Id3v1},
      {"ape.mp3", SilentMp3(20), Writer::Ape},    {"a.flac", test::BareFlac(), Writer::Properties},
      {"a.ogg", test::BareOggVorbis(), Writer::Properties}, {"a.opus", test::BareOpus(), Writer::Properties},
      {"a.m4a", test::BareM4a(), Writer::Properties},       {"a.wma", test::BareWma(), Writer::Properties},
      {"a.aiff", test::BareAiff(), Writer::Properties},     {"a.wav", SilentWav(1), Writer::Properties},
      {"info.wav", SilentWav(1), Writer::WavInfo},
  };
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  for (const Case& c : cases) {
    // ID3v1 holds Latin-1 alone.
    const bool latin1 = c.writer == Writer::Id3v1;
    const std::string artist = latin1 ? "Straße é" : "Sigur Rós 😀";
    const std::string album = latin1 ? "Café" : "日記 Ärger";
    const std::string path = folder.AddFile(c.name, c.bytes);
    TagLib::PropertyMap properties;
    properties["ARTIST"] = TagLib::String(artist, TagLib::String::UTF8);
    properties["ALBUM"] = TagLib::String(album, TagLib::String::UTF8);
    properties["TITLE"] = TagLib::String("Intro/Outro", TagLib::String::UTF8);
    properties["TRACKNUMBER"] = TagLib::String("7");
    if (c.writer == Writer::Properties) {
      TagLib::FileRef ref(path.c_str());
      ASSERT_FALSE(ref.isNull()) << c.name;
      ref.file()->setProperties(properties);
      ASSERT_TRUE(ref.save()) << c.name;
    } else if (c.writer == Writer::WavInfo) {
      TagLib::RIFF::WAV::File wav(path.c_str());
      wav.InfoTag()->setProperties(properties);
      ASSERT_TRUE(wav.save(TagLib::RIFF::WAV::File::Info)) << c.name;
    } else {
      TagLib::MPEG::File mp3(path.c_str());
      int tags = TagLib::MPEG::File::ID3v2;
      if (c.writer == Writer::Id3v23) mp3.ID3v2Tag(true)->setProperties(properties);
      if (c.writer == Writer::Id3v1) {
        mp3.ID3v1Tag(true)->setProperties(properties);
        tags = TagLib::MPEG::File::ID3v1;
      }
      if (c.writer == Writer::Ape) {
        mp3.APETag(true)->setProperties(properties);
        tags = TagLib::MPEG::File::APE;
      }
      ASSERT_TRUE(mp3.save(tags, TagLib::File::StripOthers, TagLib::ID3v2::v3)) << c.name;
    }
    const std::optional<AudioMetadata> audio = GetAudioMetadata(*fs, folder.Path16() + FromUtf8(c.name));
    ASSERT_TRUE(audio) << c.name;
    EXPECT_EQ(audio->artist, FromUtf8(artist)) << c.name;
    EXPECT_EQ(audio->album, FromUtf8(album)) << c.name;
    EXPECT_EQ(audio->title, u"Intro/Outro") << c.name;
    EXPECT_EQ(audio->track, 7u) << c.name;
  }
}

TEST(MetadataReaderTest, MoviesGiveTheTextsOfTheirQuickTimeUserData) {
  const auto box = [](const std::string& type, const std::string& payload) {
    return test::BigEndian(static_cast<std::uint32_t>(8 + payload.size()), 4) + type + payload;
  };
  const auto text = [&](const char* key, const std::string& value, std::size_t length) {
    return box(std::string("\xA9") + key, test::BigEndian(static_cast<std::uint32_t>(length), 2) + "\x55\xC4" + value);
  };
  const std::string artist = "Sigur Rós 😀";
  const std::string ftyp = box("ftyp", "qt  " + test::BigEndian(0, 4) + "qt  ");
  // Media data before the movie box, its size in 64 bits.
  const std::string mdat = test::BigEndian(1, 4) + "mdat" + test::BigEndian(0, 4) + test::BigEndian(16 + 5000, 4) +
                           std::string(5000, '\x55');
  const auto movie = [&](const std::string& items) { return ftyp + mdat + box("moov", box("udta", items)); };
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string artist;
    std::u16string title;
  };
  const Case cases[] = {
      {"a.mov", movie(text("ART", artist, artist.size()) + text("nam", "日記", 6)), FromUtf8(artist), u"日記"},
      {"b.mov", movie(text("nam", "Intro", 50) + text("ART", artist, artist.size())), FromUtf8(artist), u""},
      {"c.mov", movie(text("ART", artist, artist.size())).substr(0, ftyp.size() + mdat.size() + 20), u"", u""},
  };
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  for (const Case& c : cases) {
    folder.AddFile(c.name, c.bytes);
    const std::optional<AudioMetadata> audio = GetAudioMetadata(*fs, folder.Path16() + FromUtf8(c.name));
    EXPECT_EQ(audio ? audio->artist : u"", c.artist) << c.name;
    EXPECT_EQ(audio ? audio->title : u"", c.title) << c.name;
  }
}

TEST(MetadataReaderTest, HostileFilesGiveNothingAndNeverBlock) {
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  const std::string good = test::Jpeg(test::ExifBlock({{test::kDateTimeOriginal, "2019:07:14 16:05:09"}}));
  std::mt19937 random(33);
  std::string noise(100'000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  folder.AddFile("noise.jpg", noise);
  folder.AddFile("noise.mp3", noise);
  folder.AddFile("mp3 head.jpg", SilentMp3(3) + noise);
  folder.AddFile("empty.jpg");
  for (std::size_t cut = 0; cut < good.size(); cut += 7) folder.AddFile("cut" + std::to_string(cut) + ".jpg", good.substr(0, cut));
  folder.AddFolder("folder.jpg");
  std::vector<std::string> names = {"noise.jpg", "empty.jpg", "folder.jpg", "cut7.jpg", "cut70.jpg"};
#ifndef _WIN32
  ASSERT_EQ(symlink("/dev/zero", (folder.Path() + "zero.mp3").c_str()), 0);
  test::WaitingFifo fifo(folder.Path() + "pipe.jpg");
  ASSERT_TRUE(fifo.Created());
  names.insert(names.end(), {"zero.mp3", "pipe.jpg"});
#endif
  for (const std::string& name : names) {
    const std::u16string path = folder.Path16() + FromUtf8(name);
    EXPECT_EQ(Shown(GetDateTaken(*fs, path)), "none") << name;
    const std::optional<AudioMetadata> audio = GetAudioMetadata(*fs, path);
    EXPECT_TRUE(!audio || (audio->title.empty() && !audio->track)) << name;
    ReadMetadataRecord(*fs, path, {.photo = true, .audio = true, .file = true});
  }
  for (std::size_t cut = 0; cut < good.size(); cut += 7) {
    GetPhotoMetadata(*fs, folder.Path16() + FromUtf8("cut" + std::to_string(cut) + ".jpg"));
  }
  GetAudioMetadata(*fs, folder.Path16() + u"noise.mp3");
  GetAudioMetadata(*fs, folder.Path16() + u"mp3 head.jpg");
#ifndef _WIN32
  EXPECT_FALSE(fifo.ReaderCameBy());
#endif
}

}  // namespace
}  // namespace nomvarix
