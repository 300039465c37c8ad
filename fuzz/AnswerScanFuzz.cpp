// libFuzzer target for reading a model's answer: any bytes parsed for pairs (JSON first, then the
// tolerant scan) and decoded and scanned directly.
//
//   bash fuzz/make-seeds.sh build/fuzz/seeds
//   build/fuzz/fuzz/answer_scan_fuzz -max_len=1048576 -max_total_time=600 build/fuzz/corpus build/fuzz/seeds
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ai/AnswerParsing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view answer(reinterpret_cast<const char*>(data), size);
  nomvarix::ListParsedPairs({nomvarix::ParseAnswer(answer), nomvarix::ScanAnswer(nomvarix::DecodeUnicodeEscapes(answer))});
  return 0;
}
