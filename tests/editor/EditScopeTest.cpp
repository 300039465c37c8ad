#include "editor/EditScope.h"

#include <gtest/gtest.h>

#include "editor/NameSplit.h"

namespace nomvarix {
namespace {

TEST(NameSplit, SplitsAtTheLastDot) {
  EXPECT_EQ(SplitAtLastDot(u"archive.tar.gz").base, u"archive.tar");
  EXPECT_EQ(SplitAtLastDot(u"archive.tar.gz").dotExt, u".gz");
  EXPECT_EQ(SplitAtLastDot(u".gitignore").base, u"");
  EXPECT_EQ(SplitAtLastDot(u".gitignore").dotExt, u".gitignore");
  EXPECT_EQ(SplitAtLastDot(u"README").base, u"README");
  EXPECT_EQ(SplitAtLastDot(u"README").dotExt, u"");
  EXPECT_EQ(SplitAtLastDot(u"trailing.").dotExt, u".");
  EXPECT_EQ(ExtensionOf(u".gitignore"), u"gitignore");
  EXPECT_EQ(ExtensionOf(u"archive.tar.gz"), u"gz");
  EXPECT_EQ(ExtensionOf(u"README"), u"");
  EXPECT_EQ(ExtensionOf(u"report. final"), u" final");
}

std::u16string WithPart(std::u16string name, EditScope scope, std::u16string_view part) {
  ReplaceShownPart(name, scope, ScopedPart(name, scope).size(), part);
  return name;
}

TEST(EditScope, ScopedPartsAndTheirReplacementRoundTrip) {
  for (const std::u16string name : {u"archive.tar.gz", u".gitignore", u"README", u"a.", u""}) {
    for (EditScope scope : {EditScope::WholeName, EditScope::BaseName, EditScope::Extension}) {
      EXPECT_EQ(WithPart(name, scope, std::u16string(ScopedPart(name, scope))), name);
    }
  }
  EXPECT_EQ(ScopedPart(u"archive.tar.gz", EditScope::BaseName), u"archive.tar");
  EXPECT_EQ(ScopedPart(u"archive.tar.gz", EditScope::Extension), u".gz");
  EXPECT_EQ(WithPart(u"archive.tar.gz", EditScope::BaseName, u"backup"), u"backup.gz");
  EXPECT_EQ(WithPart(u"archive.tar.gz", EditScope::Extension, u".tgz"), u"archive.tar.tgz");
  EXPECT_EQ(WithPart(u"archive.tar.gz", EditScope::WholeName, u"x"), u"x");
  // A name without "." has an empty extension part; text put there is appended without a ".".
  EXPECT_EQ(ScopedPart(u"README", EditScope::Extension), u"");
  EXPECT_EQ(WithPart(u"README", EditScope::Extension, u"md"), u"READMEmd");
  EXPECT_EQ(WithPart(u".gitignore", EditScope::BaseName, u"x"), u"x.gitignore");
  EXPECT_EQ(MinColumnOf(EditScope::Extension), 1);
  EXPECT_EQ(MinColumnOf(EditScope::BaseName), 0);
}

TEST(EditScope, TheShownPartIsReplacedWhereverTheNewTextPutsADot) {
  std::u16string name = u"x.gz";
  ReplaceShownPart(name, EditScope::Extension, 3, u".tar.gz");
  EXPECT_EQ(name, u"x.tar.gz");
  ReplaceShownPart(name, EditScope::Extension, 7, u".tar.gz2");  // the line still shows all it was given
  EXPECT_EQ(name, u"x.tar.gz2");
  name = u"noext";
  ReplaceShownPart(name, EditScope::BaseName, 5, u"noext.v2");
  ReplaceShownPart(name, EditScope::BaseName, 8, u"noext.v2z");
  EXPECT_EQ(name, u"noext.v2z");
}

}  // namespace
}  // namespace nomvarix
