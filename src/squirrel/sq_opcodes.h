// The instruction set. Every instruction is four 16-bit fields; operands named RK are a register,
// or a constant when the high bit is set. Jumps keep a signed 32-bit offset in b and c, relative
// to the next instruction.
#pragma once

#include <cstdint>

namespace sqvm {

enum Op : uint16_t {
  OP_LOADK,      // a = K[b]
  OP_LOADINT,    // a = sbx
  OP_LOADNULL,   // a .. a+b-1 = null
  OP_LOADBOOL,   // a = b != 0
  OP_MOVE,       // a = b
  OP_LOADROOT,   // a = root table
  OP_LOADCONSTTABLE,  // a = const table
  OP_LOADBASE,   // a = base class of the running method
  OP_LOADCALLEE, // a = running closure
  OP_GETOUTER,   // a = outer[b]
  OP_SETOUTER,   // outer[a] = b
  OP_GET,        // a = b[RK c]
  OP_SET,        // a[RK b] = RK c
  OP_GETTHIS,    // a = this[K b], falling back to the root table
  OP_SETTHIS,    // this[K a] = RK b (the root table when this lacks the key and the root has it)
  OP_NEWSLOT,    // a[RK b] <- RK c
  OP_DELETE,     // a = delete b[RK c]
  OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_MOD,          // a = RK b op RK c
  OP_BAND, OP_BOR, OP_BXOR, OP_SHL, OP_SHR, OP_USHR,
  OP_EQ, OP_NE, OP_LT, OP_LE, OP_GT, OP_GE, OP_CMP3,
  OP_IN,          // a = RK b in c
  OP_INSTANCEOF,  // a = b instanceof c
  OP_UNM, OP_NOT, OP_BNOT, OP_TYPEOF, OP_CLONE,   // a = op b
  OP_INC,         // a = b + sign(c) (c: 1 or 0xFFFF)
  OP_JMP,         // pc += sbx
  OP_JZ,          // if !a: pc += sbx
  OP_JNZ,         // if a: pc += sbx
  OP_CALL,        // a = function, a+1 = this, a+2.. = arguments; b = argument count with this;
                  // c = result register or kNoReg
  OP_RETURN,      // return a (b = 1) or nothing (b = 0)
  OP_NEWTABLE,    // a = {} with room for b
  OP_NEWARRAY,    // a = [] with room for b
  OP_APPEND,      // a.append(RK b)
  OP_CLOSURE,     // a = closure of child b; default values in c ..
  OP_BINDENV,     // a = a bound to b
  OP_NEWCLASS,    // a = class extends b (kNoReg: none) with attributes c (kNoReg: none)
  OP_NEWMEMBER,   // class a gets member RK b = c with attributes c+1; static when op is OP_NEWSTATIC
  OP_NEWSTATIC,
  OP_FOREACH,     // a = container, a+1 iterator, a+2 key, a+3 value; jump sbx at the end
  OP_PUSHTRAP,    // catch into a, handler at pc + sbx
  OP_POPTRAP,     // pop a traps
  OP_THROW,       // throw a
  OP_YIELD,       // yield a (b = 1) or null
  OP_RESUME,      // a = resume b
  OP_CLOSE,       // close outers at or above register a
  OP_LINE,        // debug hook line event (only with debug info)
  OP_TAILCALL,    // as OP_CALL, in `return f(...)`: a script callee replaces the running frame;
                  // otherwise the result goes to c and the OP_RETURN that follows returns it
  OP_COUNT
};

constexpr uint16_t kNoReg = 0xFFFF;
constexpr uint16_t kConstBit = 0x8000;

struct Instr {
  uint16_t op, a, b, c;
  int32_t sbx() const { return static_cast<int32_t>(static_cast<uint32_t>(b) | (static_cast<uint32_t>(c) << 16)); }
  void setSbx(int32_t v) {
    b = static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFF);
    c = static_cast<uint16_t>(static_cast<uint32_t>(v) >> 16);
  }
};

}  // namespace sqvm
