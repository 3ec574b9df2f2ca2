// dist: what a player downloads. NAME/ holds the launcher NAME, NAME.desktop, icon.png, the game
// in game/, the engine in bin/ and the libraries it brings in lib/.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bundled_libraries.h"
#include "commands.h"
#include "dist_files.h"
#include "placeholder_pictures.h"
#include "source_tree.h"
#include "storage/archive_writer.h"
#include "tar_gz_writer.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTarGz = ".tar.gz";

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The bundle's name: the output's file name without .tar.gz. It names the launcher, the desktop
// entry and the icon, so it is kept to letters, digits, '.', '_' and '-'.
fs::path outputPath(const PackOptions& options) {
  fs::path out = options.output;
  while (!out.has_filename() && out.has_parent_path() && out != out.parent_path()) out = out.parent_path();
  return out;
}

std::string bundleName(const PackOptions& options) {
  std::string name = outputPath(options).filename().string();
  if (!options.folderOutput) {
    if (!endsWith(name, kTarGz)) throw UsageError("dist -o names a .tar.gz file (or give --dir for a folder)");
    name.resize(name.size() - kTarGz.size());
  }
  const bool plain = !name.empty() && name.front() != '.' && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
  });
  if (!plain) throw UsageError("dist: '" + name + "' cannot name the game's launcher; use letters, digits, '.', '_' and '-'");
  return name;
}

std::vector<uint8_t> textBytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> archiveBytes(const std::vector<ArchiveMember>& members, ArchiveMode mode, const std::string& shown) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!buildArchive(members, mode, ArchiveLayout::Acv1, bytes, error)) throw ToolError(shown + ": " + error);
  return bytes;
}

// Movies, Lua and Squirrel sources are read from their stored bytes: they go into an archive of
// their own, stored as they are.
bool storedPlain(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return endsWith(lower, ".thor") || endsWith(lower, ".lua") || endsWith(lower, ".nut");
}

// A source folder (script/, data/, plugin/) packed as `script` and `archive` would pack it.
void addPackedSources(const fs::path& source, const PackOptions& options, const std::string& game,
                      std::vector<BundleEntry>& entries) {
  std::vector<uint8_t> scripts;
  std::string error;
  if (!buildScriptContainer(scriptMembers(source, options.fromUtf8), options.title, ArchiveLayout::Acv1, scripts, error))
    throw ToolError((source / "script").string() + ": " + error);
  entries.push_back({game + "script.dat", std::move(scripts)});
  if (fs::is_directory(source / "data")) {
    std::vector<ArchiveMember> compressed, plain;
    for (const SourceFile& f : listSourceFiles(source / "data", ""))
      (storedPlain(f.relative) ? plain : compressed).push_back({f.gamePath, readBytes(f.file)});
    if (!compressed.empty()) entries.push_back({game + "arc0.dat", archiveBytes(compressed, ArchiveMode::Compress, "arc0.dat")});
    if (!plain.empty()) entries.push_back({game + "arc1.dat", archiveBytes(plain, ArchiveMode::Plain, "arc1.dat")});
  }
  if (fs::is_directory(source / "plugin"))
    for (const SourceFile& f : listSourceFiles(source / "plugin", ""))
      entries.push_back({game + "plugin/" + f.relative, readBytes(f.file)});
}

// A game folder already packed: its files as they are, without what the engine wrote while it
// was played there (saves, settings, reports).
void addPackedGame(const fs::path& folder, const std::string& game, std::vector<BundleEntry>& entries) {
  for (const SourceFile& f : listSourceFiles(folder, "")) {
    const std::string& r = f.relative;
    if (r.rfind("save/", 0) == 0 || r == "save.dat" || r == "Information.txt" || endsWith(r, ".partial")) continue;
    entries.push_back({game + r, readBytes(f.file)});
  }
}

// The engine to ship: --engine, else the vellum program beside this tool.
fs::path enginePath(const PackOptions& options) {
  if (!options.engine.empty()) return options.engine;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw ToolError("cannot tell where vellum-pack is; give the engine with --engine");
  return self.parent_path() / "vellum";
}

// The engine without its debugging sections when `strip` is at hand (a build with debug
// information is several times the size); as it is otherwise.
std::vector<uint8_t> engineBytes(const fs::path& engine) {
  std::string scratch = (fs::temp_directory_path() / "vellum-pack-engine-XXXXXX").string();
  const int fd = mkstemp(scratch.data());
  if (fd < 0) return readBytes(engine);
  close(fd);
  const std::string command = "strip --strip-debug -o " + shellQuoted(scratch) + " " + shellQuoted(engine.string()) +
                              " >/dev/null 2>&1";
  std::vector<uint8_t> bytes = std::system(command.c_str()) == 0 ? readBytes(scratch) : readBytes(engine);
  std::error_code ec;
  fs::remove(scratch, ec);
  return bytes;
}

void writeFolder(const fs::path& root, const std::vector<BundleEntry>& entries) {
  std::error_code ec;
  if (fs::exists(root, ec) && !fs::is_empty(root, ec))
    throw ToolError(root.string() + ": the folder is not empty; give a new one");
  for (const BundleEntry& e : entries) {
    const fs::path file = root.parent_path() / e.path;
    writeBytes(file, e.bytes);
    fs::permissions(file, e.executable ? fs::perms(0755) : fs::perms(0644), ec);
    if (ec) throw ToolError(file.string() + ": cannot set its permissions: " + ec.message());
  }
}

}  // namespace

std::vector<BundleEntry> gameEntries(const PackOptions& options, const std::string& prefix) {
  const fs::path source = options.input;
  std::vector<BundleEntry> entries;
  if (fs::is_regular_file(source / "script.dat")) addPackedGame(source, prefix, entries);
  else if (fs::is_directory(source / "script")) addPackedSources(source, options, prefix, entries);
  else throw ToolError(source.string() + ": neither a game source folder (script/) nor a packed game (script.dat)");
  return entries;
}

void distributeGame(const PackOptions& options) {
  const std::string name = bundleName(options);
  const fs::path source = options.input;
  const std::string top = name + "/", game = top + "game/";

  std::vector<BundleEntry> entries = gameEntries(options, game);

  const fs::path engine = enginePath(options);
  if (!fs::is_regular_file(engine)) throw ToolError(engine.string() + ": no engine there; give it with --engine");
  entries.push_back({top + "bin/vellum", engineBytes(engine), true});
  const std::vector<BundledLibrary> libraries = librariesToBundle(engine);
  for (const BundledLibrary& library : libraries) entries.push_back({top + "lib/" + library.soname, readBytes(library.file)});

  entries.push_back({top + name, textBytes(launcherScript(name)), true});
  entries.push_back({top + name + ".desktop", textBytes(desktopEntry(name))});
  entries.push_back({top + "icon.png", fs::is_regular_file(source / "icon.png") ? readBytes(source / "icon.png") : defaultIconPng()});

  if (options.folderOutput) writeFolder(outputPath(options), entries);
  else writeBytes(options.output, tarGz(entries));
  std::printf("%s: %s with the engine and %zu libraries\n", options.output.c_str(), name.c_str(), libraries.size());
}

}  // namespace vellum::pack
