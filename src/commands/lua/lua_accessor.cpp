// The Lua implementation of the argument accessor: arguments are the stack slots of the call,
// results are pushed.
#include "script/arg_accessor.h"
#include "commands/lua/lua_binding.h"
#include "base/engine_state.h"
#include "script/value.h"

namespace vellum {

namespace {

lua_State* L(void* call) { return static_cast<lua_State*>(call); }

template <int K>
int count(void* call) {
  return lua_gettop(L(call)) + K;
}

int type(void* call, int i) { return lua_type(L(call), i); }
int always(void*, int) { return 1; }
int32_t getInt(void* call, int i) { return toInt32(lua_tonumber(L(call), i)); }
int64_t getInt64(void* call, int i) { return toInt64(lua_tonumber(L(call), i)); }
float getFloat(void* call, int i) { return static_cast<float>(lua_tonumber(L(call), i)); }
double getDouble(void* call, int i) { return lua_tonumber(L(call), i); }

const char* getStringLength(void* call, int i, size_t* length) {
  size_t n = 0;
  const char* text = lua_tolstring(L(call), i, &n);
  if (!text) {
    text = "";
    n = 0;
  }
  if (length) *length = n;
  return text;
}

const char* getString(void* call, int i) { return getStringLength(call, i, nullptr); }
void discard(void* call, int n) { lua_pop(L(call), n); }
void returnInt(void* call, int, int32_t value) { lua_pushnumber(L(call), value); }
void returnString(void* call, int, const char* text) { lua_pushstring(L(call), text ? text : ""); }
void returnBytes(void* call, int, const char* bytes, size_t length) { lua_pushlstring(L(call), bytes, length); }
void returnNothing(void* call) { lua_pushnil(L(call)); }
void beginArray(void* call) { lua_newtable(L(call)); }
void setArrayElement(void* call, int i) { lua_rawseti(L(call), -2, i); }
void appendArrayElement(void*) {}

void fail(void*) {
  engine().quitFlag = 1;
  closeLuaVM();  // deferred while the call runs
}

}  // namespace

void useLua(lua_State* state) {
  ArgAccessor& a = args();
  a.count[0] = &count<0>;
  a.count[1] = &count<1>;
  a.count[2] = &count<2>;
  a.count[3] = &count<3>;
  a.count[4] = &count<4>;
  a.count[5] = &count<5>;
  a.count[6] = &count<6>;
  a.type = &type;
  a.canReceiveInt = &always;
  a.canReceiveString = &always;
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
  a.returnNothing = &returnNothing;
  a.beginArray = &beginArray;
  a.setArrayElement = &setArrayElement;
  a.appendArrayElement = &appendArrayElement;
  a.fail = &fail;
  a.intType = LUA_TNUMBER;
  a.stringType = LUA_TSTRING;
  a.vm = state;
  a.binding = Binding::Lua;
}

}  // namespace vellum
