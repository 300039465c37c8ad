#include "apply/RenameHistory.h"

#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace nomvarix {
namespace {

HistoryEntry Entry(std::string id, std::u16string folder, std::vector<HistoryFile> files,
                   HistoryKind kind = HistoryKind::Apply) {
  return {std::move(id), 1765400000, kind, std::move(folder), {}, std::move(files)};
}

std::u16string ByteFF() { return {u'b', u'a', u'd', char16_t(0xDCFF), u'.', u'j', u'p', u'g'}; }

/// 255 bytes in UTF-8: 127 two-byte letters and one more.
std::u16string Longest() { return std::u16string(127, u'\u00e9') + u"x"; }

TEST(RenameHistoryTest, HardNamesComeBackExactlyThroughTheFile) {
  test::TempFolder state;
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  const std::u16string folder = u"/home/f\u00e9e/" + std::u16string(1, char16_t(0xDC80)) + u" \U0001F600/";
  HistoryEntry undo = Entry("b2", folder, {{{7, 8}, u"x", u"y"}}, HistoryKind::Undo);
  undo.undoes = "a1";
  const std::vector<HistoryEntry> entries = {
      Entry("a1", folder,
            {{{1, 2}, ByteFF(), u"\U0001F600 smile.jpg"},
             {{~0ull, ~0ull - 1}, u"trailing space ", Longest()},
             {{3, 4}, u"line\nbreak", std::u16string{u'w', char16_t(0xD800), u'x'}}}),
      undo,
      Entry("c3", u"/\u65e5\u8a18/", {{{5, 6}, u"Photo.JPG", u"photo.jpg"}}, HistoryKind::Recovery),
  };
  EXPECT_EQ(ParseHistory(HistoryText(entries)).entries, entries);

  RenameHistory history(state.Path16(), *fileSystem);
  std::u16string message;
  for (const HistoryEntry& entry : entries) ASSERT_TRUE(history.Append(entry, message)) << ToUtf8(message);
  EXPECT_EQ(history.Read(message), entries);
  EXPECT_TRUE(message.empty());
}

TEST(RenameHistoryTest, TextsThatCannotBeThisHistoryAreDamagedAndALaterOneIsLeftAlone) {
  const std::string start = R"({"format": "nomvarix-rename-history", "version": 1, "entries": [)";
  const auto withFile = [&](const std::string& oldName, const std::string& folder = R"("/f/")") {
    return start + R"({"id": "a", "time": 1, "kind": "apply", "folder": )" + folder +
           R"(, "files": [{"volume": 1, "file": 2, "old": )" + oldName + R"(, "new": "b"}]}]})";
  };
  using Kind = HistoryContent::Kind;
  const struct {
    std::string text;
    Kind kind;
  } cases[] = {
      {"", Kind::Read},
      {withFile(R"("a")"), Kind::Read},
      {withFile(R"("a")").substr(0, 60), Kind::Damaged},
      {"\xff\xfe garbage", Kind::Damaged},
      {R"({"format": "other", "version": 1, "entries": []})", Kind::Damaged},
      {R"({"format": "nomvarix-rename-history", "version": 2, "entries": "anything"})", Kind::Newer},
      {withFile(R"("../a")"), Kind::Damaged},
      {withFile(R"("..")"), Kind::Damaged},
      {withFile(R"("a/b")"), Kind::Damaged},
      {withFile(R"([97, 0, 98])"), Kind::Damaged},
      {withFile(R"([65536])"), Kind::Damaged},
      {withFile(R"("")"), Kind::Damaged},
      {withFile(R"("a")", R"("/f")"), Kind::Damaged},  // a folder ends with a separator
      {withFile(R"("a")", R"("")"), Kind::Damaged},
      {start + R"({"id": "a", "time": 1, "kind": "rewrite", "folder": "/f/", "files": []}]})", Kind::Damaged},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHistory(c.text).kind, c.kind) << c.text;
}

TEST(RenameHistoryTest, TheOldestEntriesGoFirstBeyondEitherBound) {
  std::vector<HistoryEntry> entries;
  for (int i = 0; i < 205; ++i) entries.push_back(Entry(std::to_string(i), u"/f/", {{{1, 2}, u"a", u"b"}}));
  std::vector<HistoryEntry> kept = BoundedHistory(entries, {});
  ASSERT_EQ(kept.size(), 200u);
  EXPECT_EQ(kept.front().id, "5");
  EXPECT_EQ(kept.back().id, "204");

  // A byte bound that holds about three small entries; a large newest entry stays alone.
  const std::size_t oneEntry = HistoryText({entries[0]}).size() - HistoryText({}).size();
  kept = BoundedHistory(entries, {200, HistoryText({}).size() + 3 * oneEntry + 10});
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept.front().id, "202");
  std::vector<HistoryEntry> withLarge = entries;
  withLarge.push_back(Entry("large", u"/f/", std::vector<HistoryFile>(50, {{1, 2}, Longest(), Longest()})));
  kept = BoundedHistory(withLarge, {200, HistoryText({}).size() + 3 * oneEntry + 10});
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept.front().id, "large");

  // The file holds no more than the bounds either.
  test::TempFolder state;
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  RenameHistory history(state.Path16(), *fileSystem, {4, std::size_t{1} << 20});
  std::u16string message;
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(history.Append(entries[static_cast<std::size_t>(i)], message));
  kept = history.Read(message);
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_EQ(kept.front().id, "2");
}

