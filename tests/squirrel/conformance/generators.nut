// Generators: yield, resume, foreach, status.
function range(n) { for (local i = 0; i < n; i++) yield i; }
local s = "";
foreach (v in range(5)) s += v;
print(s + "\n");
local g = range(2);
print(g.getstatus() + " " + typeof g + "\n");
print((resume g) + " " + (resume g) + " ");
print((resume g) + " " + g.getstatus() + "\n");
try { resume g; } catch (e) { print(e + "\n"); }
function fib() {
  local a = 0, b = 1;
  while (true) { yield a; local t = a + b; a = b; b = t; }
}
local f = fib();
local out = "";
for (local i = 0; i < 10; i++) out += (resume f) + " ";
print(out + "\n");
function withTry() {
  try { yield 1; throw "inside"; } catch (e) { yield "caught " + e; }
  yield 3;
}
out = "";
foreach (i, v in withTry()) out += i + "=" + v + " ";
print(out + "\n");
function withArgs(a, b = 2) { yield a; yield b; yield a + b; }
out = "";
foreach (v in withArgs(5)) out += v + " ";
print(out + "\n");
function counter() { local n = 0; while (true) { n++; yield n; } }
local c1 = counter(), c2 = counter();
resume c1; resume c1;
print((resume c1) + " " + (resume c2) + "\n");
function self_resume() { yield typeof this; }
print(resume self_resume() + "\n");
