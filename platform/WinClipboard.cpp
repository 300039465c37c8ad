#include <windows.h>

#include <vector>

#include "platform/Clipboard.h"

namespace nomvarix {
namespace {

/// The clipboard opened for one operation and closed at its end.
class OpenedClipboard {
 public:
  OpenedClipboard() : open_(OpenClipboard(nullptr) != 0) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

/// A locked global memory block, unlocked at the end.
class LockedMemory {
 public:
  explicit LockedMemory(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  LockedMemory(const LockedMemory&) = delete;
  LockedMemory& operator=(const LockedMemory&) = delete;
  ~LockedMemory() {
    if (data_) GlobalUnlock(memory_);
  }
  void* data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

std::optional<std::u16string> ReadUnicode() {
  LockedMemory locked(GetClipboardData(CF_UNICODETEXT));
  if (!locked.data()) return std::nullopt;
  return std::u16string(static_cast<const char16_t*>(locked.data()));
}

std::optional<std::u16string> ReadAnsi() {
  LockedMemory locked(GetClipboardData(CF_TEXT));
  if (!locked.data()) return std::nullopt;
  const char* text = static_cast<const char*>(locked.data());
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return std::u16string(wide.begin(), wide.end() - 1);
}

class WinClipboard final : public Clipboard {
 public:
  bool HasText() const override {
    OpenedClipboard clipboard;
    return clipboard.IsOpen() && (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT));
  }

  std::optional<std::u16string> ReadText() const override {
    OpenedClipboard clipboard;
    if (!clipboard.IsOpen()) return std::nullopt;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) return ReadUnicode();
    if (IsClipboardFormatAvailable(CF_TEXT)) return ReadAnsi();
    return std::nullopt;
  }

  bool WriteText(std::u16string_view text) override {
    OpenedClipboard clipboard;
    if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    if (!memory) return false;
    {
      LockedMemory locked(memory);
      if (!locked.data()) {
        GlobalFree(memory);
        return false;
      }
      auto* target = static_cast<char16_t*>(locked.data());
      text.copy(target, text.size());
      target[text.size()] = u'\0';
    }
    // The clipboard owns the block once it is handed over.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) {
      GlobalFree(memory);
      return false;
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<Clipboard> MakeWin32Clipboard() { return std::make_unique<WinClipboard>(); }

}  // namespace nomvarix
