#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// The program's version as the About box and --version show it: the project's version, which the
/// packages carry too.
inline constexpr const char* kProgramVersion = NOMVARIX_VERSION;

/// What a command line (the program name excluded) asks for.
struct CommandLine {
  enum class Action {
    Start,        ///< open the window, on `startPath` when it is not empty
    ShowHelp,     ///< print the usage text and exit
    ShowVersion,  ///< print the name and version and exit
    Refuse,       ///< print `error` and the hint to --help, exit with status 2
  };
  Action action = Action::Start;
  std::u16string startPath;
  /// For Refuse: one line without the program's name and without a line end.
  std::string error;
};

/// Reads the arguments as GNU programs do. An argument that starts with "-" (on Windows also "/")
/// is an option, except "-" alone; "--" ends the options, every later argument being a path.
/// The options are "--help" (also "-h", and "/?" on Windows) and "--version"; the first of them,
/// or the first unknown option, decides, whatever follows. At most one path is taken: a second one
/// is refused. An empty argument is skipped.
///   {"--", "-x"}          -> Start on "-x"
///   {"photos", "--help"}  -> ShowHelp
///   {"-x", "photos"}      -> Refuse: "invalid option -- 'x'"
CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

/// The usage text; every line is at most 80 columns and ends with a line end.
std::string UsageText();

/// "Nomvarix 1.00" and a line end.
std::string VersionText();

/// Where a text is written: true when the whole text was written (and flushed).
using TextSink = std::function<bool(std::string_view)>;

/// Answers a command line that does not start the window: the usage text or the version on `out`,
/// a refusal on `err` ("nomvarix: ..." and "Try 'nomvarix --help'."). Returns the exit status: 0
/// when the text was written, 1 when `out` failed (the failure is then reported on `err`), 2 for a
/// refusal.
int AnswerWithoutWindow(const CommandLine& commandLine, const TextSink& out, const TextSink& err);

/// What is said of a start path that names nothing on disk, in UTF-8, as the middle of a sentence:
/// "cannot open 'photos': there is no such folder or file".
std::string MissingStartPathMessage(std::u16string_view startPath);

}  // namespace nomvarix
