#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace nomvarix {

/// The fuzzer's bytes as a file the readers open.
class MemoryFile final : public ReadableFile {
 public:
  MemoryFile(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const override {
    if (offset >= bytes_.size()) return std::string();
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), count));
  }

 private:
  std::string_view bytes_;
};

}  // namespace nomvarix
