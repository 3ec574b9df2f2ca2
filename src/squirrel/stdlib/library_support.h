// What the standard libraries share: registering native closures into a table or class, reading
// strings with their length, raising errors with formatted text, and the mapping from the file
// names scripts write to the files opened. Everything here goes through the public C API only.
#pragma once

#include <vellum/squirrel.h>

#include <span>
#include <string>
#include <string_view>

namespace vellum::sqstd {

struct Function {
  const char* name;
  SQFUNCTION function;
  SQInteger paramCheck;  // as sq_setparamscheck: exact count, minus a minimum, 0 unchecked
  const char* typeMask;  // null: types unchecked
};

// Pushes a native closure with its name and parameter check.
void pushFunction(HSQUIRRELVM v, const Function& function);
// Adds each function as a slot of the table or class at `target` (a stack index, not counting the
// values pushed meanwhile).
void registerFunctions(HSQUIRRELVM v, SQInteger target, std::span<const Function> functions);

// Slot setters for the table or class at `target`.
void setInteger(HSQUIRRELVM v, SQInteger target, const char* name, SQInteger value);
void setFloat(HSQUIRRELVM v, SQInteger target, const char* name, SQFloat value);

// The string at index (empty when it is no string), with embedded NUL bytes kept.
std::string_view stringAt(HSQUIRRELVM v, SQInteger index);
void pushString(HSQUIRRELVM v, std::string_view text);

// Raises the text as the error of the running native closure: `return throwError(v, ...)`.
SQRESULT throwError(HSQUIRRELVM v, std::string_view message);

// The user pointer of the class instance at index when its class carries the tag, else null.
void* instanceData(HSQUIRRELVM v, SQInteger index, SQUserPointer tag);

// Index from the top turned into an absolute one, so later pushes do not move it.
SQInteger absoluteIndex(HSQUIRRELVM v, SQInteger index);

// Where a file name a script wrote leads. The stand-alone runner opens names as they are; the
// engine installs its own mapping so relative names are under the game folder.
using PathMapper = std::string (*)(std::string_view path);
void setPathMapper(PathMapper mapper);
std::string mapPath(std::string_view path);

// How loadfile and dofile read a script: by default the mapped file from disk; the engine reads
// its archives too. False when there is no such script (the caller raises the error).
using ScriptReader = bool (*)(std::string_view path, std::string& bytes);
void setScriptReader(ScriptReader reader);
bool readScript(std::string_view path, std::string& bytes);

// Keys under which the libraries keep their classes in the registry table.
inline constexpr const char* kBlobClassKey = "std_blob";
inline constexpr const char* kFileClassKey = "std_file";

}  // namespace vellum::sqstd
