// Arithmetic, bitwise operators, comparison, typeof, clone and conversion to text.
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "squirrel/sq_runtime.h"

namespace sqvm {

const char* typeName(SQObjectType type) {
  switch (type) {
    case OT_NULL: return "null";
    case OT_INTEGER: return "integer";
    case OT_FLOAT: return "float";
    case OT_BOOL: return "bool";
    case OT_STRING: return "string";
    case OT_TABLE: return "table";
    case OT_ARRAY: return "array";
    case OT_USERDATA: return "userdata";
    case OT_CLOSURE: case OT_NATIVECLOSURE: case OT_FUNCPROTO: return "function";
    case OT_GENERATOR: return "generator";
    case OT_USERPOINTER: return "userpointer";
    case OT_THREAD: return "thread";
    case OT_CLASS: return "class";
    case OT_INSTANCE: return "instance";
    case OT_WEAKREF: return "weakref";
    case OT_OUTER: return "outer";
    default: return "unknown";
  }
}

std::string printable(const Value& v) {
  if (v._type == OT_STRING) return "'" + std::string(v._unVal.pString->view()) + "'";
  if (v._type == OT_INTEGER || v._type == OT_FLOAT) return rawToString(v);
  return std::string("'") + typeName(v._type) + "'";
}

namespace {

const char* opSymbol(uint16_t op) {
  switch (op) {
    case OP_ADD: return "+";
    case OP_SUB: return "-";
    case OP_MUL: return "*";
    case OP_DIV: return "/";
    case OP_MOD: return "%";
    case OP_BAND: return "&";
    case OP_BOR: return "|";
    case OP_BXOR: return "^";
    case OP_SHL: return "<<";
    case OP_SHR: return ">>";
    default: return ">>>";
  }
}

Meta metaOf(uint16_t op) {
  switch (op) {
    case OP_ADD: return MT_ADD;
    case OP_SUB: return MT_SUB;
    case OP_MUL: return MT_MUL;
    case OP_DIV: return MT_DIV;
    default: return MT_MODULO;
  }
}

}  // namespace

Value arith(SQVM* v, uint16_t op, const Value& a, const Value& b) {
  if (a._type == OT_INTEGER && b._type == OT_INTEGER) {
    const SQInteger x = a._unVal.nInteger, y = b._unVal.nInteger;
    const auto ux = static_cast<uint64_t>(x), uy = static_cast<uint64_t>(y);
    switch (op) {
      case OP_ADD: return intValue(static_cast<SQInteger>(ux + uy));
      case OP_SUB: return intValue(static_cast<SQInteger>(ux - uy));
      case OP_MUL: return intValue(static_cast<SQInteger>(ux * uy));
      case OP_DIV:
        if (y == 0) raiseMessage(v, "division by zero");
        if (y == -1) return intValue(static_cast<SQInteger>(0 - ux));
        return intValue(x / y);
      default:
        if (y == 0) raiseMessage(v, "modulo by zero");
        if (y == -1) return intValue(0);
        return intValue(x % y);
    }
  }
  if (isNumeric(a) && isNumeric(b)) {
    const SQFloat x = toFloat(a), y = toFloat(b);
    switch (op) {
      case OP_ADD: return floatValue(x + y);
      case OP_SUB: return floatValue(x - y);
      case OP_MUL: return floatValue(x * y);
      case OP_DIV: return floatValue(x / y);
      default: return floatValue(std::fmod(x, y));
    }
  }
  if (op == OP_ADD && (a._type == OT_STRING || b._type == OT_STRING)) return concat(v, a, b);
  Value meta;
  if (getMetamethod(v, a, metaOf(op), meta)) return call(v, meta, a, {b});
  raiseMessage(v, std::string("arith op ") + opSymbol(op) + " on between '" + typeName(a._type) + "' and '" +
                      typeName(b._type) + "'");
}

Value bitwise(SQVM* v, uint16_t op, const Value& a, const Value& b) {
  if (a._type != OT_INTEGER || b._type != OT_INTEGER)
    raiseMessage(v, std::string("bitwise op ") + opSymbol(op) + " between '" + typeName(a._type) + "' and '" +
                        typeName(b._type) + "'");
  const SQInteger x = a._unVal.nInteger, y = b._unVal.nInteger;
  const unsigned shift = static_cast<unsigned>(y) & 63;
  switch (op) {
    case OP_BAND: return intValue(x & y);
    case OP_BOR: return intValue(x | y);
    case OP_BXOR: return intValue(x ^ y);
    case OP_SHL: return intValue(static_cast<SQInteger>(static_cast<uint64_t>(x) << shift));
    case OP_SHR: return intValue(x >> shift);
    default: return intValue(static_cast<SQInteger>(static_cast<uint64_t>(x) >> shift));
  }
}

Value negate(SQVM* v, const Value& a) {
  if (a._type == OT_INTEGER) return intValue(static_cast<SQInteger>(0 - static_cast<uint64_t>(a._unVal.nInteger)));
  if (a._type == OT_FLOAT) return floatValue(-a._unVal.fFloat);
  Value meta;
  if (getMetamethod(v, a, MT_UNM, meta)) return call(v, meta, a, {});
  raiseMessage(v, std::string("attempt to negate a ") + typeName(a._type));
}

int compare(SQVM* v, const Value& a, const Value& b) {
  if (a._type == OT_INTEGER && b._type == OT_INTEGER)
    return a._unVal.nInteger < b._unVal.nInteger ? -1 : a._unVal.nInteger > b._unVal.nInteger ? 1 : 0;
  if (isNumeric(a) && isNumeric(b)) {
    const SQFloat x = toFloat(a), y = toFloat(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  if (a._type == OT_STRING && b._type == OT_STRING) {
    const int c = a._unVal.pString->view().compare(b._unVal.pString->view());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  Value meta;
  if ((a._type == OT_TABLE || a._type == OT_INSTANCE || a._type == OT_USERDATA) && getMetamethod(v, a, MT_CMP, meta)) {
    Value r = call(v, meta, a, {b});
    if (r._type != OT_INTEGER && r._type != OT_FLOAT) raiseMessage(v, "_cmp must return an integer");
    const SQInteger i = toInteger(r);
    return i < 0 ? -1 : i > 0 ? 1 : 0;
  }
  if (a._type == b._type && (a._type == OT_BOOL || a._type == OT_NULL)) {
    return a._unVal.nInteger < b._unVal.nInteger ? -1 : a._unVal.nInteger > b._unVal.nInteger ? 1 : 0;
  }
  if (a._type == b._type && rawEqual(a, b)) return 0;
  raiseMessage(v, std::string("comparison between '") + typeName(a._type) + "' and '" + typeName(b._type) + "'");
}

bool equals(const Value& a, const Value& b) {
  if (a._type == b._type) {
    if (a._type == OT_FLOAT) return a._unVal.fFloat == b._unVal.fFloat;
    return a._unVal.raw == b._unVal.raw;
  }
  if (isNumeric(a) && isNumeric(b)) return toFloat(a) == toFloat(b);
  return false;
}

Value typeOf(SQVM* v, const Value& a) {
  Value meta;
  if ((a._type == OT_TABLE || a._type == OT_INSTANCE || a._type == OT_USERDATA) && getMetamethod(v, a, MT_TYPEOF, meta))
    return call(v, meta, a, {});
  return str(v, typeName(a._type));
}

Value cloneValue(SQVM* v, const Value& a) {
  Value result;
  switch (a._type) {
    case OT_TABLE: {
      SQTable* t = newTable(v);
      t->copyFrom(*a._unVal.pTable);
      t->delegate = a._unVal.pTable->delegate;
      result = objectValue(OT_TABLE, t);
      break;
    }
    case OT_ARRAY: {
      SQArray* arr = newArray(v);
      arr->items = a._unVal.pArray->items;
      return objectValue(OT_ARRAY, arr);
    }
    case OT_INSTANCE: {
      SQInstance* src = a._unVal.pInstance;
      SQInstance* inst = v->shared->make<SQInstance>();
      inst->cls = src->cls;
      inst->fields = src->fields;
      inst->hook = src->hook;
      inst->up = src->up;
      result = objectValue(OT_INSTANCE, inst);
      break;
    }
    default: return a;
  }
  Value meta;
  if (getMetamethod(v, result, MT_CLONED, meta)) {
    v->push(result);  // keeps the copy alive while _cloned runs
    try {
      call(v, meta, result, {a});
    } catch (...) {
      --v->top;
      throw;
    }
    --v->top;
  }
  return result;
}

std::string rawToString(const Value& a) {
  char buffer[64];
  switch (a._type) {
    case OT_NULL: return "null";
    case OT_INTEGER: std::snprintf(buffer, sizeof buffer, "%" PRId64, a._unVal.nInteger); return buffer;
    case OT_FLOAT: std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(a._unVal.fFloat)); return buffer;
    case OT_BOOL: return a._unVal.nInteger ? "true" : "false";
    case OT_STRING: return std::string(a._unVal.pString->view());
    default:
      std::snprintf(buffer, sizeof buffer, "(%s : 0x%p)", typeName(a._type), static_cast<void*>(a._unVal.pRefCounted));
      return buffer;
  }
}

SQString* toString(SQVM* v, const Value& a) {
  if (a._type == OT_STRING) return a._unVal.pString;
  Value meta;
  if ((a._type == OT_TABLE || a._type == OT_INSTANCE || a._type == OT_USERDATA) && getMetamethod(v, a, MT_TOSTRING, meta)) {
    Value r = call(v, meta, a, {});
    if (r._type != OT_STRING) raiseMessage(v, "_tostring must return a string");
    return r._unVal.pString;
  }
  return v->shared->string(rawToString(a));
}

Value concat(SQVM* v, const Value& a, const Value& b) {
  SQString* x = toString(v, a);
  v->push(objectValue(OT_STRING, x));
  SQString* y = toString(v, b);
  --v->top;
  if (x->length + y->length > kMaxStringLength) raiseMessage(v, "string too long");
  return objectValue(OT_STRING, v->shared->strings.intern(*v->shared, x->chars(), static_cast<size_t>(x->length),
                                                          y->chars(), static_cast<size_t>(y->length)));
}

SQWeakRef* weakRef(SQVM* v, const Value& target) {
  SQGCObject* o = target._unVal.pRefCounted;
  if (o->weak) return o->weak;
  SQWeakRef* w = v->shared->make<SQWeakRef>();
  w->target = o;
  w->targetType = target._type;
  o->weak = w;
  return w;
}

}  // namespace sqvm
