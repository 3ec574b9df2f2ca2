#include "command_signatures.h"

#include <array>
#include <string>
#include <unordered_set>

#include "script/command_catalogue.h"
#include "script/command_summaries.h"

namespace vellum::lint {

namespace {

// Words that mark an argument line written for a person rather than as a list of arguments.
constexpr std::array<std::string_view, 12> kDescribed = {"\xE2\x86\x92", "(", "...", "\xE2\x80\xA6", " or ", "then",
                                                         "\"", "*", "=", "list", "values", "commands"};

}  // namespace

std::optional<ArgumentRange> argumentRange(std::string_view command) {
  const CommandSummary* summary = commandSummary(command);
  if (!summary || summary->arguments.empty() || summary->arguments == "any") return std::nullopt;
  const std::string_view text = summary->arguments;
  for (std::string_view word : kDescribed) {
    if (text.find(word) != std::string_view::npos) return std::nullopt;
  }
  ArgumentRange range{1, 1};
  int depth = 0;
  for (const char c : text) {
    if (c == '[') {
      ++depth;
    } else if (c == ']') {
      if (--depth < 0) return std::nullopt;
    } else if (c == ',') {
      ++range.most;
      if (depth == 0) ++range.least;
    }
  }
  if (depth != 0) return std::nullopt;
  // A body that returns a value takes one more argument in the native script: the variable the
  // value goes into, which the reference line leaves out when it says "returns".
  if (summary->does.find("returns") != std::string_view::npos && text.find_first_of("%$") == std::string_view::npos)
    ++range.most;
  return range;
}

bool isCataloguedCommand(std::string_view name) {
  static const std::unordered_set<std::string> names = [] {
    std::unordered_set<std::string> all;
    for (std::string_view n : nativeBuiltinNames()) all.emplace(n);
    for (const CommandFamily& family : engineCommandFamilies()) {
      for (std::string_view n : family.names) all.emplace(n);
    }
    return all;
  }();
  return names.count(std::string(name)) > 0;
}

}  // namespace vellum::lint
