#include "squirrel/stdlib/regexp_translation.h"

#include <cctype>
#include <cstdio>

namespace vellum::sqstd {

namespace {

// The body of a bracket class for a predefined class letter, or null when the letter is none.
const char* classBody(char letter) {
  switch (letter) {
    case 'l': return "[:lower:]";
    case 'u': return "[:upper:]";
    case 'a': return "[:alpha:]";
    case 'A': return "[:^alpha:]";
    case 'w': return "\\w";
    case 'W': return "\\W";
    case 's': return "\\s";
    case 'S': return "\\S";
    case 'd': return "\\d";
    case 'D': return "\\D";
    case 'x': return "[:xdigit:]";
    case 'X': return "[:^xdigit:]";
    case 'c': return "[:cntrl:]";
    case 'C': return "[:^cntrl:]";
    case 'p': return "[:punct:]";
    case 'P': return "[:^punct:]";
    default: return nullptr;
  }
}

// The character an escape stands for outside the predefined classes.
char escapedCharacter(char letter) {
  switch (letter) {
    case 't': return '\t';
    case 'n': return '\n';
    case 'r': return '\r';
    case 'f': return '\f';
    default: return letter;
  }
}

void appendLiteral(std::string& out, char c) {
  if (std::isalnum(static_cast<unsigned char>(c))) {
    out += c;
    return;
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x{%02x}", static_cast<unsigned char>(c));
  out += hex;
}

class Translator {
 public:
  Translator(std::string_view pattern, std::string& out, std::string& error)
      : p_(pattern), out_(out), error_(error) {}

  // Capture groups added for the balanced matches, numbered after the pattern's own.
  int hiddenGroups() const { return hiddenGroups_; }

  bool run() {
    out_.clear();
    int depth = 0;
    while (i_ < p_.size()) {
      const char c = p_[i_];
      switch (c) {
        case '\\':
          if (!escape(false)) return false;
          break;
        case '[':
          if (!bracketClass()) return false;
          canRepeat_ = true;
          break;
        case '(':
          ++depth;
          if (p_.substr(i_, 3) == "(?:") {
            out_ += "(?:";
            i_ += 3;
          } else if (i_ + 1 < p_.size() && p_[i_ + 1] == '?') {
            return fail("unknown group kind");
          } else {
            out_ += '(';
            ++i_;
          }
          canRepeat_ = false;
          break;
        case ')':
          if (--depth < 0) return fail("unexpected ')'");
          out_ += ')';
          ++i_;
          canRepeat_ = true;
          break;
        case '*':
        case '+':
        case '?':
          if (!repeatable()) return fail("nothing to repeat");
          out_ += c;
          ++i_;
          canRepeat_ = false;
          break;
        case '{':
          if (!repeatable()) return fail("nothing to repeat");
          if (!counted()) return false;
          canRepeat_ = false;
          break;
        case '.':
          out_ += c;
          ++i_;
          canRepeat_ = true;
          break;
        case '|':
        case '^':
        case '$':
          out_ += c;
          ++i_;
          canRepeat_ = false;
          break;
        default:
          appendLiteral(out_, c);
          ++i_;
          canRepeat_ = true;
      }
    }
    if (depth != 0) return fail("expected ')'");
    if (!definitions_.empty()) out_ += "(?(DEFINE)" + definitions_ + ")";
    return true;
  }

 private:
  bool fail(const char* message) {
    error_ = message;
    return false;
  }

  // A closure needs an item before it: a literal, a class, '.' or a group. A second closure on the
  // same item is refused, as PCRE2 would read it as a lazy or possessive marker the syntax does
  // not have.
  bool repeatable() const { return canRepeat_; }

  bool escape(bool inClass) {
    if (i_ + 1 >= p_.size()) return fail("unexpected end of the pattern after '\\'");
    const char letter = p_[i_ + 1];
    i_ += 2;
    if (letter == 'm' && !inClass) return balanced();
    if (const char* body = classBody(letter)) {
      if (inClass) {
        out_ += body;
      } else {
        out_ += '[';
        out_ += body;
        out_ += ']';
      }
    } else if (!inClass && (letter == 'b' || letter == 'B')) {
      out_ += '\\';
      out_ += letter;
      canRepeat_ = false;
      return true;
    } else {
      appendLiteral(out_, escapedCharacter(letter));
    }
    canRepeat_ = true;
    return true;
  }

  // \mXY matches from an X to the Y that balances it. Nested pairs need a recursive group; it is
  // defined at the end of the pattern so the pattern's own groups keep their numbers.
  bool balanced() {
    if (i_ + 2 > p_.size()) return fail("balanced chars expected");
    const char open = p_[i_], close = p_[i_ + 1];
    i_ += 2;
    if (open == close) return fail("open/close char can't be the same");
    std::string first, last, inner = "[^";
    appendLiteral(first, open);
    appendLiteral(last, close);
    inner += first + last + "]";
    const std::string name = "vellumBalanced" + std::to_string(hiddenGroups_++);
    definitions_ += "(?<" + name + ">" + first + "(?:" + inner + "|(?&" + name + "))*+" + last + ")";
    out_ += "(?&" + name + ")";
    canRepeat_ = true;
    return true;
  }

  bool bracketClass() {
    ++i_;  // '['
    out_ += '[';
    if (i_ < p_.size() && p_[i_] == '^') {
      out_ += '^';
      ++i_;
    }
    if (i_ < p_.size() && p_[i_] == ']') return fail("empty class");
    while (i_ < p_.size() && p_[i_] != ']') {
      if (p_[i_] == '\\') {
        if (!escape(true)) return false;
        continue;
      }
      const char first = p_[i_++];
      if (i_ + 1 < p_.size() && p_[i_] == '-' && p_[i_ + 1] != ']') {
        char last = p_[i_ + 1];
        i_ += 2;
        if (last == '\\') {
          if (i_ >= p_.size()) return fail("unexpected end of the pattern after '\\'");
          last = escapedCharacter(p_[i_++]);
        }
        if (static_cast<unsigned char>(last) < static_cast<unsigned char>(first)) return fail("invalid range");
        appendLiteral(out_, first);
        out_ += '-';
        appendLiteral(out_, last);
      } else {
        appendLiteral(out_, first);
      }
    }
    if (i_ >= p_.size()) return fail("expected ']'");
    ++i_;
    out_ += ']';
    return true;
  }

  bool digits(int& value) {
    const size_t start = i_;
    value = 0;
    while (i_ < p_.size() && std::isdigit(static_cast<unsigned char>(p_[i_]))) {
      value = value * 10 + (p_[i_++] - '0');
      if (value > 65535) return fail("repeat count too large");
    }
    if (i_ == start) return fail("expected number");
    return true;
  }

  bool counted() {
    ++i_;  // '{'
    int low = 0, high = -1;
    if (!digits(low)) return false;
    std::string text = "{" + std::to_string(low);
    if (i_ < p_.size() && p_[i_] == ',') {
      ++i_;
      text += ',';
      if (i_ < p_.size() && p_[i_] != '}') {
        if (!digits(high)) return false;
        if (high < low) return fail("invalid repeat range");
        text += std::to_string(high);
      }
    }
    if (i_ >= p_.size() || p_[i_] != '}') return fail("expected '}'");
    ++i_;
    out_ += text + '}';
    return true;
  }

  std::string_view p_;
  std::string& out_;
  std::string& error_;
  size_t i_ = 0;
  bool canRepeat_ = false;
  std::string definitions_;
  int hiddenGroups_ = 0;
};

}  // namespace

bool translateRegexp(std::string_view pattern, std::string& pcre, std::string& error, int* hiddenGroups) {
  Translator translator(pattern, pcre, error);
  const bool ok = translator.run();
  if (hiddenGroups) *hiddenGroups = translator.hiddenGroups();
  return ok;
}

}  // namespace vellum::sqstd
