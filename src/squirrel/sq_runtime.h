// The operations the interpreter, the libraries and the C API share: calls, member access with
// delegation and metamethods, arithmetic, comparison, conversion to text. Errors are raised as a
// C++ exception (ScriptThrow) carrying nothing: the error value is the VM's lastError. The
// exception never leaves the VM: the C API and the native-call boundary turn it into SQ_ERROR.
#pragma once

#include <initializer_list>
#include <string>

#include "squirrel/sq_array.h"
#include "squirrel/sq_class.h"
#include "squirrel/sq_function.h"
#include "squirrel/sq_generator.h"
#include "squirrel/sq_shared_state.h"
#include "squirrel/sq_table.h"
#include "squirrel/sq_userdata.h"
#include "squirrel/sq_vm.h"

namespace sqvm {

struct ScriptThrow {};

// Returned by a native function that suspended its thread.
constexpr SQInteger kSuspendFlag = -666;
constexpr int kMaxNestedExecutions = 250;
// Largest string and array a script may build.
constexpr SQInteger kMaxStringLength = SQInteger(1) << 26;
constexpr SQInteger kMaxArrayLength = SQInteger(1) << 24;

[[noreturn]] void raise(SQVM* v, const Value& error);
[[noreturn]] void raiseMessage(SQVM* v, const std::string& message);
std::string printable(const Value& v);  // short description for error messages: 'name' or type

// ---- calls ----
// Calls the value at stack[funcIndex] with the nargs values that follow it (this first); the
// arguments stay on the stack. Classes construct, tables and instances use _call.
Value callAt(SQVM* v, int64_t funcIndex, int nargs);
// Pushes fn, self and args, calls, pops them again.
Value call(SQVM* v, const Value& fn, const Value& self, std::initializer_list<Value> args);
Value callArray(SQVM* v, const Value& fn, const Value& self, const std::vector<Value>& args);
// Runs the interpreter until the frame on top (pushed with exitOnReturn) returns.
Value run(SQVM* v);
// Continues a suspended thread whose first frame is `entry`.
Value run(SQVM* v, size_t entry, size_t trapBase);
// Prepares a script frame for a closure whose arguments are at stack[base..base+nargs); returns
// false (and fills result) when the call produced a generator instead.
bool enterClosure(SQVM* v, SQClosure* c, int64_t base, int nargs, uint16_t target, bool exitOnReturn, Value* result);
Value callNative(SQVM* v, SQNativeClosure* nc, int64_t base, int nargs);
// Calls the debug hook, if one is set, with the event ('l' line, 'c' call, 'r' return), the
// function's source and name, and the line.
void debugHookEvent(SQVM* v, char event, const SQFunctionProto* p, int32_t line);
Value construct(SQVM* v, SQClass* cls, int64_t argsBase, int nargs);
Value resumeGenerator(SQVM* v, SQGenerator* g);
void closeOuters(SQVM* v, int64_t level);
SQOuter* captureOuter(SQVM* v, int64_t stackIndex);
// Calls the error handler for an error that no script handler will catch.
void reportError(SQVM* v);

// ---- member access ----
bool getMetamethod(SQVM* v, const Value& obj, Meta mt, Value& out);
// Full get (delegates, _get, default delegates); false when the key does not exist.
bool get(SQVM* v, const Value& obj, const Value& key, Value& out);
bool rawGet(SQVM* v, const Value& obj, const Value& key, Value& out);
void set(SQVM* v, const Value& obj, const Value& key, const Value& value);
bool rawSet(SQVM* v, const Value& obj, const Value& key, const Value& value);
void newSlot(SQVM* v, const Value& obj, const Value& key, const Value& value, bool isStatic);
Value deleteSlot(SQVM* v, const Value& obj, const Value& key);
bool hasKey(SQVM* v, const Value& obj, const Value& key);
SQTable* defaultDelegate(SQVM* v, const Value& obj);
Value rootTable(SQVM* v);
[[noreturn]] void missingIndex(SQVM* v, const Value& key);

// ---- classes ----
SQClass* newClass(SQVM* v, SQClass* base, const Value& attributes);
void addMember(SQVM* v, SQClass* cls, const Value& key, const Value& value, const Value& attributes, bool isStatic,
               bool raw);
SQInstance* newInstance(SQVM* v, SQClass* cls);
bool instanceOf(const Value& inst, const Value& cls);

// ---- operators ----
Value arith(SQVM* v, uint16_t op, const Value& a, const Value& b);
Value bitwise(SQVM* v, uint16_t op, const Value& a, const Value& b);
Value negate(SQVM* v, const Value& a);
int compare(SQVM* v, const Value& a, const Value& b);
bool equals(const Value& a, const Value& b);
Value typeOf(SQVM* v, const Value& a);
Value cloneValue(SQVM* v, const Value& a);
// Text of a value, with _tostring for tables, instances and userdata.
SQString* toString(SQVM* v, const Value& a);
std::string rawToString(const Value& a);
Value concat(SQVM* v, const Value& a, const Value& b);

// ---- helpers ----
SQWeakRef* weakRef(SQVM* v, const Value& target);
inline Value str(SQVM* v, std::string_view s) { return v->shared->stringValue(s); }
inline SQTable* newTable(SQVM* v, uint32_t capacity = 0) { return v->shared->make<SQTable>(capacity); }
inline SQArray* newArray(SQVM* v) { return v->shared->make<SQArray>(); }

// Runs compiled code: a closure for the prototype with the VM's root table.
SQClosure* newClosure(SQVM* v, SQFunctionProto* proto);

}  // namespace sqvm
