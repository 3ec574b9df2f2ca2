// With --from-utf8 the packer writes the scripts in GBK, the game's code page, and writes '?' for a
// character GBK does not have. Each such character is reported where the author wrote it.
#include <cstdio>
#include <map>

#include "base/text_encoding.h"
#include "checks.h"

namespace vellum::lint {

namespace {

// The length of the UTF-8 sequence starting at `at`, or 0 when it is not one.
size_t sequenceLength(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  if (lead < 0x80) length = 1;
  else if (lead >= 0xC2 && lead < 0xE0) length = 2;
  else if (lead >= 0xE0 && lead < 0xF0) length = 3;
  else if (lead >= 0xF0 && lead < 0xF5) length = 4;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string codePointName(std::string_view character) {
  uint32_t value = static_cast<unsigned char>(character[0]) & (0x7F >> character.size());
  for (size_t i = 1; i < character.size(); ++i)
    value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(value));
  return name;
}

class GbkForms {
 public:
  bool has(std::string_view character) {
    const auto [it, inserted] = known_.try_emplace(std::string(character), false);
    if (inserted) it->second = toUtf8(fromUtf8(character, CodePage::Gbk), CodePage::Gbk) == character;
    return it->second;
  }

 private:
  std::map<std::string, bool> known_;
};

void checkLine(Findings& findings, const ScriptSource& source, int number, std::string_view line, GbkForms& forms) {
  int column = 1;
  for (size_t at = 0; at < line.size(); ++column) {
    const size_t length = sequenceLength(line, at);
    if (length == 0) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(line[at]));
      findings.add(source.displayPath, number, column, Severity::Error,
                   std::string("byte ") + byte + " is not UTF-8 (is the file saved as UTF-8?); the packer writes '?'");
      ++at;
      continue;
    }
    const std::string_view character = line.substr(at, length);
    if (length > 1 && !forms.has(character))
      findings.add(source.displayPath, number, column, Severity::Error,
                   "'" + std::string(character) + "' (" + codePointName(character) +
                       ") has no form in the game's code page (GBK); the packer writes '?' instead");
    at += length;
  }
}

}  // namespace

void checkEncoding(LintContext& context) {
  if (!context.game.fromUtf8) return;
  GbkForms forms;
  for (const ScriptSource& source : context.game.scripts) {
    std::string_view text = source.written;
    int number = 1;
    while (!text.empty()) {
      const size_t end = text.find('\n');
      checkLine(context.findings, source, number++, text.substr(0, end), forms);
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
  }
}

}  // namespace vellum::lint
