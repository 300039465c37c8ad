#include "support/StreamFixtures.h"

#include <fstream>
#include <regex>
#include <sstream>

#include <nlohmann/json.hpp>

namespace nomvarix::test {
namespace {

std::string ReadFile(const std::string& relative) {
  std::ifstream file(std::string(NOMVARIX_STREAMS_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

/// The value of a "key: value" line of an expected-result file.
std::string Field(const std::string& expected, const std::string& key) {
  const std::size_t at = expected.find("\n" + key + ": ");
  if (at == std::string::npos) return {};
  const std::size_t start = at + key.size() + 3;
  return expected.substr(start, expected.find('\n', start) - start);
}

}  // namespace

std::vector<StreamFixture> LoadStreamFixtures() {
  std::vector<StreamFixture> fixtures;
  for (const auto& entry : nlohmann::json::parse(ReadFile("fixtures/MANIFEST.json"))) {
    StreamFixture fixture;
    fixture.name = entry.at("file").get<std::string>();
    fixture.content = ReadFile("fixtures/" + fixture.name);
    const std::string expected = ReadFile("expected/" + fixture.name + ".txt");
    fixture.httpStatus = std::stoi(Field(expected, "http_status"));
    const nlohmann::json message = nlohmann::json::parse(Field(expected, "error_message"));
    if (message.is_string()) fixture.errorMessage = message.get<std::string>();
    const std::size_t marker = expected.find("\n---- text:");
    const std::size_t textStart = expected.find('\n', marker + 1) + 1;
    fixture.text = expected.substr(textStart, std::stoul(Field(expected, "text_bytes")));
    fixtures.push_back(std::move(fixture));
  }
  return fixtures;
}

std::string ShownErrorOf(const StreamFixture& fixture) {
  const std::string message = fixture.errorMessage.value_or("");
  std::smatch title;
  if (!message.starts_with('<') || !std::regex_search(message, title, std::regex("<title>([^<]*)</title>"))) {
    return message;
  }
  return title[1].str();
}

}  // namespace nomvarix::test
