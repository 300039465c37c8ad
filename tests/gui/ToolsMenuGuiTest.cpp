// A command of the Tools pop-up chosen with the real mouse and keys, then undone.
#include <gtest/gtest.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <vector>

#include "EditorGuiFixture.h"
#include "support/ExifBytes.h"
#include "resources/CommandIds.h"
#include "support/NameListText.h"
#include "support/PngBytes.h"
#include "support/WaitingFifo.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

/// Walks the pop-up with the given keys once it has opened.
class ChooseWithKeys : public wxTimer {
 public:
  ChooseWithKeys(wxUIActionSimulator& sim, wxWindow& owner, std::vector<int> keys)
      : sim_(sim), owner_(owner), keys_(std::move(keys)) {
    owner_.Bind(wxEVT_MENU_OPEN, &ChooseWithKeys::OnMenuOpen, this);
    Start(50);
  }
  ~ChooseWithKeys() override { owner_.Unbind(wxEVT_MENU_OPEN, &ChooseWithKeys::OnMenuOpen, this); }

  void Notify() override {
    if (!opened_) return;
    Stop();
    for (const int key : keys_) {
      sim_.Char(key);
      Settle();
    }
  }

 private:
  void OnMenuOpen(wxMenuEvent& event) {
    if (event.IsPopup()) opened_ = true;
    event.Skip();
  }

  wxUIActionSimulator& sim_;
  wxWindow& owner_;
  std::vector<int> keys_;
  bool opened_ = false;
};

using ToolsMenuGuiTest = EditorGuiFixture;

TEST_F(ToolsMenuGuiTest, UppercaseFromTheToolsPopUpIsOneUndoStep) {
  OpenFolderWith({"a photo.jpg", "b note.txt"});
  ClickAt(wxPoint(view->GetClientSize().x - 30, view->GetClientSize().y - 30));
  sim.Char('A', wxMOD_CONTROL);
  Settle();
  const BlockSelection all = Editor().Selection();
  ASSERT_TRUE(all.HasWidth());

  const StripButton* tools = view->ButtonStrip().Find(strip::kTools);
  ASSERT_NE(tools, nullptr);
  // The drop-down arrow at the button's right end opens the pop-up.
  MoveTo(wxPoint(tools->rect.GetRight() - 6, tools->rect.GetTop() + tools->rect.height / 2));
  // The second item ("Case"), into its sub-menu, its first item.
  ChooseWithKeys choose(sim, *view, {WXK_DOWN, WXK_DOWN, WXK_RIGHT, WXK_RETURN});
  sim.MouseClick();
  ASSERT_TRUE(PumpUntil([&] { return LineTexts(Editor().Names())[0] == u"A PHOTO.JPG"; }));
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"A PHOTO.JPG", u"B NOTE.TXT"}));

  sim.Char('Z', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return LineTexts(Editor().Names())[0] == u"a photo.jpg"; }));
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"a photo.jpg", u"b note.txt"}));
  EXPECT_EQ(Editor().Selection(), all);
}

TEST_F(ToolsMenuGuiTest, ImageSizesOverAPipeAmongTheImagesSkipItsLine) {
  const std::string png = PngHeader(1920, 1080);
  folder.AddFile("a.png", png);
  WaitingFifo fifo(folder.Path() + "b.png");
  ASSERT_TRUE(fifo.Created());
  folder.AddFile("c.png", png);
  ASSERT_TRUE(frame->SelectPath(folder.Path16()));
  ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == 3 && Editor().Metrics().dividerX > 0; }));
  ClickAt(CellPoint(0, 0));
  sim.Char('A', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Selection().HasWidth(); }));

  wxCommandEvent insert(wxEVT_MENU, cmd::MenuIdOf(cmd::kSizeWxH));
  insert.SetEventObject(frame);
  frame->ProcessWindowEvent(insert);
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"1920x1080a.png", u"b.png", u"1920x1080c.png"}));
  EXPECT_FALSE(fifo.ReaderCameBy());
}

TEST_F(ToolsMenuGuiTest, DatesTakenFromTheToolsPopUpSkipPipesAndPhotosWithoutThem) {
  folder.AddFile("a.jpg", Jpeg(ExifBlock({{kDateTimeOriginal, "2007:03:09 23:30:00"}})));
  WaitingFifo fifo(folder.Path() + "b.jpg");
  ASSERT_TRUE(fifo.Created());
  folder.AddFile("c.jpg", Jpeg(""));
  folder.AddFile("d.jpg", Jpeg(ExifBlock({{kDateTimeDigitized, "2024:12:31 08:00:00"}})));
  ASSERT_TRUE(frame->SelectPath(folder.Path16()));
  ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == 4 && Editor().Metrics().dividerX > 0; }));
  ClickAt(CellPoint(0, 0));
  sim.Char('A', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Selection().HasWidth(); }));

  const StripButton* tools = view->ButtonStrip().Find(strip::kTools);
  ASSERT_NE(tools, nullptr);
  MoveTo(wxPoint(tools->rect.GetRight() - 6, tools->rect.GetTop() + tools->rect.height / 2));
  // "Insert Date Taken" is the sixth item; its second item is "yyMMdd".
  ChooseWithKeys choose(sim, *view, {WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_RIGHT,
                                     WXK_DOWN, WXK_RETURN});
  sim.MouseClick();
  ASSERT_TRUE(PumpUntil([&] { return LineTexts(Editor().Names())[0] != u"a.jpg"; }));
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"070309a.jpg", u"b.jpg", u"c.jpg", u"241231d.jpg"}));
  EXPECT_FALSE(fifo.ReaderCameBy());

  sim.Char('Z', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return LineTexts(Editor().Names())[0] == u"a.jpg"; }));
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"a.jpg", u"b.jpg", u"c.jpg", u"d.jpg"}));
}

}  // namespace
}  // namespace nomvarix::test
