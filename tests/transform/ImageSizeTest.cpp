// Image headers built here byte by byte, read through a file system double.
#include "transform/ImageSize.h"

#include <climits>

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/PngBytes.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

std::string BigEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}
std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

std::string Png(std::uint32_t w, std::uint32_t h) { return test::PngHeader(w, h); }
/// A BMP with the usual 40-byte info header.
std::string Bmp(std::int32_t w, std::int32_t h) {
  return "BM" + std::string(12, '\0') + LittleEndian(40, 4) + LittleEndian(static_cast<std::uint32_t>(w), 4) +
         LittleEndian(static_cast<std::uint32_t>(h), 4) + std::string(8, '\0');
}
/// A BMP with the 12-byte info header of OS/2 1.x: 16-bit sides, one plane, 24 bits a pixel.
std::string Os2Bmp(std::uint16_t w, std::uint16_t h) {
  return "BM" + std::string(12, '\0') + LittleEndian(12, 4) + LittleEndian(w, 2) + LittleEndian(h, 2) +
         LittleEndian(1, 2) + LittleEndian(24, 2) + std::string(8, '\0');
}
std::string Gif(const char* version, std::uint32_t w, std::uint32_t h) {
  return std::string(version) + LittleEndian(w, 2) + LittleEndian(h, 2) + std::string(3, '\0');
}
/// A JPEG with `padding` application segments before its start-of-frame `marker`.
std::string Jpeg(std::uint32_t marker, int padding, std::uint32_t w, std::uint32_t h) {
  std::string data("\xFF\xD8", 2);
  for (int i = 0; i < padding; ++i) data += BigEndian(0xFFE1, 2) + BigEndian(4, 2) + "ab";
  data += BigEndian(marker, 2) + BigEndian(17, 2) + '\x08' + BigEndian(h, 2) + BigEndian(w, 2) + std::string(12, '\0');
  return data;
}
std::string Webp(char kind, const std::string& chunk) {
  std::string data = "RIFF" + LittleEndian(100, 4) + "WEBPVP8" + kind + chunk;
  data.resize(std::max<std::size_t>(data.size(), 40), '\0');
  return data;
}

class ImageSizeTest : public ::testing::Test {
 protected:
  std::optional<ImageSize> SizeOf(const std::u16string& name, std::string bytes) {
    fs.SetContent(u"/f/" + name, std::move(bytes));
    return GetImageSize(fs, u"/f/" + name);
  }
  test::FakeFileSystem fs;
};

TEST_F(ImageSizeTest, PngBmpAndGifFromTheirFirstBytes) {
  EXPECT_EQ(SizeOf(u"photo.PNG", Png(1920, 1080)), (ImageSize{1920, 1080}));
  EXPECT_EQ(SizeOf(u"picture.jpg", Png(3, 4)), (ImageSize{3, 4}));  // the content decides
  EXPECT_EQ(SizeOf(u"top-down.bmp", Bmp(640, -480)), (ImageSize{640, 480}));
  EXPECT_EQ(SizeOf(u"a.gif", Gif("GIF87a", 10, 20)), (ImageSize{10, 20}));
  EXPECT_EQ(SizeOf(u"b.gif", Gif("GIF89a", 7, 9)), (ImageSize{7, 9}));
  EXPECT_EQ(SizeOf(u"c.gif", Gif("GIF89a", 0, 9)), std::nullopt);
  EXPECT_EQ(SizeOf(u"d.gif", Gif("GIF88a", 7, 9)), std::nullopt);
}

