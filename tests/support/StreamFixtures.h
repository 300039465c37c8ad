#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nomvarix::test {

/// The recorded answers of chat servers under tests/ai/streams, and what a correct reader makes of
/// each.
struct StreamFixture {
  std::string name;  ///< the file name, such as "openai-basic.sse"
  std::string content;
  int httpStatus = 200;
  std::optional<std::string> errorMessage;  ///< the server's error, when the answer carries one
  std::string text;                         ///< the answer text
};

/// Every fixture of the manifest, in its order.
std::vector<StreamFixture> LoadStreamFixtures();

/// The server's error as the program shows it: an HTML error page (a proxy's) by its title alone,
/// any other error as the server gave it.
std::string ShownErrorOf(const StreamFixture& fixture);

}  // namespace nomvarix::test
