#include "squirrel/sq_codegen.h"

#include <unordered_map>

#include "squirrel/sq_function.h"
#include "squirrel/sq_shared_state.h"
#include "squirrel/sq_table.h"
#include "squirrel/sq_vm.h"

namespace sqvm {

namespace {

constexpr int kMaxRegisters = 4000;

struct Loop {
  std::vector<size_t> breaks, continues;
  int localBase;
  int trapDepth;
  bool isSwitch;
};

struct FuncState {
  struct Local {
    std::string name;
    uint16_t reg;
    bool captured;
    size_t infoIndex;
  };
  FuncState* parent = nullptr;
  SQFunctionProto* proto = nullptr;
  std::vector<Local> locals;
  int freeReg = 0;
  std::vector<Loop*> loops;
  int trapDepth = 0;
  std::unordered_map<std::string, int> outerIndex;
  std::unordered_map<int64_t, int> intConstants;
  std::unordered_map<uint32_t, int> floatConstants;
  std::unordered_map<SQString*, int> stringConstants;
  int lastLine = -1;
  int lastHookLine = -1;  // the line of the last OP_LINE
};

class CodeGen {
 public:
  CodeGen(SQVM* vm, std::string_view sourceName) : S_(*vm->shared), source_(S_.string(sourceName)) {}

  SQFunctionProto* function(const FunctionInfo& info, FuncState* parent);

 private:
  [[noreturn]] void fail(const Node* n, const std::string& message) {
    throw CompileError{message, n ? n->line : line_, n ? n->column : 0};
  }

  // ---- emission ----
  size_t emit(uint16_t op, uint16_t a = 0, uint16_t b = 0, uint16_t c = 0) {
    SQFunctionProto* p = fs_->proto;
    if (line_ != fs_->lastLine) {
      p->lines.push_back({static_cast<uint32_t>(p->code.size()), line_});
      fs_->lastLine = line_;
    }
    p->code.push_back({op, a, b, c});
    return p->code.size() - 1;
  }
  size_t emitJump(uint16_t op, uint16_t a = 0) {
    size_t at = emit(op, a);
    return at;
  }
  size_t here() const { return fs_->proto->code.size(); }
  void patch(size_t at, size_t target) {
    fs_->proto->code[at].setSbx(static_cast<int32_t>(target) - static_cast<int32_t>(at + 1));
  }
  void patchHere(size_t at) { patch(at, here()); }
  void jumpBack(uint16_t op, uint16_t a, size_t target) {
    size_t at = emit(op, a);
    patch(at, target);
  }

  int allocReg() {
    const int r = fs_->freeReg++;
    if (fs_->freeReg > kMaxRegisters) fail(nullptr, "too many locals or temporaries");
    if (fs_->freeReg > fs_->proto->maxStack) fs_->proto->maxStack = static_cast<uint16_t>(fs_->freeReg);
    return r;
  }
  int activeLocals() const { return fs_->locals.empty() ? 1 : fs_->locals.back().reg + 1; }

  int constant(const Value& v) {
    auto& k = fs_->proto->constants;
    int* slot = nullptr;
    if (v._type == OT_INTEGER) slot = &fs_->intConstants.try_emplace(v._unVal.nInteger, -1).first->second;
    else if (v._type == OT_FLOAT) {
      uint32_t bits;
      std::memcpy(&bits, &v._unVal.fFloat, 4);
      slot = &fs_->floatConstants.try_emplace(bits, -1).first->second;
    } else if (v._type == OT_STRING) slot = &fs_->stringConstants.try_emplace(v._unVal.pString, -1).first->second;
    if (slot && *slot >= 0) return *slot;
    if (k.size() >= 0xFFFF) fail(nullptr, "too many constants");
    k.push_back(v);
    if (slot) *slot = static_cast<int>(k.size() - 1);
    return static_cast<int>(k.size() - 1);
  }
  int stringConstant(const std::string& s) { return constant(S_.stringValue(s)); }
  uint16_t rkString(const std::string& s) {
    const int k = stringConstant(s);
    if (k < 0x7FFF) return static_cast<uint16_t>(k | kConstBit);
    const int r = allocReg();
    emit(OP_LOADK, static_cast<uint16_t>(r), static_cast<uint16_t>(k));
    return static_cast<uint16_t>(r);
  }

