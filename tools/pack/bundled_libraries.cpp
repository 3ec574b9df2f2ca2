#include "bundled_libraries.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "elf_needed.h"
#include "source_tree.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

// Name prefixes of the libraries the player's system provides.
constexpr std::string_view kSystemLibraries[] = {
    // The C library and its loader (libstdc++ and libgcc_s are not part of it: they travel).
    "libc.so", "libm.so", "libmvec.so", "libpthread.so", "libdl.so", "librt.so", "libutil.so", "libresolv.so",
    "libanl.so", "libnsl.so", "ld-linux", "linux-vdso", "linux-gate",
    // GL and EGL, and the kernel graphics driver interfaces under them.
    "libGL.so", "libGLX", "libGLdispatch", "libEGL", "libOpenGL", "libGLES", "libgbm", "libdrm", "libvulkan",
    // X11 and Wayland, with their keyboard and decoration libraries.
    "libX", "libxcb", "libxkbcommon", "libICE", "libSM", "libwayland-", "libdecor",
    // The sound servers and the kernel's sound library.
    "libasound", "libpulse", "libjack", "libpipewire", "libsndio"};

// soname -> file, for every library the loader resolves for the program (ldd lists them all).
std::map<std::string, std::string> resolvedLibraries(const fs::path& program) {
  const std::string command = "ldd " + shellQuoted(program.string()) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) throw ToolError("cannot run ldd to find the engine's libraries");
  std::map<std::string, std::string> found;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe.get())) {
    const std::string text(line);
    const size_t arrow = text.find(" => ");
    if (arrow == std::string::npos) continue;
    const size_t start = text.find_first_not_of(" \t");
    const std::string name = text.substr(start, arrow - start);
    std::string where = text.substr(arrow + 4);
    where = where.substr(0, where.find(" ("));
    while (!where.empty() && (where.back() == '\n' || where.back() == ' ')) where.pop_back();
    found[name] = where;
  }
  const int status = pclose(pipe.release());
  if (status != 0 && found.empty())
    throw ToolError(program.string() + ": ldd could not list its libraries (is it a dynamically linked program?)");
  return found;
}

std::vector<std::string> needsOf(const fs::path& file) {
  const auto needed = neededLibraries(readBytes(file));
  if (!needed) throw ToolError(file.string() + ": not an ELF file whose libraries can be read");
  return *needed;
}

}  // namespace

std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool providedBySystem(std::string_view soname) {
  for (const std::string_view prefix : kSystemLibraries)
    if (soname.substr(0, prefix.size()) == prefix) return true;
  return false;
}

std::vector<BundledLibrary> librariesToBundle(const fs::path& program) {
  const std::map<std::string, std::string> where = resolvedLibraries(program);
  std::vector<BundledLibrary> bundle;
  std::set<std::string> seen;
  std::vector<std::string> pending = needsOf(program);
  while (!pending.empty()) {
    const std::string soname = pending.back();
    pending.pop_back();
    if (providedBySystem(soname) || !seen.insert(soname).second) continue;
    const auto found = where.find(soname);
    if (found == where.end() || found->second.empty() || found->second == "not found")
      throw ToolError(program.string() + " needs " + soname + ", which this machine does not have");
    bundle.push_back({soname, found->second});
    for (std::string& next : needsOf(found->second)) pending.push_back(std::move(next));
  }
  std::sort(bundle.begin(), bundle.end(), [](const auto& a, const auto& b) { return a.soname < b.soname; });
  return bundle;
}

}  // namespace vellum::pack
