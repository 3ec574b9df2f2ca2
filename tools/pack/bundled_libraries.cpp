#include "bundled_libraries.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "base/libraries_opened_on_first_use.h"
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

// soname -> file, for every library the loader resolves for the program or library (ldd lists
// them all), added to `found`.
void resolveLibraries(const fs::path& program, std::map<std::string, std::string>& found) {
  const std::string command = "ldd " + shellQuoted(program.string()) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) throw ToolError("cannot run ldd to find the engine's libraries");
  const size_t before = found.size();
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
    found.emplace(name, where);
  }
  const int status = pclose(pipe.release());
  if (status != 0 && found.size() == before)
    throw ToolError(program.string() + ": ldd could not list its libraries (is it a dynamically linked program?)");
}

// The file this machine's loader opens for `soname` when a program asks for it by name (as the
// engine does with the libraries it opens on first use), or empty.
std::string fileOpenedFor(const std::string& soname) {
  void* handle = dlopen(soname.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (!handle) return {};
  std::string file;
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name) file = map->l_name;
  dlclose(handle);
  return file;
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
  std::map<std::string, std::string> where;
  resolveLibraries(program, where);
  std::vector<BundledLibrary> bundle;
  std::set<std::string> seen;
  std::vector<std::string> pending = needsOf(program);
  // The libraries the engine opens itself travel too, with what they need.
  for (const std::string_view opened : kLibrariesOpenedOnFirstUse) {
    const std::string soname(opened);
    if (!where.count(soname)) {
      const std::string file = fileOpenedFor(soname);
      if (file.empty())
        throw ToolError("the engine opens " + soname + " when a game needs it, which this machine does not have");
      where[soname] = file;
      resolveLibraries(file, where);
    }
    pending.push_back(soname);
  }
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
