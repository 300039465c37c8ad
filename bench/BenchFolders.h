#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace nomvarix::bench {

/// Folders of N empty files with names of 20 to 40 characters, made on first use under $TMPDIR
/// and removed when the benchmark ends.
class BenchFolders {
 public:
  ~BenchFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  const std::string& Folder(int count) {
    auto it = folders_.find(count);
    if (it == folders_.end()) it = folders_.emplace(count, Make(count)).first;
    return it->second;
  }

  static BenchFolders& Get() {
    static BenchFolders folders;
    return folders;
  }

 private:
  std::string Make(int count) {
    const std::string folder = (root_ / std::to_string(count)).string() + "/";
    std::filesystem::create_directories(folder);
    std::mt19937 random(static_cast<unsigned>(count));
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_- ";
    const char* extensions[] = {".jpg", ".JPG", ".png", ".txt", ".tar.gz", ".mp4", ""};
    std::uniform_int_distribution<int> length(16, 36), letter(0, static_cast<int>(letters.size()) - 1),
        extension(0, 6);
    for (int i = 0; i < count; ++i) {
      std::string name = std::to_string(i) + "_";
      const int stem = length(random) - static_cast<int>(name.size());
      for (int k = 0; k < stem; ++k) name.push_back(letters[static_cast<std::size_t>(letter(random))]);
      name += extensions[extension(random)];
      std::ofstream(folder + name);
    }
    return folder;
  }

  std::filesystem::path root_ =
      std::filesystem::temp_directory_path() / ("nomvarix-bench-" + std::to_string(getpid()));
  std::map<int, std::string> folders_;
};

}  // namespace nomvarix::bench
