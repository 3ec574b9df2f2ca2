// The base library.
print("print " + 1 + "\n");
error("to the error stream\n");
print(type(1) + " " + type(1.0) + " " + type("s") + " " + type(null) + " " + type(true) + " " + type([]) + " " + type({}) + " " + type(print) + "\n");
class K { function _typeof() { return "custom"; } }
print(type(K()) + " " + typeof K() + "\n");
local a = array(3, "z");
print(a.len() + a[2] + "\n");
local f = compilestring("return 40 + 2;");
print(f() + "\n");
local g = compilestring("x <- vargv.len();", "buffer");
g(1, 2);
print(x + "\n");
try { compilestring("local = ;"); } catch (e) { print("compile error caught\n"); }
local root = getroottable();
print((root == ::getroottable()) + " " + ("print" in root) + "\n");
local consts = getconsttable();
print(typeof consts + "\n");
local newRoot = { print = print, marker = "new root" };
local old = setroottable(newRoot);
print(::marker + "\n");
setroottable(old);
print(("marker" in getroottable()) + "\n");
function level1() { return getstackinfos(1); }
local info = level1();
print(info.func + " " + info.src + " " + info.line + "\n");
function withLocals(p) { local q = p * 2; return getstackinfos(1).locals; }
local locals = withLocals(21);
print(locals.p + " " + locals.q + "\n");
print((getstackinfos(100) == null) + "\n");
print(typeof callee() + "\n");
print((collectgarbage() >= 0) + " " + resurrectunreachable() + "\n");
print(_versionnumber_ + " " + typeof _version_ + " " + _intsize_ + " " + _floatsize_ + " " + _charsize_ + "\n");
local handled = null;
seterrorhandler(function(e) { handled = e; });
enabledebuginfo(true);
setdebughook(null);
assert(true);
print("assert passed\n");
