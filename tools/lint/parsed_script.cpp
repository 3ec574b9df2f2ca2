#include "parsed_script.h"

#include "base/text_encoding.h"
#include "script/char_classes.h"
#include "script/tokenizer.h"

namespace vellum::lint {

namespace {

std::vector<std::string_view> splitAtLineEnds(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool opensCondition(std::string_view name) { return name == "if" || name == "elseif" || name == "else"; }

// The tokens of a command line come in name/argument pairs cut from the line in order; each is
// found after the one before it.
std::vector<CommandUse> commandsOf(std::string_view text, const ScriptLine& tokens) {
  std::vector<CommandUse> commands;
  size_t cursor = 0;
  bool conditional = false;
  for (size_t t = 0; t + 1 < tokens.tokens.size(); t += 2) {
    CommandUse use;
    use.name = tokens.tokens[t];
    use.arguments = tokens.tokens[t + 1];
    const size_t name = text.find(use.name, cursor);
    use.nameOffset = name == std::string_view::npos ? cursor : name;
    cursor = use.nameOffset + use.name.size();
    const size_t arguments = use.arguments.empty() ? cursor : text.find(use.arguments, cursor);
    use.argumentsOffset = arguments == std::string_view::npos ? cursor : arguments;
    cursor = use.argumentsOffset + use.arguments.size();
    use.conditional = conditional;
    if (opensCondition(use.name)) conditional = true;
    commands.push_back(std::move(use));
  }
  return commands;
}

}  // namespace

std::vector<ParsedScript> parseScripts(const std::vector<ScriptSource>& sources) {
  std::vector<ParsedScript> scripts;
  for (const ScriptSource& source : sources) {
    ParsedScript script;
    script.source = &source;
    ScriptFile file;
    std::vector<std::string_view> texts;
    splitLines(source.text, [&](std::string_view line, int) {
      texts.push_back(line);
      file.emplace_back();
      tokenizeLine(line, file.back());
    });
    const std::vector<std::string_view> written = splitAtLineEnds(source.written);
    const std::vector<LabelLine> labels = readLabelLines(file);
    for (size_t i = 0; i < file.size(); ++i) {
      ParsedLine line;
      line.number = static_cast<int>(i) + 1;
      line.text = texts[i];
      line.written = i < written.size() ? written[i] : std::string_view();
      line.role = labels[i].role;
      line.labelName = labels[i].name;
      line.badLabelByte = labels[i].badByte;
      if (!line.text.empty() && chars::is(chars::kCommandStart, line.text[0]))
        line.commands = commandsOf(line.text, file[i]);
      script.lines.push_back(std::move(line));
    }
    scripts.push_back(std::move(script));
  }
  return scripts;
}

int columnOf(std::string_view line, size_t byteOffset) {
  int column = 1;
  for (size_t i = 0; i < byteOffset && i < line.size(); ++i, ++column) {
    if (chars::is(chars::kLeadByte, line[i])) ++i;
  }
  return column;
}

std::string readable(std::string_view gbk) { return toUtf8(gbk, CodePage::Gbk); }

}  // namespace vellum::lint
