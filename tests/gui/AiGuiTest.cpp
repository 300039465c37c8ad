// The AI assistant in the running program: its dialog opened from the editor with Ctrl+I, a rule
// typed and sent to a chat server on 127.0.0.1, the answer streamed into the dialog, and the parsed
// names inserted into the editor's lines, also where the lines show only a part of each name.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "DialogConfirmer.h"
#include "EditorGuiFixture.h"
#include "ai/dialog/AiDialog.h"
#include "app/NomvarixApp.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "support/ChatTestServer.h"
#include "support/NameListText.h"
#include "controls/WxText.h"
#include "editor/EditScope.h"
#include "text/Utf16.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using namespace std::chrono_literals;

/// Runs `work` with the AI dialog once it shows; `work` drives it with real clicks.
class ScriptedDialogUser : public wxTimer {
 public:
  ScriptedDialogUser(wxUIActionSimulator& sim, std::function<void(CAiDialog&)> work) : sim_(sim), work_(std::move(work)) {
    Start(100);
  }
  bool Done() const { return done_; }

  void Click(wxWindow& control) {
    const wxRect rect = control.GetScreenRect();
    sim_.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    Settle();
    sim_.MouseClick();
    Settle();
  }
  static wxTextCtrl& Box(CAiDialog& dialog, int id) { return *dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id)); }

  void Notify() override {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* dialog = dynamic_cast<CAiDialog*>(window);
      if (dialog && dialog->IsShown()) {
        Stop();
        work_(*dialog);
        done_ = true;
        return;
      }
    }
  }

 private:
  wxUIActionSimulator& sim_;
  std::function<void(CAiDialog&)> work_;
  bool done_ = false;
};

/// The program's assistant pointed at a chat server of the test's own.
class AiServerFixture : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    SettingsStore& settings = GuiTestEnvironment::Get().App().Settings();
    settings.WriteString(settings::kLlmBaseUrl, FromUtf8(server.BaseUrl()));
    settings.WriteInteger(settings::kGroupSize, 10);
  }

  ChatTestServer server;
};

class AiGuiTest : public AiServerFixture {
 protected:
  void SetUp() override {
    AiServerFixture::SetUp();
    OpenFolderWith({"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg"});
  }
};

TEST_F(AiGuiTest, NamesStreamedByTheServerAreInsertedIntoTheLines) {
  ChatTestServer::Reply reply = ChatTestServer::StreamOf(
      {"Here are the new names:\n'''\n{\"filenames\":[\n", "{\"original\":\"IMG_0001.jpg\",\"renamed\":\"Beach_0001.jpg\"},\n",
       "{\"original\":\"IMG_0003.jpg\",\"renamed\":\"Caf\xC3\xA9_Terrace_0003.jpg\"}\n", "]}\n'''"});
  reply.gateBefore = 2;  // the name with "Terrace" comes once the first one was seen
  server.AddReply(reply);

  // Typed rule, Send, the answer watched as it arrives, "Insert Parsed": with real events. The
  // server holds the rest of the answer at its gate until the part that came first was seen.
  wxString partialResponse;
  wxString finalResponse;
  wxString listing;
  ScriptedDialogUser user(sim, [&](CAiDialog& dialog) {
    wxTextCtrl& response = user.Box(dialog, CAiDialog::kResponse);
    EXPECT_EQ(response.GetValue(), "Number of items: 3");
    user.Click(user.Box(dialog, CAiDialog::kPrompt));
    sim.Text("beach names");
    EXPECT_TRUE(PumpUntil([&] { return user.Box(dialog, CAiDialog::kPrompt).GetValue() == "beach names"; }));
    user.Click(*dialog.FindWindow(CAiDialog::kSend));
    EXPECT_TRUE(PumpUntil([&] { return response.GetValue().Contains("IMG_0001"); }));
    partialResponse = response.GetValue();
    server.OpenGate();
    EXPECT_TRUE(PumpUntil([&] { return !dialog.Assistant().Busy(); }));
    finalResponse = response.GetValue();
    listing = user.Box(dialog, CAiDialog::kJson).GetValue();
    user.Click(*dialog.FindWindow(CAiDialog::kInsertParsed));
  });
  ASSERT_NO_FATAL_FAILURE(FocusEditor());
  sim.Char('I', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }, 30s));
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[0].newName != u"IMG_0001.jpg"; }));

  // The answer showed while it was still arriving, then whole.
  EXPECT_FALSE(partialResponse.Contains("Terrace"));
  EXPECT_TRUE(finalResponse.Contains("Caf\u00e9_Terrace_0003.jpg"));
  EXPECT_EQ(FromWx(listing), u"IMG_0001.jpg, Beach_0001.jpg\nIMG_0003.jpg, Caf\u00E9_Terrace_0003.jpg\n");
  EXPECT_EQ(NewNames(Editor().Names()),
            (std::vector<std::u16string>{u"Beach_0001.jpg", u"IMG_0002.jpg", u"Caf\u00E9_Terrace_0003.jpg"}));

  // The request carried the three names and the typed rule.
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].body.find("beach names"), std::string::npos);
  EXPECT_NE(requests[0].body.find("IMG_0002.jpg"), std::string::npos);

  // Inserting is one step of the undo history.
  sim.Char('Z', wxMOD_CONTROL);
  EXPECT_TRUE(PumpUntil([&] { return Editor().Names()[0].newName == u"IMG_0001.jpg"; }));
}