  // ---- names ----
  FuncState::Local* findLocal(FuncState* fs, const std::string& name) {
    for (auto it = fs->locals.rbegin(); it != fs->locals.rend(); ++it)
      if (it->name == name) return &*it;
    return nullptr;
  }
  int findOuter(FuncState* fs, const std::string& name) {
    if (!fs->parent) return -1;
    if (auto it = fs->outerIndex.find(name); it != fs->outerIndex.end()) return it->second;
    SQFunctionProto::OuterInfo info{};
    info.name = S_.string(name);
    if (FuncState::Local* l = findLocal(fs->parent, name)) {
      l->captured = true;
      info.fromParentLocal = true;
      info.index = l->reg;
    } else {
      const int up = findOuter(fs->parent, name);
      if (up < 0) return -1;
      info.fromParentLocal = false;
      info.index = static_cast<uint16_t>(up);
    }
    fs->proto->outers.push_back(info);
    const int idx = static_cast<int>(fs->proto->outers.size() - 1);
    fs->outerIndex[name] = idx;
    return idx;
  }
  bool findConstant(const std::string& name, Value& out) {
    if (S_.consttable._type != OT_TABLE) return false;
    return S_.consttable._unVal.pTable->get(S_.stringValue(name), out);
  }
  void declareLocal(const std::string& name, int reg) {
    SQFunctionProto::LocalInfo info{S_.string(name), static_cast<uint32_t>(here()), 0, static_cast<uint16_t>(reg)};
    fs_->proto->locals.push_back(info);
    fs_->locals.push_back({name, static_cast<uint16_t>(reg), false, fs_->proto->locals.size() - 1});
  }
  // Ends the locals declared since `count`; closes their captured cells when needed.
  void endLocals(size_t count, bool emitClose = true) {
    if (fs_->locals.size() <= count) return;
    bool captured = false;
    for (size_t i = count; i < fs_->locals.size(); ++i) {
      captured |= fs_->locals[i].captured;
      fs_->proto->locals[fs_->locals[i].infoIndex].endPc = static_cast<uint32_t>(here());
    }
    const int firstReg = fs_->locals[count].reg;
    if (captured && emitClose) emit(OP_CLOSE, static_cast<uint16_t>(firstReg));
    fs_->locals.resize(count);
    fs_->freeReg = firstReg;
  }

  // ---- expressions ----
  bool isComposite(const Node* n) const {
    switch (n->kind) {
      case NodeKind::Null: case NodeKind::True: case NodeKind::False: case NodeKind::Integer:
      case NodeKind::Float: case NodeKind::String: case NodeKind::Identifier: case NodeKind::This:
      case NodeKind::Base: case NodeKind::RootName: case NodeKind::Field: case NodeKind::Index:
      case NodeKind::Unary: case NodeKind::Binary: case NodeKind::Typeof: case NodeKind::Clone:
      case NodeKind::Call: case NodeKind::RawCall: case NodeKind::Function:
        return false;
      default: return true;
    }
  }
  bool literalValue(const Node* n, Value& out) {
    switch (n->kind) {
      case NodeKind::Integer: out = intValue(n->intValue); return true;
      case NodeKind::Float: out = floatValue(n->floatValue); return true;
      case NodeKind::String: out = S_.stringValue(n->op == 1 ? std::string(source_->view()) : n->text); return true;
      default: return false;
    }
  }
  // An identifier that names a constant, or an enum member.
  bool constantOf(const Node* n, Value& out) {
    if (n->kind == NodeKind::Identifier) {
      if (findLocal(fs_, n->text) || findOuterNoCreate(fs_, n->text)) return false;
      return findConstant(n->text, out);
    }
    if (n->kind == NodeKind::Field && n->kid(0)->kind == NodeKind::Identifier) {
      Value table;
      if (!constantOf(n->kid(0), table) || table._type != OT_TABLE) return false;
      return table._unVal.pTable->get(S_.stringValue(n->text), out);
    }
    return false;
  }
  bool findOuterNoCreate(FuncState* fs, const std::string& name) {
    for (FuncState* f = fs->parent; f; f = f->parent)
      if (findLocal(f, name)) return true;
    return false;
  }

  uint16_t rk(const Node* n) {
    Value v;
    if (literalValue(n, v) || constantOf(n, v)) {
      if (v._type == OT_INTEGER || v._type == OT_FLOAT || v._type == OT_STRING) {
        const int k = constant(v);
        if (k < 0x7FFF) return static_cast<uint16_t>(k | kConstBit);
      }
    }
    return static_cast<uint16_t>(any(n));
  }

  int any(const Node* n) {
    if (n->kind == NodeKind::Identifier)
      if (FuncState::Local* l = findLocal(fs_, n->text)) return l->reg;
    if (n->kind == NodeKind::This) return 0;
    const int r = allocReg();
    to(n, r);
    return r;
  }

  void loadValue(const Value& v, int dest) {
    if (v._type == OT_INTEGER && v._unVal.nInteger >= INT32_MIN && v._unVal.nInteger <= INT32_MAX) {
      size_t at = emit(OP_LOADINT, static_cast<uint16_t>(dest));
      fs_->proto->code[at].setSbx(static_cast<int32_t>(v._unVal.nInteger));
    } else if (v._type == OT_BOOL) {
      emit(OP_LOADBOOL, static_cast<uint16_t>(dest), static_cast<uint16_t>(v._unVal.nInteger));
    } else if (v._type == OT_NULL) {
      emit(OP_LOADNULL, static_cast<uint16_t>(dest), 1);
    } else {
      emit(OP_LOADK, static_cast<uint16_t>(dest), static_cast<uint16_t>(constant(v)));
    }
  }

