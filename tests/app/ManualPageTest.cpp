// The manual page against the program's own usage text: every option the program explains is in
// the manual too, and the manual carries the project's version rather than a number of its own.
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "app/rules/CommandLine.h"

namespace nomvarix {
namespace {

/// An option as roff writes it: each hyphen escaped.
std::string InRoff(const std::string& option) {
  std::string escaped;
  for (const char c : option) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
  return escaped;
}

TEST(ManualPage, ListsEveryOptionOfTheUsageTextAndTheProjectVersion) {
  std::ifstream in(NOMVARIX_MANUAL_PAGE, std::ios::binary);
  const std::string page(std::istreambuf_iterator<char>(in), {});
  ASSERT_FALSE(page.empty()) << NOMVARIX_MANUAL_PAGE;
  const std::string usage = UsageText();
  // Options stand at the start of an explained line, e.g. "  -h, --help  print this text".
  const std::regex option(R"((?:^|\n) +(-[-\w]+)(?:, (-[-\w]+))?)");
  int found = 0;
  for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator(); ++it) {
    for (size_t group = 1; group < it->size(); ++group) {
      if (!(*it)[group].matched) continue;
      ++found;
      EXPECT_NE(page.find(InRoff((*it)[group].str())), std::string::npos) << (*it)[group].str();
    }
  }
  EXPECT_GE(found, 2) << usage;
  EXPECT_NE(page.find("\"Nomvarix @PROJECT_VERSION@\""), std::string::npos);
}

}  // namespace
}  // namespace nomvarix
