// The Perl-style expressions scripts hand to the regular-expression layer:
//   m/pattern/options  or  /pattern/options   match (split takes the same form)
//   s/pattern/replacement/options             substitute
//   tr/from/to/options  or  y/from/to/options  transliterate
// Any ASCII punctuation other than '\' may stand in for '/'; a delimiter escaped with '\' belongs to
// the text. Options: g (every match), i (ignore ASCII case), m (^ and $ at line ends), s (. matches
// LF), x (blanks and # comments in the pattern), k (the text is in the game's double-byte code page,
// which is how text is always read), j (the text is Shift-JIS), o (ignored); for tr: c (complement
// the from list), d (delete what has no counterpart), s (squeeze runs of one translated character).
#pragma once

#include <string>
#include <string_view>

#include "script/regex/character_model.h"

namespace vellum::regex {

enum class ExpressionKind { Match, Substitute, Transliterate };

struct ExpressionOptions {
  bool global = false;
  bool ignoreCase = false;
  bool multiLine = false;
  bool dotAll = false;
  bool extended = false;
  bool complement = false;
  bool deleteUnmatched = false;
  bool squeeze = false;
  TextCodePage codePage = TextCodePage::Game;
};

struct PerlExpression {
  ExpressionKind kind = ExpressionKind::Match;
  char delimiter = '/';
  std::string pattern;      // m and s: the pattern; tr: the from list
  std::string replacement;  // s: the replacement; tr: the to list
  ExpressionOptions options;
};

// Splits the text into its parts. On failure returns false with a short English reason.
bool parseExpression(std::string_view text, PerlExpression& expression, std::string& error);

}  // namespace vellum::regex
