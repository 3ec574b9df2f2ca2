#include "squirrel/stdlib/library_support.h"

#include <cstdio>

namespace vellum::sqstd {

namespace {

std::string identity(std::string_view path) { return std::string(path); }

PathMapper pathMapper = &identity;

bool readMappedFile(std::string_view path, std::string& bytes) {
  FILE* handle = std::fopen(mapPath(path).c_str(), "rb");
  if (!handle) return false;
  char buffer[8192];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, handle)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(handle);
  std::fclose(handle);
  return ok;
}

ScriptReader scriptReader = &readMappedFile;

}  // namespace

void pushFunction(HSQUIRRELVM v, const Function& function) {
  sq_newclosure(v, function.function, 0);
  if (function.paramCheck != 0 || function.typeMask) sq_setparamscheck(v, function.paramCheck, function.typeMask);
  sq_setnativeclosurename(v, -1, function.name);
}

void registerFunctions(HSQUIRRELVM v, SQInteger target, std::span<const Function> functions) {
  target = absoluteIndex(v, target);
  for (const Function& function : functions) {
    sq_pushstring(v, function.name, -1);
    pushFunction(v, function);
    sq_newslot(v, target, SQFalse);
  }
}

void setInteger(HSQUIRRELVM v, SQInteger target, const char* name, SQInteger value) {
  target = absoluteIndex(v, target);
  sq_pushstring(v, name, -1);
  sq_pushinteger(v, value);
  sq_newslot(v, target, SQFalse);
}

void setFloat(HSQUIRRELVM v, SQInteger target, const char* name, SQFloat value) {
  target = absoluteIndex(v, target);
  sq_pushstring(v, name, -1);
  sq_pushfloat(v, value);
  sq_newslot(v, target, SQFalse);
}

std::string_view stringAt(HSQUIRRELVM v, SQInteger index) {
  const SQChar* text = nullptr;
  if (sq_gettype(v, index) != OT_STRING || SQ_FAILED(sq_getstring(v, index, &text)) || !text) return {};
  const SQInteger size = sq_getsize(v, index);
  return std::string_view(text, size > 0 ? static_cast<size_t>(size) : 0);
}

void pushString(HSQUIRRELVM v, std::string_view text) {
  sq_pushstring(v, text.data(), static_cast<SQInteger>(text.size()));
}

SQRESULT throwError(HSQUIRRELVM v, std::string_view message) {
  const std::string text(message);
  return sq_throwerror(v, text.c_str());
}

void* instanceData(HSQUIRRELVM v, SQInteger index, SQUserPointer tag) {
  if (sq_gettype(v, index) != OT_INSTANCE) return nullptr;
  SQUserPointer data = nullptr;
  if (SQ_FAILED(sq_getinstanceup(v, index, &data, tag, SQFalse))) return nullptr;
  return data;
}

SQInteger absoluteIndex(HSQUIRRELVM v, SQInteger index) { return index < 0 ? sq_gettop(v) + index + 1 : index; }

void setPathMapper(PathMapper mapper) { pathMapper = mapper ? mapper : &identity; }

std::string mapPath(std::string_view path) { return pathMapper(path); }

void setScriptReader(ScriptReader reader) { scriptReader = reader ? reader : &readMappedFile; }

bool readScript(std::string_view path, std::string& bytes) { return scriptReader(path, bytes); }

}  // namespace vellum::sqstd