  void discard(const Node* n) {
    const int save = fs_->freeReg;
    line_ = n->line;
    switch (n->kind) {
      case NodeKind::Call:
      case NodeKind::RawCall: call(n, kNoReg); break;
      case NodeKind::Assign:
      case NodeKind::NewSlot:
      case NodeKind::CompoundAssign:
      case NodeKind::PreIncrement:
      case NodeKind::PostIncrement: assignment(n, -1); break;
      case NodeKind::Comma:
        for (const NodePtr& k : n->kids) discard(k.get());
        break;
      default: {
        const int r = allocReg();
        to(n, r);
      }
    }
    fs_->freeReg = save;
  }

  void to(const Node* n, int dest) {
    line_ = n->line;
    if (dest < activeLocals() && isComposite(n)) {
      const int save = fs_->freeReg;
      const int t = allocReg();
      to(n, t);
      emit(OP_MOVE, static_cast<uint16_t>(dest), static_cast<uint16_t>(t));
      fs_->freeReg = save;
      return;
    }
    const int save = fs_->freeReg;
    const uint16_t d = static_cast<uint16_t>(dest);
    Value v;
    switch (n->kind) {
      case NodeKind::Null: emit(OP_LOADNULL, d, 1); break;
      case NodeKind::True: emit(OP_LOADBOOL, d, 1); break;
      case NodeKind::False: emit(OP_LOADBOOL, d, 0); break;
      case NodeKind::Integer:
      case NodeKind::Float:
      case NodeKind::String:
        literalValue(n, v);
        loadValue(v, dest);
        break;
      case NodeKind::This:
        if (dest != 0) emit(OP_MOVE, d, 0);
        break;
      case NodeKind::Base: emit(OP_LOADBASE, d); break;
      case NodeKind::Identifier: identifier(n, dest); break;
      case NodeKind::RootName: {
        const int t = allocReg();
        emit(OP_LOADROOT, static_cast<uint16_t>(t));
        emit(OP_GET, d, static_cast<uint16_t>(t), rkString(n->text));
        break;
      }
      case NodeKind::Field: {
        if (constantOf(n, v)) {
          loadValue(v, dest);
          break;
        }
        const int obj = any(n->kid(0));
        emit(OP_GET, d, static_cast<uint16_t>(obj), rkString(n->text));
        break;
      }
      case NodeKind::Index: {
        const int obj = any(n->kid(0));
        const uint16_t key = rk(n->kid(1));
        emit(OP_GET, d, static_cast<uint16_t>(obj), key);
        break;
      }
      case NodeKind::Call:
      case NodeKind::RawCall: call(n, d); break;
      case NodeKind::Unary: {
        const int r = any(n->kid(0));
        emit(n->op == '-' ? OP_UNM : n->op == '!' ? OP_NOT : OP_BNOT, d, static_cast<uint16_t>(r));
        break;
      }
      case NodeKind::Typeof:
      case NodeKind::Clone:
      case NodeKind::Resume: {
        const int r = any(n->kid(0));
        emit(n->kind == NodeKind::Typeof ? OP_TYPEOF : n->kind == NodeKind::Clone ? OP_CLONE : OP_RESUME, d,
             static_cast<uint16_t>(r));
        break;
      }
      case NodeKind::Binary: binaryOp(n, dest); break;
      case NodeKind::And:
      case NodeKind::Or: {
        to(n->kid(0), dest);
        fs_->freeReg = save;
        const size_t j = emitJump(n->kind == NodeKind::And ? OP_JZ : OP_JNZ, d);
        to(n->kid(1), dest);
        patchHere(j);
        break;
      }
      case NodeKind::Ternary: {
        const int c = any(n->kid(0));
        fs_->freeReg = save;
        const size_t toElse = emitJump(OP_JZ, static_cast<uint16_t>(c));
        to(n->kid(1), dest);
        const size_t toEnd = emitJump(OP_JMP);
        patchHere(toElse);
        to(n->kid(2), dest);
        patchHere(toEnd);
        break;
      }
      case NodeKind::Assign:
      case NodeKind::NewSlot:
      case NodeKind::CompoundAssign:
      case NodeKind::PreIncrement:
      case NodeKind::PostIncrement: assignment(n, dest); break;
      case NodeKind::Delete: deletion(n, dest); break;
      case NodeKind::Table:
        emit(OP_NEWTABLE, d, static_cast<uint16_t>(std::min<size_t>(n->kids.size() / 2, 0xFFFF)));
        storeSlots(n, 0, d, OP_NEWSLOT);
        break;
      case NodeKind::PostCallInit:
        to(n->kid(0), dest);
        storeSlots(n, 1, d, OP_SET);
        break;
      case NodeKind::Array: {
        emit(OP_NEWARRAY, d, static_cast<uint16_t>(std::min<size_t>(n->kids.size(), 0xFFFF)));
        for (const NodePtr& k : n->kids) {
          const int s2 = fs_->freeReg;
          emit(OP_APPEND, d, rk(k.get()));
          fs_->freeReg = s2;
        }
        break;
      }
      case NodeKind::Function: closure(*n->function, dest); break;
      case NodeKind::Class: classExpr(n, dest); break;
      case NodeKind::Comma:
        for (size_t i = 0; i + 1 < n->kids.size(); ++i) discard(n->kid(i));
        to(n->kids.back().get(), dest);
        break;
      default: fail(n, "invalid expression");
    }
    fs_->freeReg = save;
  }

