#include "apply/ConflictCheck.h"

#include <random>

#include <gtest/gtest.h>

#include "apply/NameRules.h"
#include "text/AsciiCase.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Lines from (original, new) pairs.
NameList Lines(std::initializer_list<std::pair<std::u16string, std::u16string>> pairs) {
  NameList list;
  for (const auto& [original, renamed] : pairs) list.push_back(NameEntry{original, renamed, renamed, false});
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

TEST(ConflictCheck, DiskNamesAreTakenOnlyFromEarlierLinesThatKeepThem) {
  auto links = Check(Lines({{u"x.txt", u"x.txt"}, {u"z.txt", u"x.txt"}}));
  EXPECT_EQ(links.diskNameLinks, (Links{{0, 1, u"x.txt"}}));

  // A name freed by the batch is a link of a chain; one whose file stays is still taken.
  struct Case {
    std::u16string holderBecomes;
    bool linked;
  };
  for (const Case& c : {Case{u"y.txt", false}, Case{u"\u65E5\u8A18.txt", false}, Case{u"X.TXT", true},
                        Case{u".hidden", true}, Case{u"", true}, Case{u"a/b", true}}) {
    links = Check(Lines({{u"x.txt", c.holderBecomes}, {u"z.txt", u"x.txt"}}));
    EXPECT_EQ(links.diskNameLinks.size(), c.linked ? 1u : 0u) << ToUtf8(c.holderBecomes);
  }
  // A swap and a shifted numbering draw no bracket; two lines wanting one name are still red.
  links = Check(Lines({{u"a", u"b"}, {u"b", u"a"}, {u"p1", u"p2"}, {u"p2", u"p3"}}));
  EXPECT_TRUE(links.diskNameLinks.empty());
  EXPECT_TRUE(links.duplicateLinks.empty());
  links = Check(Lines({{u"a", u"b"}, {u"b", u"c"}, {u"c", u"b"}}));
  EXPECT_EQ(links.duplicateLinks, (Links{{0, 2, u"b"}}));

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

namespace nomvarix {
namespace {

/// The rule as it reads, line by line against every earlier line.
ConflictLinks ReferenceCheck(const NameList& names) {
  ConflictLinks links;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const NameEntry& entry = names[i];
    const auto line = static_cast<std::int64_t>(i);
    for (std::size_t j = 0; j < i; ++j) {
      if (EqualsFolded(names[j].newName, entry.newName)) {
        links.duplicateLinks.push_back({static_cast<std::int64_t>(j), line, entry.newName});
        break;
      }
    }
    if (EqualsFolded(entry.originalName, entry.newName)) continue;
    for (std::size_t j = 0; j < i; ++j) {
      if (!EqualsFolded(names[j].originalName, entry.newName)) continue;
      // Only a file that keeps its name holds it.
      if (EqualsFolded(names[j].originalName, names[j].newName) || ApplyRefuses(names[j].newName)) {
        links.diskNameLinks.push_back({static_cast<std::int64_t>(j), line, entry.newName});
      }
      break;
    }
  }
  return links;
}

TEST(ConflictChecker, RunsOverOneListAgainAndAgainFindWhatTheRuleSays) {
  // Names from a small alphabet, so that edits often collide with names on disk and each other.
  std::mt19937 random(7);
  const auto name = [&] {
    std::u16string text;
    for (int i = std::uniform_int_distribution<int>(1, 6)(random); i > 0; --i) {
      text.push_back(u"abAB."[std::uniform_int_distribution<int>(0, 4)(random)]);
    }
    return text;
  };
  ConflictChecker checker;
  std::uint64_t generation = 0;
  for (int list = 0; list < 21; ++list) {
    NameList names;
    // Small lists, lists long enough to be checked in several buckets, and one checked by two threads.
    const int lines = list == 20 ? 9000 : list % 2 == 0 ? 40 : 3000;
    for (int i = 0; i < lines; ++i) {
      const std::u16string original = name();
      names.push_back(NameEntry{original, original, original, false});
    }
    ++generation;  // a new load: the names on disk changed
    for (int edit = 0; edit < (lines > 3000 ? 3 : 30); ++edit) {
      for (int k = 0; k < lines / 20; ++k) {
        names[std::uniform_int_distribution<std::size_t>(0, names.size() - 1)(random)].newName = name();
      }
      ConflictLinks reused;
      std::vector<NameKey> keys;
      for (const NameEntry& entry : names) keys.push_back(KeyOf(entry));
      checker.Check(names, keys, generation, reused);
      const ConflictLinks expected = ReferenceCheck(names);
      ASSERT_EQ(reused.duplicateLinks, expected.duplicateLinks);
      ASSERT_EQ(reused.diskNameLinks, expected.diskNameLinks);
    }
  }
}

}  // namespace
}  // namespace nomvarix
