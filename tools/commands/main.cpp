// Writes the authors' command reference (Markdown) from the engine's command catalogue: every
// command by family, with its arguments, the languages that have it and what it does.
//   vellum-commands OUT.md
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "script/command_catalogue.h"
#include "script/command_summaries.h"

namespace {

using namespace vellum;

bool contains(const std::vector<std::string_view>& names, std::string_view name) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

// Table cells may not hold a bare '|'.
std::string cell(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '|') out += "\\|";
    else out += c;
  }
  return out;
}

// The configuration's accessors follow one pattern: set<Key> value, get<Key> %value.
bool settingAccessor(std::string_view family, std::string_view name, std::string& arguments, std::string& does) {
  if (family != "configuration" || name.size() < 4) return false;
  const std::string_view key = name.substr(3);
  if (name.substr(0, 3) == "set") {
    arguments = "value";
    does = "changes the " + std::string(key) + " setting";
  } else if (name.substr(0, 3) == "get") {
    arguments = "%value";
    does = "the " + std::string(key) + " setting";
  } else {
    return false;
  }
  return true;
}

void row(std::ofstream& out, std::string_view family, std::string_view name, bool native, bool vms,
         std::string_view familyLine) {
  const CommandSummary* s = commandSummary(name);
  std::string arguments(s ? s->arguments : std::string_view());
  std::string does(s ? s->does : std::string_view());
  if (does.empty() && !settingAccessor(family, name, arguments, does)) {
    // Without a line of its own a command is described by its family, marked as such.
    does = "*(" + std::string(familyLine) + ")*";
  }
  out << "| `" << name << "` | " << (arguments.empty() ? "" : "`" + cell(arguments) + "`") << " | "
      << (native ? "native" : "") << (native && vms ? ", " : "") << (vms ? "Lua, Squirrel" : "") << " | "
      << cell(does) << " |\n";
}

// A family's line as a paragraph: capitalised, with a full stop.
std::string sentence(std::string_view line) {
  std::string text(line);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text + ".";
}

void tableHead(std::ofstream& out) {
  out << "| Command | Arguments | Languages | What it does |\n|---|---|---|---|\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vellum-commands OUT.md\n", stderr);
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  if (!out) {
    std::fprintf(stderr, "vellum-commands: cannot write %s\n", argv[1]);
    return 1;
  }
  out << "# Command reference\n\n"
         "Generated from the engine's command catalogue when the engine is built. Every command a\n"
         "script can call is listed once, by family. Arguments are written as the native script\n"
         "passes them: `%n` / `$s` are variables that receive a result, and `→` marks results that\n"
         "the native script receives in variables given after the other arguments. In Lua and\n"
         "Squirrel a command's results are its return values (several come back as a table or an\n"
         "array). Languages: native is the game's own script; Lua and Squirrel have the command as a\n"
         "global function of the same name. A command without a line of its own shows its family's\n"
         "line in parentheses.\n\n";

  const auto& natives = nativeBuiltinNames();
  const auto& vms = vmBuiltinNames();
  const std::string_view builtins = familySummary("built-ins");
  out << "## Built-ins\n\n" << sentence(builtins) << "\n\n";
  tableHead(out);
  for (std::string_view name : natives) row(out, "built-ins", name, true, contains(vms, name), builtins);
  for (std::string_view name : vms) {
    if (!contains(natives, name)) row(out, "built-ins", name, false, true, builtins);
  }
  for (const CommandFamily& family : engineCommandFamilies()) {
    const std::string_view line = familySummary(family.family);
    std::string title(family.family);
    if (!title.empty()) title[0] = static_cast<char>(title[0] - ('a' <= title[0] && title[0] <= 'z' ? 32 : 0));
    out << "\n## " << title << "\n\n" << sentence(line) << "\n\n";
    tableHead(out);
    for (std::string_view name : family.names) row(out, family.family, name, true, !isNativeOnly(name), line);
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "vellum-commands: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
