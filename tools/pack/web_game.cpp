// web: a folder to put on a web host. It holds the page (index.html), the engine built for the
// web (vellum.js, vellum.wasm and, for threads, vellum.worker.js), and one package with the game
// and a CJK font: game.data is their bytes one after another, game.json lists each file's path in
// the engine's file system with its offset and size. The page writes the files into the engine's
// file system before the engine starts (the game at /game, the font in /fonts).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "source_tree.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

// Fonts of Debian packages the engine reads (FreeType) that cover Chinese and Japanese.
constexpr const char* kFontCandidates[] = {
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
};

// The engine's web files. vellum.worker.js exists only in builds with threads.
constexpr const char* kEngineFiles[] = {"index.html", "vellum.js", "vellum.wasm"};
constexpr const char* kOptionalEngineFiles[] = {"vellum.worker.js"};

fs::path engineFolder(const PackOptions& options) {
  if (!options.engine.empty()) return options.engine;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw ToolError("cannot tell where vellum-pack is; give the web build's folder with --engine");
  for (const fs::path& candidate : {self.parent_path() / "web-engine", self.parent_path() / "web",
                                    self.parent_path().parent_path() / "share" / "vellum" / "web"})
    if (fs::is_regular_file(candidate / "vellum.wasm", ec)) return candidate;
  return self.parent_path() / "web-engine";
}

fs::path fontFile(const PackOptions& options) {
  if (!options.font.empty()) {
    if (!fs::is_regular_file(options.font)) throw ToolError(options.font + ": no font file there");
    return options.font;
  }
  for (const char* candidate : kFontCandidates)
    if (fs::is_regular_file(candidate)) return candidate;
  throw ToolError("no CJK font found (install fonts-wqy-microhei, or give one with --font)");
}

// JSON string contents: the paths are the game's own bytes, so anything below 0x20, quotes and
// backslashes are escaped and every other byte is kept (the page reads them as UTF-8).
std::string jsonText(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

void publishForWeb(const PackOptions& options) {
  if (options.output.empty()) throw UsageError("web needs -o DIR");
  const fs::path out = options.output;
  std::error_code ec;
  if (fs::exists(out, ec) && !fs::is_empty(out, ec))
    throw ToolError(out.string() + ": the folder is not empty; give a new one");

  const fs::path engine = engineFolder(options);
  for (const char* name : kEngineFiles)
    if (!fs::is_regular_file(engine / name))
      throw ToolError((engine / name).string() + ": the web build's files are not there; build it (make web) or give its folder with --engine");

  std::vector<BundleEntry> files = gameEntries(options, "/game/");
  const fs::path font = fontFile(options);
  files.push_back({"/fonts/" + font.filename().string(), readBytes(font)});

  std::vector<uint8_t> data;
  std::string listing = "{\"game\": \"/game\", \"files\": [\n";
  for (size_t i = 0; i < files.size(); ++i) {
    const BundleEntry& f = files[i];
    listing += "  {\"path\": \"" + jsonText(f.path) + "\", \"offset\": " + std::to_string(data.size()) +
               ", \"size\": " + std::to_string(f.bytes.size()) + "}" + (i + 1 < files.size() ? ",\n" : "\n");
    data.insert(data.end(), f.bytes.begin(), f.bytes.end());
  }
  listing += "]}\n";

  fs::create_directories(out, ec);
  if (ec) throw ToolError(out.string() + ": cannot make the folder: " + ec.message());
  for (const char* name : kEngineFiles) writeBytes(out / name, readBytes(engine / name));
  for (const char* name : kOptionalEngineFiles)
    if (fs::is_regular_file(engine / name)) writeBytes(out / name, readBytes(engine / name));
  writeBytes(out / "game.data", data);
  writeBytes(out / "game.json", std::vector<uint8_t>(listing.begin(), listing.end()));
  std::printf("%s: the page, the engine and %zu files of the game and its font (%zu bytes)\n", out.string().c_str(),
              files.size(), data.size());
}

}  // namespace vellum::pack
