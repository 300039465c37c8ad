#pragma once

#include <optional>
#include <string>

#include "platform/Clipboard.h"

namespace nomvarix::test {

/// A clipboard in memory; `text` empty means it holds no text.
class FakeClipboard final : public Clipboard {
 public:
  bool HasText() const override { return text.has_value(); }
  std::optional<std::u16string> ReadText() const override { return text; }
  bool WriteText(std::u16string_view written) override {
    text = std::u16string(written);
    ++writes;
    return true;
  }

  std::optional<std::u16string> text;
  int writes = 0;
};

}  // namespace nomvarix::test
