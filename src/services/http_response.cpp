#include "services/http_response.h"

#include <cctype>

namespace vellum {

bool startsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (size_t i = 0; i < lowerPrefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != lowerPrefix[i]) return false;
  return true;
}

int64_t parseContentLength(std::string_view value, uint64_t cap) {
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front()))) value.remove_prefix(1);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.remove_suffix(1);
  if (value.empty() || value.size() > 19) return kUnusableLength;
  uint64_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return kUnusableLength;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  return n > cap ? kUnusableLength : static_cast<int64_t>(n);
}

void ResponseAssembler::headerLine(std::string_view line) {
  // Each response of a redirect chain starts with its status line: forget the previous length.
  if (startsWithNoCase(line, "http/")) {
    announced_ = kNoLength;
    return;
  }
  if (!startsWithNoCase(line, "content-length:")) return;
  const int64_t n = parseContentLength(line.substr(15), maxBody_);
  // Two different lengths in one response are a lie.
  announced_ = (announced_ != kNoLength && announced_ != n) ? kUnusableLength : n;
}

bool ResponseAssembler::bodyBytes(std::string_view bytes) {
  if (announced_ <= 0) return false;
  const size_t room = static_cast<size_t>(announced_) - body_.size();
  if (bytes.size() > room) {
    overflow_ = true;
    body_.append(bytes.data(), room);
    return false;
  }
  body_.append(bytes.data(), bytes.size());
  return true;
}

}  // namespace vellum