// A size is either the one the image has or none: damaged or odd headers never give a made-up one.
TEST_F(ImageSizeTest, DamagedAndUnusualHeadersGiveTheRightSizeOrNone) {
  const std::string known1x1("\x89PNG\r\n\x1a\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89", 33);
  std::string badCrc = Png(640, 480);
  badCrc[30] ^= 1;
  std::string badWidth = Png(640, 480);
  badWidth[17] ^= 1;  // the CRC no longer agrees
  std::string notIhdr = Png(640, 480);
  notIhdr[12] = 'i';
  std::string badSignature = Png(640, 480);
  badSignature[4] = '\n';
  // Fill bytes before a marker, and junk between two segments.
  const std::string frame = Jpeg(0xFFC0, 0, 1024, 768).substr(2);
  const std::string soi("\xFF\xD8", 2);
  const std::string app = BigEndian(0xFFE0, 2) + BigEndian(4, 2) + "ab";
  const struct {
    const char16_t* name;
    std::string bytes;
    std::optional<ImageSize> expected;
  } cases[] = {
      {u"known.png", known1x1, ImageSize{1, 1}},
      {u"largest.png", Png(0x7FFFFFFF, 1), ImageSize{0x7FFFFFFF, 1}},
      {u"too-wide.png", Png(0x80000000u, 1), std::nullopt},
      {u"zero.png", Png(0, 480), std::nullopt},
      {u"crc.png", badCrc, std::nullopt},
      {u"width.png", badWidth, std::nullopt},
      {u"chunk.png", notIhdr, std::nullopt},
      {u"signature.png", badSignature, std::nullopt},
      {u"top-down.bmp", Bmp(127, -64), ImageSize{127, 64}},
      {u"os2.bmp", Os2Bmp(127, 64), ImageSize{127, 64}},
      {u"os2-wide.bmp", Os2Bmp(65535, 2), ImageSize{65535, 2}},
      {u"negative-width.bmp", Bmp(-127, 64), std::nullopt},
      {u"zero-height.bmp", Bmp(127, 0), std::nullopt},
      {u"lowest-height.bmp", Bmp(127, INT32_MIN), std::nullopt},
      {u"fill.jpg", soi + "\xFF\xFF\xFF" + app + "\xFF\xFF" + frame, ImageSize{1024, 768}},
      {u"junk.jpg", soi + app + "junk\x00\xFF\x00" + frame, ImageSize{1024, 768}},
      {u"restart.jpg", soi + "\xFF\xD0" + app + frame, ImageSize{1024, 768}},
      {u"scan-first.jpg", soi + BigEndian(0xFFDA, 2) + BigEndian(4, 2) + "ab" + frame, std::nullopt},
      {u"only-junk.jpg", soi + "\xFF" + std::string(40, 'j'), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SizeOf(c.name, c.bytes), c.expected) << ToUtf8(c.name);
}

TEST_F(ImageSizeTest, JpegFramesAndTheSegmentLimit) {
  EXPECT_EQ(SizeOf(u"p.jpg", Jpeg(0xFFC2, 3, 800, 600)), (ImageSize{800, 600}));  // progressive
  EXPECT_EQ(SizeOf(u"q.jpeg", Jpeg(0xFFC0, 99, 5, 6)), (ImageSize{5, 6}));
  EXPECT_EQ(SizeOf(u"r.jpg", Jpeg(0xFFC0, 100, 5, 6)), std::nullopt);  // the frame is segment 101
  EXPECT_EQ(SizeOf(u"s.jpg", Jpeg(0xFFC5, 0, 5, 6)), std::nullopt);
  EXPECT_EQ(SizeOf(u"t.jpg", Jpeg(0xFFC0, 0, 0, 6)), std::nullopt);
  std::string cut = Jpeg(0xFFC0, 0, 5, 6);
  cut.resize(10);
  EXPECT_EQ(SizeOf(u"u.jpg", cut), std::nullopt);
}

TEST_F(ImageSizeTest, AJpegIsReadSegmentBySegmentAndAWebpByItsHeader) {
  // A large application segment before the frame and a megabyte of scan data after it.
  std::string jpeg = std::string("\xFF\xD8", 2) + BigEndian(0xFFE1, 2) + BigEndian(60002, 2) + std::string(60000, 'e');
  jpeg += Jpeg(0xFFC0, 0, 4000, 3000).substr(2) + std::string(1 << 20, 's');
  EXPECT_EQ(SizeOf(u"big.jpg", jpeg), (ImageSize{4000, 3000}));
  EXPECT_LT(fs.BytesRead(), 100u);
  EXPECT_EQ(fs.WholeFileReads(), 0);

  std::string webp = Webp('X', std::string(8, '\0') + LittleEndian(1919, 3) + LittleEndian(1079, 3));
  webp += std::string(1 << 20, 'p');
  EXPECT_EQ(SizeOf(u"big.webp", webp), (ImageSize{1920, 1080}));
  EXPECT_LT(fs.BytesRead(), 200u);
  EXPECT_EQ(fs.WholeFileReads(), 0);
}

TEST_F(ImageSizeTest, WebpInItsThreeKinds) {
  EXPECT_EQ(SizeOf(u"lossy.webp", Webp(' ', std::string(10, '\0') + LittleEndian(0xC000 | 300, 2) + LittleEndian(200, 2))),
            (ImageSize{300, 200}));
  const std::uint32_t packed = (99u) | (49u << 14);
  EXPECT_EQ(SizeOf(u"lossless.webp", Webp('L', std::string(5, '\0') + LittleEndian(packed, 4))), (ImageSize{100, 50}));
  EXPECT_EQ(SizeOf(u"extended.webp", Webp('X', std::string(8, '\0') + LittleEndian(1919, 3) + LittleEndian(1079, 3))),
            (ImageSize{1920, 1080}));
  EXPECT_EQ(SizeOf(u"empty.webp", ""), std::nullopt);
  EXPECT_EQ(SizeOf(u"other.webp", Webp('Z', "")), std::nullopt);
}

TEST_F(ImageSizeTest, ExtensionsShortFilesAndMissingFiles) {
  EXPECT_EQ(SizeOf(u"photo.tiff", Png(1, 1)), std::nullopt);
  EXPECT_EQ(fs.WholeFileReads(), 0);
  EXPECT_EQ(fs.FileOpens(), 0);  // the extension alone refuses it
  EXPECT_EQ(SizeOf(u"noextension", Png(1, 1)), std::nullopt);
  EXPECT_EQ(SizeOf(u"short.png", Png(1, 1).substr(0, 23)), std::nullopt);  // never read past the data
  EXPECT_EQ(SizeOf(u"short.bmp", Bmp(1, 1).substr(0, 25)), std::nullopt);
  EXPECT_EQ(GetImageSize(fs, u"/f/missing.png"), std::nullopt);
}

}  // namespace
}  // namespace nomvarix
