#include "apply/KeptEdits.h"

#include <optional>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Pairs = std::vector<PendingEditMemory::Pair>;

/// One running program: its edits, and its share of the file.
struct Instance {
  KeptEdits kept;
  FolderEdits mine;

  void Open(std::u16string_view folder, const std::string& file) {
    Pairs saved = kept.Take(folder, file);
    if (!saved.empty()) mine.emplace(std::u16string(folder), std::move(saved));
  }
  void Write(std::string& file) {
    if (const auto merged = kept.Merge(file, mine)) file = *merged;
    kept.Written(mine);
  }
};

FolderEdits Saved(const std::string& file) { return ReadSavedEdits(file).folders; }

std::optional<Pairs> At(const FolderEdits& edits, const std::u16string& folder) {
  const auto found = edits.find(folder);
  return found == edits.end() ? std::nullopt : std::optional<Pairs>(found->second);
}

TEST(KeptEditsTest, EachWriterReplacesOnlyTheFoldersItChanged) {
  std::string file;
  Instance a, b;
  a.mine[u"/x/"] = {{u"a", u"A"}};
  b.mine[u"/y/"] = {{u"b", u"B"}};
  a.Write(file);
  b.Write(file);
  EXPECT_EQ(Saved(file), (FolderEdits{{u"/x/", {{u"a", u"A"}}}, {u"/y/", {{u"b", u"B"}}}}));

  // B saves new edits of X after A read it: A, which did not change X since, keeps B's.
  Instance c;
  c.Open(u"/x/", file);
  b.Open(u"/x/", file);
  b.mine[u"/x/"] = {{u"a", u"b-said"}};
  b.Write(file);
  c.mine[u"/z/"] = {{u"z", u"Z"}};
  c.Write(file);
  EXPECT_EQ(Saved(file).at(u"/x/"), (Pairs{{u"a", u"b-said"}}));
  EXPECT_EQ(Saved(file).at(u"/z/"), (Pairs{{u"z", u"Z"}}));

  // Edits all set back: the folder leaves the file; nothing changed: the file is left as it is.
  c.mine.erase(u"/z/");
  c.Write(file);
  EXPECT_FALSE(Saved(file).contains(u"/z/"));
  EXPECT_FALSE(c.kept.Merge(file, c.mine));

  // A dropped folder goes even when this writer never saw another's copy of it.
  Instance d;
  d.kept.Drop(u"/y/");
  d.Write(file);
  EXPECT_EQ(Saved(file), (FolderEdits{{u"/x/", {{u"a", u"b-said"}}}}));
}

TEST(KeptEditsTest, ANewerFileIsLeftAloneAndADamagedOneWrittenAnew) {
  Instance a;
  a.mine[u"/x/"] = {{u"a", u"A"}};
  const std::string newer = R"({"version": 99, "folders": "of another shape"})";
  EXPECT_FALSE(a.kept.Merge(newer, a.mine));
  EXPECT_TRUE(a.kept.Take(u"/x/", newer).empty());
  const auto rewritten = a.kept.Merge("{ half a fi", a.mine);
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(Saved(*rewritten), a.mine);
}

// Several instances open, edit, clear and write folders in random order. The file must always
// hold what a plain map says: each write puts in the folders whose edits the writer changed since
// it last wrote or opened them, and touches no other.
TEST(KeptEditsTest, AgreesWithAModelOfPlainMaps) {
  const std::vector<std::u16string> folders = {u"/a/", u"/b/", u"/c/\xDC80", u"/d d /"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::string file;
    FolderEdits model;
    std::vector<Instance> instances(3);
    std::vector<FolderEdits> base(instances.size());  // what each last wrote or opened
    int counter = 0;
    for (int step = 0; step < 200; ++step) {
      const std::size_t i = pick(instances.size());
      const std::u16string& folder = folders[pick(folders.size())];
      Instance& instance = instances[i];
      switch (pick(4)) {
        case 0: {  // an edit, sometimes the same as one before
          counter = (counter + 1) % 5;
          std::u16string renamed = u"%";
          renamed.append(static_cast<std::size_t>(counter), u'\xDCAA').append(FromUtf8(std::to_string(counter)));
          instance.mine[folder] = {{std::u16string(1, static_cast<char16_t>(u'A' + counter)), renamed}};
          break;
        }
        case 1:  // every edit of the folder set back
          instance.mine.erase(folder);
          break;
        case 2:  // opened afresh: the instance now holds what the file holds
          instance.mine.erase(folder);
          instance.Open(folder, file);
          if (const auto saved = model.find(folder); saved != model.end()) {
            base[i][folder] = saved->second;
          } else {
            base[i].erase(folder);
          }
          break;
        default: {
          instance.Write(file);
          std::set<std::u16string> touched;
          for (const auto& [f, pairs] : instance.mine) touched.insert(f);
          for (const auto& [f, pairs] : base[i]) touched.insert(f);
          for (const std::u16string& f : touched) {
            const std::optional<Pairs> own = At(instance.mine, f);
            if (own == At(base[i], f)) continue;
            if (own) {
              model[f] = *own;
            } else {
              model.erase(f);
            }
          }
          base[i] = instance.mine;
        }
      }
      ASSERT_EQ(Saved(file), model) << "seed " << seed << " step " << step;
    }
  }
}

}  // namespace
}  // namespace nomvarix
