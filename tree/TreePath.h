#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// The full path of a tree item from the texts of its ancestors and itself, top first: each text
/// followed by a separator unless it ends with one. {"/", "home", "ann"} gives "/home/ann/";
/// {"C:\", "Users"} gives "C:\Users\".
std::u16string TreeItemPath(const std::vector<std::u16string>& textsFromTop);

/// The components the tree walks down to reach `path`: its root ("/" or a drive such as "C:\")
/// and then each folder name, empty pieces dropped. Empty for a path without a root.
std::vector<std::u16string> TreePathComponents(std::u16string_view path);

/// Which of `texts` names `component`: the one equal to it, else the first equal to it but for
/// ASCII letter case; -1 when none.
int MatchingItem(const std::vector<std::u16string>& texts, std::u16string_view component);

}  // namespace nomvarix
