// 400 photos, JPEGs and HEICs whose names do not follow the order they were taken in, renamed to
// "date taken_counter_name" with the running program: "Sort by Date Taken", "Insert from
// Metadata" through its dialog, "Smart Numberings" over a column, "Apply"; the names on disk
// then count in shooting order.
#include <cstdio>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "ShownDialog.h"
#include "DialogConfirmer.h"
#include "EditorGuiFixture.h"
#include "MenuCommands.h"
#include "resources/CommandIds.h"
#include "support/ExifBytes.h"
#include "support/HeicBytes.h"
#include "support/NameListText.h"
#include "text/Utf16.h"
#include "view/MetadataDlg.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

constexpr int kPhotos = 400;

/// Gives the "Insert from Metadata" dialog its pattern as soon as it shows, then clicks Insert.
class MetadataDialogAnswer : public wxTimer {
 public:
  MetadataDialogAnswer(wxUIActionSimulator& sim, wxString pattern) : sim_(sim), pattern_(std::move(pattern)) {
    Start(100);
  }
  bool Answered() const { return answered_; }

  void Notify() override {
    CMetadataDlg* dialog = ShownDialog();
    if (!dialog || answered_) return;
    // The pattern box is the dialog's first text box.
    wxTextCtrl* pattern = nullptr;
    for (wxWindow* child : dialog->GetChildren()) {
      if ((pattern = dynamic_cast<wxTextCtrl*>(child))) break;
    }
    auto* insert = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK));
    if (!pattern || !insert) return;
    pattern->SetValue(pattern_);
    const wxRect rect = insert->GetScreenRect();
    sim_.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    Settle();
    sim_.MouseClick();
    answered_ = true;
    Stop();
  }

 private:
  static CMetadataDlg* ShownDialog() { return test::ShownDialog<CMetadataDlg>(); }

  wxUIActionSimulator& sim_;
  wxString pattern_;
  bool answered_ = false;
};

/// The place of photo `i` in shooting order: a permutation of 0..kPhotos-1 unlike name order.
int ShotAt(int i) { return (i * 7919 + 123) % kPhotos; }

/// "2023:01:01 00:00:00" and so on, six hours apart per place, as EXIF writes it.
std::string ExifDate(int shot, char dateSeparator) {
  const int hours = shot * 6;
  // 400 photos over 100 days from New Year: January has 31 days, February 28, March 31, April 30.
  int day = hours / 24;
  int month = 1;
  for (const int length : {31, 28, 31, 30}) {
    if (day < length) break;
    day -= length;
    ++month;
  }
  char text[32];
  std::snprintf(text, sizeof text, "2023%c%02d%c%02d %02d:00:00", dateSeparator, month, dateSeparator, day + 1,
                hours % 24);
  return text;
}

std::string PhotoName(int i) {
  char name[48];
  std::snprintf(name, sizeof name, "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE8\xA8\x98_%03d.%s", i, i % 2 ? "heic" : "jpg");
  return name;
}

using DateTakenOrderGuiTest = EditorGuiFixture;

TEST_F(DateTakenOrderGuiTest, DateAndCounterFollowTheShootingOrderOfJpegsAndHeics) {
  for (int i = 0; i < kPhotos; ++i) {
    const std::string exif = ExifBlock({{kDateTimeOriginal, ExifDate(ShotAt(i), ':')}});
    folder.AddFile(PhotoName(i), i % 2 ? Heic(exif) : Jpeg(exif));
  }
  ASSERT_TRUE(frame->SelectPath(folder.Path16()));
  ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == kPhotos && Editor().Metrics().dividerX > 0; }));

  IssueMenuCommand(*frame, cmd::kSortByDateTaken);
  std::vector<std::u16string> shootingOrder(kPhotos);
  for (int i = 0; i < kPhotos; ++i) shootingOrder[ShotAt(i)] = FromUtf8(PhotoName(i));
  ASSERT_EQ(OriginalNames(Editor().Names()), shootingOrder);

  FocusEditor();
  Key('A', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Selection().HasWidth(); }));
  {
    MetadataDialogAnswer answer(sim, "{DateTaken:yyyy-MM-dd}_");
    IssueMenuCommand(*frame, cmd::kInsertFromMetadata);
    ASSERT_TRUE(answer.Answered());
  }
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[kPhotos - 1].newName.starts_with(u"2023-04-10_"); }));

  // "001_" typed into a column caret after the date on every line, then numbered down the column.
  constexpr int kAfterDate = 11;
  WaitOutDoubleClick();
  ClickAt(RulerPoint(kAfterDate));
  ASSERT_EQ(Editor().Selection(), (BlockSelection{0, kPhotos - 1, kAfterDate, kAfterDate}));
  TypeText("001_");
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[kPhotos - 1].newName.substr(kAfterDate, 4) == u"001_"; }));
  WaitOutDoubleClick();
  MoveTo(RulerPoint(kAfterDate));
  sim.MouseDown();
  Settle();
  MoveTo(RulerPoint(kAfterDate + 2));
  MoveTo(RulerPoint(kAfterDate + 4));
  sim.MouseUp();
  Settle();
  ASSERT_EQ(Editor().Selection(), (BlockSelection{0, kPhotos - 1, kAfterDate, kAfterDate + 4}));
  IssueMenuCommand(*frame, cmd::kSmartNumberings);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[kPhotos - 1].newName.substr(kAfterDate, 4) == u"400_"; }));

  DialogConfirmer confirmer(sim);
  ClickStripButton(strip::kApply);
  ASSERT_TRUE(PumpUntil([&] { return !Editor().AnyNameChanged() && DiskNames().size() == kPhotos &&
                                     DiskNames().front().starts_with("2023-"); }));
  std::set<std::string> expected;
  for (int i = 0; i < kPhotos; ++i) {
    char counter[8];
    std::snprintf(counter, sizeof counter, "%03d_", ShotAt(i) + 1);
    expected.insert(ExifDate(ShotAt(i), '-').substr(0, 10) + "_" + counter + PhotoName(i));
  }
  const std::vector<std::string> onDisk = DiskNames();
  EXPECT_EQ(std::set<std::string>(onDisk.begin(), onDisk.end()), expected);
}

}  // namespace
}  // namespace nomvarix::test
