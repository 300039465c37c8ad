#include "platform/MemorySettingsStore.h"

namespace nomvarix {

void MemorySettingsStore::Put(std::u16string_view section, std::u16string_view key, Value value) {
  values_[{std::u16string(section), std::u16string(key)}] = std::move(value);
}

bool MemorySettingsStore::Contains(std::u16string_view section, std::u16string_view key) const {
  return Find(section, key) != nullptr;
}

const MemorySettingsStore::Value* MemorySettingsStore::Find(std::u16string_view section,
                                                            std::u16string_view key) const {
  const auto it = values_.find({std::u16string(section), std::u16string(key)});
  return it == values_.end() ? nullptr : &it->second;
}

std::uint32_t MemorySettingsStore::DoReadInteger(std::u16string_view section, std::u16string_view key,
                                                 std::uint32_t defaultValue) const {
  const Value* value = Find(section, key);
  const auto* integer = value ? std::get_if<std::uint32_t>(value) : nullptr;
  return integer ? *integer : defaultValue;
}

bool MemorySettingsStore::DoWriteInteger(std::u16string_view section, std::u16string_view key,
                                         std::uint32_t value) {
  Put(section, key, value);
  return true;
}

std::u16string MemorySettingsStore::DoReadString(std::u16string_view section, std::u16string_view key,
                                                 std::u16string_view defaultValue) const {
  const Value* value = Find(section, key);
  const auto* text = value ? std::get_if<std::u16string>(value) : nullptr;
  return text ? *text : std::u16string(defaultValue);
}

bool MemorySettingsStore::DoWriteString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view value) {
  Put(section, key, std::u16string(value));
  return true;
}

bool MemorySettingsStore::DoUpdateStrings(std::u16string_view section, const std::vector<std::u16string>& keys,
                                          const std::function<void(std::vector<std::u16string>& values)>& change,
                                          std::vector<std::u16string>& values) {
  values.clear();
  for (const std::u16string& key : keys) values.push_back(DoReadString(section, key, u""));
  change(values);
  for (std::size_t i = 0; i < keys.size() && i < values.size(); ++i) Put(section, keys[i], values[i]);
  return true;
}

}  // namespace nomvarix
