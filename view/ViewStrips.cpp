#include "view/ViewStrips.h"

#include <string>

#include "resources/CommandIds.h"
#include "view/CommandStrip.h"

namespace nomvarix {
namespace {

struct ButtonRow {
  int id;
  const char16_t* caption;
  StripButtonKind kind;
  wxColour fill, text, border;
  int widthPercent = 100;
  bool visible = true;
  bool enabled = true;
  int command = 0;
};

const wxColour kLightBorder(200, 200, 200);
const wxColour kWhite(255, 255, 255);
const wxColour kBlack(0, 0, 0);

StripButton ButtonOf(const ButtonRow& row) {
  StripButton button;
  button.id = row.id;
  button.caption = row.caption;
  button.kind = row.kind;
  button.fillColor = row.fill;
  button.captionColor = row.text;
  button.borderColor = row.border;
  button.widthPercent = row.widthPercent;
  button.visible = row.visible;
  button.enabled = row.enabled;
  if (row.kind == StripButtonKind::DropDown) button.menuId = strip::kToolsMenu;
  return button;
}

const ButtonRow& Separator() {
  static const ButtonRow separator{0, u"", StripButtonKind::Separator, {}, {}, {}};
  return separator;
}

const std::vector<ButtonRow>& CommandRows() {
  using K = StripButtonKind;
  const wxColour slate(75, 85, 99);
  static const std::vector<ButtonRow> rows = {
      {strip::kFilter, u"Filter", K::Push, {165, 165, 165}, kBlack, kLightBorder, 100, true, true, cmd::kSetFilter},
      Separator(),
      {strip::kMacro, u"Macro", K::Group, slate, kWhite, kLightBorder},
      {strip::kRecord, u"Record", K::Push, {167, 51, 43}, kWhite, kLightBorder, 100, false, true, cmd::kRecordMacro},
      {strip::kPlay, u"Play", K::Push, {73, 112, 82}, kWhite, kLightBorder, 100, false, false, cmd::kPlayMacro},
      Separator(),
      {strip::kCopy, u"Copy", K::Push, {240, 218, 154}, kBlack, kLightBorder, 100, true, true, cmd::kCopy},
      {strip::kPaste, u"Paste", K::Push, {240, 218, 154}, kBlack, kLightBorder, 100, true, true, cmd::kPaste},
      Separator(),
      {strip::kUndo, u"Undo", K::Push, {119, 176, 230}, kBlack, kLightBorder, 100, true, true, cmd::kUndo},
      {strip::kRedo, u"Redo", K::Push, {119, 176, 230}, kBlack, kLightBorder, 100, true, true, cmd::kRedo},
      Separator(),
      {strip::kAi, u"AI", K::Push, {124, 58, 237}, kWhite, kLightBorder, 100, true, true, cmd::kAi},
      {strip::kTools, u"Tools", K::DropDown, {0, 120, 215}, kWhite, kLightBorder},
      Separator(),
      {strip::kLeftAlign, u"L Align", K::Push, slate, kWhite, {65, 75, 89}, 100, true, true, cmd::kTrimLeft},
      {strip::kRightAlign, u"R Align", K::Push, slate, kWhite, {65, 75, 89}, 100, true, true, cmd::kRightAlign},
      {strip::kValidate, u"Validate", K::Push, {65, 138, 82}, kWhite, kLightBorder, 100, true, true,
       cmd::kValidateChanges},
      {strip::kRevert, u"Revert", K::Push, {112, 107, 107}, kWhite, kLightBorder, 120, false, true,
       cmd::kRevertLastChanges},
      {strip::kApply, u"Apply", K::Push, {215, 17, 0}, kWhite, kLightBorder, 120, true, true, cmd::kApplyChanges},
  };
  return rows;
}

}  // namespace

void AddScopeButtons(CommandStrip& strip) {
  const wxColour blue(0, 120, 215);
  for (const auto& [id, caption] : {std::pair{strip::kName, u"Name"}, std::pair{strip::kExtension, u".ext"}}) {
    StripButton button = ButtonOf({id, caption, StripButtonKind::CheckBox, blue, kWhite, kLightBorder});
    button.checked = true;
    strip.AddButton(button);
  }
}

void AddCommandButtons(CommandStrip& strip) {
  for (const ButtonRow& row : CommandRows()) strip.AddButton(ButtonOf(row));
}

std::optional<int> CommandOfStripButton(unsigned id) {
  for (const ButtonRow& row : CommandRows()) {
    if (row.id != 0 && static_cast<unsigned>(row.id) == id && row.command != 0) return row.command;
  }
  return std::nullopt;
}

}  // namespace nomvarix
