#include "ai/ResponseTail.h"

#include <algorithm>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Where the shown end of `text` begins when it is to hold about `length` characters: just after
/// a line break within the first quarter of that end when there is one, else at a character's
/// start (never between the halves of a surrogate pair or of a CR LF).
std::size_t TailStart(std::u16string_view text, std::size_t length) {
  std::size_t start = text.size() - std::min(length, text.size());
  const std::size_t lineEnd = text.substr(start, length / 4).find(u'\n');
  if (lineEnd != std::u16string_view::npos) return start + lineEnd + 1;
  if (SplitsSurrogatePair(text, start) || (start > 0 && text[start - 1] == u'\r' && text[start] == u'\n')) ++start;
  return start;
}

}  // namespace

ResponseTail::ResponseTail(std::size_t shownLimit) : limit_(std::max<std::size_t>(shownLimit, 2)) {}

ResponseTail::BoxChange ResponseTail::Show(std::u16string_view text) {
  whole_ = text;
  shownFrom_ = whole_.size() > limit_ ? TailStart(whole_, limit_ / 2) : 0;
  return {true, whole_.substr(shownFrom_)};
}

ResponseTail::BoxChange ResponseTail::Append(std::u16string_view text) {
  whole_ += text;
  if (whole_.size() - shownFrom_ <= limit_) return {false, std::u16string(text)};
  shownFrom_ = TailStart(whole_, limit_ / 2);
  return {true, whole_.substr(shownFrom_)};
}

ResponseTail::BoxChange ResponseTail::ShowWhole() {
  shownFrom_ = 0;
  return {true, whole_};
}

}  // namespace nomvarix
