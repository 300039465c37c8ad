#include "app/rules/CommandLine.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

TEST(CommandLine, TheFirstArgumentThatIsNoSwitchIsTheStartPath) {
  EXPECT_EQ(StartPathOf({}), u"");
  EXPECT_EQ(StartPathOf({u"-x", u"photos", u"other"}), u"photos");
  EXPECT_EQ(StartPathOf({u"--verbose", u"-x"}), u"");
  EXPECT_EQ(StartPathOf({u"", u"relative/folder"}), u"relative/folder");
#ifdef _WIN32
  EXPECT_EQ(StartPathOf({u"/x", u"C:\\photos"}), u"C:\\photos");
#else
  // "/" starts every absolute path here, so only "-" starts a switch.
  EXPECT_EQ(StartPathOf({u"-x", u"/photos", u"/other"}), u"/photos");
#endif
}

TEST(CommandLine, HelpAndVersionAreAnsweredBeforeAnyWindow) {
  EXPECT_EQ(InformationOf({}), std::nullopt);
  EXPECT_EQ(InformationOf({u"-x", u"photos"}), std::nullopt);
  EXPECT_EQ(InformationOf({u"--helpful"}), std::nullopt);
  EXPECT_EQ(InformationOf({u"photos", u"--version"}), "Nomvarix 1.00\n");
  const std::optional<std::string> help = InformationOf({u"--help", u"--version"});
  ASSERT_TRUE(help.has_value());
  EXPECT_EQ(help->rfind("Usage: nomvarix [", 0), 0u) << *help;
  EXPECT_NE(help->find("--version"), std::string::npos);
  EXPECT_EQ(help->back(), '\n');
  EXPECT_EQ(InformationOf({u"-h"}), help);
  // Only a switch asks: a file of that name is a start path like any other.
  EXPECT_EQ(InformationOf({u"./--help"}), std::nullopt);
}

}  // namespace
}  // namespace nomvarix
