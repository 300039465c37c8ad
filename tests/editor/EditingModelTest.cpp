// Random editing sessions checked against a plain model: the model keeps whole copies of every
// state for undo and redo, and knows which lines an edit may touch and how a name follows its line.
// The editor keeps compact snapshots, chunks, two threads and cached keys; any difference between
// the two is a name changed that nobody changed.
#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/NameEditor.h"
#include "editor/ParallelRanges.h"
#include "support/FakeFileSystem.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// What the model compares: every line's texts and mark, the selection and the caret.
struct ModelState {
  std::vector<std::u16string> originalNames;
  std::vector<std::u16string> lineTexts;
  std::vector<std::u16string> newNames;
  std::vector<bool> errorMarks;
  BlockSelection selection;
  TextPos caret;

  bool operator==(const ModelState&) const = default;
};

ModelState StateOf(const NameEditor& editor) {
  ModelState state;
  for (const NameEntry& entry : editor.Names()) {
    state.originalNames.push_back(entry.originalName);
    state.lineTexts.push_back(entry.lineText);
    state.newNames.push_back(entry.newName);
    state.errorMarks.push_back(entry.errorMark);
  }
  state.selection = editor.Selection();
  state.caret = editor.Caret();
  return state;
}

/// Characters of every kind a name holds: ASCII, Latin-1 (the one-byte snapshots), other scripts,
/// pairs (whose second halves stay out of the escaped-byte range, so that a half pair next to an
/// escaped byte can be told from a real character) and undecodable bytes.
const std::vector<std::u16string>& CharacterPool() {
  static const std::vector<std::u16string> pool{
      u"a",      u"Z",      u"7",      u" ",      u".",      u".",      u"-",      u"_",     u"\u00E9",
      u"\u00DF", u"\u00FF", u"\u0080", u"\u65E5", u"\u8A18", u"\u2013", u"\u2019", u"\u0142",
      u"\U0001F600", u"\U0001D11E", std::u16string{kEscapedByteFirst}, std::u16string{0xDCFF}};
  return pool;
}

class Session {
 public:
  explicit Session(std::uint32_t seed) : random_(seed) {}

  std::u16string RandomText(std::size_t most) {
    std::u16string text;
    const std::size_t length = Below(most + 1);
    for (std::size_t i = 0; i < length; ++i) text += CharacterPool()[Below(CharacterPool().size())];
    return text;
  }

  /// A name the folder lists: not hidden, not "." or "..".
  std::u16string RandomName() {
    std::u16string name(u"n");
    name += RandomText(10);
    if (Below(3) == 0) name += u".jpg";
    return name;
  }

