#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace nomvarix::settings {

// Keys of the "Settings" section with their defaults. Each is read by the part of the program that
// uses it and written the moment the user changes it.

inline constexpr std::u16string_view kFontSize = u"FontSize";
/// The editor font grows by kFontSizeStep while below kFontSizeGrowLimit and shrinks while at
/// least kFontSizeShrinkLimit, so sizes stay within 7..65.
inline constexpr int kFontSizeStep = 2;
inline constexpr int kFontSizeGrowLimit = 64;
inline constexpr int kFontSizeShrinkLimit = 9;
constexpr bool CanIncreaseFontSize(int size) { return size < kFontSizeGrowLimit; }
constexpr bool CanDecreaseFontSize(int size) { return size >= kFontSizeShrinkLimit; }
inline constexpr std::u16string_view kCheckConflict = u"CheckConflict";
inline constexpr bool kCheckConflictDefault = true;
inline constexpr std::u16string_view kSortCaseSensitive = u"SortCaseSensitive";
inline constexpr bool kSortCaseSensitiveDefault = true;
inline constexpr std::u16string_view kSortByExtension = u"SortByExtension";
inline constexpr bool kSortByExtensionDefault = true;
inline constexpr std::u16string_view kSortNumbersByValue = u"SortNumbersByValue";
inline constexpr bool kSortNumbersByValueDefault = false;
inline constexpr std::u16string_view kChangedRed = u"ChangedRed";
inline constexpr bool kChangedRedDefault = true;
inline constexpr std::u16string_view kLastPath = u"LastPath";
inline constexpr std::u16string_view kKeepEditsBetweenRuns = u"KeepEditsBetweenRuns";
inline constexpr bool kKeepEditsBetweenRunsDefault = true;
/// Whether every finished apply, undo and recovery is added to the rename history.
inline constexpr std::u16string_view kKeepRenameHistory = u"KeepRenameHistory";
inline constexpr bool kKeepRenameHistoryDefault = true;
inline constexpr std::u16string_view kTreeFontSize = u"TreeFontSize";
inline constexpr std::uint32_t kTreeFontSizeMin = 8;
inline constexpr std::uint32_t kTreeFontSizeMax = 32;
inline constexpr std::u16string_view kVerify = u"Verify";
inline constexpr bool kVerifyDefault = true;
inline constexpr std::u16string_view kErrorHandling = u"ErrorHandling";
inline constexpr std::uint32_t kErrorHandlingSkip = 0;
inline constexpr std::uint32_t kErrorHandlingAutoRename = 1;
inline constexpr std::uint32_t kErrorHandlingDefault = kErrorHandlingAutoRename;
inline constexpr std::u16string_view kLastMacroFolder = u"LastMacroFolder";
inline constexpr std::u16string_view kMetadataPattern = u"MetadataPattern";
inline constexpr std::u16string_view kMetadataPatternDefault = u"{DateTaken:yyyy-MM-dd}_";
inline constexpr std::u16string_view kGroupSize = u"GroupSize";
inline constexpr std::uint32_t kGroupSizeDefault = 10;
/// The chat server of the AI assistant ("LLM Settings"). The key may instead come from the
/// environment variable kLlmApiKeyVariable when none is stored.
inline constexpr std::u16string_view kLlmBaseUrl = u"LlmBaseUrl";
inline constexpr std::u16string_view kLlmBaseUrlDefault = u"http://127.0.0.1:11434";
inline constexpr std::u16string_view kLlmModel = u"LlmModel";
inline constexpr std::u16string_view kLlmModelDefault = u"llama3.2";
inline constexpr std::u16string_view kLlmApiKey = u"LlmApiKey";
inline constexpr const char* kLlmApiKeyVariable = "NOMVARIX_API_KEY";

/// The recent-folders list lives beside "Settings" in its own section, values "File1".."File8".
inline constexpr std::u16string_view kRecentSection = u"Recent File List";

/// Default editor font height in pixels: 23 at 96 dots per inch, scaled and rounded to nearest;
/// a screen that cannot be queried (dpi <= 0) counts as 96.
constexpr std::uint32_t DefaultFontSize(int dotsPerInch) {
  const int dpi = dotsPerInch > 0 ? dotsPerInch : 96;
  return static_cast<std::uint32_t>((23 * dpi + 48) / 96);
}

/// A stored size brought into the sizes the font steps reach from it or from the screen's default
/// size: a size of 0 draws nothing and a huge one nothing legible.
constexpr int FontSizeOf(std::uint32_t stored, std::uint32_t defaultSize) {
  constexpr auto smallest = static_cast<std::uint32_t>(kFontSizeShrinkLimit - kFontSizeStep);
  const auto largest = std::max(static_cast<std::uint32_t>(kFontSizeGrowLimit - 1 + kFontSizeStep), defaultSize);
  return static_cast<int>(std::clamp(stored, smallest, largest));
}

}  // namespace nomvarix::settings
