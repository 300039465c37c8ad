#include "editor/PastedText.h"

#include <utility>

#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {

void PastedText::Append(std::u16string_view part) {
  for (const char16_t unit : part) {
    if (full_) return;
    if (pendingCr_) {
      pendingCr_ = false;
      if (unit == u'\n') {
        Separate();
        continue;
      }
    }
    if (unit == u'\r') {
      pendingCr_ = true;
    } else if (!IsControlCharacter(unit)) {
      Keep(unit);
    }
  }
}

std::vector<std::u16string> PastedText::Finish() {
  ResolvePendingHigh();
  pendingCr_ = false;
  full_ = true;
  return std::move(pieces_);
}

void PastedText::Keep(char16_t unit) {
  if (pendingHigh_ != 0) {
    const char16_t high = std::exchange(pendingHigh_, 0);
    if (IsLowSurrogate(unit)) {
      Store(high);
      Store(unit);
      return;
    }
    Store(u'\uFFFD');
  }
  if (IsHighSurrogate(unit)) {
    pendingHigh_ = unit;
  } else {
    Store(unit);
  }
}

void PastedText::Store(char16_t unit) {
  if (full_) return;
  if (!pieceOpen_) {
    if (pieces_.size() == maxPieces_) {
      full_ = true;
      return;
    }
    pieces_.emplace_back();
    pieceOpen_ = true;
  }
  if (pieces_.back().size() <= maxLength_) pieces_.back().push_back(unit);
}

void PastedText::Separate() {
  ResolvePendingHigh();
  if (!pieceOpen_) {
    if (pieces_.size() == maxPieces_) {
      full_ = true;
      return;
    }
    pieces_.emplace_back();
  }
  pieceOpen_ = false;
}

void PastedText::ResolvePendingHigh() {
  if (pendingHigh_ == 0) return;
  pendingHigh_ = 0;
  Store(u'\uFFFD');
}

}  // namespace nomvarix
