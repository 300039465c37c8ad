#include "view/CommandTable.h"

namespace nomvarix {

void CommandTable::Add(int id, Action run, Predicate enabled, Predicate checked) {
  commands_[id] = Command{std::move(run), std::move(enabled), std::move(checked)};
}

std::optional<CommandTable::State> CommandTable::StateOf(int id) const {
  const auto it = commands_.find(id);
  if (it == commands_.end()) return std::nullopt;
  State state;
  state.enabled = !it->second.enabled || it->second.enabled();
  if (it->second.checked) state.checked = it->second.checked();
  return state;
}

bool CommandTable::Run(int id) const {
  const auto state = StateOf(id);
  if (!state || !state->enabled) return false;
  commands_.at(id).run();
  return true;
}

}  // namespace nomvarix
