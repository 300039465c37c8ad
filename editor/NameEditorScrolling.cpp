// The first visible line and column, and the values the scroll bars show.
#include <algorithm>

#include "editor/NameEditor.h"

namespace nomvarix {

void NameEditor::SetMetrics(const ViewMetrics& metrics) { metrics_ = metrics; }

std::int32_t NameEditor::VisibleLineCount() const {
  if (metrics_.lineHeight <= 0) return 0;
  return std::max((metrics_.clientHeight - metrics_.textTop) / metrics_.lineHeight, 0);
}

std::int32_t NameEditor::VisibleColumnCount() const {
  if (metrics_.charWidth <= 0) return 0;
  return std::max((metrics_.clientWidth - metrics_.dividerX - metrics_.textMargin) / metrics_.charWidth, 0);
}

bool NameEditor::ScrollLineIntoView(std::int32_t line) {
  const std::int32_t visible = VisibleLineCount();
  std::int32_t top = topLine_;
  if (line < top) {
    top = line;
  } else if (line >= top + visible) {
    top = line - visible + 1;
  }
  top = std::max(top, 0);
  if (top == topLine_) return false;
  topLine_ = top;
  return true;
}

bool NameEditor::ScrollColumnIntoView(std::int32_t column) {
  const std::int32_t visible = VisibleColumnCount();
  std::int32_t left = leftColumn_;
  if (column < left) {
    left = column;
  } else if (column > left + visible) {
    left = column - visible;
  }
  left = std::max(left, 0);
  if (left == leftColumn_) return false;
  leftColumn_ = left;
  return true;
}

namespace {

/// The new position for `request`, kept in [0, limit]; `ends` says whether First and Last count.
std::int32_t ScrolledPosition(ScrollRequest request, std::int32_t position, std::int32_t page, std::int32_t thumb,
                              std::int32_t limit, bool ends) {
  std::int32_t target = position;
  switch (request) {
    case ScrollRequest::LineBack: target = position - 1; break;
    case ScrollRequest::LineForward: target = position + 1; break;
    case ScrollRequest::PageBack: target = position - page; break;
    case ScrollRequest::PageForward: target = position + page; break;
    case ScrollRequest::Thumb: target = thumb; break;
    case ScrollRequest::First: target = ends ? 0 : position; break;
    case ScrollRequest::Last: target = ends ? limit : position; break;
    case ScrollRequest::Other: break;
  }
  return std::clamp(target, 0, std::max(limit, 0));
}

}  // namespace

bool NameEditor::ScrollVertically(ScrollRequest request, std::int32_t thumb) {
  const std::int32_t visible = VisibleLineCount();
  const std::int32_t limit = static_cast<std::int32_t>(names_.size()) - visible;
  const std::int32_t top = ScrolledPosition(request, topLine_, visible, thumb, limit, false);
  if (top == topLine_) return false;
  topLine_ = top;
  return true;
}

bool NameEditor::ScrollHorizontally(ScrollRequest request, std::int32_t thumb) {
  const std::int32_t visible = VisibleColumnCount();
  const std::int32_t left =
      ScrolledPosition(request, leftColumn_, visible, thumb, LongestLineLength() - visible, true);
  if (left == leftColumn_) return false;
  leftColumn_ = left;
  return true;
}

ScrollBarValues NameEditor::VerticalScrollBar() const {
  return {0, std::max(static_cast<std::int32_t>(names_.size()) - 1, 0), VisibleLineCount(), topLine_};
}

ScrollBarValues NameEditor::HorizontalScrollBar() const {
  return {0, std::max(LongestLineLength() - 1, 0), VisibleColumnCount(), leftColumn_};
}

}  // namespace nomvarix
