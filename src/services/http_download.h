// Fetching one file over HTTP or HTTPS into memory, for fileDownload. The whole body arrives or
// nothing does: a failure of any step leaves an empty result and names the step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

struct DownloadLimits {
  // Connecting, and waiting for the next bytes once connected, each give up after this long.
  uint32_t connectTimeoutMs = 2000;
  uint32_t stallTimeoutMs = 2000;
  // The whole transfer, however steadily the bytes trickle in.
  uint32_t totalTimeoutMs = 120000;
  // A length header above this is refused before any body is kept.
  uint64_t maxBodyBytes = 256ull << 20;
  int maxRedirects = 5;
};

struct DownloadResult {
  bool ok = false;
  std::string body;     // exactly the length the server announced, when ok
  std::string failure;  // what went wrong, for the log, when not ok
  bool libraryMissing = false;  // no download can work in this run: libcurl cannot be loaded
};

// The URL is taken as bytes; only http:// and https:// are tried, anything else fails without
// touching the network. The server must announce a positive Content-Length no larger than
// limits.maxBodyBytes and send that many bytes; a shorter body is a failure.
DownloadResult downloadToMemory(std::string_view url, const DownloadLimits& limits = {});

// Whether the URL's scheme is one fileDownload may fetch (letter case ignored).
bool isDownloadableUrl(std::string_view url);

// Why the URL cannot be fetched at all (a scheme other than http/https, a NUL byte), or nullptr:
// checked before any transfer starts, the same on every platform.
const char* unusableAddress(std::string_view url);

}  // namespace vellum
