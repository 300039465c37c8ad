#include "ai/FileList.h"

#include <algorithm>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The name as a JSON string's content: a name may hold a quote or a backslash (not on Windows, but
/// elsewhere), which would otherwise break the list the model is asked to fill in.
void AppendEscaped(std::u16string& text, std::u16string_view name) {
  constexpr char16_t kHex[] = u"0123456789abcdef";
  for (const char16_t u : NameAsSent(name)) {
    if (u == u'"' || u == u'\\') {
      text += u'\\';
      text += u;
    } else if (u < 0x20) {
      text += u"\\u00";
      text += kHex[u >> 4];
      text += kHex[u & 0xF];
    } else {
      text += u;
    }
  }
}

}  // namespace

std::u16string NameAsSent(std::u16string_view name) {
  std::u16string sent(name);
  for (char16_t& u : sent) {
    if (u >= kEscapedByteFirst && u <= kEscapedByteLast) u = u'\uFFFD';
  }
  return sent;
}

std::u16string BuildFileList(const std::vector<RenamePair>& pairs, FileListForm form) {
  std::u16string text = u"'''\r\n{\r\n  \"filenames\": [\r\n";
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    text += u"    {\r\n      \"original\": \"";
    AppendEscaped(text, pairs[i].original);
    text += u"\",\r\n      \"renamed\": \"";
    if (form == FileListForm::ExampleAnswer) AppendEscaped(text, pairs[i].renamed);
    text += u"\"\r\n    }";
    if (form == FileListForm::Group || i + 1 < pairs.size()) text += u',';
    text += u"\r\n";
  }
  text += u"  ]\r\n}\r\n'''";
  return text;
}

std::u16string BuildGroupFileList(const std::vector<RenamePair>& pairs, std::ptrdiff_t first, std::ptrdiff_t last) {
  first = std::max<std::ptrdiff_t>(first, 0);
  last = std::min<std::ptrdiff_t>(last, static_cast<std::ptrdiff_t>(pairs.size()) - 1);
  if (first > last) return {};
  return BuildFileList(std::vector<RenamePair>(pairs.begin() + first, pairs.begin() + last + 1), FileListForm::Group);
}

}  // namespace nomvarix
