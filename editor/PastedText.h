#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// Clipboard text as a paste uses it, taken in parts as it is read: its pieces between CR LF
/// separators, without control characters (a CR or LF not in such a pair included), a high
/// surrogate without its low half as U+FFFD. Only what a paste can use is kept, so that a text of
/// any size costs little: the first `maxPieces` pieces, each up to `maxLength` units and one more
/// (enough to tell that it is too long).
///
///   "ab\r\ncd\r\n" gives "ab", "cd"; "\r\nx" gives "", "x"; "\x1b\r" gives no piece at all.
class PastedText {
 public:
  PastedText(std::size_t maxPieces, std::size_t maxLength) : maxPieces_(maxPieces), maxLength_(maxLength) {}

  /// Takes the next part of the text; a CR LF pair or a surrogate pair may be split between parts.
  void Append(std::u16string_view part);
  /// The pieces, once the last part was taken; none when no text is left.
  std::vector<std::u16string> Finish();

 private:
  void Keep(char16_t unit);
  void Store(char16_t unit);
  void Separate();
  void ResolvePendingHigh();

  const std::size_t maxPieces_;
  const std::size_t maxLength_;
  std::vector<std::u16string> pieces_;
  bool pieceOpen_ = false;    ///< the last piece takes what follows
  bool full_ = false;         ///< every further unit is beyond what is kept
  bool pendingCr_ = false;    ///< a CR that a LF would make a separator
  char16_t pendingHigh_ = 0;  ///< a high surrogate waiting for its low half
};

}  // namespace nomvarix
