#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace nomvarix {

/// The "Open Folder in Nomvarix" entry that the file manager offers for folders and files: on
/// Windows the Explorer entry in the current user's registry classes, elsewhere the current user's
/// desktop entry with its icon and the entries of the file managers that have their own format.
class ContextMenuEntry {
 public:
  /// The messages of adding and removing the entry, in the platform's words.
  struct Texts {
    std::u16string_view question;
    std::u16string_view added;
    /// Added, for a program that does not run from an installation.
    std::u16string_view addedForUninstalled;
    std::u16string_view failed;
    std::u16string_view removed;
  };

  /// kAddedForUninstalled: added, but the program it starts lies outside an installation (a build
  /// folder), so the entry lasts only as long as that program stays where it is.
  enum class InstallResult { kFailed, kAdded, kAddedForUninstalled };

  virtual ~ContextMenuEntry() = default;

  /// Whether the entry is there to be shown (read once, at start-up).
  virtual bool IsShown() const = 0;
  /// Whether the current user's own entry exists, which the command then removes.
  virtual bool IsInstalledForUser() const = 0;
  /// Writes the entry that starts `programPath` with the clicked path.
  virtual InstallResult Install(std::u16string_view programPath) = 0;
  /// Removes the current user's entry; failures are ignored.
  virtual void Remove() = 0;
  virtual const Texts& Messages() const = 0;
};

std::unique_ptr<ContextMenuEntry> MakeNativeContextMenuEntry();

}  // namespace nomvarix
