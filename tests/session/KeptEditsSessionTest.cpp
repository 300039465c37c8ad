// Unapplied edits kept between runs through the session, with the saved-edits file on disk.
#include <filesystem>
#include <fstream>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Path.h"
#include "platform/SettingKeys.h"
#include "apply/KeptEdits.h"
#include "apply/SavedEdits.h"
#include "platform/SharedFile.h"
#include "session/EditorSession.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using test::NewNames;

// A name that is not valid text where the system allows one (POSIX); Windows names are UTF-16.
#ifdef _WIN32
constexpr const char* kOddName = "\xC3\xBF odd .txt";
constexpr std::u16string_view kOddName16 = u"\u00FF odd .txt";
#else
constexpr const char* kOddName = "\xFF odd .txt";
constexpr std::u16string_view kOddName16 = u"\xDCFF odd .txt";
#endif

class KeptEditsSessionTest : public ::testing::Test {
 protected:
  KeptEditsSessionTest() {
    for (const char* name : {"a.txt", "b.txt", kOddName}) f.AddFile(name);
    g.AddFile("g.txt");
  }
  /// A new run of the program on the same saved-edits file.
  std::unique_ptr<EditorSession> Run() {
    auto session = std::make_unique<EditorSession>(*fs, settings);
    session->SetKeptEditsFolder(stateFolder);
    return session;
  }
  /// What every kept-edits file holds, one after another.
  /// The last component of a temporary folder's path.
  static std::u16string FolderName(const test::TempFolder& folder) {
    return FromUtf8(std::filesystem::path(folder.Path()).parent_path().filename().string());
  }
  std::string Saved() const {
    std::string saved;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(state.Path() + "state/Nomvarix/KeptEdits", error)) {
      if (entry.path().extension() == ".json") saved += ReadSharedFile(FromUtf8(entry.path().string())).value_or("unreadable");
    }
    return saved;
  }

  test::TempFolder f;
  test::TempFolder g;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  MemorySettingsStore settings;
  test::TempFolder state;
  // The state folder does not exist yet: the first write makes it.
  std::u16string stateFolder = state.Path16() + u"state/Nomvarix/";
};

TEST_F(KeptEditsSessionTest, EditsOfEveryFolderComeBackInTheNextRunAsWithinARun) {
  {
    auto run = Run();
    run->SwitchToFolder(f.Path16());
    run->Editor().SetNewName(0, u"first.txt");
    run->Editor().SetNewName(2, u"\xDCFE odd .txt");
    EXPECT_TRUE(run->KeptEditsOutdated());
    EXPECT_TRUE(run->WriteKeptEdits());
    EXPECT_FALSE(run->KeptEditsOutdated());
    // A caret move is no edit.
    run->Editor().SetSelection({}, {0, 1});
    EXPECT_FALSE(run->KeptEditsOutdated());
    run->SwitchToFolder(g.Path16());
    run->Editor().SetNewName(0, u"gee.txt");
    // The lines shown count, not only what was remembered on leaving a folder. A write on another
    // thread is waited for by the next write (as at exit).
    run->StartWritingKeptEdits();
    run->Editor().SetNewName(0, u"gee!.txt");
    run->StartWritingKeptEdits();
    EXPECT_TRUE(run->WriteKeptEdits());
    EXPECT_FALSE(run->KeptEditsOutdated());
  }
  std::filesystem::remove(f.Path() + "a.txt");  // gone meanwhile
  auto next = Run();
  next->SwitchToFolder(g.Path16());
  EXPECT_EQ(NewNames(next->Editor().Names()), (Names{u"gee!.txt"}));
  next->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(next->Editor().Names()), (Names{u"b.txt", u"\xDCFE odd .txt"}));
  // The vanished file's edit leaves the saved copy with the next write.
  EXPECT_TRUE(next->WriteKeptEdits());
  EXPECT_EQ(Saved().find("first.txt"), std::string::npos) << Saved();

  // Later in the same run the saved copy is not taken again: within a run the memory rules.
  next->ResetAllNames();
  next->SwitchToFolder(g.Path16());
  next->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(next->Editor().Names()), (Names{u"b.txt", std::u16string(kOddName16)}));
}

TEST_F(KeptEditsSessionTest, TwoRunningInstancesKeepEachOthersFolders) {
  auto a = Run();
  auto b = Run();
  a->SwitchToFolder(f.Path16());
  b->SwitchToFolder(g.Path16());
  a->Editor().SetNewName(1, u"from-a.txt");
  b->Editor().SetNewName(0, u"from-b.txt");
  EXPECT_TRUE(a->WriteKeptEdits());
  EXPECT_TRUE(b->WriteKeptEdits());
  // A writes again at exit: B's folder, which A never changed, stays.
  a->Editor().SetNewName(0, u"again.txt");
  EXPECT_TRUE(a->WriteKeptEdits());
  auto c = Run();
  c->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(c->Editor().Names()), (Names{u"again.txt", u"from-a.txt", std::u16string(kOddName16)}));
  c->SwitchToFolder(g.Path16());
  EXPECT_EQ(NewNames(c->Editor().Names()), (Names{u"from-b.txt"}));
}

