#include "script/tokenizer.h"

#include "script/command_registry.h"
#include "script/line_cache.h"
#include "script/char_classes.h"
#include "script/script_state.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

const uint32_t kIf = crc32Of("if");
const uint32_t kElseIf = crc32Of("elseif");
const uint32_t kElse = crc32Of("else");
const uint32_t kDefsub = crc32Of("defsub");
const uint32_t kFuncLua = crc32Of("funcLua");
const uint32_t kFuncSqu = crc32Of("funcSqu");

bool isLead(char c) { return chars::is(chars::kLeadByte, c); }

// Length of the condition after `if`/`elseif`: up to and including the ')' that brings the
// parenthesis depth back to 0, or 0 when there is none.
size_t conditionLength(std::string_view rest) {
  int depth = 0;
  for (size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    if (isLead(c)) {
      ++i;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) return i + 1;
    }
  }
  return 0;
}

void registerAtParseTime(uint32_t nameKey, std::string_view argument) {
  ScriptState& s = scriptState();
  if (nameKey == kDefsub) {
    const std::string_view name = trimBlanks(argument);
    s.userCommands[crc32Of(name)] = std::string(name);
  } else if (nameKey == kFuncLua || nameKey == kFuncSqu) {
    const auto pieces = splitSegments(argument, ',', false);
    if (pieces.empty()) return;
    commandTables().scriptFunctions.try_emplace(crc32Of(pieces.front()));
  }
}

// Tokenises one segment. `fullName` is set for the first command of a segment, whose name is its
// first byte plus the name bytes after it; after a condition or `else` the name is the (possibly
// empty) run of name bytes at the start of the rest.
void tokenizeSegment(std::string_view segment, ScriptLine& line) {
  bool fullName = true;
  while (true) {
    size_t nameEnd = fullName ? 1 : 0;
    while (nameEnd < segment.size() && chars::is(chars::kName, segment[nameEnd])) ++nameEnd;
    const std::string_view name = segment.substr(0, nameEnd);
    std::string_view rest = segment.substr(nameEnd);
    const uint32_t key = crc32Of(name);

    size_t consumed;  // bytes of `rest` that belong to this command
    if (key == kIf || key == kElseIf) {
      consumed = conditionLength(rest);
    } else if (key == kElse) {
      consumed = 0;
    } else {
      line.tokens.emplace_back(name);
      line.tokens.emplace_back(rest);
      registerAtParseTime(key, rest);
      return;
    }
    line.tokens.emplace_back(name);
    line.tokens.emplace_back(rest.substr(0, consumed));
    // One byte after the condition (or after `else`) is always skipped, then blanks; the rest is a
    // command of its own. With nothing after the condition there is no further command.
    if (consumed >= rest.size()) return;
    size_t next = consumed + 1;
    while (next < rest.size() && chars::is(chars::kBlank, rest[next])) ++next;
    segment = rest.substr(next);
    fullName = false;
  }
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && !chars::is(chars::kNonBlank, text[begin])) ++begin;
  while (end > begin && !chars::is(chars::kNonBlank, text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

void splitLines(std::string_view text, const std::function<void(std::string_view, int)>& perLine) {
  size_t start = 0;
  int number = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isLead(text[i])) {
      ++i;
    } else if (text[i] == '\n') {
      perLine(text.substr(start, i - start), number++);
      start = i + 1;
    }
  }
  if (start < text.size() && text.size() - start >= 2) perLine(text.substr(start), number);
}

std::vector<std::string_view> splitSegments(std::string_view text, char separator, bool comments) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  size_t end = text.size();
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (isLead(c)) {
      ++i;
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (comments && (c == ';' || (c == '/' && i + 1 < text.size() && text[i + 1] == '/'))) {
      end = i;
      break;
    } else if (c == separator) {
      pieces.push_back(trimBlanks(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  if (start <= end) pieces.push_back(trimBlanks(text.substr(start, end - start)));
  return pieces;
}

void tokenizeLine(std::string_view text, ScriptLine& line) {
  if (text.empty() || !chars::is(chars::kCommandStart, text[0])) {
    line.tokens.emplace_back(text);
    return;
  }
  for (std::string_view segment : splitSegments(text, ':', true)) {
    if (!segment.empty()) tokenizeSegment(segment, line);
  }
}

void parseScript(std::string_view text, ScriptFile& file) {
  // New text: what was compiled from lines of the text it replaces must not run again.
  forgetCompiledScript();
  splitLines(text, [&file](std::string_view lineText, int) {
    file.emplace_back();
    tokenizeLine(lineText, file.back());
  });
}

}  // namespace vellum
