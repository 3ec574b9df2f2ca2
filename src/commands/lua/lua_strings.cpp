// Double-byte additions to Lua's string library: mblen, mbsub and the global iterator eachmbc.
#include <lua.hpp>

#include <cstddef>

namespace vellum {

namespace {

// A lead byte forms one character with the next byte only when that byte can trail.
size_t characterLength(const unsigned char* s, size_t at, size_t length) {
  const unsigned char b = s[at];
  if (b > 0x80 && b != 0xFF && at + 1 < length) {
    const unsigned char t = s[at + 1];
    if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) return 2;
  }
  return 1;
}

int mblen(lua_State* L) {
  size_t length = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(luaL_checklstring(L, 1, &length));
  lua_Integer characters = 0;
  for (size_t at = 0; at < length; at += characterLength(s, at, length)) ++characters;
  lua_pushinteger(L, characters);
  return 1;
}

// Negative positions count from the end of the byte length, as the positions of string.sub do.
lua_Integer normalise(lua_Integer position, lua_Integer length) {
  if (position >= 0) return position;
  return -position > length ? 0 : length + position + 1;
}

int mbsub(lua_State* L) {
  size_t length = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(luaL_checklstring(L, 1, &length));
  const auto bytes = static_cast<lua_Integer>(length);
  lua_Integer first = normalise(luaL_checkinteger(L, 2), bytes);
  lua_Integer last = normalise(luaL_optinteger(L, 3, -1), bytes);
  if (first == 0) first = 1;
  if (last > bytes) last = bytes;
  if (last < first) {
    lua_pushliteral(L, "");
    return 1;
  }
  size_t begin = length;
  size_t end = length;
  lua_Integer index = 0;
  for (size_t at = 0; at < length;) {
    const size_t n = characterLength(s, at, length);
    ++index;
    if (index == first) begin = at;
    if (index <= last) end = at + n;
    if (index >= last) break;
    at += n;
  }
  if (begin >= end) {
    lua_pushliteral(L, "");
  } else {
    lua_pushlstring(L, reinterpret_cast<const char*>(s) + begin, end - begin);
  }
  return 1;
}

constexpr const char* kEachMbc =
    "function eachmbc(s)\n"
    "  local i, n = 0, string.mblen(s)\n"
    "  return function()\n"
    "    i = i + 1\n"
    "    if i <= n then return string.mbsub(s, i, i) end\n"
    "  end\n"
    "end\n";

}  // namespace

void openLuaStringAdditions(lua_State* L) {
  lua_getglobal(L, "string");
  lua_pushcfunction(L, &mblen);
  lua_setfield(L, -2, "mblen");
  lua_pushcfunction(L, &mbsub);
  lua_setfield(L, -2, "mbsub");
  lua_pop(L, 1);
  if (luaL_dostring(L, kEachMbc) != LUA_OK) lua_pop(L, 1);
}

}  // namespace vellum
