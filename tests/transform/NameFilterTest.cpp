#include "transform/NameFilter.h"

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

Names Passing(const NameFilter& filter, const Names& names) {
  Names out;
  for (const auto& name : names) {
    if (filter.Passes(name)) out.push_back(name);
  }
  return out;
}

TEST(NameFilterTest, ExtensionsAndIncludedText) {
  NameFilter filter;
  filter.extensions = ParseExtensionList(u"jpg,png");
  EXPECT_EQ(Passing(filter, {u"a.JPG", u"b.png", u"c.gif", u"d", u"report. final", u"e.jpg.txt"}),
            (Names{u"a.JPG", u"b.png"}));
  filter.extensions = ParseExtensionList(u".Jpg");
  EXPECT_EQ(filter.extensions, (Names{u".Jpg"}));
  EXPECT_EQ(FormatExtensionList(filter.extensions), u"Jpg");
  EXPECT_TRUE(filter.Passes(u"photo.jpg"));

  filter.extensions.clear();
  filter.mustInclude = u"IMG";
  EXPECT_EQ(Passing(filter, {u"img_001.jpg", u"photo.jpg"}), (Names{u"img_001.jpg"}));
  filter.extensions = {u".png"};
  EXPECT_EQ(Passing(filter, {u"img_001.jpg", u"IMG_2.png", u"x.png"}), (Names{u"IMG_2.png"}));
  EXPECT_FALSE(NameFilter{}.IsActive());
}

TEST(NameFilterTest, ListsAreSplitTrimmedAndShownAgain) {
  EXPECT_EQ(ParseExtensionList(u"jpg; .PNG, bmp"), (Names{u".jpg", u".PNG", u".bmp"}));
  EXPECT_EQ(FormatExtensionList(ParseExtensionList(u"jpg; .PNG, bmp")), u"jpg,PNG,bmp");
  EXPECT_TRUE(ParseExtensionList(u" ,;\t ").empty());
  EXPECT_EQ(ParseExtensionList(u"*.jpg"), (Names{u".*.jpg"}));  // no wildcards
  EXPECT_EQ(PathExtension(u"archive.tar.gz"), u".gz");
  EXPECT_EQ(PathExtension(u"report. final"), u"");
}

TEST(NameFilterTest, EditsOfFilesStillListedSurviveAFilterChange) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a.jpg", u"b.png"});
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  session.LoadFolder(u"/f/");
  session.Editor().SetNewName(0, u"A.jpg");
  session.Editor().SetNewName(1, u"B.png");

  session.SavePendingEdits();
  session.SetFilter(u"jpg", u"");
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (Names{u"A.jpg"}));
  session.SavePendingEdits();
  session.SetFilter(u"", u"");
  // The hidden line's edit was kept while the filter hid it.
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (Names{u"A.jpg", u"B.png"}));
}

}  // namespace
}  // namespace nomvarix
