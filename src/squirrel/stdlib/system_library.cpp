// The system library: environment, shell commands, clocks, dates and removing or renaming files.
#include <vellum/squirrel_std.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/number_arguments.h"

namespace vellum::sqstd {

namespace {

SQInteger getenv(HSQUIRRELVM v) {
  const std::string name(stringAt(v, 2));
  const char* value = std::getenv(name.c_str());
  if (!value) return 0;  // null
  sq_pushstring(v, value, -1);
  return 1;
}

SQInteger system(HSQUIRRELVM v) {
  const std::string command(stringAt(v, 2));
  std::fflush(nullptr);  // what the script printed comes before the command's output
  sq_pushinteger(v, std::system(command.c_str()));
  return 1;
}

SQInteger clock(HSQUIRRELVM v) {
  sq_pushfloat(v, static_cast<SQFloat>(static_cast<double>(std::clock()) / CLOCKS_PER_SEC));
  return 1;
}

SQInteger time(HSQUIRRELVM v) {
  sq_pushinteger(v, static_cast<SQInteger>(std::time(nullptr)));
  return 1;
}

SQInteger remove(HSQUIRRELVM v) {
  if (std::remove(mapPath(stringAt(v, 2)).c_str()) != 0) return throwError(v, "remove() failed");
  return 0;
}

SQInteger rename(HSQUIRRELVM v) {
  if (std::rename(mapPath(stringAt(v, 2)).c_str(), mapPath(stringAt(v, 3)).c_str()) != 0) {
    return throwError(v, "rename() failed");
  }
  return 0;
}

void setSlot(HSQUIRRELVM v, const char* name, int value) { setInteger(v, -1, name, value); }

SQInteger date(HSQUIRRELVM v) {
  const SQInteger arguments = sq_gettop(v);
  time_t moment = std::time(nullptr);
  SQInteger format = 'l';
  if (arguments > 1) moment = static_cast<time_t>(integerArgument(v, 2));
  if (arguments > 2) format = integerArgument(v, 3);
  if (format != 'l' && format != 'u') return throwError(v, "invalid date format, 'l' or 'u' expected");
  std::tm parts{};
  const bool ok = format == 'u' ? gmtime_r(&moment, &parts) != nullptr : localtime_r(&moment, &parts) != nullptr;
  if (!ok) return throwError(v, "crt api failure");
  sq_newtable(v);
  setSlot(v, "sec", parts.tm_sec);
  setSlot(v, "min", parts.tm_min);
  setSlot(v, "hour", parts.tm_hour);
  setSlot(v, "day", parts.tm_mday);
  setSlot(v, "month", parts.tm_mon);
  setSlot(v, "year", parts.tm_year + 1900);
  setSlot(v, "wday", parts.tm_wday);
  setSlot(v, "yday", parts.tm_yday);
  return 1;
}

const Function kSystemFunctions[] = {
    {"getenv", &getenv, 2, ".s"},  {"system", &system, 2, ".s"},     {"clock", &clock, 1, nullptr},
    {"time", &time, 1, nullptr},   {"date", &date, -1, ".nn"},       {"remove", &remove, 2, ".s"},
    {"rename", &rename, 3, ".ss"},
};

}  // namespace

}  // namespace vellum::sqstd

extern "C" SQRESULT sqstd_register_systemlib(HSQUIRRELVM v) {
  using namespace vellum::sqstd;
  if (sq_gettype(v, -1) != OT_TABLE) return sq_throwerror(v, "a table is expected on the stack");
  registerFunctions(v, -1, kSystemFunctions);
  return SQ_OK;
}
