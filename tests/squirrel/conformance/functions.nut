// Functions: defaults, varargs, free variables, lambdas, environments, calls.
function add(a, b = 10, c = 100) { return a + b + c; }
print(add(1) + " " + add(1, 2) + " " + add(1, 2, 3) + "\n");
try { add(); } catch (e) { print(e + "\n"); }
try { add(1, 2, 3, 4); } catch (e) { print(e + "\n"); }
function va(first, ...) {
  local s = first + ":" + vargv.len();
  foreach (i, v in vargv) s += " " + i + "=" + v;
  return s;
}
print(va("x") + " | " + va("y", 1, 2, 3) + "\n");
function makeCounter() {
  local count = 0;
  return { inc = function() { return ++count; }, get = function() { return count; } };
}
local c1 = makeCounter(), c2 = makeCounter();
c1.inc(); c1.inc(); c2.inc();
print(c1.get() + " " + c2.get() + "\n");
local fns = [];
for (local i = 0; i < 3; i++) { local j = i; fns.append(function() { return j; }); }
print(fns[0]() + " " + fns[1]() + " " + fns[2]() + "\n");
local x = 1;
local function bump() { x += 10; return x; }
bump();
print(x + " " + bump() + "\n");
local function fact(n) { return n <= 1 ? 1 : n * fact(n - 1); }
print(fact(10) + "\n");
local sq = @(v) v * v;
print(sq(7) + " " + (@(a, b) a - b)(10, 4) + "\n");
local env = { val = "env" };
function whoami() { return this.val; }
print(whoami.call(env) + " " + whoami.pcall({ val = "p" }) + " " + whoami.acall([{ val = "a" }]) + " " + whoami.pacall([{ val = "pa" }]) + "\n");
local bound = whoami.bindenv(env);
print(bound() + "\n");
local obj = { val = "obj", f = bound };
print(obj.f() + "\n");
print(rawcall(whoami, { val = "raw" }) + "\n");
local infos = add.getinfos();
print(infos.name + " " + infos.parameters.len() + " " + infos.defparams.len() + " " + infos.native + "\n");
print(print.getinfos().native + " " + typeof print + " " + typeof add + "\n");
local t = { v = 5, function get() { return v; } };
print(t.get() + "\n");
T <- { }
function T::method() { return "T method " + typeof this; }
print(T.method() + "\n");
function outer() {
  local a = 1;
  function inner() { return a + 1; }
  return inner;
}
print(outer()() + "\n");
local deep = function() { local a = 1; return function() { return function() { return a + 2; }; }; };
print(deep()()() + "\n");
local counter = 0;
local function tick() { counter++; }
for (local i = 0; i < 5; i++) tick();
print(counter + "\n");
print((callee() == callee()) + "\n");