/// An answer of `pieces` pieces of 1000 characters in lines of 100.
ChatTestServer::Reply LongAnswer(std::size_t pieces) {
  std::string piece;
  for (int line = 0; line < 10; ++line) piece += std::string(99, 'x') + "\n";
  return ChatTestServer::StreamOf(std::vector<std::string>(pieces, piece));
}

ChatTestServer::Reply Stalled(ChatTestServer::Reply reply) {
  reply.blocks.pop_back();  // no end marker: the answer stays open
  reply.stall = true;
  return reply;
}

TEST_F(AiGuiTest, HostileAnswersNeitherKillNorFreezeTheDialog) {
  std::vector<std::string> deep(20, std::string(10'000, '['));  // 200,000 deep
  deep.resize(40, std::string(10'000, ']'));
  server.AddReply(ChatTestServer::StreamOf(deep));
  server.AddReply(LongAnswer(10'000));  // 10 MB
  server.AddReply(Stalled(LongAnswer(2'000)));
  server.AddReply(Stalled(LongAnswer(10)));

  ScriptedDialogUser user(sim, [&](CAiDialog& dialog) {
    wxTextCtrl& response = user.Box(dialog, CAiDialog::kResponse);
    wxTextCtrl& errors = user.Box(dialog, CAiDialog::kErrors);
    std::size_t sent = 0;
    const auto send = [&] {
      user.Click(*dialog.FindWindow(CAiDialog::kSend));
      ++sent;
      ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == sent; }));
    };
    user.Click(user.Box(dialog, CAiDialog::kPrompt));
    sim.Text("rule");
    ASSERT_TRUE(PumpUntil([&] { return user.Box(dialog, CAiDialog::kPrompt).GetValue() == "rule"; }));

    send();  // the deep answer is read and lists nothing; the box holds its end, "Show All" all of it
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Assistant().Busy(); }, 60s));
    EXPECT_EQ(std::count(dialog.ResponseText().begin(), dialog.ResponseText().end(), u'['), 200'000);
    EXPECT_LT(response.GetLastPosition(), 20'000);
    user.Click(*dialog.FindWindow(CAiDialog::kShowWholeResponse));
    EXPECT_TRUE(PumpUntil([&] { return response.GetValue().Freq('[') == 200'000; }));
    EXPECT_EQ(errors.GetValue(), "Processing complete.\nNumber of items: 3, processed: 0");

    send();  // the 10 MB answer is stopped at 4 MB, and says so
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Assistant().Busy(); }, 60s));
    EXPECT_EQ(errors.GetValue(),
              "Group 1: The answer is larger than 4 MB, more than any list of names: it was stopped.\n"
              "Processing complete.\nNumber of items: 3, processed: 0");

    send();  // STOP answers while 2 MB of answer are shown
    ASSERT_TRUE(PumpUntil([&] { return dialog.ResponseText().size() >= 2'000'000; }, 60s)) << dialog.ResponseText().size();
    user.Click(*dialog.FindWindow(CAiDialog::kStop));
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Assistant().Busy(); }));
    EXPECT_TRUE(response.GetValue().StartsWith("Processing stopped by user."));

    send();  // and Close while an answer is coming
    ASSERT_TRUE(PumpUntil([&] { return response.GetValue().Contains("xxx"); }));
    user.Click(*dialog.FindWindow(wxID_CANCEL));
  });
  ASSERT_NO_FATAL_FAILURE(FocusEditor());
  sim.Char('I', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }, 300s));
  ASSERT_TRUE(PumpUntil([&] {
    for (wxWindow* window : wxTopLevelWindows) {
      if (dynamic_cast<CAiDialog*>(window)) return false;
    }
    return true;
  }));
  EXPECT_EQ(Editor().Names()[0].newName, u"IMG_0001.jpg");
  EXPECT_EQ(server.Requests().size(), 4u);
}

