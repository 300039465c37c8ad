#include "transform/DateTaken.h"

#include <chrono>
#include <random>

#include <gtest/gtest.h>

#include "support/ExifBytes.h"
#include "support/FakeFileSystem.h"
#include "transform/FileTextInsertion.h"

namespace nomvarix {
namespace {

using namespace std::chrono;
using test::ExifBlock;
using test::Jpeg;
using test::kDateTimeDigitized;
using test::kDateTimeOriginal;

/// The date as "yyyy-MM-dd HH-mm" and its seconds, or "none".
std::string Shown(const std::optional<FileClock::time_point>& time) {
  if (!time) return "none";
  const auto text = FormatCreationDate(*time, u"yyyy-MM-dd HH-mm");
  const auto second = floor<seconds>(*time - floor<minutes>(*time)).count();
  return std::string(text.begin(), text.end()) + " " + std::to_string(second) + "s";
}

ReadBytesAt ReaderOf(const std::string& bytes) {
  return [&bytes](std::uint64_t offset, std::size_t count) -> std::optional<std::string> {
    if (offset > bytes.size()) return std::string();
    return bytes.substr(static_cast<std::size_t>(offset), count);
  };
}

std::optional<std::string> BlockOf(const std::string& file) { return ExifBlockOfFile(file.size(), ReaderOf(file)); }

TEST(ExifDateTimeTest, OnlyTheExactFormOfARealDateAndTime) {
  EXPECT_EQ(Shown(ParseExifDateTime("2019:07:14 16:05:09")), "2019-07-14 16-05 9s");
  EXPECT_EQ(Shown(ParseExifDateTime(std::string_view("2020:02:29 23:59:59\0junk", 24))), "2020-02-29 23-59 59s");
  EXPECT_EQ(Shown(ParseExifDateTime("2261:12:31 23:59:59")), "2261-12-31 23-59 59s");
  for (const char* bad : {"0000:00:00 00:00:00", "    :  :     :  :  ", "2021:02:29 10:00:00", "2021:13:01 10:00:00",
                          "2021:04:31 10:00:00", "2021:05:06 24:00:00", "2021:05:06 07:60:00", "2021:05:06 07:08:60",
                          "2021-05-06 07:08:09", "2021:05:06T07:08:09", "2021:05:06 07:08:09Z", "2021:05:06 07:08",
                          "+021:05:06 07:08:09", "2021:5:06 07:08:09 ", "", "2021:05:06 07:08:0\xD9",
                          "4038:01:01 00:00:00", "9999:12:31 23:59:59", "1000:01:01 00:00:00"}) {
    EXPECT_EQ(Shown(ParseExifDateTime(bad)), "none") << bad;
  }
}

TEST(DateTakenTest, TheOriginalDateElseTheDigitizedOne) {
  EXPECT_EQ(Shown(DateTakenOfExif(ExifBlock({{kDateTimeOriginal, "2019:07:14 16:05:09"},
                                             {kDateTimeDigitized, "2020:01:01 00:00:00"}}))),
            "2019-07-14 16-05 9s");
  EXPECT_EQ(Shown(DateTakenOfExif(ExifBlock({{kDateTimeDigitized, "2020:01:02 03:04:05"}}))), "2020-01-02 03-04 5s");
  EXPECT_EQ(Shown(DateTakenOfExif(ExifBlock({{kDateTimeOriginal, "0000:00:00 00:00:00"},
                                             {kDateTimeDigitized, "2020:01:02 03:04:05"}}))),
            "2020-01-02 03-04 5s");
  // No date at all: none is made up, though the standard asks for one.
  EXPECT_EQ(Shown(DateTakenOfExif(ExifBlock({{0x9290, "12"}}))), "none");
  EXPECT_EQ(Shown(DateTakenOfExif(ExifBlock({}))), "none");
  EXPECT_EQ(Shown(DateTakenOfExif("")), "none");
}

TEST(DateTakenTest, DamagedBlocksGiveNoDateAndNeverCrash) {
  const std::string good = ExifBlock({{kDateTimeOriginal, "2019:07:14 16:05:09"}});
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_EQ(Shown(DateTakenOfExif(good.substr(0, cut))), "none") << cut;
  }
  std::string outside = good;
  test::PutBigEndian(outside, test::kFirstEntryValueAt, 0xFFFFFF00, 4);
  EXPECT_EQ(Shown(DateTakenOfExif(outside)), "none");
  for (const std::uint32_t count : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x40000000u}) {
    std::string huge = good;
    test::PutBigEndian(huge, test::kFirstEntryCountAt, count, 4);
    EXPECT_EQ(Shown(DateTakenOfExif(huge)), "none");
  }
  std::string manyEntries = good;
  test::PutBigEndian(manyEntries, test::kExifEntryCountAt, 0xFFFF, 2);
  DateTakenOfExif(manyEntries);
  std::string loop = good;  // the EXIF IFD pointer leads back to IFD0
  test::PutBigEndian(loop, test::kExifPointerAt, 8, 4);
  EXPECT_EQ(Shown(DateTakenOfExif(loop)), "none");

