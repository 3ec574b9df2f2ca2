// Containers changed by the callbacks that visit them, errors out of metamethods and generators.
local a = [5, 3, 1, 4, 2];
a.sort(function(x, y) { a.clear(); a.append({}); return y <=> x; });
print(a.len() + "\n");
local b = [1, 2, 3];
print(b.map(function(v) { b.append(v); return v * 2; }).len() + " " + b.len() + "\n");
class Bad { function _tostring() { throw "no text"; } }
try { print("x" + Bad()); } catch (e) { print(e + "\n"); }
function g() { yield 1; throw "gen failure"; }
local gen = g();
try { foreach (v in gen) print(v + "\n"); } catch (e) { print(e + " " + gen.getstatus() + "\n"); }
local t = {};
for (local i = 0; i < 100; i++) t[i] <- i;
local seen = 0;
foreach (k, v in t) { seen++; if (typeof k == "integer" && k < 50) t["n" + k] <- k; }
print((seen >= 100) + "\n");
local s = "";
for (local i = 0; i < 300; i++) s = s + i + (i % 7 == 0 ? "\n" : "");
print(s.len() + "\n");
local th = newthread(function() { local x = []; for (local i = 0; i < 50; i++) { x.append({}); suspend(i); } return x.len(); });
local r = th.call();
while (th.getstatus() == "suspended") r = th.wakeup();
print(r + "\n");
local cyc = {};
cyc.self <- cyc;
cyc.f <- function() { return cyc; };
print((cyc.f().self == cyc) + "\n");
local w = cyc.weakref();
cyc = null;
collectgarbage();
print(w.ref() + "\n");
function deep(n) { if (n == 0) { collectgarbage(); return []; } local a = [n]; local r = deep(n - 1); r.append(a[0]); return r; }
print(deep(200).len() + "\n");
local arr = [];
arr.resize(10, "x");
arr.apply(@(v, i) v + i);
print(arr[9] + "\n");
local red = [1, 2, 3].reduce(function(p, c) { collectgarbage(); return p + c; });
print(red + "\n");
local filtered = { a = 1, b = 2 }.filter(function(k, v) { collectgarbage(); return true; });
print(filtered.len() + "\n");
local inst = (class { v = [1]; function _cloned(o) { v = clone o.v; v.append(2); } })();
local c2 = clone inst;
print(c2.v.len() + " " + inst.v.len() + "\n");
