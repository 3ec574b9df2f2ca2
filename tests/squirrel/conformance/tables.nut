// Table constructors, access, iteration and the table default delegate.
function keys(t) { local k = t.keys().filter(@(i, v) typeof v == "string"); k.sort(); local s = ""; foreach (x in k) s += x + ","; return s; }
local t = {
  a = 1,
  b = "string",
  [10] = "ten",
  function bau(x, y) { return x + y; }
  "json": 5,
  c = { nested = true }
};
print(t.a + " " + t["b"] + " " + t[10] + " " + t.bau(2, 3) + " " + t.json + " " + t.c.nested + "\n");
print(t.len() + " " + keys(t) + "\n");
t.d <- 4;
t["e"] <- 5;
t.a = 100;
print(t.a + " " + t.d + " " + t.e + "\n");
try { t.nope = 1; } catch (e) { print(e + "\n"); }
print(t.rawget("a") + " " + t.rawin("a") + " " + t.rawin("zz") + "\n");
t.rawset("f", 6);
print(t.f + " " + t.rawdelete("f") + " " + t.rawin("f") + "\n");
local sum = 0;
foreach (k, v in { x = 1, y = 2, z = 3 }) sum += v;
print(sum + "\n");
local vals = { p = 1, q = 2 }.values();
vals.sort();
print(vals[0] + " " + vals[1] + "\n");
local even = { a = 1, b = 2, c = 3, d = 4 }.filter(@(k, v) v % 2 == 0);
print(keys(even) + "\n");
local c = { x = 1 };
print(c.clear().len() + "\n");
local big = {};
for (local i = 0; i < 1000; i++) big[i] <- i * 2;
for (local i = 0; i < 1000; i += 2) delete big[i];
local total = 0;
foreach (k, v in big) total += v;
print(big.len() + " " + total + "\n");
print((1 in { [1] = 0 }) + " " + (2 in { [1] = 0 }) + "\n");
print(typeof t.tostring() + "\n");