  // OP_RETURN or OP_YIELD: a = the value's register and b = 1, or b = 0 without a value.
  void valueOrNothing(Op op, const Node* value) {
    if (!value) {
      emit(op, 0, 0);
      return;
    }
    const int save = fs_->freeReg;
    emit(op, static_cast<uint16_t>(any(value)), 1);
    fs_->freeReg = save;
  }

  // The key/value kid pairs from `first` on, each stored into register `object` with `op`.
  void storeSlots(const Node* n, size_t first, uint16_t object, Op op) {
    for (size_t i = first; i + 1 < n->kids.size(); i += 2) {
      const int save = fs_->freeReg;
      const uint16_t key = rk(n->kid(i));
      const uint16_t val = rk(n->kid(i + 1));
      emit(op, object, key, val);
      fs_->freeReg = save;
    }
  }

  void identifier(const Node* n, int dest) {
    const uint16_t d = static_cast<uint16_t>(dest);
    if (FuncState::Local* l = findLocal(fs_, n->text)) {
      if (l->reg != dest) emit(OP_MOVE, d, l->reg);
      return;
    }
    const int o = findOuter(fs_, n->text);
    if (o >= 0) {
      emit(OP_GETOUTER, d, static_cast<uint16_t>(o));
      return;
    }
    Value v;
    if (findConstant(n->text, v)) {
      loadValue(v, dest);
      return;
    }
    emit(OP_GETTHIS, d, static_cast<uint16_t>(stringConstant(n->text)));
  }

  void binaryOp(const Node* n, int dest) {
    const uint16_t d = static_cast<uint16_t>(dest);
    if (n->op == TK_INSTANCEOF) {
      const int a = any(n->kid(0));
      const int b = any(n->kid(1));
      emit(OP_INSTANCEOF, d, static_cast<uint16_t>(a), static_cast<uint16_t>(b));
      return;
    }
    if (n->op == TK_IN) {
      const uint16_t key = rk(n->kid(0));
      const int obj = any(n->kid(1));
      emit(OP_IN, d, key, static_cast<uint16_t>(obj));
      return;
    }
    uint16_t op;
    switch (n->op) {
      case '+': op = OP_ADD; break;
      case '-': op = OP_SUB; break;
      case '*': op = OP_MUL; break;
      case '/': op = OP_DIV; break;
      case '%': op = OP_MOD; break;
      case '&': op = OP_BAND; break;
      case '|': op = OP_BOR; break;
      case '^': op = OP_BXOR; break;
      case TK_SHL: op = OP_SHL; break;
      case TK_SHR: op = OP_SHR; break;
      case TK_USHR: op = OP_USHR; break;
      case TK_EQ: op = OP_EQ; break;
      case TK_NE: op = OP_NE; break;
      case '<': op = OP_LT; break;
      case TK_LE: op = OP_LE; break;
      case '>': op = OP_GT; break;
      case TK_GE: op = OP_GE; break;
      case TK_CMP3: op = OP_CMP3; break;
      default: fail(n, "invalid operator");
    }
    const uint16_t b = rk(n->kid(0));
    const uint16_t c = rk(n->kid(1));
    emit(op, d, b, c);
  }

  static uint16_t arithOp(int token) {
    switch (token) {
      case '+': return OP_ADD;
      case '-': return OP_SUB;
      case '*': return OP_MUL;
      case '/': return OP_DIV;
      default: return OP_MOD;
    }
  }

