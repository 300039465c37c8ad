#pragma once

#include <map>
#include <string>
#include <utility>
#include <variant>

#include "platform/SettingsStore.h"

namespace nomvarix {

/// Settings kept in memory, with the value kinds of a registry: an integer and a string of the
/// same name are different things. For tests, and wherever nothing is to be persisted.
class MemorySettingsStore final : public SettingsStore {
 public:
  using Value = std::variant<std::uint32_t, std::u16string>;

  /// Stores a value of either kind directly (tests use it to plant values of the wrong kind).
  void Put(std::u16string_view section, std::u16string_view key, Value value);
  bool Contains(std::u16string_view section, std::u16string_view key) const;

 private:
  std::uint32_t DoReadInteger(std::u16string_view section, std::u16string_view key,
                              std::uint32_t defaultValue) const override;
  bool DoWriteInteger(std::u16string_view section, std::u16string_view key, std::uint32_t value) override;
  std::u16string DoReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const override;
  bool DoWriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;
  bool DoUpdateStrings(std::u16string_view section, const std::vector<std::u16string>& keys,
                       const std::function<void(std::vector<std::u16string>& values)>& change,
                       std::vector<std::u16string>& values) override;

  const Value* Find(std::u16string_view section, std::u16string_view key) const;

  std::map<std::pair<std::u16string, std::u16string>, Value> values_;
};

}  // namespace nomvarix
