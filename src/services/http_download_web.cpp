// fileDownload in the browser: the page's own fetch. Pages are served cross-origin isolated, so
// only addresses of the page's own site (or sites that allow it) answer; the browser follows
// redirects and checks the length itself. The engine waits for the answer by yielding to the
// browser, as its other waits do.
#include <emscripten.h>
#include <emscripten/fetch.h>

#include <chrono>
#include <cstring>

#include "services/http_download.h"

namespace vellum {

namespace {

struct Waiting {
  bool done = false;
};

void finished(emscripten_fetch_t* fetch) { static_cast<Waiting*>(fetch->userData)->done = true; }

}  // namespace

DownloadResult downloadToMemory(std::string_view url, const DownloadLimits& limits) {
  DownloadResult result;
  if (const char* why = unusableAddress(url)) {
    result.failure = why;
    return result;
  }
  Waiting waiting;
  emscripten_fetch_attr_t attr;
  emscripten_fetch_attr_init(&attr);
  std::strcpy(attr.requestMethod, "GET");
  attr.attributes = EMSCRIPTEN_FETCH_LOAD_TO_MEMORY;
  attr.timeoutMSecs = limits.totalTimeoutMs;
  attr.userData = &waiting;
  attr.onsuccess = finished;
  attr.onerror = finished;
  const std::string address(url);
  emscripten_fetch_t* fetch = emscripten_fetch(&attr, address.c_str());
  if (!fetch) {
    result.failure = "the browser refused the request";
    return result;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.totalTimeoutMs);
  while (!waiting.done && std::chrono::steady_clock::now() < deadline) emscripten_sleep(10);
  if (!waiting.done) {
    emscripten_fetch_close(fetch);
    result.failure = "the server stopped sending";
    return result;
  }
  if (fetch->status != 200) {
    // Status 0: the browser blocked the answer (another site without CORS and CORP headers) or
    // the network failed.
    result.failure = fetch->status == 0 ? std::string("the browser could not fetch the address (other sites must allow it)")
                                        : "the server answered " + std::to_string(fetch->status);
  } else if (fetch->numBytes == 0) {
    result.failure = "the server's Content-Length is 0";
  } else if (fetch->numBytes > limits.maxBodyBytes) {
    result.failure = "the body is larger than the download limit";
  } else {
    result.ok = true;
    result.body.assign(fetch->data, static_cast<size_t>(fetch->numBytes));
  }
  emscripten_fetch_close(fetch);
  return result;
}

}  // namespace vellum