  // Assignments of every kind; dest < 0 when the value is not needed.
  void assignment(const Node* n, int dest) {
    const Node* target = n->kid(0);
    const bool isIncrement = n->kind == NodeKind::PreIncrement || n->kind == NodeKind::PostIncrement;
    const bool post = n->kind == NodeKind::PostIncrement;
    const uint16_t op = isIncrement ? static_cast<uint16_t>(n->intValue > 0 ? OP_ADD : OP_SUB) : arithOp(n->op);
    const bool plain = n->kind == NodeKind::Assign || n->kind == NodeKind::NewSlot;
    auto operand = [&]() -> uint16_t {
      if (isIncrement) return static_cast<uint16_t>(constant(intValue(1)) | kConstBit);
      return rk(n->kid(1));
    };
    auto result = [&](int reg) {
      if (dest >= 0 && dest != reg) emit(OP_MOVE, static_cast<uint16_t>(dest), static_cast<uint16_t>(reg));
    };

    if (target->kind == NodeKind::Identifier) {
      if (FuncState::Local* l = findLocal(fs_, target->text)) {
        const uint16_t reg = l->reg;
        if (plain) {
          to(n->kid(1), reg);
          result(reg);
        } else if (post && dest >= 0) {
          result(reg);
          emit(op, reg, reg, operand());
        } else {
          emit(op, reg, reg, operand());
          result(reg);
        }
        return;
      }
      const int o = findOuter(fs_, target->text);
      if (o >= 0) {
        const int t = allocReg();
        if (plain) {
          to(n->kid(1), t);
        } else {
          emit(OP_GETOUTER, static_cast<uint16_t>(t), static_cast<uint16_t>(o));
          if (post) result(t);
          emit(op, static_cast<uint16_t>(t), static_cast<uint16_t>(t), operand());
        }
        emit(OP_SETOUTER, static_cast<uint16_t>(o), static_cast<uint16_t>(t));
        if (!post) result(t);
        return;
      }
      Value cv;
      if (findConstant(target->text, cv)) fail(target, "can't assign to a constant");
      const uint16_t name = static_cast<uint16_t>(stringConstant(target->text));
      if (n->kind == NodeKind::NewSlot) {
        const uint16_t key = rkString(target->text);
        const int t = allocReg();
        to(n->kid(1), t);
        emit(OP_NEWSLOT, 0, key, static_cast<uint16_t>(t));
        result(t);
        return;
      }
      const int t = allocReg();
      if (plain) {
        to(n->kid(1), t);
      } else {
        emit(OP_GETTHIS, static_cast<uint16_t>(t), name);
        if (post) result(t);
        emit(op, static_cast<uint16_t>(t), static_cast<uint16_t>(t), operand());
      }
      emit(OP_SETTHIS, name, static_cast<uint16_t>(t));
      if (!post) result(t);
      return;
    }

    // Field, index and root-table targets: evaluate the object and key once.
    int obj;
    uint16_t key;
    if (target->kind == NodeKind::RootName) {
      obj = allocReg();
      emit(OP_LOADROOT, static_cast<uint16_t>(obj));
      key = rkString(target->text);
    } else if (target->kind == NodeKind::Field) {
      obj = any(target->kid(0));
      key = rkString(target->text);
    } else {
      obj = any(target->kid(0));
      key = rk(target->kid(1));
    }
    const int t = allocReg();
    if (plain) {
      to(n->kid(1), t);
    } else {
      emit(OP_GET, static_cast<uint16_t>(t), static_cast<uint16_t>(obj), key);
      if (post) result(t);
      emit(op, static_cast<uint16_t>(t), static_cast<uint16_t>(t), operand());
    }
    emit(n->kind == NodeKind::NewSlot ? OP_NEWSLOT : OP_SET, static_cast<uint16_t>(obj), key, static_cast<uint16_t>(t));
    if (!post) result(t);
  }

  void deletion(const Node* n, int dest) {
    const Node* target = n->kid(0);
    int obj;
    uint16_t key;
    if (target->kind == NodeKind::Identifier) {
      if (findLocal(fs_, target->text) || findOuterNoCreate(fs_, target->text)) fail(target, "cannot delete a local");
      obj = 0;
      key = rkString(target->text);
    } else if (target->kind == NodeKind::RootName) {
      obj = allocReg();
      emit(OP_LOADROOT, static_cast<uint16_t>(obj));
      key = rkString(target->text);
    } else if (target->kind == NodeKind::Field) {
      obj = any(target->kid(0));
      key = rkString(target->text);
    } else {
      obj = any(target->kid(0));
      key = rk(target->kid(1));
    }
    emit(OP_DELETE, static_cast<uint16_t>(dest), static_cast<uint16_t>(obj), key);
  }

