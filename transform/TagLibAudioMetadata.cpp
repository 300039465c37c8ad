// The audio reader through TagLib. TagLib reads through an IOStream of our own over the
// file-system port, which never writes and gives at most kMaxAudioReadBytes in all: a damaged file
// that sends TagLib looking for frames across a huge file meets an end instead.
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/mp4file.h>
#include <taglib/tag.h>
#include <taglib/tiostream.h>
#include <taglib/tpropertymap.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>
#include <string>

#include "editor/NameSplit.h"
#include "text/AsciiCase.h"
#include "text/Utf16.h"
#include "transform/AudioMetadata.h"
#include "transform/ByteReader.h"
#include "transform/QuickTimeUserData.h"

namespace nomvarix {
namespace {

/// The most bytes TagLib may read of one file: the tags and stream headers of every format it
/// knows, with room for large cover pictures.
constexpr std::uint64_t kMaxAudioReadBytes = 64ull << 20;

/// A name as TagLib takes it: UTF-16 on Windows (its narrow names are in the ANSI code page there),
/// UTF-8 elsewhere. TagLib only looks at its extension.
#ifdef _WIN32
using TagLibName = std::wstring;
TagLibName NameForTagLib(std::u16string_view name) { return TagLibName(name.begin(), name.end()); }
#else
using TagLibName = std::string;
TagLibName NameForTagLib(std::u16string_view name) { return ToUtf8(name); }
#endif

/// TagLib counts offsets in long, which has 32 bits on Windows: there the stream ends where long
/// does, so that a larger file (a long video) still shows TagLib its head, where the tags are.
class ReadOnlyStream final : public TagLib::IOStream {
 public:
  ReadOnlyStream(const ReadableFile& file, std::u16string_view name)
      : file_(file), name_(NameForTagLib(name)),
        size_(std::min<std::uint64_t>(file.Size(), std::numeric_limits<long>::max())) {}

  TagLib::FileName name() const override { return name_.c_str(); }
  TagLib::ByteVector readBlock(unsigned long length) override {
    const std::uint64_t left = std::min(size_ - std::min(position_, size_), kMaxAudioReadBytes - spent_);
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(length, left));
    if (count == 0) return {};
    const std::optional<std::string> bytes = file_.ReadAt(position_, count);
    if (!bytes) return {};
    position_ += bytes->size();
    spent_ += bytes->size();
    return TagLib::ByteVector(bytes->data(), static_cast<unsigned int>(bytes->size()));
  }
  void writeBlock(const TagLib::ByteVector&) override {}
  void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
  void removeBlock(unsigned long, unsigned long) override {}
  bool readOnly() const override { return true; }
  bool isOpen() const override { return true; }
  void seek(long offset, Position from) override {
    std::int64_t base = 0;
    if (from == Current) base = static_cast<std::int64_t>(position_);
    if (from == End) base = static_cast<std::int64_t>(size_);
    position_ = static_cast<std::uint64_t>(std::max<std::int64_t>(base + offset, 0));
  }
  void clear() override {}
  long tell() const override { return static_cast<long>(position_); }
  long length() override { return static_cast<long>(size_); }
  void truncate(long) override {}

 private:
  const ReadableFile& file_;
  TagLibName name_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  std::uint64_t spent_ = 0;
};

std::u16string TextOf(const TagLib::String& text) { return FromUtf8(text.to8Bit(true)); }

/// The leading number of "3", "03/12" or "2001-05-04"; empty for none or 0.
std::optional<std::uint32_t> LeadingNumber(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || value == 0) return std::nullopt;
  return value;
}

/// The number after the "/" of "3/12"; empty when there is none.
std::optional<std::uint32_t> NumberAfterSlash(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  return LeadingNumber(text.substr(slash + 1));
}

std::string First(const TagLib::PropertyMap& properties, const char* key) {
  const auto it = properties.find(key);
  if (it == properties.end() || it->second.isEmpty()) return {};
  return it->second.front().to8Bit(true);
}

AudioMetadata MetadataOf(TagLib::File& file) {
  AudioMetadata audio;
  if (const TagLib::Tag* tag = file.tag()) {
    audio.artist = TextOf(tag->artist());
    audio.album = TextOf(tag->album());
    audio.title = TextOf(tag->title());
    audio.genre = TextOf(tag->genre());
    if (tag->track() > 0) audio.track = tag->track();
    if (tag->year() > 0) audio.year = tag->year();
  }
  // WAV files answer tag() with their ID3v2 tag alone; the names of their INFO chunk are in the
  // properties, which join both.
  const TagLib::PropertyMap properties = file.properties();
  for (const auto& [text, key] : {std::pair{&audio.artist, "ARTIST"}, std::pair{&audio.album, "ALBUM"},
                                  std::pair{&audio.title, "TITLE"}, std::pair{&audio.genre, "GENRE"}}) {
    if (text->empty()) *text = FromUtf8(First(properties, key));
  }
  audio.albumArtist = FromUtf8(First(properties, "ALBUMARTIST"));
  const std::string track = First(properties, "TRACKNUMBER");
  if (!audio.track) audio.track = LeadingNumber(track);
  audio.trackTotal = NumberAfterSlash(track);
  if (!audio.trackTotal) audio.trackTotal = LeadingNumber(First(properties, "TRACKTOTAL"));
  if (!audio.trackTotal) audio.trackTotal = LeadingNumber(First(properties, "TOTALTRACKS"));
  audio.disc = LeadingNumber(First(properties, "DISCNUMBER"));
  if (!audio.year) audio.year = LeadingNumber(First(properties, "DATE"));
  if (const TagLib::AudioProperties* stream = file.audioProperties(); stream && stream->lengthInSeconds() > 0) {
    audio.duration = std::chrono::seconds(stream->lengthInSeconds());
  }
  return audio;
}

/// MOV files of cameras and of ffmpeg name their artist, album and title in QuickTime's user data,
/// which TagLib does not read, rather than in an iTunes item list.
void AddQuickTimeTexts(AudioMetadata& audio, const ReadableFile& file) {
  if (!audio.artist.empty() && !audio.album.empty() && !audio.title.empty()) return;
  const auto texts = QuickTimeUserTexts(ReaderOf(file), file.Size());
  for (const auto& [text, key] : {std::pair{&audio.artist, "\xA9" "ART"}, std::pair{&audio.album, "\xA9" "alb"},
                                  std::pair{&audio.title, "\xA9" "nam"}}) {
    if (const auto it = texts.find(key); text->empty() && it != texts.end()) *text = it->second;
  }
}

/// TagLib knows MOV files by their content only when they open with an "ftyp" box; older ones
/// are MP4 files all the same.
bool IsQuickTimeName(std::u16string_view name) {
  return FoldAscii(ExtensionOf(name)) == u"mov";
}

}  // namespace

std::optional<AudioMetadata> ReadAudioMetadata(const ReadableFile& file, std::u16string_view name) {
  try {
    ReadOnlyStream stream(file, name);
    const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Fast);
    if (!ref.isNull() && ref.file()->isValid()) {
      AudioMetadata audio = MetadataOf(*ref.file());
      if (dynamic_cast<const TagLib::MP4::File*>(ref.file())) AddQuickTimeTexts(audio, file);
      return audio;
    }
    if (!IsQuickTimeName(name)) return std::nullopt;
    stream.seek(0, TagLib::IOStream::Beginning);
    TagLib::MP4::File movie(&stream, true, TagLib::AudioProperties::Fast);
    if (!movie.isValid()) return std::nullopt;
    AudioMetadata audio = MetadataOf(movie);
    AddQuickTimeTexts(audio, file);
    return audio;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace nomvarix
