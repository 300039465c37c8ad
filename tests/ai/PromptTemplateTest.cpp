#include "ai/PromptTemplate.h"

#include <gtest/gtest.h>

#include "ai/FileList.h"

namespace nomvarix {
namespace {

TEST(PromptTemplateTest, SectionsAreCutAtTheNextHashAndCleaned) {
  PromptTemplate onlySystem;
  onlySystem.systemText = u"Be brief.";
  EXPECT_EQ(ParseTemplate(u"#SYSTEM:\r\nBe brief.\r\n"), onlySystem);
  const PromptTemplate cut = ParseTemplate(u"#PREPROMPT:\r\nword #ignored text\r\n#POSTPROMPT:\r\nafter\r\n");
  EXPECT_EQ(cut.prePrompt, u"word");
  EXPECT_EQ(cut.postPrompt, u"after");
  EXPECT_EQ(ExtractSection(u"#EXAMPLE1:\r\n \r\n  first line\r\nsecond line  \r\n\r\n ", u"#EXAMPLE1:"),
            u"first line\nsecond line");
  EXPECT_EQ(ExtractSection(u"#EXAMPLE1:x", u"#EXAMPLE1_RESPONSE:"), u"");
  // In any order; EXAMPLE1 is not found inside EXAMPLE1_RESPONSE's marker first.
  const PromptTemplate reordered = ParseTemplate(u"#EXAMPLE1_RESPONSE:\nanswer\n#EXAMPLE1:\nquestion\n");
  EXPECT_EQ(reordered.example1, u"question");
  EXPECT_EQ(reordered.example1Response, u"answer");
}

TEST(PromptTemplateTest, AHugeTemplateIsReadInOnePass) {
  std::u16string text = u"#SYSTEM:\r\nstart";
  for (int i = 0; i < 1'000'000; ++i) text += u"\n\r.";  // 3 million characters of LF CR breaks
  const std::u16string system = ParseTemplate(text).systemText;
  EXPECT_EQ(system.size(), 5u + 2'000'000u);
  EXPECT_EQ(system.substr(0, 9), u"start\n.\n.");
}

TEST(PromptTemplateTest, SerializingAndParsingGivesTheFieldsBack) {
  const PromptTemplate prompt{u"system", u"pre\nprompt", u"post", u"ex1", u"ex1 answer", u"ex2", u"ex2 answer"};
  const std::u16string text = SerializeTemplate(prompt);
  EXPECT_TRUE(text.starts_with(u"#SYSTEM:\r\nsystem\r\n\r\n#PREPROMPT:\r\npre\r\nprompt\r\n\r\n"));
  EXPECT_EQ(text.find(u"\n\n"), std::u16string::npos);  // every break is CR LF
  EXPECT_EQ(ParseTemplate(text), prompt);
}

TEST(PromptTemplateTest, TheDefaultsCarryBothWorkedExamples) {
  const PromptTemplate defaults = DefaultTemplate();
  EXPECT_EQ(defaults.postPrompt, u"Important: Respond only with the JSON file.\n");
  EXPECT_TRUE(defaults.example1.starts_with(defaults.prePrompt + u"\n\nCapitalize first character of every word.\n\n"));
  EXPECT_NE(defaults.example1Response.find(u"\"renamed\": \"264536Photo.png\"\n    }\n  ]"), std::u16string::npos);
  EXPECT_NE(defaults.example2.find(u"\"original\": \"recording file.macro\",\n      \"renamed\": \"\""),
            std::u16string::npos);
  EXPECT_EQ(defaults.example1.find(u'\r'), std::u16string::npos);
}

TEST(FileListTest, TheCommaRuleOfEachForm) {
  const std::vector<RenamePair> pairs{{u"a.txt", u"A.txt"}, {u"b.txt", u"B.txt"}};
  EXPECT_EQ(BuildFileList({pairs[0]}, FileListForm::ExampleAnswer),
            u"'''\r\n{\r\n  \"filenames\": [\r\n    {\r\n      \"original\": \"a.txt\",\r\n      \"renamed\": \"A.txt\"\r\n"
            u"    }\r\n  ]\r\n}\r\n'''");
  const std::u16string group = BuildGroupFileList(pairs, 1, 5);
  EXPECT_NE(group.find(u"\"original\": \"b.txt\",\r\n      \"renamed\": \"\"\r\n    },\r\n  ]"), std::u16string::npos);
  EXPECT_EQ(group.find(u"a.txt"), std::u16string::npos);
  EXPECT_EQ(BuildGroupFileList(pairs, 2, 1), u"");
  EXPECT_NE(BuildGroupFileList(pairs, -3, 0).find(u"a.txt"), std::u16string::npos);
  EXPECT_NE(BuildFileList(pairs, FileListForm::ExampleRequest).find(u"    },\r\n    {"), std::u16string::npos);
}

}  // namespace
}  // namespace nomvarix