  void call(const Node* n, uint16_t dest) {
    const bool tail = tailCall_;
    tailCall_ = false;
    const int save = fs_->freeReg;
    const int base = allocReg();
    const int self = allocReg();
    size_t firstArg = 1;
    if (n->kind == NodeKind::RawCall) {
      to(n->kid(0), base);
      to(n->kid(1), self);
      firstArg = 2;
    } else {
      const Node* callee = n->kid(0);
      Value cv;
      if ((callee->kind == NodeKind::Field || callee->kind == NodeKind::Index) && !constantOf(callee, cv)) {
        const Node* objNode = callee->kid(0);
        int objReg;
        if (objNode->kind == NodeKind::Base) {
          emit(OP_MOVE, static_cast<uint16_t>(self), 0);
          objReg = allocReg();
          emit(OP_LOADBASE, static_cast<uint16_t>(objReg));
        } else {
          to(objNode, self);
          objReg = self;
        }
        const uint16_t key = callee->kind == NodeKind::Field ? rkString(callee->text) : rk(callee->kid(1));
        emit(OP_GET, static_cast<uint16_t>(base), static_cast<uint16_t>(objReg), key);
      } else if (callee->kind == NodeKind::RootName) {
        emit(OP_LOADROOT, static_cast<uint16_t>(self));
        emit(OP_GET, static_cast<uint16_t>(base), static_cast<uint16_t>(self), rkString(callee->text));
      } else {
        to(callee, base);
        emit(OP_MOVE, static_cast<uint16_t>(self), 0);
      }
    }
    fs_->freeReg = self + 1;
    const size_t nargs = n->kids.size() - firstArg;
    for (size_t i = firstArg; i < n->kids.size(); ++i) {
      const int r = allocReg();
      to(n->kid(i), r);
    }
    line_ = n->line;
    emit(tail ? OP_TAILCALL : OP_CALL, static_cast<uint16_t>(base), static_cast<uint16_t>(nargs + 1), dest);
    fs_->freeReg = save;
  }

  void closure(const FunctionInfo& info, int dest) {
    SQFunctionProto* child = function(info, fs_);
    fs_->proto->children.push_back(child);
    const int save = fs_->freeReg;
    const int first = fs_->freeReg;
    for (const NodePtr& d : info.defaults) {
      const int r = allocReg();
      to(d.get(), r);
    }
    emit(OP_CLOSURE, static_cast<uint16_t>(dest), static_cast<uint16_t>(fs_->proto->children.size() - 1),
         static_cast<uint16_t>(first));
    if (info.env) {
      const int e = any(info.env.get());
      emit(OP_BINDENV, static_cast<uint16_t>(dest), static_cast<uint16_t>(e));
    }
    fs_->freeReg = save;
  }

  void classExpr(const Node* n, int dest) {
    const ClassInfo& c = *n->cls;
    const uint16_t d = static_cast<uint16_t>(dest);
    uint16_t base = kNoReg, attrs = kNoReg;
    if (c.base) base = static_cast<uint16_t>(any(c.base.get()));
    if (c.attributes) {
      attrs = static_cast<uint16_t>(allocReg());
      to(c.attributes.get(), attrs);
    }
    emit(OP_NEWCLASS, d, base, attrs);
    for (const ClassMember& m : c.members) {
      const int save = fs_->freeReg;
      const uint16_t key = rk(m.key.get());
      const int v = allocReg();
      const int a = allocReg();
      to(m.value.get(), v);
      if (m.attributes) to(m.attributes.get(), a);
      else emit(OP_LOADNULL, static_cast<uint16_t>(a), 1);
      emit(m.isStatic ? OP_NEWSTATIC : OP_NEWMEMBER, d, key, static_cast<uint16_t>(v));
      fs_->freeReg = save;
    }
  }

