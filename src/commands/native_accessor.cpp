// The native implementation of the argument accessor: arguments come from an ArgList, results go
// into the variables that output arguments name.
#include <string>

#include "script/arg_accessor.h"
#include "commands/arg_list.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "script/expression.h"
#include "script/script_messages.h"

namespace vellum {

namespace {

ArgList& list(void* call) { return *static_cast<ArgList*>(call); }

const Value& valueOf(void* call, int i) {
  static const Value none;
  const Value* v = list(call).valueAt(i);
  return v ? *v : none;
}

int count(void* call) { return list(call).size(); }

int type(void* call, int i) { return valueOf(call, i).type; }

int canReceiveInt(void* call, int i) {
  const std::string* raw = list(call).rawAt(i);
  return raw && findIntVariable(*raw) != nullptr;
}

int canReceiveString(void* call, int i) {
  const std::string* raw = list(call).rawAt(i);
  return raw && findStringVariable(*raw) != nullptr;
}

int32_t getInt(void* call, int i) { return toInt32(valueOf(call, i).number); }
int64_t getInt64(void* call, int i) { return toInt64(valueOf(call, i).number); }
float getFloat(void* call, int i) { return static_cast<float>(valueOf(call, i).number); }
double getDouble(void* call, int i) { return valueOf(call, i).number; }
const char* getString(void* call, int i) { return valueOf(call, i).text.c_str(); }

const char* getStringLength(void* call, int i, size_t* length) {
  const Value& v = valueOf(call, i);
  if (length) *length = v.text.size();
  return v.text.c_str();
}

void discard(void*, int) {}

std::string* outputString(void* call, int i) {
  const std::string* raw = list(call).rawAt(i);
  std::string* variable = raw ? findStringVariable(*raw, true) : nullptr;
  if (!variable) errorc(ReportText().gbk(raw ? *raw : std::string()).ascii(" ").sjis(messages::kBadStringVariable), true);
  return variable;
}

void returnInt(void* call, int i, int32_t value) {
  const std::string* raw = list(call).rawAt(i);
  int32_t* variable = raw ? findIntVariable(*raw, true) : nullptr;
  if (variable) {
    *variable = value;
  } else {
    errorc(ReportText().gbk(raw ? *raw : std::string()).ascii(" ").sjis(messages::kBadIntVariable), true);
  }
}

void returnString(void* call, int i, const char* text) {
  if (std::string* variable = outputString(call, i)) *variable = text ? text : "";
}

void returnBytes(void* call, int i, const char* bytes, size_t length) {
  if (std::string* variable = outputString(call, i)) variable->assign(bytes ? bytes : "", bytes ? length : 0);
}

void nothing(void*) {}
void nothingAt(void*, int) {}

void fail(void*) { engine().quitFlag = 1; }

ArgAccessor makeNative() {
  ArgAccessor a{};
  for (auto& slot : a.count) slot = &count;
  a.type = &type;
  a.canReceiveInt = &canReceiveInt;
  a.canReceiveString = &canReceiveString;
  a.getInt = &getInt;
  a.getInt64 = &getInt64;
  a.getFloat = &getFloat;
  a.getDouble = &getDouble;
  a.getString = &getString;
  a.getStringLength = &getStringLength;
  a.discard = &discard;
  a.returnInt = &returnInt;
  a.returnString = &returnString;
  a.returnBytes = &returnBytes;
  a.returnNothing = &nothing;
  a.beginArray = &nothing;
  a.setArrayElement = &nothingAt;
  a.appendArrayElement = &nothing;
  a.fail = &fail;
  a.intType = 0;
  a.stringType = 1;
  a.vm = nullptr;
  a.binding = Binding::Native;
  return a;
}

const ArgAccessor kNative = makeNative();
ArgAccessor active = kNative;

}  // namespace

ArgAccessor& args() { return active; }

void useNative() { active = kNative; }

int runNative(CommandBody body, const char* arguments, int length) {
  ArgList list(std::string_view(arguments, static_cast<size_t>(length)));
  // A body reached from a script VM keeps that VM's set; the native loop always runs native.
  const ArgAccessor saved = active;
  active = kNative;
  const int results = body(&list);
  active = saved;
  return results;
}

}  // namespace vellum
