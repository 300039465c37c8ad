#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "text/Utf16.h"

namespace nomvarix::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "nomvarix-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::u16string TempFolder::Path16() const { return FromUtf8(path_); }

std::string TempFolder::AddFile(std::string_view relative, std::string_view content) {
  const fs::path full = fs::path(path_) / fs::path(std::string(relative));
  fs::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary) << content;
  return full.string();
}

std::string TempFolder::AddFolder(std::string_view relative) {
  const fs::path full = fs::path(path_) / fs::path(std::string(relative));
  fs::create_directories(full);
  return full.string() + "/";
}

std::string TempFolder::ReadFile(std::string_view relative) const {
  std::ifstream in(fs::path(path_) / fs::path(std::string(relative)), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace nomvarix::test
