#include "apply/ConflictCheck.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

/// Lines from (original, new) pairs.
NameList Lines(std::initializer_list<std::pair<std::u16string, std::u16string>> pairs) {
  NameList list;
  for (const auto& [original, renamed] : pairs) list.push_back(NameEntry{original, renamed, renamed, {}, false});
  return list;
}

ConflictLinks Check(const NameList& list) {
  ConflictLinks links;
  links.diskNameLinks.push_back({9, 9, u"stale"});
  CheckConflicts(list, links);
  return links;
}

using Links = std::vector<ConflictLink>;

TEST(ConflictCheck, DuplicatesLinkToTheFirstLineWithTheName) {
  auto links = Check(Lines({{u"1.jpg", u"a.jpg"}, {u"2.jpg", u"A.JPG"}}));
  EXPECT_EQ(links.duplicateLinks, (Links{{0, 1, u"A.JPG"}}));
  EXPECT_TRUE(links.diskNameLinks.empty());

  links = Check(Lines({{u"1", u"x"}, {u"2", u"x"}, {u"3", u"X"}}));
  EXPECT_EQ(links.duplicateLinks, (Links{{0, 1, u"x"}, {0, 2, u"X"}}));

  // An unchanged line takes part with its name.
  links = Check(Lines({{u"a.txt", u"b.txt"}, {u"b.txt", u"b.txt"}}));
  EXPECT_EQ(links.duplicateLinks, (Links{{0, 1, u"b.txt"}}));
  EXPECT_TRUE(links.diskNameLinks.empty());
}

TEST(ConflictCheck, DiskNamesAreTakenOnlyFromEarlierLines) {
  auto links = Check(Lines({{u"x.txt", u"y.txt"}, {u"z.txt", u"x.txt"}}));
  EXPECT_EQ(links.diskNameLinks, (Links{{0, 1, u"x.txt"}}));
  EXPECT_TRUE(links.duplicateLinks.empty());

  links = Check(Lines({{u"a.txt", u"b.txt"}, {u"b.txt", u"c.txt"}}));  // takes a later line's name
  EXPECT_TRUE(links.diskNameLinks.empty());
  EXPECT_TRUE(links.duplicateLinks.empty());

  links = Check(Lines({{u"photo.JPG", u"photo.jpg"}}));  // a change of case only
  EXPECT_TRUE(links.diskNameLinks.empty());
  EXPECT_TRUE(links.duplicateLinks.empty());

  links = Check(Lines({{u"X.TXT", u"X.TXT"}, {u"q.txt", u"x.txt"}}));  // folded comparison
  EXPECT_EQ(links.diskNameLinks, (Links{{0, 1, u"x.txt"}}));
}

}  // namespace
}  // namespace nomvarix
