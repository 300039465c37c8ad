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

}  // namespace
}  // namespace nomvarix
