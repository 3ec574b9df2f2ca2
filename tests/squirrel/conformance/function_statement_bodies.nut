// A function or method body may be any single statement, not only a block.
function min(x, y) return x < y ? x : y;
function sign(x) if (x < 0) return -1; else return x > 0 ? 1 : 0;
function count(n) for (local i = 0; i < n; i++) print(i);
print(min(3, 7) + " " + min(9, 2) + "\n");
print(sign(-5) + " " + sign(0) + " " + sign(4) + "\n");
count(3);
print("\n");
local inc = function(n) return n + 1;
print(inc(1) + "\n");
class Box {
  value = 0;
  constructor(v) value = v;
  function get() return value;
  function twice() return value * 2;
  static function make(v) return Box(v);
}
local b = Box.make(21);
print(b.get() + " " + b.twice() + "\n");
function block() { return "block"; }
print(block() + "\n");
