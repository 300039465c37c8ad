// libFuzzer target for the .km reader: any bytes as a macro file, read and written back.
//
//   build/fuzz/fuzz/macro_file_fuzz -max_total_time=600
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "macro/MacroFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto events = nomvarix::ParseMacro(std::string_view(reinterpret_cast<const char*>(data), size));
  // What the writer makes of the events reads back as the same events.
  if (nomvarix::ParseMacro(nomvarix::FormatMacro(events)) != events) std::abort();
  return 0;
}
