#include "transform/FileTextInsertion.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "editor/NameEditor.h"
#include "text/Utf16.h"
#include "transform/ParallelFileReads.h"

namespace nomvarix {
namespace {

/// Lets the first `lines` lines through, then cancels.
class FirstLines final : public WorkProgress {
 public:
  explicit FirstLines(std::size_t lines) : lines_(lines) {}
  bool Advance(std::size_t done, std::size_t) override {
    cancelled_ = cancelled_ || done >= lines_;
    return !cancelled_;
  }
  bool Cancelled() const override { return cancelled_; }

 private:
  std::size_t lines_;
  bool cancelled_ = false;
};

}  // namespace

FileTextInsertion InsertFileText(NameEditor& editor, const FileTextSource& source, WorkProgress& progress) {
  const BlockSelection s = editor.Selection();
  if (s.startColumn == -1 && s.endColumn == -1) return {};
  FileTextInsertion result{.done = true};
  editor.PushUndo();
  const std::int32_t l0 = std::max(std::min(s.startLine, s.endLine), 0);
  const std::int32_t l1 = std::max(s.startLine, s.endLine);
  const std::int32_t c0 = std::min(s.startColumn, s.endColumn);
  const auto last = std::min(l1, static_cast<std::int32_t>(editor.LineCount()) - 1);
  std::int32_t inserted = 0;
  const auto lines = static_cast<std::size_t>(std::max(last - l0 + 1, 0));
  for (std::int32_t line = l0; line <= last && progress.Advance(static_cast<std::size_t>(line - l0), lines); ++line) {
    const NameEntry& entry = editor.Names()[static_cast<std::size_t>(line)];
    const std::optional<std::u16string> text = source(editor.CurrentFolder() + entry.originalName);
    ++result.reached;
    if (!text) {
      ++result.withoutText;
      continue;
    }
    editor.DeleteSelectedCellsKeepNonEmpty(line);
    if (entry.lineText.size() < static_cast<std::size_t>(c0)) continue;
    editor.InsertText(line, c0, *text);
    inserted = static_cast<std::int32_t>(text->size());
  }
  const std::int32_t column = c0 + inserted;
  editor.SetSelection({l0, l1, column, column}, {l1, column});
  return result;
}

std::vector<std::u16string> SelectedFilePaths(const NameEditor& editor) {
  const BlockSelection s = editor.Selection();
  if (s.startColumn == -1 && s.endColumn == -1) return {};
  const std::int32_t first = std::max(std::min(s.startLine, s.endLine), 0);
  const std::int32_t last = std::min(std::max(s.startLine, s.endLine), static_cast<std::int32_t>(editor.LineCount()) - 1);
  std::vector<std::u16string> paths;
  for (std::int32_t line = first; line <= last; ++line) {
    paths.push_back(editor.CurrentFolder() + editor.Names()[static_cast<std::size_t>(line)].originalName);
  }
  return paths;
}

FileTextInsertion InsertFileTextInParallel(NameEditor& editor, const FileTextSource& source, WorkProgress& progress) {
  const BlockSelection s = editor.Selection();
  if (s.startColumn == -1 && s.endColumn == -1) return {};
  const std::vector<std::u16string> paths = SelectedFilePaths(editor);
  std::vector<std::optional<std::u16string>> texts(paths.size());
  const std::size_t reached = ReadInParallel(paths.size(), [&](std::size_t i) { texts[i] = source(paths[i]); }, progress);
  FirstLines firstLines(reached);
  // InsertFileText asks for the selected lines' texts once each, in order.
  return InsertFileText(
      editor,
      [&, next = std::size_t{0}](std::u16string_view) mutable { return std::move(texts[next++]); },
      firstLines);
}

std::u16string FormatCreationDate(FileClock::time_point time, std::u16string_view formatName) {
  using namespace std::chrono;
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{floor<minutes>(time - day)};
  const int y = static_cast<int>(date.year());
  const unsigned m = static_cast<unsigned>(date.month());
  const unsigned d = static_cast<unsigned>(date.day());
  char text[64];
  if (formatName == u"yyyy-MM-dd") {
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", y, m, d);
  } else if (formatName == u"yyMMdd") {
    std::snprintf(text, sizeof text, "%02d%02u%02u", ((y % 100) + 100) % 100, m, d);
  } else if (formatName == u"yyyy-MM-dd HH-mm") {
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d-%02d", y, m, d, static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()));
  } else if (formatName == u"dd.MM.yyyy") {
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", d, m, y);
  } else {
    std::snprintf(text, sizeof text, "%04d%02u%02u", y, m, d);
  }
  return FromUtf8(text);
}

std::u16string FormatImageSize(ImageSize size, std::u16string_view pattern) {
  std::u16string text;
  for (const char16_t u : pattern) {
    if (u == u'W') {
      text += FromUtf8(std::to_string(static_cast<std::int32_t>(size.width)));
    } else if (u == u'H') {
      text += FromUtf8(std::to_string(static_cast<std::int32_t>(size.height)));
    } else {
      text.push_back(u);
    }
  }
  return text;
}

}  // namespace nomvarix
