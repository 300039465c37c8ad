#include "apply/SavedEdits.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Pairs = std::vector<SavedEdit>;

/// Names a file system can hold that a careless encoding would change.
std::vector<std::u16string> HardNames() {
  std::vector<std::u16string> names = {
      u" leading and trailing spaces ",
      u"\U0001F600 emoji \U0001F468\u200D\U0001F469\u200D\U0001F467.png",
      u"caf\u00E9 \u65E5\u672C\u8A9E \u0639\u0631\u0628\u064A.txt",
      u"50% off %0025 %zz %.txt",
      u"quote \" backslash \\ slash-free \t tab",
      u"controls \x01\x1f\x7f\b\f\r\n",
      u"lone high \xD83D here",
      u"lone low \xDE00 and an escaped byte's look-alike \xDC41",
      std::u16string(255, u'x'),
      u"",
  };
  std::u16string everyByte = u"bytes";
  for (char16_t unit = kEscapedByteFirst; unit <= kEscapedByteLast; ++unit) everyByte += unit;
  names.push_back(everyByte);
  std::u16string longUndecodable;
  for (int i = 0; i < 255; ++i) longUndecodable += static_cast<char16_t>(kEscapedByteFirst + 0x7F);
  names.push_back(longUndecodable);
  return names;
}

TEST(SavedEditsTest, EveryNameAndFolderComesBackExactlyFromValidUtf8) {
  const std::vector<std::u16string> names = HardNames();
  FolderEdits folders;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::u16string folder = u"/f\xDCFF";
    folder.append(names[i]).append(u"/");
    Pairs& pairs = folders[folder];
    for (const std::u16string& other : names) pairs.emplace_back(names[i], other);
  }
  for (const std::u16string& name : names) {
    EXPECT_EQ(DecodeSavedName(EncodeSavedName(name)), name);
  }
  const std::string file = WriteSavedEdits(folders);
  // Valid UTF-8 throughout: no undecodable byte slipped through.
  EXPECT_EQ(file.find('\xFF'), std::string::npos);
  const SavedEditsContent read = ReadSavedEdits(file);
  EXPECT_EQ(read.kind, SavedEditsContent::Kind::Read);
  EXPECT_EQ(read.folders, folders);
  EXPECT_EQ(EncodeSavedName(u"50% caf\xDCE9"), "50%0025 caf%DCE9");
}

// The file is written without a JSON document, and reads back so; its text must be what a JSON
// library writes of the same document, so that every earlier reader reads it.
TEST(SavedEditsTest, TheTextIsTheCompactJsonOfTheDocument) {
  const std::vector<std::u16string> names = HardNames();
  FolderEdits folders;
  const FileStamp stamp{{2049, 1ULL << 63}, {48213, -5, 1733840000000000000}};
  for (std::size_t i = 0; i < names.size(); ++i) {
    folders[u"/f/" + names[i]].push_back({names[i], names[(i + 1) % names.size()], i % 2 ? std::optional(stamp) : std::nullopt});
  }
  folders[u"/g/"].push_back({u"a", u"b", FileStamp{{1, 2}, {}}});
  for (const FolderEdits& written : {FolderEdits{}, folders}) {
    const std::string text = WriteSavedEdits(written);
    EXPECT_EQ(nlohmann::ordered_json::parse(text).dump() + "\n", text);
    EXPECT_EQ(ReadSavedEdits(text).folders, written);
  }
  // What the reader takes out as it parses is still checked: a folder's members and edits.
  using Kind = SavedEditsContent::Kind;
  const std::string head = R"({"version": 1, "folders": [{"folder": "/f/", )";
  for (const std::string_view damaged : {R"("edits": 5})", R"("edits": ["a"]})", R"("edits": [["a", "b"], 7]})",
                                         R"("edits": [["a", "b"]]}, {"folder": "/g/", "edits": [[[]]]})"}) {
    EXPECT_EQ(ReadSavedEdits(head + std::string(damaged) + "]}").kind, Kind::Damaged) << damaged;
  }
  const SavedEditsContent two = ReadSavedEdits(
      head + R"("other": [["x", "y"]], "edits": [["a", "b"]]}, {"edits": [["c", "d"], ["e", "f"]], "folder": "/g/"}]})");
  ASSERT_EQ(two.kind, Kind::Read);
  EXPECT_EQ(two.folders, (FolderEdits{{u"/f/", {{u"a", u"b"}}}, {u"/g/", {{u"c", u"d"}, {u"e", u"f"}}}}));
}

