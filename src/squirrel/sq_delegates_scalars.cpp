// Default delegates of numbers, strings, generators and weak references.
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "squirrel/sq_native_support.h"

namespace sqvm {

namespace {

SQInteger numToFloat(HSQUIRRELVM v) {
  const Value& a = arg(v, 0);
  if (a._type == OT_BOOL) return ret(v, floatValue(a._unVal.nInteger ? 1.0f : 0.0f));
  return ret(v, floatValue(toFloat(a)));
}
SQInteger numToInteger(HSQUIRRELVM v) {
  const Value& a = arg(v, 0);
  if (a._type == OT_BOOL) return ret(v, intValue(a._unVal.nInteger));
  return ret(v, intValue(toInteger(a)));
}
SQInteger anyToString(HSQUIRRELVM v) {
  return nativeBody(v, [&] { return ret(v, objectValue(OT_STRING, toString(v, arg(v, 0)))); });
}
SQInteger numToChar(HSQUIRRELVM v) {
  const char c = static_cast<char>(toInteger(arg(v, 0)));
  return ret(v, str(v, std::string_view(&c, 1)));
}
SQInteger anyWeakRef(HSQUIRRELVM v) {
  sq_weakref(v, 1);
  return 1;
}

SQString* self(HSQUIRRELVM v) { return arg(v, 0)._unVal.pString; }

SQInteger strLen(HSQUIRRELVM v) { return ret(v, intValue(self(v)->length)); }

SQInteger strToInteger(HSQUIRRELVM v) {
  const SQInteger base = argCount(v) > 1 ? toInteger(arg(v, 1)) : 10;
  if (base < 2 || base > 36) return fail(v, "invalid base");
  const char* s = self(v)->chars();
  char* end = nullptr;
  errno = 0;
  const long long n = std::strtoll(s, &end, static_cast<int>(base));
  if (end == s) return ret(v, nullValue());
  return ret(v, intValue(n));
}

SQInteger strToFloat(HSQUIRRELVM v) {
  const char* s = self(v)->chars();
  char* end = nullptr;
  const float f = std::strtof(s, &end);
  if (end == s) return ret(v, nullValue());
  return ret(v, floatValue(f));
}

bool sliceRange(SQInteger length, SQInteger& start, SQInteger& end) {
  if (start < 0) start += length;
  if (end < 0) end += length;
  return start >= 0 && end >= start && end <= length;
}

SQInteger strSlice(HSQUIRRELVM v) {
  SQString* s = self(v);
  SQInteger start = toInteger(arg(v, 1));
  SQInteger end = argCount(v) > 2 ? toInteger(arg(v, 2)) : s->length;
  if (!sliceRange(s->length, start, end)) return fail(v, "slice out of range");
  return ret(v, str(v, s->view().substr(static_cast<size_t>(start), static_cast<size_t>(end - start))));
}

SQInteger strFind(HSQUIRRELVM v) {
  SQString* s = self(v);
  const SQInteger start = argCount(v) > 2 ? toInteger(arg(v, 2)) : 0;
  if (start < 0 || start > s->length) return fail(v, "start index out of range");
  const size_t at = s->view().find(arg(v, 1)._unVal.pString->view(), static_cast<size_t>(start));
  return ret(v, at == std::string_view::npos ? nullValue() : intValue(static_cast<SQInteger>(at)));
}

SQInteger strCase(HSQUIRRELVM v, bool upper) {
  std::string s(self(v)->view());
  for (char& c : s) c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c)) : std::tolower(static_cast<unsigned char>(c)));
  return ret(v, str(v, s));
}
SQInteger strToLower(HSQUIRRELVM v) { return strCase(v, false); }
SQInteger strToUpper(HSQUIRRELVM v) { return strCase(v, true); }

SQInteger genGetStatus(HSQUIRRELVM v) {
  switch (arg(v, 0)._unVal.pGenerator->state) {
    case SQGenerator::kSuspended: return ret(v, str(v, "suspended"));
    case SQGenerator::kRunning: return ret(v, str(v, "running"));
    default: return ret(v, str(v, "dead"));
  }
}

SQInteger weakRefRef(HSQUIRRELVM v) { return ret(v, arg(v, 0)._unVal.pWeakRef->get()); }

const NativeEntry kNumberDelegate[] = {
    {"tofloat", numToFloat, 1, "n|b"},
    {"tostring", anyToString, 1, nullptr},
    {"tointeger", numToInteger, 1, "n|b"},
    {"tochar", numToChar, 1, "n|b"},
    {"weakref", anyWeakRef, 1, nullptr},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kStringDelegate[] = {
    {"len", strLen, 1, "s"},
    {"tointeger", strToInteger, -1, "sn"},
    {"tofloat", strToFloat, 1, "s"},
    {"tostring", anyToString, 1, "s"},
    {"slice", strSlice, -2, "s n n"},
    {"find", strFind, -2, "s s n"},
    {"tolower", strToLower, 1, "s"},
    {"toupper", strToUpper, 1, "s"},
    {"weakref", anyWeakRef, 1, nullptr},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kGeneratorDelegate[] = {
    {"getstatus", genGetStatus, 1, "g"},
    {"weakref", anyWeakRef, 1, nullptr},
    {"tostring", anyToString, 1, nullptr},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kWeakRefDelegate[] = {
    {"ref", weakRefRef, 1, "w"},
    {"weakref", anyWeakRef, 1, nullptr},
    {"tostring", anyToString, 1, nullptr},
    {nullptr, nullptr, 0, nullptr}};

}  // namespace

void openContainerDelegates(SQVM* v);
void openFunctionDelegates(SQVM* v);

void openDefaultDelegates(SQVM* v) {
  SharedState& s = *v->shared;
  for (SQTable*& d : s.delegates) d = newTable(v);
  registerAll(v, s.delegates[DD_NUMBER], kNumberDelegate);
  registerAll(v, s.delegates[DD_STRING], kStringDelegate);
  registerAll(v, s.delegates[DD_GENERATOR], kGeneratorDelegate);
  registerAll(v, s.delegates[DD_WEAKREF], kWeakRefDelegate);
  openContainerDelegates(v);
  openFunctionDelegates(v);
}

SQInteger delegateToString(HSQUIRRELVM v) { return anyToString(v); }
SQInteger delegateWeakRef(HSQUIRRELVM v) { return anyWeakRef(v); }

}  // namespace sqvm
