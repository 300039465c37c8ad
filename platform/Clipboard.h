#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

/// The system clipboard as text. Lines are separated by CR LF on every platform: an adapter for a
/// system that uses LF converts both ways.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  /// Whether the clipboard can be opened and offers text.
  virtual bool HasText() const = 0;
  /// The clipboard's text; empty when it cannot be opened or holds no text.
  virtual std::optional<std::u16string> ReadText() const = 0;
  /// Replaces the clipboard's contents by `text`; false when the clipboard could not be written.
  virtual bool WriteText(std::u16string_view text) = 0;
};

#ifdef _WIN32
/// The Win32 clipboard: UTF-16 text written, UTF-16 or ANSI text read, CR LF kept as written.
std::unique_ptr<Clipboard> MakeWin32Clipboard();
#endif

}  // namespace nomvarix
