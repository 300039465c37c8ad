#include <windows.h>

#include <vector>

#include "platform/Clipboard.h"

namespace nomvarix {
namespace {

/// Another program may hold the clipboard open for a moment (a clipboard manager reading what was
/// just copied); opening is retried for about a fifth of a second before the operation fails.
bool OpenClipboardWithRetries() {
  constexpr int kAttempts = 20;
  constexpr DWORD kPauseMilliseconds = 10;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(kPauseMilliseconds);
  }
  return false;
}

/// The clipboard opened for one operation and closed at its end.
class OpenedClipboard {
 public:
  OpenedClipboard() : open_(OpenClipboardWithRetries()) {}
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
  // Asked on every menu update; the formats can be queried without opening the clipboard, which
  // would take it from other programs and wait while they hold it.
  bool HasText() const override {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
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
