#include "app/ConfigSettingsStore.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>
#ifdef _WIN32
#include <wx/msw/wrapwin.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/SettingKeys.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The store asks the toolkit for its standard folders, which needs an initialised library (the
/// program has one); no display is needed.
class ToolkitEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { initializer_ = std::make_unique<wxInitializer>(); }
  void TearDown() override { initializer_.reset(); }

 private:
  std::unique_ptr<wxInitializer> initializer_;
};
[[maybe_unused]] const auto* const kToolkit = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

class ConfigSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { wxSetEnv(kSettingsFileVariable, wxString::FromUTF8(temp.Path() + "conf/settings.ini")); }
  void TearDown() override { wxUnsetEnv(kSettingsFileVariable); }

  test::TempFolder temp;
};

TEST_F(ConfigSettingsStoreTest, WritesAtOnceToTheFileTheVariableNames) {
  {
    auto store = ConfigSettingsStore::OpenUserSettings();
    store->WriteFlag(settings::kSortByExtension, false);
    store->WriteString(settings::kLastPath, u"/home/me/Photos & $HOME/");
    store->WriteString(u"File1", u"/a/", settings::kRecentSection);
    store->WriteInteger(settings::kFontSize, 0xFFFFFFFFu);
    // Written before the store is closed.
    const std::string text = temp.ReadFile("conf/settings.ini");
    EXPECT_NE(text.find("[Settings]"), std::string::npos);
    EXPECT_NE(text.find("SortByExtension=0"), std::string::npos);
    EXPECT_NE(text.find("File1=/a/"), std::string::npos);
  }
  auto store = ConfigSettingsStore::OpenUserSettings();
  EXPECT_FALSE(store->ReadFlag(settings::kSortByExtension, true));
  EXPECT_EQ(store->ReadString(settings::kLastPath, u""), u"/home/me/Photos & $HOME/");
  EXPECT_EQ(store->ReadString(u"File1", u"", settings::kRecentSection), u"/a/");
  EXPECT_EQ(store->ReadInteger(settings::kFontSize, 23), 0xFFFFFFFFu);
  EXPECT_EQ(store->ReadInteger(settings::kGroupSize, settings::kGroupSizeDefault), 10u);
}

TEST_F(ConfigSettingsStoreTest, AFolderWhoseNameIsNotUtf8IsKeptAsItsBytes) {
  const std::u16string folder = FromUtf8("/tmp/bad\xFFname \xC3\xA9t\xC3\xA9/");
  {
    auto store = ConfigSettingsStore::OpenUserSettings();
    store->WriteString(settings::kLastPath, folder);
    store->WriteString(u"File1", folder, settings::kRecentSection);
    EXPECT_EQ(store->ReadString(settings::kLastPath, u""), folder);
    EXPECT_NE(temp.ReadFile("conf/settings.ini").find("LastPath=/tmp/bad\xFFname \xC3\xA9t\xC3\xA9/"), std::string::npos);
  }
  auto store = ConfigSettingsStore::OpenUserSettings();
  EXPECT_EQ(store->ReadString(settings::kLastPath, u""), folder);
  EXPECT_EQ(store->ReadString(u"File1", u"", settings::kRecentSection), folder);
}