TEST_F(AiGuiTest, OpensOverTheMainWindowWithThePromptFocusedAndSendsNoEmptyPrompt) {
  wxRect dialogRect;
  int focusedId = wxID_NONE;  // the window itself is gone with the dialog
  wxString errors;
  ScriptedDialogUser user(sim, [&](CAiDialog& dialog) {
    dialogRect = dialog.GetScreenRect();
    EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() != nullptr; }));
    if (const wxWindow* focused = wxWindow::FindFocus()) focusedId = focused->GetId();
    // Blank and white-space-only prompts alike.
    for (const char* blank : {"", "  \n\t "}) {
      user.Box(dialog, CAiDialog::kPrompt).ChangeValue(blank);
      user.Click(*dialog.FindWindow(CAiDialog::kSend));
      errors = user.Box(dialog, CAiDialog::kErrors).GetValue();
      EXPECT_EQ(FromWx(errors), CAiDialog::kEmptyPromptMessage) << "prompt \"" << blank << "\"";
      EXPECT_FALSE(dialog.Assistant().Busy());
    }
    user.Click(*dialog.FindWindow(wxID_CANCEL));
  });
  ASSERT_NO_FATAL_FAILURE(FocusEditor());
  sim.Char('I', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }, 30s));

  EXPECT_TRUE(server.Requests().empty());
  ASSERT_FALSE(dialogRect.IsEmpty());
  const wxRect main = frame->GetScreenRect();
  const wxPoint centre(main.x + main.width / 2, main.y + main.height / 2);
  const wxPoint dialogCentre(dialogRect.x + dialogRect.width / 2, dialogRect.y + dialogRect.height / 2);
  // Centred on the main window wherever the screen leaves it room to be.
  if (dialogRect.width < main.width) {
    EXPECT_NEAR(dialogCentre.x, centre.x, 2);
  }
  if (dialogRect.height < main.height) {
    EXPECT_NEAR(dialogCentre.y, centre.y, 2);
  }
  EXPECT_EQ(focusedId, CAiDialog::kPrompt);
}

/// One of the views that show a part of each name, and what typing and an answer do in it.
struct PartViewCase {
  const char* label;
  int uncheckedBox;             ///< the scope box clicked off
  EditScope scope;              ///< the view that leaves
  const char* onReadme;         ///< pasted at the end of README's line before the answer
  const char* onArchive;        ///< typed at the end of x.tar.gz's line before the answer
  const char* answer;           ///< b.txt's name in the answer: only its shown part differs
  std::u16string readmeShown;   ///< README's line once "Z" is typed at its end after the answer
  std::u16string archiveShown;  ///< x.tar.gz's line once "Q" is typed at its end after the answer
  std::vector<std::string> disk;
};

void PrintTo(const PartViewCase& c, std::ostream* out) { *out << c.label; }

class AiGuiPartViewTest : public AiServerFixture, public testing::WithParamInterface<PartViewCase> {
 protected:
  std::size_t LineOf(std::u16string_view original) const {
    const NameList& names = Editor().Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].originalName == original) return i;
    }
    ADD_FAILURE() << ToUtf8(original) << " is not listed";
    return 0;
  }
  const NameEntry& LineNamed(std::u16string_view original) const { return Editor().Names()[LineOf(original)]; }

  /// Puts the caret at the end of `original`'s line, with a click and End.
  void CaretToEnd(std::u16string_view original) {
    WaitOutDoubleClick();
    ClickAt(CellPoint(static_cast<int>(LineOf(original)), MinColumnOf(Editor().Scope())));
    Key(WXK_END);
  }
  void TypeAtEnd(std::u16string_view original, const char* text) {
    CaretToEnd(original);
    TypeText(text);
  }
};

