#include "apply/KeptEdits.h"

#include <map>
#include <optional>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Pairs = std::vector<SavedEdit>;

/// One running program: its edits, and its share of the file.
struct Instance {
  KeptEdits kept;
  FolderEdits mine;

  void Open(std::u16string_view folder, const std::string& file) {
    Pairs saved = kept.Take(folder, file);
    if (!saved.empty()) mine.emplace(std::u16string(folder), std::move(saved));
  }
  /// The file after a write of each folder whose edits changed here, one after another as the
  /// session writes them; nothing when no folder changed or the file is left alone.
  std::optional<std::string> Merged(std::string file) const {
    const std::set<std::u16string> changed = kept.ChangedFolders(mine);
    if (changed.empty()) return std::nullopt;
    for (const std::u16string& folder : changed) {
      const std::optional<std::string> merged = kept.MergeFolder(folder, file, Own(folder));
      if (!merged) return std::nullopt;
      file = *merged;
    }
    return file;
  }
  void Write(std::string& file) {
    const std::set<std::u16string> changed = kept.ChangedFolders(mine);
    if (const auto merged = Merged(file)) file = *merged;
    for (const std::u16string& folder : changed) kept.WrittenFolder(folder, Own(folder));
  }
  const std::vector<SavedEdit>* Own(const std::u16string& folder) const {
    const auto found = mine.find(folder);
    return found == mine.end() ? nullptr : &found->second;
  }
};

FolderEdits Saved(const std::string& file) { return ReadSavedEdits(file).folders; }

/// Edits by folder and name on disk, in no order.
using EditsByName = std::map<std::u16string, std::map<std::u16string, std::u16string>>;

EditsByName ByName(const FolderEdits& edits) {
  EditsByName byName;
  for (const auto& [folder, saved] : edits) {
    for (const SavedEdit& edit : saved) byName[folder][edit.original] = edit.renamed;
  }
  return byName;
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
  EXPECT_FALSE(c.Merged(file));

  // A dropped folder goes even when this writer never saw another's copy of it.
  Instance d;
  d.kept.Drop(u"/y/");
  d.Write(file);
  EXPECT_EQ(Saved(file), (FolderEdits{{u"/x/", {{u"a", u"b-said"}}}}));
}

TEST(KeptEditsTest, TwoWritersOfOneFolderMergeFileByFile) {
  std::string file = WriteSavedEdits({{u"/x/", {{u"a", u"A0"}}}});
  Instance a, b;
  a.Open(u"/x/", file);
  b.Open(u"/x/", file);
  a.mine[u"/x/"].push_back({u"b", u"B1"});
  b.mine[u"/x/"] = {{u"c", u"C1"}};  // and a.txt set back
  a.Write(file);
  b.Write(file);
  EXPECT_EQ(ByName(Saved(file)), (EditsByName{{u"/x/", {{u"b", u"B1"}, {u"c", u"C1"}}}}));
  // A changes its own file again; B's stays.
  a.mine[u"/x/"] = {{u"b", u"B2"}};
  a.Write(file);
  EXPECT_EQ(ByName(Saved(file)), (EditsByName{{u"/x/", {{u"b", u"B2"}, {u"c", u"C1"}}}}));
  // A stamp that changed is a change of that file's edit.
  const FileStamp stamp{{7, 9}, {3, 4, std::nullopt}};
  b.mine[u"/x/"] = {{u"c", u"C1", stamp}};
  b.Write(file);
  EXPECT_EQ(Saved(file).at(u"/x/").back(), (SavedEdit{u"c", u"C1", stamp}));
  // "Reload" drops the other writer's edits of the folder too.
  a.kept.Drop(u"/x/");
  a.Write(file);
  EXPECT_EQ(ByName(Saved(file)), (EditsByName{{u"/x/", {{u"b", u"B2"}}}}));
}

