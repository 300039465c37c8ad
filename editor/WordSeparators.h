#pragma once

#include <cstdint>
#include <string_view>

namespace nomvarix {

/// Where word jumps and double clicks stop: white space and ! " ' ( ) , - . : ; ? _
bool IsWordSeparator(char16_t ch);

/// The column of the start of the word left of `column` in `text`. A separator just before
/// `column` is passed on its own: in "abc def", 7 gives 4, 4 gives 3 and 3 gives 0.
std::int32_t WordStartBefore(std::u16string_view text, std::int32_t column);
/// The mirror: the end of the word right of `column`; in "abc def", 0 gives 3 and 3 gives 4.
std::int32_t WordEndAfter(std::u16string_view text, std::int32_t column);

}  // namespace nomvarix
