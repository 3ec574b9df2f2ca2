#include "script/builtins/text_lines.h"

#include "script/regex/character_model.h"

namespace vellum {

namespace {

bool isTrimmed(unsigned c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The 16-bit unit at byte offset i.
unsigned unitAt(std::string_view bytes, size_t i, TextEncoding encoding) {
  const auto a = static_cast<unsigned char>(bytes[i]);
  const auto b = static_cast<unsigned char>(bytes[i + 1]);
  return encoding == TextEncoding::Utf16Le ? (a | b << 8) : (a << 8 | b);
}

}  // namespace

TextEncoding detectEncoding(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return TextEncoding::Utf16Le;
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return TextEncoding::Utf16Be;
  return TextEncoding::Multibyte;
}

std::vector<std::string> splitIntoLines(std::string_view bytes, TextEncoding encoding) {
  std::vector<std::string> lines;
  size_t start = 0;
  if (encoding == TextEncoding::Multibyte) {
    for (size_t i = 0; i < bytes.size();) {
      const size_t length = regex::characterLength(bytes, i);
      i += length;
      if (length == 1 && bytes[i - 1] == '\n') {
        lines.emplace_back(bytes.substr(start, i - start));
        start = i;
      }
    }
  } else {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      if (unitAt(bytes, i, encoding) == '\n') {
        lines.emplace_back(bytes.substr(start, i + 2 - start));
        start = i + 2;
      }
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::string_view newlineFor(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf16Le: return std::string_view("\x0A\x00", 2);
    case TextEncoding::Utf16Be: return std::string_view("\x00\x0A", 2);
    case TextEncoding::Multibyte: break;
  }
  return "\r\n";
}

std::string trimmedLine(std::string_view line, TextEncoding encoding) {
  if (encoding == TextEncoding::Multibyte) {
    size_t first = 0;
    size_t last = line.size();
    while (first < last && isTrimmed(static_cast<unsigned char>(line[first]))) ++first;
    while (last > first && isTrimmed(static_cast<unsigned char>(line[last - 1]))) --last;
    return std::string(line.substr(first, last - first));
  }
  // Whole code units only; an odd byte at the end stays.
  size_t first = 0;
  size_t last = line.size() - line.size() % 2;
  while (first + 2 <= last && isTrimmed(unitAt(line, first, encoding))) first += 2;
  while (last >= first + 2 && isTrimmed(unitAt(line, last - 2, encoding))) last -= 2;
  std::string out(line.substr(first, last - first));
  out.append(line.substr(line.size() - line.size() % 2));
  return out;
}

}  // namespace vellum
