// A pattern compiled by PCRE2 for text encoded as CodedText, and the search over such text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/regex/coded_text.h"
#include "script/regex/perl_expression.h"

namespace vellum::regex {

// A captured range in the original bytes; start == npos for a group that took no part.
struct ByteSpan {
  size_t start = std::string_view::npos;
  size_t end = std::string_view::npos;

  bool matched() const { return start != std::string_view::npos; }
  size_t length() const { return end - start; }
};

struct Match {
  size_t codedStart = 0;  // the whole match in the coded text
  size_t codedEnd = 0;
  std::vector<ByteSpan> groups;  // [0] the whole match, then each group, in the original bytes
};

class CompiledPattern {
 public:
  CompiledPattern();
  ~CompiledPattern();
  CompiledPattern(const CompiledPattern&) = delete;
  CompiledPattern& operator=(const CompiledPattern&) = delete;

  // `pattern` is in the original bytes. Returns false with PCRE2's message.
  bool compile(std::string_view pattern, const ExpressionOptions& options, std::string& error);

  // The first match starting at or after the coded offset `from`. With `notEmptyAtFrom` an empty
  // match at `from` itself does not count. Returns false when there is none; `error` is set when
  // the search gave up (a limit was reached).
  bool find(const CodedText& text, size_t from, bool notEmptyAtFrom, Match& match, std::string& error);

  int groupCount() const { return groups_; }

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
  int groups_ = 0;
};

}  // namespace vellum::regex
