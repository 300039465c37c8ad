#pragma once

#include <functional>
#include <optional>
#include <unordered_map>

namespace nomvarix {

/// The commands one window handles: what each does and when it is enabled or checked. Menus,
/// accelerators and buttons all go through it, so a disabled command is never carried out.
class CommandTable {
 public:
  using Action = std::function<void()>;
  using Predicate = std::function<bool()>;

  struct State {
    bool enabled = true;
    std::optional<bool> checked;  ///< empty for commands without a check mark
  };

  /// Adds a command; an empty `enabled` means always enabled, an empty `checked` no check mark.
  void Add(int id, Action run, Predicate enabled = {}, Predicate checked = {});

  /// The command's state; empty when the table does not hold it.
  std::optional<State> StateOf(int id) const;
  /// Carries the command out if the table holds it and it is enabled; false otherwise.
  bool Run(int id) const;

 private:
  struct Command {
    Action run;
    Predicate enabled;
    Predicate checked;
  };
  std::unordered_map<int, Command> commands_;
};

}  // namespace nomvarix
