// Tokenizer of Squirrel source text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sqvm {

enum Token : int {
  TK_EOF = 0,
  // single characters use their own code (below 256)
  TK_IDENTIFIER = 256, TK_STRING, TK_INTEGER, TK_FLOAT,
  TK_EQ, TK_NE, TK_LE, TK_GE, TK_AND, TK_OR, TK_PLUSPLUS, TK_MINUSMINUS, TK_PLUSEQ, TK_MINUSEQ,
  TK_MULEQ, TK_DIVEQ, TK_MODEQ, TK_NEWSLOT, TK_SHL, TK_SHR, TK_USHR, TK_CMP3, TK_DOUBLECOLON,
  TK_VARPARAMS, TK_ATTR_OPEN, TK_ATTR_CLOSE,
  // keywords
  TK_BASE, TK_BREAK, TK_CASE, TK_CATCH, TK_CLASS, TK_CLONE, TK_CONTINUE, TK_CONST, TK_DEFAULT,
  TK_DELETE, TK_ELSE, TK_ENUM, TK_EXTENDS, TK_FOR, TK_FOREACH, TK_FUNCTION, TK_IF, TK_IN, TK_LOCAL,
  TK_NULL, TK_RESUME, TK_RETURN, TK_SWITCH, TK_THIS, TK_THROW, TK_TRY, TK_TYPEOF, TK_WHILE,
  TK_YIELD, TK_CONSTRUCTOR, TK_INSTANCEOF, TK_TRUE, TK_FALSE, TK_STATIC, TK___LINE__, TK___FILE__,
  TK_RAWCALL, TK_DO,
};

struct LexError {
  std::string message;
  int line, column;
};

class Lexer {
 public:
  explicit Lexer(std::string_view source);
  // Advances to the next token; throws LexError.
  void next();

  int token = TK_EOF;
  std::string text;        // identifier or string contents
  int64_t intValue = 0;
  float floatValue = 0;
  int line = 1, column = 1;        // where the token starts
  bool newlineBefore = false;      // a line break separates it from the previous token
  int prevLine = 1;                // line of the end of the previous token

  static std::string tokenName(int token);

 private:
  // A NUL byte ends the source, as the end of a reader's input does.
  int peek(size_t ahead = 0) const {
    if (pos_ + ahead >= src_.size()) return -1;
    const int c = static_cast<unsigned char>(src_[pos_ + ahead]);
    return c == 0 ? -1 : c;
  }
  int advance();
  [[noreturn]] void fail(const std::string& message) const;
  void readNumber();
  void readString(int quote, bool verbatim);
  int readEscape();
  void skipSpaceAndComments();

  std::string_view src_;
  size_t pos_ = 0;
  int curLine_ = 1, curColumn_ = 1;
};

}  // namespace sqvm
