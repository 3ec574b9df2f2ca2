// Any bytes as what a server sends for a download: the head split into lines, the rest fed as
// body pieces of varying size. Whatever arrives, the kept body never exceeds the announced
// length, and a usable length is never beyond the cap.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "services/http_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  constexpr uint64_t kCap = 4096;
  ResponseAssembler response(kCap);
  const size_t headEnd = bytes.find("\r\n\r\n");
  const std::string_view head = bytes.substr(0, headEnd == std::string_view::npos ? bytes.size() : headEnd + 2);
  size_t at = 0;
  while (at < head.size()) {
    size_t end = head.find('\n', at);
    end = end == std::string_view::npos ? head.size() : end + 1;
    response.headerLine(head.substr(at, end - at));
    at = end;
  }
  if (response.announced() > static_cast<int64_t>(kCap)) std::abort();
  std::string_view body = headEnd == std::string_view::npos ? std::string_view() : bytes.substr(headEnd + 4);
  // Pieces of 1, 2, 3, ... bytes, as a network might deliver them.
  for (size_t piece = 1; !body.empty(); ++piece) {
    const std::string_view chunk = body.substr(0, piece);
    body.remove_prefix(chunk.size());
    if (!response.bodyBytes(chunk)) break;
  }
  if (response.announced() <= 0 && !response.body().empty()) std::abort();
  if (response.announced() > 0 && response.body().size() > static_cast<size_t>(response.announced())) std::abort();
  return 0;
}
