// libFuzzer target for reading a model's answer: any bytes decoded and scanned for pairs.
//
//   build/fuzz/fuzz/answer_scan_fuzz -max_total_time=600
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ai/AnswerParsing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = nomvarix::DecodeUnicodeEscapes(std::string_view(reinterpret_cast<const char*>(data), size));
  nomvarix::ListParsedPairs({nomvarix::ScanAnswer(text)});
  return 0;
}