TEST(RenameHistoryTest, TwoWritersKeepEachOthersEntries) {
  test::TempFolder state;
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  constexpr int kEach = 60;
  const auto writer = [&](const std::string& prefix) {
    RenameHistory history(state.Path16(), *fileSystem);
    std::u16string message;
    for (int i = 0; i < kEach; ++i) history.Append(Entry(prefix + std::to_string(i), u"/f/", {{{1, 2}, u"a", u"b"}}), message);
  };
  std::thread first(writer, "first-");
  std::thread second(writer, "second-");
  first.join();
  second.join();
  std::u16string message;
  const std::vector<HistoryEntry> entries = RenameHistory(state.Path16(), *fileSystem).Read(message);
  EXPECT_EQ(entries.size(), 2u * kEach);
  // Each writer's entries are there in its own order.
  for (const std::string prefix : {"first-", "second-"}) {
    int next = 0;
    for (const HistoryEntry& entry : entries) {
      if (entry.id.starts_with(prefix)) {
        EXPECT_EQ(entry.id, prefix + std::to_string(next++));
      }
    }
    EXPECT_EQ(next, kEach);
  }
}

TEST(RenameHistoryTest, AFileThatCannotBeTheHistoryIsSetAsideAndANewOneBegun) {
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  const std::string name = ToUtf8(kRenameHistoryFileName);
  const struct {
    const char* what;
    std::function<void(test::TempFolder&)> make;
  } cases[] = {
      {"damaged", [&](test::TempFolder& state) { state.AddFile(name, "{\"format\": \"nomvarix-rename-history\", "); }},
      {"foreign", [&](test::TempFolder& state) { state.AddFile(name, "[1, 2, 3]"); }},
      {"huge",
       [&](test::TempFolder& state) {
         std::filesystem::resize_file(state.AddFile(name, "{"), std::uintmax_t{70} << 20);  // sparse
       }},
#ifndef _WIN32
      {"link to a device",
       [&](test::TempFolder& state) { std::filesystem::create_symlink("/dev/zero", state.Path() + name); }},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder state;
    c.make(state);
    RenameHistory history(state.Path16(), *fileSystem);
    std::u16string message;
    EXPECT_TRUE(history.Read(message).empty());
    EXPECT_NE(message.find(u"set aside"), std::u16string::npos);
    EXPECT_TRUE(fileSystem->EntryExists(history.Path() + u".bad"));
    message.clear();
    const HistoryEntry entry = Entry("new", u"/f/", {{{1, 2}, u"a", u"b"}});
    EXPECT_TRUE(history.Append(entry, message));
    EXPECT_EQ(history.Read(message), std::vector{entry});
  }
#ifndef _WIN32
  // A pipe that nobody writes to (an open of it for reading would wait forever) is met by a write
  // and set aside as well: the write does not hang.
  test::TempFolder state;
  ASSERT_EQ(mkfifo((state.Path() + name).c_str(), 0600), 0);
  RenameHistory history(state.Path16(), *fileSystem);
  std::u16string message;
  EXPECT_TRUE(history.Append(Entry("new", u"/f/", {{{1, 2}, u"a", u"b"}}), message));
  EXPECT_NE(message.find(u"set aside"), std::u16string::npos);
  EXPECT_EQ(history.Read(message).size(), 1u);
#endif
}

TEST(RenameHistoryTest, ALaterVersionsHistoryIsNeitherReadNorWritten) {
  test::TempFolder state;
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  const std::string later = R"({"format": "nomvarix-rename-history", "version": 9, "entries": []})";
  state.AddFile(ToUtf8(kRenameHistoryFileName), later);
  RenameHistory history(state.Path16(), *fileSystem);
  std::u16string message;
  EXPECT_TRUE(history.Read(message).empty());
  EXPECT_NE(message.find(u"later version"), std::u16string::npos);
  EXPECT_FALSE(history.Append(Entry("new", u"/f/", {{{1, 2}, u"a", u"b"}}), message));
  EXPECT_EQ(state.ReadFile(ToUtf8(kRenameHistoryFileName)), later);
}

}  // namespace
}  // namespace nomvarix
