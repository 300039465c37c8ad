// The program's apply without its window, for the kill test: loads FOLDER, gives every line the
// new name of MODE and applies it with the journal in STATE, as "Apply Changes" does.
//   shift: "<stem><n><ext>" takes the number n + 1 (so each file takes the next one's name);
//   swap:  "a<rest>" and "b<rest>" trade names.
// Usage: apply_kill_helper FOLDER STATE shift|swap
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Path.h"
#include "session/EditorSession.h"
#include "text/Utf16.h"

namespace {

using namespace nomvarix;

std::u16string Shifted(const std::u16string& name) {
  const std::size_t dot = name.rfind(u'.');
  std::size_t start = dot;
  while (start > 0 && name[start - 1] >= u'0' && name[start - 1] <= u'9') --start;
  const std::string digits = ToUtf8(name.substr(start, dot - start));
  char number[16];
  std::snprintf(number, sizeof number, "%0*ld", static_cast<int>(digits.size()), std::strtol(digits.c_str(), nullptr, 10) + 1);
  return name.substr(0, start) + FromUtf8(number) + name.substr(dot);
}

std::u16string Swapped(std::u16string name) {
  name[0] = name[0] == u'a' ? u'b' : u'a';
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  std::filesystem::create_directories(argv[2]);
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session(*fileSystem, settings);
  session.SetJournalFolder(WithTrailingSeparator(FromUtf8(argv[2])));
  if (!session.LoadFolder(WithTrailingSeparator(FromUtf8(argv[1])))) return 1;
  const bool shift = std::string(argv[3]) == "shift";
  NameEditor& editor = session.Editor();
  for (std::size_t line = 0; line < editor.LineCount(); ++line) {
    const std::u16string& name = editor.Names()[line].originalName;
    editor.SetNewName(line, shift ? Shifted(name) : Swapped(name));
  }
  const ApplyOutcome outcome = session.ApplyChanges(true, false);
  return outcome.kind == ApplyOutcome::Kind::Applied && outcome.skipped == 0 ? 0 : 1;
}
