#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nomvarix {

/// The response box's text: the whole answer, of which the box holds only the end while it grows.
/// A text box lays out everything it is given, so an answer of megabytes shown whole would cost
/// the dialog's thread seconds for every megabyte; here each character is laid out at most twice
/// however long the answer grows, and the whole answer is still at hand.
class ResponseTail {
 public:
  /// What the box is to do: take `text` in place of what it holds, or add it at its end.
  struct BoxChange {
    bool replace = false;
    std::u16string text;
  };

  /// The box holds at most `shownLimit` characters of the answer (at least 2).
  explicit ResponseTail(std::size_t shownLimit);

  /// The answer becomes `text`.
  BoxChange Show(std::u16string_view text);
  /// `text` is added at the answer's end. When the box would then hold more than the limit, it
  /// takes only the answer's last half limit instead, cut at a line's start where one is near.
  BoxChange Append(std::u16string_view text);
  /// The box takes the whole answer (the user asked to see all of it).
  BoxChange ShowWhole();

  const std::u16string& Whole() const { return whole_; }
  /// How many characters at the answer's start the box does not hold.
  std::size_t Hidden() const { return shownFrom_; }

 private:
  std::u16string whole_;
  std::size_t shownFrom_ = 0;
  std::size_t limit_;
};

}  // namespace nomvarix
