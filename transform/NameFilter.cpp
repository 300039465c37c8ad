#include "transform/NameFilter.h"

#include <algorithm>

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

std::u16string WithLeadingDot(std::u16string_view extension) {
  std::u16string dotted;
  if (!extension.starts_with(u'.')) dotted.push_back(u'.');
  dotted += extension;
  return dotted;
}

}  // namespace

std::u16string_view PathExtension(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return {};
  const std::u16string_view extension = name.substr(dot);
  return extension.find(u' ') == std::u16string_view::npos ? extension : std::u16string_view{};
}

bool NameFilter::Passes(std::u16string_view name) const {
  if (!extensions.empty()) {
    const std::u16string_view extension = PathExtension(name);
    if (extension.empty()) return false;
    bool listed = false;
    for (const std::u16string& wanted : extensions) {
      listed = listed || EqualsFolded(WithLeadingDot(wanted), extension);
    }
    if (!listed) return false;
  }
  return mustInclude.empty() || FoldAscii(name).find(FoldAscii(mustInclude)) != std::u16string::npos;
}

std::vector<std::u16string> ParseExtensionList(std::u16string_view text) {
  std::vector<std::u16string> extensions;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(u",; ", start), text.size());
    std::u16string_view piece = text.substr(start, end - start);
    while (!piece.empty() && (piece.front() == u' ' || piece.front() == u'\t')) piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == u' ' || piece.back() == u'\t')) piece.remove_suffix(1);
    if (!piece.empty()) extensions.push_back(WithLeadingDot(piece));
    start = end + 1;
  }
  return extensions;
}

std::u16string FormatExtensionList(const std::vector<std::u16string>& extensions) {
  std::u16string text;
  for (const std::u16string& extension : extensions) {
    if (!text.empty()) text += u',';
    text += std::u16string_view(extension).substr(extension.starts_with(u'.') ? 1 : 0);
  }
  return text;
}

std::u16string DescribeFilter(const NameFilter& filter) {
  std::u16string text = FormatExtensionList(filter.extensions);
  if (filter.mustInclude.empty()) return text;
  if (!text.empty()) text += u"; ";
  return text + u"name includes \"" + filter.mustInclude + u"\"";
}

}  // namespace nomvarix
