#pragma once

#include <wx/iconbndl.h>

namespace nomvarix {

/// The program's icon in the usual sizes, drawn rather than loaded so that it needs no files.
wxIconBundle AppIcons();

}  // namespace nomvarix
