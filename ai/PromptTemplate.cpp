#include "ai/PromptTemplate.h"

#include <utility>
#include <vector>

#include "ai/FileList.h"
#include "platform/LineEnds.h"
#include "text/CharClass.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kSystem = u"#SYSTEM:";
constexpr std::u16string_view kPrePrompt = u"#PREPROMPT:";
constexpr std::u16string_view kPostPrompt = u"#POSTPROMPT:";
constexpr std::u16string_view kExample1 = u"#EXAMPLE1:";
constexpr std::u16string_view kExample1Response = u"#EXAMPLE1_RESPONSE:";
constexpr std::u16string_view kExample2 = u"#EXAMPLE2:";
constexpr std::u16string_view kExample2Response = u"#EXAMPLE2_RESPONSE:";

/// LF CR pairs as LF (CR LF pairs are already LF).
std::u16string WithoutLfCr(std::u16string_view text) {
  std::u16string clean;
  clean.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i > 0 && text[i - 1] == u'\n') continue;
    clean.push_back(text[i]);
  }
  return clean;
}

}  // namespace

std::u16string ExtractSection(std::u16string_view text, std::u16string_view marker) {
  const std::size_t at = text.find(marker);
  if (at == std::u16string_view::npos) return {};
  const std::size_t start = at + marker.size();
  const std::size_t end = text.find(u'#', start);
  const std::u16string_view raw = text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
  const std::u16string section = WithoutLfCr(ToLfLineEnds(TrimmedWhiteSpace(raw)));
  std::u16string_view view = section;
  while (!view.empty() && (view.front() == u'\r' || view.front() == u'\n')) view.remove_prefix(1);
  while (!view.empty() && (view.back() == u'\r' || view.back() == u'\n')) view.remove_suffix(1);
  return std::u16string(TrimmedWhiteSpace(view));
}

PromptTemplate ParseTemplate(std::u16string_view text) {
  return {ExtractSection(text, kSystem),   ExtractSection(text, kPrePrompt),        ExtractSection(text, kPostPrompt),
          ExtractSection(text, kExample1), ExtractSection(text, kExample1Response), ExtractSection(text, kExample2),
          ExtractSection(text, kExample2Response)};
}

std::u16string SerializeTemplate(const PromptTemplate& prompt) {
  const std::pair<std::u16string_view, const std::u16string*> sections[] = {
      {kSystem, &prompt.systemText},         {kPrePrompt, &prompt.prePrompt}, {kPostPrompt, &prompt.postPrompt},
      {kExample1, &prompt.example1},         {kExample1Response, &prompt.example1Response},
      {kExample2, &prompt.example2},         {kExample2Response, &prompt.example2Response}};
  std::u16string text;
  for (const auto& [marker, field] : sections) {
    text += marker;
    text += u"\r\n";
    text += *field;
    text += u"\r\n\r\n";
  }
  return ToCrLfLineEnds(text);
}

PromptTemplate DefaultTemplate() {
  const std::u16string prePrompt =
      u"Here is my JSON file. It has the \"original\" field that you need to keep and write a corresponding "
      u"\"renamed\" field according to the following rule:";
  const std::u16string postPrompt = u"Important: Respond only with the JSON file.\r\n";
  const std::vector<RenamePair> first = {{u"filename1.txt", u"Filename1.txt"},
                                         {u"mydocument2.pdf", u"MyDocument2.pdf"},
                                         {u"Wedding_docs.txt", u"Wedding_Docs.txt"},
                                         {u"image24356.jpg", u"Image24356.jpg"},
                                         {u"264536photo.png", u"264536Photo.png"}};
  const std::vector<RenamePair> second = {{u"image1200x800.jpg", u"jpg.image1200x800"},
                                          {u"mydocument-2.pdf", u"pdf.mydocument-2"},
                                          {u"recording file.macro", u"macro.recording file"},
                                          {u"audio320kbps.mp3", u"mp3.audio320kbps"}};
  const auto example = [&](std::u16string_view rule, const std::vector<RenamePair>& pairs) {
    return prePrompt + u"\r\n\r\n" + std::u16string(rule) + u"\r\n\r\n" + postPrompt + u"\r\n\r\n" +
           BuildFileList(pairs, FileListForm::ExampleRequest);
  };
  return {ToLfLineEnds(u"You are a JSON processing bot. Your task is to process a JSON file containing filenames and "
                 u"rename them according to User's rules."),
          ToLfLineEnds(prePrompt),
          ToLfLineEnds(postPrompt),
          ToLfLineEnds(example(u"Capitalize first character of every word.", first)),
          ToLfLineEnds(BuildFileList(first, FileListForm::ExampleAnswer)),
          ToLfLineEnds(example(u"Swap extension and the filename.", second)),
          ToLfLineEnds(BuildFileList(second, FileListForm::ExampleAnswer))};
}

}  // namespace nomvarix
