#pragma once

#include <string_view>

namespace nomvarix {

class NameEditor;

/// How "Smart Numberings" ended; every outcome but Done has a message and changed nothing.
enum class NumberingResult { Done, NoBlock, InvalidRange, EmptyExample, NotANumber, TooLong };

/// The warning shown for `result`; empty for Done.
std::u16string_view NumberingMessage(NumberingResult result);

/// Numbers the block's lines from the example in its first line: leading zeros give the minimum
/// width, the digit run the first value, and the text after the digits is repeated on every line
/// ("08" gives 08, 09, 10; "7_" gives 7_, 8_, 9_). The block's text is replaced, lines shorter
/// than its left column are padded with spaces (counted in `padded` when given), and the block
/// stays selected. One undo step.
NumberingResult NumberSelection(NameEditor& editor, std::size_t* padded = nullptr);

}  // namespace nomvarix
