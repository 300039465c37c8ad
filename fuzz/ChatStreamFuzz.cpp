// libFuzzer target for reading a chat server's answer: any bytes, cut into blocks of sizes taken
// from the input, read as an event stream (or a body), and the answer they give parsed for pairs.
//
//   bash fuzz/make-seeds.sh build/fuzz/seeds
//   build/fuzz/fuzz/chat_stream_fuzz -max_len=1048576 -max_total_time=600 build/fuzz/corpus build/fuzz/seeds
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ai/AnswerParsing.h"
#include "ai/ChatStreamReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // Small blocks cut events anywhere; large ones carry whole answers at once.
  const std::size_t blockSize = data[0] < 128 ? 1 + data[0] % 64 : std::size_t{1} << (data[0] % 21);
  const long status = data[1] % 8 == 0 ? 500 : 200;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  std::string pieces;
  nomvarix::ChatStreamReader reader([&](std::string_view piece) { pieces += piece; });
  reader.SetStatus(status);
  for (std::size_t at = 0; at < bytes.size(); at += blockSize) reader.Receive(bytes.substr(at, blockSize));
  reader.Finish();
  if (pieces != reader.Answer()) std::abort();
  nomvarix::ListParsedPairs({nomvarix::ParseAnswer(reader.Answer()), nomvarix::ParseAnswer(bytes)});
  return 0;
}
