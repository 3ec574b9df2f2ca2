#include "script/regex/split_text.h"

namespace vellum::regex {

int splitText(const PerlExpression& expression, std::string_view text, int limit, std::vector<ByteSpan>& pieces,
              std::string& error) {
  pieces.clear();
  CompiledPattern pattern;
  if (!pattern.compile(expression.pattern, expression.options, error)) return -1;
  const CodedText coded = encodeText(text, expression.options.codePage);
  size_t pieceStart = 0;  // bytes
  size_t from = 0;        // coded
  Match m;
  while (limit <= 0 || pieces.size() + 1 < static_cast<size_t>(limit)) {
    // A piece may not end with an empty match where it begins.
    if (!pattern.find(coded, from, true, m, error)) break;
    const ByteSpan& whole = m.groups[0];
    if (m.codedStart == coded.utf8.size() && m.codedEnd == m.codedStart) break;  // nothing left to split
    pieces.push_back({pieceStart, whole.start});
    pieceStart = whole.end;
    from = m.codedEnd;
  }
  if (!error.empty()) return -1;
  pieces.push_back({pieceStart, text.size()});
  if (limit == 0) {
    while (!pieces.empty() && pieces.back().length() == 0) pieces.pop_back();
  }
  return static_cast<int>(pieces.size());
}

}  // namespace vellum::regex
