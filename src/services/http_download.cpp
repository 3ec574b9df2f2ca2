#include "services/http_download.h"

#include <curl/curl.h>

#include <cctype>
#include <chrono>
#include <memory>

namespace vellum {

namespace {

using Clock = std::chrono::steady_clock;

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

// One transfer's bookkeeping, shared with curl's callbacks.
struct Transfer {
  const DownloadLimits* limits = nullptr;
  // The Content-Length of the response being received: -1 none yet, -2 present but unusable.
  int64_t announced = -1;
  std::string body;
  bool overflow = false;
  Clock::time_point lastProgress = Clock::now();
  uint64_t lastBytes = 0;
  bool stalled = false;
};

// Digits only, no sign, no junk, and not beyond the cap; anything else is unusable (-2).
int64_t parseLength(std::string_view value, uint64_t cap) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.remove_suffix(1);
  if (value.empty() || value.size() > 19) return -2;
  uint64_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return -2;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  return n > cap ? -2 : static_cast<int64_t>(n);
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  std::string_view line(data, bytes);
  // Each response of a redirect chain starts with its status line: forget the previous length.
  if (startsWithNoCase(line, "http/")) t.announced = -1;
  if (startsWithNoCase(line, "content-length:")) {
    const int64_t n = parseLength(line.substr(15), t.limits->maxBodyBytes);
    // Two different lengths in one response are a lie; treat it as unusable.
    t.announced = (t.announced >= 0 && t.announced != n) ? -2 : n;
  }
  return bytes;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  // The body is kept only against a usable announced length, and never beyond it.
  if (t.announced <= 0) return 0;  // makes curl fail the transfer
  const size_t room = static_cast<size_t>(t.announced) - t.body.size();
  if (bytes > room) {
    t.overflow = true;
    t.body.append(data, room);
    return 0;
  }
  t.body.append(data, bytes);
  return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t now, curl_off_t, curl_off_t) {
  Transfer& t = *static_cast<Transfer*>(user);
  const Clock::time_point at = Clock::now();
  if (static_cast<uint64_t>(now) != t.lastBytes) {
    t.lastBytes = static_cast<uint64_t>(now);
    t.lastProgress = at;
    return 0;
  }
  if (at - t.lastProgress > std::chrono::milliseconds(t.limits->stallTimeoutMs)) {
    t.stalled = true;
    return 1;  // abort
  }
  return 0;
}

void initialiseCurlOnce() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)ready;
}

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

}  // namespace

bool isDownloadableUrl(std::string_view url) {
  return startsWithNoCase(url, "http://") || startsWithNoCase(url, "https://");
}

DownloadResult downloadToMemory(std::string_view url, const DownloadLimits& limits) {
  DownloadResult result;
  if (!isDownloadableUrl(url)) {
    result.failure = "only http and https addresses can be downloaded";
    return result;
  }
  if (url.find('\0') != std::string_view::npos) {
    result.failure = "the address holds a NUL byte";
    return result;
  }
  initialiseCurlOnce();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) {
    result.failure = "no transfer handle";
    return result;
  }
  Transfer t;
  t.limits = &limits;
  const std::string address(url);
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, address.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, static_cast<long>(limits.maxRedirects));
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeoutMs));
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeoutMs));
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  // Always a fresh copy from the server, never one a cache kept.
  curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &onHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &onBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &onProgress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
  const CURLcode code = curl_easy_perform(c);

  if (t.stalled) {
    result.failure = "the server stopped sending";
  } else if (code != CURLE_OK && code != CURLE_WRITE_ERROR) {
    result.failure = curl_easy_strerror(code);
  } else if (t.announced == -1) {
    result.failure = "the server sent no Content-Length";
  } else if (t.announced == -2) {
    result.failure = "the server's Content-Length is unusable";
  } else if (t.announced == 0) {
    result.failure = "the server's Content-Length is 0";
  } else if (code == CURLE_WRITE_ERROR && !t.overflow) {
    result.failure = curl_easy_strerror(code);
  } else if (t.body.size() != static_cast<size_t>(t.announced)) {
    result.failure = "the body is shorter than its Content-Length";
  } else {
    result.ok = true;
    result.body = std::move(t.body);
  }
  return result;
}

}  // namespace vellum
