// loadText, saveText, getText, setText, insertText, addText, sortText and clearText: the TextList.
#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/builtin_messages.h"
#include "script/builtins/file_writer.h"
#include "script/builtins/line_order.h"
#include "script/builtins/text_file_reader.h"
#include "script/builtins/text_list.h"
#include "storage/storage_messages.h"

namespace vellum {

TextList& textList() {
  static TextList list;
  return list;
}

void resetTextList() { textList() = TextList{}; }

namespace {

// A 1-based line number inside the list, or a report.
bool checkLine(int32_t line) {
  if (line >= 1 && static_cast<size_t>(line) <= textList().lines.size()) return true;
  errorc(ReportText().sjis(messages::kLineOutOfRange), true);
  return false;
}

std::string withNewline(std::string text, bool newline) {
  if (newline) text.append(newlineFor(textList().encoding));
  return text;
}

int loadTextBody(void* call) {
  std::string bytes;
  if (!readTextFile(stringArgument(call, 1), bytes)) return 0;
  TextList& list = textList();
  list.encoding = detectEncoding(bytes);
  list.lines = splitIntoLines(bytes, list.encoding);
  args().returnInt(call, 2, static_cast<int32_t>(list.lines.size()));
  return 1;
}

int getTextBody(void* call) {
  const int32_t line = args().getInt(call, 2);
  if (!checkLine(line)) return 0;
  const std::string& stored = textList().lines[static_cast<size_t>(line - 1)];
  const bool raw = argumentCount(call) >= 3 && args().getInt(call, 3) != 0;
  const std::string text = raw ? stored : trimmedLine(stored, textList().encoding);
  args().returnBytes(call, 1, text.data(), text.size());
  return 1;
}

int setTextBody(void* call) {
  const int32_t line = args().getInt(call, 2);
  if (!checkLine(line)) return 0;
  textList().lines[static_cast<size_t>(line - 1)] = withNewline(stringArgument(call, 1), args().getInt(call, 3) != 0);
  return 0;
}

int insertTextBody(void* call) {
  const int32_t line = args().getInt(call, 2);
  if (!checkLine(line)) return 0;
  auto& lines = textList().lines;
  lines.insert(lines.begin() + (line - 1), withNewline(stringArgument(call, 1), args().getInt(call, 3) != 0));
  return 0;
}

int addTextBody(void* call) {
  std::string text;
  if (args().getInt(call, 2) != 0) text.append(newlineFor(textList().encoding));
  text += stringArgument(call, 1);
  textList().lines.push_back(withNewline(std::move(text), args().getInt(call, 3) != 0));
  return 0;
}

int sortTextBody(void* call) {
  TextList& list = textList();
  const auto count = static_cast<int64_t>(list.lines.size());
  int64_t start = args().getInt(call, 1);
  int64_t end = args().getInt(call, 2);
  if (start < 0 || end < 0 || start > count || end > count) {
    errorc(ReportText().sjis(messages::kLineOutOfRange), true);
    return 0;
  }
  if (start == 0) start = 1;
  if (end == 0) end = count;
  if (start <= end) {
    sortLines(list.lines, static_cast<size_t>(start - 1), static_cast<size_t>(end), args().getInt(call, 3), list.encoding);
  }
  return 0;
}

// Modes a C stream takes for writing; anything else would be handed to the library unchecked.
bool isPlainWriteMode(std::string_view mode) {
  if (mode.empty() || mode.size() > 3 || (mode[0] != 'w' && mode[0] != 'a')) return false;
  return mode.substr(1).find_first_not_of("+bt") == std::string_view::npos;
}

int saveTextBody(void* call) {
  const int argumentsGiven = argumentCount(call);
  const std::string path = stringArgument(call, 1);
  const auto& lines = textList().lines;
  const int64_t start = argumentsGiven >= 2 ? args().getInt(call, 2) : 0;
  const int64_t end = argumentsGiven >= 3 ? args().getInt(call, 3) : static_cast<int64_t>(lines.size());
  const std::string mode = argumentsGiven >= 4 ? stringArgument(call, 4) : std::string("wb");
  if (!isPlainWriteMode(mode)) {
    char buffer[128];
    errorc(ReportText().gbk(path).ascii(" ").ascii(errorText(EINVAL, buffer)), true);
    return 0;
  }
  std::string bytes;
  for (int64_t i = std::max<int64_t>(start, 0); i < end && i < static_cast<int64_t>(lines.size()); ++i) {
    bytes += lines[static_cast<size_t>(i)];
  }
  writeScriptFile(path, bytes, mode.c_str());
  return 0;
}

// The encoding stays what the last loadText found.
int clearTextBody(void*) {
  textList().lines.clear();
  return 0;
}

}  // namespace

void provideTextListFunctions() {
  provideCommand("loadText", &loadTextBody);
  provideCommand("saveText", &saveTextBody);
  provideCommand("getText", &getTextBody);
  provideCommand("setText", &setTextBody);
  provideCommand("insertText", &insertTextBody);
  provideCommand("addText", &addTextBody);
  provideCommand("sortText", &sortTextBody);
  provideCommand("clearText", &clearTextBody);
}

}  // namespace vellum
