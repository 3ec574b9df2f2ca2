#include "services/http_download.h"

#include "services/http_response.h"

namespace vellum {

bool isDownloadableUrl(std::string_view url) {
  return startsWithNoCase(url, "http://") || startsWithNoCase(url, "https://");
}

const char* unusableAddress(std::string_view url) {
  if (!isDownloadableUrl(url)) return "only http and https addresses can be downloaded";
  if (url.find('\0') != std::string_view::npos) return "the address holds a NUL byte";
  return nullptr;
}

}  // namespace vellum
