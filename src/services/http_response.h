// The part of a download that reads what the server sent: the Content-Length of the final
// response (each status line of a redirect chain starts afresh) and the body kept against it.
// Server bytes are untrusted: a length that is not plain digits, is beyond the cap or disagrees
// with itself is unusable, and no byte beyond the announced length is kept.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

// Whether `text` starts with `lowerPrefix` (given in lower case), letter case ignored.
bool startsWithNoCase(std::string_view text, std::string_view lowerPrefix);

// -1: no Content-Length yet; -2: one that cannot be used.
constexpr int64_t kNoLength = -1, kUnusableLength = -2;

// Digits only (blanks around them allowed), at most `cap`; otherwise kUnusableLength.
int64_t parseContentLength(std::string_view value, uint64_t cap);

class ResponseAssembler {
 public:
  explicit ResponseAssembler(uint64_t maxBody) : maxBody_(maxBody) {}

  // One header line as received, with its line end.
  void headerLine(std::string_view line);
  // Body bytes; false when they cannot be kept (no usable length, or more than it announced;
  // what fits is kept).
  bool bodyBytes(std::string_view bytes);

  int64_t announced() const { return announced_; }
  bool overflowed() const { return overflow_; }
  std::string& body() { return body_; }

 private:
  uint64_t maxBody_;
  int64_t announced_ = kNoLength;
  bool overflow_ = false;
  std::string body_;
};

}  // namespace vellum
