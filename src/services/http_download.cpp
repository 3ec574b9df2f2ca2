#include "services/http_download.h"

#include <chrono>

#include "services/curl_library.h"
#include "services/http_response.h"

namespace vellum {

namespace {

using Clock = std::chrono::steady_clock;


// One transfer's bookkeeping, shared with curl's callbacks.
struct Transfer {
  explicit Transfer(const DownloadLimits& l) : limits(&l), response(l.maxBodyBytes) {}
  const DownloadLimits* limits;
  ResponseAssembler response;
  Clock::time_point lastProgress = Clock::now();
  uint64_t lastBytes = 0;
  bool stalled = false;
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  const size_t bytes = size * count;
  static_cast<Transfer*>(user)->response.headerLine(std::string_view(data, bytes));
  return bytes;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
  const size_t bytes = size * count;
  // Returning less than was given makes curl end the transfer.
  return static_cast<Transfer*>(user)->response.bodyBytes(std::string_view(data, bytes)) ? bytes : 0;
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

// A transfer handle, handed back to the library that made it.
class EasyHandle {
 public:
  explicit EasyHandle(const CurlLibrary& curl) : curl_(curl), handle_(curl.easyInit()) {}
  ~EasyHandle() {
    if (handle_) curl_.easyCleanup(handle_);
  }
  EasyHandle(const EasyHandle&) = delete;
  EasyHandle& operator=(const EasyHandle&) = delete;
  CURL* get() const { return handle_; }

 private:
  const CurlLibrary& curl_;
  CURL* handle_;
};

}  // namespace

DownloadResult downloadToMemory(std::string_view url, const DownloadLimits& limits) {
  DownloadResult result;
  if (const char* why = unusableAddress(url)) {
    result.failure = why;
    return result;
  }
  const CurlLibrary* curl = curlLibrary(result.failure);
  if (!curl) {
    result.libraryMissing = true;
    return result;
  }
  const EasyHandle handle(*curl);
  if (!handle.get()) {
    result.failure = "no transfer handle";
    return result;
  }
  Transfer t(limits);
  const std::string address(url);
  CURL* c = handle.get();
  const auto setopt = curl->easySetopt;
  setopt(c, CURLOPT_URL, address.c_str());
  setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  setopt(c, CURLOPT_MAXREDIRS, static_cast<long>(limits.maxRedirects));
  setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeoutMs));
  setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeoutMs));
  setopt(c, CURLOPT_NOSIGNAL, 1L);
  // Always a fresh copy from the server, never one a cache kept.
  setopt(c, CURLOPT_FRESH_CONNECT, 1L);
  setopt(c, CURLOPT_FAILONERROR, 1L);
  setopt(c, CURLOPT_HEADERFUNCTION, &onHeader);
  setopt(c, CURLOPT_HEADERDATA, &t);
  setopt(c, CURLOPT_WRITEFUNCTION, &onBody);
  setopt(c, CURLOPT_WRITEDATA, &t);
  setopt(c, CURLOPT_NOPROGRESS, 0L);
  setopt(c, CURLOPT_XFERINFOFUNCTION, &onProgress);
  setopt(c, CURLOPT_XFERINFODATA, &t);
  const CURLcode code = curl->easyPerform(c);

  ResponseAssembler& r = t.response;
  if (t.stalled) {
    result.failure = "the server stopped sending";
  } else if (code != CURLE_OK && code != CURLE_WRITE_ERROR) {
    result.failure = curl->easyStrerror(code);
  } else if (r.announced() == kNoLength) {
    result.failure = "the server sent no Content-Length";
  } else if (r.announced() == kUnusableLength) {
    result.failure = "the server's Content-Length is unusable";
  } else if (r.announced() == 0) {
    result.failure = "the server's Content-Length is 0";
  } else if (code == CURLE_WRITE_ERROR && !r.overflowed()) {
    result.failure = curl->easyStrerror(code);
  } else if (r.body().size() != static_cast<size_t>(r.announced())) {
    result.failure = "the body is shorter than its Content-Length";
  } else {
    result.ok = true;
    result.body = std::move(r.body());
  }
  return result;
}

}  // namespace vellum
