#pragma once

namespace nomvarix::cmd {

// Command numbers. Those from 57600 upward are the framework's standard identifiers; menu items,
// accelerators and the command strip all issue these numbers.
enum : int {
  kApplyChanges = 32774,
  kRevertLastChanges = 32775,
  kIncreaseFont = 32777,
  kDecreaseFont = 32778,
  kValidateChanges = 32784,
  kResetAndReload = 32785,
  kSmartNumberings = 32786,
  kSortCaseSensitive = 32787,
  kFind = 32788,
  kExplorerIntegration = 32791,
  kUppercase = 32792,
  kLowercase = 32793,
  kTitleCase = 32794,
  kToggleCase = 32795,
  kRemoveSpace = 32796,
  kChangeToUnderscores = 32797,
  kChangeToHyphen = 32798,
  kDateLong = 32802,
  kDateShort = 32803,
  kDateTime = 32805,
  kSizeWxH = 32806,
  kSizeParenthesized = 32808,
  kSizeUnderscored = 32809,
  kSizeParenthesizedUnderscored = 32810,
  kRightAlignSelection = 32811,
  kTrimLeftSelection = 32812,
  kSizeUnderscoreParenthesized = 32813,
  kTrimLeft = 32814,
  kAutoCheckConflicts = 32815,
  kRightAlign = 32816,
  kReload = 32818,
  kTypeChangedInRed = 32819,
  kRecordMacro = 32820,
  kPlayMacro = 32821,
  kStopRecord = 32822,
  kSortByFileType = 32823,
  kSortByFileName = 32824,
  kSelectAll = 32825,
  kSetFilter = 32826,
  kSaveMacro = 32828,
  kLoadMacro = 32829,
  kAi = 32830,
  kKeepEditsBetweenRuns = 32831,
  kSortNumbersByValue = 32850,
  kDateTakenLong = 32851,
  kDateTakenShort = 32852,
  kDateTakenTime = 32853,
  kInsertFromMetadata = 32854,
  kSortByDateTaken = 32855,
  kRenameHistory = 32860,
  kKeepRenameHistory = 32861,
  kRecentFolderFirst = 57616,  // and the seven that follow
  kCopy = 57634,
  kCut = 57635,
  kPaste = 57637,
  kUndo = 57643,
  kRedo = 57644,
  kPrint = 57607,
  kPrintDirect = 57608,
  kPrintPreview = 57609,
  kAbout = 57664,
  kExit = 57665,
  kNextPane = 57680,
  kPreviousPane = 57681,
  kToolbar = 59392,
  kStatusBar = 59393,
};

/// The range the program's own and the framework's command numbers fall in.
inline constexpr int kFirstCommand = 32768;
inline constexpr int kLastCommand = 59999;

/// wxWidgets takes menu item ids below 32767 only, so a command's item id is its number less this
/// offset (which keeps clear of the toolkit's own ids 4999..5999). Only the wx boundary converts.
inline constexpr int kMenuIdOffset = 30000;
constexpr int MenuIdOf(int command) { return command - kMenuIdOffset; }
constexpr int CommandOfMenuId(int menuId) { return menuId + kMenuIdOffset; }
constexpr bool IsCommandMenuId(int menuId) {
  return CommandOfMenuId(menuId) >= kFirstCommand && CommandOfMenuId(menuId) <= kLastCommand;
}

}  // namespace nomvarix::cmd
