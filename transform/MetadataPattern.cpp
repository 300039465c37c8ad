#include "transform/MetadataPattern.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kNotInNames = u"\\/:*?\"<>|";

/// One "{Field}" or "{Field:format}" found at the start of a text.
struct FieldReference {
  const MetadataField* field = nullptr;
  std::u16string_view format;
  std::size_t length = 0;  ///< of the whole reference, braces included
};

std::optional<FieldReference> ReferenceAt(std::u16string_view text) {
  if (!text.starts_with(u'{')) return std::nullopt;
  const std::size_t close = text.find(u'}');
  if (close == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view inside = text.substr(1, close - 1);
  const std::size_t colon = inside.find(u':');
  const MetadataField* field = FindMetadataField(inside.substr(0, colon));
  if (!field) return std::nullopt;
  return FieldReference{field, colon == std::u16string_view::npos ? u"" : inside.substr(colon + 1), close + 1};
}

std::u16string Printed(const char* format, auto... values) {
  char text[64];
  std::snprintf(text, sizeof text, format, values...);
  return FromUtf8(text);
}

std::u16string DecimalText(double value) {
  const double tenths = std::round(value * 10) / 10;
  return tenths == std::floor(tenths) ? Printed("%.0f", tenths) : Printed("%.1f", tenths);
}

std::u16string NumberText(std::uint64_t value, std::u16string_view format) {
  int width = 0;
  for (const char16_t u : format) {
    if (u < u'0' || u > u'9' || width > 9) return Printed("%llu", static_cast<unsigned long long>(value));
    width = width * 10 + (u - u'0');
  }
  return Printed("%0*llu", width, static_cast<unsigned long long>(value));
}

std::u16string DurationText(std::uint64_t seconds) {
  const auto s = static_cast<unsigned long long>(seconds);
  if (s >= 3600) return Printed("%llu-%02llu-%02llu", s / 3600, s / 60 % 60, s % 60);
  return Printed("%llu-%02llu", s / 60, s % 60);
}

std::u16string ValueText(const MetadataField& field, const MetadataValue& value, std::u16string_view format) {
  if (const auto* text = std::get_if<std::u16string>(&value)) return *text;
  if (const auto* time = std::get_if<FileClock::time_point>(&value)) {
    return FormatMetadataDate(*time, format.empty() ? u"yyyy-MM-dd" : format);
  }
  if (const auto* number = std::get_if<std::uint64_t>(&value)) {
    return field.kind == MetadataKind::Duration ? DurationText(*number) : NumberText(*number, format);
  }
  const double decimal = std::get<double>(value);
  if (field.kind == MetadataKind::Exposure && decimal > 0 && decimal < 1) {
    return Printed("1-%.0f", std::round(1 / decimal));
  }
  return DecimalText(decimal);
}

}  // namespace

std::u16string CleanMetadataValue(std::u16string_view value) {
  std::u16string clean;
  clean.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char16_t u = value[i];
    if (IsControlCharacter(u)) continue;
    const bool pairStart = IsHighSurrogate(u) && i + 1 < value.size() && IsLowSurrogate(value[i + 1]);
    if (pairStart) {
      clean.append(value.substr(i, 2));
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u) || kNotInNames.find(u) != std::u16string_view::npos) {
      clean.push_back(u'_');
    } else {
      clean.push_back(u);
    }
  }
  return std::u16string(TrimmedWhiteSpace(clean));
}

std::u16string FormatMetadataDate(FileClock::time_point time, std::u16string_view format) {
  using namespace std::chrono;
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{floor<seconds>(time - day)};
  const int y = static_cast<int>(date.year());
  const struct {
    std::u16string_view token;
    std::u16string text;
  } tokens[] = {
      {u"yyyy", Printed("%04d", y)},
      {u"yy", Printed("%02d", ((y % 100) + 100) % 100)},
      {u"MM", Printed("%02u", static_cast<unsigned>(date.month()))},
      {u"dd", Printed("%02u", static_cast<unsigned>(date.day()))},
      {u"HH", Printed("%02d", static_cast<int>(clock.hours().count()))},
      {u"mm", Printed("%02d", static_cast<int>(clock.minutes().count()))},
      {u"ss", Printed("%02d", static_cast<int>(clock.seconds().count()))},
  };
  std::u16string text;
  for (std::size_t i = 0; i < format.size();) {
    const auto token = std::find_if(std::begin(tokens), std::end(tokens),
                                    [&](const auto& t) { return format.substr(i).starts_with(t.token); });
    if (token == std::end(tokens)) {
      text.push_back(format[i++]);
    } else {
      text += token->text;
      i += token->token.size();
    }
  }
  return text;
}

MetadataNeeds NeedsOf(std::u16string_view pattern) {
  MetadataNeeds needs;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::optional<FieldReference> reference = ReferenceAt(pattern.substr(i));
    if (!reference) continue;
    needs.photo = needs.photo || reference->field->group == MetadataGroup::Photo;
    needs.audio = needs.audio || reference->field->group == MetadataGroup::Audio;
    needs.file = needs.file || reference->field->group == MetadataGroup::File;
  }
  return needs;
}

std::optional<std::u16string> ExpandMetadataPattern(std::u16string_view pattern, const MetadataRecord& record,
                                                    const std::optional<std::u16string>& fallback) {
  std::u16string text;
  for (std::size_t i = 0; i < pattern.size();) {
    const std::optional<FieldReference> reference = ReferenceAt(pattern.substr(i));
    if (!reference) {
      text.push_back(pattern[i++]);
      continue;
    }
    i += reference->length;
    const auto value = record.find(reference->field->name);
    if (value != record.end()) {
      text += CleanMetadataValue(ValueText(*reference->field, value->second, reference->format));
    } else if (fallback) {
      text += CleanMetadataValue(*fallback);
    } else {
      return std::nullopt;
    }
  }
  return text;
}

std::size_t CountMissingFields(std::u16string_view pattern, std::span<const MetadataRecord> records) {
  return static_cast<std::size_t>(std::count_if(records.begin(), records.end(), [&](const MetadataRecord& record) {
    return !ExpandMetadataPattern(pattern, record, std::nullopt);
  }));
}

}  // namespace nomvarix