// Inserting the answer names one line; the lines typed on before keep what they show, and typing
// on them afterwards goes on from there: the disk gets exactly the names the lines show, the part
// each view hides untouched.
TEST_P(AiGuiPartViewTest, InsertedAnswerKeepsWhatOtherLinesShow) {
  const PartViewCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(OpenFolderWith({"README", "x.tar.gz", "b.txt", "\xE6\x97\xA5\xE8\xA8\x98.md"}));
  ASSERT_NO_FATAL_FAILURE(FocusEditor());
  ASSERT_NO_FATAL_FAILURE(ClickStripButton(view->ScopeStrip(), c.uncheckedBox));
  ASSERT_TRUE(PumpUntil([&] { return Editor().Scope() == c.scope; }));
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->SetData(new wxTextDataObject(c.onReadme));
  wxTheClipboard->Close();
  CaretToEnd(u"README");
  Key('V', wxMOD_CONTROL);
  TypeAtEnd(u"x.tar.gz", c.onArchive);
  const NameList typed = Editor().Names();

  server.AddReply(ChatTestServer::StreamOf(
      {"'''\n{\"filenames\":[\n", std::string("{\"original\":\"b.txt\",\"renamed\":\"") + c.answer + "\"}\n", "]}\n'''"}));
  ScriptedDialogUser user(sim, [&](CAiDialog& dialog) {
    user.Click(user.Box(dialog, CAiDialog::kPrompt));
    sim.Text("rule");
    ASSERT_TRUE(PumpUntil([&] { return user.Box(dialog, CAiDialog::kPrompt).GetValue() == "rule"; }));
    user.Click(*dialog.FindWindow(CAiDialog::kSend));
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 1 && !dialog.Assistant().Busy(); }));
    user.Click(*dialog.FindWindow(CAiDialog::kInsertParsed));
  });
  ASSERT_NO_FATAL_FAILURE(FocusEditor());
  sim.Char('I', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }, 30s));
  const std::u16string answered = FromUtf8(c.answer);
  ASSERT_TRUE(PumpUntil([&] { return LineNamed(u"b.txt").newName == answered; }));
  EXPECT_EQ(LineNamed(u"b.txt").lineText, ScopedPart(answered, c.scope));
  for (const char16_t* name : {u"README", u"x.tar.gz", u"\u65E5\u8A18.md"}) {
    SCOPED_TRACE(ToUtf8(name));
    EXPECT_EQ(LineNamed(name).lineText, typed[LineOf(name)].lineText);
    EXPECT_EQ(LineNamed(name).newName, typed[LineOf(name)].newName);
  }

  ASSERT_NO_FATAL_FAILURE(FocusEditor());
  TypeAtEnd(u"README", "Z");
  TypeAtEnd(u"x.tar.gz", "Q");
  EXPECT_EQ(LineNamed(u"README").lineText, c.readmeShown);
  EXPECT_EQ(LineNamed(u"x.tar.gz").lineText, c.archiveShown);
  for (const NameEntry& entry : Editor().Names()) {
    EXPECT_TRUE(ShowsPartOf(entry.newName, c.scope, entry.lineText))
        << ToUtf8(entry.newName) << " shown as " << ToUtf8(entry.lineText);
  }

  std::vector<std::string> expected = c.disk;
  std::sort(expected.begin(), expected.end());
  DialogConfirmer confirmer(sim);
  ClickStripButton(strip::kApply);
  EXPECT_TRUE(PumpUntil([&] { return DiskNames() == expected; })) << "the disk holds " << testing::PrintToString(DiskNames());
}

INSTANTIATE_TEST_SUITE_P(
    Views, AiGuiPartViewTest,
    testing::Values(PartViewCase{"ExtensionOnly", strip::kName, EditScope::Extension, "md", ".1", "b.caf\xC3\xA9", u"mdZ",
                                 u".gz.1Q", {"READMEmdZ", "x.tar.gz.1Q", "b.caf\xC3\xA9", "\xE6\x97\xA5\xE8\xA8\x98.md"}},
                    PartViewCase{"NameOnly", strip::kExtension, EditScope::BaseName, ".v2", "_1", "B\xC3\xA9.txt",
                                 u"README.v2Z", u"x.tar_1Q",
                                 {"README.v2Z", "x.tar_1Q.gz", "B\xC3\xA9.txt", "\xE6\x97\xA5\xE8\xA8\x98.md"}}),
    [](const testing::TestParamInfo<PartViewCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace nomvarix::test