TEST_F(KeptEditsSessionTest, TwoRunningInstancesOnOneFolderKeepEachOthersFiles) {
  auto a = Run();
  auto b = Run();
  a->SwitchToFolder(f.Path16());
  b->SwitchToFolder(f.Path16());
  a->Editor().SetNewName(0, u"von A ä.txt");
  b->Editor().SetNewName(1, u"von B 日記.txt");
  EXPECT_TRUE(a->WriteKeptEdits());
  EXPECT_TRUE(b->WriteKeptEdits());
  a->Editor().SetNewName(0, u"von A 😀.txt");
  EXPECT_TRUE(a->WriteKeptEdits());
  auto c = Run();
  c->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(c->Editor().Names()), (Names{u"von A 😀.txt", u"von B 日記.txt", std::u16string(kOddName16)}));
  EXPECT_EQ(c->TakeDroppedKeptEdits(), 0u);
}

TEST_F(KeptEditsSessionTest, TheEarlierSingleFileMovesIntoTheFoldersFilesAndItsUncheckedEditsAreDropped) {
  // Edits kept before files were recorded with them cannot tell a replaced file from their own.
  ASSERT_TRUE(UpdateSharedFile(stateFolder + std::u16string(kKeptEditsFileName), [&](std::string_view) {
    return std::optional<std::string>(WriteSavedEdits({{f.Path16(), {{u"a.txt", u"alt.txt"}, {u"b.txt", u"bee.txt"}}},
                                                       {g.Path16(), {{u"g.txt", u"gee.txt"}}}}));
  }));
  auto run = Run();
  run->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(run->Editor().Names()), (Names{u"a.txt", u"b.txt", std::u16string(kOddName16)}));
  EXPECT_EQ(run->TakeDroppedKeptEdits(), 2u);
  EXPECT_FALSE(std::filesystem::exists(state.Path() + "state/Nomvarix/PendingEdits.json"));
  EXPECT_EQ(Saved().find("alt.txt"), std::string::npos) << Saved();
  EXPECT_NE(Saved().find("gee.txt"), std::string::npos) << Saved();
  run->SwitchToFolder(g.Path16());
  EXPECT_EQ(run->TakeDroppedKeptEdits(), 1u);
  EXPECT_EQ(DroppedKeptEditsMessage(1), u"1 kept edit was dropped: its file changed or is gone since it was kept.");
}

TEST_F(KeptEditsSessionTest, ANameOnDiskThatLeavesTheFolderIsRefusedEvenWhenItsFileFits) {
  // A kept-edits file made by hand: the first edit names a file of another folder, with the very
  // stamp that file shows.
  const std::u16string escaping = u"../" + FolderName(g) + u"/g.txt";
  const FolderEdits crafted{{f.Path16(), {{escaping, u"moved out.txt", fs->StampOf(f.Path16() + escaping)},
                                          {u"b.txt", u"bé.txt", fs->StampOf(f.Path16() + u"b.txt")}}}};
  ASSERT_TRUE(fs->StampOf(f.Path16() + escaping));
  ASSERT_TRUE(UpdateSharedFile(stateFolder + u"KeptEdits/" + KeptEditsFileName(f.Path16()),
                               [&](std::string_view) { return std::optional<std::string>(WriteSavedEdits(crafted)); }));
  auto run = Run();
  run->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(run->Editor().Names()), (Names{u"a.txt", u"bé.txt", std::u16string(kOddName16)}));
  EXPECT_EQ(run->TakeDroppedKeptEdits(), 1u);
  EXPECT_EQ(Saved().find("moved out"), std::string::npos) << Saved();
}

