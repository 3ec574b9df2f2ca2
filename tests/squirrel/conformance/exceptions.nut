// try/catch/throw with any value, runtime errors, nesting and rethrow.
try { throw "text"; } catch (e) { print("caught " + e + "\n"); }
try { throw 42; } catch (e) { print("caught " + (e + 1) + "\n"); }
try { throw { code = 7 }; } catch (e) { print("caught table " + e.code + "\n"); }
try { throw null; } catch (e) { print("caught " + e + "\n"); }
class MyError { msg = null; constructor(m) { msg = m; } }
try { throw MyError("custom"); } catch (e) { print((e instanceof MyError) + " " + e.msg + "\n"); }
try { local a = null; a.field; } catch (e) { print("runtime: " + e + "\n"); }
try { undefined_function(); } catch (e) { print("runtime: " + e + "\n"); }
try { local x = "a" - 1; } catch (e) { print("runtime: " + e + "\n"); }
try { null(); } catch (e) { print("runtime: " + e + "\n"); }
function thrower(n) { if (n == 0) throw "bottom"; return thrower(n - 1); }
try { thrower(5); } catch (e) { print("deep " + e + "\n"); }
try {
  try { throw "inner"; } catch (e) { throw e + " rethrown"; }
} catch (e) { print(e + "\n"); }
local log = "";
for (local i = 0; i < 3; i++) {
  try {
    if (i == 1) throw "skip";
    log += i;
  } catch (e) { log += "c"; continue; }
  log += ".";
}
print(log + "\n");
function retInTry() { try { return "from try"; } catch (e) { return "no"; } }
print(retInTry() + "\n");
local r = "";
foreach (v in [1, 2, 3]) { try { if (v == 2) break; r += v; } catch (e) {} }
print(r + "\n");
try { assert(1 == 2); } catch (e) { print(e + "\n"); }
try { assert(false, "custom assert"); } catch (e) { print(e + "\n"); }
try { [].top(); } catch (e) { print("native: " + e + "\n"); }
try { "x".slice(1, 0); } catch (e) { print("native: " + e + "\n"); }
try { array(-1); } catch (e) { print("native: " + e + "\n"); }
try { [1, 2].sort(@(a, b) undefinedFn()); } catch (e) { print("in comparator: " + e + "\n"); }
function f() { throw "after try"; }
try { f(); } catch (e) { print(e + "\n"); }
print("end\n");