TEST(SavedEditsTest, TextItCannotHaveWrittenIsRefused) {
  for (const std::string_view bad : {"%", "%12", "%12G4", "%dc80", "a\xFF"}) {
    EXPECT_FALSE(DecodeSavedName(bad)) << bad;
  }
  using Kind = SavedEditsContent::Kind;
  EXPECT_EQ(ReadSavedEdits("").kind, Kind::Read);
  EXPECT_TRUE(ReadSavedEdits("").folders.empty());
  for (const std::string_view damaged :
       {"{", "[]", R"({"folders": []})", R"({"version": 1})", R"({"version": 1, "folders": [{"folder": "/f/"}]})",
        R"({"version": 1, "folders": [{"folder": "/f/", "edits": [["a"]]}]})",
        R"({"version": 1, "folders": [{"folder": "/f/", "edits": [["a", "%"]]}]})"}) {
    EXPECT_EQ(ReadSavedEdits(damaged).kind, Kind::Damaged) << damaged;
  }
  const SavedEditsContent newer = ReadSavedEdits(R"({"version": 2, "anything": "else"})");
  EXPECT_EQ(newer.kind, Kind::Newer);
  EXPECT_TRUE(newer.folders.empty());
  // A folder written without edits holds none.
  EXPECT_TRUE(ReadSavedEdits(R"({"version": 1, "folders": [{"folder": "/f/", "edits": []}]})").folders.empty());
}

TEST(SavedEditsTest, StampsComeBackAsWrittenAndPairsWithoutOneStillRead) {
  const FileStamp whole{{2049, 1ULL << 40}, {48213, -5, 1733840000000000000}};
  const FileStamp partial{{7, 8}, {0, std::nullopt, std::nullopt}};
  const FolderEdits folders{{u"/f/", {{u"ä.jpg", u"b.jpg", whole}, {u"c", u"d", partial}, {u"e", u"f"}}}};
  EXPECT_EQ(ReadSavedEdits(WriteSavedEdits(folders)).folders, folders);
  const auto read = ReadSavedEdits(R"({"version": 1, "folders": [{"folder": "/f/", "edits": [["a", "b"]]}]})");
  EXPECT_EQ(read.folders.at(u"/f/"), (Pairs{{u"a", u"b", std::nullopt}}));
  for (const std::string_view damaged :
       {R"([["a", "b", "stamp"]])", R"([["a", "b", {"file": 1}]])", R"([["a", "b", {"volume": 1, "file": 2, "size": "3"}]])",
        R"([["a", "b", {"volume": 1, "file": 2}, 4]])"}) {
    const std::string file = R"({"version": 1, "folders": [{"folder": "/f/", "edits": )" + std::string(damaged) + "}]}";
    EXPECT_EQ(ReadSavedEdits(file).kind, SavedEditsContent::Kind::Damaged) << damaged;
  }
  // Names on disk that could reach out of their folder.
  for (const std::u16string_view name :
       std::initializer_list<std::u16string_view>{u"../x", u"a/b", std::u16string_view(u"a\0b", 3), u"/"}) {
    EXPECT_FALSE(IsKeepableName(name)) << ToUtf8(name);
  }
  EXPECT_TRUE(IsKeepableName(u"..x 日記 \xDC80.txt"));
}

}  // namespace
}  // namespace nomvarix