TEST_F(KeptEditsSessionTest, AnUnusableKeptEditsFileIsSetAsideOnceWithAMessageNamingItsFolder) {
  namespace stdfs = std::filesystem;
  // Named as the program names it, with the system's separator before the file's name.
  const std::string keptFolder = state.Path() + "state/Nomvarix/KeptEdits" + static_cast<char>(kPathSeparator);
  const std::string file = keptFolder + ToUtf8(KeptEditsFileName(f.Path16()));
  const auto write = [&](const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; };
  struct Case {
    const char* what;
    std::function<void()> make;
    const char* setAsideAs;  // beside the file
  };
  const std::vector<Case> cases = {
      {"not JSON", [&] { write("{\"version\":1,\"folders\":[{\"folder\":"); }, ".bad"},
      {"binary", [&] { write(std::string("\x00\xFF\xFE\x01 \xC3\x28", 8)); }, ".bad"},
      {"a name this program cannot have written",
       [&] { write(R"({"version":1,"folders":[{"folder":"/f/","edits":[["a%ZZZZ.txt","b.txt"]]}]})"); }, ".bad"},
      {"far too large", [&] { write("x"); stdfs::resize_file(file, kMaxSharedFileBytes + 1); }, ".bad"},
      {"a .bad file is there already",
       [&] {
         write("damaged");
         std::ofstream(file + ".bad") << "older";
       },
       ".2.bad"},
#ifndef _WIN32
      {"a pipe", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, ".bad"},
      {"a link to /dev/zero", [&] { stdfs::create_symlink("/dev/zero", file); }, ".bad"},
      {"a link to a folder", [&] { stdfs::create_symlink(g.Path(), file); }, ".bad"},
#endif
  };
  for (const Case& c : cases) {
    stdfs::remove_all(keptFolder);
    stdfs::create_directories(keptFolder);
    c.make();
    const auto kind = stdfs::symlink_status(file).type();
    {
      auto run = Run();
      run->SwitchToFolder(f.Path16());
      EXPECT_EQ(run->TakeKeptEditsWarning(),
                u"The kept edits of the folder " + f.Path16() +
                    u" could not be read: their file is no regular file, far too large or damaged. It was set aside as " +
                    FromUtf8(file + c.setAsideAs) + u", and the folder's edits are kept anew.")
          << c.what;
      EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(file))) << c.what;
      EXPECT_EQ(stdfs::symlink_status(file + c.setAsideAs).type(), kind) << c.what;  // moved, not read or followed
      EXPECT_EQ(NewNames(run->Editor().Names()), (Names{u"a.txt", u"b.txt", std::u16string(kOddName16)})) << c.what;
      run->Editor().SetNewName(1, u"bé 日記.txt");
      EXPECT_TRUE(run->WriteKeptEdits()) << c.what;
    }
    // Said once: the next run finds the edits kept anew, and nothing to say.
    auto next = Run();
    next->SwitchToFolder(f.Path16());
    EXPECT_EQ(next->TakeKeptEditsWarning(), u"") << c.what;
    EXPECT_EQ(NewNames(next->Editor().Names()), (Names{u"a.txt", u"bé 日記.txt", std::u16string(kOddName16)})) << c.what;
  }
}

TEST_F(KeptEditsSessionTest, ReloadDropsTheSavedCopyAndTheSettingTurnsKeepingOff) {
  {
    auto run = Run();
    run->SwitchToFolder(f.Path16());
    run->Editor().SetNewName(0, u"x.txt");
    run->WriteKeptEdits();
  }
  {
    // Another instance saved the folder after this one opened it; "Reload" drops it all the same.
    auto reloading = Run();
    reloading->SwitchToFolder(g.Path16());
    auto other = Run();
    other->SwitchToFolder(f.Path16());
    other->Editor().SetNewName(1, u"y.txt");
    other->WriteKeptEdits();
    reloading->SwitchToFolder(f.Path16());
    reloading->ReloadConfirmed();
    EXPECT_TRUE(reloading->WriteKeptEdits());
    EXPECT_EQ(Saved().find("y.txt"), std::string::npos) << Saved();
    reloading->Editor().SetNewName(0, u"kept.txt");
    reloading->WriteKeptEdits();
  }
  settings.WriteFlag(settings::kKeepEditsBetweenRuns, false);
  auto off = Run();
  EXPECT_FALSE(off->KeepsEditsBetweenRuns());
  off->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(off->Editor().Names()), (Names{u"a.txt", u"b.txt", std::u16string(kOddName16)}));
  off->Editor().SetNewName(1, u"not-kept.txt");
  EXPECT_FALSE(off->KeptEditsOutdated());
  EXPECT_FALSE(off->WriteKeptEdits());
  EXPECT_EQ(Saved().find("not-kept.txt"), std::string::npos);
  EXPECT_NE(Saved().find("kept.txt"), std::string::npos);
  off->ToggleKeepEditsBetweenRuns();
  EXPECT_TRUE(settings.ReadFlag(settings::kKeepEditsBetweenRuns, false));
  EXPECT_TRUE(off->WriteKeptEdits());
  EXPECT_NE(Saved().find("not-kept.txt"), std::string::npos);
}

TEST_F(KeptEditsSessionTest, WhatWasAppliedLeavesTheSavedCopy) {
  auto run = Run();
  run->SwitchToFolder(f.Path16());
  run->Editor().SetNewName(0, u"applied.txt");
  run->Editor().SetNewName(1, u"b/not a name.txt");  // skipped: it would leave the folder
  run->WriteKeptEdits();
  EXPECT_NE(Saved().find("applied.txt"), std::string::npos);
  EXPECT_EQ(run->ApplyChanges(false, false).skipped, 1u);
  // Written at once: a run killed right after the apply does not bring the applied edit back.
  EXPECT_FALSE(run->KeptEditsOutdated());
  EXPECT_EQ(Saved().find("applied.txt"), std::string::npos) << Saved();
  EXPECT_TRUE(run->WriteKeptEdits());
  auto next = Run();
  next->SwitchToFolder(f.Path16());
  EXPECT_EQ(NewNames(next->Editor().Names()), (Names{u"applied.txt", u"b/not a name.txt", std::u16string(kOddName16)}));
  EXPECT_EQ(test::OriginalNames(next->Editor().Names())[0], u"applied.txt");
}

}  // namespace
}  // namespace nomvarix
