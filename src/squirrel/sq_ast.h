// Syntax tree built by the parser and consumed by the code generator.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sqvm {

enum class NodeKind {
  // expressions
  Null, True, False, Integer, Float, String, Identifier, This, Base, RootName, Index, Field, Call,
  RawCall, Unary, Binary, And, Or, Ternary, Assign, CompoundAssign, NewSlot, PreIncrement,
  PostIncrement, Delete, Table, Array, Function, Class, Comma, Typeof, Clone, Resume, Callee,
  PostCallInit,  // f(...) { a = x, b = y }: the call, then key/value pairs set on its result
  // statements
  Block, ExprStatement, Local, If, While, DoWhile, For, Foreach, Switch, Break, Continue, Return,
  Yield, Throw, Try, Const, Empty
};

struct Node;
using NodePtr = std::unique_ptr<Node>;

struct FunctionInfo {
  std::string name;
  std::vector<std::string> params;
  std::vector<NodePtr> defaults;  // for the last params
  bool varargs = false;
  NodePtr body;                   // a Block
  NodePtr env;                    // function[env](...)
  int line = 0;
};

struct ClassMember {
  NodePtr key, value, attributes;
  bool isStatic = false;
};

struct ClassInfo {
  NodePtr base, attributes;
  std::vector<ClassMember> members;
};

struct SwitchCase {
  NodePtr value;  // null for default
  std::vector<NodePtr> body;
};

struct Node {
  NodeKind kind;
  int line = 0, column = 0;
  int depth = 1;
  int op = 0;              // operator token
  int64_t intValue = 0;
  float floatValue = 0;
  std::string text;        // names, string literals
  std::vector<NodePtr> kids;
  std::vector<std::string> names;       // locals, foreach variables, catch variable
  std::unique_ptr<FunctionInfo> function;
  std::unique_ptr<ClassInfo> cls;
  std::vector<SwitchCase> cases;

  Node(NodeKind k, int l, int c) : kind(k), line(l), column(c) {}
  Node* kid(size_t i) const { return i < kids.size() ? kids[i].get() : nullptr; }
};

}  // namespace sqvm
