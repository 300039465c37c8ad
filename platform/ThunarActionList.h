#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

/// Thunar keeps all custom actions, the user's own and ours, in one file (Thunar/uca.xml among the
/// user's settings): a list of <action> elements inside <actions>. These functions change only the
/// action whose unique-id is kThunarActionId and keep every other byte of the file.

/// What an actions file holds when it lists nothing.
inline constexpr std::string_view kEmptyThunarActionList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";

/// `list` (a file's content; "" for no file) with `action` in place of our earlier action, or
/// after the last action when it held none. Nothing when `list` is not an actions list that can be
/// changed safely: the user's file is then left as it is.
std::optional<std::string> WithThunarAction(std::string_view list, std::string_view action);

/// `list` without our action (unchanged when it holds none).
std::string WithoutThunarAction(std::string_view list);

}  // namespace nomvarix
