#pragma once

namespace nomvarix {

/// What a scroll bar asks for.
enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Thumb, First, Last, Other };

}  // namespace nomvarix