#ifndef _WIN32
TEST_F(ConfigSettingsStoreTest, TheFileIsTheUsersOwnForItMayHoldAnApiKey) {
  auto store = ConfigSettingsStore::OpenUserSettings();
  ASSERT_TRUE(store->WriteString(settings::kLlmApiKey, u"secret"));
  struct stat info {};
  ASSERT_EQ(stat((temp.Path() + "conf/settings.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}
#endif

TEST_F(ConfigSettingsStoreTest, TwoStoresOnOneFileKeepEachOthersValues) {
  // Two running instances: each opened the file before the other wrote anything.
  auto first = ConfigSettingsStore::OpenUserSettings();
  auto second = ConfigSettingsStore::OpenUserSettings();
  ASSERT_TRUE(second->WriteInteger(settings::kTreeFontSize, 14));
  ASSERT_TRUE(second->WriteString(u"File1", u"/b/", settings::kRecentSection));
  ASSERT_TRUE(first->WriteFlag(settings::kChangedRed, false));
  ASSERT_TRUE(second->WriteString(settings::kLastPath, u"/b/"));
  ASSERT_TRUE(first->WriteInteger(settings::kFontSize, 31));

  auto reader = ConfigSettingsStore::OpenUserSettings();
  EXPECT_EQ(reader->ReadInteger(settings::kTreeFontSize, 0), 14u);
  EXPECT_EQ(reader->ReadString(u"File1", u"", settings::kRecentSection), u"/b/");
  EXPECT_FALSE(reader->ReadFlag(settings::kChangedRed, true));
  EXPECT_EQ(reader->ReadString(settings::kLastPath, u""), u"/b/");
  EXPECT_EQ(reader->ReadInteger(settings::kFontSize, 0), 31u);

  // A list changed as a whole starts from what the other program stored, not from an older reading.
  std::vector<std::u16string> stored;
  ASSERT_TRUE(first->UpdateStrings(settings::kRecentSection, {u"File1", u"File2"},
                                   [](std::vector<std::u16string>& values) { values[1] = values[0] + u"c/"; },
                                   stored));
  EXPECT_EQ(stored, (std::vector<std::u16string>{u"/b/", u"/b/c/"}));
  EXPECT_EQ(ConfigSettingsStore::OpenUserSettings()->ReadString(u"File2", u"", settings::kRecentSection), u"/b/c/");
}

#ifndef _WIN32
TEST_F(ConfigSettingsStoreTest, AWriteReplacesTheFileInOneStepAndKeepsItTheOwners) {
  const std::string file = temp.AddFile("conf/settings.ini", "[Settings]\nLastPath=/old/\n");
  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  std::ifstream before(file, std::ios::binary);  // a reader, or a writer killed half way
  auto store = ConfigSettingsStore::OpenUserSettings();
  ASSERT_TRUE(store->WriteString(settings::kLlmApiKey, u"secret"));

  // The old file is left whole and the new one takes its name: never a truncated file.
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(before), {}), "[Settings]\nLastPath=/old/\n");
  const std::string text = temp.ReadFile("conf/settings.ini");
  EXPECT_NE(text.find("LastPath=/old/"), std::string::npos);
  EXPECT_NE(text.find("LlmApiKey=secret"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ConfigSettingsStoreTest, AFileThatHoldsAKeyIsMadeTheOwnersWhenOpened) {
  const std::string file = temp.AddFile("conf/settings.ini", "[Settings]\nLlmApiKey=secret\n");
  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  auto store = ConfigSettingsStore::OpenUserSettings();
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}
#endif

/// Records what the toolkit would have shown: log messages and failed assertions.
class ToolkitComplaints final : public wxLog {
 public:
  ToolkitComplaints() : previous_(wxLog::SetActiveTarget(this)) {
    wxSetAssertHandler([](const wxString&, int, const wxString&, const wxString& condition, const wxString&) {
      static_cast<ToolkitComplaints*>(wxLog::GetActiveTarget())->messages.push_back("assert " + condition);
    });
  }
  ~ToolkitComplaints() override {
    wxSetDefaultAssertHandler();
    wxLog::SetActiveTarget(previous_);
  }

  std::vector<wxString> messages;

 protected:
  void DoLogTextAtLevel(wxLogLevel, const wxString& text) override { messages.push_back(text); }

 private:
  wxLog* previous_;
};

TEST_F(ConfigSettingsStoreTest, ACorruptFileReadsAsTheDefaultsSilentlyAndIsWrittenAgain) {
  std::string randomBytes;
  for (int i = 0; i < 256; ++i) randomBytes += static_cast<char>((i * 37 + 11) % 256);
  for (const std::string& content : {std::string("[Settings]\n=x\nFontSize=30\n"), randomBytes,
                                     "[Settings\nFontSize\n[Settings]\nFontSize=30\n" + randomBytes,
                                     std::string("[]\n[/]\n[Settings]\nLastPath/x=1\n  =y\n\xff\xfe=\n")}) {
    SCOPED_TRACE(content);
    temp.AddFile("conf/settings.ini", content);
    ToolkitComplaints complaints;
    {
      auto store = ConfigSettingsStore::OpenUserSettings();
      EXPECT_EQ(store->ReadInteger(settings::kVerify, 1), 1u);
      EXPECT_EQ(store->ReadString(settings::kLastPath, u"none"), u"none");
      EXPECT_TRUE(store->WriteString(settings::kLastPath, u"/new/"));
    }
    EXPECT_EQ(ConfigSettingsStore::OpenUserSettings()->ReadString(settings::kLastPath, u""), u"/new/");
    EXPECT_TRUE(complaints.messages.empty()) << complaints.messages.front();
  }
}

TEST_F(ConfigSettingsStoreTest, ADamagedOrOversizedFileIsSetAsideWholeAndWhatCouldBeReadIsKept) {
  std::string binary = "[Settings]\nFontSize=30\n";
  for (int i = 0; i < 256; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
  const std::string oversized = "[Settings]\nFontSize=30\n#" + std::string(2 << 20, 'x') + "\n";
  for (const std::string& content : {std::string("[Settings]\n=x\nFontSize=30\n"), binary, oversized}) {
    SCOPED_TRACE(content.substr(0, 40));
    temp.AddFile("conf/settings.ini", content);
    {
      auto store = ConfigSettingsStore::OpenUserSettings();
      EXPECT_NE(store->Problem().find(u"set aside"), std::u16string::npos);
      EXPECT_TRUE(store->WriteString(settings::kLastPath, u"/new/"));
    }
    EXPECT_EQ(temp.ReadFile("conf/settings.ini.bad"), content);
    const auto reopened = ConfigSettingsStore::OpenUserSettings();
    EXPECT_EQ(reopened->Problem(), u"");
    EXPECT_EQ(reopened->ReadString(settings::kLastPath, u""), u"/new/");
    if (content.size() < (1 << 20)) {
      EXPECT_EQ(reopened->ReadInteger(settings::kFontSize, 9), 30u);
    }
  }
}

#ifndef _WIN32
TEST_F(ConfigSettingsStoreTest, AFileThatCannotBeWrittenIsLeftAsItIsAndTheProblemIsTold) {
  const std::string file = temp.AddFile("conf/settings.ini", "[Settings]\nFontSize=30\n");
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  {
    auto store = ConfigSettingsStore::OpenUserSettings();
    EXPECT_NE(store->Problem().find(u"read-only"), std::u16string::npos);
    EXPECT_EQ(store->ReadInteger(settings::kFontSize, 9), 30u);
    EXPECT_FALSE(store->WriteInteger(settings::kFontSize, 31));
    EXPECT_EQ(store->ReadInteger(settings::kFontSize, 9), 31u);  // in force until the program ends
  }
  EXPECT_EQ(temp.ReadFile("conf/settings.ini"), "[Settings]\nFontSize=30\n");
  ASSERT_EQ(unlink(file.c_str()), 0);
  ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
  auto store = ConfigSettingsStore::OpenUserSettings();  // a pipe must not hold up the start
  EXPECT_NE(store->Problem().find(u"not a regular file"), std::u16string::npos);
  EXPECT_FALSE(store->WriteInteger(settings::kFontSize, 31));
  struct stat info {};
  ASSERT_EQ(lstat(file.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
#endif

TEST_F(ConfigSettingsStoreTest, ValuesThatAreNoIntegersReadAsTheDefault) {
  temp.AddFile("conf/settings.ini",
               "[Settings]\nSortByExtension=7\nFontSize=large\nCheckConflict=99999999999\nVerify=-1\n");
  auto store = ConfigSettingsStore::OpenUserSettings();
  EXPECT_TRUE(store->ReadFlag(settings::kSortByExtension, false));
  EXPECT_EQ(store->ReadInteger(settings::kFontSize, 23), 23u);
  EXPECT_EQ(store->ReadInteger(settings::kCheckConflict, 1), 1u);
  EXPECT_EQ(store->ReadInteger(settings::kVerify, 1), 0xFFFFFFFFu);
}

#ifdef _WIN32
constexpr const wchar_t* kSettingsKey = L"Software\\Quorvantine\\Nomvarix\\Settings";

TEST(ConfigSettingsStoreRegistry, KeepsTheSettingsUnderTheProgramsKeyWithTheirKinds) {
  wxUnsetEnv(kSettingsFileVariable);
  auto store = ConfigSettingsStore::OpenUserSettings();
  ASSERT_TRUE(store->WriteInteger(settings::kGroupSize, 17));
  ASSERT_TRUE(store->WriteString(settings::kLastPath, u"C:\\Fotos\\\u00C9t\u00E9\\"));

  DWORD value = 0;
  DWORD size = sizeof value;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"GroupSize", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 17u);
  wchar_t text[64] = {};
  DWORD textSize = sizeof text;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"LastPath", RRF_RT_REG_SZ, nullptr, text, &textSize),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(text), L"C:\\Fotos\\\u00C9t\u00E9\\");

  // A value of the other kind reads as the default.
  const wchar_t big[] = L"big";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"FontSize", REG_SZ, big, sizeof big), ERROR_SUCCESS);
  EXPECT_EQ(store->ReadInteger(settings::kFontSize, 23), 23u);
  EXPECT_EQ(store->ReadString(settings::kGroupSize, u"none"), u"none");
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"FontSize");
}
#endif

}  // namespace
}  // namespace nomvarix
