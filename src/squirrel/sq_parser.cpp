#include "squirrel/sq_parser.h"

#include <algorithm>

namespace sqvm {

Parser::NestingGuard::NestingGuard(Parser& parser) : p(parser) {
  if (++p.nesting_ > kMaxNesting) p.fail("script nested too deeply");
}

Parser::Parser(std::string_view source) : lex_(source) {}

void Parser::fail(const std::string& message) const { throw CompileError{message, lex_.line, lex_.column}; }

void Parser::expected(const std::string& what) const {
  fail("expected " + what + " but found " + Lexer::tokenName(lex_.token));
}

void Parser::next() {
  try {
    lex_.next();
  } catch (const LexError& e) {
    throw CompileError{e.message, e.line, e.column};
  }
}

bool Parser::accept(int token) {
  if (lex_.token != token) return false;
  next();
  return true;
}

void Parser::expect(int token) {
  if (lex_.token != token) expected(Lexer::tokenName(token));
  next();
}

std::string Parser::expectIdentifier() {
  if (lex_.token != TK_IDENTIFIER && lex_.token != TK_CONSTRUCTOR) expected("identifier");
  std::string name = lex_.text;
  if (lex_.token == TK_CONSTRUCTOR) name = "constructor";
  next();
  return name;
}

void Parser::endOfStatement() {
  if (accept(';')) return;
  if (lex_.token == '}' || lex_.token == TK_EOF || lex_.newlineBefore || lex_.token == TK_ELSE) return;
  fail("end of statement expected (; or lf)");
}

NodePtr Parser::make(NodeKind kind) { return std::make_unique<Node>(kind, lex_.line, lex_.column); }

NodePtr Parser::finish(NodePtr node) {
  int depth = 0;
  for (const NodePtr& k : node->kids)
    if (k) depth = std::max(depth, k->depth);
  node->depth = depth + 1;
  if (node->depth > kMaxTreeDepth) fail("expression too complex");
  return node;
}

std::unique_ptr<FunctionInfo> Parser::parseScript() {
  auto info = std::make_unique<FunctionInfo>();
  info->name = "main";
  info->varargs = true;
  next();
  auto body = make(NodeKind::Block);
  while (lex_.token != TK_EOF) body->kids.push_back(statement());
  info->body = std::move(body);
  return info;
}

// ---- statements ---------------------------------------------------------------------------

NodePtr Parser::statement() {
  NestingGuard guard(*this);
  switch (lex_.token) {
    case ';': {
      auto n = make(NodeKind::Empty);
      next();
      return n;
    }
    case '{': return block();
    case TK_IF: return ifStatement();
    case TK_WHILE: return whileStatement();
    case TK_DO: return doWhileStatement();
    case TK_FOR: return forStatement();
    case TK_FOREACH: return foreachStatement();
    case TK_SWITCH: return switchStatement();
    case TK_TRY: return tryStatement();
    case TK_LOCAL: return localStatement();
    case TK_FUNCTION: return functionStatement();
    case TK_CLASS: return classStatement();
    case TK_CONST: return constStatement();
    case TK_ENUM: return enumStatement();
    case TK_RETURN:
    case TK_YIELD: {
      auto n = make(lex_.token == TK_RETURN ? NodeKind::Return : NodeKind::Yield);
      next();
      if (lex_.token != ';' && lex_.token != '}' && lex_.token != TK_EOF && !lex_.newlineBefore)
        n->kids.push_back(commaExpression());
      endOfStatement();
      return n;
    }
    case TK_BREAK:
    case TK_CONTINUE: {
      auto n = make(lex_.token == TK_BREAK ? NodeKind::Break : NodeKind::Continue);
      next();
      endOfStatement();
      return n;
    }
    case TK_THROW: {
      auto n = make(NodeKind::Throw);
      next();
      n->kids.push_back(commaExpression());
      endOfStatement();
      return n;
    }
    default: {
      auto n = make(NodeKind::ExprStatement);
      n->kids.push_back(commaExpression());
      endOfStatement();
      return n;
    }
  }
}

NodePtr Parser::block() {
  auto n = make(NodeKind::Block);
  expect('{');
  while (lex_.token != '}') {
    if (lex_.token == TK_EOF) expected("'}'");
    n->kids.push_back(statement());
  }
  next();
  return n;
}

NodePtr Parser::localStatement() {
  auto n = make(NodeKind::Local);
  next();
  if (accept(TK_FUNCTION)) {
    std::string name = expectIdentifier();
    n->op = 1;  // declared before its value, so the function can call itself
    n->names.push_back(name);
    NodePtr env;
    if (accept('[')) {
      env = expression();
      expect(']');
    }
    auto f = make(NodeKind::Function);
    f->function = functionBody(name, false);
    f->function->env = std::move(env);
    n->kids.push_back(std::move(f));
    return n;
  }
  do {
    n->names.push_back(expectIdentifier());
    if (accept('=')) {
      n->kids.push_back(expression());
    } else {
      n->kids.push_back(nullptr);
    }
  } while (accept(','));
  endOfStatement();
  return n;
}

NodePtr Parser::ifStatement() {
  auto n = make(NodeKind::If);
  next();
  expect('(');
  n->kids.push_back(commaExpression());
  expect(')');
  n->kids.push_back(statement());
  if (accept(TK_ELSE)) n->kids.push_back(statement());
  return n;
}

NodePtr Parser::whileStatement() {
  auto n = make(NodeKind::While);
  next();
  expect('(');
  n->kids.push_back(commaExpression());
  expect(')');
  n->kids.push_back(statement());
  return n;
}

NodePtr Parser::doWhileStatement() {
  auto n = make(NodeKind::DoWhile);
  next();
  n->kids.push_back(statement());
  expect(TK_WHILE);
  expect('(');
  n->kids.push_back(commaExpression());
  expect(')');
  if (lex_.token == ';') next();
  return n;
}

NodePtr Parser::forStatement() {
  auto n = make(NodeKind::For);
  next();
  expect('(');
  if (lex_.token == TK_LOCAL) {
    auto local = make(NodeKind::Local);
    next();
    do {
      local->names.push_back(expectIdentifier());
      local->kids.push_back(accept('=') ? expression() : nullptr);
    } while (accept(','));
    n->kids.push_back(std::move(local));
  } else if (lex_.token != ';') {
    auto e = make(NodeKind::ExprStatement);
    e->kids.push_back(commaExpression());
    n->kids.push_back(std::move(e));
  } else {
    n->kids.push_back(nullptr);
  }
  expect(';');
  n->kids.push_back(lex_.token != ';' ? commaExpression() : nullptr);
  expect(';');
  n->kids.push_back(lex_.token != ')' ? commaExpression() : nullptr);
  expect(')');
  n->kids.push_back(statement());
  return n;
}

NodePtr Parser::foreachStatement() {
  auto n = make(NodeKind::Foreach);
  next();
  expect('(');
  n->names.push_back(expectIdentifier());
  if (accept(',')) n->names.push_back(expectIdentifier());
  expect(TK_IN);
  n->kids.push_back(expression());
  expect(')');
  n->kids.push_back(statement());
  return n;
}

NodePtr Parser::switchStatement() {
  auto n = make(NodeKind::Switch);
  next();
  expect('(');
  n->kids.push_back(commaExpression());
  expect(')');
  expect('{');
  bool sawDefault = false;
  while (lex_.token != '}') {
    SwitchCase c;
    if (accept(TK_CASE)) {
      if (sawDefault) fail("'case' after 'default'");
      c.value = expression();
    } else if (accept(TK_DEFAULT)) {
      if (sawDefault) fail("duplicate 'default'");
      sawDefault = true;
    } else {
      expected("'case' or 'default'");
    }
    expect(':');
    while (lex_.token != TK_CASE && lex_.token != TK_DEFAULT && lex_.token != '}') {
      if (lex_.token == TK_EOF) expected("'}'");
      c.body.push_back(statement());
    }
    n->cases.push_back(std::move(c));
  }
  next();
  return n;
}

NodePtr Parser::tryStatement() {
  auto n = make(NodeKind::Try);
  next();
  n->kids.push_back(statement());
  expect(TK_CATCH);
  expect('(');
  n->names.push_back(expectIdentifier());
  expect(')');
  n->kids.push_back(statement());
  return n;
}

NodePtr Parser::functionStatement() {
  const int line = lex_.line, column = lex_.column;
  next();
  auto target = make(NodeKind::Identifier);
  target->text = expectIdentifier();
  std::string name = target->text;
  while (accept(TK_DOUBLECOLON)) {
    auto field = std::make_unique<Node>(NodeKind::Field, lex_.line, lex_.column);
    field->text = expectIdentifier();
    name = field->text;
    field->kids.push_back(std::move(target));
    target = finish(std::move(field));
  }
  NodePtr env;
  if (accept('[')) {
    env = expression();
    expect(']');
  }
  auto f = std::make_unique<Node>(NodeKind::Function, line, column);
  f->function = functionBody(name, false);
  f->function->env = std::move(env);
  auto slot = std::make_unique<Node>(NodeKind::NewSlot, line, column);
  slot->kids.push_back(std::move(target));
  slot->kids.push_back(std::move(f));
  auto s = std::make_unique<Node>(NodeKind::ExprStatement, line, column);
  s->kids.push_back(finish(std::move(slot)));
  return s;
}

NodePtr Parser::classStatement() {
  const int line = lex_.line, column = lex_.column;
  next();
  auto target = make(NodeKind::Identifier);
  target->text = expectIdentifier();
  while (accept('.')) {
    auto field = std::make_unique<Node>(NodeKind::Field, lex_.line, lex_.column);
    field->text = expectIdentifier();
    field->kids.push_back(std::move(target));
    target = finish(std::move(field));
  }
  auto cls = classExpression();
  auto slot = std::make_unique<Node>(NodeKind::NewSlot, line, column);
  slot->kids.push_back(std::move(target));
  slot->kids.push_back(std::move(cls));
  auto s = std::make_unique<Node>(NodeKind::ExprStatement, line, column);
  s->kids.push_back(finish(std::move(slot)));
  if (lex_.token == ';') next();
  return s;
}

NodePtr Parser::constStatement() {
  auto n = make(NodeKind::Const);
  next();
  n->text = expectIdentifier();
  expect('=');
  auto value = make(NodeKind::Null);
  bool negative = accept('-');
  switch (lex_.token) {
    case TK_INTEGER:
      value->kind = NodeKind::Integer;
      value->intValue = negative ? -lex_.intValue : lex_.intValue;
      break;
    case TK_FLOAT:
      value->kind = NodeKind::Float;
      value->floatValue = negative ? -lex_.floatValue : lex_.floatValue;
      break;
    case TK_STRING:
      if (negative) expected("a number");
      value->kind = NodeKind::String;
      value->text = lex_.text;
      break;
    case TK_TRUE:
    case TK_FALSE:
      if (negative) expected("a number");
      value->kind = lex_.token == TK_TRUE ? NodeKind::True : NodeKind::False;
      break;
    default: expected("scalar value");
  }
  next();
  n->kids.push_back(std::move(value));
  endOfStatement();
  return n;
}

NodePtr Parser::enumStatement() {
  auto n = make(NodeKind::Const);
  next();
  n->text = expectIdentifier();
  auto table = make(NodeKind::Table);
  table->op = 1;  // an enumeration
  expect('{');
  // Members without a value are numbered by a counter of their own: enum { A, B = 5, C } has C = 1.
  int64_t nextValue = 0;
  while (lex_.token != '}') {
    auto key = make(NodeKind::String);
    key->text = expectIdentifier();
    auto value = make(NodeKind::Integer);
    if (accept('=')) {
      bool negative = accept('-');
      if (lex_.token == TK_INTEGER) {
        value->intValue = negative ? -lex_.intValue : lex_.intValue;
      } else if (lex_.token == TK_FLOAT) {
        value->kind = NodeKind::Float;
        value->floatValue = negative ? -lex_.floatValue : lex_.floatValue;
      } else if (lex_.token == TK_STRING && !negative) {
        value->kind = NodeKind::String;
        value->text = lex_.text;
      } else {
        expected("scalar value");
      }
      next();
    } else {
      value->intValue = nextValue++;
    }
    table->kids.push_back(std::move(key));
    table->kids.push_back(std::move(value));
    accept(',');
  }
  next();
  n->kids.push_back(std::move(table));
  return n;
}

// ---- expressions --------------------------------------------------------------------------

NodePtr Parser::commaExpression() {
  NodePtr first = expression();
  if (lex_.token != ',') return first;
  auto n = make(NodeKind::Comma);
  n->kids.push_back(std::move(first));
  while (accept(',')) n->kids.push_back(expression());
  return finish(std::move(n));
}

namespace {
bool isAssignable(const Node& n) {
  return n.kind == NodeKind::Identifier || n.kind == NodeKind::Field || n.kind == NodeKind::Index ||
         n.kind == NodeKind::RootName;
}
}  // namespace

NodePtr Parser::expression() {
  NestingGuard guard(*this);
  NodePtr lhs = ternary();
  const int tok = lex_.token;
  NodeKind kind;
  int op = 0;
  switch (tok) {
    case '=': kind = NodeKind::Assign; break;
    case TK_NEWSLOT: kind = NodeKind::NewSlot; break;
    case TK_PLUSEQ: kind = NodeKind::CompoundAssign; op = '+'; break;
    case TK_MINUSEQ: kind = NodeKind::CompoundAssign; op = '-'; break;
    case TK_MULEQ: kind = NodeKind::CompoundAssign; op = '*'; break;
    case TK_DIVEQ: kind = NodeKind::CompoundAssign; op = '/'; break;
    case TK_MODEQ: kind = NodeKind::CompoundAssign; op = '%'; break;
    default: return lhs;
  }
  if (!isAssignable(*lhs)) fail("can't assign expression");
  auto n = make(kind);
  n->line = lhs->line;
  n->column = lhs->column;
  n->op = op;
  next();
  n->kids.push_back(std::move(lhs));
  n->kids.push_back(expression());
  return finish(std::move(n));
}

NodePtr Parser::ternary() {
  NodePtr cond = binary(0);
  if (lex_.token != '?') return cond;
  auto n = make(NodeKind::Ternary);
  next();
  n->kids.push_back(std::move(cond));
  n->kids.push_back(expression());
  expect(':');
  n->kids.push_back(expression());
  return finish(std::move(n));
}

namespace {
int levelOf(int token) {
  switch (token) {
    case TK_OR: return 0;
    case TK_AND: case TK_IN: return 1;
    case '|': return 2;
    case '^': return 3;
    case '&': return 4;
    case TK_EQ: case TK_NE: case TK_CMP3: return 5;
    case '<': case '>': case TK_LE: case TK_GE: case TK_INSTANCEOF: return 6;
    case TK_SHL: case TK_SHR: case TK_USHR: return 7;
    case '+': case '-': return 8;
    case '*': case '/': case '%': return 9;
    default: return -1;
  }
}
}  // namespace

NodePtr Parser::binary(int level) {
  if (level > 9) return unary();
  NodePtr lhs = binary(level + 1);
  while (levelOf(lex_.token) == level) {
    const int op = lex_.token;
    auto n = make(op == TK_OR ? NodeKind::Or : op == TK_AND ? NodeKind::And : NodeKind::Binary);
    n->line = lhs->line;
    n->column = lhs->column;
    n->op = op;
    next();
    n->kids.push_back(std::move(lhs));
    n->kids.push_back(binary(level + 1));
    lhs = finish(std::move(n));
  }
  return lhs;
}

NodePtr Parser::unary() {
  NestingGuard guard(*this);
  const int tok = lex_.token;
  switch (tok) {
    case '-': case '~': case '!': {
      auto n = make(NodeKind::Unary);
      n->op = tok;
      next();
      NodePtr operand = unary();
      if (tok == '-' && operand->kind == NodeKind::Integer) {
        operand->intValue = static_cast<int64_t>(0ull - static_cast<uint64_t>(operand->intValue));
        return operand;
      }
      if (tok == '-' && operand->kind == NodeKind::Float) {
        operand->floatValue = -operand->floatValue;
        return operand;
      }
      n->kids.push_back(std::move(operand));
      return finish(std::move(n));
    }
    case TK_TYPEOF: case TK_CLONE: case TK_RESUME: {
      auto n = make(tok == TK_TYPEOF ? NodeKind::Typeof : tok == TK_CLONE ? NodeKind::Clone : NodeKind::Resume);
      next();
      n->kids.push_back(unary());
      return finish(std::move(n));
    }
    case TK_DELETE: {
      auto n = make(NodeKind::Delete);
      next();
      NodePtr target = unary();
      if (target->kind != NodeKind::Field && target->kind != NodeKind::Index && target->kind != NodeKind::Identifier &&
          target->kind != NodeKind::RootName)
        fail("can't delete an expression");
      n->kids.push_back(std::move(target));
      return finish(std::move(n));
    }
    case TK_PLUSPLUS: case TK_MINUSMINUS: {
      auto n = make(NodeKind::PreIncrement);
      n->intValue = tok == TK_PLUSPLUS ? 1 : -1;
      next();
      NodePtr target = unary();
      if (!isAssignable(*target)) fail("can't '++' or '--' an expression");
      n->kids.push_back(std::move(target));
      return finish(std::move(n));
    }
    default: return postfix(primary());
  }
}

NodePtr Parser::callArguments(NodePtr callee) {
  auto n = make(NodeKind::Call);
  n->line = callee->line;
  n->column = callee->column;
  next();  // (
  n->kids.push_back(std::move(callee));
  while (lex_.token != ')') {
    n->kids.push_back(expression());
    if (lex_.token != ')') expect(',');
  }
  next();
  return finish(std::move(n));
}

NodePtr Parser::postCallInitializer(NodePtr call) {
  auto n = make(NodeKind::PostCallInit);
  n->line = call->line;
  n->column = call->column;
  NodePtr slots = tableConstructor('}', false);
  n->kids.push_back(std::move(call));
  for (NodePtr& k : slots->kids) n->kids.push_back(std::move(k));
  return finish(std::move(n));
}

NodePtr Parser::postfix(NodePtr node) {
  for (;;) {
    switch (lex_.token) {
      case '.': {
        next();
        auto n = make(NodeKind::Field);
        n->text = expectIdentifier();
        n->kids.push_back(std::move(node));
        node = finish(std::move(n));
        break;
      }
      case '[': {
        auto n = make(NodeKind::Index);
        next();
        n->kids.push_back(std::move(node));
        n->kids.push_back(expression());
        expect(']');
        node = finish(std::move(n));
        break;
      }
      case '(':
        node = callArguments(std::move(node));
        // A brace on the same line sets slots of what the call returned; one on the next line
        // starts a block, as it always has.
        if (lex_.token == '{' && !lex_.newlineBefore) node = postCallInitializer(std::move(node));
        break;
      case TK_PLUSPLUS: case TK_MINUSMINUS: {
        if (lex_.newlineBefore || !isAssignable(*node)) return node;
        auto n = make(NodeKind::PostIncrement);
        n->intValue = lex_.token == TK_PLUSPLUS ? 1 : -1;
        next();
        n->kids.push_back(std::move(node));
        return finish(std::move(n));
      }
      default: return node;
    }
  }
}

NodePtr Parser::primary() {
  NestingGuard guard(*this);
  NodePtr n;
  switch (lex_.token) {
    case TK_INTEGER:
      n = make(NodeKind::Integer);
      n->intValue = lex_.intValue;
      next();
      return n;
    case TK_FLOAT:
      n = make(NodeKind::Float);
      n->floatValue = lex_.floatValue;
      next();
      return n;
    case TK_STRING:
      n = make(NodeKind::String);
      n->text = lex_.text;
      next();
      return n;
    case TK_NULL: n = make(NodeKind::Null); next(); return n;
    case TK_TRUE: n = make(NodeKind::True); next(); return n;
    case TK_FALSE: n = make(NodeKind::False); next(); return n;
    case TK_THIS: n = make(NodeKind::This); next(); return n;
    case TK_BASE: n = make(NodeKind::Base); next(); return n;
    case TK___LINE__:
      n = make(NodeKind::Integer);
      n->intValue = lex_.line;
      next();
      return n;
    case TK___FILE__:
      n = make(NodeKind::String);
      n->op = 1;  // the source name, filled in by the code generator
      next();
      return n;
    case TK_IDENTIFIER:
    case TK_CONSTRUCTOR:
      n = make(NodeKind::Identifier);
      n->text = expectIdentifier();
      return n;
    case TK_DOUBLECOLON:
      n = make(NodeKind::RootName);
      next();
      n->text = expectIdentifier();
      return n;
    case '(': {
      next();
      n = commaExpression();
      expect(')');
      return n;
    }
    case '[': return arrayConstructor();
    case '{': return tableConstructor('}', false);
    case TK_FUNCTION: {
      const int line = lex_.line, column = lex_.column;
      next();
      NodePtr env;
      if (accept('[')) {
        env = expression();
        expect(']');
      }
      n = std::make_unique<Node>(NodeKind::Function, line, column);
      n->function = functionBody("", false);
      n->function->env = std::move(env);
      return n;
    }
    case '@': {
      const int line = lex_.line, column = lex_.column;
      next();
      n = std::make_unique<Node>(NodeKind::Function, line, column);
      n->function = functionBody("", true);
      return n;
    }
    case TK_CLASS: next(); return classExpression();
    case TK_RAWCALL: {
      n = make(NodeKind::RawCall);
      next();
      expect('(');
      while (lex_.token != ')') {
        n->kids.push_back(expression());
        if (lex_.token != ')') expect(',');
      }
      next();
      if (n->kids.size() < 2) fail("rawcall requires a function and an environment");
      return finish(std::move(n));
    }
    default: expected("expression");
  }
}

NodePtr Parser::arrayConstructor() {
  auto n = make(NodeKind::Array);
  next();
  while (lex_.token != ']') {
    n->kids.push_back(expression());
    if (lex_.token == ',') next();
    else if (lex_.token != ']') expected("',' or ']'");
  }
  next();
  return finish(std::move(n));
}

NodePtr Parser::tableConstructor(int closing, bool classBody) {
  auto n = make(NodeKind::Table);
  next();  // { or </
  while (lex_.token != closing) {
    NodePtr key, value;
    if (lex_.token == TK_FUNCTION) {
      next();
      key = make(NodeKind::String);
      key->text = expectIdentifier();
      value = make(NodeKind::Function);
      value->function = functionBody(key->text, false);
    } else if (lex_.token == '[') {
      next();
      key = expression();
      expect(']');
      expect('=');
      value = expression();
    } else if (lex_.token == TK_STRING && !classBody) {
      key = make(NodeKind::String);
      key->text = lex_.text;
      next();
      if (!accept(':')) expect('=');
      value = expression();
    } else {
      key = make(NodeKind::String);
      key->text = expectIdentifier();
      expect('=');
      value = expression();
    }
    n->kids.push_back(std::move(key));
    n->kids.push_back(std::move(value));
    if (lex_.token == ',') next();
  }
  next();
  return finish(std::move(n));
}

std::unique_ptr<FunctionInfo> Parser::functionBody(const std::string& name, bool lambda) {
  NestingGuard guard(*this);
  auto info = std::make_unique<FunctionInfo>();
  info->name = name;
  info->line = lex_.line;
  expect('(');
  while (lex_.token != ')') {
    if (accept(TK_VARPARAMS)) {
      info->varargs = true;
      if (lex_.token != ')') expected("')'");
      break;
    }
    info->params.push_back(expectIdentifier());
    if (accept('=')) {
      info->defaults.push_back(expression());
    } else if (!info->defaults.empty()) {
      fail("expected '=' (default parameters must come last)");
    }
    if (lex_.token != ')') expect(',');
  }
  next();
  if (lambda) {
    auto body = make(NodeKind::Block);
    auto ret = make(NodeKind::Return);
    ret->kids.push_back(expression());
    body->kids.push_back(std::move(ret));
    info->body = std::move(body);
  } else if (lex_.token == '{') {
    info->body = block();
  } else {
    // Any single statement may be the body: function min(x, y) return x < y ? x : y;
    auto body = make(NodeKind::Block);
    body->kids.push_back(statement());
    info->body = std::move(body);
  }
  return info;
}

NodePtr Parser::classExpression() {
  auto n = make(NodeKind::Class);
  n->cls = std::make_unique<ClassInfo>();
  ClassInfo& c = *n->cls;
  if (accept(TK_EXTENDS)) c.base = expression();
  if (lex_.token == TK_ATTR_OPEN) c.attributes = tableConstructor(TK_ATTR_CLOSE, false);
  expect('{');
  while (lex_.token != '}') {
    ClassMember m;
    if (lex_.token == TK_ATTR_OPEN) m.attributes = tableConstructor(TK_ATTR_CLOSE, false);
    if (accept(TK_STATIC)) m.isStatic = true;
    if (lex_.token == TK_FUNCTION || lex_.token == TK_CONSTRUCTOR) {
      const bool ctor = lex_.token == TK_CONSTRUCTOR;
      next();
      m.key = make(NodeKind::String);
      m.key->text = ctor ? "constructor" : expectIdentifier();
      m.value = make(NodeKind::Function);
      m.value->function = functionBody(m.key->text, false);
    } else if (lex_.token == '[') {
      next();
      m.key = expression();
      expect(']');
      expect('=');
      m.value = expression();
    } else {
      m.key = make(NodeKind::String);
      m.key->text = expectIdentifier();
      expect('=');
      m.value = expression();
    }
    c.members.push_back(std::move(m));
    if (lex_.token == ';' || lex_.token == ',') next();
  }
  next();
  return n;
}

}  // namespace sqvm