  void Load(std::size_t lines) {
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < lines; ++i) names.push_back(RandomName());
    fs_.AddFolder(u"/f/", names);
    ASSERT_TRUE(editor_.LoadFolder(fs_, u"/f/", SortOrder{false, true}));
    ASSERT_EQ(editor_.LineCount(), lines);
    undo_.clear();
    redo_.clear();
  }

  /// One random step, checked against the model.
  void Step(int step) {
    const ModelState before = StateOf(editor_);
    current_ = before;
    const std::size_t kind = Below(104);
    if (kind < 30) {
      RandomSelection();
    } else if (kind < 50) {
      const char16_t typed = CharacterPool()[Below(CharacterPool().size() - 4)][0];  // no pairs or bytes
      const bool ran = editor_.TypeChar(typed);
      Edit(before, ran, "type", step);
      if (ran) ExpectTyped(before, typed, step);
    } else if (kind < 58) {
      Edit(before, editor_.Backspace(), "backspace", step);
    } else if (kind < 64) {
      Edit(before, editor_.DeleteForward(), "delete", step);
    } else if (kind < 72) {
      std::u16string text = RandomText(6);
      if (Below(2) == 0) {
        text += u"\r\n";
        text += RandomText(4);
      }
      Edit(before, editor_.PasteText(text), "paste", step);
    } else if (kind < 76) {
      Edit(before, editor_.CutSelection(), "cut", step);
    } else if (kind < 86) {
      Travel(undo_, redo_, editor_.Undo(), "undo", step);
    } else if (kind < 95) {
      Travel(redo_, undo_, editor_.Redo(), "redo", step);
    } else if (kind < 96) {
      // A name set from outside as one step, as the AI answers are.
      const std::size_t line = Below(editor_.LineCount());
      editor_.PushUndo();
      editor_.SetNewName(line, RandomName());
      Push(before);
      CheckInvariants("set name", step);
    } else if (kind < 97) {
      ShowOtherLines();
      CheckInvariants("other lines", step);
    } else if (kind >= 100) {
      NamesFromOutside(before, kind, step);
    } else {
      const auto scope = static_cast<EditScope>(Below(3));
      if (editor_.SetEditScope(scope)) {
        undo_.clear();
        redo_.clear();
        for (std::size_t i = 0; i < editor_.LineCount(); ++i) {
          ASSERT_EQ(editor_.Names()[i].newName, before.newNames[i]) << "scope change at step " << step;
        }
      }
      CheckInvariants("scope", step);
    }
  }

 private:
  std::size_t Below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

  void RandomSelection() {
    const auto lines = static_cast<std::int32_t>(editor_.LineCount());
    std::int32_t first = static_cast<std::int32_t>(Below(static_cast<std::size_t>(lines)));
    std::int32_t last = first;
    const std::size_t shape = Below(4);
    // Column carets and blocks over many lines, sometimes over nearly all (the two-thread path).
    if (shape >= 1) last = shape == 3 ? lines - 1 : std::min(lines - 1, first + static_cast<std::int32_t>(Below(600)));
    if (shape == 3) first = static_cast<std::int32_t>(Below(3)) == 0 ? 0 : first / 4;
    const auto from = static_cast<std::int32_t>(Below(14));
    const auto to = shape == 2 ? from + static_cast<std::int32_t>(Below(4)) : from;
    editor_.SetSelection({first, last, from, to}, {last, to});
  }

  /// Names set from outside the lines, in whatever scope is in force: an AI answer or a revert
  /// naming some lines, a reset of every name, or the folder loaded again (a filter or sort change)
  /// with the edits put back. A named line shows its new name's part in the scope; every other line
  /// keeps its text and its name, so that the next edit of it works from what it shows.
  void NamesFromOutside(const ModelState& before, std::size_t kind, int step) {
    std::vector<LineName> names;
    if (kind == 103) {
      std::map<std::u16string, std::u16string> kept;  // by name on disk, as the edits are kept
      for (std::size_t line = 0; line < before.newNames.size(); ++line) {
        if (before.newNames[line] != before.originalNames[line]) kept[before.originalNames[line]] = before.newNames[line];
      }
      ASSERT_TRUE(editor_.LoadFolder(fs_, u"/f/", SortOrder{false, true}));
      undo_.clear();
      redo_.clear();
      for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
        if (const auto it = kept.find(editor_.Names()[line].originalName); it != kept.end()) names.push_back({line, it->second});
      }
      editor_.SetNewNames(names, UndoStep::None);
      for (const LineName& name : names) {
        ASSERT_EQ(editor_.Names()[name.line].newName, name.name) << "edits put back after a reload, step " << step;
      }
      CheckInvariants("reload", step);
      return;
    } else {
      for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
        if (kind == 102) {
          names.push_back({line, before.originalNames[line]});
        } else if (Below(4) == 0) {
          names.push_back({line, Below(3) == 0 ? before.originalNames[line] : RandomName()});
        }
      }
      const bool changed = editor_.SetNewNames(names, UndoStep::Take);
      std::vector<std::u16string> expected = before.newNames;
      for (const LineName& named : names) expected[named.line] = named.name;
      ASSERT_EQ(changed, expected != before.newNames) << "names from outside, step " << step;
      if (changed) Push(before);
    }
    const ModelState after = StateOf(editor_);
    std::vector<bool> named(after.newNames.size(), false);
    for (const LineName& name : names) named[name.line] = after.newNames[name.line] != before.newNames[name.line];
    for (std::size_t line = 0; line < after.newNames.size(); ++line) {
      if (named[line]) {
        ASSERT_EQ(after.lineTexts[line], ScopedPart(after.newNames[line], editor_.Scope())) << "named line " << line << ", step " << step;
      } else {
        ASSERT_EQ(after.lineTexts[line], before.lineTexts[line]) << "a line nobody named, line " << line << ", step " << step;
        ASSERT_EQ(after.newNames[line], before.newNames[line]) << "a line nobody named, line " << line << ", step " << step;
      }
      ASSERT_TRUE(ShowsPartOf(after.newNames[line], editor_.Scope(), after.lineTexts[line])) << "line " << line << ", step " << step;
    }
    CheckInvariants("names from outside", step);
  }

  /// Other lines in place of the list, as "Revert Last Changes" shows them: taken as no step, so
  /// the steps before them must bring the list they were taken of back.
  void ShowOtherLines() {
    NameList lines(1 + Below(2 * UndoHistory::kChunkLines));
    for (NameEntry& line : lines) {
      line.originalName = RandomName();
      line.newName = line.lineText = RandomName();
    }
    editor_.ReplaceLines(std::move(lines));
  }

  void Push(const ModelState& before) {
    undo_.push_back(before);
    if (undo_.size() > UndoHistory::kLimit) undo_.pop_front();
    redo_.clear();
  }

  /// An edit that took a snapshot when it says it ran; only the lines of the selection may change.
  void Edit(const ModelState& before, bool ran, const char* what, int step) {
    const ModelState after = StateOf(editor_);
    if (!ran) {
      ASSERT_EQ(after.newNames, before.newNames) << what << " that did not run changed a name, step " << step;
    } else {
      Push(before);
    }
    const std::int32_t first = before.selection.startLine;
    const std::int32_t last = before.selection.endLine;
    for (std::size_t i = 0; i < after.newNames.size(); ++i) {
      const auto line = static_cast<std::int32_t>(i);
      if (line >= first && line <= last) continue;
      ASSERT_EQ(after.lineTexts[i], before.lineTexts[i]) << what << " outside its lines, line " << i << ", step " << step;
      ASSERT_EQ(after.newNames[i], before.newNames[i]) << what << " outside its lines, line " << i << ", step " << step;
    }
    // The part of each name outside the scope stays as the line was laid out with it.
    const EditScope scope = editor_.Scope();
    for (std::size_t i = 0; i < after.newNames.size(); ++i) {
      ASSERT_EQ(HeldPart(after.newNames[i], after.lineTexts[i], scope), HeldPart(before.newNames[i], before.lineTexts[i], scope))
          << what << " moved the part outside the scope, line " << i << ", step " << step;
    }
    CheckInvariants(what, step);
  }

  /// Undo or Redo: the editor must come back exactly to the copy the model kept.
  void Travel(std::deque<ModelState>& from, std::deque<ModelState>& to, bool ran, const char* what, int step) {
    ASSERT_EQ(ran, !from.empty()) << what << " at step " << step;
    if (!ran) return;
    to.push_back(current_);
    const ModelState expected = from.back();
    from.pop_back();
    const ModelState after = StateOf(editor_);
    for (std::size_t i = 0; i < after.newNames.size(); ++i) {
      ASSERT_EQ(after.newNames[i], expected.newNames[i]) << what << ", line " << i << ", step " << step;
      ASSERT_EQ(after.lineTexts[i], expected.lineTexts[i]) << what << ", line " << i << ", step " << step;
    }
    ASSERT_EQ(after, expected) << what << " restored another selection, step " << step;
    CheckInvariants(what, step);
  }

  /// Typing as the model sees it: a caret inserts on each of its lines that reaches its column
  /// (after a pair, never inside it); a block overtypes the character at its left column.
  void ExpectTyped(const ModelState& before, char16_t typed, int step) {
    const BlockSelection at = before.selection;
    if (at.IsNone()) return;
    // A caret beyond every line of its span is first brought back to the widest one's end.
    std::size_t widest = 0;
    for (std::int32_t line = at.startLine; line <= at.endLine; ++line) {
      widest = std::max(widest, before.lineTexts[static_cast<std::size_t>(line)].size());
    }
    const auto column = at.HasWidth() ? static_cast<std::size_t>(at.startColumn)
                                      : std::min(static_cast<std::size_t>(at.startColumn), widest);
    for (std::int32_t line = at.startLine; line <= at.endLine; ++line) {
      std::u16string text = before.lineTexts[static_cast<std::size_t>(line)];
      if (at.HasWidth() && column < text.size()) {
        const UnitSpan character = CharacterAt(text, column);
        text.replace(character.begin, character.end - character.begin, 1, typed);
      } else if (!at.HasWidth() && column <= text.size()) {
        text.insert(column + (SplitsSurrogatePair(text, column) ? 1 : 0), 1, typed);
      }
      ASSERT_EQ(editor_.Names()[static_cast<std::size_t>(line)].lineText, text) << "typing, line " << line << ", step " << step << ", selection " << at.startLine << ".." << at.endLine << " columns " << at.startColumn << ".." << at.endColumn;
    }
  }

  static std::u16string HeldPart(const std::u16string& name, const std::u16string& shown, EditScope scope) {
    const bool fits = shown.size() <= name.size();
    EXPECT_TRUE(fits) << "a line shows more than its name holds";
    if (!fits || scope == EditScope::WholeName) return {};
    return scope == EditScope::BaseName ? name.substr(shown.size()) : name.substr(0, name.size() - shown.size());
  }

  /// What holds after any step: each name joins its line's text with the held part, no half pair
  /// stands where it could pair with something it did not come with, and the changed-name flag
  /// matches the names.
  void CheckInvariants(const char* what, int step) {
    bool anyChanged = false;
    for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
      const NameEntry& entry = editor_.Names()[line];
      const std::u16string& name = entry.newName;
      for (std::size_t k = 0; k < name.size(); ++k) {
        if (!IsHighSurrogate(name[k])) continue;
        const bool paired = k + 1 < name.size() && IsLowSurrogate(name[k + 1]) &&
                            !(name[k + 1] >= kEscapedByteFirst && name[k + 1] <= kEscapedByteLast);
        ASSERT_TRUE(paired) << what << " left half a pair in a name, step " << step;
      }
      anyChanged = anyChanged || name != entry.originalName;
      ASSERT_EQ(editor_.LineCells(line).size(), entry.lineText.size()) << what << ", step " << step;
    }
    ASSERT_EQ(editor_.AnyNameChanged(), anyChanged) << what << ", step " << step;
  }

  std::deque<ModelState> undo_;
  std::deque<ModelState> redo_;
  ModelState current_;

 private:
  std::mt19937 random_;
  test::FakeFileSystem fs_;
  NameEditor editor_;
};

