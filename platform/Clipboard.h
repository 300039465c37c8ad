#pragma once

#include <functional>
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
  /// The clipboard's text handed to `take` part after part, so that a large text need not be held
  /// whole; a part may end inside a CR LF pair or a surrogate pair. False when the clipboard cannot
  /// be opened or holds no text.
  virtual bool ReadTextInParts(const std::function<void(std::u16string_view)>& take) const {
    const std::optional<std::u16string> text = ReadText();
    if (text) take(*text);
    return text.has_value();
  }
  /// Replaces the clipboard's contents by `text`; false when the clipboard could not be written.
  virtual bool WriteText(std::u16string_view text) = 0;
};

#ifdef _WIN32
/// The Win32 clipboard: UTF-16 text written, UTF-16 or ANSI text read, CR LF kept as written.
std::unique_ptr<Clipboard> MakeWin32Clipboard();
#endif

}  // namespace nomvarix