  // ---- statements ----
  void statement(const Node* n) {
    line_ = n->line;
    // With debug info, each line that starts a statement tells the debug hook.
    if (S_.debugInfo && n->kind != NodeKind::Block && n->kind != NodeKind::Empty && n->line != fs_->lastHookLine) {
      fs_->lastHookLine = n->line;
      fs_->proto->code[emit(OP_LINE)].setSbx(n->line);
    }
    switch (n->kind) {
      case NodeKind::Empty: break;
      case NodeKind::Block: {
        const size_t count = fs_->locals.size();
        for (const NodePtr& k : n->kids) statement(k.get());
        endLocals(count);
        break;
      }
      case NodeKind::ExprStatement: discard(n->kid(0)); break;
      case NodeKind::Local:
        for (size_t i = 0; i < n->names.size(); ++i) {
          const int r = allocReg();
          const Node* init = n->kid(i);
          if (n->op == 1) {
            declareLocal(n->names[i], r);
            to(init, r);
          } else {
            if (init) to(init, r);
            else emit(OP_LOADNULL, static_cast<uint16_t>(r), 1);
            declareLocal(n->names[i], r);
          }
        }
        break;
      case NodeKind::If: {
        const int save = fs_->freeReg;
        const int c = any(n->kid(0));
        fs_->freeReg = save;
        const size_t toElse = emitJump(OP_JZ, static_cast<uint16_t>(c));
        scoped(n->kid(1));
        if (n->kid(2)) {
          const size_t toEnd = emitJump(OP_JMP);
          patchHere(toElse);
          scoped(n->kid(2));
          patchHere(toEnd);
        } else {
          patchHere(toElse);
        }
        break;
      }
      case NodeKind::While: {
        Loop loop{{}, {}, activeLocals(), fs_->trapDepth, false};
        const size_t start = here();
        const int save = fs_->freeReg;
        const int c = any(n->kid(0));
        fs_->freeReg = save;
        const size_t exit = emitJump(OP_JZ, static_cast<uint16_t>(c));
        loopBody(n->kid(1), loop);
        jumpBack(OP_JMP, 0, start);
        finishLoop(loop, here(), start);
        patchHere(exit);
        break;
      }
      case NodeKind::DoWhile: {
        Loop loop{{}, {}, activeLocals(), fs_->trapDepth, false};
        const size_t start = here();
        loopBody(n->kid(0), loop);
        const size_t cont = here();
        const int save = fs_->freeReg;
        const int c = any(n->kid(1));
        fs_->freeReg = save;
        jumpBack(OP_JNZ, static_cast<uint16_t>(c), start);
        finishLoop(loop, here(), cont);
        break;
      }
      case NodeKind::For: {
        const size_t count = fs_->locals.size();
        if (n->kid(0)) statement(n->kid(0));
        Loop loop{{}, {}, activeLocals(), fs_->trapDepth, false};
        const size_t start = here();
        size_t exit = SIZE_MAX;
        if (n->kid(1)) {
          const int save = fs_->freeReg;
          const int c = any(n->kid(1));
          fs_->freeReg = save;
          exit = emitJump(OP_JZ, static_cast<uint16_t>(c));
        }
        loopBody(n->kid(3), loop);
        const size_t cont = here();
        if (n->kid(2)) discard(n->kid(2));
        jumpBack(OP_JMP, 0, start);
        finishLoop(loop, here(), cont);
        if (exit != SIZE_MAX) patchHere(exit);
        endLocals(count);
        break;
      }
      case NodeKind::Foreach: {
        const size_t count = fs_->locals.size();
        const int container = allocReg();
        to(n->kid(0), container);
        const int iter = allocReg();
        const int key = allocReg();
        const int val = allocReg();
        emit(OP_LOADNULL, static_cast<uint16_t>(iter), 3);
        declareLocal("@container", container);
        declareLocal("@iterator", iter);
        declareLocal(n->names.size() == 2 ? n->names[0] : "@key", key);
        declareLocal(n->names.back(), val);
        Loop loop{{}, {}, activeLocals(), fs_->trapDepth, false};
        const size_t start = emitJump(OP_FOREACH, static_cast<uint16_t>(container));
        loopBody(n->kid(1), loop);
        const size_t cont = here();
        if (fs_->locals[count + 2].captured || fs_->locals[count + 3].captured) emit(OP_CLOSE, static_cast<uint16_t>(key));
        jumpBack(OP_JMP, 0, start);
        finishLoop(loop, here(), cont);
        patchHere(start);
        endLocals(count);
        break;
      }
      case NodeKind::Switch: switchStatement(n); break;
      case NodeKind::Break:
      case NodeKind::Continue: {
        const bool isBreak = n->kind == NodeKind::Break;
        Loop* target = nullptr;
        for (auto it = fs_->loops.rbegin(); it != fs_->loops.rend(); ++it) {
          if (isBreak || !(*it)->isSwitch) {
            target = *it;
            break;
          }
        }
        if (!target) fail(n, isBreak ? "'break' has to be in a loop block" : "'continue' has to be in a loop block");
        if (fs_->trapDepth > target->trapDepth)
          emit(OP_POPTRAP, static_cast<uint16_t>(fs_->trapDepth - target->trapDepth));
        if (activeLocals() > target->localBase) emit(OP_CLOSE, static_cast<uint16_t>(target->localBase));
        (isBreak ? target->breaks : target->continues).push_back(emitJump(OP_JMP));
        break;
      }
      case NodeKind::Return: {
        const Node* value = n->kid(0);
        if (value && (value->kind == NodeKind::Call || value->kind == NodeKind::RawCall) && fs_->trapDepth == 0) {
          const int save = fs_->freeReg;
          const int r = allocReg();
          tailCall_ = true;
          call(value, static_cast<uint16_t>(r));
          emit(OP_RETURN, static_cast<uint16_t>(r), 1);
          fs_->freeReg = save;
        } else {
          valueOrNothing(OP_RETURN, value);
        }
        break;
      }
      case NodeKind::Yield:
        fs_->proto->generator = true;
        valueOrNothing(OP_YIELD, n->kid(0));
        break;
      case NodeKind::Throw: {
        const int save = fs_->freeReg;
        const int r = any(n->kid(0));
        emit(OP_THROW, static_cast<uint16_t>(r));
        fs_->freeReg = save;
        break;
      }
      case NodeKind::Try: {
        const int ereg = fs_->freeReg;
        allocReg();
        fs_->freeReg = ereg;
        const size_t trap = emitJump(OP_PUSHTRAP, static_cast<uint16_t>(ereg));
        ++fs_->trapDepth;
        scoped(n->kid(0));
        --fs_->trapDepth;
        emit(OP_POPTRAP, 1);
        const size_t toEnd = emitJump(OP_JMP);
        patchHere(trap);
        const size_t count = fs_->locals.size();
        allocReg();
        declareLocal(n->names[0], ereg);
        scoped(n->kid(1));
        endLocals(count);
        patchHere(toEnd);
        break;
      }
      case NodeKind::Const: {
        Value v;
        const Node* valueNode = n->kid(0);
        if (valueNode->kind == NodeKind::Table) {
          SQTable* t = S_.make<SQTable>(static_cast<uint32_t>(valueNode->kids.size() / 2));
          for (size_t i = 0; i + 1 < valueNode->kids.size(); i += 2) {
            Value key, val;
            literalValue(valueNode->kid(i), key);
            literalValue(valueNode->kid(i + 1), val);
            t->set(key, val);
          }
          v = objectValue(OT_TABLE, t);
        } else if (valueNode->kind == NodeKind::True || valueNode->kind == NodeKind::False) {
          v = boolValue(valueNode->kind == NodeKind::True);
        } else {
          literalValue(valueNode, v);
        }
        if (S_.consttable._type != OT_TABLE) fail(n, "no const table");
        S_.consttable._unVal.pTable->set(S_.stringValue(n->text), v);
        break;
      }
      default: fail(n, "invalid statement");
    }
    fs_->freeReg = activeLocals();
  }

