#include "pack_options.h"

#include <initializer_list>
#include <string_view>

#include "tool_error.h"

namespace vellum::pack {

namespace {

struct CommandSyntax {
  std::string_view name;
  Command command;
  std::string_view inputName;  // the one positional argument
  std::initializer_list<std::string_view> options;  // options this command accepts
};

const CommandSyntax kCommands[] = {
    {"script", Command::Script, "ROOT", {"-o", "--title", "--from-utf8"}},
    {"archive", Command::Archive, "ROOT", {"-o", "--mode", "--legacy"}},
    {"list", Command::List, "FILE", {"--names"}},
    {"extract", Command::Extract, "FILE", {"-o", "--names", "--title"}},
    {"new", Command::New, "DIR", {"--title"}},
    {"dist", Command::Dist, "SRC", {"-o", "--dir", "--engine", "--from-utf8"}},
    {"web", Command::Web, "SRC", {"-o", "--engine", "--font", "--from-utf8"}},
};

bool accepts(const CommandSyntax& syntax, std::string_view option) {
  for (std::string_view o : syntax.options)
    if (o == option) return true;
  return false;
}

ArchiveMode parseMode(std::string_view text) {
  if (text == "compress") return ArchiveMode::Compress;
  if (text == "scramble") return ArchiveMode::Scramble;
  if (text == "plain") return ArchiveMode::Plain;
  throw UsageError("--mode takes compress, scramble or plain, not '" + std::string(text) + "'");
}

}  // namespace

const char* usageText() {
  return "usage:\n"
         "  vellum-pack script ROOT -o OUT/script.dat [--title T] [--from-utf8]\n"
         "      packs every file under ROOT/script/ as a script container for the title,\n"
         "      keyed by its path relative to ROOT (script/0.txt); line ends become LF;\n"
         "      --from-utf8 converts UTF-8 sources to GBK\n"
         "  vellum-pack archive ROOT -o OUT/arcN.dat [--mode compress|scramble|plain] [--legacy]\n"
         "      packs every file under ROOT keyed by its relative path ('/' separators);\n"
         "      --legacy writes the older index layout without the ACV1 magic\n"
         "  vellum-pack list FILE [--names ROOT]\n"
         "      one line per entry: key (base 32), flags, stored size, unpacked size and the\n"
         "      relative path of the file under ROOT with that key, when there is one\n"
         "  vellum-pack extract FILE -o DIR --names ROOT [--title T]\n"
         "      writes the entries whose names are known under DIR; script containers are\n"
         "      decoded with the title\n"
         "  vellum-pack new DIR [--title TITLE]\n"
         "      writes a starter game's sources into DIR (new or empty): scripts for a title\n"
         "      menu, settings, message window, saves, backlog and a first scene, placeholder\n"
         "      pictures and sounds, a README and a replay\n"
         "  vellum-pack dist SRC -o NAME.tar.gz [--dir] [--from-utf8] [--engine PROGRAM]\n"
         "      makes what a player downloads: the game packed from SRC (a source folder, or a\n"
         "      game folder already packed), the engine, the libraries it needs, a launcher,\n"
         "      a .desktop file and an icon; --dir writes the folder NAME instead\n"
         "  vellum-pack web SRC -o DIR [--from-utf8] [--engine FOLDER] [--font FILE]\n"
         "      makes a web page that plays the game packed from SRC: index.html, the engine\n"
         "      built for the web (vellum.js, vellum.wasm, vellum.worker.js, from FOLDER, by\n"
         "      default web-engine/ beside vellum-pack), and game.json/game.data holding the\n"
         "      game and a CJK font (FILE, by default the first Debian CJK font installed)\n"
         "  vellum-pack --help\n"
         "Paths are keyed as GBK bytes; the default title is \"" VELLUM_GAME_TITLE "\".\n";
}

PackOptions parseArguments(int argc, char** argv) {
  PackOptions options;
  options.title = VELLUM_GAME_TITLE;
  if (argc < 2) throw UsageError("no command given");
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") return options;

  const CommandSyntax* syntax = nullptr;
  for (const CommandSyntax& c : kCommands)
    if (c.name == first) syntax = &c;
  if (!syntax) throw UsageError("unknown command '" + std::string(first) + "'");
  options.command = syntax->command;
  // A new game's title is the name it shows, not the key of a script container.
  if (options.command == Command::New) options.title.clear();

  bool haveInput = false;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.command = Command::Help;
      return options;
    }
    if (arg.size() > 1 && arg.front() == '-') {
      if (!accepts(*syntax, arg)) throw UsageError(std::string(first) + " does not take " + std::string(arg));
      if (arg == "--from-utf8") {
        options.fromUtf8 = true;
        continue;
      }
      if (arg == "--dir") {
        options.folderOutput = true;
        continue;
      }
      if (arg == "--legacy") {
        options.layout = ArchiveLayout::Legacy;
        continue;
      }
      if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a value");
      const std::string value = argv[++i];
      if (arg == "-o") options.output = value;
      else if (arg == "--names") options.names = value;
      else if (arg == "--title") options.title = value;
      else if (arg == "--engine") options.engine = value;
      else if (arg == "--font") options.font = value;
      else if (arg == "--mode") options.mode = parseMode(value);
      continue;
    }
    if (haveInput) throw UsageError("more than one input given: '" + std::string(arg) + "'");
    options.input = arg;
    haveInput = true;
  }

  if (!haveInput) throw UsageError(std::string(first) + " needs " + std::string(syntax->inputName));
  if (accepts(*syntax, "-o") && options.output.empty()) throw UsageError(std::string(first) + " needs -o");
  if (options.command == Command::Extract && options.names.empty())
    throw UsageError("extract needs --names ROOT to know which entries to write");
  return options;
}

}  // namespace vellum::pack
