// libcurl's functions the downloads use, found in the library when the first download needs it.
// Only the types come from curl's headers; nothing links against the library.
#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>

namespace vellum {

struct CurlLibrary {
  decltype(&curl_global_init) globalInit = nullptr;
  decltype(&curl_easy_init) easyInit = nullptr;
  decltype(&curl_easy_cleanup) easyCleanup = nullptr;
  decltype(&curl_easy_setopt) easySetopt = nullptr;
  decltype(&curl_easy_perform) easyPerform = nullptr;
  decltype(&curl_easy_strerror) easyStrerror = nullptr;
};

// The process's libcurl, opened and globally initialised on the first call (the calls after it
// return the same answer). nullptr when it cannot be used; `problem` then says why, in UTF-8.
const CurlLibrary* curlLibrary(std::string& problem);

// Opens the library file `name` and finds every function, without initialising it; nothing, with
// the loader's reason in `problem`, when the file or a function is missing. It stays loaded.
std::optional<CurlLibrary> openCurlLibrary(const char* name, std::string& problem);

}  // namespace vellum
