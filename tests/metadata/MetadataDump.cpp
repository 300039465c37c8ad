// Prints what the photo or audio reader finds in each file named, as a JSON array shaped like
// exiftool's -j output (one object per file, "SourceFile" first), so that the two can be compared:
//
//   metadata_dump photo FILE...   DateTaken ("yyyy:MM:dd HH:mm:ss"), Make, Model
//   metadata_dump audio FILE...   Artist, Album, Title, Track, Duration (whole seconds)
//
// A field the reader does not find is left out.
#include <nlohmann/json.hpp>

#include <cstring>
#include <ctime>
#include <iostream>
#include <string>

#include "platform/FileSystem.h"
#include "text/Utf16.h"
#include "transform/AudioMetadata.h"
#include "transform/PhotoMetadata.h"

namespace nomvarix {
namespace {

std::string ExifTime(FileClock::time_point time) {
  const std::time_t t = FileClock::to_time_t(time);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &utc);
  return text;
}

void PutText(nlohmann::ordered_json& object, const char* field, const std::u16string& text) {
  if (!text.empty()) object[field] = ToUtf8(text);
}

nlohmann::ordered_json Photo(const FileSystem& fileSystem, const std::string& path) {
  nlohmann::ordered_json object{{"SourceFile", path}};
  if (const std::optional<PhotoMetadata> photo = GetPhotoMetadata(fileSystem, FromUtf8(path))) {
    if (photo->dateTaken) object["DateTaken"] = ExifTime(*photo->dateTaken);
    PutText(object, "Make", photo->make);
    PutText(object, "Model", photo->model);
  }
  return object;
}

nlohmann::ordered_json Audio(const FileSystem& fileSystem, const std::string& path) {
  nlohmann::ordered_json object{{"SourceFile", path}};
  if (const std::optional<AudioMetadata> audio = GetAudioMetadata(fileSystem, FromUtf8(path))) {
    PutText(object, "Artist", audio->artist);
    PutText(object, "Album", audio->album);
    PutText(object, "Title", audio->title);
    if (audio->track) object["Track"] = *audio->track;
    if (audio->duration) object["Duration"] = audio->duration->count();
  }
  return object;
}

}  // namespace
}  // namespace nomvarix

int main(int argc, char** argv) {
  const bool photo = argc >= 2 && std::strcmp(argv[1], "photo") == 0;
  if (argc < 2 || (!photo && std::strcmp(argv[1], "audio") != 0)) {
    std::cerr << "usage: metadata_dump photo|audio FILE...\n";
    return 2;
  }
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  for (int i = 2; i < argc; ++i) {
    files.push_back(photo ? nomvarix::Photo(*fileSystem, argv[i]) : nomvarix::Audio(*fileSystem, argv[i]));
  }
  std::cout << files.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}
