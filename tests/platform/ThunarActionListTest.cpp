// Our action in Thunar's list of custom actions, beside the user's own.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/FileManagerEntries.h"
#include "platform/ThunarActionList.h"

namespace nomvarix {
namespace {

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string kTheirs =
    "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Open Terminal Here</name>\n"
    "\t<unique-id>1700000000000000-1</unique-id>\n\t<command>exo-open --working-directory %f</command>\n"
    "\t<description>Der Ordner 日記 öffnen</description>\n\t<patterns>*</patterns>\n\t<directories/>\n</action>\n";
const std::string kOurs = ThunarActionElement("/usr/bin/nomvarix");
const std::string kOursMoved = ThunarActionElement("/opt/nomvarix & co/bin/nomvarix");

TEST(ThunarActionListTest, AddsOrReplacesOnlyOurAction) {
  struct Case {
    const char* what;
    std::string before;
    std::optional<std::string> after;
  };
  const Case cases[] = {
      {"no file yet", "", kHeader + "<actions>\n" + kOursMoved + "</actions>\n"},
      {"the user's actions stay, ours goes last", kHeader + "<actions>\n" + kTheirs + "</actions>\n",
       kHeader + "<actions>\n" + kTheirs + kOursMoved + "</actions>\n"},
      {"ours is replaced where it was, never doubled", kHeader + "<actions>\n" + kOurs + kTheirs + "</actions>\n",
       kHeader + "<actions>\n" + kTheirs + kOursMoved + "</actions>\n"},
      {"an indented list", kHeader + "<actions>\n  " + kTheirs + "  </actions>\n",
       kHeader + "<actions>\n  " + kTheirs + kOursMoved + "  </actions>\n"},
      {"an empty element", kHeader + "<actions/>\n", kHeader + "<actions>\n" + kOursMoved + "</actions>\n"},
      {"all on one line", "<actions></actions>", "<actions>\n" + kOursMoved + "</actions>"},
      {"not an actions list", "rubbish written by hand\n", std::nullopt},
      {"a list cut short", kHeader + "<actions>\n" + kTheirs, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithThunarAction(c.before, kOursMoved), c.after) << c.what;
  }
}

TEST(ThunarActionListTest, RemovesOnlyOurAction) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"ours among the user's", kHeader + "<actions>\n" + kTheirs + kOurs + kTheirs + "</actions>\n",
       kHeader + "<actions>\n" + kTheirs + kTheirs + "</actions>\n"},
      {"ours alone", kHeader + "<actions>\n\t" + kOurs + "</actions>\n", std::string(kEmptyThunarActionList)},
      {"ours twice, written by hand", kHeader + "<actions>\n" + kOurs + kOurs + "</actions>\n",
       std::string(kEmptyThunarActionList)},
      {"none of ours", kHeader + "<actions>\n" + kTheirs + "</actions>\n",
       kHeader + "<actions>\n" + kTheirs + "</actions>\n"},
      {"an action left open", "<actions>\n<action>\n<name>x</name>\n</actions>\n",
       "<actions>\n<action>\n<name>x</name>\n</actions>\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithoutThunarAction(c.before), c.after) << c.what;
  }
}

}  // namespace
}  // namespace nomvarix
