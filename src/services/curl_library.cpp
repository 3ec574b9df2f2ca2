#include "services/curl_library.h"

#include "base/libraries_opened_on_first_use.h"
#include "services/system_library.h"

namespace vellum {

namespace {

struct Loaded {
  std::optional<CurlLibrary> library;
  std::string problem;
};

}  // namespace

std::optional<CurlLibrary> openCurlLibrary(const char* name, std::string& problem) {
  // Never closed: curl and the TLS library behind it keep process-wide state until exit.
  void* handle = openSystemLibrary(name, problem);
  if (!handle) return std::nullopt;
  CurlLibrary library;
  std::string missing;
  bool complete = findSystemLibraryFunction(handle, "curl_global_init", library.globalInit, missing);
  complete = findSystemLibraryFunction(handle, "curl_easy_init", library.easyInit, missing) && complete;
  complete = findSystemLibraryFunction(handle, "curl_easy_cleanup", library.easyCleanup, missing) && complete;
  complete = findSystemLibraryFunction(handle, "curl_easy_setopt", library.easySetopt, missing) && complete;
  complete = findSystemLibraryFunction(handle, "curl_easy_perform", library.easyPerform, missing) && complete;
  complete = findSystemLibraryFunction(handle, "curl_easy_strerror", library.easyStrerror, missing) && complete;
  if (!complete) {
    problem = std::string(name) + ": it has no " + missing;
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
