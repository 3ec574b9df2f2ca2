#include "script/regex/substitution.h"

#include <algorithm>
#include <vector>

#include "script/regex/compiled_pattern.h"

namespace vellum::regex {

namespace {

// A replacement is a run of literal bytes or a reference to a group.
struct Piece {
  std::string literal;
  int group = -1;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void addLiteral(std::vector<Piece>& pieces, std::string_view bytes) {
  if (pieces.empty() || pieces.back().group >= 0) pieces.push_back({});
  pieces.back().literal.append(bytes);
}

std::vector<Piece> parseReplacement(std::string_view r, TextCodePage page) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < r.size();) {
    const size_t length = characterLength(r, i, page);
    const char c = r[i];
    if (length == 1 && c == '\\' && i + 1 < r.size()) {
      const char next = r[i + 1];
      if (next >= '1' && next <= '9') {
        pieces.push_back({{}, next - '0'});
        i += 2;
        continue;
      }
      const size_t escaped = characterLength(r, i + 1, page);
      switch (escaped == 1 ? next : '\0') {
        case 'n': addLiteral(pieces, "\n"); break;
        case 'r': addLiteral(pieces, "\r"); break;
        case 't': addLiteral(pieces, "\t"); break;
        default: addLiteral(pieces, r.substr(i + 1, escaped)); break;
      }
      i += 1 + escaped;
      continue;
    }
    if (length == 1 && c == '$' && i + 1 < r.size()) {
      const char next = r[i + 1];
      if (next == '&') {
        pieces.push_back({{}, 0});
        i += 2;
        continue;
      }
      if (isDigit(next)) {
        int group = next - '0';
        size_t at = i + 2;
        if (group != 0 && at < r.size() && isDigit(r[at])) group = group * 10 + (r[at++] - '0');
        pieces.push_back({{}, group});
        i = at;
        continue;
      }
      if (next == '{') {
        size_t at = i + 2;
        int group = 0;
        while (at < r.size() && isDigit(r[at]) && group < 1000) group = group * 10 + (r[at++] - '0');
        if (at > i + 2 && at < r.size() && r[at] == '}') {
          pieces.push_back({{}, group});
          i = at + 1;
          continue;
        }
      }
    }
    addLiteral(pieces, r.substr(i, length));
    i += length;
  }
  return pieces;
}

void appendReplacement(std::string& out, const std::vector<Piece>& pieces, std::string_view text, const Match& m) {
  for (const Piece& piece : pieces) {
    if (piece.group < 0) {
      out += piece.literal;
    } else if (static_cast<size_t>(piece.group) < m.groups.size() && m.groups[static_cast<size_t>(piece.group)].matched()) {
      const ByteSpan& span = m.groups[static_cast<size_t>(piece.group)];
      out.append(text.substr(span.start, span.length()));
    }
  }
}

}  // namespace

int substitute(const PerlExpression& expression, std::string_view text, std::string& out, std::string& error) {
  CompiledPattern pattern;
  if (!pattern.compile(expression.pattern, expression.options, error)) return -1;
  const std::vector<Piece> pieces = parseReplacement(expression.replacement, expression.options.codePage);
  const CodedText coded = encodeText(text, expression.options.codePage);
  out.clear();
  int count = 0;
  size_t copied = 0;
  size_t from = 0;
  bool notEmpty = false;
  Match m;
  while (pattern.find(coded, from, notEmpty, m, error)) {
    const ByteSpan& whole = m.groups[0];
    if (whole.start > copied) out.append(text.substr(copied, whole.start - copied));
    appendReplacement(out, pieces, text, m);
    copied = std::max(copied, whole.end);
    ++count;
    if (!expression.options.global) break;
    // After an empty match the next one must not be empty at the same place, or the loop stalls.
    from = m.codedEnd;
    notEmpty = m.codedEnd == m.codedStart;
  }
  if (!error.empty()) return -1;
  out.append(text.substr(copied));
  return count;
}

}  // namespace vellum::regex
