#include "platform/Path.h"

namespace nomvarix {

bool IsPathSeparator(char16_t u) {
#ifdef _WIN32
  return u == u'\\' || u == u'/';
#else
  return u == u'/';
#endif
}

std::u16string WithTrailingSeparator(std::u16string_view path) {
  std::u16string out(path);
  if (!out.empty() && !IsPathSeparator(out.back())) out.push_back(kPathSeparator);
  return out;
}

std::u16string FolderOfPath(std::u16string_view path) {
  std::size_t end = path.size();
  while (end > 0 && !IsPathSeparator(path[end - 1])) --end;
#ifdef _WIN32
  // "C:name" has the folder part "C:" (the current folder of drive C).
  if (end == 0 && path.size() >= 2 && path[1] == u':') end = 2;
#endif
  return std::u16string(path.substr(0, end));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string out = folder.empty() ? std::u16string() : WithTrailingSeparator(folder);
  out += name;
  return out;
}

}  // namespace nomvarix
