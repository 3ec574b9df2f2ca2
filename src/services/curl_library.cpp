#include "services/curl_library.h"

#include <dlfcn.h>

#include "base/libraries_opened_on_first_use.h"

namespace vellum {

namespace {

template <typename Function>
bool find(void* handle, const char* symbol, Function& slot, std::string& problem) {
  slot = reinterpret_cast<Function>(dlsym(handle, symbol));
  if (!slot && problem.empty()) problem = std::string("it has no ") + symbol;
  return slot != nullptr;
}

struct Loaded {
  std::optional<CurlLibrary> library;
  std::string problem;
};

}  // namespace

std::optional<CurlLibrary> openCurlLibrary(const char* name, std::string& problem) {
  // Never closed: curl and the TLS library behind it keep process-wide state until exit.
  void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    problem = why ? why : std::string(name) + " cannot be opened";
    return std::nullopt;
  }
  CurlLibrary library;
  std::string missing;
  bool complete = find(handle, "curl_global_init", library.globalInit, missing);
  complete = find(handle, "curl_easy_init", library.easyInit, missing) && complete;
  complete = find(handle, "curl_easy_cleanup", library.easyCleanup, missing) && complete;
  complete = find(handle, "curl_easy_setopt", library.easySetopt, missing) && complete;
  complete = find(handle, "curl_easy_perform", library.easyPerform, missing) && complete;
  complete = find(handle, "curl_easy_strerror", library.easyStrerror, missing) && complete;
  if (!complete) {
    problem = std::string(name) + ": " + missing;
    return std::nullopt;
  }
  return library;
}

const CurlLibrary* curlLibrary(std::string& problem) {
  // Opened once, by whichever thread downloads first.
  static const Loaded loaded = [] {
    Loaded l;
    const std::string name(kCurlLibrary);
    l.library = openCurlLibrary(name.c_str(), l.problem);
    if (l.library && l.library->globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
      l.library.reset();
      l.problem = name + ": its global set-up failed";
    }
    return l;
  }();
  if (!loaded.library) problem = loaded.problem;
  return loaded.library ? &*loaded.library : nullptr;
}

}  // namespace vellum
