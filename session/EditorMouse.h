#pragma once

#include <cstdint>
#include <optional>


namespace nomvarix {

class EditorSession;
class NameEditor;

/// The pixel sizes the mouse needs besides the editor's metrics, already scaled to the screen.
struct MouseGeometry {
  std::int32_t stripBandHeight = 0;
  std::int32_t markerColumnWidth = 0;
  std::int32_t dividerGrip = 0;
  std::int32_t rowMarkerInset = 5;  ///< gap between a row's red triangle and the divider
};

/// The drags in progress and the divider hover, which the paint pass shows.
struct MouseState {
  bool textDragActive = false;
  bool lineDragActive = false;
  bool rulerDragActive = false;
  bool dividerDragActive = false;
  bool dividerHover = false;
};

/// What the view does after a mouse message.
struct MouseResponse {
  bool repaint = false;
  bool capture = false;     ///< capture the mouse: a drag began
  bool caretBlinkOn = false;  ///< show the caret now
  bool startBlinking = false;  ///< start the caret blink timer if it does not run
  std::optional<std::int32_t> dividerX = std::nullopt;  ///< the divider moved here
};

enum class MouseCursor { Arrow, Resize, Beam };

/// The editor's mouse gestures below the strips: divider drag, resetting names by their red
/// triangles, line selection in the disk-name column, column selection in the ruler, text
/// selection, word selection by double click, and the wheel. The view tests the strips first and
/// feeds everything else here in client pixels.
class EditorMouse {
 public:
  explicit EditorMouse(EditorSession& session) : session_(session) {}

  void SetGeometry(const MouseGeometry& geometry) { geometry_ = geometry; }
  const MouseState& State() const { return state_; }
  /// True while a divider, ruler or line drag runs: their moves come before the strips' hover.
  bool HoldsMoves() const { return state_.dividerDragActive || state_.rulerDragActive || state_.lineDragActive; }

  MouseResponse Press(std::int32_t x, std::int32_t y, bool shift);
  MouseResponse Move(std::int32_t x, std::int32_t y, bool leftButtonDown);
  MouseResponse Release(std::int32_t x, std::int32_t y);
  MouseResponse DoubleClick(std::int32_t x, std::int32_t y);
  /// Scrolls three lines per notch of 120; true when the top line changed.
  bool Wheel(std::int32_t delta);
  MouseCursor CursorAt(std::int32_t x, std::int32_t y) const;
  /// The capture went elsewhere: every drag ends where it is.
  void CancelDrags();

 private:
  NameEditor& Editor();
  const NameEditor& Editor() const;
  std::int32_t LastLine() const;
  /// The line under y, clamped into the list (y above the text counts as the first row).
  std::int32_t LineAt(std::int32_t y) const;
  /// The ruler's column under x, never below the scope's first column.
  std::int32_t RulerColumnAt(std::int32_t x) const;
  /// Whole lines first..last (either order), the caret at column 0 of the bottom one.
  void SelectLines(std::int32_t first, std::int32_t last);
  /// A selection made with the mouse is where the next search starts.
  void SearchFromSelection();
  void SelectColumnsOnAllLines(std::int32_t from, std::int32_t to, std::int32_t caretColumn);

  MouseResponse PressInDiskNames(std::int32_t x, std::int32_t y, bool shift);
  MouseResponse PressInRuler(std::int32_t x);
  MouseResponse PressInText(std::int32_t x, std::int32_t y, bool shift);
  void DragLines(std::int32_t y);
  void DragText(std::int32_t x, std::int32_t y);
  void AutoScroll(std::int32_t x, std::int32_t y);

  EditorSession& session_;
  MouseGeometry geometry_;
  MouseState state_;
  std::int32_t lineDragAnchor_ = -1;
  std::int32_t rulerDragStartColumn_ = -1;
};

}  // namespace nomvarix
