// A macro recorded from real key events in the running program and played back.
#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "EditorGuiFixture.h"
#include "support/NameListText.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class MacroGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    OpenFolderWith({"one", "three", "two"});
  }
  Names Texts() const { return LineTexts(Editor().Names()); }
};

TEST_F(MacroGuiTest, ARecordedMacroTypesTheSameTextAgain) {
  ClickAt(RulerPoint(0));  // a column caret
  ASSERT_EQ(view->Session().Editor().Selection(), (BlockSelection{0, 2, 0, 0}));

  // The macro group shows its buttons.
  if (!view->ButtonStrip().Find(strip::kRecord)->visible) ClickStripButton(strip::kMacro);
  ClickStripButton(strip::kRecord);
  ASSERT_TRUE(view->Macro().Recording());
  EXPECT_EQ(view->ButtonStrip().Find(strip::kRecord)->caption, u"Stop");
  sim.Text("Ab-");
  ASSERT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-one", u"Ab-three", u"Ab-two"}; }));
  ClickStripButton(strip::kRecord);  // Stop
  ASSERT_FALSE(view->Macro().Recording());
  ASSERT_FALSE(view->Macro().Events().empty());
  EXPECT_TRUE(view->ButtonStrip().Find(strip::kPlay)->enabled);

  sim.Char(WXK_HOME);  // the caret back to column 0 of every line; not recorded
  Settle();
  ClickStripButton(strip::kPlay);
  ASSERT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-Ab-one", u"Ab-Ab-three", u"Ab-Ab-two"}; }));
  EXPECT_EQ(view->ButtonStrip().Find(strip::kRecord)->caption, u"Record");

  sim.Char('Z', wxMOD_CONTROL);  // each played key was its own edit
  EXPECT_TRUE(PumpUntil([&] { return Texts() == Names{u"AbAb-one", u"AbAb-three", u"AbAb-two"}; }));
}

}  // namespace
}  // namespace nomvarix::test
