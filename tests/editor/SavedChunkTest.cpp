#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/SavedChunk.h"

namespace nomvarix {
namespace {

/// Names of every length up to 13 units, so that a difference falls at every place of a group of
/// four units, from the start and from the end; in plain letters, accents (one-byte units), and
/// wider units: CJK, a pair, a lone surrogate standing for an undecodable byte.
std::vector<std::u16string> Originals() {
  const std::u16string pieces[] = {u"abcdefghijklm", u"\u00e9t\u00e9 \u00df\u00e9t\u00e9 \u00df\u00e9t\u00e9 ",
                                   u"\u65e5\u8a18a\U0001F600b\xDCFF\u2013c\u2019d"};
  std::vector<std::u16string> originals;
  for (const std::u16string& piece : pieces) {
    for (std::size_t length = 0; length <= piece.size(); ++length) originals.push_back(piece.substr(0, length));
  }
  return originals;
}

/// Every name one edit away from `original`: a unit inserted, removed or replaced at each place.
std::vector<std::u16string> Edited(const std::u16string& original) {
  std::vector<std::u16string> edited{original};
  for (std::size_t at = 0; at <= original.size(); ++at) {
    edited.push_back(original.substr(0, at) + u"x" + original.substr(at));
    edited.push_back(original.substr(0, at) + u"\u0142" + original.substr(at));
    if (at == original.size()) continue;
    edited.push_back(original.substr(0, at) + original.substr(at + 1));
    std::u16string replaced = original;
    replaced[at] = replaced[at] == u'Q' ? u'R' : u'Q';
    edited.push_back(replaced);
  }
  return edited;
}

NameList Lines(const std::u16string& original, const std::vector<std::u16string>& newNames) {
  NameList lines;
  for (const std::u16string& name : newNames) lines.push_back(NameEntry{original, name, name, false});
  return lines;
}

void ExpectRestored(const SavedChunk& chunk, const NameList& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    NameEntry restored{lines[i].originalName, u"?", u"?", true};
    chunk.Restore(i, EditScope::WholeName, restored);
    ASSERT_EQ(restored.newName, lines[i].newName) << "line " << i;
    ASSERT_EQ(restored.lineText, lines[i].newName) << "line " << i;
  }
}

TEST(SavedChunkTest, ACompactChunkRestoresEveryNameWhereverItDiffersFromItsBase) {
  std::size_t compact = 0;
  for (const std::u16string& original : Originals()) {
    const NameList lines = Lines(original, Edited(original));
    // Built on the names on disk, and on a full chunk holding them (narrow or wide by the names).
    const NameList unchanged = Lines(original, std::vector<std::u16string>(lines.size(), original));
    const auto full = SavedChunk::Save(unchanged, 0, unchanged.size(), EditScope::WholeName, nullptr);
    for (const auto& base : {SavedChunk::AsOnDisk(lines.size()), full}) {
      const auto chunk = SavedChunk::Save(lines, 0, lines.size(), EditScope::WholeName, base);
      compact += chunk->Base() != nullptr;
      ExpectRestored(*chunk, lines);
    }
  }
  EXPECT_GT(compact, 0u);
}

}  // namespace
}  // namespace nomvarix
