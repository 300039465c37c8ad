#include "platform/PosixFolderReader.h"

#include <dirent.h>
#include <unistd.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Names as bytes that a listing must carry through exactly: beyond ASCII, undecodable, at the
/// length limit, with controls and spaces.
std::vector<std::string> HardNames() {
  return {"caf\xC3\xA9.txt", "Stra\xC3\x9F" "e K\xC3\xB6ln.jpg", "\xE6\x97\xA5\xE8\xA8\x98 2024.txt",
          "\xF0\x9F\x98\x80 \xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9.png", "e\xCC\x81t\xC3\xA9", "a\ttab", "line\nfeed.txt",
          " leading", "dot.", "..two dots", ".hidden", "x\xE9y", "\xFF", "\x80\x80", "cut \xE6\x97", "\xF0\x9F\x98\x80\xFF",
          "\xED\xA0\x80 surrogate", "\xC0\xAF overlong", "quote \" back\\slash", std::string(255, 'n'),
          [] {
            std::string name;
            for (int i = 0; i < 127; ++i) name += "\xC3\xA9";
            return name;
          }()};
}

using Listing = std::map<std::string, std::tuple<unsigned char, std::uint64_t>>;

Listing ReadWith(const std::string& folder, std::size_t batchBytes, bool& failed) {
  Listing listing;
  PosixFolderReader reader(folder, batchBytes);
  EXPECT_TRUE(reader.IsOpen());
  while (const PosixFolderReader::Entry* entry = reader.Next()) listing[entry->name] = {entry->type, entry->inode};
  failed = reader.Failed();
  return listing;
}

Listing ReadWithReaddir(const std::string& folder) {
  Listing listing;
  DIR* dir = opendir(folder.c_str());
  while (const dirent* entry = readdir(dir)) listing[entry->d_name] = {entry->d_type, entry->d_ino};
  closedir(dir);
  return listing;
}

// Over 10,000 names, hard ones among them, read in batches of every size cross many batch ends:
// every batch size lists what readdir lists, and the file system's listing gives each name back
// exactly, with its kind and identity.
TEST(PosixFolderReaderTest, BatchesOfAnySizeListEveryNameExactly) {
  test::TempFolder temp;
  const std::vector<std::string> hard = HardNames();
  for (const std::string& name : hard) temp.AddFile(name);
  for (int i = 0; i < 10200; ++i) temp.AddFile(std::to_string(i) + " " + hard[i % 19]);
  temp.AddFolder("sub \xC3\xA9");
  ASSERT_EQ(symlink((temp.Path() + "sub \xC3\xA9").c_str(), (temp.Path() + "link \xFF").c_str()), 0);
  ASSERT_EQ(symlink((temp.Path() + "gone").c_str(), (temp.Path() + "dangling").c_str()), 0);
  const Listing expected = ReadWithReaddir(temp.Path());
  ASSERT_EQ(expected.size(), hard.size() + 10200 + 5);

  for (const std::size_t batch : {std::size_t{300}, std::size_t{4096}, std::size_t{65536}, PosixFolderReader::kBatchBytes}) {
    bool failed = true;
    EXPECT_EQ(ReadWith(temp.Path(), batch, failed), expected) << batch;
    EXPECT_FALSE(failed) << batch;
  }
  bool failed = false;
  EXPECT_TRUE(ReadWith(temp.Path(), 16, failed).empty());  // too small for one entry
  EXPECT_TRUE(failed);
  EXPECT_FALSE(PosixFolderReader(temp.Path() + "missing").IsOpen());

  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  std::size_t listed = 0;
  ASSERT_TRUE(fs->ForEachEntry(temp.Path16(), [&](const DirEntry& entry) {
    ++listed;
    const std::string bytes = ToUtf8(entry.name);
    ASSERT_TRUE(expected.contains(bytes)) << bytes;
    const std::u16string path = temp.Path16() + std::u16string(entry.name);
    EXPECT_EQ(entry.isFolder, bytes == "." || bytes == ".." || bytes == "sub \xC3\xA9" || bytes == "link \xFF") << bytes;
    EXPECT_EQ(entry.isHidden, bytes.front() == '.') << bytes;
    if (entry.identity.Known()) EXPECT_EQ(entry.identity, fs->IdentityOf(path)) << bytes;
  }));
  EXPECT_EQ(listed, expected.size());
}

}  // namespace
}  // namespace nomvarix
