#include "app/rules/CommandLine.h"

#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr const char* kUsage =
    "Usage: nomvarix [OPTION]... [--] [FOLDER | FILE]\n"
    "Renames many files at once: their names are edited as lines of text, and nothing\n"
    "on disk changes until the changes are applied.\n"
    "\n"
    "  FOLDER         the folder to open\n"
    "  FILE           a file whose folder to open\n"
    "                 (without either, the folder opened last is opened again)\n"
    "\n"
    "  -h, --help     print this text and exit\n"
    "      --version  print the program's name and version and exit\n"
    "  --             take every later argument as a path, even one that begins\n"
    "                 with \"-\"\n"
    "\n"
    "Exit status: 0 when all went well, 1 when the window could not open, the path\n"
    "names nothing or a text could not be written, 2 for a command line that cannot\n"
    "be read.\n";

bool StartsOption(const std::u16string& argument) {
  if (argument.size() < 2) return false;
#ifdef _WIN32
  return argument.front() == u'-' || argument.front() == u'/';
#else
  return argument.front() == u'-';
#endif
}

CommandLine Refusal(std::string error) {
  CommandLine refused;
  refused.action = CommandLine::Action::Refuse;
  refused.error = std::move(error);
  return refused;
}

CommandLine::Action OptionAction(const std::u16string& option) {
  if (option == u"--help" || option == u"-h") return CommandLine::Action::ShowHelp;
#ifdef _WIN32
  if (option == u"/?") return CommandLine::Action::ShowHelp;
#endif
  if (option == u"--version") return CommandLine::Action::ShowVersion;
  return CommandLine::Action::Refuse;
}

std::string UnknownOptionError(const std::u16string& option) {
  // GNU's wording: a long option is named whole, a short one by its first letter.
  if (option.size() > 2 && option[1] == u'-') return "unrecognized option '" + ToUtf8(option) + "'";
  const UnitSpan letter = CharacterAt(option, 1);
  return "invalid option -- '" + ToUtf8(std::u16string_view(option).substr(letter.begin, letter.end - letter.begin)) + "'";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments) {
  CommandLine result;
  bool optionsEnded = false;
  bool pathTaken = false;
  for (const std::u16string& argument : arguments) {
    if (argument.empty()) continue;
    if (!optionsEnded && argument == u"--") {
      optionsEnded = true;
    } else if (!optionsEnded && StartsOption(argument)) {
      const CommandLine::Action action = OptionAction(argument);
      if (action == CommandLine::Action::Refuse) return Refusal(UnknownOptionError(argument));
      CommandLine asked;
      asked.action = action;
      return asked;
    } else if (pathTaken) {
      // Every argument is still read: an option further on decides over the extra path.
      if (result.error.empty()) result.error = "extra operand '" + ToUtf8(argument) + "'";
    } else {
      result.startPath = argument;
      pathTaken = true;
    }
  }
  if (!result.error.empty()) return Refusal(std::move(result.error));
  return result;
}

std::string UsageText() { return kUsage; }

std::string VersionText() { return std::string("Nomvarix ") + kProgramVersion + "\n"; }

int AnswerWithoutWindow(const CommandLine& commandLine, const TextSink& out, const TextSink& err) {
  switch (commandLine.action) {
    case CommandLine::Action::Refuse:
      err("nomvarix: " + commandLine.error + "\nTry 'nomvarix --help'.\n");
      return 2;
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
      break;
    case CommandLine::Action::Start:
      return 0;
  }
  const bool help = commandLine.action == CommandLine::Action::ShowHelp;
  if (out(help ? UsageText() : VersionText())) return 0;
  err("nomvarix: write error\n");
  return 1;
}

std::string MissingStartPathMessage(std::u16string_view startPath) {
  return "cannot open '" + ToUtf8(startPath) + "': there is no such folder or file";
}

}  // namespace nomvarix
