// The AI dialog's interface-thread time for a long answer, under a display: a chat server on
// 127.0.0.1 streams an answer of about 1 MB (a JSON list of renamed files) in pieces of a few bytes
// each, as models send them, and the real dialog, in its own modal loop, shows it, lists the
// parsed pairs and ends the group. The figure is the dialog thread's CPU time from Send to the
// group's end, per MB of answer; the target is at most 0.5 s per MB. Each piece size runs several
// times; the median and the largest are printed.
//
// Measured here: pieces that wait for the dialog are shown together, which took 16-byte pieces
// from about 22 s per MB to under 5; the rest was the toolkit's text boxes laying out every
// character they were given. With the response box holding only the answer's end, given streamed
// text at most ten times a second (once a second while the answer comes fast), and the parsed
// list cut at a thousand pairs, it is 0.25-0.42 s per MB for every piece size (it was 3.2-6.4).
//
//   xvfb-run -a build/release/bench/ai_dialog_bench
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/init.h>
#include <wx/textctrl.h>

#include "ai/ChatServerSettings.h"
#include "ai/dialog/AiDialog.h"
#include "ai/RenamePair.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "support/FakeSecretStore.h"
#include "platform/MemorySettingsStore.h"
#include "support/ChatTestServer.h"

namespace nomvarix::bench {
namespace {

constexpr std::size_t kAnswerBytes = 1 << 20;
constexpr int kRuns = 3;

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

/// A model's answer of about `bytes` bytes: a fenced JSON list renaming "Datei 1.txt", ... with
/// names beyond ASCII.
std::string Answer(std::size_t bytes) {
  std::string answer = "Here are the new names:\n```json\n[\n";
  for (int i = 1; answer.size() < bytes; ++i) {
    const std::string number = std::to_string(i);
    answer += "  {\"original\": \"Datei " + number + ".txt\", \"renamed\": \"\xC3\x9C" "bersicht \xE6\x97\xA5\xE8\xA8\x98 " +
              number + ".txt\"},\n";
  }
  answer += "  {\"original\": \"last.txt\", \"renamed\": \"end.txt\"}\n]\n```\n";
  return answer;
}

/// The dialog thread's CPU seconds for one answer cut into pieces of `pieceBytes`.
double TimeOneAnswer(const std::string& answer, std::size_t pieceBytes, FileSystem& fileSystem) {
  test::ChatTestServer server;
  std::vector<std::string> pieces;
  // A piece is whole characters, as a server's JSON events carry them.
  for (std::size_t at = 0; at < answer.size();) {
    std::size_t end = std::min(at + pieceBytes, answer.size());
    while (end < answer.size() && (static_cast<unsigned char>(answer[end]) & 0xC0) == 0x80) ++end;
    pieces.push_back(answer.substr(at, end - at));
    at = end;
  }
  server.AddReply(test::ChatTestServer::StreamOf(pieces));
  MemorySettingsStore settings;
  test::FakeSecretStore noKeyring;
  noKeyring.available = false;
  WriteChatServer(settings, noKeyring, ChatServer{server.BaseUrl(), "bench", ""});

  std::vector<RenamePair> names;
  for (int i = 1; i <= 50; ++i) names.push_back({u"Datei " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u".txt", {}});
  CAiDialog dialog(nullptr, names, fileSystem, settings);
  double started = 0;
  double cpu = 0;
  bool sent = false;
  dialog.CallAfter([&] {
    static_cast<wxTextCtrl*>(dialog.FindWindow(CAiDialog::kPrompt))->ChangeValue("Translate the names");
    started = ThreadCpuSeconds();
    wxCommandEvent press(wxEVT_BUTTON, CAiDialog::kSend);
    press.SetEventObject(dialog.FindWindow(CAiDialog::kSend));
    dialog.FindWindow(CAiDialog::kSend)->ProcessWindowEvent(press);
    sent = true;
  });
  dialog.Bind(wxEVT_IDLE, [&](wxIdleEvent& event) {
    event.Skip();
    if (!sent || dialog.Assistant().Busy() || !dialog.IsModal()) return;
    cpu = ThreadCpuSeconds() - started;
    dialog.EndModal(wxID_CANCEL);
  });
  dialog.ShowModal();
  if (dialog.Assistant().ParsedCount() == 0) std::fprintf(stderr, "the answer gave no pairs: the figure is not the whole work\n");
  return cpu;
}

void Report(std::size_t pieceBytes, std::vector<double> seconds, std::size_t answerBytes) {
  std::sort(seconds.begin(), seconds.end());
  const double mb = static_cast<double>(answerBytes) / (1 << 20);
  std::printf("pieces of %3zu bytes: %.3f s per MB on the dialog thread (median), %.3f s largest; target <= 0.5\n",
              pieceBytes, seconds[seconds.size() / 2] / mb, seconds.back() / mb);
}

}  // namespace
}  // namespace nomvarix::bench

int main(int argc, char** argv) {
  using namespace nomvarix;
  // The dialog leaves the user's keyring alone, as with any settings file of its own.
  setenv(kSettingsFileVariable, "/nonexistent/settings.conf", 1);
  wxApp::SetInstance(new wxApp);  // owned and deleted by the toolkit
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "no display: run it under xvfb-run\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  const std::string answer = bench::Answer(bench::kAnswerBytes);
  for (const std::size_t pieceBytes : {4u, 16u, 256u}) {
    std::vector<double> seconds;
    for (int run = 0; run < bench::kRuns; ++run) seconds.push_back(bench::TimeOneAnswer(answer, pieceBytes, *fileSystem));
    bench::Report(pieceBytes, std::move(seconds), answer.size());
  }
  wxEntryCleanup();
  return 0;
}