  // A statement in its own scope (bodies of if/else and loops).
  void scoped(const Node* n) {
    const size_t count = fs_->locals.size();
    statement(n);
    endLocals(count);
  }

  void loopBody(const Node* body, Loop& loop) {
    fs_->loops.push_back(&loop);
    scoped(body);
    fs_->loops.pop_back();
  }

  void finishLoop(Loop& loop, size_t breakTarget, size_t continueTarget) {
    for (size_t j : loop.breaks) patch(j, breakTarget);
    for (size_t j : loop.continues) patch(j, continueTarget);
  }

  void switchStatement(const Node* n) {
    const int save = fs_->freeReg;
    const int v = allocReg();
    to(n->kid(0), v);
    std::vector<size_t> caseJumps;
    for (const SwitchCase& c : n->cases) {
      if (!c.value) {
        caseJumps.push_back(SIZE_MAX);
        continue;
      }
      const int s2 = fs_->freeReg;
      const int t = allocReg();
      emit(OP_EQ, static_cast<uint16_t>(t), static_cast<uint16_t>(v), rk(c.value.get()));
      caseJumps.push_back(emitJump(OP_JNZ, static_cast<uint16_t>(t)));
      fs_->freeReg = s2;
    }
    const size_t toDefault = emitJump(OP_JMP);
    Loop loop{{}, {}, activeLocals(), fs_->trapDepth, true};
    fs_->loops.push_back(&loop);
    const size_t count = fs_->locals.size();
    bool hasDefault = false;
    for (size_t i = 0; i < n->cases.size(); ++i) {
      if (caseJumps[i] == SIZE_MAX) {
        patchHere(toDefault);
        hasDefault = true;
      } else {
        patchHere(caseJumps[i]);
      }
      for (const NodePtr& s : n->cases[i].body) statement(s.get());
    }
    endLocals(count);
    fs_->loops.pop_back();
    if (!hasDefault) patchHere(toDefault);
    finishLoop(loop, here(), here());
    fs_->freeReg = save;
  }

  SharedState& S_;
  SQString* source_;
  FuncState* fs_ = nullptr;
  int line_ = 1;
  bool tailCall_ = false;  // the next call() emits OP_TAILCALL
};

SQFunctionProto* CodeGen::function(const FunctionInfo& info, FuncState* parent) {
  FuncState fs;
  fs.parent = parent;
  FuncState* outer = fs_;
  const int outerLine = line_;
  fs_ = &fs;
  SQFunctionProto* p = S_.make<SQFunctionProto>();
  fs.proto = p;
  p->source = source_;
  p->name = info.name.empty() ? nullptr : S_.string(info.name);
  p->firstLine = info.line;
  line_ = info.line;
  p->nparams = static_cast<uint16_t>(info.params.size() + 1);
  p->ndefaults = static_cast<uint16_t>(info.defaults.size());
  p->varargs = info.varargs;
  fs.freeReg = 0;
  allocReg();  // this
  declareLocal("this", 0);
  for (const std::string& name : info.params) {
    const int r = allocReg();
    declareLocal(name, r);
    p->parameterNames.push_back(S_.string(name));
  }
  if (info.varargs) declareLocal("vargv", allocReg());
  statement(info.body.get());
  emit(OP_RETURN, 0, 0);
  for (size_t i = 0; i < fs.locals.size(); ++i) p->locals[fs.locals[i].infoIndex].endPc = static_cast<uint32_t>(here());
  fs_ = outer;
  line_ = outerLine;
  return p;
}

}  // namespace

SQFunctionProto* compileScript(SQVM* vm, std::string_view source, std::string_view sourceName) {
  Parser parser(source);
  std::unique_ptr<FunctionInfo> script = parser.parseScript();
  CodeGen gen(vm, sourceName);
  return gen.function(*script, nullptr);
}

}  // namespace sqvm
