#pragma once

#include <string>
#include <vector>

#include "ai/RenamePair.h"

namespace nomvarix::test {

/// The pairs "f1.txt".."f<count>.txt", each with its own name as the new one.
inline std::vector<RenamePair> NumberedPairs(int count) {
  std::vector<RenamePair> pairs;
  for (int i = 1; i <= count; ++i) {
    std::u16string name = u"f";
    for (const char digit : std::to_string(i)) name.push_back(static_cast<char16_t>(digit));
    name += u".txt";
    pairs.push_back({name, name});
  }
  return pairs;
}

}  // namespace nomvarix::test
