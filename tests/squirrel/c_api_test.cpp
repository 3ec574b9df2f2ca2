// The C API as a host or a plug-in uses it: stack, values, natives, calls, classes, userdata,
// errors and the debug interface.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "squirrel/squirrel_test_support.h"

namespace vellum {
namespace {

class SquirrelApi : public ::testing::Test {
 protected:
  test::SquirrelRun run;
  HSQUIRRELVM v = run.vm();

  void registerGlobal(const char* name, SQFUNCTION f, SQInteger nparams = 0, const char* mask = nullptr) {
    sq_pushroottable(v);
    sq_pushstring(v, name, -1);
    sq_newclosure(v, f, 0);
    sq_setnativeclosurename(v, -1, name);
    if (nparams || mask) sq_setparamscheck(v, nparams, mask);
    ASSERT_EQ(sq_newslot(v, -3, SQFalse), SQ_OK);
    sq_pop(v, 1);
  }
  std::string lastError() {
    sq_getlasterror(v);
    const SQChar* s = "";
    if (sq_gettype(v, -1) == OT_STRING) sq_getstring(v, -1, &s);
    std::string out = s;
    sq_pop(v, 1);
    return out;
  }
};

TEST_F(SquirrelApi, TypeCodesFollowTheDocumentedLayout) {
  EXPECT_EQ(static_cast<uint32_t>(OT_INTEGER), 0x05000002u);
  EXPECT_EQ(static_cast<uint32_t>(OT_STRING), 0x08000010u);
  EXPECT_EQ(static_cast<uint32_t>(OT_NULL), 0x01000001u);
  EXPECT_EQ(static_cast<uint32_t>(OT_TABLE), 0x0A000020u);
  EXPECT_EQ(static_cast<uint32_t>(OT_INSTANCE), 0x0A008000u);
  EXPECT_EQ(sq_getversion(), 320);
  EXPECT_EQ(sizeof(SQInteger), 8u);
  EXPECT_EQ(sizeof(SQFloat), 4u);
}

TEST_F(SquirrelApi, StackOperationsAndIndices) {
  EXPECT_EQ(sq_gettop(v), 0);
  sq_pushinteger(v, 1);
  sq_pushfloat(v, 2.5f);
  sq_pushstring(v, "three", -1);
  sq_pushbool(v, SQTrue);
  sq_pushnull(v);
  EXPECT_EQ(sq_gettop(v), 5);
  EXPECT_EQ(sq_gettype(v, 1), OT_INTEGER);
  EXPECT_EQ(sq_gettype(v, -4), OT_FLOAT);
  EXPECT_EQ(sq_gettype(v, 3), OT_STRING);
  EXPECT_EQ(sq_gettype(v, -1), OT_NULL);
  SQInteger i = 0;
  SQFloat f = 0;
  SQBool b = SQFalse;
  const SQChar* s = nullptr;
  EXPECT_EQ(sq_getinteger(v, 1, &i), SQ_OK);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(sq_getfloat(v, 2, &f), SQ_OK);
  EXPECT_FLOAT_EQ(f, 2.5f);
  EXPECT_EQ(sq_getstring(v, 3, &s), SQ_OK);
  EXPECT_STREQ(s, "three");
  EXPECT_EQ(sq_getsize(v, 3), 5);
  EXPECT_EQ(sq_getbool(v, 4, &b), SQ_OK);
  EXPECT_EQ(b, SQTrue);
  EXPECT_EQ(sq_getinteger(v, 2, &i), SQ_OK);  // floats convert
  EXPECT_EQ(i, 2);
  EXPECT_LT(sq_getstring(v, 1, &s), 0);
  sq_push(v, 1);
  EXPECT_EQ(sq_gettop(v), 6);
  sq_remove(v, 2);
  EXPECT_EQ(sq_gettype(v, 2), OT_STRING);
  sq_settop(v, 2);
  EXPECT_EQ(sq_gettop(v), 2);
  sq_settop(v, 4);
  EXPECT_EQ(sq_gettype(v, 4), OT_NULL);
  sq_poptop(v);
  sq_pop(v, 3);
  EXPECT_EQ(sq_gettop(v), 0);
}

TEST_F(SquirrelApi, OutOfRangeIndicesFailCleanly) {
  sq_pushinteger(v, 7);
  SQInteger i = 0;
  EXPECT_LT(sq_getinteger(v, 2, &i), 0);
  EXPECT_LT(sq_getinteger(v, 0, &i), 0);
  EXPECT_LT(sq_getinteger(v, -2, &i), 0);
  EXPECT_LT(sq_getinteger(v, 1000000, &i), 0);
  EXPECT_EQ(sq_gettype(v, 99), OT_NULL);
  EXPECT_LT(sq_get(v, 50), 0);
  EXPECT_LT(sq_set(v, -50), 0);
  EXPECT_LT(sq_newslot(v, 1, SQFalse), 0);  // no key and value
  EXPECT_LT(sq_call(v, 5, SQFalse, SQFalse), 0);
  EXPECT_LT(sq_arrayappend(v, 1), 0);
  sq_remove(v, 9);
  sq_push(v, -9);
  sq_pop(v, 10);
  sq_settop(v, -1);
  EXPECT_EQ(sq_gettop(v), 1);
  EXPECT_EQ(sq_getinteger(v, -1, &i), SQ_OK);
  EXPECT_EQ(i, 7);
}

SQInteger nativeAdd(HSQUIRRELVM vm) {
  SQInteger a = 0, b = 0;
  sq_getinteger(vm, 2, &a);
  sq_getinteger(vm, 3, &b);
  sq_pushinteger(vm, a + b);
  return 1;
}

SQInteger nativeFails(HSQUIRRELVM vm) { return sq_throwerror(vm, "native failure"); }

SQInteger nativeArgCount(HSQUIRRELVM vm) {
  sq_pushinteger(vm, sq_gettop(vm));
  return 1;
}

TEST_F(SquirrelApi, NativeFunctionsAreCallableFromScripts) {
  registerGlobal("add", nativeAdd, 3, ".ii");
  registerGlobal("fails", nativeFails);
  registerGlobal("count", nativeArgCount);
  EXPECT_TRUE(run.run("print(add(2, 3) + \" \" + count(1, 2, 3) + \"\\n\");"
                      "try { fails(); } catch (e) { print(e + \"\\n\"); }"
                      "try { add(1); } catch (e) { print(e + \"\\n\"); }"
                      "try { add(1, \"x\"); } catch (e) { print(\"typed\\n\"); }"));
  EXPECT_EQ(run.output(), "5 4\nnative failure\nwrong number of parameters\ntyped\n");
}

SQInteger nativeFreeVariable(HSQUIRRELVM vm) {
  // The free variable follows the parameters.
  sq_push(vm, sq_gettop(vm));
  return 1;
}

TEST_F(SquirrelApi, NativeClosuresCarryFreeVariables) {
  sq_pushroottable(v);
  sq_pushstring(v, "free", -1);
  sq_pushstring(v, "captured", -1);
  sq_newclosure(v, nativeFreeVariable, 1);
  sq_newslot(v, -3, SQFalse);
  sq_pop(v, 1);
  EXPECT_TRUE(run.run("print(free());"));
  EXPECT_EQ(run.output(), "captured");
}

TEST_F(SquirrelApi, CallingScriptFunctionsFromTheHost) {
  ASSERT_TRUE(run.run("function mul(a, b) { return a * b; } function boom() { throw \"bad\"; }"));
  sq_pushroottable(v);
  sq_pushstring(v, "mul", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_CLOSURE);
  sq_pushroottable(v);
  sq_pushinteger(v, 6);
  sq_pushinteger(v, 7);
  ASSERT_EQ(sq_call(v, 3, SQTrue, SQFalse), SQ_OK);
  SQInteger r = 0;
  sq_getinteger(v, -1, &r);
  EXPECT_EQ(r, 42);
  sq_pop(v, 2);  // result and closure
  sq_pushstring(v, "boom", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  sq_pushroottable(v);
  EXPECT_LT(sq_call(v, 1, SQFalse, SQFalse), 0);
  EXPECT_EQ(lastError(), "bad");
  sq_pop(v, 2);
  EXPECT_EQ(sq_gettop(v), 0);
}

std::string g_handled;

SQInteger errorHandler(HSQUIRRELVM vm) {
  const SQChar* s = "";
  sq_tostring(vm, 2);
  sq_getstring(vm, -1, &s);
  g_handled = s;
  SQStackInfos si;
  if (sq_stackinfos(vm, 1, &si) >= 0) g_handled += std::string(" at ") + si.funcname + ":" + std::to_string(si.line);
  return 0;
}

TEST_F(SquirrelApi, RaisedErrorsReachTheErrorHandlerWithTheCallStack) {
  g_handled.clear();
  sq_newclosure(v, errorHandler, 0);
  sq_seterrorhandler(v);
  EXPECT_FALSE(run.run("function broken() {\n  local x = null;\n  return x.y;\n}\nbroken();\n"));
  EXPECT_EQ(g_handled, "the index 'y' does not exist at broken:3");
  g_handled.clear();
  EXPECT_TRUE(run.run("try { ::nothing(); } catch (e) {}"));
  EXPECT_EQ(g_handled, "");  // caught errors are not reported
}

std::string g_stack;

SQInteger recordStack(HSQUIRRELVM vm) {
  SQStackInfos si;
  for (SQInteger level = 0; sq_stackinfos(vm, level, &si) >= 0; ++level)
    g_stack += std::string(si.funcname) + "@" + si.source + ":" + std::to_string(si.line) + " ";
  return 0;
}

SQInteger g_stateDuringCall = -1;
SQInteger recordState(HSQUIRRELVM vm) {
  g_stateDuringCall = sq_getvmstate(vm);
  return 0;
}

TEST_F(SquirrelApi, TheMainVmIsRunningDuringACall) {
  registerGlobal("state", recordState);
  EXPECT_EQ(sq_getvmstate(v), SQ_VMSTATE_IDLE);
  EXPECT_TRUE(run.run("state();"));
  EXPECT_EQ(g_stateDuringCall, SQ_VMSTATE_RUNNING);
  EXPECT_EQ(sq_getvmstate(v), SQ_VMSTATE_IDLE);
  EXPECT_FALSE(run.run("state(); throw 1;"));
  EXPECT_EQ(sq_getvmstate(v), SQ_VMSTATE_IDLE);
}

TEST_F(SquirrelApi, StackInfosIncludeNativeLevels) {
  g_stack.clear();
  registerGlobal("record", recordStack);
  EXPECT_TRUE(run.run("function a() {\n  record();\n}\na();\n", "stack.nut"));
  EXPECT_EQ(g_stack, "record@NATIVE:-1 a@stack.nut:2 main@stack.nut:4 ");
  SQStackInfos si;
  EXPECT_LT(sq_stackinfos(v, 0, &si), 0);  // nothing running any more
}

std::string g_compileError;

void compileHandler(HSQUIRRELVM, const SQChar* desc, const SQChar* source, SQInteger line, SQInteger column) {
  g_compileError = std::string(source) + ":" + std::to_string(line) + ":" + std::to_string(column) + " " + desc;
}

TEST_F(SquirrelApi, CompileErrorsReportSourceLineAndColumn) {
  sq_setcompilererrorhandler(v, compileHandler);
  const char* src = "local a = 1;\nlocal b = (a + ;\n";
  EXPECT_LT(sq_compilebuffer(v, src, static_cast<SQInteger>(std::strlen(src)), "broken.nut", SQTrue), 0);
  EXPECT_EQ(g_compileError, "broken.nut:2:16 expected expression but found ';'");
  EXPECT_EQ(sq_gettop(v), 0);
  g_compileError.clear();
  EXPECT_LT(sq_compilebuffer(v, src, static_cast<SQInteger>(std::strlen(src)), "quiet.nut", SQFalse), 0);
  EXPECT_EQ(g_compileError, "");
}

TEST_F(SquirrelApi, CompilingFromAReaderAndWithATrailingNul) {
  const char text[] = "print(\"nul\");";
  ASSERT_EQ(sq_compilebuffer(v, text, sizeof text, "nul.nut", SQFalse), SQ_OK);  // the NUL ends the source
  sq_pushroottable(v);
  ASSERT_EQ(sq_call(v, 1, SQFalse, SQFalse), SQ_OK);
  sq_pop(v, 1);
  struct Reader {
    const char* p;
    static SQInteger next(SQUserPointer self) {
      auto* r = static_cast<Reader*>(self);
      return *r->p ? *r->p++ : 0;
    }
  } reader{" print(\"read\");"};
  ASSERT_EQ(sq_compile(v, Reader::next, &reader, "reader.nut", SQFalse), SQ_OK);
  sq_pushroottable(v);
  ASSERT_EQ(sq_call(v, 1, SQFalse, SQFalse), SQ_OK);
  sq_pop(v, 1);
  EXPECT_EQ(run.output(), "nulread");
}

TEST_F(SquirrelApi, TablesAndArrays) {
  sq_newtable(v);
  sq_pushstring(v, "k", -1);
  sq_pushinteger(v, 5);
  ASSERT_EQ(sq_newslot(v, -3, SQFalse), SQ_OK);
  sq_pushstring(v, "k", -1);
  ASSERT_EQ(sq_rawget(v, -2), SQ_OK);
  SQInteger i = 0;
  sq_getinteger(v, -1, &i);
  EXPECT_EQ(i, 5);
  sq_pop(v, 1);
  EXPECT_EQ(sq_getsize(v, -1), 1);
  sq_pushstring(v, "absent", -1);
  EXPECT_LT(sq_get(v, -2), 0);
  sq_pushnull(v);
  int entries = 0;
  while (sq_next(v, -2) >= 0) {
    ++entries;
    sq_pop(v, 2);
  }
  sq_pop(v, 1);
  EXPECT_EQ(entries, 1);
  sq_pushstring(v, "k", -1);
  EXPECT_EQ(sq_deleteslot(v, -2, SQTrue), SQ_OK);
  sq_getinteger(v, -1, &i);
  EXPECT_EQ(i, 5);
  sq_pop(v, 2);

  sq_newarray(v, 0);
  for (int n = 0; n < 4; ++n) {
    sq_pushinteger(v, n);
    sq_arrayappend(v, -2);
  }
  EXPECT_EQ(sq_getsize(v, -1), 4);
  EXPECT_EQ(sq_arraypop(v, -1), SQ_OK);
  sq_pushinteger(v, 99);
  EXPECT_EQ(sq_arrayinsert(v, -2, 0), SQ_OK);
  EXPECT_EQ(sq_arrayremove(v, -1, 1), SQ_OK);
  EXPECT_EQ(sq_arrayresize(v, -1, 5), SQ_OK);
  EXPECT_LT(sq_arrayremove(v, -1, 50), 0);
  sq_pushinteger(v, 0);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  sq_getinteger(v, -1, &i);
  EXPECT_EQ(i, 99);
  sq_pop(v, 1);
  EXPECT_EQ(sq_getsize(v, -1), 5);
  EXPECT_EQ(sq_arrayreverse(v, -1), SQ_OK);
  EXPECT_EQ(sq_clear(v, -1), SQ_OK);
  EXPECT_EQ(sq_getsize(v, -1), 0);
  sq_pop(v, 1);
}

int g_released = 0;
SQInteger countRelease(SQUserPointer, SQInteger) {
  ++g_released;
  return 1;
}

int g_tag;

SQInteger constructPoint(HSQUIRRELVM vm) {
  static int storage = 0;
  sq_setinstanceup(vm, 1, &storage);
  sq_setreleasehook(vm, 1, countRelease);
  return 0;
}

TEST_F(SquirrelApi, ClassesInstancesAndTypeTags) {
  g_released = 0;
  sq_pushroottable(v);
  sq_pushstring(v, "Point", -1);
  ASSERT_EQ(sq_newclass(v, SQFalse), SQ_OK);
  sq_settypetag(v, -1, &g_tag);
  sq_pushstring(v, "constructor", -1);
  sq_newclosure(v, constructPoint, 0);
  sq_newslot(v, -3, SQFalse);
  sq_pushstring(v, "x", -1);
  sq_pushinteger(v, 3);
  sq_newslot(v, -3, SQFalse);
  sq_newslot(v, -3, SQFalse);
  sq_pop(v, 1);
  ASSERT_TRUE(run.run("p <- Point(); print(p.x + \" \" + (p instanceof Point) + \"\\n\");"));
  EXPECT_EQ(run.output(), "3 true\n");
  sq_pushroottable(v);
  sq_pushstring(v, "p", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  SQUserPointer up = nullptr;
  EXPECT_EQ(sq_getinstanceup(v, -1, &up, &g_tag, SQFalse), SQ_OK);
  EXPECT_NE(up, nullptr);
  int otherTag;
  EXPECT_LT(sq_getinstanceup(v, -1, &up, &otherTag, SQFalse), 0);
  SQUserPointer tag = nullptr;
  EXPECT_EQ(sq_gettypetag(v, -1, &tag), SQ_OK);
  EXPECT_EQ(tag, &g_tag);
  ASSERT_EQ(sq_getclass(v, -1), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_CLASS);
  sq_push(v, -2);
  EXPECT_EQ(sq_instanceof(v), SQTrue);
  sq_pop(v, 3);
  sq_pushstring(v, "p", -1);
  sq_deleteslot(v, -2, SQFalse);
  sq_pop(v, 1);
  sq_collectgarbage(v);
  EXPECT_EQ(g_released, 1);
}

TEST_F(SquirrelApi, UserdataWithReleaseHookAndDelegate) {
  g_released = 0;
  auto* payload = static_cast<int*>(sq_newuserdata(v, sizeof(int)));
  *payload = 42;
  sq_settypetag(v, -1, &g_tag);
  sq_setreleasehook(v, -1, countRelease);
  sq_newtable(v);
  sq_pushstring(v, "answer", -1);
  sq_pushinteger(v, 42);
  sq_newslot(v, -3, SQFalse);
  ASSERT_EQ(sq_setdelegate(v, -2), SQ_OK);
  SQUserPointer p = nullptr, tag = nullptr;
  EXPECT_EQ(sq_getuserdata(v, -1, &p, &tag), SQ_OK);
  EXPECT_EQ(*static_cast<int*>(p), 42);
  EXPECT_EQ(tag, &g_tag);
  EXPECT_EQ(sq_getsize(v, -1), static_cast<SQInteger>(sizeof(int)));
  sq_pushstring(v, "answer", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  SQInteger i = 0;
  sq_getinteger(v, -1, &i);
  EXPECT_EQ(i, 42);
  sq_pop(v, 2);
  sq_collectgarbage(v);
  EXPECT_EQ(g_released, 1);
}

TEST_F(SquirrelApi, ReferencesKeepObjectsAlive) {
  sq_newtable(v);
  HSQOBJECT handle;
  sq_resetobject(&handle);
  ASSERT_EQ(sq_getstackobj(v, -1, &handle), SQ_OK);
  sq_addref(v, &handle);
  sq_weakref(v, -1);
  HSQOBJECT weak;
  sq_getstackobj(v, -1, &weak);
  sq_addref(v, &weak);
  sq_pop(v, 2);
  sq_collectgarbage(v);
  sq_pushobject(v, weak);
  ASSERT_EQ(sq_getweakrefval(v, -1), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_TABLE);
  sq_pop(v, 2);
  EXPECT_EQ(sq_getrefcount(v, &handle), 1u);
  EXPECT_EQ(sq_release(v, &handle), SQTrue);
  sq_collectgarbage(v);
  sq_pushobject(v, weak);
  ASSERT_EQ(sq_getweakrefval(v, -1), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_NULL);
  sq_pop(v, 2);
  sq_release(v, &weak);
  HSQOBJECT number;
  sq_pushinteger(v, 12);
  sq_getstackobj(v, -1, &number);
  EXPECT_EQ(sq_objtointeger(&number), 12);
  EXPECT_FLOAT_EQ(sq_objtofloat(&number), 12.0f);
  EXPECT_EQ(sq_objtostring(&number), nullptr);
  sq_pop(v, 1);
}

SQInteger suspendNative(HSQUIRRELVM vm) { return sq_suspendvm(vm); }

TEST_F(SquirrelApi, ThreadsSuspendAndWakeUp) {
  registerGlobal("pause", suspendNative);
  ASSERT_TRUE(run.run("function job() { print(\"a\"); local r = pause(); print(r); return \"end\"; }"));
  HSQUIRRELVM t = sq_newthread(v, 256);
  EXPECT_EQ(sq_gettype(v, -1), OT_THREAD);
  sq_pushroottable(t);
  sq_pushstring(t, "job", -1);
  ASSERT_EQ(sq_get(t, -2), SQ_OK);
  sq_pushroottable(t);
  ASSERT_EQ(sq_call(t, 1, SQFalse, SQFalse), SQ_OK);
  EXPECT_EQ(sq_getvmstate(t), SQ_VMSTATE_SUSPENDED);
  sq_pushstring(t, "b", -1);
  ASSERT_EQ(sq_wakeupvm(t, SQTrue, SQTrue, SQFalse, SQFalse), SQ_OK);
  EXPECT_EQ(sq_getvmstate(t), SQ_VMSTATE_IDLE);
  const SQChar* s = "";
  sq_getstring(t, -1, &s);
  EXPECT_STREQ(s, "end");
  EXPECT_EQ(run.output(), "ab");
  sq_pop(v, 1);
}

TEST_F(SquirrelApi, GeneratorsResumeFromTheHost) {
  ASSERT_TRUE(run.run("gen <- (function() { yield 1; yield 2; })();"));
  sq_pushroottable(v);
  sq_pushstring(v, "gen", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  ASSERT_EQ(sq_resume(v, SQTrue, SQFalse), SQ_OK);
  SQInteger i = 0;
  sq_getinteger(v, -1, &i);
  EXPECT_EQ(i, 1);
  sq_pop(v, 3);
}

TEST_F(SquirrelApi, InstructionLimitStopsRunawayScripts) {
  sq_setinstructionlimit(v, 100000);
  EXPECT_FALSE(run.run("while (true) { try { while (true) {} } catch (e) {} }"));
  EXPECT_EQ(run.output(), "ERROR: instruction limit exceeded\n");
  sq_setinstructionlimit(v, 0);
  EXPECT_TRUE(run.run("local n = 0; for (local i = 0; i < 200000; i++) n++;"));
}

std::string nativeHookEvents;

void recordHookEvent(HSQUIRRELVM, SQInteger event, const SQChar* source, SQInteger line, const SQChar* name) {
  nativeHookEvents += static_cast<char>(event);
  nativeHookEvents += std::string(" ") + (source ? source : "?") + ":" + std::to_string(line) + " " +
                      (name ? name : "main") + "\n";
}

TEST_F(SquirrelApi, NativeDebugHookHearsLinesCallsAndReturns) {
  nativeHookEvents.clear();
  sq_enabledebuginfo(v, SQTrue);
  const char* source = "function twice(n) {\n  return n * 2;\n}\ntwice(4);\n";
  ASSERT_EQ(sq_compilebuffer(v, source, static_cast<SQInteger>(std::strlen(source)), "hooked", SQTrue), SQ_OK);
  sq_setnativedebughook(v, &recordHookEvent);
  sq_pushroottable(v);
  ASSERT_EQ(sq_call(v, 1, SQFalse, SQTrue), SQ_OK);
  sq_setnativedebughook(v, nullptr);
  sq_pop(v, 1);
  EXPECT_EQ(nativeHookEvents,
            "c hooked:0 main\nl hooked:1 main\nl hooked:4 main\nc hooked:1 twice\nl hooked:2 twice\n"
            "r hooked:2 twice\nr hooked:4 main\n");
  // A script hook replaces the native one: nothing after the replacing line reaches it.
  nativeHookEvents.clear();
  sq_setnativedebughook(v, &recordHookEvent);
  EXPECT_TRUE(run.run("setdebughook(function(e, s, l, n) {});\nlocal x = 1;\n"));
  EXPECT_TRUE(run.run("setdebughook(null);"));
  EXPECT_EQ(nativeHookEvents, "c test.nut:0 main\nl test.nut:1 main\n");
}

TEST_F(SquirrelApi, ConstTableAndClosureHelpers) {
  sq_pushconsttable(v);
  sq_pushstring(v, "ANSWER", -1);
  sq_pushinteger(v, 42);
  sq_newslot(v, -3, SQFalse);
  sq_pop(v, 1);
  ASSERT_TRUE(run.run("function two(a, b) { return ANSWER; } print(two(1, 2));"));
  EXPECT_EQ(run.output(), "42");
  sq_pushroottable(v);
  sq_pushstring(v, "two", -1);
  sq_get(v, -2);
  SQInteger nparams = 0, nfree = 0;
  EXPECT_EQ(sq_getclosureinfo(v, -1, &nparams, &nfree), SQ_OK);
  EXPECT_EQ(nparams, 3);
  EXPECT_EQ(nfree, 0);
  ASSERT_EQ(sq_getclosurename(v, -1), SQ_OK);
  const SQChar* name = "";
  sq_getstring(v, -1, &name);
  EXPECT_STREQ(name, "two");
  sq_pop(v, 3);
  sq_pushstring(v, "abc", 2);
  sq_tostring(v, -1);
  const SQChar* s = "";
  sq_getstring(v, -1, &s);
  EXPECT_STREQ(s, "ab");
  sq_pop(v, 2);
}

}  // namespace
}  // namespace vellum

namespace vellum {
namespace {

class SquirrelApiMore : public ::testing::Test {
 protected:
  test::SquirrelRun run;
  HSQUIRRELVM v = run.vm();
  SQInteger integerAt(SQInteger idx) {
    SQInteger i = -999;
    sq_getinteger(v, idx, &i);
    return i;
  }
  std::string stringAt(SQInteger idx) {
    const SQChar* s = "";
    sq_getstring(v, idx, &s);
    return s;
  }
};

TEST_F(SquirrelApiMore, ComparisonCloneAndDefaultDelegates) {
  sq_pushinteger(v, 3);
  sq_pushinteger(v, 5);
  EXPECT_LT(sq_cmp(v), 0);
  sq_pop(v, 2);
  sq_newarray(v, 2);
  ASSERT_EQ(sq_clone(v, -1), SQ_OK);
  EXPECT_EQ(sq_getsize(v, -1), 2);
  sq_pop(v, 2);
  ASSERT_EQ(sq_getdefaultdelegate(v, OT_STRING), SQ_OK);
  sq_pushstring(v, "len", -1);
  EXPECT_EQ(sq_rawget(v, -2), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_NATIVECLOSURE);
  sq_pop(v, 2);
  sq_pushinteger(v, 5);
  ASSERT_EQ(sq_typeof(v, -1), SQ_OK);
  EXPECT_EQ(stringAt(-1), "integer");
  sq_pop(v, 2);
}

TEST_F(SquirrelApiMore, ErrorsAsObjects) {
  sq_newtable(v);
  EXPECT_EQ(sq_throwobject(v), SQ_ERROR);
  sq_getlasterror(v);
  EXPECT_EQ(sq_gettype(v, -1), OT_TABLE);
  sq_pop(v, 1);
  sq_reseterror(v);
  sq_getlasterror(v);
  EXPECT_EQ(sq_gettype(v, -1), OT_NULL);
  sq_pop(v, 1);
  EXPECT_EQ(sq_gettop(v), 0);
}

SQInteger localsProbe(HSQUIRRELVM vm) {
  // Level 1 is the script function that called us.
  const SQChar* name = sq_getlocal(vm, 1, 1);
  if (!name) return sq_throwerror(vm, "no local");
  sq_pushstring(vm, name, -1);
  sq_remove(vm, -2);
  return 1;
}

TEST_F(SquirrelApiMore, LocalsOfCallingFunctions) {
  sq_pushroottable(v);
  sq_pushstring(v, "probe", -1);
  sq_newclosure(v, localsProbe, 0);
  sq_newslot(v, -3, SQFalse);
  sq_pop(v, 1);
  EXPECT_TRUE(run.run("function f(alpha) { local beta = 1; return probe(); } print(f(0));"));
  EXPECT_EQ(run.output(), "alpha");
}

TEST_F(SquirrelApiMore, FreeVariablesAndBindings) {
  ASSERT_TRUE(run.run("local hidden = 10; getter <- function() { return hidden; }; who <- function() { return this.tag; };"));
  sq_pushroottable(v);
  sq_pushstring(v, "getter", -1);
  sq_get(v, -2);
  const SQChar* name = sq_getfreevariable(v, -1, 0);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "hidden");
  EXPECT_EQ(integerAt(-1), 10);
  sq_pop(v, 1);
  sq_pushinteger(v, 20);
  EXPECT_EQ(sq_setfreevariable(v, -2, 0), SQ_OK);
  EXPECT_EQ(sq_getfreevariable(v, -1, 5), nullptr);
  sq_pushroottable(v);
  ASSERT_EQ(sq_call(v, 1, SQTrue, SQFalse), SQ_OK);
  EXPECT_EQ(integerAt(-1), 20);
  sq_pop(v, 2);
  sq_pushstring(v, "who", -1);
  sq_get(v, -2);
  sq_newtable(v);
  sq_pushstring(v, "tag", -1);
  sq_pushstring(v, "bound", -1);
  sq_newslot(v, -3, SQFalse);
  ASSERT_EQ(sq_bindenv(v, -2), SQ_OK);
  sq_pushroottable(v);  // ignored: the environment wins
  ASSERT_EQ(sq_call(v, 1, SQTrue, SQFalse), SQ_OK);
  EXPECT_EQ(stringAt(-1), "bound");
  sq_settop(v, 0);
}

TEST_F(SquirrelApiMore, ClassMembersAttributesAndIteration) {
  ASSERT_TRUE(run.run("class C </ level = 1 /> { </ doc = \"d\" /> a = 1; function m() {} static s = 2; }"));
  sq_pushroottable(v);
  sq_pushstring(v, "C", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  sq_pushnull(v);
  ASSERT_EQ(sq_getattributes(v, -2), SQ_OK);
  sq_pushstring(v, "level", -1);
  ASSERT_EQ(sq_get(v, -2), SQ_OK);
  EXPECT_EQ(integerAt(-1), 1);
  sq_pop(v, 2);
  sq_pushstring(v, "a", -1);
  sq_pushstring(v, "new attribute", -1);
  ASSERT_EQ(sq_setattributes(v, -3), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_TABLE);  // the previous attributes
  sq_pop(v, 1);
  sq_pushstring(v, "a", -1);
  ASSERT_EQ(sq_getattributes(v, -2), SQ_OK);
  EXPECT_EQ(stringAt(-1), "new attribute");
  sq_pop(v, 1);
  int members = 0;
  sq_pushnull(v);
  while (sq_next(v, -2) >= 0) {
    ++members;
    sq_pop(v, 2);
  }
  sq_pop(v, 1);
  EXPECT_EQ(members, 3);
  sq_pushstring(v, "extra", -1);
  sq_pushinteger(v, 9);
  sq_pushnull(v);
  EXPECT_EQ(sq_newmember(v, -4, SQTrue), SQ_OK);
  ASSERT_EQ(sq_getbase(v, -1), SQ_OK);
  EXPECT_EQ(sq_gettype(v, -1), OT_NULL);
  sq_settop(v, 0);
  EXPECT_TRUE(run.run("print(C.extra);"));
  EXPECT_EQ(run.output(), "9");
}

TEST_F(SquirrelApiMore, CalleeAndClosureRoots) {
  ASSERT_TRUE(run.run("function f() { return ::marker; }"));
  sq_pushroottable(v);
  sq_pushstring(v, "f", -1);
  sq_get(v, -2);
  sq_newtable(v);
  sq_pushstring(v, "marker", -1);
  sq_pushstring(v, "own root", -1);
  sq_newslot(v, -3, SQFalse);
  ASSERT_EQ(sq_setclosureroot(v, -2), SQ_OK);
  sq_pushroottable(v);
  ASSERT_EQ(sq_call(v, 1, SQTrue, SQFalse), SQ_OK);
  EXPECT_EQ(stringAt(-1), "own root");
  sq_settop(v, 0);
  EXPECT_LT(sq_getcallee(v), 0);  // nothing running
}

}  // namespace
}  // namespace vellum