  // A broken original date leaves the digitized one usable.
  std::string brokenOriginal = ExifBlock({{kDateTimeOriginal, "2019:07:14 16:05:09"},
                                          {kDateTimeDigitized, "2018:06:05 04:03:02"}});
  test::PutBigEndian(brokenOriginal, test::kFirstEntryCountAt, 0xFFFFFFF0, 4);
  EXPECT_EQ(Shown(DateTakenOfExif(brokenOriginal)), "2018-06-05 04-03 2s");
}

TEST(DateTakenTest, RandomAndMutatedBlocksNeverCrash) {
  std::mt19937 random(20240611);
  const std::string good = ExifBlock({{kDateTimeOriginal, "2019:07:14 16:05:09"},
                                      {kDateTimeDigitized, "2018:06:05 04:03:02"}, {0x9290, "123"}});
  for (int round = 0; round < 3000; ++round) {
    std::string block = good;
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) block[random() % block.size()] = static_cast<char>(random());
    DateTakenOfExif(block);
    const std::string file = Jpeg(block);
    BlockOf(file);
    std::string damagedFile = file;
    damagedFile[random() % damagedFile.size()] = static_cast<char>(random());
    if (const auto found = BlockOf(damagedFile)) DateTakenOfExif(*found);
  }
  for (int round = 0; round < 40; ++round) {
    std::string block(random() % (2 * kMaxExifBlockBytes), '\0');
    for (char& c : block) c = static_cast<char>(random());
    if (round % 2 == 0) block.replace(0, std::min<std::size_t>(block.size(), 10), std::string("Exif\0\0MM\0\x2A", 10));
    DateTakenOfExif(block);
    BlockOf(std::string("\xFF\xD8", 2) + block);
  }
}

TEST(ExifBlockTest, FoundInJpegsFujiRawFilesAndBareBlocks) {
  const std::string block = ExifBlock({{kDateTimeOriginal, "2019:07:14 16:05:09"}});
  EXPECT_EQ(BlockOf(Jpeg(block)), block);  // after the APP0 and an XMP APP1
  EXPECT_EQ(BlockOf(Jpeg("")), std::nullopt);
  EXPECT_EQ(BlockOf(block), block);
  // Fill bytes before a marker.
  EXPECT_EQ(BlockOf(std::string("\xFF\xD8\xFF\xFF\xFF", 5) + Jpeg(block).substr(3)), block);

  std::string fuji = "FUJIFILMCCD-RAW 0201FF383501" + std::string(56, '\0') + test::BigEndian(100, 4);
  fuji.resize(100, '\0');
  EXPECT_EQ(BlockOf(fuji + Jpeg(block)), block);
  EXPECT_EQ(BlockOf(fuji), std::nullopt);

  // A bare block is handed on up to the bound, no further.
  const std::string longBlock = block + std::string(2 * kMaxExifBlockBytes, 'x');
  EXPECT_EQ(BlockOf(longBlock)->size(), kMaxExifBlockBytes);
}

TEST(ExifBlockTest, AWalkThatCannotGoOnFindsNothing) {
  const std::string block = ExifBlock({{kDateTimeOriginal, "2019:07:14 16:05:09"}});
  const std::string jpeg = Jpeg(block);
  // Cut anywhere before the EXIF segment's end.
  const std::size_t exifEnd = jpeg.find(block) + block.size();
  for (std::size_t cut = 0; cut < exifEnd; ++cut) EXPECT_EQ(BlockOf(jpeg.substr(0, cut)), std::nullopt) << cut;
  EXPECT_EQ(BlockOf(jpeg.substr(0, exifEnd)), block);

  // A length below 2, a segment before the EXIF one that claims to run past the file.
  std::string shortLength = jpeg;
  shortLength[5] = 1;
  shortLength[4] = 0;
  EXPECT_EQ(BlockOf(shortLength), std::nullopt);
  std::string tooLong = jpeg;
  tooLong[4] = '\xFF';
  EXPECT_EQ(BlockOf(tooLong), std::nullopt);
  // EXIF after the start of scan belongs to no header, nor after a hundred other segments.
  const std::string sos = test::Segment(0xDA, std::string(10, '\0'));
  EXPECT_EQ(BlockOf("\xFF\xD8" + sos + test::Segment(0xE1, block)), std::nullopt);
  std::string crowded("\xFF\xD8", 2);
  for (int i = 0; i < 100; ++i) crowded += test::Segment(0xE0, "x");
  EXPECT_EQ(BlockOf(crowded + test::Segment(0xE1, block)), std::nullopt);
  // Not a JPEG at all, and bytes that are no marker.
  EXPECT_EQ(BlockOf("GIF89a" + block), std::nullopt);
  EXPECT_EQ(BlockOf(std::string("\xFF\xD8\x00\xE1", 4) + block), std::nullopt);

  // The reader is asked for nothing past a segment header unless the segment is an APP1.
  test::FakeFileSystem fs;
  fs.AddFolder(u"/p/", {u"big.jpg"});
  std::string big = "\xFF\xD8" + test::Segment(0xE2, std::string(60000, 'i')) + test::Segment(0xE1, block);
  fs.SetContent(u"/p/big.jpg", big);
  EXPECT_EQ(Shown(GetDateTaken(fs, u"/p/big.jpg")), "2019-07-14 16-05 9s");
  EXPECT_LT(fs.BytesRead(), 2 * block.size() + 100);
}

}  // namespace
}  // namespace nomvarix
