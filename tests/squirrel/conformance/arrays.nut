// Arrays and the array default delegate.
function show(a) { local s = "["; foreach (i, v in a) s += (i ? "," : "") + v; return s + "]"; }
local a = [1, "two", 3.5, null, [5]];
print(a.len() + " " + a[1] + " " + a[4][0] + " " + a[3] + "\n");
local b = [];
b.append(1); b.push(2); b.extend([3, 4]);
print(show(b) + " top=" + b.top() + " pop=" + b.pop() + " " + show(b) + "\n");
b.insert(0, 0); b.insert(2, 9);
print(show(b) + " removed=" + b.remove(2) + " " + show(b) + "\n");
b.resize(5); print(show(b) + "\n");
b.resize(7, "x"); print(show(b) + "\n");
b.resize(2); print(show(b) + "\n");
local s = [5, 3, 8, 1, 9, 2];
s.sort(); print(show(s) + "\n");
s.sort(@(x, y) y <=> x); print(show(s) + "\n");
s.reverse(); print(show(s) + "\n");
print(show(s.slice(1, 3)) + " " + show(s.slice(-2)) + " " + show(s.slice(2)) + "\n");
print(show(s.map(@(v) v * 10)) + " " + show(s.map(@(v, i) i)) + "\n");
local c = clone s;
c.apply(@(v) v + 1);
print(show(c) + " " + show(s) + "\n");
print(s.reduce(@(p, v) p + v) + " " + s.reduce(@(p, v) p + v, 100) + " " + [].reduce(@(p, v) p + v) + "\n");
print(show(s.filter(@(i, v) v > 4)) + "\n");
print(s.find(8) + " " + s.find(42) + "\n");
print(show(array(3)) + " " + show(array(2, 7)) + "\n");
s.clear(); print(s.len() + "\n");
try { s.pop(); } catch (e) { print("pop: " + e + "\n"); }
try { print([1][5]); } catch (e) { print(e + "\n"); }
local words = ["pear", "apple", "fig"];
words.sort();
print(show(words) + "\n");
local m = [[1, 2], [3, 4]];
m[1][0] = 30;
print(m[1][0] + " " + (m[0] == m[0]) + " " + ([1] == [1]) + "\n");
local grow = [];
for (local i = 0; i < 100; i++) grow.append(i);
print(grow.len() + " " + grow[99] + "\n");