TEST(KeptEditsTest, AKeptFileIsTheSameOnlyWhenEverythingKnownAgreesAndEnoughIsKnown) {
  const FileStamp kept{{1, 10}, {100, 5000, 4000}};
  const struct {
    const char* what;
    FileStamp now;
    bool lasting;
    bool perMount;
  } cases[] = {
      {"the same", kept, true, true},
      {"renumbered by a remount", {{1, 99}, {100, 5000, 4000}}, false, true},
      {"another device", {{2, 10}, {100, 5000, 4000}}, false, true},
      {"another size", {{1, 10}, {101, 5000, 4000}}, false, false},
      {"written since", {{1, 10}, {100, 5001, 4000}}, false, false},
      {"born again under the same number", {{1, 10}, {100, 5000, 4001}}, false, false},
      {"no birth time now", {{1, 10}, {100, 5000, std::nullopt}}, true, true},
      {"no modification time", {{1, 10}, {100, std::nullopt, 4000}}, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsSameKeptFile(kept, c.now, IdentityPermanence::Lasting), c.lasting) << c.what;
    EXPECT_EQ(IsSameKeptFile(kept, c.now, IdentityPermanence::PerMount), c.perMount) << c.what;
  }
  // One file per folder, named alike in every run, told apart from its neighbours.
  EXPECT_EQ(KeptEditsFileName(u"/home/ä/Bilder/"), KeptEditsFileName(u"/home/ä/Bilder/"));
  EXPECT_NE(KeptEditsFileName(u"/home/ä/Bilder/"), KeptEditsFileName(u"/home/ä/Bilder2/"));
  EXPECT_EQ(KeptEditsFileName(u"/Ü80/").size(), 21u);
}

TEST(KeptEditsTest, ANewerFileIsLeftAloneAndADamagedOneWrittenAnew) {
  Instance a;
  a.mine[u"/x/"] = {{u"a", u"A"}};
  const std::string newer = R"({"version": 99, "folders": "of another shape"})";
  EXPECT_FALSE(a.Merged(newer));
  EXPECT_TRUE(a.kept.Take(u"/x/", newer).empty());
  const auto rewritten = a.Merged("{ half a fi");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(Saved(*rewritten), a.mine);
}

// Several instances open, edit, clear and write folders in random order. The file must always
// hold what a plain map says: each write puts in the edits of the files whose edits the writer
// changed since it last wrote or opened their folder, and touches no other.
TEST(KeptEditsTest, AgreesWithAModelOfPlainMaps) {
  const std::vector<std::u16string> folders = {u"/a/", u"/b/", u"/c/\xDC80", u"/d d /"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::string file;
    EditsByName model;
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
        case 2: {  // opened afresh: the instance now holds what the file holds
          instance.mine.erase(folder);
          instance.Open(folder, file);
          const FolderEdits inFile = Saved(file);
          if (const auto saved = inFile.find(folder); saved != inFile.end()) {
            base[i][folder] = saved->second;
          } else {
            base[i].erase(folder);
          }
          break;
        }
        default: {
          instance.Write(file);
          std::set<std::u16string> touched;
          for (const auto& [f, pairs] : instance.mine) touched.insert(f);
          for (const auto& [f, pairs] : base[i]) touched.insert(f);
          const EditsByName own = ByName(instance.mine);
          const EditsByName was = ByName(base[i]);
          const auto in = [](const EditsByName& edits, const std::u16string& f, const std::u16string& name) {
            const auto folderEdits = edits.find(f);
            if (folderEdits == edits.end()) return std::optional<std::u16string>();
            const auto edit = folderEdits->second.find(name);
            return edit == folderEdits->second.end() ? std::optional<std::u16string>() : edit->second;
          };
          for (const std::u16string& f : touched) {
            std::set<std::u16string> names;
            for (const EditsByName* edits : {&own, &was}) {
              if (const auto found = edits->find(f); found != edits->end()) {
                for (const auto& [name, renamed] : found->second) names.insert(name);
              }
            }
            for (const std::u16string& name : names) {
              const std::optional<std::u16string> mine = in(own, f, name);
              if (mine == in(was, f, name)) continue;
              if (mine) {
                model[f][name] = *mine;
              } else {
                model[f].erase(name);
              }
            }
            if (model[f].empty()) model.erase(f);
          }
          base[i] = instance.mine;
        }
      }
      ASSERT_EQ(ByName(Saved(file)), model) << "seed " << seed << " step " << step;
    }
  }
}

}  // namespace
}  // namespace nomvarix
