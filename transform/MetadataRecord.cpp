#include "transform/MetadataRecord.h"

#include <algorithm>
#include <chrono>

#include "editor/NameSplit.h"
#include "platform/Path.h"
#include "transform/AudioMetadata.h"
#include "transform/PhotoMetadata.h"

namespace nomvarix {
namespace {

using enum MetadataGroup;
using enum MetadataKind;

constexpr MetadataField kFields[] = {
    {u"DateTaken", Photo, Date},     {u"Make", Photo, Text},          {u"Model", Photo, Text},
    {u"Lens", Photo, Text},          {u"ISO", Photo, Number},         {u"FocalLength", Photo, Decimal},
    {u"Exposure", Photo, Exposure},  {u"FNumber", Photo, Decimal},    {u"Width", Photo, Number},
    {u"Height", Photo, Number},      {u"Orientation", Photo, Number}, {u"Artist", Audio, Text},
    {u"AlbumArtist", Audio, Text},   {u"Album", Audio, Text},         {u"Title", Audio, Text},
    {u"Track", Audio, Number},       {u"TrackTotal", Audio, Number},  {u"Disc", Audio, Number},
    {u"Year", Audio, Number},        {u"Genre", Audio, Text},         {u"Duration", Audio, Duration},
    {u"Name", File, Text},           {u"Extension", File, Text},      {u"Size", File, Number},
    {u"Modified", File, Date},
};

/// Adds the value under `name` when there is one.
template <typename Value>
void Put(MetadataRecord& record, std::u16string_view name, const std::optional<Value>& value) {
  if (value) record.emplace(name, *value);
}

void Put(MetadataRecord& record, std::u16string_view name, const std::u16string& text) {
  if (!text.empty()) record.emplace(name, text);
}

void PutPhoto(MetadataRecord& record, const PhotoMetadata& photo) {
  Put(record, u"DateTaken", photo.dateTaken);
  Put(record, u"Make", photo.make);
  Put(record, u"Model", photo.model);
  Put(record, u"Lens", photo.lens);
  Put<std::uint64_t>(record, u"ISO", photo.iso);
  Put(record, u"FocalLength", photo.focalLength);
  Put(record, u"Exposure", photo.exposureTime);
  Put(record, u"FNumber", photo.fNumber);
  Put<std::uint64_t>(record, u"Width", photo.width);
  Put<std::uint64_t>(record, u"Height", photo.height);
  Put<std::uint64_t>(record, u"Orientation", photo.orientation);
}

void PutAudio(MetadataRecord& record, const AudioMetadata& audio) {
  Put(record, u"Artist", audio.artist);
  Put(record, u"AlbumArtist", audio.albumArtist);
  Put(record, u"Album", audio.album);
  Put(record, u"Title", audio.title);
  Put<std::uint64_t>(record, u"Track", audio.track);
  Put<std::uint64_t>(record, u"TrackTotal", audio.trackTotal);
  Put<std::uint64_t>(record, u"Disc", audio.disc);
  Put<std::uint64_t>(record, u"Year", audio.year);
  Put(record, u"Genre", audio.genre);
  if (audio.duration) record.emplace(u"Duration", static_cast<std::uint64_t>(audio.duration->count()));
}

void PutFile(MetadataRecord& record, const FileSystem& fileSystem, std::u16string_view path) {
  const std::u16string_view name = path.substr(FolderOfPath(path).size());
  const SplitName split = SplitAtLastDot(name);
  Put(record, u"Name", std::u16string(split.base));
  if (!split.dotExt.empty()) Put(record, u"Extension", std::u16string(split.dotExt.substr(1)));
  const std::optional<FileStamp> stamp = fileSystem.StampOf(path);
  if (!stamp) return;
  Put(record, u"Size", stamp->attributes.size);
  if (stamp->attributes.modified) {
    record.emplace(u"Modified", FileClock::time_point(std::chrono::duration_cast<FileClock::duration>(
                                    std::chrono::nanoseconds(*stamp->attributes.modified))));
  }
}

}  // namespace

std::span<const MetadataField> MetadataFields() { return kFields; }

const MetadataField* FindMetadataField(std::u16string_view name) {
  const auto it = std::find_if(std::begin(kFields), std::end(kFields), [&](const MetadataField& f) { return f.name == name; });
  return it == std::end(kFields) ? nullptr : &*it;
}

MetadataRecord ReadMetadataRecord(const FileSystem& fileSystem, std::u16string_view path, MetadataNeeds needs) {
  MetadataRecord record;
  if (needs.photo) {
    if (const auto photo = GetPhotoMetadata(fileSystem, path)) PutPhoto(record, *photo);
  }
  if (needs.audio) {
    if (const auto audio = GetAudioMetadata(fileSystem, path)) PutAudio(record, *audio);
  }
  if (needs.file) PutFile(record, fileSystem, path);
  return record;
}

}  // namespace nomvarix
