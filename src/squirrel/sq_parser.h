// Recursive-descent parser: source text to a syntax tree. Nesting is bounded so hostile input
// gets a compile error instead of exhausting the C++ stack.
#pragma once

#include <string>
#include <string_view>

#include "squirrel/sq_ast.h"
#include "squirrel/sq_lexer.h"

namespace sqvm {

struct CompileError {
  std::string message;
  int line, column;
};

class Parser {
 public:
  explicit Parser(std::string_view source);
  // The whole script as the body of a function; throws CompileError.
  std::unique_ptr<FunctionInfo> parseScript();

  static constexpr int kMaxNesting = 450;
  static constexpr int kMaxTreeDepth = 600;

 private:
  struct NestingGuard {
    Parser& p;
    explicit NestingGuard(Parser& parser);
    ~NestingGuard() { --p.nesting_; }
  };

  [[noreturn]] void fail(const std::string& message) const;
  [[noreturn]] void expected(const std::string& what) const;
  void next();
  bool accept(int token);
  void expect(int token);
  std::string expectIdentifier();
  void endOfStatement();
  NodePtr make(NodeKind kind);
  NodePtr finish(NodePtr node);

  NodePtr statement();
  NodePtr block();
  NodePtr localStatement();
  NodePtr ifStatement();
  NodePtr whileStatement();
  NodePtr doWhileStatement();
  NodePtr forStatement();
  NodePtr foreachStatement();
  NodePtr switchStatement();
  NodePtr tryStatement();
  NodePtr functionStatement();
  NodePtr classStatement();
  NodePtr constStatement();
  NodePtr enumStatement();

  NodePtr commaExpression();
  NodePtr expression();
  NodePtr ternary();
  NodePtr binary(int level);
  NodePtr unary();
  NodePtr postfix(NodePtr node);
  NodePtr primary();
  NodePtr tableConstructor(int closing, bool classBody);
  NodePtr arrayConstructor();
  NodePtr functionExpression(const std::string& name, bool lambda);
  std::unique_ptr<FunctionInfo> functionBody(const std::string& name, bool lambda);
  NodePtr classExpression();
  NodePtr callArguments(NodePtr callee);
  NodePtr postCallInitializer(NodePtr call);

  Lexer lex_;
  int nesting_ = 0;
};

}  // namespace sqvm
