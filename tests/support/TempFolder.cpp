#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "text/Utf16.h"

namespace nomvarix::test {

namespace fs = std::filesystem;

namespace {

/// A relative name given as bytes: POSIX names are bytes, Windows names are read as UTF-8.
fs::path FromBytes(std::string_view relative) {
#ifdef _WIN32
  return fs::path(std::u8string(relative.begin(), relative.end()));
#else
  return fs::path(std::string(relative));
#endif
}

std::string ToBytes(const fs::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

}  // namespace

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = fs::temp_directory_path() / ("nomvarix-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = ToBytes(candidate) + static_cast<char>(fs::path::preferred_separator);
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(FromBytes(path_), ignored);
}

std::u16string TempFolder::Path16() const { return FromUtf8(path_); }

std::string TempFolder::AddFile(std::string_view relative, std::string_view content) {
  const fs::path full = FromBytes(path_) / FromBytes(relative);
  fs::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary) << content;
  return ToBytes(full);
}

std::string TempFolder::AddFolder(std::string_view relative) {
  const fs::path full = FromBytes(path_) / FromBytes(relative);
  fs::create_directories(full);
  return ToBytes(full) + static_cast<char>(fs::path::preferred_separator);
}

std::string TempFolder::ReadFile(std::string_view relative) const {
  std::ifstream in(FromBytes(path_) / FromBytes(relative), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::u16string> TempFolder::EntryNames() const {
  std::vector<std::u16string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FromBytes(path_))) {
    names.push_back(entry.path().filename().u16string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace nomvarix::test