/// Runs `steps` random steps over lists of each size; a failure names its seed.
void RunSessions(std::uint32_t seed, const std::vector<std::size_t>& sizes, int steps) {
  for (const std::size_t lines : sizes) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << lines << " lines");
    Session session(seed + static_cast<std::uint32_t>(lines));
    session.Load(lines);
    if (testing::Test::HasFatalFailure()) return;
    for (int step = 0; step < steps; ++step) {
      session.Step(step);
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}

// Sizes on both sides of a saved chunk's edge, and one large enough for edits on two threads.
const std::vector<std::size_t> kSmallSizes{1, 5, UndoHistory::kChunkLines - 1, UndoHistory::kChunkLines + 1,
                                           2 * UndoHistory::kChunkLines + 3};
const std::vector<std::size_t> kLargeSizes{kParallelLines + UndoHistory::kChunkLines + 5};

TEST(EditingModelTest, FixedSeedsAgreeWithTheModel) {
  for (const std::uint32_t seed : {1u, 2u, 3u, 17u, 4242u, 90001u}) RunSessions(seed, kSmallSizes, 400);
  RunSessions(7u, kLargeSizes, 150);
}

TEST(EditingModelTest, AFreshSeedAgreesWithTheModel) {
  const std::uint32_t seed = std::random_device{}();
  RecordProperty("seed", static_cast<int>(seed));
  std::printf("fresh seed: %u\n", seed);
  RunSessions(seed, kSmallSizes, 400);
}

}  // namespace
}  // namespace nomvarix
