#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace nomvarix {

/// UTF-16 text for display by the toolkit. An escaped undecodable byte shows as U+FFFD.
wxString ToWx(std::u16string_view text);

/// The toolkit's text as UTF-16.
std::u16string FromWx(const wxString& text);

}  // namespace nomvarix
