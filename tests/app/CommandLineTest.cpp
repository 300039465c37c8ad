#include "app/rules/CommandLine.h"

#include <sstream>

#include <gtest/gtest.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ReadsOptionsAndOnePathAsGnuProgramsDo) {
  struct Case {
    std::vector<std::u16string> arguments;
    Action action;
    std::u16string startPath;
    std::string error;
  };
  const Case cases[] = {
      {{}, Action::Start, u"", ""},
      {{u"", u"relative/folder"}, Action::Start, u"relative/folder", ""},
      {{u"Fotos/日記 é"}, Action::Start, u"Fotos/日記 é", ""},
      {{u"photos", u"--version"}, Action::ShowVersion, u"", ""},
      {{u"--help", u"--version"}, Action::ShowHelp, u"", ""},
      {{u"-h"}, Action::ShowHelp, u"", ""},
      // Only an option asks: a file of that name is a start path like any other.
      {{u"./--help"}, Action::Start, u"./--help", ""},
      {{u"-"}, Action::Start, u"-", ""},
      {{u"--", u"-x"}, Action::Start, u"-x", ""},
      {{u"--", u"--help"}, Action::Start, u"--help", ""},
      {{u"--", u"--", u"a"}, Action::Refuse, u"", "extra operand 'a'"},
      {{u"photos", u"--", u"--version"}, Action::Refuse, u"", "extra operand '--version'"},
      {{u"-x", u"photos", u"other"}, Action::Refuse, u"", "invalid option -- 'x'"},
      {{u"--verbose", u"-x"}, Action::Refuse, u"", "unrecognized option '--verbose'"},
      {{u"--helpful"}, Action::Refuse, u"", "unrecognized option '--helpful'"},
      {{u"-hx"}, Action::Refuse, u"", "invalid option -- 'h'"},
      {{u"-ß"}, Action::Refuse, u"", "invalid option -- 'ß'"},
      {{u"-\U0001F600x"}, Action::Refuse, u"", "invalid option -- '\U0001F600'"},
      {{u"photos", u"other", u"more"}, Action::Refuse, u"", "extra operand 'other'"},
      // A request for help or a wrong option further on decides over an extra path.
      {{u"photos", u"other", u"--help"}, Action::ShowHelp, u"", ""},
      {{u"photos", u"other", u"-q"}, Action::Refuse, u"", "invalid option -- 'q'"},
      // An undecodable byte of a POSIX argument is written back as the byte it was.
      {{u"a", u"b\xDCFF"}, Action::Refuse, u"", "extra operand 'b\xFF'"},
#ifdef _WIN32
      {{u"/x", u"C:\\photos"}, Action::Refuse, u"", "invalid option -- 'x'"},
      {{u"/?"}, Action::ShowHelp, u"", ""},
#else
      // "/" starts every absolute path here, so only "-" starts an option.
      {{u"/photos"}, Action::Start, u"/photos", ""},
#endif
  };
  for (const Case& c : cases) {
    const CommandLine parsed = ParseCommandLine(c.arguments);
    const std::string shown = c.arguments.empty() ? "(none)" : ToUtf8(c.arguments.front());
    EXPECT_EQ(parsed.action, c.action) << shown;
    EXPECT_EQ(parsed.startPath, c.startPath) << shown;
    EXPECT_EQ(parsed.error, c.error) << shown;
  }
}

TEST(CommandLine, UsageNamesEveryOptionInLinesOfAtMost80Columns) {
  const std::string usage = UsageText();
  EXPECT_EQ(usage.rfind("Usage: nomvarix [", 0), 0u) << usage;
  ASSERT_EQ(usage.back(), '\n');
  for (const char* option : {"-h, --help", "--version", "--  "}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  std::istringstream lines(usage);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
  EXPECT_EQ(VersionText(), "Nomvarix 1.00\n");
}

TEST(CommandLine, AnswersWithoutWindowAndReportsWhatCouldNotBeWritten) {
  struct Case {
    std::vector<std::u16string> arguments;
    bool outWorks;
    int status;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {{u"--version"}, true, 0, "Nomvarix 1.00\n", ""},
      {{u"--help"}, true, 0, UsageText(), ""},
      {{u"--help"}, false, 1, "", "nomvarix: write error\n"},
      {{u"--version"}, false, 1, "", "nomvarix: write error\n"},
      {{u"--bogus"}, true, 2, "", "nomvarix: unrecognized option '--bogus'\nTry 'nomvarix --help'.\n"},
      {{u"a", u"b"}, false, 2, "", "nomvarix: extra operand 'b'\nTry 'nomvarix --help'.\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    std::string err;
    const int status = AnswerWithoutWindow(
        ParseCommandLine(c.arguments),
        [&](std::string_view text) {
          if (c.outWorks) out += text;
          return c.outWorks;
        },
        [&](std::string_view text) {
          err += text;
          return true;
        });
    EXPECT_EQ(status, c.status) << ToUtf8(c.arguments.front());
    EXPECT_EQ(out, c.out) << ToUtf8(c.arguments.front());
    EXPECT_EQ(err, c.err) << ToUtf8(c.arguments.front());
  }
  EXPECT_EQ(MissingStartPathMessage(u"Fotos/日記"), "cannot open 'Fotos/日記': there is no such folder or file");
}

}  // namespace
}  // namespace nomvarix
